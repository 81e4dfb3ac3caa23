#pragma once
// Keyboard access to the buttons of dialogs, screens and menus: each push button, check box and radio
// button without a mnemonic gets one, the first letter of its caption not yet taken in
// its window (Alt+letter presses it). Captions stay as written everywhere else; only
// the "&" is added, so the buttons keep their Russian words.
#include <QObject>

class QMenu;
class QWidget;

namespace kv {

void giveMnemonics(QWidget* window);
// The same for the buttons of a screen, avoiding the letters the rest of its window
// (other buttons, the menu bar) already uses.
void giveScreenMnemonics(QWidget* screen);
// Each item of a menu without a letter gets the first one free in that menu.
void giveMnemonics(QMenu* menu);

// Installed on the application: gives mnemonics to every dialog (message boxes
// included) as it is shown, whoever built it.
class DialogMnemonics : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kv
