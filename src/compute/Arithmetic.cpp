#include "compute/Arithmetic.h"

#include "core/Text.h"

#include <limits>

namespace kv {

namespace {

// The exact product rounded half-up to a multiple of step; what cannot be computed
// is the one failure of the computation.
Money product(Money amount, std::int64_t numerator, std::int64_t denominator, std::int64_t step,
              const char* what) {
    const std::optional<Money> result = productHalfUp(amount, numerator, denominator, step);
    if (!result)
        throw ComputationError(std::string(what) +
                               (denominator == 0 ? ": division by zero" : ": amount out of range"));
    return *result;
}

constexpr std::int64_t kKopeck = 100;

} // namespace

ComputationError::ComputationError(std::string detail)
    : ArithmeticError(userMessage().bytes()), detail_(std::move(detail)) {}

const Cp1251Text& ComputationError::userMessage() {
    static const Cp1251Text text = Cp1251Text::fromUtf8(
        "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
    return text;
}

Money taxAtRate(Money amount, int ratePercent) {
    return product(amount, ratePercent, 100, Money::kScale, "tax at rate");
}

Money applyRateExact(Money amount, int ratePercent) {
    // raw × rate / 100 to the nearest ten-thousandth, a tie to the even neighbour.
    const __int128 n = static_cast<__int128>(amount.raw) * ratePercent;
    __int128 q = n / 100;
    const __int128 r = n % 100; // same sign as n
    const __int128 twice = 2 * (r < 0 ? -r : r);
    if (twice > 100 || (twice == 100 && q % 2 != 0))
        q += n < 0 ? -1 : 1;
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        throw ComputationError("amount at rate: value out of range");
    return Money::fromRaw(static_cast<std::int64_t>(q));
}

Money taxInKopecks(Money amount, int ratePercent) {
    return product(amount, ratePercent, 100, kKopeck, "tax in kopecks");
}

Money incomeForTax(Money tax, int ratePercent) {
    if (ratePercent == 0)
        throw ComputationError("income for tax: rate of zero");
    return product(tax, 100, ratePercent, kKopeck, "income for tax");
}

Money roundToRoubles(Money amount) {
    return product(amount, 1, 1, Money::kScale, "rounding to roubles");
}

Money roundToKopecks(Money amount) {
    return product(amount, 1, 1, kKopeck, "rounding to kopecks");
}

Money scaleToKopecks(Money amount, std::int64_t numerator, std::int64_t denominator) {
    return product(amount, numerator, denominator, kKopeck, "amount at factor");
}

Money percentLimit(Money amount, int percent) {
    // raw × percent / 10000 is the limit in kopecks; the cut is toward zero.
    const __int128 kopecks = static_cast<__int128>(amount.raw) * percent / 10000;
    if (kopecks <= 0)
        return Money{};
    if (kopecks > std::numeric_limits<std::int64_t>::max() / 100)
        throw ComputationError("percentage limit: amount out of range");
    return Money::fromRaw(static_cast<std::int64_t>(kopecks) * 100);
}

Money min3(Money a, Money b, Money c) {
    return min(min(a, b), c);
}

} // namespace kv
