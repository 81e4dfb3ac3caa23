#include "screens/rules/RateRules.h"

#include "checks/CheckRun.h"
#include "checks/IdentifierChecks.h"
#include "core/Text.h"

namespace kv {

namespace {

// Tax at 9% in ten-thousandths of a rouble times 100: exact for every amount a
// field can hold, so the half rouble is decided without binary fractions.
constexpr std::int64_t kNineRate = 9;
constexpr std::int64_t kPercent = 100;

} // namespace

const Cp1251Text& ninePercentTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 9%");
    return title;
}

const Cp1251Text& dividendsTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы в виде дивидендов");
    return title;
}

const Cp1251Text& thirtyFivePercentTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 35%");
    return title;
}

const Cp1251Text& nonResidentIncomeTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы нерезедентов, облагаемые по ставке 13%");
    return title;
}

// --- Incomes at 9% and dividends ---------------------------------------------------

const FlatIncomeSetup& flatIncomeSetup(FlatIncomeKind kind) {
    static const FlatIncomeSetup nine{FlatIncomeKind::NinePercent, 1011, true, 10};
    static const FlatIncomeSetup dividends{FlatIncomeKind::Dividends, 1010, false, 10};
    return kind == FlatIncomeKind::NinePercent ? nine : dividends;
}

const Cp1251Text& flatIncomeTitle(FlatIncomeKind kind) {
    return kind == FlatIncomeKind::NinePercent ? ninePercentTitle() : dividendsTitle();
}

Money ninePercentTax(Money income) {
    // raw × 9 / 100 is the tax in ten-thousandths; whole roubles are raw × 9 / 1 000 000.
    const __int128 scaled = static_cast<__int128>(income.raw) * kNineRate;
    const __int128 unit = static_cast<__int128>(Money::kScale) * kPercent;
    // Half a rouble rounds up; a negative amount (never typed, but possible in a file)
    // is truncated toward zero like every other rounding of the program.
    const __int128 roubles = scaled >= 0 ? (scaled + unit / 2) / unit : scaled / unit;
    return Money::fromRoubles(static_cast<std::int64_t>(roubles));
}

std::uint16_t checkFlatIncomeDialog(FlatIncomeKind kind, const FlatIncomeValues& v, CheckDialog& dialog) {
    static const Cp1251Text noIncome = Cp1251Text::fromUtf8("Не указана сумма дохода");
    static const Cp1251Text incomeBelowTax =
        Cp1251Text::fromUtf8("Сумма дохода меньше суммы удержанного налога");
    static const Cp1251Text dividendsBelowTax =
        Cp1251Text::fromUtf8("Облагаемая сумма дивидендов меньше суммы удержанного налога");

    const Cp1251Text& title = flatIncomeTitle(kind);
    const PayerField payer = checkOrganisationPayer(dialog, title, v.name, v.oktmo, v.kpp, v.inn);
    if (payer != PayerField::Accept)
        return static_cast<std::uint16_t>(payer);

    CheckRun run(dialog, title);
    const Money income = v.income.value_or(Money{});
    // Both empty is a source still to be completed, not a fault.
    if (kind == FlatIncomeKind::NinePercent && income.isZero() && !v.withheld.isZero())
        run.fault(noIncome, FlatIncomeAmountElement);
    if (v.withheld > income)
        run.fault(kind == FlatIncomeKind::NinePercent ? incomeBelowTax : dividendsBelowTax,
                  FlatWithheldElement);
    return run.result();
}

void storeFlatIncome(FlatIncomeKind kind, const FlatIncomeValues& v, bool newSource,
                     ThirtyPercentSource& source) {
    const FlatIncomeSetup& setup = flatIncomeSetup(kind);
    source.sourceName = v.name;
    source.sourceInn = v.inn;
    source.sourceKpp = v.kpp;
    source.sourceOktmo = v.oktmo;
    source.totalIncome = v.income.value_or(Money{});
    source.taxableAmount = source.totalIncome;
    source.taxWithheld = v.withheld;
    if (newSource)
        source.incomeCode = setup.incomeCode;
    if (setup.computesTax)
        source.taxCalculated = ninePercentTax(source.totalIncome);
}

