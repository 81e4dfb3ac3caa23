#pragma once
// Rules of the screens of incomes at 9% and 35%, of dividends and of non-residents'
// incomes at 13% that do not depend on widgets: what a source dialog stores, the 9%
// tax, how the deduction amount follows the income, and the dialogs' checks with
// their messages and the elements "Исправить" goes to.
#include "checks/CheckDialog.h"
#include "core/Money.h"
#include "core/Text.h"
#include "model/IncomeSources.h"
#include "reference/IncomeDict.h"
#include "screens/rules/ThirteenRules.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// Section titles of the checks, Windows-1251.
const Cp1251Text& ninePercentTitle();       // "Доходы, облагаемые по ставке 9%"
const Cp1251Text& dividendsTitle();         // "Доходы в виде дивидендов"
const Cp1251Text& thirtyFivePercentTitle(); // "Доходы, облагаемые по ставке 35%"
// The title the non-resident's income dialog has always shown, spelling included.
const Cp1251Text& nonResidentIncomeTitle(); // "Доходы нерезедентов, облагаемые по ставке 13%"

// --- Incomes at 9% and dividends: one dialog, configured per list ----------------

enum class FlatIncomeKind { NinePercent, Dividends };

struct FlatIncomeSetup {
    FlatIncomeKind kind;
    std::int32_t incomeCode; // given to a new source; editing keeps the stored one
    bool computesTax;        // the 9% tax is kept in the source
    int innLength;
};
const FlatIncomeSetup& flatIncomeSetup(FlatIncomeKind kind);
const Cp1251Text& flatIncomeTitle(FlatIncomeKind kind);

// The tax at 9%: whole roubles, half a rouble up (10 000,50 gives 900; 10 005,60 gives 901).
Money ninePercentTax(Money income);

// What the dialog holds when "Да" is pressed (texts Windows-1251).
struct FlatIncomeValues {
    Cp1251Text name;
    Cp1251Text inn;
    Cp1251Text kpp;
    Cp1251Text oktmo;
    std::optional<Money> income; // nullopt: the field is empty
    Money withheld;              // whole roubles; 0 when the field is empty
};

enum FlatIncomeElement : std::uint16_t {
    FlatNameElement = 1, // the payer check's own numbering: name, INN, KPP, OKTMO
    FlatInnElement = 2,
    FlatKppElement = 3,
    FlatOktmoElement = 4,
    FlatIncomeAmountElement = 5, // "Сумма дохода" / "Облагаемая сумма дивидендов"
    FlatWithheldElement = 6, // "Удержанный налог"
};

// "Да": the payer must be an organisation, then the amounts. 0 accepts the dialog;
// otherwise the element to return to, the dialog staying open.
std::uint16_t checkFlatIncomeDialog(FlatIncomeKind kind, const FlatIncomeValues& values, CheckDialog& dialog);

// Writes an accepted dialog into its source. A new source takes the list's income
// code; the income is also the taxable amount; the 9% list keeps its tax.
void storeFlatIncome(FlatIncomeKind kind, const FlatIncomeValues& values, bool newSource,
                     ThirtyPercentSource& source);

// --- Incomes at 35% --------------------------------------------------------------

// A prize of a lottery or game whose amount the tax agent reports alone: the dialog
// takes no income amount for it and does not compare the withheld tax.
inline constexpr std::int32_t kUnstatedIncomeCode = 2620;

// The deduction amount shown when a deduction is picked: the income up to the cap for
// an amount that equals the income ("0" for no income when there is a cap, empty
// without one); empty for the user to type otherwise.
std::optional<Money> thirtyFiveDeductionOnPick(const DeductionChoice& deduction, std::optional<Money> income);

// The deduction amount after the income changed: one that equals the income follows it
// (0 for none), up to the cap; one the user typed is kept, up to the cap.
std::optional<Money> thirtyFiveDeductionOnIncome(const DeductionChoice& deduction,
                                                 std::optional<Money> income, std::optional<Money> entered);

struct ThirtyFiveDialogState {
    bool incomeChosen = false;
    std::int32_t incomeCode = 0;
    bool incomeEmpty = true;
    Money income;
    bool incomeHasDeductions = false; // the dictionary lists deductions under the income
    bool deductionChosen = false;
    bool deductionEditable = false; // the amount field is shown and may be typed in
    bool deductionEmpty = true;
    Money deduction;
    Money withheld; // 0 when none is entered
};

enum ThirtyFiveElement : std::uint16_t {
    RateIncomeCodeElement = IncomeCodeElement, // the income-code button; opens the picker
    RateIncomeAmountElement = IncomeAmountElement,
    RateDeductionCodeElement = DeductionCodeElement, // opens the picker
    RateDeductionAmountElement = DeductionAmountElement,
    RateWithheldElement = 5, // "Сумма удержанного налога"
};

// The amount checks of the 35% dialog after its payer check. A missing code or
// income and a deduction above the income cannot be skipped; such a fault refuses
// the dialog however its message is closed.
IncomeDialogVerdict checkThirtyFiveAmounts(const ThirtyFiveDialogState& state, CheckDialog& dialog);

// What the accepted dialog stores (texts Windows-1251).
struct ThirtyFiveValues {
    Cp1251Text name;
    Cp1251Text inn;
    Cp1251Text kpp;
    Cp1251Text oktmo;
    std::int32_t incomeCode = 0;
    Money income;
    std::int32_t deductionCode = 0;
    Money deduction;
    Money withheld;
};
void storeThirtyFive(const ThirtyFiveValues& values, ThirtyFivePercentSource& source);

// --- Non-residents' incomes at 13% ----------------------------------------------

// The deduction amount after the income changed: the amount entered, limited to the
// cap; 0 leaves the field empty. An amount equal to the income is not filled in here.
std::optional<Money> nonResidentDeductionOnIncome(const DeductionChoice& deduction,
                                                  std::optional<Money> entered);

// The income dialog's checks: those of the 13% income dialog under the non-resident's title.
IncomeDialogVerdict checkNonResidentIncome(const IncomeDialogState& state, CheckDialog& dialog);

} // namespace kv
