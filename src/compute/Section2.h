#pragma once
// Section 2 of the return: tax base and tax for one rate and kind of income.
// Seven instances live in ReturnComputation; each one's inputs follow from which member
// it is, never from its data.
#include "core/Money.h"
#include "core/Text.h"

#include <string>

namespace kv {

class Declaration;
class ReturnComputation;

class Section2Sheet {
public:
    Cp1251Text rateCode;
    Money totalIncome;
    Money nonTaxableIncome;
    Money taxableIncome;
    Money deductions;
    Money expensesReducingIncome;
    Money cfcProfit;
    Money taxBase;
    Money taxCalculated;
    Money taxWithheld;
    Money taxWithheldMaterialBenefit;
    Money tradeFeeCredited;
    Money advancesPaid;
    Money fixedAdvancesPaid;
    Money foreignTaxCredited;
    Money patentCredited;
    Money taxToPay;
    Money taxToRefund;

    // Zeroes every amount and clears the rate code: a sheet that does not run keeps it empty.
    void clearFigures();
    // Must be called on one of the seven Section 2 members of root.
    void compute(const Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
