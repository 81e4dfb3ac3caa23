#pragma once
// Investment partnership incomes by category of operation, with costs limited to
// income, the investment deduction and earlier years' losses.
#include "core/Money.h"

namespace kv {

class Declaration;

class PartnershipSheet {
public:
    Money p5002Income, p5002Costs, p5002Expenses;
    Money p5005Income, p5005Costs, p5005Expenses;
    Money p5009Income, p5009Costs, p5009Expenses;
    Money p5011Income, p5011Costs, p5011Expenses;
    Money p5014Income, p5014Costs, p5014Expenses;
    Money p5013Income, p5013Costs, p5013Expenses;
    Money p5017Income, p5017Costs, p5017Expenses;
    Money p5020Income, p5020Costs, p5020Expenses;
    Money p5024Income, p5024Costs, p5024Expenses;
    Money p5026Income, p5026Costs, p5026Expenses;
    Money p5029Income, p5029Costs, p5029Expenses;
    Money p5028Income, p5028Costs, p5028Expenses;

    Money invDeduction5002;
    Money exempt5017, exempt5020, exempt5024, exempt5026, exempt5029, exempt5028;
    Money exitLoss;
    Money iisExitLoss;
    Money priorLossLeft;
    Money priorLossLeftIis;
    Money priorLoss5002, priorLoss5005, priorLoss5009, priorLoss5011, priorLoss5014;
    Money priorLoss5017, priorLoss5020, priorLoss5024, priorLoss5026, priorLoss5029;

    void clearFigures();
    void compute(const Declaration& declaration);
};

} // namespace kv
