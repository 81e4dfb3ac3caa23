#include "export/ExportText.h"

#include <cstdio>

namespace kv {
namespace {

constexpr std::size_t kNamePartLength = 60;

// The first word of text (all of it when it has no blank), at most 60 characters, trimmed.
Cp1251Text firstWord(const Cp1251Text& text) {
    const std::size_t blank = text.bytes().find(' ');
    const std::size_t length =
        blank == std::string::npos ? kNamePartLength : std::min(blank, kNamePartLength);
    return trimText(text.substr(0, length));
}

Cp1251Text afterPrefix(const Cp1251Text& text, std::size_t length) {
    return length >= text.size() ? Cp1251Text() : trimText(text.substr(length));
}

} // namespace

Cp1251Text figure(std::string ascii) {
    return Cp1251Text::fromBytes(std::move(ascii));
}

Cp1251Text exportDate(DateValue date) {
    const YearMonthDay d = date.ymd();
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year % 10000);
    return Cp1251Text::fromBytes(std::string_view(text));
}

Cp1251Text decimalPoint(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == ',')
            c = '.';
    return Cp1251Text::fromBytes(trimText(out));
}

Cp1251Text zeroPadded(const Cp1251Text& text, std::size_t width) {
    std::string out = trimText(text).bytes();
    if (out.size() < width)
        out.insert(0, width - out.size(), '0');
    return Cp1251Text::fromBytes(std::move(out));
}

PersonName splitRepresentativeName(const Cp1251Text& fullName) {
    const Cp1251Text full = trimText(fullName);
    PersonName name;
    name.surname = firstWord(full);
    const Cp1251Text rest = afterPrefix(full, name.surname.size());
    name.firstName = firstWord(rest);
    if (name.firstName.size() < rest.size())
        name.patronymic = trimText(rest.substr(name.firstName.size(), kNamePartLength));
    // Built from bytes rather than assigned " ": GCC 12 at -O3 warns falsely on the latter.
    if (name.surname.empty())
        name.surname = Cp1251Text::fromBytes(std::string(1, ' '));
    if (name.firstName.empty())
        name.firstName = Cp1251Text::fromBytes(std::string(1, ' '));
    return name;
}

} // namespace kv
