#include "compute/RussianIncomeSheets.h"

#include "compute/Arithmetic.h"
#include "model/Declaration.h"
#include "model/IncomeCodes.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

constexpr std::int32_t kExemptMaterialBenefit = 2620;

// Views of literals, so classifying a line copies no text.
constexpr std::string_view kEmployment = "07";
constexpr std::string_view kNotFullyWithheld = "08";
constexpr std::string_view kDividends = "09";
constexpr std::string_view kOther = "10";
constexpr std::string_view kPartnership = "04";

// Through a temporary: assigning a view in place draws GCC 12's false -Wrestrict at -O3.
void setKind(Cp1251Text& kind, std::string_view code) {
    kind = Cp1251Text::fromBytes(code);
}

bool isRealEstateSale(std::int32_t c) {
    return c == 1510 || c == 1511 || c == 1512;
}

RealEstateSale realEstateRecord(const ThirteenIncomeItem& item) {
    RealEstateSale r;
    r.cadastralNumber = item.cadastralNumber;
    r.cadastralValue = item.cadastralValue;
    r.contractPrice = item.contractPrice;
    r.cadastralValue70 = scaleToKopecks(item.cadastralValue, 7, 10);
    r.saleIncome = item.amount;
    return r;
}

// Walks one 13% source taxed at ratePercent: gives it its income-kind code and its
// taxable income and tax when it pays employment income, appends its real-estate
// sales, and returns the sum of its line amounts.
Money walkThirteenSource(ThirteenPercentSource& src, int ratePercent, bool withAgentDeductions,
                         std::vector<RealEstateSale>& sales) {
    src.taxableIncome = Money{};
    src.computedTax = Money{};
    Money amounts;
    Money deductions;
    std::string_view kind;
    for (const ThirteenIncomeItem& item : src.items) {
        amounts += item.amount;
        deductions += item.deductionAmount;
        kind = mergeIncomeKind(kind, incomeKindOfItem(item.incomeCode, item.hasCadastralData != 0,
                                                      item.amount, item.contractPrice));
        if (isRealEstateSale(item.incomeCode) && item.hasCadastralData != 0)
            sales.push_back(realEstateRecord(item));
    }
    setKind(src.incomeKind, kind);
    if (kind == kEmployment) {
        Money taxable = amounts - deductions;
        if (withAgentDeductions)
            for (const AgentDeductionItem& d : src.agentDeductions)
                taxable -= d.amount;
        src.taxableIncome = taxable;
        src.computedTax = applyRateExact(taxable, ratePercent);
        // A shortfall within one rouble is rounding of the agent's figures, not unpaid tax.
        if (src.taxWithheld + Money::fromRoubles(1) < src.computedTax)
            setKind(src.incomeKind, kNotFullyWithheld);
    }
    return amounts;
}

} // namespace

std::string_view incomeKindOfItem(std::int32_t c, bool hasCadastralData, Money amount, Money contractPrice) {
    const bool atCadastral = hasCadastralData && amount != contractPrice;
    switch (c) {
    case 1400:
    case 2400:
        return "05";
    case 1510:
    case 1511:
        return atCadastral ? "02" : "01";
    case 1512:
        return atCadastral ? "12" : "11";
    case 1520:
        return "03";
    case 1521:
        return "13";
    case 2000:
    case 2010:
        return kEmployment;
    case 2210:
        return "14";
    case 2220:
    case 2720:
    case 2790:
        return "06";
    case 3010:
        return "15";
    case 3011:
        return "16";
    case 3012:
        return "17";
    default:
        return isSecuritiesIncomeCode(c) ? kPartnership : kOther;
    }
}

std::string_view mergeIncomeKind(std::string_view current, std::string_view candidate) {
    if (candidate == kEmployment)
        return kEmployment;
    if (current.empty() || current == candidate)
        return candidate;
    if (current == kEmployment)
        return kEmployment;
    return kOther;
}

// --- 9% ------------------------------------------------------------------------

void RussianIncome9Sheet::clearFigures() {
    *this = RussianIncome9Sheet{};
}

void RussianIncome9Sheet::compute(Declaration& doc, ReturnComputation&) {
    clearFigures();
    if (doc.kind() != ReturnKind::Resident)
        return;
    for (ThirtyPercentSource& src : doc.incomes9) {
        setKind(src.incomeKind, kOther);
        totalIncome += src.totalIncome;
        taxWithheld += src.taxWithheld;
    }
}

