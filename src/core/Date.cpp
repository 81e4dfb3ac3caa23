#include "core/Date.h"

#include <cmath>
#include <ctime>

namespace kv {
namespace {

// Day number of 1 January 1970 counted from 30 December 1899.
constexpr long kUnixEpoch = 25569;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

YearMonthDay civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long y = static_cast<long>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads 1 to 4 digits at text[i]; -1 when there are none.
int readNumber(std::string_view text, std::size_t& i, std::size_t maxDigits) {
    int value = 0;
    std::size_t n = 0;
    for (; i < text.size() && n < maxDigits && text[i] >= '0' && text[i] <= '9'; ++i, ++n)
        value = value * 10 + (text[i] - '0');
    return n == 0 ? -1 : value;
}

void appendPadded(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

} // namespace

std::optional<DateValue> DateValue::fromYmd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return fromDays(static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixEpoch));
}

DateValue DateValue::fromYear(int year) {
    return fromYmd(year, 1, 1).value_or(DateValue{});
}

YearMonthDay DateValue::ymd() const {
    if (!std::isfinite(days) || days > 2958465.0 || days < -693593.0)
        return {};
    return civilFromDays(static_cast<long>(std::floor(days)) - kUnixEpoch);
}

std::string DateValue::text(char separator) const {
    const YearMonthDay d = ymd();
    std::string out;
    appendPadded(out, d.day, 2);
    out += separator;
    appendPadded(out, d.month, 2);
    out += separator;
    appendPadded(out, d.year, 4);
    return out;
}

std::optional<DateValue> DateValue::parseText(std::string_view text, char separator) {
    std::size_t i = 0;
    const int day = readNumber(text, i, 2);
    if (day < 0 || i >= text.size() || text[i++] != separator)
        return std::nullopt;
    const int month = readNumber(text, i, 2);
    if (month < 0 || i >= text.size() || text[i++] != separator)
        return std::nullopt;
    const int year = readNumber(text, i, 4);
    if (year < 0 || i != text.size())
        return std::nullopt;
    return fromYmd(year, month, day);
}

DateValue SystemClock::today() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateValue::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(DateValue{});
}

} // namespace kv
