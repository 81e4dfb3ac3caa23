#pragma once
// Text forms of the exported values that the amount helpers of the core do not cover.
#include "core/Date.h"
#include "core/Text.h"

#include <string>
#include <string_view>

namespace kv {

// A figure the program formats itself (amountText, a count): ASCII, which Windows-1251
// holds byte for byte.
Cp1251Text figure(std::string ascii);

// "DD.MM.YYYY".
Cp1251Text exportDate(DateValue date);

// Every comma becomes a point, then the text is trimmed: figures the computation
// holds as text in the screens' form.
Cp1251Text decimalPoint(std::string_view text);

// The trimmed text prefixed with "0" until it is at least `width` characters long
// (country, currency and document codes).
Cp1251Text zeroPadded(const Cp1251Text& text, std::size_t width);

struct PersonName {
    Cp1251Text surname;    // one blank when the full name has none
    Cp1251Text firstName;  // one blank when the full name has none
    Cp1251Text patronymic; // empty: not written
};

// Splits a representative's full name at blanks; each part is at most 60 characters.
PersonName splitRepresentativeName(const Cp1251Text& fullName);

} // namespace kv
