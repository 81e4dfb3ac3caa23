#pragma once
// The income and deduction code dictionary carried inside the program, and the rules
// by which the code pickers build their lists and the entry dialogs derive the
// deduction amount. The dialogs are thin shells over these functions.
#include "core/Money.h"
#include "core/Text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct DeductionEntry {
    Cp1251Text code; // three digits, or "0" for "grant no deduction"
    Cp1251Text name;
    Cp1251Text stav; // blank, or the cost norm in percent
    bool visible = false;
    bool enabled = false;
    bool equivalent = false;
    Cp1251Text maxSumText; // as written, comma as decimal separator
    Money maxSum;          // 0 = no limit

    int percent() const; // the trimmed Stav as an integer, 0 when blank
};

struct IncomeEntry {
    Cp1251Text stav; // "13", "35", "9", "14" (dividends), "99" (controlled foreign companies), "0"
    Cp1251Text code;
    Cp1251Text name;
    bool saleDate = false;
    bool nonResident13 = false; // NRez13
    std::vector<DeductionEntry> deductions;

    bool hasDeductions() const { return !deductions.empty(); }
    // The first deduction with exactly this code, or nullptr.
    const DeductionEntry* findDeduction(const Cp1251Text& deductionCode) const;
};

class IncomeDict {
public:
    std::vector<IncomeEntry> incomes; // in dictionary order

    // Parses dictionary text (Windows-1251 XML). Throws std::runtime_error when the
    // text is not a well-formed dictionary; the built-in text always is.
    static IncomeDict parse(std::string_view xml);
    // The dictionary built into the program, parsed once.
    static const IncomeDict& builtIn();
    // The built-in text itself: Windows-1251 XML.
    static std::string_view builtInText();

    // The first income with exactly this code, or nullptr.
    const IncomeEntry* findIncome(const Cp1251Text& code) const;
};

// The twelve incomes received through an investment partnership.
bool isInvestmentPartnershipCode(const Cp1251Text& code);

// --- Income-code picker --------------------------------------------------------

// Rows in dictionary order. An empty rate selector lists every income but "0000" and
// the partnership codes; a three-character selector ("100") the 13% and 35% incomes
// but 2620; any other selector the incomes at that rate (with nonResident, only those
// a non-resident declares at 13%). The last three entries are offered only without a
// selector; with a selector the partnership mode keeps only the partnership codes,
// without it they are dropped.
std::vector<const IncomeEntry*> incomePickerRows(const IncomeDict& dict, const Cp1251Text& rateSelector,
                                                 bool investmentPartnership, bool nonResident);

struct IncomeChoice {
    Cp1251Text code;
    Cp1251Text name;
    int rate = 0;
    bool hasDeductions = false;
};

// What the caller reads after the user chose this row.
IncomeChoice chooseIncome(const IncomeDict& dict, const IncomeEntry& row, const Cp1251Text& rateSelector);

// --- Deduction-code picker ----------------------------------------------------

// The deductions of the income, in order; without the full list only the codes that
// begin with "2", "5" or "8" and the code "0". No income with that code: no rows.
std::vector<const DeductionEntry*> deductionPickerRows(const IncomeDict& dict, const Cp1251Text& incomeCode,
                                                       bool fullList);

struct DeductionChoice {
    Cp1251Text code;
    Cp1251Text name;
    Money maxSum;
    bool enabled = false;
    bool equivalent = false;
    bool visible = false;
    int percent = 0;
};

DeductionChoice chooseDeduction(const DeductionEntry& row);

// --- Shared by both pickers ---------------------------------------------------

// The row whose code equals the current code; nothing when no row has it: a picker
// opened for a new income chooses no code for the person.
std::optional<std::size_t> preselectedRow(const std::vector<const IncomeEntry*>& rows,
                                          const Cp1251Text& currentCode);
std::optional<std::size_t> preselectedRow(const std::vector<const DeductionEntry*>& rows,
                                          const Cp1251Text& currentCode);

// --- The deduction amount in the calling dialogs -------------------------------

// The amount to show after a deduction was chosen or the income changed.
// income: the income amount, nullopt when none is entered.
// entered: the amount the user typed, nullopt when the field is empty (it is emptied
// when a new deduction is chosen).
// With a percentage: that share of the income rounded to kopecks (0 without an
// income); with Equivalent: the income (0 without one); otherwise the entered amount
// (nullopt stays empty for the user to type). A result above a non-zero MaxSum
// becomes MaxSum.
std::optional<Money> derivedDeductionAmount(const DeductionChoice& deduction, std::optional<Money> income,
                                            std::optional<Money> entered);

// A typed amount limited to a non-zero MaxSum.
Money cappedDeductionAmount(const DeductionChoice& deduction, Money amount);

} // namespace kv
