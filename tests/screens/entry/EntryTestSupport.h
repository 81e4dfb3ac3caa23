#pragma once
// Driving the entry screens and their modal dialogs the way a user does: typing
// into named fields, clicking named buttons, picking codes in the pickers. A modal
// dialog is handled from inside its own event loop by a handler armed before the
// click that opens it.
#include "ModalAnswers.h"
#include "ScreenTestHost.h"

#include <QDialog>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QTreeWidget;

namespace kv {
class Declaration;
}

namespace kv::test {

// Selects the row with this code in a picker and presses Enter.
void pickCode(QDialog& picker, const QString& code);
// Arms a handler that picks the code in the picker with this object name.
void whenPicker(const QString& pickerName, const QString& code);

// Types text as key presses (Cyrillic included) into a widget.
void typeText(QWidget* widget, const QString& text);
// Empties the named line edit and types text into it.
void retype(QWidget* root, const char* name, const QString& text);
void clickButton(QWidget* root, const char* name);
QString textOf(QWidget* root, const char* name);

template <class T> T* child(QWidget* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

// The rows of a list widget as text, cells joined by "|".
QStringList rowsOf(const QTreeWidget* list);

// Two tax offices and two countries, as if their directories had been loaded.
void loadSmallDirectories(Directories& directories);

// A return as another program may write it: values a person could not type into the
// fields (a phone with "+", names longer than their fields, amounts of more digits or
// decimals, dates outside a field's range, codes no choice stands for) in every list
// and deduction. Viewing and saving any screen must leave it as it is.
void writtenElsewhere(Declaration& d);

// The program's number and date conventions for one test class, restored after it.
class RussianLocale {
public:
    RussianLocale();
    ~RussianLocale();

private:
    QLocale previous_;
};

} // namespace kv::test
