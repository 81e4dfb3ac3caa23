#include "core/Date.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Dates, DayNumbersOfKnownDates) {
    struct Case {
        int y, m, d;
        double days;
    } cases[] = {{2020, 1, 1, 43831},   {1899, 12, 30, 0},    {1900, 3, 1, 61},    {2000, 1, 1, 36526},
                 {2019, 12, 31, 43830}, {2004, 3, 15, 38061}, {2020, 2, 29, 43890}};
    for (const auto& c : cases) {
        const auto v = DateValue::fromYmd(c.y, c.m, c.d);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(v->days, c.days) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(v->year(), c.y);
        EXPECT_EQ(v->month(), c.m);
        EXPECT_EQ(v->day(), c.d);
    }
    EXPECT_EQ(DateValue::fromYear(2019).days, 43466);
}

TEST(Dates, RejectsDaysThatDoNotExist) {
    EXPECT_FALSE(DateValue::fromYmd(2019, 2, 29));
    EXPECT_FALSE(DateValue::fromYmd(2019, 13, 1));
    EXPECT_FALSE(DateValue::fromYmd(2019, 4, 31));
    EXPECT_FALSE(DateValue::fromYmd(0, 1, 1));
    EXPECT_TRUE(DateValue::fromYmd(2000, 2, 29));
    EXPECT_FALSE(DateValue::fromYmd(1900, 2, 29));
}

TEST(Dates, Texts) {
    EXPECT_EQ(DateValue::fromDays(43831).text(), "01.01.2020");
    EXPECT_EQ(DateValue::fromDays(38061).text(','), "15,03,2004");
    EXPECT_EQ(DateValue::parseText("15.03.2004"), DateValue::fromDays(38061));
    EXPECT_EQ(DateValue::parseText("1.1.2020"), DateValue::fromDays(43831));
    EXPECT_EQ(DateValue::parseText("15,03,2004", ','), DateValue::fromDays(38061));
    for (const char* bad : {"", "15.03", "15-03-2004", "32.01.2020", "15.03.2004x", "a.b.c", "15.03.20045"})
        EXPECT_FALSE(DateValue::parseText(bad).has_value()) << bad;
}

TEST(Dates, FixedClockGivesItsDay) {
    const FixedClock clock(DateValue::fromDays(43900));
    EXPECT_EQ(clock.today().days, 43900);
    EXPECT_GT(SystemClock().today().days, 43831); // any day after the program's tax year
}
