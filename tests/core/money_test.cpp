#include "core/DigitGroups.h"
#include "core/Money.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using namespace kv;

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
        EXPECT_EQ(amountText(c.width, Money::fromRaw(c.raw)), c.expected) << c.width << " " << c.raw;
}

TEST(AmountTexts, WholeAmountTextClampsByWidth) {
    EXPECT_EQ(wholeAmountText(12, Money::fromRoubles(1000000000000)), "999999999999");
    EXPECT_EQ(wholeAmountText(13, Money::fromRoubles(1000000000000)), "1000000000000");
    EXPECT_EQ(wholeAmountText(12, Money::fromRoubles(-15)), "-15");
    EXPECT_EQ(wholeAmountText(12, Money()), "0");
    // A fraction from a document written elsewhere never reaches a whole-rouble attribute.
    EXPECT_EQ(wholeAmountText(13, Money::fromRaw(1560005000)), "156001");
    EXPECT_EQ(wholeAmountText(13, Money::fromRaw(13004999)), "1300");
    EXPECT_EQ(wholeAmountText(13, Money::fromRaw(-155000)), "-15");
    EXPECT_EQ(wholeAmountText(13, Money::fromRaw(-5000)), "0");
    EXPECT_EQ(wholeAmountText(12, Money::fromRaw(9999999999995000)), "999999999999");
}

TEST(ExactProducts, OnlyTheExactProductIsRounded) {
    struct Case {
        std::int64_t raw, numerator, denominator, step;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {14979657500, 7, 10, 100, 10485760300}, // 1 497 965.75 × 70% = 1 048 576.025 -> .03
        {25000, 647300, 10000, 100, 1618300},   // 2.50 at 64.73 = 161.825 -> 161.83
        {1310720200, 25, 100, 100, 327680100},  // 131 072.02 × 25% = 32 768.005 -> .01
        {1310720100, 25, 100, 100, 327680000},  // 32 768.0025 -> .00
        {1500000, 13, 100, 10000, 200000},      // 150 × 13% = 19.5 -> 20 roubles
        {-1500000, 13, 100, 10000, -190000},    // a negative half truncates toward zero
        {-12390, 1, 1, 100, -12300},            // -1.239 -> -1.23
        {647301, 1, -2, 1, -323650},            // a negative denominator counts as a sign
        {647301, 1, 2, 1, 323651},              // 32.36505 to the ten-thousandth -> .3651
        {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<std::int64_t>::max(), 1, std::numeric_limits<std::int64_t>::max()},
        {std::numeric_limits<std::int64_t>::max(), 2, 1, 1, std::nullopt}, // out of range
        {10000, 1, 0, 100, std::nullopt},                                  // no denominator
        {10000, 1, 1, 0, std::nullopt},                                    // no step
    };
    for (const auto& c : cases) {
        const std::optional<Money> result =
            productHalfUp(Money::fromRaw(c.raw), c.numerator, c.denominator, c.step);
        EXPECT_EQ(result.has_value(), c.expected.has_value())
            << c.raw << " x " << c.numerator << "/" << c.denominator;
        if (result && c.expected) {
            EXPECT_EQ(result->raw, *c.expected) << c.raw << " x " << c.numerator << "/" << c.denominator;
        }
    }
    EXPECT_THROW(productToKopecks(Money::fromRaw(std::numeric_limits<std::int64_t>::max()), 3, 1),
                 ArithmeticError);
}

TEST(MoneyText, DigitsGroupInThreesFromTheRight) {
    struct Case {
        std::uint64_t number;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1 000"},
                 {156000, "156 000"},
                 {1234567, "1 234 567"},
                 {std::numeric_limits<std::uint64_t>::max(), "18 446 744 073 709 551 615"}};
    for (const auto& c : cases)
        EXPECT_EQ(groupedDigits(c.number, " "), c.text) << c.number;
    EXPECT_EQ(groupedDigits(1234, "\xC2\xA0"), "1\xC2\xA0"
                                               "234"); // a separator of more than one byte
    EXPECT_EQ(magnitudeOf(Money::fromRaw(std::numeric_limits<std::int64_t>::min())), 9223372036854775808ULL);
    EXPECT_EQ(magnitudeOf(Money::fromRaw(-100)), 100U);
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
    EXPECT_EQ(Money::fromRoubles(2) - Money::fromRaw(5000), Money::fromRaw(15000));
}
