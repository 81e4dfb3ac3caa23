#pragma once
// A code field of a dialog that takes a typed code as well as one picked with its "..."
// button. A code the picker lists is taken as if picked there; any other is refused
// with the picker's message and the field shows the code chosen before. Each dialog
// says what its picker lists.
#include "core/Text.h"
#include <QString>
#include <functional>
#include <string>

class QLineEdit;

namespace kv {

class Asker;

struct TypedCode {
    int digits = 4;                                 // the most digits a code has
    QString question;                               // the refusal's object name
    std::function<QString(const QString&)> refusal; // the refusal's text for a typed code
    std::function<QString()> shown;                 // the code chosen now, as the field shows it
    // Takes a code (Windows-1251) the picker lists; false when it lists no such code.
    std::function<bool(const Cp1251Text&)> take;
};

// Opens field to typed digits; asker tells a person a code is refused.
void acceptTypedCode(QLineEdit* field, Asker& asker, TypedCode code);

} // namespace kv
