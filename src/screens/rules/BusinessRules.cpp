#include "screens/rules/BusinessRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

namespace {

std::vector<std::string> cp1251List(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(utf8ToCp1251(s));
    return out;
}

int kindNumber(std::string_view kind) {
    return kind.size() == 1 && kind[0] >= '1' && kind[0] <= '9' ? kind[0] - '0' : 0;
}

} // namespace

const std::string& businessTitle() {
    static const std::string title = utf8ToCp1251("Доходы от предпринимательской деятельности");
    return title;
}

bool mayUseNorm(std::string_view activityKind) {
    BusinessActivity a;
    a.activityKind = std::string(activityKind);
    return choosesExpenses(a);
}

Money standardExpensesOf(Money income) {
    // 20% of raw ten-thousandths, in kopecks (100 raw units): raw / 500, half up.
    const std::int64_t raw = income.raw;
    const std::int64_t kopecks = raw >= 0 ? (raw + 250) / 500 : -((-raw + 250) / 500);
    return Money::fromRaw(kopecks * 100);
}

const std::vector<std::string>& activityKindNames() {
    static const std::vector<std::string> names =
        cp1251List({"Предпринимательская", "Нотариальная", "Адвокатская", "Арбитражного управляющего",
                    "Главы КФХ", "Оценщика", "Патентного поверенного", "Медиатора", "Иная деятельность"});
    return names;
}

std::string activityRowText(const BusinessActivity& activity) {
    static const std::vector<std::string> rows = cp1251List(
        {"", "Нотариальная деятельность", "Адвокатская деятельность",
         "Деятельность арбитражного управляющего", "Деятельность главы КФХ", "Деятельность оценщика",
         "Деятельность патентного поверенного", "Деятельность медиатора", "Иная деятельность"});
    const int kind = kindNumber(activity.activityKind);
    if (kind == 1 || kind == 0)
        return kind == 1 ? activity.okvedCode : activity.activityKind;
    return rows[static_cast<std::size_t>(kind - 1)];
}

bool activityDialogAccepts(std::string_view activityKind, std::string_view okvedCode) {
    const int kind = kindNumber(activityKind);
    return kind >= 2 || (kind == 1 && !trimText(okvedCode).empty());
}

void applyActivityKind(BusinessActivity& activity, std::string_view kind, std::string_view okvedCode,
                       bool adding) {
    const bool wasChoice = mayUseNorm(activity.activityKind);
    activity.activityKind = std::string(kind);
    // Only an entrepreneur picks a code; any other kind keeps what the record holds
    // (a new record's "..").
    if (!okvedCode.empty())
        activity.okvedCode = std::string(okvedCode);
    const bool isChoice = mayUseNorm(kind);
    if (adding || wasChoice != isChoice) {
        activity.hasDocumentedExpenses = isChoice ? 0 : 1;
        // The norm follows the income the activity already has.
        if (isChoice)
            activity.standardExpenses = standardExpensesOf(activity.incomeAmount);
    }
}

std::uint16_t checkBusinessIncomes(const Declaration& d, CheckDialog& dialog) {
    CheckRun run(dialog, businessTitle(), CheckStop::FixGoesOn);
    const BusinessActivity* first = firstExpenseChoice(d.businessIncomes);
    std::uint16_t position = 0;
    for (const BusinessActivity& a : d.businessIncomes) {
        ++position;
        if (!run.open())
            break;
        CheckAnswer answer = CheckAnswer::None;
        if (&a != first && expenseChoiceDiffers(a, first))
            answer = run.fault(mixedExpensesMessage(), position);
        if (answer != CheckAnswer::Fix && documentedPartsExceedTotal(a))
            run.fault(expensesMismatchMessage(a.totalExpenses, documentedExpenseParts(a)), position);
    }
    return run.result();
}

const std::vector<std::string>& partnershipOperationNames() {
    static const std::vector<std::string> names = cp1251List({
        "Операции с обращающимися ЦБ (п.1 Листа И)",
        "Операции с не обращающимися ЦБ (п.2 Листа И)",
        "Операции с ФИСС (п.3 Листа И)",
        "Операции с долями участия в уставном капитале (п.4 Листа И)",
        "Прочие операции (п.5 Листа И)",
        "Доход при выходе из инвест.тов. или выделе доли (п.6 Листа И)",
    });
    return names;
}

const std::string& partnershipSourceTitle() {
    static const std::string title = utf8ToCp1251("Доходы от участия в инвестиционном товариществе");
    return title;
}

std::string partnershipCheckTitle() {
    return utf8ToCp1251("Проверка данных участия в инвест. тов.");
}

std::string noOperationKindMessage() {
    return utf8ToCp1251("Не выбран вид операций");
}

PartnershipIncomeVerdict checkPartnershipIncome(std::int32_t operationKind, CheckDialog& dialog) {
    if (operationKind >= 1 && operationKind <= static_cast<std::int32_t>(partnershipOperationNames().size()))
        return {true, false};
    const std::string title = partnershipCheckTitle();
    CheckRun run(dialog, title);
    run.offerSkip(false).offerSkipAll(false).windowTitle(title);
    return {false, run.fault(noOperationKindMessage(), 1) == CheckAnswer::Fix};
}

} // namespace kv
