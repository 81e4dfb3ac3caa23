#include "compute/Arithmetic.h"

#include "core/Text.h"

#include <cmath>
#include <limits>

namespace kv {

namespace {

// Largest magnitude a rounded figure may have before it is turned into an integer;
// kept below 2^63 with room for the later scaling checks.
constexpr long double kIntegerLimit = 9.0e18L;

std::int64_t checkedRoundHalfUp(long double x, const char* what) {
    if (!std::isfinite(x) || std::fabs(x) >= kIntegerLimit)
        throw ComputationError(std::string(what) + ": value out of range");
    return RoundHalfUp(x);
}

Money rawTimes(std::int64_t units, std::int64_t scale, const char* what) {
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(units, scale, &raw))
        throw ComputationError(std::string(what) + ": amount out of range");
    return Money::fromRaw(raw);
}

Money fromRoublesDouble(double roubles, const char* what) {
    long double raw = static_cast<long double>(roubles) * Money::kScale;
    if (!std::isfinite(raw) || std::fabs(raw) >= kIntegerLimit)
        throw ComputationError(std::string(what) + ": amount out of range");
    return Money::fromRaw(std::llroundl(raw));
}

long double rateOf(int ratePercent) {
    return static_cast<long double>(ratePercent) / 100.0L;
}

} // namespace

ComputationError::ComputationError(std::string detail)
    : ArithmeticError(userMessage()), detail_(std::move(detail)) {}

const std::string& ComputationError::userMessage() {
    static const std::string text =
        utf8ToCp1251("Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
    return text;
}

Money TaxAtRate(Money amount, int ratePercent) {
    const long double exact = static_cast<long double>(amount.raw) * rateOf(ratePercent) / 10000.0L;
    // The quotient is taken as a double first: the half-rouble decisions follow it.
    const double asDouble = static_cast<double>(exact);
    return rawTimes(checkedRoundHalfUp(asDouble, "tax at rate"), Money::kScale, "tax at rate");
}

Money ApplyRateExact(Money amount, int ratePercent) {
    const long double product = static_cast<long double>(amount.raw) * rateOf(ratePercent);
    if (!std::isfinite(product) || std::fabs(product) >= kIntegerLimit)
        throw ComputationError("amount at rate: value out of range");
    return Money::fromRaw(static_cast<std::int64_t>(std::nearbyintl(product)));
}

Money TaxInKopecks(Money amount, int ratePercent) {
    const long double kopecks = static_cast<long double>(ratePercent) * amount.raw / 10000.0L;
    return rawTimes(checkedRoundHalfUp(kopecks, "tax in kopecks"), 100, "tax in kopecks");
}

Money IncomeForTax(Money tax, int ratePercent) {
    if (ratePercent == 0)
        throw ComputationError("income for tax: rate of zero");
    const long double taxKopecks = static_cast<long double>(tax.raw) / 100.0L;
    const long double incomeKopecks = taxKopecks * 100.0L / ratePercent;
    return rawTimes(checkedRoundHalfUp(incomeKopecks, "income for tax"), 100, "income for tax");
}

Money RoundToRoubles(Money amount) {
    const long double roubles = static_cast<long double>(amount.raw) / Money::kScale;
    return rawTimes(checkedRoundHalfUp(roubles, "rounding to roubles"), Money::kScale, "rounding to roubles");
}

Money RoundToKopecks(Money amount) {
    const double roubles = static_cast<double>(static_cast<long double>(amount.raw) / Money::kScale);
    return fromRoublesDouble(RoundKopecks(roubles), "rounding to kopecks");
}

Money ScaleToKopecks(Money amount, long double factor) {
    const long double roubles = static_cast<long double>(amount.raw) * factor / Money::kScale;
    if (!std::isfinite(roubles) || std::fabs(roubles) * Money::kScale >= kIntegerLimit)
        throw ComputationError("amount at factor: value out of range");
    return fromRoublesDouble(RoundKopecks(static_cast<double>(roubles)), "amount at factor");
}

Money PercentLimit(Money amount, int percent) {
    // raw × percent / 10000 is the limit in kopecks; the cut is toward zero.
    const __int128 kopecks = static_cast<__int128>(amount.raw) * percent / 10000;
    if (kopecks <= 0)
        return Money{};
    if (kopecks > std::numeric_limits<std::int64_t>::max() / 100)
        throw ComputationError("percentage limit: amount out of range");
    return Money::fromRaw(static_cast<std::int64_t>(kopecks) * 100);
}

Money Min3(Money a, Money b, Money c) {
    return min(min(a, b), c);
}

} // namespace kv
