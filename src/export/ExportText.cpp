#include "export/ExportText.h"

#include "core/Text.h"

#include <cstdio>

namespace kv {
namespace {

constexpr std::size_t kNamePartLength = 60;

// The first word of text (all of it when it has no blank), at most 60 characters, trimmed.
std::string firstWord(const std::string& text) {
    const std::size_t blank = text.find(' ');
    const std::size_t length =
        blank == std::string::npos ? kNamePartLength : std::min(blank, kNamePartLength);
    return trimText(text.substr(0, length));
}

std::string afterPrefix(const std::string& text, std::size_t length) {
    return length >= text.size() ? std::string() : trimText(text.substr(length));
}

} // namespace

std::string exportDate(DateValue date) {
    const YearMonthDay d = date.ymd();
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year % 10000);
    return text;
}

std::string decimalPoint(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == ',')
            c = '.';
    return trimText(out);
}

std::string zeroPadded(std::string_view text, std::size_t width) {
    std::string out = trimText(text);
    if (out.size() < width)
        out.insert(0, width - out.size(), '0');
    return out;
}

PersonName splitRepresentativeName(std::string_view fullName) {
    const std::string full = trimText(fullName);
    PersonName name;
    name.surname = firstWord(full);
    const std::string rest = afterPrefix(full, name.surname.size());
    name.firstName = firstWord(rest);
    if (name.firstName.size() < rest.size())
        name.patronymic = trimText(rest.substr(name.firstName.size(), kNamePartLength));
    // assign(1, ' ') rather than = " ": GCC 12 at -O3 warns falsely on the latter.
    if (name.surname.empty())
        name.surname.assign(1, ' ');
    if (name.firstName.empty())
        name.firstName.assign(1, ' ');
    return name;
}

} // namespace kv
