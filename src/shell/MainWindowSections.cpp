// The section buttons and the screen shown in the window's screen panel.
#include "model/Declaration.h"
#include "screens/ScreenContainer.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"
#include "screens/kit/KeyboardOrder.h"
#include "shell/MainWindow.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

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
    arrangeForKeyboard(screen_);
}

void MainWindow::pressSection(Section section) {
    sectionButtons_.at(section)->setChecked(true);
    currentSection_ = section;
}

void MainWindow::setSectionsFromDocument() {
    for (const SectionButtonInfo& info : sectionButtons())
        setSectionEnabled(info.section, sectionEnabledFor(info.section, session_.document()));
}

void MainWindow::switchSection(Section section) {
    const SectionButtonInfo& info = sectionButton(section);
    if (!info.screen.has_value())
        return;
    const ScreenId target = *info.screen;
    if (screen_ != nullptr && screen_->screenId() == target) {
        pressSection(section);
        return;
    }
    if (screen_ != nullptr) {
        screen_->saveData();
        if (const std::uint16_t code = screen_->checkData(); code != 0) {
            pressSection(currentSection_);
            screen_->setFocusToElement(code);
            return;
        }
    }
    buildScreen(target);
    pressSection(section);
    // Typing goes on in the screen just shown, as after a click on its first field.
    if (screens_->hasFirstEntry(target, session_.document()))
        screen_->selectFirstEntry();
    else
        focusFirstField(screen_);
}

void MainWindow::openSectionAtFault(CheckSection section, std::uint16_t code) {
    const std::optional<FaultRoute> route = screens_->faultRoute(section);
    if (!route.has_value())
        return;
    const ScreenId screen = *sectionButton(route->section).screen;
    if (screen_ == nullptr || screen_->screenId() != screen)
        buildScreen(screen);
    pressSection(route->section);
    if (route->inner.has_value()) {
        if (auto* container = qobject_cast<ScreenContainer*>(screen_))
            container->openInner(*route->inner);
    }
    if (route->listsTheRecord)
        screen_->setFocusToElement(code);
}

} // namespace kv
