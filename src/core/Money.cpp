#include "core/Money.h"

#include <charconv>
#include <limits>

namespace kv {
namespace {

[[noreturn]] void overflow() {
    throw ArithmeticError("Переполнение при вычислении суммы.");
}

// Shortest decimal text of a raw four-decimal value.
std::string rawText(std::int64_t raw, char separator) {
    const bool negative = raw < 0;
    // Work unsigned so the most negative value has a magnitude too.
    const std::uint64_t mag =
        negative ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    std::string text = negative ? "-" : "";
    text += std::to_string(mag / Money::kScale);
    std::uint64_t frac = mag % Money::kScale;
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0')
            digits.pop_back();
        text += separator;
        text += digits;
    }
    return text;
}

} // namespace

void detail::moneyOverflow() {
    overflow();
}

Money Money::fromRoubles(std::int64_t roubles) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(roubles, kScale, &r))
        overflow();
    return fromRaw(r);
}

Money Money::operator-() const {
    if (raw == std::numeric_limits<std::int64_t>::min())
        overflow();
    return fromRaw(-raw);
}

std::optional<Money> productHalfUp(Money amount, std::int64_t numerator, std::int64_t denominator,
                                   std::int64_t step) {
    if (denominator == 0 || step < 1)
        return std::nullopt;
    // |raw × numerator| < 2^126 and |denominator × step| < 2^126: neither overflows.
    __int128 n = static_cast<__int128>(amount.raw) * numerator;
    __int128 d = static_cast<__int128>(denominator) * step;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    __int128 q = n / d; // toward zero
    if (n > 0 && 2 * (n % d) >= d)
        ++q;
    const __int128 raw = q * step;
    if (raw > std::numeric_limits<std::int64_t>::max() || raw < std::numeric_limits<std::int64_t>::min())
        return std::nullopt;
    return Money::fromRaw(static_cast<std::int64_t>(raw));
}

Money productToKopecks(Money amount, std::int64_t numerator, std::int64_t denominator) {
    const std::optional<Money> result = productHalfUp(amount, numerator, denominator, 100);
    if (!result)
        overflow();
    return *result;
}

std::string wholeAmountText(int width, Money amount) {
    // The tax service's schema takes whole numbers only here; kopecks can still come
    // from a document written elsewhere, so they are rounded as any whole-rouble figure.
    const std::optional<Money> whole = productHalfUp(amount, 1, 1, Money::kScale);
    const std::int64_t roubles = whole ? whole->raw / Money::kScale : amount.raw / Money::kScale;
    std::string text = std::to_string(roubles);
    if (static_cast<int>(text.size()) > width)
        return std::string(static_cast<std::size_t>(width), '9');
    return text;
}

std::string amountText(int width, Money amount) {
    const std::int64_t raw = amount.raw < 0 ? 0 : amount.raw;
    std::string kopecks = std::to_string((raw % Money::kScale) / 100);
    if (kopecks.size() < 2)
        kopecks.insert(0, 1, '0');
    std::string text = std::to_string(raw / Money::kScale) + "." + kopecks;
    if (static_cast<int>(text.size()) > width + 1)
        return std::string(static_cast<std::size_t>(width - 2), '9') + ".99";
    return text;
}

std::string moneyText(Money amount, char separator) {
    return rawText(amount.raw, separator);
}

std::optional<Money> parseMoney(std::string_view text, char separator) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    std::uint64_t whole = 0;
    int wholeDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++wholeDigits) {
        if (whole > 922337203685477ULL)
            return std::nullopt;
        whole = whole * 10 + static_cast<unsigned>(text[i] - '0');
    }
    std::uint64_t frac = 0;
    int fracDigits = 0;
    if (i < text.size() && text[i] == separator) {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++fracDigits) {
            if (fracDigits == 4)
                return std::nullopt;
            frac = frac * 10 + static_cast<unsigned>(text[i] - '0');
        }
    }
    if (i != text.size() || wholeDigits + fracDigits == 0)
        return std::nullopt;
    for (int k = fracDigits; k < 4; ++k)
        frac *= 10;
    const std::uint64_t mag = whole * Money::kScale + frac;
    if (mag > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    const auto raw = static_cast<std::int64_t>(mag);
    return Money::fromRaw(negative ? -raw : raw);
}

} // namespace kv
