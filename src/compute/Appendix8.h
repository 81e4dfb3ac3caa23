#pragma once
// Operation lines of the securities appendix, built from the two securities
// sheets and the investment partnership sheet, with the two totals that the
// tax base and the housing deduction use.
#include "core/Money.h"
#include "core/Text.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Declaration;
class ReturnComputation;

// One loss set against an operation line.
struct Appendix8Loss {
    Cp1251Text lossKind; // empty: the slot holds no loss
    Money amount;
};

struct Appendix8Operation {
    Cp1251Text operationKind;
    Money income;
    Money costs;
    Money expenses;
    std::uint8_t lossFlag = 0;
    Cp1251Text lossKind1, lossKind2, lossKind3;
    Money lossAmount1, lossAmount2, lossAmount3;
    Money invDeduction219_1;
    Money invDeduction219_3;
    // Working list of the line's losses in the order collected; unused slots
    // have an empty kind.
    std::array<Appendix8Loss, 5> losses;
};

class Appendix8Sheet {
public:
    Money investmentDeductionsTotal;
    Money expensesTotal;
    std::vector<Appendix8Operation> operations;
    std::int32_t operationCount = 0;

    void clearFigures();
    void compute(const Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
