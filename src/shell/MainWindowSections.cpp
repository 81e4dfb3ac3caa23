// The section buttons and the screen shown in the window's screen panel.
#include "model/Declaration.h"
#include "screens/ScreenContainer.h"
#include "screens/ScreenRegistry.h"
#include "screens/Sections.h"
#include "shell/MainWindow.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

namespace {

// Where the whole-return check sends the user, by its section number. A target that
// does not list the faulty record is opened without passing the element code on.
struct FaultTarget {
    std::uint16_t number;
    Section section;
    std::optional<ScreenId> inner;
    bool listsTheRecord = true;
};

constexpr std::array<FaultTarget, 13> kFaultTargets = {{
    {1, Section::InitialData, std::nullopt},
    {2, Section::PersonInfo, std::nullopt},
    {4, Section::RussianIncome, ScreenId::ThirteenPercent},
    {7, Section::ForeignIncome, std::nullopt},
    {8, Section::BusinessIncome, std::nullopt},
    {9, Section::Deduction, ScreenId::StandardDeduction},
    {10, Section::Deduction, ScreenId::SocialDeduction},
    {11, Section::Deduction, ScreenId::PropertyDeduction},
    {12, Section::RussianIncome, ScreenId::NinePercent},
    {13, Section::RussianIncome, ScreenId::ThirtyFivePercent},
    {14, Section::RussianIncome, ScreenId::ThirtyPercent},
    {15, Section::RussianIncome, ScreenId::ThirteenPercentNR},
    // The partnership section is not offered to the person: partnership incomes are
    // entered on the 13% screen, among its sources.
    {16, Section::RussianIncome, ScreenId::ThirteenPercent, false},
}};

} // namespace

void MainWindow::destroyScreen() {
    if (screen_ == nullptr)
        return;
    formLayout_->removeWidget(screen_);
    delete screen_;
    screen_ = nullptr;
}

void MainWindow::buildScreen(ScreenId id) {
    ScreenBuildGuard guard(*this);
    ScreenFrame* next = screens_->create(id, formContainer_, *this);
    destroyScreen();
    screen_ = next;
    formLayout_->addWidget(screen_);
    screen_->show();
}

void MainWindow::pressSection(Section section) {
    sectionButtons_[static_cast<std::size_t>(section)]->setChecked(true);
    currentSection_ = section;
}

void MainWindow::setSectionsFromDocument() {
    for (const SectionButtonInfo& info : sectionButtons())
        setSectionEnabled(info.section, sectionEnabledFor(info.section, *document_));
}

void MainWindow::SwitchSection(Section section) {
    const SectionButtonInfo& info = sectionButton(section);
    if (!info.screen.has_value())
        return;
    const ScreenId target = *info.screen;
    if (screen_ != nullptr && screen_->screenId() == target) {
        pressSection(section);
        return;
    }
    if (screen_ != nullptr) {
        screen_->SaveData();
        if (const std::uint16_t code = screen_->CheckData(); code != 0) {
            pressSection(currentSection_);
            screen_->SetFocusToElement(code);
            return;
        }
    }
    buildScreen(target);
    pressSection(section);
    if (screens_->hasFirstEntry(target, *document_))
        screen_->SelectFirstEntry();
}

void MainWindow::openSectionAtFault(std::uint16_t number, std::uint16_t code) {
    const auto target = std::find_if(kFaultTargets.begin(), kFaultTargets.end(),
                                     [number](const FaultTarget& t) { return t.number == number; });
    if (target == kFaultTargets.end())
        return;
    const ScreenId screen = *sectionButton(target->section).screen;
    if (screen_ == nullptr || screen_->screenId() != screen)
        buildScreen(screen);
    pressSection(target->section);
    if (target->inner.has_value()) {
        if (auto* container = qobject_cast<ScreenContainer*>(screen_))
            container->openInner(*target->inner);
    }
    if (target->listsTheRecord)
        screen_->SetFocusToElement(code);
}

} // namespace kv
