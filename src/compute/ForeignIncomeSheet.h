#pragma once
// Incomes from sources abroad (Appendix 2), one sheet per rate: one line per
// income with the Russian tax on it and the foreign tax credited against that
// tax, and the controlled-foreign-company cases.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Declaration;

// One foreign income as Appendix 2 shows it ("РасчДохНалИно").
struct ForeignIncomeLine {
    Cp1251Text countryCode;
    Cp1251Text currencyName;
    Cp1251Text currencyCode;
    Cp1251Text sourceName;
    DateValue incomeDate;
    std::string incomeRateText;       // roubles per unit on the income date, four decimals
    std::string incomeInCurrencyText; // income in the currency, two decimals
    Money incomeInRubles;
    std::int32_t incomeCode = 0;
    Money profDeduction; // min(income in roubles, deduction)
    std::int32_t deductionCode = 0;
    DateValue taxPaymentDate;
    std::string taxRateText;
    std::string taxInCurrencyText;
    Money taxInRubles;
    Money taxRf; // Russian tax on the income, in kopecks
    Money cfcTaxWithheldInRussia;
    Money credit; // foreign tax credited
    Cp1251Text kindCode;
    Cp1251Text cfcNumber; // "AA-12345"
    std::uint8_t cfcProfitMethod = 0;
    Money exempt60;
    Money exempt60_1;
    Money exemptCfcDividends;

    friend bool operator==(const ForeignIncomeLine&, const ForeignIncomeLine&) = default;
};

// Profit of one controlled foreign company not yet used to exempt its dividends.
struct CfcProfit {
    Cp1251Text cfcNumber;
    Money remainingProfit;

    friend bool operator==(const CfcProfit&, const CfcProfit&) = default;
};

class ForeignIncomeSheet {
public:
    Money otherIncome;    // other than CFC profit (1000) and dividends (1010, 1012)
    Money cfcProfit;      // code 1000
    Money dividendIncome; // codes 1010, 1012
    Money otherTaxCredit;
    Money cfcTaxCredit;
    Money dividendTaxCredit;
    Money incomeNotCoveredByCredit;
    Money exempt60;           // code 1001
    Money exempt60_1;         // code 1002
    Money exemptCfcDividends; // code 1012 up to the CFC's profit
    std::vector<ForeignIncomeLine> lines;
    std::vector<CfcProfit> cfcProfits;
    std::int32_t cfcCount = 0;
    std::int32_t lineCount = 0;

    void clearFigures();
    // rate: 13, 9 or 35.
    void compute(const Declaration& doc, int rate);

    friend bool operator==(const ForeignIncomeSheet&, const ForeignIncomeSheet&) = default;
};

// Appendix 2 income-kind code ("КодВидДох") of a foreign income code.
Cp1251Text foreignKindCode(std::int32_t incomeCode);
// "AA-12345" from the number as entered: two characters, "-", then five from the fourth on.
Cp1251Text normaliseCfcNumber(const Cp1251Text& entered);

} // namespace kv
