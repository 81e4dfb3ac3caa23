#include "screens/rules/ForeignRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

const Cp1251Text& foreignIncomeTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы в валюте");
    return title;
}

const Cp1251Text& foreignSourceTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Источник дохода");
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
    const IncomeEntry* entry = dict.findIncome(Cp1251Text::fromBytes(std::to_string(s.incomeCode)));
    if (entry == nullptr)
        return false;
    const IncomeChoice choice = chooseIncome(dict, *entry, Cp1251Text());
    s.incomeRate = choice.rate;
    if (s.incomeName.empty())
        s.incomeName = choice.name;
    return s.incomeRate != 0;
}

std::optional<FoundRate> findRate(const CurrencyRates* rates, const Cp1251Text& currencyCode,
                                  DateValue date) {
    const std::optional<CurrencyRate> found = findCurrencyRate(rates, currencyCode, date);
    if (!found)
        return std::nullopt;
    FoundRate rate;
    rate.rateText = trimText(found->rate);
    rate.unitsText = trimText(found->quantity);
    rate.date = DateValue::parseText(trimText(found->date).bytes(), '.').value_or(date);
    rate.exactDay = rate.date == date;
    return rate;
}

Cp1251Text rateDateNote(const std::optional<FoundRate>& rate) {
    if (!rate || rate->exactDay)
        return {};
    return Cp1251Text::fromUtf8("курс на ") + Cp1251Text::fromBytes(rate->date.text('.'));
}

std::uint16_t checkForeignIncomes(const Declaration& d, CheckDialog& dialog) {
    CheckRun run(dialog, foreignIncomeTitle(), CheckStop::AtFirstFault);
    std::uint16_t position = 0;
    for (const ForeignIncome& s : d.foreignIncomes) {
        ++position;
        for (const ForeignIncomeRule rule : kForeignIncomeRules)
            if (const Cp1251Text* message = rule(s))
                run.fault(*message, position);
        if (!run.open())
            break;
    }
    return run.result();
}

bool checkForeignSourceCountry(const Cp1251Text& countryCode, CheckDialog& dialog) {
    static const Cp1251Text noCountry = Cp1251Text::fromUtf8("Не выбран код страны");
    if (!trimText(countryCode).empty())
        return true;
    CheckRun run(dialog, foreignSourceTitle());
    run.offerSkip(false).offerSkipAll(false);
    return run.fault(noCountry, 1) != CheckAnswer::Fix;
}

} // namespace kv
