#include "compute/Appendix6.h"

#include "compute/Arithmetic.h"
#include "model/Declaration.h"

namespace kv {

namespace {

// Tax Code art. 220: one limit for the sale of housing (whole or shares) across
// the whole return, 250 000 for other real estate, other property and shares.
constexpr std::int64_t kHousingLimit = 1000000;
constexpr std::int64_t kOtherLimit = 250000;

// One income line of a sale: income A, claimed deduction D, with the housing
// limit still available. Russian and foreign lines differ in two pairs, where
// the foreign income, unlike the agent's line, is not capped beforehand.
// Documented purchase costs (903) never count beyond the income of their own sale,
// Russian or foreign: a loss on a sale must not reduce the tax on other income.
struct SaleLine {
    std::int32_t incomeCode;
    std::int32_t deductionCode;
    Money income;
    Money deduction;
    bool foreign;
};

void addLine(Appendix6Sheet& s, const SaleLine& l, Money& housingLimit) {
    const Money a = l.income;
    const Money d = l.deduction;
    const std::int32_t ic = l.incomeCode;
    const std::int32_t dc = l.deductionCode;
    if (ic == 1510 && dc == 903) {
        s.housingCosts += min(a, d);
    } else if (ic == 1510 && dc == 901) {
        s.housingSaleDeduction += min(a, housingLimit);
        housingLimit = max(housingLimit - a, Money{});
    } else if (ic == 1511 && dc == 903) {
        s.housingShareCosts += min(a, d);
    } else if (ic == 1511 && dc == 904) {
        const Money claimed = l.foreign ? min(a, d) : d;
        s.housingShareDeduction += min(claimed, housingLimit);
        housingLimit = max(housingLimit - claimed, Money{});
    } else if (ic == 1512 && dc == 903) {
        s.otherRealCosts += min(a, d);
    } else if (ic == 1512 && dc == 902) {
        s.otherRealDeduction += l.foreign ? min(a, d) : d;
    } else if ((ic == 1520 || ic == 1521) && dc == 906) {
        s.otherPropertyDeduction += d;
    } else if ((ic == 1520 || ic == 1521) && dc == 903) {
        s.otherPropertyCosts += min(a, d);
    } else if (ic == 4900 && dc == 908) {
        s.seizureIncome += d;
    } else if (ic == 4910 && dc == 910) {
        s.liquidationIncome += d;
    } else if (ic == 4920 && dc == 912) {
        s.cfcRightsIncome += d;
    } else if ((ic == 1540 && dc == 315) || (ic == 1542 && dc == 316)) {
        s.shareSaleCosts += d;
    } else if ((ic == 1540 && dc == 905) || (ic == 1542 && dc == 907)) {
        s.shareSaleDeduction += d;
    } else if (ic == 1560 && dc == 317) {
        s.rightsAssignmentCosts += d;
    } else if (ic == 1570 && dc == 318) {
        s.capitalReductionCosts += d;
    } else if (ic == 1550 && dc == 314) {
        s.claimRightsCosts += d;
    }
}

} // namespace

void Appendix6Sheet::clearFigures() {
    *this = Appendix6Sheet{};
}

void Appendix6Sheet::compute(const Declaration& doc) {
    clearFigures();
    const bool foreign = doc.has(IncomeKind::Foreign);
    if (doc.kind() != ReturnKind::Resident || (doc.incomes13.count() == 0 && !foreign))
        return;

    Money housingLimit = Money::fromRoubles(kHousingLimit);
    for (const ThirteenPercentSource& src : doc.incomes13)
        for (const ThirteenIncomeItem& item : src.items)
            addLine(*this, {item.incomeCode, item.deductionCode, item.amount, item.deductionAmount, false},
                    housingLimit);
    if (foreign)
        for (const ForeignIncome& in : doc.foreignIncomes)
            addLine(*this, {in.incomeCode, in.deductionCode, in.incomeInRubles, in.deductionAmount, true},
                    housingLimit);

    const Money otherLimit = Money::fromRoubles(kOtherLimit);
    otherRealDeduction = min(otherRealDeduction, otherLimit);
    otherPropertyDeduction = min(otherPropertyDeduction, otherLimit);
    shareSaleDeduction = min(shareSaleDeduction, otherLimit);
    shareSaleCosts += shareSaleDeduction;

    totalPropertySale = housingSaleDeduction + housingCosts + housingShareCosts + housingShareDeduction +
                        otherRealDeduction + otherRealCosts + otherPropertyDeduction + otherPropertyCosts +
                        seizureIncome + liquidationIncome + cfcRightsIncome + shareSaleCosts +
                        rightsAssignmentCosts + capitalReductionCosts + claimRightsCosts;
}

} // namespace kv
