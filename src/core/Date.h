#pragma once
// Calendar dates as day numbers since 30 December 1899 (1 January 2020 is 43831),
// the form the document file stores.
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct YearMonthDay {
    int year = 1899;
    int month = 12;
    int day = 30;
};

class DateValue {
public:
    double days = 0;

    constexpr DateValue() = default;
    static constexpr DateValue fromDays(double d) {
        DateValue v;
        v.days = d;
        return v;
    }
    // Returns nullopt for a day that does not exist (31.02, month 13, year 0).
    static std::optional<DateValue> fromYmd(int year, int month, int day);
    static DateValue fromYear(int year); // 1 January of the year

    YearMonthDay ymd() const; // of the whole day
    int year() const { return ymd().year; }
    int month() const { return ymd().month; }
    int day() const { return ymd().day; }

    // "dd.mm.yyyy" with the given separator.
    std::string text(char separator = '.') const;
    // Parses "d.m.yyyy" / "dd.mm.yyyy" with the given separator.
    static std::optional<DateValue> parseText(std::string_view text, char separator = '.');

    friend constexpr auto operator<=>(DateValue a, DateValue b) = default;
    friend constexpr bool operator==(DateValue a, DateValue b) = default;
};

// Today and new identifiers come from a provider so tests can fix them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateValue today() const = 0;
};

class SystemClock : public Clock {
public:
    DateValue today() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(DateValue d) : date_(d) {}
    DateValue today() const override { return date_; }

private:
    DateValue date_;
};

} // namespace kv
