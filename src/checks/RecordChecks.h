#pragma once
// Faults of single records that a screen reports on leaving and the whole-return
// check reports before export, written once for both.
//
// How to use (a screen's checkData, one source after another):
//   for (const ForeignIncome& e : d.foreignIncomes)
//       for (ForeignIncomeRule rule : kForeignIncomeRules)
//           if (const Cp1251Text* message = rule(e)) run.fault(*message, position);
// The whole-return check applies each rule to the whole list before the next rule.
// A whole record's faults come as a list in the order they are shown; the screen shows
// them one by one, the whole-return check as its group's continuation says:
//   for (const RecordFault& f : taxpayerFaults(d.person, EmptyInn::Missing)) run.fault(*f.message, f.code);
// Messages are Windows-1251 and exactly the ones the person sees.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Text.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class BusinessActivity;
class Declaration;
class ForeignIncome;
class IncomeSource;
class PensionContract;
class SocialDeduction;
class Taxpayer;
class ThirteenIncomeItem;
class ThirteenPercentSource;
enum class ReturnKind : std::uint8_t;
template <class T> class IncomeList;

// --- Identity documents ------------------------------------------------------

// Documents that are not issued before the holder is fourteen (codes 7, 8, 21, 24).
bool issuedFromFourteen(std::int32_t documentCode);
// The day the holder turns fourteen is on or before the issue date; a birthday on
// 29 February counts from 28 February.
bool issuedAtFourteenOrLater(DateValue birth, DateValue issued);

// --- Record faults --------------------------------------------------------------

// One fault of a record: its message and the element code of the screen that shows
// the field to mend.
struct RecordFault {
    const Cp1251Text* message;
    std::uint16_t code;
};

// --- Conditions of the return ----------------------------------------------------

// Element codes of the initial-data screen, also used by the whole-return check.
enum InitialDataElement : std::uint16_t {
    InitialInspection = 1,
    InitialEstimatedIncome = 2,
    InitialRepresentativeName = 3,
    InitialRepresentativeDocument = 4,
    InitialRepresentativeOrganisation = 5,
    InitialOktmo = 10,
};

// The tax office and the representative who confirms the return, in the order both
// checks report them.
std::vector<RecordFault> conditionsFaults(const Declaration& declaration);

// --- Taxpayer --------------------------------------------------------------------

// Element codes of the taxpayer screen, also used by the whole-return check.
enum PersonElement : std::uint16_t {
    PersonSurname = 1,
    PersonFirstName = 2,
    PersonPatronymic = 3,
    PersonInn = 4,
    PersonDocumentKind = 5,
    PersonDocumentNumber = 6,
    PersonDocumentDate = 7,
    PersonDocumentIssuer = 8,
    PersonBirthPlace = 9,
};

// What an empty INN is: the taxpayer screen always asks for one; the whole-return
// check only of those who must have one, with the reason.
enum class EmptyInn {
    Passes,
    Missing,           // "Не указан ИНН"
    NeededForBusiness, // "Лицам имеющим доходы от предпринимательской деятельности ..."
};
// How the whole-return check takes an empty INN on this return: entrepreneurs, heads
// of farms, business incomes and a 4-NDFL return need one.
EmptyInn emptyInnOnReturn(const Declaration& declaration);

// The name, and that the taxpayer can be identified by a valid INN or else by birth
// place and an identity document that fits the birth date, in the order both checks
// report them.
std::vector<RecordFault> taxpayerFaults(const Taxpayer& person, EmptyInn emptyInn);

// --- Incomes at 13% ---------------------------------------------------------------

// Each rule gives the message of its fault, or nullptr when the source passes it; the
// element code is the source's 1-based position.
const Cp1251Text* withheldOverIncome(const ThirteenPercentSource& source);
// On a resident's return, the deductions granted by the tax agent add up to more
// than the source's income. Other returns are granted none by agents.
const Cp1251Text* agentDeductionsOverIncome(const ThirteenPercentSource& source, ReturnKind kind);

// --- Incomes from tax agents ---------------------------------------------------

