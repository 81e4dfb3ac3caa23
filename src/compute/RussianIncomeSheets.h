#pragma once
// Incomes that Russian tax agents paid, one sheet per rate (Appendix 1 of the
// return). Walking the sources, the sheets also give every source the income-kind
// code Appendix 1 shows for it and collect the sales of real estate whose
// cadastral value must be declared.
#include "core/Money.h"
#include "core/Text.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class Declaration;
class ThirteenPercentSource;
class ReturnComputation;

// One sale of real estate ("ДохПродОНИ").
struct RealEstateSale {
    Cp1251Text cadastralNumber; // "НомКадОтчуждОНИ"
    Money cadastralValue;       // "КадСтоимГодРег"
    Money contractPrice;        // "ДохПродЦенаДог"
    Money cadastralValue70;     // "КадСтоимКоэф": 70% of the cadastral value, to kopecks
    Money saleIncome;           // "ДохПродНалОбл": the income declared for the sale

    friend bool operator==(const RealEstateSale&, const RealEstateSale&) = default;
};

class RussianIncome9Sheet {
public:
    Money totalIncome;
    Money taxWithheld;

    void clearFigures();
    void compute(Declaration& doc, ReturnComputation& root);

    friend bool operator==(const RussianIncome9Sheet&, const RussianIncome9Sheet&) = default;
};

class RussianIncome13Sheet {
public:
    Money totalIncome; // 13% incomes other than dividends
    Money taxWithheld;
    Money dividendTaxWithheld;
    Money dividendIncome;
    Money fixedAdvancesPaid;
    std::vector<RealEstateSale> realEstateSales;
    std::int32_t realEstateSaleCount = 0;

    void clearFigures();
    void compute(Declaration& doc, ReturnComputation& root);

    friend bool operator==(const RussianIncome13Sheet&, const RussianIncome13Sheet&) = default;
};

class RussianIncome15Sheet {
public:
    Money totalIncome;
    Money taxWithheld;

    void clearFigures();
    void compute(Declaration& doc, ReturnComputation& root);

    friend bool operator==(const RussianIncome15Sheet&, const RussianIncome15Sheet&) = default;
};

class RussianIncome30Sheet {
public:
    Money totalIncome;
    Money taxWithheld;
    std::vector<RealEstateSale> realEstateSales;
    std::int32_t realEstateSaleCount = 0;

    void clearFigures();
    void compute(Declaration& doc, ReturnComputation& root);

    friend bool operator==(const RussianIncome30Sheet&, const RussianIncome30Sheet&) = default;
};

class RussianIncome35Sheet {
public:
    Money totalIncome;
    Money taxWithheld;
    // Tax withheld from exempt material benefit (income code 2620); those sources
    // stay out of the two totals.
    Money materialBenefitWithheld;

    void clearFigures();
    void compute(Declaration& doc, ReturnComputation& root);

    friend bool operator==(const RussianIncome35Sheet&, const RussianIncome35Sheet&) = default;
};

// Appendix 1 income-kind code of one income line, before the source's lines are merged.
// The view is of a literal and stays valid.
std::string_view incomeKindOfItem(std::int32_t incomeCode, bool hasCadastralData, Money amount,
                                  Money contractPrice);
// Merges a line's code into the source's code: employment wins, equal codes stay,
// anything else mixed gives "10".
std::string_view mergeIncomeKind(std::string_view current, std::string_view candidate);

} // namespace kv