// --- 13% -----------------------------------------------------------------------

void RussianIncome13Sheet::clearFigures() {
    *this = RussianIncome13Sheet{};
}

void RussianIncome13Sheet::compute(Declaration& doc, ReturnComputation&) {
    clearFigures();
    fixedAdvancesPaid = doc.foreignerFixedAdvance;
    if (doc.kind() == ReturnKind::Resident) {
        for (ThirteenPercentSource& src : doc.incomes13) {
            totalIncome += walkThirteenSource(src, 13, true, realEstateSales);
            taxWithheld += src.taxWithheld;
        }
        for (ThirtyPercentSource& src : doc.incomes30) {
            setKind(src.incomeKind, kDividends);
            dividendIncome += src.taxableAmount;
            dividendTaxWithheld += src.taxWithheld;
        }
        for (InvestmentPartnership& src : doc.investPartnerships) {
            setKind(src.incomeKind, kPartnership);
            for (const PartnershipIncomeItem& item : src.items)
                totalIncome += item.incomeAmount;
            taxWithheld += src.taxWithheld;
        }
    } else if (doc.kind() == ReturnKind::NonResident) {
        // A non-resident's income at 13% is employment income whatever its lines' codes.
        for (ThirteenPercentSource& src : doc.incomes13NonResident) {
            Money amounts;
            Money deductions;
            for (const ThirteenIncomeItem& item : src.items) {
                amounts += item.amount;
                deductions += item.deductionAmount;
            }
            src.taxableIncome = amounts - deductions;
            src.computedTax = applyRateExact(src.taxableIncome, 13);
            setKind(src.incomeKind, src.taxWithheld + Money::fromRoubles(1) < src.computedTax
                                        ? kNotFullyWithheld
                                        : kEmployment);
            totalIncome += amounts;
            taxWithheld += src.taxWithheld;
        }
    }
    realEstateSaleCount = static_cast<std::int32_t>(realEstateSales.size());
}

// --- 15% -----------------------------------------------------------------------

void RussianIncome15Sheet::clearFigures() {
    *this = RussianIncome15Sheet{};
}

void RussianIncome15Sheet::compute(Declaration& doc, ReturnComputation&) {
    clearFigures();
    if (doc.kind() != ReturnKind::NonResident)
        return;
    for (ThirtyPercentSource& src : doc.incomes30) {
        setKind(src.incomeKind, kDividends);
        totalIncome += src.taxableAmount;
        taxWithheld += src.taxWithheld;
    }
}

// --- 30% -----------------------------------------------------------------------

void RussianIncome30Sheet::clearFigures() {
    *this = RussianIncome30Sheet{};
}

void RussianIncome30Sheet::compute(Declaration& doc, ReturnComputation&) {
    clearFigures();
    if (doc.kind() != ReturnKind::NonResident)
        return;
    // A non-resident's sources of the resident list are taxed at 30%; agents grant
    // non-residents no deductions.
    for (ThirteenPercentSource& src : doc.incomes13) {
        totalIncome += walkThirteenSource(src, 30, false, realEstateSales);
        taxWithheld += src.taxWithheld;
    }
    for (InvestmentPartnership& src : doc.investPartnerships) {
        setKind(src.incomeKind, kPartnership);
        for (const PartnershipIncomeItem& item : src.items)
            totalIncome += item.incomeAmount;
        taxWithheld += src.taxWithheld;
    }
    realEstateSaleCount = static_cast<std::int32_t>(realEstateSales.size());
}

// --- 35% -----------------------------------------------------------------------

void RussianIncome35Sheet::clearFigures() {
    *this = RussianIncome35Sheet{};
}

void RussianIncome35Sheet::compute(Declaration& doc, ReturnComputation&) {
    clearFigures();
    if (doc.kind() != ReturnKind::Resident)
        return;
    for (ThirtyFivePercentSource& src : doc.incomes35) {
        if (src.incomeCode == kExemptMaterialBenefit) {
            materialBenefitWithheld += src.taxWithheld;
            continue;
        }
        setKind(src.incomeKind, kOther);
        totalIncome += src.totalIncome;
        taxWithheld += src.taxWithheld;
    }
}

} // namespace kv