// Expenses of an operation with securities, derivatives or a partnership may exceed
// its income: the loss is carried into the financial result of its kind.
bool deductionMayExceedIncome(std::int32_t incomeCode, std::int32_t deductionCode);
// An income line whose deduction is larger than its income, where no such loss is allowed.
bool deductionExceedsIncome(const ThirteenIncomeItem& item);
const Cp1251Text& deductionOverIncomeMessage();

// --- Payers --------------------------------------------------------------------
// A file written by another program may hold identifiers the entry dialogs never
// let through; each rule gives the message of the first fault of an INN, KPP or
// OKTMO the payer holds that the dialog would not have let the person skip, or nullptr.

// Payers that may be persons: the 13% (resident and non-resident), 35% and
// partnership sources.
const Cp1251Text* payerFault(const IncomeSource& source);
// Payers that must be organisations: the 9% and dividend sources.
const Cp1251Text* organisationPayerFault(const IncomeSource& source);
// The organisation of a pension contract; contributions to the funded pension have none.
const Cp1251Text* pensionContractPayerFault(const PensionContract& contract);

// --- Foreign incomes -----------------------------------------------------------

// A foreign source needs its country: without one the file names none.
const Cp1251Text* foreignCountryMissing(const ForeignIncome& income);

// Each rule gives the message of its fault, or nullptr when the income passes it.
using ForeignIncomeRule = const Cp1251Text* (*)(const ForeignIncome&);
const Cp1251Text* foreignCurrencyMissing(const ForeignIncome& income);
const Cp1251Text* foreignRateMissing(const ForeignIncome& income);
const Cp1251Text* foreignIncomeCodeMissing(const ForeignIncome& income);
// Income 1000 needs a CFC number of eight characters and the way its profit is found.
const Cp1251Text* foreignCfcFault(const ForeignIncome& income);
// An expense code needs an amount, except against a securities income.
const Cp1251Text* foreignDeductionAmountMissing(const ForeignIncome& income);
// The rules in the order both checks apply them.
inline constexpr std::array<ForeignIncomeRule, 5> kForeignIncomeRules = {
    foreignCurrencyMissing, foreignRateMissing, foreignIncomeCodeMissing, foreignCfcFault,
    foreignDeductionAmountMissing};
// Only the whole-return check applies these two: the screen names a date it cannot
// take as the field says it, and a tax without its rate gives a credit of nothing.
const Cp1251Text* foreignTaxRateMissing(const ForeignIncome& income);
const Cp1251Text* foreignIncomeDateOutsideYear(const ForeignIncome& income);

// --- Business incomes ----------------------------------------------------------

// Entrepreneurs and heads of farms choose between documented expenses and the 20% norm.
bool choosesExpenses(const BusinessActivity& activity);
// The first activity that chooses, which every later one must follow; nullptr for none.
const BusinessActivity* firstExpenseChoice(const IncomeList<BusinessActivity>& activities);
// The activity chooses otherwise than the first one did.
bool expenseChoiceDiffers(const BusinessActivity& activity, const BusinessActivity* first);
// An entrepreneur's OKVED code, trimmed, shorter than four characters.
bool okvedTooShort(const BusinessActivity& activity);
// Material expenses, depreciation, labour and other expenses added up.
Money documentedExpenseParts(const BusinessActivity& activity);
// Documented expenses whose parts add up to more than their total: the one fault of
// the parts that the business screen and the whole-return check both report. The parts
// are "в том числе" of the total, which may hold expenses of none of them, so a total
// above its parts is no fault (the screen's message still says "не совпадают").
bool documentedPartsExceedTotal(const BusinessActivity& activity);

const Cp1251Text& mixedExpensesMessage();
const Cp1251Text& okvedLengthMessage();
// The parts exceed the total (the whole-return check).
Cp1251Text expensesOverTotalMessage(Money total, Money parts);
// The parts differ from the total (the business screen).
Cp1251Text expensesMismatchMessage(Money total, Money parts);

// --- Social deductions ---------------------------------------------------------

// Granted with no amount, no child's education and no contract entered.
bool socialDeductionsMissing(const SocialDeduction& deduction);
const Cp1251Text& socialDeductionsMissingMessage();

} // namespace kv
