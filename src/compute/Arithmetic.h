#pragma once
// Money arithmetic shared by every sheet of the computation. Sums and differences
// are exact (Money itself), and so are products with rates: they are formed on the
// integers and only the exact product is rounded (productHalfUp of the core), so a
// half rouble or a half kopeck always rounds up. Anything that cannot be computed (a
// division by zero, an amount outside the 64-bit range) raises ComputationError
// rather than giving a silent wrong figure.
#include "core/Money.h"
#include "core/Text.h"

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
    static const Cp1251Text& userMessage();
    // The same text as what().
    const Cp1251Text& message() const { return userMessage(); }

private:
    std::string detail_;
};

// Whole-rouble tax at a rate of ratePercent (13, 9, 15, 30, 35): amount × rate / 100
// with half a rouble up (a negative amount truncated toward zero).
Money taxAtRate(Money amount, int ratePercent);

// Amount × rate (a whole percentage) to the nearest ten-thousandth of a rouble,
// ties to even, as an agent's computed tax on a source is kept.
Money applyRateExact(Money amount, int ratePercent);

// Tax in whole kopecks, half a kopeck up.
Money taxInKopecks(Money amount, int ratePercent);

// The income whose tax at ratePercent equals tax: tax × 100 / rate in kopecks, half
// a kopeck up. A rate of 0 is a ComputationError.
Money incomeForTax(Money tax, int ratePercent);

// Whole roubles, half a rouble up (a negative amount truncates toward zero).
Money roundToRoubles(Money amount);
// Kopecks, half a kopeck up (a negative amount truncates toward zero).
Money roundToKopecks(Money amount);
// amount × numerator / denominator rounded to kopecks (70% is 7 / 10).
Money scaleToKopecks(Money amount, std::int64_t numerator, std::int64_t denominator);

// percent% of amount truncated to kopecks: the integer part of
// (raw × percent / 10000), read as kopecks. A negative base gives no limit room (0).
Money percentLimit(Money amount, int percent);

// Smallest of three amounts (exact).
Money min3(Money a, Money b, Money c);

} // namespace kv
