#include "screens/rules/BusinessRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

namespace {

std::vector<Cp1251Text> cp1251List(std::initializer_list<const char*> utf8) {
    std::vector<Cp1251Text> out;
    for (const char* s : utf8)
        out.push_back(Cp1251Text::fromUtf8(s));
    return out;
}

int kindNumber(const Cp1251Text& kind) {
    return kind.size() == 1 && kind[0] >= '1' && kind[0] <= '9' ? kind[0] - '0' : 0;
}

} // namespace

const Cp1251Text& businessTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы от предпринимательской деятельности");
    return title;
}

bool mayUseNorm(const Cp1251Text& activityKind) {
    BusinessActivity a;
    a.activityKind = activityKind;
    return choosesExpenses(a);
}

Money standardExpensesOf(Money income) {
    // 20% of raw ten-thousandths, in kopecks (100 raw units): raw / 500, half up.
    const std::int64_t raw = income.raw;
    const std::int64_t kopecks = raw >= 0 ? (raw + 250) / 500 : -((-raw + 250) / 500);
    return Money::fromRaw(kopecks * 100);
}

const std::vector<Cp1251Text>& activityKindNames() {
    static const std::vector<Cp1251Text> names =
        cp1251List({"Предпринимательская", "Нотариальная", "Адвокатская", "Арбитражного управляющего",
                    "Главы КФХ", "Оценщика", "Патентного поверенного", "Медиатора", "Иная деятельность"});
    return names;
}

Cp1251Text activityRowText(const BusinessActivity& activity) {
    static const std::vector<Cp1251Text> rows = cp1251List(
        {"", "Нотариальная деятельность", "Адвокатская деятельность",
         "Деятельность арбитражного управляющего", "Деятельность главы КФХ", "Деятельность оценщика",
         "Деятельность патентного поверенного", "Деятельность медиатора", "Иная деятельность"});
    const int kind = kindNumber(activity.activityKind);
    if (kind == 1 || kind == 0)
        return kind == 1 ? activity.okvedCode : activity.activityKind;
    return rows[static_cast<std::size_t>(kind - 1)];
}

bool activityDialogAccepts(const Cp1251Text& activityKind, const Cp1251Text& okvedCode) {
    const int kind = kindNumber(activityKind);
    return kind >= 2 || (kind == 1 && !trimText(okvedCode).empty());
}

void applyActivityKind(BusinessActivity& activity, const Cp1251Text& kind, const Cp1251Text& okvedCode,
                       bool adding) {
    const bool wasChoice = mayUseNorm(activity.activityKind);
    activity.activityKind = kind;
    // Only an entrepreneur picks a code; any other kind keeps what the record holds
    // (a new record's "..").
    if (!okvedCode.empty())
        activity.okvedCode = okvedCode;
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

const std::vector<Cp1251Text>& partnershipOperationNames() {
    static const std::vector<Cp1251Text> names = cp1251List({
        "Операции с обращающимися ЦБ (п.1 Листа И)",
        "Операции с не обращающимися ЦБ (п.2 Листа И)",
        "Операции с ФИСС (п.3 Листа И)",
        "Операции с долями участия в уставном капитале (п.4 Листа И)",
        "Прочие операции (п.5 Листа И)",
        "Доход при выходе из инвест.тов. или выделе доли (п.6 Листа И)",
    });
    return names;
}

const Cp1251Text& partnershipSourceTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы от участия в инвестиционном товариществе");
    return title;
}

Cp1251Text partnershipCheckTitle() {
    return Cp1251Text::fromUtf8("Проверка данных участия в инвест. тов.");
}

Cp1251Text noOperationKindMessage() {
    return Cp1251Text::fromUtf8("Не выбран вид операций");
}

PartnershipIncomeVerdict checkPartnershipIncome(std::int32_t operationKind, CheckDialog& dialog) {
    if (operationKind >= 1 && operationKind <= static_cast<std::int32_t>(partnershipOperationNames().size()))
        return {true, false};
    const Cp1251Text title = partnershipCheckTitle();
    CheckRun run(dialog, title);
    run.offerSkip(false).offerSkipAll(false).windowTitle(title);
    return {false, run.fault(noOperationKindMessage(), 1) == CheckAnswer::Fix};
}

} // namespace kv
