#include "compute/SecuritiesSheet.h"

#include "compute/ReturnComputation.h"
#include "model/Declaration.h"

#include <array>
#include <optional>

namespace kv {

namespace {

using J = SecuritiesSheet;

// Where an item's income and deduction go. Traded and untraded securities split
// the deduction by its code: documented costs or interest on short positions.
struct Category {
    std::int32_t ordinaryCode;
    std::int32_t iisCode;
    Money J::*income;
    Money J::*costs;
    // Only for the two kinds with short positions: the codes of costs and of
    // short-position interest on each kind of account; other codes add nothing.
    Money J::*shortInterest = nullptr;
    std::int32_t costsCode = 0, costsCodeIis = 0;
    std::int32_t shortCode = 0, shortCodeIis = 0;
};

// clang-format off
const std::array<Category, 10> kCategories{{
    {1530, 1544, &J::tradedIncome, &J::tradedCosts, &J::tradedShortInterest, 201, 225, 218, 233},
    {1536, 1549, &J::onceTradedIncome, &J::onceTradedCosts},
    {1531, 1545, &J::untradedIncome, &J::untradedCosts, &J::untradedShortInterest, 202, 226, 219, 234},
    {1532, 1546, &J::derivSecIncome, &J::derivSecCosts},
    {1535, 1548, &J::derivOtherIncome, &J::derivOtherCosts},
    {1533, 1547, &J::derivUntradedIncome, &J::derivUntradedCosts},
    {1537, 1551, &J::repoTradedIncome, &J::repoTradedCosts},
    {9537, 9551, &J::repoUntradedIncome, &J::repoUntradedCosts},
    {1538, 1552, &J::lendingTradedIncome, &J::lendingTradedCosts},
    {9538, 9552, &J::lendingUntradedIncome, &J::lendingUntradedCosts},
}};
// clang-format on

Money positive(Money m) {
    return max(Money{}, m);
}

// Takes at most what is left of work and reduces it by the amount taken.
Money takeFrom(Money& work, Money wanted) {
    const Money taken = min(work, wanted);
    work -= taken;
    return taken;
}

} // namespace

void SecuritiesSheet::clearFigures() {
    *this = SecuritiesSheet();
}

void SecuritiesSheet::compute(const Declaration& declaration, const ReturnComputation& root) {
    clearFigures();
    const bool iis = this == &root.securitiesIia;

    auto take = [&](std::int32_t incomeCode, std::int32_t deductionCode, Money a, Money d) {
        if (deductionCode == 0)
            return;
        for (const auto& c : kCategories) {
            if (incomeCode != (iis ? c.iisCode : c.ordinaryCode))
                continue;
            this->*(c.income) += a;
            if (c.shortInterest == nullptr)
                this->*(c.costs) += d;
            else if (deductionCode == (iis ? c.costsCodeIis : c.costsCode))
                this->*(c.costs) += d;
            else if (deductionCode == (iis ? c.shortCodeIis : c.shortCode))
                this->*(c.shortInterest) += d;
            return;
        }
    };
    for (const auto& source : declaration.incomes13)
        for (const auto& item : source.items)
            take(item.incomeCode, item.deductionCode, item.amount, item.deductionAmount);
    if (declaration.has(IncomeKind::Foreign))
        for (const auto& income : declaration.foreignIncomes)
            take(income.incomeCode, income.deductionCode, income.incomeInRubles, income.deductionAmount);

    repoIncome = repoTradedIncome + repoUntradedIncome;
    repoCosts = repoTradedCosts + repoUntradedCosts;
    lendingIncome = lendingTradedIncome + lendingUntradedIncome;
    lendingCosts = lendingTradedCosts + lendingUntradedCosts;

    tradedCostsCapped = min(tradedCosts, tradedIncome);
    onceTradedCostsCapped = min(onceTradedCosts, onceTradedIncome);
    untradedCostsCapped = min(untradedCosts, untradedIncome);
    derivSecCostsCapped = min(derivSecCosts, derivSecIncome);
    derivOtherCostsCapped = min(derivOtherCosts, derivOtherIncome);
    derivUntradedCostsCapped = min(derivUntradedCosts, derivUntradedIncome);
    repoCostsCapped = min(repoCosts, repoIncome);
    lendingCostsCapped = min(lendingCosts, lendingIncome);

    tradedWork = tradedIncome - tradedCostsCapped;
    untradedWork = untradedIncome - untradedCostsCapped;
    if (iis) {
        onceTradedWork = onceTradedIncome - onceTradedCostsCapped;
        derivSecWork = derivSecIncome - derivSecCostsCapped;
        derivOtherWork = derivOtherIncome - derivOtherCostsCapped;
    }

    if (iis && declaration.investmentDeductions.applyP3 != 0) {
        // The whole result of the account is exempt: nothing is left for losses to reduce.
        exemptTraded = tradedWork;
        exemptOnceTraded = onceTradedWork;
        exemptUntraded = untradedWork;
        exemptDerivSec = derivSecWork;
        exemptDerivOther = derivOtherWork;
        exemptDerivUntraded = derivUntradedIncome - derivUntradedCostsCapped;
        exemptRepo = repoIncome - repoCostsCapped;
        exemptLending = lendingIncome - lendingCostsCapped;
        tradedShortInterest = Money{};
        untradedShortInterest = Money{};
        return;
    }

    if (!iis)
        invDeduction = takeFrom(tradedWork, declaration.investmentDeductions.invSecurities);

    // A repo or lending loss may reduce a kind of securities only up to the
    // smaller of its own excess on that kind and the excess over both kinds.
    if (tradedWork > Money{}) {
        repoLossForTraded = positive(min(repoTradedCosts - repoTradedIncome, repoCosts - repoIncome));
        lendingLossForTraded =
            positive(min(lendingTradedCosts - lendingTradedIncome, lendingCosts - lendingIncome));
    }
    if (untradedWork > Money{}) {
        repoLossForUntraded = positive(min(repoUntradedCosts - repoUntradedIncome, repoCosts - repoIncome));
        lendingLossForUntraded =
            positive(min(lendingUntradedCosts - lendingUntradedIncome, lendingCosts - lendingIncome));
    }

    repoLossOnTraded = takeFrom(tradedWork, repoLossForTraded);
    lendingLossOnTraded = takeFrom(tradedWork, lendingLossForTraded);
    tradedShortInterest = takeFrom(tradedWork, tradedShortInterest);

    tradedDeductionsTotal =
        tradedCosts + repoLossOnTraded + lendingLossOnTraded + tradedShortInterest + invDeduction;
    tradedResult = positive(tradedIncome - tradedDeductionsTotal);
    tradedLoss = positive(tradedDeductionsTotal - tradedIncome);

    const PartnershipSheet& partnership = root.investPartnership;
    repoLossOnUntraded = takeFrom(untradedWork, repoLossForUntraded);
    lendingLossOnUntraded = takeFrom(untradedWork, lendingLossForUntraded);
    untradedShortInterest = takeFrom(untradedWork, untradedShortInterest);
    partnershipLossOnUntraded = takeFrom(untradedWork, iis ? partnership.iisExitLoss : partnership.exitLoss);

    derivSecResult = positive(derivSecIncome - derivSecCosts);
    derivSecLoss = positive(derivSecCosts - derivSecIncome);
    derivOtherResult = positive(derivOtherIncome - derivOtherCosts);
    derivOtherLoss = positive(derivOtherCosts - derivOtherIncome);

    const SecuritiesLossDeduction& losses = declaration.securitiesLosses;
    priorSecuritiesLoss = iis ? losses.securitiesLossIis : losses.securitiesLoss;
    priorDerivativesLoss = iis ? losses.derivativesLossIis : losses.derivativesLoss;
    if (tradedResult > Money{})
        priorLossOnTraded = min(priorSecuritiesLoss, tradedResult);
    if (derivOtherResult > Money{}) {
        priorLossOnDerivOther = min(priorDerivativesLoss, derivOtherResult);
        priorDerivLossUsed = priorLossOnDerivOther;
    }
    if (derivSecResult > Money{}) {
        priorLossOnDerivSec = min(priorDerivativesLoss - priorDerivLossUsed, derivSecResult);
        priorDerivLossUsed += priorLossOnDerivSec;
    }

    // Each loss is spent at most once, in this order across the categories it may reduce.
    if (priorLossOnDerivOther < derivOtherResult)
        derivSecLossOnDerivOther = min(derivOtherResult - priorLossOnDerivOther, derivSecLoss);
    if (priorLossOnTraded < tradedResult)
        derivSecLossOnTraded = min(tradedResult - priorLossOnTraded, derivSecLoss - derivSecLossOnDerivOther);
    if (priorLossOnDerivSec < derivSecResult)
        derivOtherLossOnDerivSec = min(derivSecResult - priorLossOnDerivSec, derivOtherLoss);
    if (onceTradedCosts < onceTradedIncome)
        tradedLossOnOnceTraded = min(onceTradedIncome - onceTradedCosts, tradedLoss);
    if (derivSecResult > priorLossOnDerivSec + derivOtherLossOnDerivSec)
        tradedLossOnDerivSec = min(derivSecResult - priorLossOnDerivSec - derivOtherLossOnDerivSec,
                                   tradedLoss - tradedLossOnOnceTraded);
}

} // namespace kv
