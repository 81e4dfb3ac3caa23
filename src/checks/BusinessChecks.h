#pragma once
// What the business screen's check and the whole-return check both ask of a business
// activity, decided in one place so the two cannot drift apart.
#include "core/Money.h"
#include "model/ForeignBusiness.h"

#include <string_view>

namespace kv {

// Entrepreneurs (1) and heads of farm households (5) may take the 20% norm instead of
// documented expenses; every other kind has documented expenses only.
inline bool mayUseNorm(std::string_view activityKind) {
    return activityKind == "1" || activityKind == "5";
}

// Material, depreciation, labour and other expenses together.
inline Money expenseParts(const BusinessActivity& a) {
    return a.materialExpenses + a.depreciation + a.labourExpenses + a.otherExpenses;
}

// The parts add up to more than the total. Both checks report this and only this: the
// parts are "в том числе" of the total, which may hold expenses of no listed part,
// so a total above its parts is no fault.
inline bool expensePartsExceedTotal(const BusinessActivity& a) {
    return expenseParts(a) > a.totalExpenses;
}

} // namespace kv
