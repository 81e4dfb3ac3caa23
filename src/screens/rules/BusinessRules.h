#pragma once
// Rules of the business-income screen and of the investment-partnership screen that
// do not depend on widgets: the 20% norm, what editing an activity does to its way of
// expenses, the row texts, and the checks with their messages and element codes.
#include "checks/CheckDialog.h"
#include "core/Money.h"
#include "core/Text.h"
#include "model/ForeignBusiness.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class Declaration;

// "Доходы от предпринимательской деятельности", Windows-1251.
const Cp1251Text& businessTitle();

// Entrepreneurs (1) and heads of farm households (5) may take the 20% norm instead of
// documented expenses; every other kind has documented expenses only.
bool mayUseNorm(const Cp1251Text& activityKind);

// Expenses by norm: 20% of the income, half a kopeck rounded up (away from zero).
Money standardExpensesOf(Money income);

// The activity dialog's nine kinds, 1-based: "Предпринимательская" ... "Иная деятельность".
const std::vector<Cp1251Text>& activityKindNames();
// Row text in the activity list: the OKVED code for kind 1, the kind's name otherwise;
// the same whether the row was just entered or read from a file.
Cp1251Text activityRowText(const BusinessActivity& activity);

// The activity dialog accepts kinds 2 to 9, and kind 1 with a code that is not blank.
bool activityDialogAccepts(const Cp1251Text& activityKind, const Cp1251Text& okvedCode);

// Writes the dialog's kind and code into the activity. A new activity of kind 1 or 5
// starts with the norm, any other with documented expenses. An edit keeps the way of
// expenses unless the kind moves into or out of {1, 5}: fixing only the OKVED code
// must not throw away the documented figures. A move to the norm computes it from
// the activity's income.
void applyActivityKind(BusinessActivity& activity, const Cp1251Text& kind, const Cp1251Text& okvedCode,
                       bool adding);

// checkData of the business screen: "Исправить" records the activity's 1-based
// position and the checks go on (the last one wins); "Пропустить все" stops them.
// The parts are reported when they exceed the total (documentedPartsExceedTotal), as
// the whole-return check does, under this screen's own words "не совпадают".
std::uint16_t checkBusinessIncomes(const Declaration& declaration, CheckDialog& dialog);

// --- Investment partnerships ---------------------------------------------------

// The six kinds of operations, 1-based in this order.
const std::vector<Cp1251Text>& partnershipOperationNames();
inline constexpr std::int32_t kPartnershipExitKind = 6;

// "Доходы от участия в инвестиционном товариществе" / "Доходы, облагаемые по ставке 13%"
// (the payer check's title on "Да" and on Enter).
const Cp1251Text& partnershipSourceTitle();

// The income dialog's check on "Да". The dialog stays open until a kind is chosen:
// an item of kind 0 would reach no line of the return.
struct PartnershipIncomeVerdict {
    bool accept = false;
    bool focusKind = false; // "Исправить": the kind list takes the focus
    friend bool operator==(const PartnershipIncomeVerdict&, const PartnershipIncomeVerdict&) = default;
};
PartnershipIncomeVerdict checkPartnershipIncome(std::int32_t operationKind, CheckDialog& dialog);
Cp1251Text partnershipCheckTitle(); // "Проверка данных участия в инвест. тов."
Cp1251Text noOperationKindMessage(); // "Не выбран вид операций"

} // namespace kv
