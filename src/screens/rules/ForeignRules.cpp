#include "screens/rules/ForeignRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

const std::string& foreignIncomeTitle() {
    static const std::string title = utf8ToCp1251("Доходы в валюте");
    return title;
}

const std::string& foreignSourceTitle() {
    static const std::string title = utf8ToCp1251("Источник дохода");
    return title;
}

CfcGroupState cfcGroupFor(std::int32_t incomeCode) {
    switch (incomeCode) {
    case kCfcProfitCode:
        return {true, true, true};
    case 1001:
    case 1002:
    case 1012:
        return {true, false, false};
    default:
        return {};
    }
}

Money deductionFollowingRubles(const DeductionChoice& deduction, Money rubles, Money typed) {
    return derivedDeductionAmount(deduction, rubles, typed).value_or(Money{});
}

ForeignIncome copiedSource(const ForeignIncome& s) {
    ForeignIncome copy;
    copy.sourceName = s.sourceName;
    copy.countryCode = s.countryCode;
    copy.incomeCode = s.incomeCode;
    copy.incomeRate = s.incomeRate;
    copy.incomeName = s.incomeName;
    copy.currencyCode = s.currencyCode;
    copy.currencyName = s.currencyName;
    copy.cfcProfitMethod = s.cfcProfitMethod;
    copy.cfcNumber = s.cfcNumber;
    return copy;
}

bool repairIncomeRate(ForeignIncome& s, const IncomeDict& dict) {
    if (s.incomeCode == 0 || s.incomeRate != 0)
        return false;
    const IncomeEntry* entry = dict.findIncome(std::to_string(s.incomeCode));
    if (entry == nullptr)
        return false;
    const IncomeChoice choice = chooseIncome(dict, *entry, "");
    s.incomeRate = choice.rate;
    if (s.incomeName.empty())
        s.incomeName = choice.name;
    return s.incomeRate != 0;
}

std::optional<FoundRate> findRate(const CurrencyRates* rates, const std::string& currencyCode,
                                  DateValue date) {
    const std::optional<CurrencyRate> found = findCurrencyRate(rates, currencyCode, date);
    if (!found)
        return std::nullopt;
    FoundRate rate;
    rate.rateText = trimText(found->rate);
    rate.unitsText = trimText(found->quantity);
    rate.date = DateValue::parseText(trimText(found->date), '.').value_or(date);
    rate.exactDay = rate.date == date;
    return rate;
}

std::string rateDateNote(const std::optional<FoundRate>& rate) {
    if (!rate || rate->exactDay)
        return {};
    return utf8ToCp1251("курс на ") + rate->date.text('.');
}

std::uint16_t checkForeignIncomes(const Declaration& d, CheckDialog& dialog) {
    CheckRun run(dialog, foreignIncomeTitle(), CheckStop::AtFirstFault);
    std::uint16_t position = 0;
    for (const ForeignIncome& s : d.foreignIncomes) {
        ++position;
        for (const ForeignIncomeRule rule : kForeignIncomeRules)
            if (const std::string* message = rule(s))
                run.fault(*message, position);
        if (!run.open())
            break;
    }
    return run.result();
}

bool checkForeignSourceCountry(const std::string& countryCode, CheckDialog& dialog) {
    static const std::string noCountry = utf8ToCp1251("Не выбран код страны");
    if (!trimText(countryCode).empty())
        return true;
    CheckRun run(dialog, foreignSourceTitle());
    run.offerSkip(false).offerSkipAll(false);
    return run.fault(noCountry, 1) != CheckAnswer::Fix;
}

} // namespace kv
