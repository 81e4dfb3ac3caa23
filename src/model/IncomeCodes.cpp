#include "model/IncomeCodes.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

constexpr std::array<std::int32_t, 36> kSecuritiesIncomes = {
    1530, 1531, 1532, 1533, 1535, 1536, 1537, 1538, 1539, 1541, 1544, 1545,
    1546, 1547, 1548, 1549, 1551, 1552, 1553, 1554, 9537, 9538, 9551, 9552,
    5002, 5005, 5009, 5011, 5013, 5014, 5017, 5020, 5024, 5026, 5028, 5029};

} // namespace

bool isSecuritiesIncomeCode(std::int32_t code) {
    return std::find(kSecuritiesIncomes.begin(), kSecuritiesIncomes.end(), code) != kSecuritiesIncomes.end();
}

} // namespace kv
