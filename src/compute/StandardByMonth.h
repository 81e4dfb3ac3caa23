#pragma once
// Standard deductions month by month: the taxpayer's own deduction for every
// month with income, and the child deductions up to the month in which the
// income accumulated since January passes 350 000 roubles.
#include "core/Money.h"

#include <array>
#include <cstdint>

namespace kv {

class Declaration;
class ReturnComputation;

class StandardByMonthSheet {
public:
    std::int32_t childMonths = 0;           // months with income counted for child deductions
    std::array<Money, 12> monthlyNet{};     // entrepreneurs: net income of each month, then the running net
    std::array<Money, 12> monthlyExpense{}; // entrepreneurs: expenses of each month
    std::array<Money, 12> cumulativeIncome{};
    Money std3000;
    Money std500;
    Money child;
    Money childSingleParent;
    Money disabledChild;
    Money disabledChildSingleParent;

    void clearFigures();
    void compute(const Declaration& doc, ReturnComputation& root);

    friend bool operator==(const StandardByMonthSheet&, const StandardByMonthSheet&) = default;
};

} // namespace kv