// --- Incomes at 35% ----------------------------------------------------------------

namespace {

// The 35% dialog has no cost norms: only equality with the income counts.
DeductionChoice withoutPercent(DeductionChoice deduction) {
    deduction.percent = 0;
    return deduction;
}

} // namespace

std::optional<Money> thirtyFiveDeductionOnPick(const DeductionChoice& deduction,
                                               std::optional<Money> income) {
    if (!deduction.equivalent)
        return std::nullopt;
    if (!income.has_value())
        return deduction.maxSum.isZero() ? std::nullopt : std::optional<Money>(Money{});
    return cappedDeductionAmount(deduction, *income);
}

std::optional<Money> thirtyFiveDeductionOnIncome(const DeductionChoice& deduction,
                                                 std::optional<Money> income, std::optional<Money> entered) {
    return derivedDeductionAmount(withoutPercent(deduction), income, entered);
}

IncomeDialogVerdict checkThirtyFiveAmounts(const ThirtyFiveDialogState& s, CheckDialog& dialog) {
    static const Cp1251Text noIncome = Cp1251Text::fromUtf8("Не выбран доход");
    static const Cp1251Text noAmount = Cp1251Text::fromUtf8("Не указана сумма дохода");
    static const Cp1251Text noDeduction = Cp1251Text::fromUtf8("Не выбран вычет");
    static const Cp1251Text overIncome = Cp1251Text::fromUtf8("Сумма вычета превышает сумму дохода");
    static const Cp1251Text withheldOver = Cp1251Text::fromUtf8("Удержанная сумма превышает сумму дохода");

    CheckRun run(dialog, thirtyFivePercentTitle());
    run.offerSkipAll(false);
    // Faults that keep the dialog open however their message is answered.
    bool refused = false;
    const auto mustFix = [&](bool fault, const Cp1251Text& message, std::uint16_t element) {
        if (fault && run.open()) {
            refused = true;
            run.faultNoSkip(message, element);
        }
    };
    const bool amountNeeded = s.incomeCode != kUnstatedIncomeCode;
    const bool withheld = !s.withheld.isZero() && amountNeeded;

    mustFix(!s.incomeChosen, noIncome, RateIncomeCodeElement);
    mustFix(s.incomeEmpty && amountNeeded, noAmount,
            s.incomeChosen ? RateIncomeAmountElement : RateIncomeCodeElement);
    if (s.incomeHasDeductions && !s.deductionChosen)
        run.fault(noDeduction, RateDeductionCodeElement);
    mustFix(s.deductionEditable && !s.deductionEmpty && s.incomeEmpty, overIncome, RateIncomeAmountElement);
    mustFix(s.deductionEditable && s.deduction > s.income, overIncome, RateDeductionAmountElement);
    if (withheld && s.incomeEmpty)
        run.fault(withheldOver, RateIncomeAmountElement);
    if (withheld && s.withheld > s.income)
        run.fault(withheldOver, RateWithheldElement);
    if (run.result() != 0)
        return IncomeDialogVerdict{false, run.result()};
    return IncomeDialogVerdict{!refused, 0};
}

void storeThirtyFive(const ThirtyFiveValues& v, ThirtyFivePercentSource& source) {
    source.sourceName = v.name;
    source.sourceInn = v.inn;
    source.sourceKpp = v.kpp;
    source.sourceOktmo = v.oktmo;
    source.incomeCode = v.incomeCode;
    source.totalIncome = v.income;
    source.deductionCode = v.deductionCode;
    source.deductionAmount = v.deduction;
    source.taxWithheld = v.withheld;
}

// --- Non-residents' incomes at 13% ------------------------------------------------

std::optional<Money> nonResidentDeductionOnIncome(const DeductionChoice& deduction,
                                                  std::optional<Money> entered) {
    if (!entered.has_value())
        return std::nullopt;
    const Money capped = cappedDeductionAmount(deduction, *entered);
    return capped.isZero() ? std::nullopt : std::optional<Money>(capped);
}

IncomeDialogVerdict checkNonResidentIncome(const IncomeDialogState& state, CheckDialog& dialog) {
    return checkIncomeDialog(state, dialog, nonResidentIncomeTitle());
}

} // namespace kv
