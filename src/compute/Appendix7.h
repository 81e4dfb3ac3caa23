#pragma once
// Housing purchase deduction: how much of the purchase costs and mortgage
// interest this year's income absorbs and what is left for later years.
#include "core/Money.h"

namespace kv {

class Declaration;
class ReturnComputation;

class Appendix7Sheet {
public:
    long double ownershipShare = 0;
    Money purchaseCosts;
    Money interestCosts;
    Money purchaseCreditedBefore;
    Money interestCreditedBefore;
    Money purchaseByAgent;
    Money interestByAgent;
    Money base13WithoutDeduction;
    Money baseAvailable;
    Money purchaseThisReturn;
    Money interestThisReturn;
    Money purchaseCarriedForward;
    Money interestCarriedForward;

    void clearFigures();
    // Also writes each housing object's yearDeduction and before2014 into the
    // document. Throws kv::ComputationError when the share of the object that
    // sets the limit has a zero denominator.
    void compute(Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
