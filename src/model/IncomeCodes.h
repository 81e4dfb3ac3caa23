#pragma once
// Income codes of the return that several layers treat alike: the computation gives
// them their own income kind, the checks let their expenses go without an amount or
// exceed the income.
#include <cstdint>

namespace kv {

// Operations with securities, derivatives and investment partnerships: 1530 to 1554
// (1534, 1540, 1542, 1543 and 1550 are not codes of the return), 9537, 9538, 9551,
// 9552 and the twelve 50xx codes.
bool isSecuritiesIncomeCode(std::int32_t code);

} // namespace kv
