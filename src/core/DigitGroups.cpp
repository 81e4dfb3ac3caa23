#include "core/DigitGroups.h"

namespace kv {

std::string groupedDigits(std::uint64_t number, std::string_view separator) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return text;
}

std::uint64_t magnitudeOf(Money amount) {
    return amount.raw < 0 ? static_cast<std::uint64_t>(-(amount.raw + 1)) + 1
                          : static_cast<std::uint64_t>(amount.raw);
}

} // namespace kv
