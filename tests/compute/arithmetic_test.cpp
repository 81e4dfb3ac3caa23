// Money arithmetic of the computation: whole-rouble tax with half a rouble up,
// kopeck rounding, truncated percentage limits, and a clear error where a figure
// cannot be computed.
#include "SheetFixture.h"

#include "compute/Arithmetic.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <limits>

namespace kv::test {
namespace {

Money raw(std::int64_t r) {
    return Money::fromRaw(r);
}

TEST(Arithmetic, TaxAtRateIsWholeRoublesHalfUp) {
    struct Row {
        Money amount;
        int rate;
        Money tax;
    };
    // 150.00 × 13% = 19.50 -> 20; 149.99 × 13% = 19.4987 -> 19; 100 000 × 35% = 35 000;
    // 1 000 000.01 × 9% = 90 000.0009 -> 90 000; −150 × 13% = −19.5 truncates to −19.
    const Row rows[] = {
        {rub(150), 13, rub(20)},          {rub(149, 99), 13, rub(19)}, {rub(100000), 35, rub(35000)},
        {rub(1000000, 1), 9, rub(90000)}, {rub(-150), 13, rub(-19)},   {rub(3, 85), 13, rub(1)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(taxAtRate(r.amount, r.rate), r.tax) << moneyText(r.amount, '.') << " at " << r.rate;
}

TEST(Arithmetic, RatesInKopecksAndExactAmounts) {
    // 100 000 at 13% in kopecks: 13 000.00; 0.50 at 13% = 6.5 kopecks -> 0.07.
    EXPECT_EQ(taxInKopecks(rub(100000), 13), rub(13000));
    EXPECT_EQ(taxInKopecks(rub(0, 50), 13), rub(0, 7));
    // 100 003.08 × 0.13 = 13 000.4004, kept to the ten-thousandth.
    EXPECT_EQ(applyRateExact(rub(100003, 8), 13), raw(130004004));
    // Ties go to the even ten-thousandth: 0.0005 × 0.30 = 0.00015 -> 0.0002,
    // 0.0015 × 0.30 = 0.00045 -> 0.0004.
    EXPECT_EQ(applyRateExact(raw(5), 30), raw(2));
    EXPECT_EQ(applyRateExact(raw(15), 30), raw(4));
    EXPECT_EQ(applyRateExact(raw(-15), 30), raw(-4));
    EXPECT_EQ(applyRateExact(raw(-5), 30), raw(-2));
    // The income whose 13% is 10 000.00: 76 923.0769... -> 76 923.08.
    EXPECT_EQ(incomeForTax(rub(10000), 13), rub(76923, 8));
}

TEST(Arithmetic, RoundingToRoublesAndKopecks) {
    EXPECT_EQ(roundToRoubles(rub(2, 50)), rub(3));
    EXPECT_EQ(roundToRoubles(rub(2, 49)), rub(2));
    EXPECT_EQ(roundToRoubles(-rub(2, 50)), rub(-2));
    EXPECT_EQ(roundToKopecks(raw(100050)), rub(10, 1)); // 10.0050 -> 10.01
    EXPECT_EQ(roundToKopecks(raw(10125)), rub(1, 1));   // 1.0125 -> 1.01
    // 70% of 1 234 567.89 = 864 197.523 -> 864 197.52.
    EXPECT_EQ(scaleToKopecks(rub(1234567, 89), 7, 10), rub(864197, 52));
}

// Exact half-up of n / d for n >= 0, the reference the sweeps compare with.
std::int64_t halfUp(std::int64_t n, std::int64_t d) {
    return (2 * n + d) / (2 * d);
}

// Every exact half of each product the computation rounds, over a long run of
// amounts: a binary path lands on the wrong side of a few per cent of them.
TEST(Arithmetic, EveryHalfOfEveryProductRoundsUp) {
    // 70% of k kopecks is a half kopeck whenever k ends in 5.
    for (const std::int64_t start :
         {std::int64_t{5}, std::int64_t{149'000'005}}) // the second around 1 497 965.75
        for (std::int64_t k = start; k < start + 2'000'000; k += 10)
            ASSERT_EQ(scaleToKopecks(raw(k * 100), 7, 10), raw(halfUp(7 * k, 10) * 100)) << k;
    EXPECT_EQ(scaleToKopecks(rub(1497965, 75), 7, 10), rub(1048576, 3));

    // k kopecks at rate% is a half of `unit` kopecks when k × rate ≡ 50 × unit (mod 100 × unit).
    for (const int rate : {9, 13, 15, 30, 35}) {
        for (const std::int64_t unit : {std::int64_t{1}, std::int64_t{100}}) {
            const std::int64_t period = 100 * unit;
            int halves = 0;
            for (std::int64_t k0 = 0; k0 < period; ++k0) {
                if (k0 * rate % period != 50 * unit)
                    continue;
                for (std::int64_t k = k0; k < 2'000'000'000; k += period * 97) {
                    ++halves;
                    const Money amount = raw(k * 100);
                    const Money expected = raw(halfUp(k * rate, period) * unit * 100);
                    ASSERT_EQ(unit == 1 ? taxInKopecks(amount, rate) : taxAtRate(amount, rate), expected)
                        << k << " kopecks at " << rate;
                }
            }
            EXPECT_GT(halves, 0) << rate;
        }
        for (std::int64_t k = 0; k < 100'000; ++k)
            ASSERT_EQ(incomeForTax(raw(k * 100), rate), raw(halfUp(k * 100, rate) * 100)) << k;
    }
}

TEST(Arithmetic, PercentLimitIsTruncatedToKopecks) {
    EXPECT_EQ(percentLimit(rub(100000), 25), rub(25000));
    // 25% of 123.4567 = 30.864175: cut, not rounded, to 30.86.
    EXPECT_EQ(percentLimit(raw(1234567), 25), rub(30, 86));
    // 30% of 0.0333 = 0.00999: nothing.
    EXPECT_EQ(percentLimit(raw(333), 30), Money{});
    // A base below zero leaves no room for a deduction.
    EXPECT_EQ(percentLimit(rub(-1000), 25), Money{});
}

TEST(Arithmetic, FiguresThatCannotBeComputedRaiseOneClearError) {
    const Money huge = raw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(incomeForTax(rub(100), 0), ComputationError);
    EXPECT_THROW(incomeForTax(huge, 9), ComputationError);
    try {
        incomeForTax(rub(100), 0);
    } catch (const ComputationError& e) {
        EXPECT_EQ(Cp1251Text::fromBytes(std::string_view(e.what())).utf8(),
                  "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
        EXPECT_FALSE(e.detail().empty());
    }
}

} // namespace
} // namespace kv::test
