#include "compute/ForeignIncomeSheet.h"

#include "compute/Arithmetic.h"
#include "model/Declaration.h"

#include <algorithm>

namespace kv {

namespace {

constexpr std::int32_t kCfcProfit = 1000;
constexpr std::int32_t kExempt60 = 1001;
constexpr std::int32_t kExempt60_1 = 1002;
constexpr std::int32_t kDividends = 1010;
constexpr std::int32_t kCfcDividends = 1012;
constexpr std::int32_t kExemptMaterialBenefit = 2620;

// The dictionary marks dividends with rate + 1 and CFC profit with rate + 86 (99 at 13).
bool belongsToRate(std::int32_t incomeRate, int rate) {
    return incomeRate == rate || incomeRate == rate + 1 || incomeRate == rate + 86;
}

std::string rateText(Money rate, std::int32_t units) {
    if (units == 0)
        return {};
    // The rate of one unit to four decimals, half up on the exact quotient.
    const std::optional<Money> perUnit = productHalfUp(rate, 1, units, 1);
    return perUnit ? moneyText(*perUnit, '.') : std::string();
}

CfcProfit* findCfc(std::vector<CfcProfit>& cfcs, const Cp1251Text& number) {
    auto it =
        std::find_if(cfcs.begin(), cfcs.end(), [&](const CfcProfit& k) { return k.cfcNumber == number; });
    return it == cfcs.end() ? nullptr : &*it;
}

} // namespace

Cp1251Text foreignKindCode(std::int32_t c) {
    switch (c) {
    case 1000:
        return Cp1251Text{"21"};
    case 1010:
    case 1012:
        return Cp1251Text{"22"};
    case 1011:
    case 1110:
        return Cp1251Text{"23"};
    case 4924:
        return Cp1251Text{"24"};
    case 1510:
    case 1511:
    case 1512:
    case 1520:
    case 1521:
    case 4910:
        return Cp1251Text{"25"};
    case 4926:
        return Cp1251Text{"26"};
    case 2010:
        return Cp1251Text{"27"};
    case 2000:
    case 2002:
    case 2003:
        return Cp1251Text{"28"};
    case 2001:
        return Cp1251Text{"29"};
    case 4931:
        return Cp1251Text{"31"};
    default:
        return c >= 2201 && c <= 2210 ? Cp1251Text{"30"} : Cp1251Text{"32"};
    }
}

Cp1251Text normaliseCfcNumber(const Cp1251Text& entered) {
    Cp1251Text result = entered.substr(0, 2);
    result += "-";
    if (entered.size() > 3)
        result += entered.substr(3, 5);
    return result;
}

void ForeignIncomeSheet::clearFigures() {
    *this = ForeignIncomeSheet{};
}

void ForeignIncomeSheet::compute(const Declaration& doc, int rate) {
    clearFigures();
    for (const ForeignIncome& in : doc.foreignIncomes) {
        if (!belongsToRate(in.incomeRate, rate) || in.incomeCode == kExemptMaterialBenefit)
            continue;
        ForeignIncomeLine line;
        line.countryCode = in.countryCode;
        line.currencyName = in.currencyName;
        line.currencyCode = in.currencyCode;
        line.sourceName = in.sourceName;
        line.incomeDate = in.incomeDate;
        line.incomeRateText = rateText(in.incomeDateRate, in.incomeDateUnits);
        line.incomeInCurrencyText = amountText(14, in.incomeInCurrency);
        line.incomeInRubles = in.incomeInRubles;
        line.incomeCode = in.incomeCode;
        line.profDeduction = min(in.incomeInRubles, in.deductionAmount);
        line.deductionCode = in.deductionCode;
        line.taxPaymentDate = in.taxPaymentDate;
        line.taxRateText = rateText(in.taxDateRate, in.taxDateUnits);
        line.taxInCurrencyText = amountText(14, in.taxInCurrency);
        line.taxInRubles = in.taxInRubles;
        line.cfcTaxWithheldInRussia = in.cfcTaxWithheldInRussia;
        line.kindCode = foreignKindCode(in.incomeCode);
        line.cfcNumber = normaliseCfcNumber(in.cfcNumber);
        line.cfcProfitMethod = static_cast<std::uint8_t>(in.cfcProfitMethod);

        if (in.incomeCode == kCfcProfit) {
            if (CfcProfit* cfc = findCfc(cfcProfits, line.cfcNumber))
                cfc->remainingProfit += in.incomeInRubles;
            else
                cfcProfits.push_back(CfcProfit{line.cfcNumber, in.incomeInRubles});
        }

        line.taxRf = taxInKopecks(max(in.incomeInRubles - line.profDeduction, Money{}), rate);
        if (in.incomeCode == kExempt60 || in.incomeCode == kExempt60_1) {
            line.taxRf = Money{};
            if (in.incomeCode == kExempt60) {
                line.exempt60 = in.incomeInRubles;
                exempt60 += line.exempt60;
            } else {
                line.exempt60_1 = in.incomeInRubles;
                exempt60_1 += line.exempt60_1;
            }
        }
        line.credit = min(line.taxRf, in.taxInRubles + in.cfcTaxWithheldInRussia);

        if (in.incomeCode == kCfcProfit) {
            cfcProfit += in.incomeInRubles;
            cfcTaxCredit += line.credit;
        } else if (in.incomeCode == kDividends || in.incomeCode == kCfcDividends) {
            dividendIncome += in.incomeInRubles;
            // Dividends of a CFC are credited once their exempt part is known, below.
            if (in.incomeCode == kDividends)
                dividendTaxCredit += line.credit;
        } else {
            otherIncome += in.incomeInRubles;
            otherTaxCredit += line.credit;
        }
        lines.push_back(std::move(line));
    }

    // Dividends of a controlled foreign company are exempt up to the profit of that
    // company already taxed in the return, in the order the dividends were entered.
    for (ForeignIncomeLine& line : lines) {
        if (line.incomeCode != kCfcDividends)
            continue;
        if (CfcProfit* cfc = findCfc(cfcProfits, line.cfcNumber)) {
            line.exemptCfcDividends = min(cfc->remainingProfit, line.incomeInRubles);
            cfc->remainingProfit -= line.exemptCfcDividends;
            exemptCfcDividends += line.exemptCfcDividends;
            line.taxRf = taxInKopecks(line.incomeInRubles - line.exemptCfcDividends, rate);
        }
        line.credit = min(line.taxRf, line.taxInRubles);
        dividendTaxCredit += line.credit;
    }

    // The part of the other incomes whose Russian tax the foreign tax does not cover.
    for (const ForeignIncomeLine& line : lines) {
        const std::int32_t c = line.incomeCode;
        if (c == kCfcProfit || c == kDividends || c == kCfcDividends || c == kExempt60 || c == kExempt60_1)
            continue;
        if (line.taxRf > line.taxInRubles)
            incomeNotCoveredByCredit +=
                max(line.incomeInRubles - incomeForTax(line.taxInRubles, rate), Money{});
        else
            incomeNotCoveredByCredit += line.profDeduction;
    }

    lineCount = static_cast<std::int32_t>(lines.size());
    cfcCount = static_cast<std::int32_t>(cfcProfits.size());
}

} // namespace kv
