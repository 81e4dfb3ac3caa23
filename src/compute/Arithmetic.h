#pragma once
// Money arithmetic shared by every sheet of the computation. Sums and differences
// are exact (Money itself); products with rates are formed in 80-bit extended
// precision and brought back through the rounding helpers of the core, so every
// figure comes out the same on each run. Anything that cannot be computed (a
// division by zero, an amount outside the 64-bit range) raises ComputationError
// rather than giving a silent wrong figure.
#include "core/Money.h"

#include <cstdint>
#include <string>

namespace kv {

// The one failure of a computation run. what() is the Russian text the user is
// shown (Windows-1251); detail() says what could not be computed, for diagnostics.
class ComputationError : public ArithmeticError {
public:
    explicit ComputationError(std::string detail);
    const std::string& detail() const { return detail_; }

    // "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки"
    static const std::string& userMessage();

private:
    std::string detail_;
};

// Whole-rouble tax at a rate of ratePercent (13, 9, 15, 30, 35):
// RoundHalfUp(raw × rate / 10000) roubles, the product and quotient in extended
// precision and taken as a double before rounding, so half a rouble rounds up.
Money TaxAtRate(Money amount, int ratePercent);

// Amount × rate (a whole percentage) to the nearest ten-thousandth of a rouble,
// ties to even, as an agent's computed tax on a source is kept.
Money ApplyRateExact(Money amount, int ratePercent);

// Tax in whole kopecks, half a kopeck up: RoundHalfUp(rate × raw / 10000) kopecks.
Money TaxInKopecks(Money amount, int ratePercent);

// The income whose tax at ratePercent equals tax: RoundHalfUp(kopecks × 100 / rate)
// kopecks. A rate of 0 is a ComputationError.
Money IncomeForTax(Money tax, int ratePercent);

// RoundHalfUp(amount / 10000) whole roubles (a negative amount truncates toward zero).
Money RoundToRoubles(Money amount);
// RoundKopecks(amount / 10000) kopecks.
Money RoundToKopecks(Money amount);
// amount × factor rounded to kopecks (factor such as 0.7 for 70%).
Money ScaleToKopecks(Money amount, long double factor);

// percent% of amount truncated to kopecks: the integer part of
// (raw × percent / 10000), read as kopecks. A negative base gives no limit room (0).
Money PercentLimit(Money amount, int percent);

// Smallest of three amounts (exact).
Money Min3(Money a, Money b, Money c);

} // namespace kv
