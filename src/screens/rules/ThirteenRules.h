#pragma once
// Rules of the incomes-at-13% screen and its income dialog that do not depend on
// widgets: which incomes may carry a deduction, which deductions may exceed their
// income, the month and real-estate amounts, and the checks with their messages.
#include "checks/CheckDialog.h"
#include "core/Money.h"
#include "core/Text.h"
#include "model/IncomeSources.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class Declaration;
struct IncomeEntry;

// "Доходы, облагаемые по ставке 13%", Windows-1251: the title of the screen's checks
// and of its source and income dialogs.
const Cp1251Text& thirteenPercentTitle();

// Income 2799 always carries deduction 599, equal to the income.
inline constexpr std::int32_t kFollowingIncomeCode = 2799;
inline constexpr std::int32_t kFollowingDeductionCode = 599;

// Incomes from selling real estate, which may carry the cadastral data.
bool isRealEstateSale(std::int32_t incomeCode);

// A deduction may be attached when the dictionary lists deductions under the income
// and the return is a resident's, or the income is one a non-resident may reduce too.
bool incomeMayHaveDeduction(const IncomeEntry& income, bool residentReturn);

// The month typed: empty or 0 gives 1, more than 12 gives 12.
std::int16_t monthFromText(std::string_view digits);

// Income of a property sold with cadastral data: the larger of 70% of the cadastral
// value (to the kopeck) and the contract price.
Money cadastralIncome(Money cadastralValue, Money contractPrice);

// "Повторить доход": the same income in the next month (December stays December),
// without the real-estate details.
ThirteenIncomeItem repeatedIncome(const ThirteenIncomeItem& item);
// Where the repeated copy of line `repeated` goes: after it and after the lines that
// follow it up to the copy's month, so a list kept in month order stays so (the copy
// of the last month's line goes last).
int repeatedIncomePosition(const std::vector<ThirteenIncomeItem>& items, int repeated, int month);

// The income dialog as its checks see it.
struct IncomeDialogState {
    bool incomeChosen = false;
    std::int32_t incomeCode = 0;
    bool incomeEmpty = true; // "Сумма дохода" holds no text
    Money income;
    bool deductionAllowed = false; // a deduction may be attached to the income
    bool deductionChosen = false;
    std::int32_t deductionCode = 0;
    bool deductionEditable = false; // the amount field is shown and may be typed in
    bool deductionEmpty = true;
    Money deduction;
};

enum IncomeDialogElement : std::uint16_t {
    IncomeCodeElement = 1,      // the income-code button; opens the picker
    IncomeAmountElement = 2,    // "Сумма дохода"
    DeductionCodeElement = 3,   // the deduction-code button; opens the picker
    DeductionAmountElement = 4, // "Сумма вычета (расхода)"
};

struct IncomeDialogVerdict {
    bool accept = false;
    std::uint16_t element = 0; // where "Исправить" sends the user, 0 for nowhere

    friend bool operator==(const IncomeDialogVerdict&, const IncomeDialogVerdict&) = default;
};

// The checks run when the income dialog is confirmed. A missing code can be
// skipped; a missing amount or a deduction above the income cannot. The
// non-resident's income dialog runs the same checks under its own title.
IncomeDialogVerdict checkIncomeDialog(const IncomeDialogState& state, CheckDialog& dialog,
                                      const Cp1251Text& title = thirteenPercentTitle());

// checkData of the screen: the sources in list order; the code is the 1-based
// position of the source to fix.
std::uint16_t checkThirteenPercent(const Declaration& declaration, CheckDialog& dialog);

} // namespace kv
