#pragma once
// Incomes that Russian tax agents paid, one sheet per rate (Appendix 1 of the
// return). Walking the sources, the sheets also give every source the income-kind
// code Appendix 1 shows for it and collect the sales of real estate whose
// cadastral value must be declared.
#include "core/Money.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class mTDeclaration;
class mTThirteenPercent;
class kTSvodSum;

// One sale of real estate ("ДохПродОНИ").
struct mbPrilA {
    std::string cadastralNumber; // "НомКадОтчуждОНИ"
    Money cadastralValue;        // "КадСтоимГодРег"
    Money contractPrice;         // "ДохПродЦенаДог"
    Money cadastralValue70;      // "КадСтоимКоэф": 70% of the cadastral value, to kopecks
    Money saleIncome;            // "ДохПродНалОбл": the income declared for the sale

    friend bool operator==(const mbPrilA&, const mbPrilA&) = default;
};

class kTSvodSumPrilA9 {
public:
    Money totalIncome;
    Money taxWithheld;

    void Reset();
    void Compute(mTDeclaration& doc, kTSvodSum& root);

    friend bool operator==(const kTSvodSumPrilA9&, const kTSvodSumPrilA9&) = default;
};

class kTSvodSumPrilA13 {
public:
    Money totalIncome; // 13% incomes other than dividends
    Money taxWithheld;
    Money dividendTaxWithheld;
    Money dividendIncome;
    Money fixedAdvancesPaid;
    std::vector<mbPrilA> realEstateSales;
    std::int32_t realEstateSaleCount = 0;

    void Reset();
    void Compute(mTDeclaration& doc, kTSvodSum& root);

    friend bool operator==(const kTSvodSumPrilA13&, const kTSvodSumPrilA13&) = default;
};

class kTSvodSumPrilA15 {
public:
    Money totalIncome;
    Money taxWithheld;

    void Reset();
    void Compute(mTDeclaration& doc, kTSvodSum& root);

    friend bool operator==(const kTSvodSumPrilA15&, const kTSvodSumPrilA15&) = default;
};

class kTSvodSumPrilA30 {
public:
    Money totalIncome;
    Money taxWithheld;
    std::vector<mbPrilA> realEstateSales;
    std::int32_t realEstateSaleCount = 0;

    void Reset();
    void Compute(mTDeclaration& doc, kTSvodSum& root);

    friend bool operator==(const kTSvodSumPrilA30&, const kTSvodSumPrilA30&) = default;
};

class kTSvodSumPrilA35 {
public:
    Money totalIncome;
    Money taxWithheld;
    // Tax withheld from exempt material benefit (income code 2620); those sources
    // stay out of the two totals.
    Money materialBenefitWithheld;

    void Reset();
    void Compute(mTDeclaration& doc, kTSvodSum& root);

    friend bool operator==(const kTSvodSumPrilA35&, const kTSvodSumPrilA35&) = default;
};

// Appendix 1 income-kind code of one income line, before the source's lines are merged.
// The view is of a literal and stays valid.
std::string_view IncomeKindOfItem(std::int32_t incomeCode, bool hasCadastralData, Money amount,
                                  Money contractPrice);
// Merges a line's code into the source's code: employment wins, equal codes stay,
// anything else mixed gives "10".
std::string_view MergeIncomeKind(std::string_view current, std::string_view candidate);

} // namespace kv
