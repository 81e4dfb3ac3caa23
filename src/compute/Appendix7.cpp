#include "compute/Appendix7.h"

#include "compute/Arithmetic.h"
#include "compute/ReturnComputation.h"
#include "model/Declaration.h"

#include <cstdint>
#include <optional>

namespace kv {

namespace {

// The limit on purchase costs depends on when the right to the dwelling arose:
// before 2008 it was one million roubles, from 2008 two million.
constexpr int kLimitRaiseYear = 2008;
const Money kLimitBefore2008 = Money::fromRoubles(1'000'000);
const Money kLimit = Money::fromRoubles(2'000'000);
// Objects acquired before 2014 keep the old rules (the deduction is tied to the
// object, not to the person); the export marks them.
constexpr int kNewRulesYear = 2014;

int relevantYear(const HousingObject& object) {
    return (object.byInvestmentContract != 0 ? object.transferActDate : object.rightRegistrationDate).year();
}

Money positive(Money m) {
    return max(Money{}, m);
}

} // namespace

void Appendix7Sheet::clearFigures() {
    *this = Appendix7Sheet();
}

void Appendix7Sheet::compute(Declaration& declaration, const ReturnComputation& root) {
    clearFigures();
    auto& objects = declaration.propertyDeductions.objects;
    // Figures of an earlier run must not survive into a return that no longer claims the deduction.
    for (auto& object : objects) {
        object.yearDeduction = Money{};
        object.before2014 = 0;
    }
    if (declaration.kind() != ReturnKind::Resident || declaration.propertyDeductions.granted == 0 ||
        objects.empty())
        return;

    for (const auto& object : objects) {
        purchaseCosts += object.objectCost;
        interestCosts += object.mortgageInterest;
    }

    // One object sets the share and the limit; with several objects bought at full
    // cost the taxpayer's whole limit applies.
    HousingObject* deciding = nullptr;
    const std::int32_t count = objects.count();
    if (count == 1)
        deciding = &objects.get(0);
    else if (count == 2 && !(objects.get(0).objectCost > Money{} && objects.get(1).objectCost > Money{}))
        deciding = objects.get(0).objectCost > Money{} ? &objects.get(0) : &objects.get(1);

    Money limit = kLimit;
    ownershipShare = 1;
    std::uint32_t shareNumerator = 1;
    std::uint32_t shareDenominator = 1;
    if (deciding != nullptr) {
        shareNumerator = static_cast<std::uint32_t>(deciding->shareNumerator);
        shareDenominator = static_cast<std::uint32_t>(deciding->shareDenominator);
        if (shareDenominator == 0)
            throw ComputationError("housing deduction: share with a denominator of 0");
        ownershipShare =
            static_cast<long double>(shareNumerator) / static_cast<long double>(shareDenominator);
        const int year = relevantYear(*deciding);
        if (year < kLimitRaiseYear)
            limit = kLimitBefore2008;
        if (year < kNewRulesYear)
            deciding->before2014 = -1;
    }

    // limit × share is compared and taken on the integers: no binary fraction decides
    // which side of a half kopeck the costs land on.
    if (static_cast<__int128>(purchaseCosts.raw) * shareDenominator >
        static_cast<__int128>(limit.raw) * shareNumerator) {
        const std::optional<Money> limitByShare = productHalfUp(limit, shareNumerator, shareDenominator, 1);
        if (!limitByShare)
            throw ComputationError("housing deduction: limit by share out of range");
        purchaseCosts = *limitByShare;
    }
    purchaseCosts = roundToKopecks(purchaseCosts);

    Money remainder = purchaseCosts;
    for (auto& object : objects) {
        object.yearDeduction = min(object.objectCost, remainder);
        remainder = positive(remainder - object.objectCost);
    }

    for (const auto& source : declaration.incomes13) {
        for (const auto& d : source.agentDeductions) {
            if (d.deductionCode == 311)
                purchaseByAgent += d.amount;
            else if (d.deductionCode == 312)
                interestByAgent += d.amount;
        }
    }

    // Everything else already taken off the 13% income comes first; the housing
    // deduction gets only what remains.
    const auto& social = root.stdSocialDeductions;
    const auto& foreign = root.foreign13;
    const Money applied = root.business.professionalDeductions + root.profDeductRussia.total +
                          root.profDeductForeign.total + root.propertySale.totalPropertySale +
                          root.exemptIncome.exempt13 + social.stdSocialInReturn + social.investmentDeduction +
                          social.socialByAgents + social.standardByAgents +
                          root.securitiesSummary.investmentDeductionsTotal +
                          root.securitiesSummary.expensesTotal + purchaseByAgent + interestByAgent;
    const Money ownIncome =
        root.russian13.totalIncome + root.business.totalIncome + social.investmentRestored;
    base13WithoutDeduction =
        positive(ownIncome + foreign.otherIncome - applied - foreign.exempt60 - foreign.exempt60_1);
    // Foreign income whose Russian tax the foreign tax already covers cannot absorb the deduction.
    baseAvailable =
        min(positive(ownIncome + foreign.incomeNotCoveredByCredit - applied), base13WithoutDeduction);

    purchaseCreditedBefore = declaration.propertyDeductions.priorYearsDeduction;
    interestCreditedBefore = declaration.propertyDeductions.priorYearsInterestDeduction;

    purchaseThisReturn = positive(purchaseCosts - purchaseCreditedBefore - purchaseByAgent);
    interestThisReturn = positive(interestCosts - interestCreditedBefore - interestByAgent);
    // The purchase is served before the interest.
    purchaseThisReturn = min(purchaseThisReturn, baseAvailable);
    if (baseAvailable < purchaseThisReturn + interestThisReturn)
        interestThisReturn = baseAvailable - purchaseThisReturn;

    purchaseCarriedForward =
        positive(purchaseCosts - purchaseCreditedBefore - purchaseByAgent - purchaseThisReturn);
    interestCarriedForward =
        positive(interestCosts - interestCreditedBefore - interestByAgent - interestThisReturn);
}

} // namespace kv
