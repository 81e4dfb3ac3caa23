#pragma once
// Amounts written for people rather than files: digits in groups of three. The window's
// lists and totals and its summary of the result group them the same way.
#include "core/Money.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// A whole number's digits in groups of three from the right with the separator between
// them ("1234567" and " " give "1 234 567"); the separator is in the caller's encoding.
std::string groupedDigits(std::uint64_t number, std::string_view separator);
// The size of an amount in ten-thousandths of a rouble, the most negative one included.
std::uint64_t magnitudeOf(Money amount);

} // namespace kv
