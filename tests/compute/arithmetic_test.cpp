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
    // 150.00 × 13% = 19.50 -> 20 (the extended product is taken as a double, which
    // lands on the half); 149.99 × 13% = 19.4987 -> 19; 100 000 × 35% = 35 000;
    // 1 000 000.01 × 9% = 90 000.0009 -> 90 000; −150 × 13% = −19.5 truncates to −19.
    const Row rows[] = {
        {rub(150), 13, rub(20)},          {rub(149, 99), 13, rub(19)}, {rub(100000), 35, rub(35000)},
        {rub(1000000, 1), 9, rub(90000)}, {rub(-150), 13, rub(-19)},   {rub(3, 85), 13, rub(1)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TaxAtRate(r.amount, r.rate), r.tax) << moneyText(r.amount, '.') << " at " << r.rate;
}

TEST(Arithmetic, RatesInKopecksAndExactAmounts) {
    // 100 000 at 13% in kopecks: 13 000.00; 0.50 at 13% = 6.5 kopecks -> 0.07.
    EXPECT_EQ(TaxInKopecks(rub(100000), 13), rub(13000));
    EXPECT_EQ(TaxInKopecks(rub(0, 50), 13), rub(0, 7));
    // 100 003.08 × 0.13 = 13 000.4004, kept to the ten-thousandth.
    EXPECT_EQ(ApplyRateExact(rub(100003, 8), 13), raw(130004004));
    // The income whose 13% is 10 000.00: 76 923.0769... -> 76 923.08.
    EXPECT_EQ(IncomeForTax(rub(10000), 13), rub(76923, 8));
}

TEST(Arithmetic, RoundingToRoublesAndKopecks) {
    EXPECT_EQ(RoundToRoubles(rub(2, 50)), rub(3));
    EXPECT_EQ(RoundToRoubles(rub(2, 49)), rub(2));
    EXPECT_EQ(RoundToRoubles(-rub(2, 50)), rub(-2));
    EXPECT_EQ(RoundToKopecks(raw(100050)), rub(10, 1)); // 10.0050 -> 10.01
    EXPECT_EQ(RoundToKopecks(raw(10125)), rub(1, 1));   // 1.0125 -> 1.01
    // 70% of 1 234 567.89 = 864 197.523 -> 864 197.52.
    EXPECT_EQ(ScaleToKopecks(rub(1234567, 89), 0.7L), rub(864197, 52));
}

TEST(Arithmetic, PercentLimitIsTruncatedToKopecks) {
    EXPECT_EQ(PercentLimit(rub(100000), 25), rub(25000));
    // 25% of 123.4567 = 30.864175: cut, not rounded, to 30.86.
    EXPECT_EQ(PercentLimit(raw(1234567), 25), rub(30, 86));
    // 30% of 0.0333 = 0.00999: nothing.
    EXPECT_EQ(PercentLimit(raw(333), 30), Money{});
    // A base below zero leaves no room for a deduction.
    EXPECT_EQ(PercentLimit(rub(-1000), 25), Money{});
}

TEST(Arithmetic, FiguresThatCannotBeComputedRaiseOneClearError) {
    const Money huge = raw(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(IncomeForTax(rub(100), 0), ComputationError);
    EXPECT_THROW(IncomeForTax(huge, 9), ComputationError);
    try {
        IncomeForTax(rub(100), 0);
    } catch (const ComputationError& e) {
        EXPECT_EQ(cp1251ToUtf8(e.what()),
                  "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
        EXPECT_FALSE(e.detail().empty());
    }
}

} // namespace
} // namespace kv::test
