#pragma once
// Incomes received abroad in foreign currency, and kinds of business or
// private-practice activity.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Storage.h"

#include <cstdint>
#include <string>

#include <optional>

namespace kv {

// Roubles for an amount of a currency quoted at `rate` roubles per `units` units,
// rounded to kopecks; 0 without units. The one conversion of foreign amounts: the
// record's setters store it and the foreign-income screen shows it. nullopt when the
// roubles would pass the largest amount money holds (a typed amount and rate may):
// the screen then shows none and the record stores 0 rather than a wrapped figure.
std::optional<Money> rublesAtRate(Money amount, std::int32_t units, Money rate);

class ForeignIncome {
public:
    std::int32_t incomeRate = 0; // rate of the chosen income code
    std::int32_t incomeCode = 0; // 0: none chosen
    Cp1251Text incomeName;
    Cp1251Text sourceName;
    Cp1251Text countryCode;                                // OKSM, 3 digits
    DateValue incomeDate = DateValue::fromDays(43466);     // 01.01.2019
    DateValue taxPaymentDate = DateValue::fromDays(43466); // 01.01.2019
    Cp1251Text currencyCode;
    Money incomeDateRate; // roubles for incomeDateUnits units on incomeDate
    std::int32_t incomeDateUnits = 0;
    Money taxDateRate; // roubles for taxDateUnits units on taxPaymentDate
    std::int32_t taxDateUnits = 0;
    Cp1251Text currencyName;
    Money incomeInCurrency;
    Money incomeInRubles; // derived by setIncomeInCurrency only
    Money taxInCurrency;
    Money taxInRubles; // derived by setTaxInCurrency only
    std::uint8_t autoRate = 0;
    std::int32_t deductionCode = 0; // 0: none
    Money deductionAmount;
    std::int32_t deductionPercent = 0;
    std::int16_t cfcProfitMethod = 0; // 0 not given, 1 by the company's accounts, 2 by Russian rules
    Cp1251Text cfcNumber;
    Money cfcTaxWithheldInRussia;

    // Set the currency amount and derive the roubles at the rate of its date.
    // Call them after the rate and units are set.
    void setIncomeInCurrency(Money amount);
    void setTaxInCurrency(Money amount);

    // The rate, units and currency amount of the income (of the foreign tax) as a person
    // entered them. The roubles are derived again only when one of the three changed,
    // so a record opened and saved keeps the roubles it was filed with.
    void enterIncome(Money rate, std::int32_t units, Money amount);
    void enterTax(Money rate, std::int32_t units, Money amount);

    void saveTo(DocumentStorage& storage, int index) const;
    void loadFrom(DocumentStorage& storage, int index);
    std::int32_t storedSize() const;

    friend bool operator==(const ForeignIncome&, const ForeignIncome&) = default;
};

class BusinessActivity {
public:
    Cp1251Text activityKind; // "1" entrepreneurship ... "9" other activity
    Cp1251Text okvedCode{".."};
    std::uint8_t hasDocumentedExpenses = 1;
    Money incomeAmount;
    // Documented expenses, stored only while hasDocumentedExpenses is set.
    Money totalExpenses;
    Money materialExpenses;
    Money depreciation;
    Money labourExpenses;
    Money otherExpenses;
    // Expenses by norm, stored only while hasDocumentedExpenses is clear.
    Money standardExpenses;

    void resetBusiness() { *this = BusinessActivity(); }

    void saveTo(DocumentStorage& storage, int index) const;
    void loadFrom(DocumentStorage& storage, int index);
    std::int32_t storedSize() const;

    friend bool operator==(const BusinessActivity&, const BusinessActivity&) = default;
};

} // namespace kv
