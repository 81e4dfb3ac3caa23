#include "screens/Sections.h"

#include "model/Declaration.h"

#include <algorithm>
#include <stdexcept>

namespace kv {

namespace {

// The one button that shows no screen: hidden, without an action, never enabled.
SectionButtonInfo buttonWithoutScreen() {
    return {Section::NoticePayments,
            QStringLiteral("fbNalog"),
            QStringLiteral("Уплата по уведомлениям"),
            QString(),
            std::nullopt,
            false,
            SectionPicture::Sheet,
            [](const Declaration&) { return false; }};
}

std::vector<SectionButtonInfo> buttonsOfTheTable() {
    std::vector<SectionButtonInfo> buttons = {buttonWithoutScreen()};
    for (const ScreenInfo& row : ScreenRegistry::standard().rows()) {
        if (const auto* place = std::get_if<SectionPlace>(&row.place))
            buttons.push_back({place->section, place->objectName, place->caption, place->hint, row.id,
                               place->visible, place->picture, place->enabled});
    }
    std::ranges::sort(buttons, {}, &SectionButtonInfo::section);
    return buttons;
}

} // namespace

const std::vector<SectionButtonInfo>& sectionButtons() {
    static const std::vector<SectionButtonInfo> buttons = buttonsOfTheTable();
    return buttons;
}

const SectionButtonInfo& sectionButton(Section section) {
    const auto& buttons = sectionButtons();
    const auto found = std::ranges::find(buttons, section, &SectionButtonInfo::section);
    if (found == buttons.end())
        throw std::logic_error("a section without its button");
    return *found;
}

std::optional<Section> sectionOfScreen(ScreenId screen) {
    for (const SectionButtonInfo& button : sectionButtons()) {
        if (button.screen == screen)
            return button.section;
    }
    return std::nullopt;
}

bool sectionEnabledFor(Section section, const Declaration& document) {
    return sectionButton(section).enabled(document);
}

} // namespace kv
