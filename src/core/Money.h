#pragma once
// Exact money: a signed 64-bit count of ten-thousandths of a rouble. Sums and
// differences stay exact, and so do products with rates and coefficients: they are
// formed on the integers (productHalfUp) and only the exact product is rounded, so a
// half kopeck is always rounded up, never lost in a binary fraction.
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// Raised when an amount leaves the 64-bit range or a rate cannot be applied
// (division by zero); never undefined behaviour.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {
[[noreturn]] void moneyOverflow();
}

class Money {
public:
    static constexpr std::int64_t kScale = 10000;

    std::int64_t raw = 0;

    constexpr Money() = default;
    static constexpr Money fromRaw(std::int64_t r) {
        Money m;
        m.raw = r;
        return m;
    }
    static Money fromRoubles(std::int64_t roubles);

    // Whole roubles, truncated toward zero.
    std::int64_t wholeRoubles() const { return raw / kScale; }
    bool isZero() const { return raw == 0; }

    Money operator-() const;
    // Inline: the computation adds up every income line several times over.
    Money& operator+=(Money o) {
        if (__builtin_add_overflow(raw, o.raw, &raw))
            detail::moneyOverflow();
        return *this;
    }
    Money& operator-=(Money o) {
        if (__builtin_sub_overflow(raw, o.raw, &raw))
            detail::moneyOverflow();
        return *this;
    }
    friend Money operator+(Money a, Money b) { return a += b; }
    friend Money operator-(Money a, Money b) { return a -= b; }
    friend constexpr auto operator<=>(Money a, Money b) = default;
    friend constexpr bool operator==(Money a, Money b) = default;
};

inline Money max(Money a, Money b) {
    return a < b ? b : a;
}
inline Money min(Money a, Money b) {
    return a < b ? a : b;
}

// --- Exact products ---------------------------------------------------------
// amount × numerator / denominator, formed exactly in 128-bit integers and rounded
// half-up to a multiple of `step` ten-thousandths (100 kopecks, 10000 roubles, 1 the
// stored precision); a positive half rounds up, a negative product is truncated
// toward zero. A factor is an exact fraction: 70% is 7/10, a rate of 64.7362 roubles for
// 100 units is 647362 / (100 × 10000). nullopt for a zero denominator, a step
// below 1, or a result outside the 64-bit range.
std::optional<Money> productHalfUp(Money amount, std::int64_t numerator, std::int64_t denominator,
                                   std::int64_t step);
// productHalfUp to kopecks; ArithmeticError where it gives nullopt.
Money productToKopecks(Money amount, std::int64_t numerator, std::int64_t denominator);

// --- Texts of the export ---------------------------------------------------
// Whole roubles: a fraction is rounded half-up (a negative amount truncated toward
// zero) and never written.
std::string wholeAmountText(int width, Money amount);
std::string amountText(int width, Money amount);

// --- General texts (document items, screens, messages) ----------------------
// Shortest decimal form: no grouping, "-" for negatives, at most four decimals,
// the given separator only when there is a fraction ("1234.5", "0", "-0.01").
std::string moneyText(Money amount, char separator);
// Parses a plain decimal with the given separator (optional sign, at most four
// decimals, no grouping). Anything else, or an amount out of range, gives nullopt.
std::optional<Money> parseMoney(std::string_view text, char separator);

} // namespace kv
