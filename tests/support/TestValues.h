#pragma once
// Values the tests write by hand: amounts, dates, a file's bytes.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv::test {

// Roubles and kopecks: rub(156000), rub(1234, 56).
inline Money rub(std::int64_t roubles, std::int64_t kopecks = 0) {
    return Money::fromRaw(roubles * Money::kScale + kopecks * 100);
}

// An amount as a document may hold it, with a point and up to four decimals: amount("0.9999").
// A test's own typo stops the test instead of becoming zero.
inline Money amount(const char* text) {
    auto money = parseMoney(text, '.');
    if (!money)
        throw std::invalid_argument(text);
    return *money;
}

// Year first, as the document keeps dates: date(2019, 4, 1).
inline DateValue date(int year, int month, int day) {
    auto value = DateValue::fromYmd(year, month, day);
    if (!value)
        throw std::invalid_argument("no such date");
    return *value;
}

// Windows-1251 text from bytes a case holds in a variable (a code, a built string); a literal
// is written Cp1251Text{"..."}.
inline Cp1251Text asText(std::string_view bytes) {
    return Cp1251Text::fromBytes(bytes);
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace kv::test
