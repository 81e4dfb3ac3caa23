#pragma once
// The section buttons of the main window and which of them a document enables, as
// the screen table gives them.
#include "screens/ScreenTable.h"

#include <QString>
#include <optional>
#include <vector>

namespace kv {

class Declaration;

struct SectionButtonInfo {
    Section section;
    QString objectName;
    QString caption;
    QString hint;                   // empty: no hint
    std::optional<ScreenId> screen; // none: the button has no action
    bool visible;
    SectionPicture picture;
    EnabledTest enabled;
};

// Top to bottom, in the order of Section.
const std::vector<SectionButtonInfo>& sectionButtons();
const SectionButtonInfo& sectionButton(Section section);
// The section whose button shows a screen; nullopt for an inner screen.
std::optional<Section> sectionOfScreen(ScreenId screen);

// Whether a section's button is enabled for a document just loaded or created.
bool sectionEnabledFor(Section section, const Declaration& document);

} // namespace kv
