#include "core/Money.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kv;

TEST(Rounding, RoundHalfUp) {
    struct Case {
        double x;
        std::int64_t expected;
    } cases[] = {{2.5, 3},  {2.4999, 2}, {-2.5, -2}, {-2.7, -2},
                 {-0.7, 0}, {0.0, 0},    {0.5, 1},   {1e15 + 0.5, 1000000000000001}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfUp(c.x), c.expected) << c.x;
    EXPECT_THROW(RoundHalfUp(1e19), ArithmeticError);
    EXPECT_THROW(RoundHalfUp(std::numeric_limits<double>::quiet_NaN()), ArithmeticError);
}

TEST(Rounding, RoundKopecksFollowsBinaryValues) {
    struct Case {
        double x, expected;
    } cases[] = {{10.125, 10.13}, {2.675, 2.68},   {1.005, 1.00},
                 {0.285, 0.28},   {-1.239, -1.23}, {1234.5, 1234.5}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundKopecks(c.x), c.expected) << c.x;
}

TEST(AmountTexts, AmountTextCutsAndClamps) {
    struct Case {
        int width;
        std::int64_t raw;
        const char* expected;
    } cases[] = {
        {15, 12345678, "1234.56"},                            // 1234.5678: kopecks cut, not rounded
        {15, 50, "0.00"},                                     // 0.0050
        {15, 5000, "0.50"},        {6, 123450000, "9999.99"}, // 12345.00 has seven digits
        {6, 99999900, "9999.99"},                             // 9999.99 fits as it is
        {15, -50000, "0.00"},      {12, 99999999999990000, "9999999999.99"},
        {7, 9999999, "999.99"},    {14, 1000000000000 * 10000, "999999999999.99"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AmountText(c.width, Money::fromRaw(c.raw)), c.expected) << c.width << " " << c.raw;
}

TEST(AmountTexts, WholeAmountTextClampsByWidth) {
    EXPECT_EQ(WholeAmountText(12, Money::fromRoubles(1000000000000)), "999999999999");
    EXPECT_EQ(WholeAmountText(13, Money::fromRoubles(1000000000000)), "1000000000000");
    EXPECT_EQ(WholeAmountText(12, Money::fromRoubles(-15)), "-15");
    EXPECT_EQ(WholeAmountText(12, Money()), "0");
}

TEST(AmountTexts, FourDecimalText) {
    EXPECT_EQ(FourDecimalText(72.01234L), "72.0123");
    EXPECT_EQ(FourDecimalText(1.0L / 3), "0.3333");
    EXPECT_EQ(FourDecimalText(2), "2");
    EXPECT_EQ(FourDecimalText(0.00005L), "0.0001");
    EXPECT_EQ(FourDecimalText(65.5L), "65.5");
}

TEST(MoneyText, ShortestFormAndParsing) {
    struct Case {
        std::int64_t raw;
        const char* text;
    } cases[] = {{12345000, "1234.5"},
                 {-100, "-0.01"},
                 {0, "0"},
                 {10000, "1"},
                 {1, "0.0001"},
                 {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"}};
    for (const auto& c : cases) {
        EXPECT_EQ(moneyText(Money::fromRaw(c.raw), '.'), c.text);
        EXPECT_EQ(parseMoney(c.text, '.'), Money::fromRaw(c.raw)) << c.text;
    }
    EXPECT_EQ(moneyText(Money::fromRaw(12345000), ','), "1234,5");
    EXPECT_EQ(moneyText(Money::fromRaw(std::numeric_limits<std::int64_t>::min()), '.'),
              "-922337203685477.5808");
}

TEST(MoneyText, ParseRejectsWhatIsNotAPlainAmount) {
    EXPECT_EQ(parseMoney("1234,5", ','), Money::fromRaw(12345000));
    EXPECT_EQ(parseMoney(",5", ','), Money::fromRaw(5000));
    EXPECT_EQ(parseMoney("7.", '.'), Money::fromRoubles(7));
    for (const char* bad :
         {"", "-", ".", "1,5", "1 000", "1.23456", "abc", "1e5", "999999999999999999", "12.3.4", " 1"})
        EXPECT_FALSE(parseMoney(bad, '.').has_value()) << bad;
}

TEST(MoneyArithmetic, OverflowRaisesInsteadOfWrapping) {
    const Money big = Money::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(big + Money::fromRaw(1), ArithmeticError);
    EXPECT_THROW(-big - Money::fromRaw(2), ArithmeticError);
    EXPECT_THROW(Money::fromRoubles(std::numeric_limits<std::int64_t>::max() / 1000), ArithmeticError);
    EXPECT_THROW(Money::fromLongDouble(1e30L), ArithmeticError);
    EXPECT_EQ(Money::fromLongDouble(RoundKopecks(10.125)), Money::fromRaw(101300));
    EXPECT_EQ(Money::fromRoubles(2) - Money::fromRaw(5000), Money::fromRaw(15000));
}
