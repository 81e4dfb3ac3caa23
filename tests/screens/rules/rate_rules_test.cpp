// Rules of the screens of incomes at 9% and 35%, dividends and non-residents'
// incomes at 13%: the 9% tax, what an accepted dialog stores, how the deduction
// amount follows the income, and each dialog's checks in one table.
#include "screens/rules/RateRules.h"
#include "support/TestValues.h"

#include "checks/ScriptedCheckDialog.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kv::test::amount;
using kv::test::rub;

namespace kv {
namespace {

using A = CheckAnswer;

Money amount(const char* text) {
    return parseMoney(text, '.').value();
}

// A message as the user saw it, and whether "Пропустить" was enabled for it.
struct Shown {
    std::string message;
    bool skipEnabled;
    friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << '"' << s.message << "\" skip " << s.skipEnabled;
}

std::vector<Shown> shownOf(const ScriptedCheckDialog& dialog) {
    std::vector<Shown> out;
    for (const CheckQuestion& q : dialog.asked())
        out.push_back({q.message.utf8(), q.skipEnabled});
    return out;
}

DeductionChoice deduction(const char* income, const char* code) {
    const IncomeEntry* entry =
        IncomeDict::builtIn().findIncome(Cp1251Text::fromBytes(std::string_view(income)));
    const DeductionEntry* row =
        entry != nullptr ? entry->findDeduction(Cp1251Text::fromBytes(std::string_view(code))) : nullptr;
    if (row == nullptr)
        throw std::logic_error("not in the dictionary");
    return chooseDeduction(*row);
}

TEST(NinePercentTax, WholeRoublesHalfUp) {
    const struct {
        const char* income;
        std::int64_t tax;
    } cases[] = {
        {"10000.50", 900},                                   // 900,045
        {"10005.60", 901},                                   // 900,504
        {"50", 5},                                           // 4,5 exactly: the half goes up
        {"49.9999", 4},                                      // 4,499991
        {"0", 0},          {"999999999999.99", 90000000000}, // the largest amount the field takes
        {"-50", -4},                                         // not typed, but a file may hold it: toward zero
    };
    for (const auto& c : cases)
        EXPECT_EQ(ninePercentTax(amount(c.income)), rub(c.tax)) << c.income;
}

TEST(FlatIncome, StoredValuesOfANewAndAnEditedSource) {
    FlatIncomeValues v{Cp1251Text{"N"},        Cp1251Text{"1234567894"}, Cp1251Text{"773601001"},
                       Cp1251Text{"45382000"}, amount("10005.60"),       rub(900)};

    ThirtyPercentSource nine;
    storeFlatIncome(FlatIncomeKind::NinePercent, v, true, nine);
    EXPECT_EQ(nine.incomeCode, 1011);
    EXPECT_EQ(nine.totalIncome, amount("10005.60"));
    EXPECT_EQ(nine.taxableAmount, amount("10005.60"));
    EXPECT_EQ(nine.taxCalculated, rub(901));
    EXPECT_EQ(nine.taxWithheld, rub(900));
    EXPECT_EQ(nine.sourceOktmo, Cp1251Text{"45382000"});

    // Editing keeps the stored code, whatever it is, and recomputes the tax.
    nine.incomeCode = 1110;
    v.income.reset();
    storeFlatIncome(FlatIncomeKind::NinePercent, v, false, nine);
    EXPECT_EQ(nine.incomeCode, 1110);
    EXPECT_EQ(nine.totalIncome, Money{});
    EXPECT_EQ(nine.taxCalculated, Money{});

    ThirtyPercentSource dividends;
    dividends.taxCalculated = rub(7); // written by others, never by the dialog
    v.income = rub(1000);
    storeFlatIncome(FlatIncomeKind::Dividends, v, true, dividends);
    EXPECT_EQ(dividends.incomeCode, 1010);
    EXPECT_EQ(dividends.taxableAmount, rub(1000));
    EXPECT_EQ(dividends.taxCalculated, rub(7));
}

struct FlatCase {
    const char* what;
    FlatIncomeKind kind;
    const char* name;
    std::optional<Money> income;
    Money withheld;
    std::vector<A> script;
    std::vector<std::string> shown;
    std::uint16_t element;
};

TEST(FlatIncome, ChecksOfTheDialog) {
    const auto nine = FlatIncomeKind::NinePercent;
    const auto dividends = FlatIncomeKind::Dividends;
    const std::string noIncome = "Не указана сумма дохода";
    const std::string belowTax = "Сумма дохода меньше суммы удержанного налога";
    const std::string dividendsBelow = "Облагаемая сумма дивидендов меньше суммы удержанного налога";
    const FlatCase cases[] = {
        {"complete", nine, "ООО", rub(1000), rub(90), {}, {}, 0},
        {"nothing entered yet", nine, "ООО", std::nullopt, Money{}, {}, {}, 0},
        {"tax without income",
         nine,
         "ООО",
         std::nullopt,
         rub(90),
         {A::Fix},
         {noIncome},
         FlatIncomeAmountElement},
        {"skipped, then the tax above the income",
         nine,
         "ООО",
         rub(0),
         rub(90),
         {A::Skip, A::Fix},
         {noIncome, belowTax},
         FlatWithheldElement},
        {"skip all ends the run", nine, "ООО", std::nullopt, rub(90), {A::SkipAll}, {noIncome}, 0},
        {"tax above the income skipped", nine, "ООО", rub(50), rub(90), {A::Skip}, {belowTax}, 0},
        {"dividends below their tax",
         dividends,
         "ООО",
         rub(50),
         rub(90),
         {A::Fix},
         {dividendsBelow},
         FlatWithheldElement},
        {"dividends without tax", dividends, "ООО", std::nullopt, Money{}, {}, {}, 0},
        {"the payer comes first",
         dividends,
         "",
         rub(50),
         rub(90),
         {A::Fix},
         {"Не заполненно поле \"Наименование источника выплаты\""},
         FlatNameElement},
    };
    for (const FlatCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedCheckDialog dialog(c.script);
        const FlatIncomeValues v{Cp1251Text::fromUtf8(c.name),
                                 Cp1251Text{"1234567894"},
                                 Cp1251Text{"773601001"},
                                 Cp1251Text{"45382000"},
                                 c.income,
                                 c.withheld};
        EXPECT_EQ(checkFlatIncomeDialog(c.kind, v, dialog), c.element);
        std::vector<std::string> shown;
        for (const CheckQuestion& q : dialog.asked()) {
            shown.push_back(q.message.utf8());
            EXPECT_EQ(q.title().utf8(), c.kind == nine ? "Проверка: Доходы, облагаемые по ставке 9%"
                                                       : "Проверка: Доходы в виде дивидендов");
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(dialog.unexpected(), 0u);
    }
}

TEST(ThirtyFive, DeductionAmountFollowsTheIncomeButKeepsWhatWasTyped) {
    const DeductionChoice prize = deduction("2740", "505"); // equal to the income, at most 4 000
    const DeductionChoice none = deduction("2740", "0");    // hidden, no cap
    const DeductionChoice typed = deduction("2010", "403"); // typed, no cap
    const std::optional<Money> empty;

    EXPECT_EQ(thirtyFiveDeductionOnPick(prize, rub(10000)), rub(4000));
    EXPECT_EQ(thirtyFiveDeductionOnPick(prize, rub(3000)), rub(3000));
    EXPECT_EQ(thirtyFiveDeductionOnPick(prize, empty), Money{});
    EXPECT_EQ(thirtyFiveDeductionOnPick(none, rub(3000)), empty);
    EXPECT_EQ(thirtyFiveDeductionOnPick(typed, rub(3000)), empty);

    EXPECT_EQ(thirtyFiveDeductionOnIncome(prize, rub(10000), rub(1)), rub(4000));
    EXPECT_EQ(thirtyFiveDeductionOnIncome(prize, rub(3000), rub(4000)), rub(3000));
    EXPECT_EQ(thirtyFiveDeductionOnIncome(prize, empty, rub(3000)), Money{});
    // A typed amount survives every change of the income.
    EXPECT_EQ(thirtyFiveDeductionOnIncome(typed, rub(10), rub(2500)), rub(2500));
    EXPECT_EQ(thirtyFiveDeductionOnIncome(typed, empty, rub(2500)), rub(2500));
    EXPECT_EQ(thirtyFiveDeductionOnIncome(none, rub(10), empty), empty);
}

TEST(NonResident, DeductionAmountIsOnlyCapped) {
    DeductionChoice capped = deduction("2010", "403");
    capped.maxSum = rub(100);
    capped.equivalent = true; // even so, the income is not copied into it
    EXPECT_EQ(nonResidentDeductionOnIncome(capped, rub(150)), rub(100));
    EXPECT_EQ(nonResidentDeductionOnIncome(capped, rub(50)), rub(50));
    EXPECT_EQ(nonResidentDeductionOnIncome(capped, Money{}), std::nullopt);
    EXPECT_EQ(nonResidentDeductionOnIncome(capped, std::nullopt), std::nullopt);
}

ThirtyFiveDialogState prizeWithDeduction() {
    ThirtyFiveDialogState s;
    s.incomeChosen = true;
    s.incomeCode = 2740;
    s.incomeEmpty = false;
    s.income = rub(10000);
    s.incomeHasDeductions = true;
    s.deductionChosen = true;
    s.deductionEditable = true;
    s.deductionEmpty = false;
    s.deduction = rub(4000);
    s.withheld = rub(2100);
    return s;
}

struct ThirtyFiveCase {
    const char* what;
    void (*change)(ThirtyFiveDialogState&);
    std::vector<A> script;
    std::vector<Shown> shown;
    IncomeDialogVerdict verdict;
};

TEST(ThirtyFive, ChecksOfTheDialog) {
    const std::string noCode = "Не выбран доход";
    const std::string noAmount = "Не указана сумма дохода";
    const std::string noDeduction = "Не выбран вычет";
    const std::string over = "Сумма вычета превышает сумму дохода";
    const std::string withheld = "Удержанная сумма превышает сумму дохода";
    const ThirtyFiveCase cases[] = {
        {"complete", [](ThirtyFiveDialogState&) {}, {}, {}, {true, 0}},
        {"no code cannot be skipped",
         [](ThirtyFiveDialogState& s) {
             s = ThirtyFiveDialogState{};
             s.incomeEmpty = false;
         },
         {A::Fix},
         {{noCode, false}},
         {false, RateIncomeCodeElement}},
        {"closing the message is \"Исправить\"",
         [](ThirtyFiveDialogState& s) { s = ThirtyFiveDialogState{}; },
         {A::None},
         {{noCode, false}},
         {false, RateIncomeCodeElement}},
        {"2620 needs no amount and no withheld check",
         [](ThirtyFiveDialogState& s) {
             s.incomeCode = kUnstatedIncomeCode;
             s.incomeEmpty = true;
             s.income = Money{};
             s.incomeHasDeductions = false;
             s.deductionEditable = false;
         },
         {},
         {},
         {true, 0}},
        {"deduction not chosen may be skipped",
         [](ThirtyFiveDialogState& s) {
             s.deductionChosen = false;
             s.deductionEditable = false;
         },
         {A::Skip},
         {{noDeduction, true}},
         {true, 0}},
        {"no amount, the message closed",
         [](ThirtyFiveDialogState& s) {
             s.incomeEmpty = true;
             s.income = Money{};
             s.deductionChosen = false;
             s.deductionEditable = false;
             s.withheld = Money{};
         },
         {A::None},
         {{noAmount, false}},
         {false, RateIncomeAmountElement}},
        {"deduction without income",
         [](ThirtyFiveDialogState& s) {
             s.incomeEmpty = true;
             s.income = Money{};
             s.withheld = Money{};
         },
         {A::Fix},
         {{noAmount, false}},
         {false, RateIncomeAmountElement}},
        {"deduction above the income",
         [](ThirtyFiveDialogState& s) { s.deduction = rub(10001); },
         {A::Fix},
         {{over, false}},
         {false, RateDeductionAmountElement}},
        {"hidden deduction is not compared",
         [](ThirtyFiveDialogState& s) {
             s.deduction = rub(10001);
             s.deductionEditable = false;
         },
         {},
         {},
         {true, 0}},
        {"tax above the income goes to the tax",
         [](ThirtyFiveDialogState& s) { s.withheld = rub(10001); },
         {A::Fix},
         {{withheld, true}},
         {false, RateWithheldElement}},
        {"tax above the income may be skipped",
         [](ThirtyFiveDialogState& s) { s.withheld = rub(10001); },
         {A::Skip},
         {{withheld, true}},
         {true, 0}},
    };
    for (const ThirtyFiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        ThirtyFiveDialogState s = prizeWithDeduction();
        c.change(s);
        ScriptedCheckDialog dialog(c.script);
        EXPECT_EQ(checkThirtyFiveAmounts(s, dialog), c.verdict);
        EXPECT_EQ(shownOf(dialog), c.shown);
        for (const CheckQuestion& q : dialog.asked()) {
            EXPECT_EQ(q.title().utf8(), "Проверка: Доходы, облагаемые по ставке 35%");
            EXPECT_FALSE(q.skipAllEnabled);
        }
        EXPECT_EQ(dialog.unexpected(), 0u);
    }
}

TEST(NonResident, IncomeChecksUnderTheirOwnTitle) {
    const std::string over = "Сумма вычета превышает сумму дохода";
    const struct {
        const char* what;
        std::int32_t income;
        std::int32_t deduction;
        std::vector<A> script;
        std::vector<Shown> shown;
        IncomeDialogVerdict verdict;
    } cases[] = {
        {"no code may be skipped", 0, 0, {A::Skip}, {{"Не выбран доход", true}}, {true, 0}},
        {"expenses above a salary are refused", 2010, 403, {A::Fix}, {{over, false}}, {false, 4}},
        {"securities expenses may exceed the income", 1530, 201, {}, {}, {true, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IncomeDialogState s;
        s.incomeChosen = c.income != 0;
        s.incomeCode = c.income;
        s.incomeEmpty = false;
        s.income = rub(100);
        s.deductionAllowed = c.deduction != 0;
        s.deductionChosen = c.deduction != 0;
        s.deductionCode = c.deduction;
        s.deductionEditable = c.deduction != 0;
        s.deductionEmpty = c.deduction == 0;
        s.deduction = c.deduction != 0 ? rub(150) : Money{};
        ScriptedCheckDialog dialog(c.script);
        EXPECT_EQ(checkNonResidentIncome(s, dialog), c.verdict);
        EXPECT_EQ(shownOf(dialog), c.shown);
        for (const CheckQuestion& q : dialog.asked())
            EXPECT_EQ(q.title().utf8(), "Проверка: Доходы нерезедентов, облагаемые по ставке 13%");
        EXPECT_EQ(dialog.unexpected(), 0u);
    }
}

} // namespace
} // namespace kv
