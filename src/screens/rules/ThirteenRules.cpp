#include "screens/rules/ThirteenRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "model/IncomeCodes.h"
#include "reference/IncomeDict.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace kv {

namespace {

template <std::size_t N> bool among(const std::array<std::int32_t, N>& codes, std::int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Incomes against which a non-resident may still claim expenses.
constexpr std::array<std::int32_t, 45> kNonResidentDeductionIncomes = {
    2720, 2730, 2740, 2760, 2761, 2762, 2770, 2790, 3011, 1530, 1531, 1532, 1533, 1535, 1536,
    1537, 1538, 1539, 1541, 1544, 1545, 1546, 1547, 1548, 1549, 1551, 1552, 1553, 1554, 9537,
    9538, 9551, 9552, 5002, 5005, 5009, 5011, 5013, 5014, 5017, 5020, 5024, 5026, 5028, 5029};

// Agent deductions counted against the yearly social limit.
constexpr std::array<std::int32_t, 5> kLimitedSocialCodes = {320, 324, 325, 327, 328};
const Money kSocialLimit = Money::fromRoubles(120000);

} // namespace

const Cp1251Text& thirteenPercentTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 13%");
    return title;
}

bool isRealEstateSale(std::int32_t incomeCode) {
    return incomeCode == 1510 || incomeCode == 1511 || incomeCode == 1512;
}

bool incomeMayHaveDeduction(const IncomeEntry& income, bool residentReturn) {
    if (!income.hasDeductions())
        return false;
    if (residentReturn)
        return true;
    std::int32_t code = 0;
    const std::string& digits = income.code.bytes();
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    return error == std::errc() && end == digits.data() + digits.size() &&
           among(kNonResidentDeductionIncomes, code);
}

std::int16_t monthFromText(std::string_view digits) {
    int month = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        month = std::min(month * 10 + (c - '0'), 100);
    }
    return static_cast<std::int16_t>(std::clamp(month, 1, 12));
}

Money cadastralIncome(Money cadastralValue, Money contractPrice) {
    const Money share = productToKopecks(cadastralValue, 7, 10);
    return max(share, contractPrice);
}

ThirteenIncomeItem repeatedIncome(const ThirteenIncomeItem& item) {
    ThirteenIncomeItem next;
    next.incomeCode = item.incomeCode;
    next.incomeName = item.incomeName;
    next.amount = item.amount;
    next.deductionCode = item.deductionCode;
    next.deductionAmount = item.deductionAmount;
    next.deductionPercent = item.deductionPercent;
    next.month = static_cast<std::int16_t>(std::min<int>(item.month + 1, 12));
    return next;
}

int repeatedIncomePosition(const std::vector<ThirteenIncomeItem>& items, int repeated, int month) {
    auto position = static_cast<std::size_t>(repeated) + 1;
    while (position < items.size() && items[position].month <= month)
        ++position;
    return static_cast<int>(position);
}

IncomeDialogVerdict checkIncomeDialog(const IncomeDialogState& s, CheckDialog& dialog,
                                      const Cp1251Text& title) {
    static const Cp1251Text noIncome = Cp1251Text::fromUtf8("Не выбран доход");
    static const Cp1251Text noAmount = Cp1251Text::fromUtf8("Не указана сумма дохода");
    static const Cp1251Text noDeduction = Cp1251Text::fromUtf8("Не выбран вычет");
    const Cp1251Text& overIncome = deductionOverIncomeMessage();

    CheckRun run(dialog, title);
    run.offerSkipAll(false);
    // Faults that keep the dialog open however their message is answered.
    bool refused = false;

    if (!s.incomeChosen)
        run.fault(noIncome, IncomeCodeElement);
    if (s.incomeEmpty && run.open()) {
        refused = true;
        run.faultNoSkip(noAmount, s.incomeChosen ? IncomeAmountElement : IncomeCodeElement);
    }
    if (s.deductionAllowed && !s.deductionChosen)
        run.fault(noDeduction, DeductionCodeElement);
    if (s.deductionEditable && !s.deductionEmpty && s.incomeEmpty && run.open()) {
        refused = true;
        run.faultNoSkip(overIncome, IncomeAmountElement);
    }
    if (s.deductionEditable && s.deduction > s.income &&
        !deductionMayExceedIncome(s.incomeCode, s.deductionCode) && run.open()) {
        refused = true;
        run.faultNoSkip(overIncome, DeductionAmountElement);
    }
    if (run.result() != 0)
        return IncomeDialogVerdict{false, run.result()};
    return IncomeDialogVerdict{!refused, 0};
}

std::uint16_t checkThirteenPercent(const Declaration& d, CheckDialog& dialog) {
    static const Cp1251Text socialOverLimit =
        Cp1251Text::fromUtf8("По данному источнику выплаты сумма предоставленных социальных вычетов (коды "
                             "320,324,325,327,328) превышает допустимые 120 000");

    CheckRun run(dialog, thirteenPercentTitle());
    std::uint16_t position = 0;
    for (const ThirteenPercentSource& source : d.incomes13) {
        ++position;
        if (!run.open())
            break;
        Money limitedSocial;
        for (const AgentDeductionItem& deduction : source.agentDeductions) {
            if (among(kLimitedSocialCodes, deduction.deductionCode))
                limitedSocial += deduction.amount;
        }
        for (const Cp1251Text* message :
             {withheldOverIncome(source), agentDeductionsOverIncome(source, d.kind())}) {
            if (message != nullptr)
                run.fault(*message, position);
        }
        if (limitedSocial > kSocialLimit)
            run.fault(socialOverLimit, position);
    }
    return run.result();
}

} // namespace kv
