#include "screens/rules/ForeignRules.h"

#include "core/Text.h"
#include "model/Declaration.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

// Securities and derivatives incomes: a deduction code without an amount is allowed.
constexpr std::array<std::int32_t, 36> kSecuritiesIncomes = {
    1530, 1531, 1532, 1533, 1535, 1536, 1537, 1538, 1539, 1541, 1544, 1545,
    1546, 1547, 1548, 1549, 1551, 1552, 1553, 1554, 9537, 9538, 9551, 9552,
    5002, 5005, 5009, 5011, 5013, 5014, 5017, 5020, 5024, 5026, 5028, 5029};

// Two capital letters, a space and five digits.
constexpr std::size_t kCfcNumberLength = 8;

} // namespace

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

bool deductionAmountMayBeZero(std::int32_t incomeCode) {
    return std::find(kSecuritiesIncomes.begin(), kSecuritiesIncomes.end(), incomeCode) !=
           kSecuritiesIncomes.end();
}

Money deductionFollowingRubles(const DeductionChoice& deduction, Money rubles) {
    return derivedDeductionAmount(deduction, rubles, Money{}).value_or(Money{});
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
    const std::optional<CurrencyRate> found = FindCurrencyRate(rates, currencyCode, date);
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

std::uint16_t CheckForeignIncomes(const Declaration& d, CheckDialog& dialog) {
    static const std::string noCurrency = utf8ToCp1251("По данному источнику выплаты не указан код валюты");
    static const std::string noRate = utf8ToCp1251("По данному источнику выплаты не указан курс валюты");
    static const std::string noIncomeCode = utf8ToCp1251("По данному источнику выплаты не указан код дохода");
    static const std::string noCfcNumber = utf8ToCp1251("По данному источнику необходимо указать номер КИК");
    static const std::string badCfcNumber =
        utf8ToCp1251("По данному источнику номер КИК указан некорректно (состоит из двух букв и пяти цифр)");
    static const std::string noCfcMethod =
        utf8ToCp1251("По данному источнику не указан порядок определения прибыли КИК");
    static const std::string noDeduction =
        utf8ToCp1251("По данному источнику выплаты не указана сумма вычета");

    std::uint16_t position = 0;
    for (const ForeignIncome& s : d.foreignIncomes) {
        ++position;
        const std::string* fault = nullptr;
        if (s.currencyCode.empty())
            fault = &noCurrency;
        else if (s.incomeDateUnits == 0 || s.incomeDateRate.isZero())
            fault = &noRate;
        else if (s.incomeCode == 0)
            fault = &noIncomeCode;
        else if (s.incomeCode == kCfcProfitCode && s.cfcNumber.empty())
            fault = &noCfcNumber;
        else if (s.incomeCode == kCfcProfitCode && s.cfcNumber.size() != kCfcNumberLength)
            fault = &badCfcNumber;
        else if (s.incomeCode == kCfcProfitCode && s.cfcProfitMethod == 0)
            fault = &noCfcMethod;
        else if (s.deductionCode != 0 && !deductionAmountMayBeZero(s.incomeCode) &&
                 s.deductionAmount.isZero())
            fault = &noDeduction;
        if (fault == nullptr)
            continue;
        // One dialog per check: whatever the answer, no further source is looked at.
        CheckQuestion q;
        q.sectionTitle = foreignIncomeTitle();
        q.message = *fault;
        return dialog.ask(q) == CheckAnswer::Fix ? position : 0;
    }
    return 0;
}

bool CheckForeignSourceCountry(const std::string& countryCode, CheckDialog& dialog) {
    static const std::string noCountry = utf8ToCp1251("Не выбран код страны");
    if (!trimText(countryCode).empty())
        return true;
    CheckQuestion q;
    q.sectionTitle = foreignSourceTitle();
    q.message = noCountry;
    q.skipEnabled = false;
    q.skipAllEnabled = false;
    return dialog.ask(q) != CheckAnswer::Fix;
}

} // namespace kv
