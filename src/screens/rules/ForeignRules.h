#pragma once
// Rules of the foreign-income screen that do not depend on widgets: the controlled
// foreign company group by income code, the deduction that follows the rouble
// amount, copying and repairing a source, the rate found for a date, and checkData
// with its messages.
#include "checks/CheckDialog.h"
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"
#include "model/ForeignBusiness.h"
#include "reference/Directories.h"
#include "reference/IncomeDict.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

class Declaration;

// "Доходы в валюте", Windows-1251: the title of the screen's checks.
const Cp1251Text& foreignIncomeTitle();
// "Источник дохода", Windows-1251: the title of the source dialog's check.
const Cp1251Text& foreignSourceTitle();

inline constexpr std::int32_t kCfcProfitCode = 1000;

// Which fields of "Информация о контролируемой иностранной компании" an income code
// opens: 1000 all of them; 1001, 1002 and 1012 only the number; any other none.
struct CfcGroupState {
    bool number = false;
    bool profitMethod = false;
    bool taxWithheld = false;

    friend bool operator==(const CfcGroupState&, const CfcGroupState&) = default;
};
CfcGroupState cfcGroupFor(std::int32_t incomeCode);

// The deduction after the rouble amount changed: a percentage of the roubles, the
// roubles themselves for an equivalent deduction, otherwise the amount typed (an
// expense the person entered stays); then MaxSum.
Money deductionFollowingRubles(const DeductionChoice& deduction, Money rubles, Money typed);

// "Копировать источник выплат": a new source with the payer, the income code with
// its rate and name (the computation files a foreign income by its rate), the
// currency and the CFC number and method; dates, rates and amounts start afresh.
ForeignIncome copiedSource(const ForeignIncome& source);

// A source stored with an income code but no rate (written by an older version or
// by a copy that lost it) takes its rate and name from the dictionary, so that the
// computation does not drop it. Returns whether anything was filled.
bool repairIncomeRate(ForeignIncome& source, const IncomeDict& dict);

// A rate found by the lookup, read as the screen's fields read it.
struct FoundRate {
    Cp1251Text rateText;  // Windows-1251, comma decimals, as in the directory
    Cp1251Text unitsText; // as in the directory
    DateValue date;       // the day the rate was published for
    bool exactDay = true; // published for the day asked for

    friend bool operator==(const FoundRate&, const FoundRate&) = default;
};
std::optional<FoundRate> findRate(const CurrencyRates* rates, const Cp1251Text& currencyCode, DateValue date);
// "курс на 28.12.2018" when the rate is of an earlier day, "" for the day itself
// (Windows-1251).
Cp1251Text rateDateNote(const std::optional<FoundRate>& rate);

// checkData of the screen: the sources in list order; the first fault shown ends the
// check, "Исправить" with the 1-based position of the source, any other answer with 0.
std::uint16_t checkForeignIncomes(const Declaration& declaration, CheckDialog& dialog);

// The source dialog's check: a source needs its country. True when the dialog may
// close; false when the person chose "Исправить".
bool checkForeignSourceCountry(const Cp1251Text& countryCode, CheckDialog& dialog);

} // namespace kv
