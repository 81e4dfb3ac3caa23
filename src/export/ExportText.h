#pragma once
// Text forms of the exported values that the amount helpers of the core do not cover.
#include "core/Date.h"

#include <string>
#include <string_view>

namespace kv {

// "DD.MM.YYYY".
std::string exportDate(DateValue date);

// Every comma becomes a point, then the text is trimmed: figures the computation
// holds as text in the screens' form.
std::string decimalPoint(std::string_view text);

// The trimmed text prefixed with "0" until it is at least `width` characters long
// (country, currency and document codes).
std::string zeroPadded(std::string_view text, std::size_t width);

struct PersonName {
    std::string surname;    // one blank when the full name has none
    std::string firstName;  // one blank when the full name has none
    std::string patronymic; // empty: not written
};

// Splits a representative's full name at blanks; each part is at most 60 characters.
PersonName splitRepresentativeName(std::string_view fullName);

} // namespace kv
