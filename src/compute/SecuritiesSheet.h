#pragma once
// Financial results of securities, derivatives, repo and securities lending for
// one kind of account, and the offsets of losses between categories and years.
// Two instances live in ReturnComputation: ordinary accounts and the individual
// investment account; which one is which follows from the member it is.
#include "core/Money.h"

namespace kv {

class Declaration;
class ReturnComputation;

class SecuritiesSheet {
public:
    Money tradedIncome, tradedCosts, tradedShortInterest;
    Money onceTradedIncome, onceTradedCosts;
    Money untradedIncome, untradedCosts, untradedShortInterest;
    Money derivSecIncome, derivSecCosts;
    Money derivOtherIncome, derivOtherCosts;
    Money derivUntradedIncome, derivUntradedCosts;
    Money repoIncome, repoCosts;
    Money repoTradedIncome, repoTradedCosts, repoUntradedIncome, repoUntradedCosts;
    Money lendingIncome, lendingCosts;
    Money lendingTradedIncome, lendingTradedCosts, lendingUntradedIncome, lendingUntradedCosts;
    Money priorSecuritiesLoss, priorDerivativesLoss;
    Money repoLossOnTraded, lendingLossOnTraded;
    Money tradedDeductionsTotal;
    Money tradedResult, tradedLoss;
    Money invDeduction;
    Money derivSecLossOnTraded;
    Money priorLossOnTraded;
    Money tradedLossOnOnceTraded;
    Money tradedLossOnDerivSec;
    Money repoLossOnUntraded, lendingLossOnUntraded;
    Money partnershipLossOnUntraded;
    Money derivSecResult, derivSecLoss;
    Money priorLossOnDerivSec;
    Money derivOtherLossOnDerivSec;
    Money derivSecLossOnDerivOther;
    Money derivOtherResult, derivOtherLoss;
    Money priorLossOnDerivOther;
    Money repoLossForTraded, repoLossForUntraded, lendingLossForTraded, lendingLossForUntraded;
    Money priorDerivLossUsed;
    Money tradedCostsCapped, onceTradedCostsCapped, untradedCostsCapped, derivSecCostsCapped,
        derivOtherCostsCapped, derivUntradedCostsCapped, repoCostsCapped, lendingCostsCapped;
    Money tradedWork, onceTradedWork, untradedWork, derivSecWork, derivOtherWork;
    Money exemptTraded, exemptOnceTraded, exemptUntraded, exemptDerivSec, exemptDerivOther,
        exemptDerivUntraded, exemptRepo, exemptLending;

    void clearFigures();
    // Must be called on root.securitiesOrdinary or root.securitiesIia, after
    // root.investPartnership has been computed.
    void compute(const Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
