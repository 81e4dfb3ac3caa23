#include "compute/StandardByMonth.h"

#include "model/Declaration.h"

namespace kv {

namespace {

constexpr int kMonths = 12;

// Child deductions stop from the month in which the income since January exceeds this.
constexpr std::int64_t kChildIncomeLimit = 350000;

// Monthly amounts per child (Tax Code art. 218): first and second children, third
// and further, disabled children; doubled for a single parent.
constexpr std::int64_t kFirstChildren = 1400;
constexpr std::int64_t kThirdPlusChildren = 3000;
constexpr std::int64_t kDisabledChild = 6000;

constexpr std::int32_t kSelf500 = 104;
constexpr std::int32_t kSelf3000 = 105;
constexpr std::int32_t kSelfByMonth = 110;
constexpr std::int32_t kMonthSelf500 = 1;
constexpr std::int32_t kMonthSelf3000 = 2;

constexpr std::int32_t kParent = 101;
constexpr std::int32_t kSingleParent = 102;
constexpr std::int32_t kStatusByMonth = 103;

// Children in a month; a negative count (only a damaged file can hold one) counts none.
std::int32_t countIn(std::uint8_t constant, std::int32_t count, const MonthInts& byMonth, int m) {
    const std::int32_t n = constant != 0 ? count : byMonth[static_cast<std::size_t>(m)];
    return n < 0 ? 0 : n;
}

Money perChild(std::int32_t children, std::int64_t amount) {
    return Money::fromRoubles(static_cast<std::int64_t>(children) * amount);
}

} // namespace

void StandardByMonthSheet::clearFigures() {
    *this = StandardByMonthSheet{};
}

void StandardByMonthSheet::compute(const Declaration& doc, ReturnComputation&) {
    clearFigures();
    const StandardDeduction& sd = doc.standardDeductions;
    if (doc.kind() != ReturnKind::Resident || sd.granted == 0)
        return;

    // A guardian or foster parent gets half the disabled-child amount of a parent.
    const std::int64_t guardian = sd.isGuardian != 0 ? 1 : 2;

    std::array<bool, kMonths> hasIncome{};
    if (sd.monthlyBusinessSet != 0) {
        // A loss of a month is carried into the following months.
        Money running;
        for (int m = 0; m < kMonths; ++m) {
            const auto i = static_cast<std::size_t>(m);
            hasIncome[i] = sd.monthlyMarks[i] != 0;
            running += sd.monthlyBusinessIncome[i] - sd.monthlyBusinessExpense[i];
            monthlyNet[i] = running;
            monthlyExpense[i] = sd.monthlyBusinessExpense[i];
            cumulativeIncome[i] = max(running, Money{});
        }
    } else {
        std::array<Money, kMonths> income{};
        for (const ThirteenPercentSource& src : doc.incomes13) {
            if (src.isPrimaryWorkplace == 0)
                continue;
            for (const ThirteenIncomeItem& item : src.items) {
                // A line without a month of the year cannot be placed in one.
                if (item.month < 1 || item.month > kMonths)
                    continue;
                const auto i = static_cast<std::size_t>(item.month - 1);
                income[i] += item.amount - item.deductionAmount;
                hasIncome[i] = true;
            }
        }
        Money running;
        for (std::size_t i = 0; i < kMonths; ++i) {
            running += income[i];
            cumulativeIncome[i] = running;
        }
    }

    std::array<bool, kMonths> eligible{};
    const Money childLimit = Money::fromRoubles(kChildIncomeLimit);
    for (std::size_t i = 0; i < kMonths && cumulativeIncome[i] <= childLimit; ++i) {
        eligible[i] = hasIncome[i];
        if (eligible[i])
            ++childMonths;
    }

    // The taxpayer's own deduction is not bound by the income limit.
    for (int m = 0; m < kMonths; ++m) {
        if (!hasIncome[static_cast<std::size_t>(m)])
            continue;
        const std::int32_t monthCode = sd.monthlySelfCodes[static_cast<std::size_t>(m)];
        if (sd.selfCode == kSelf500 || (sd.selfCode == kSelfByMonth && monthCode == kMonthSelf500))
            std500 += Money::fromRoubles(500);
        else if (sd.selfCode == kSelf3000 || (sd.selfCode == kSelfByMonth && monthCode == kMonthSelf3000))
            std3000 += Money::fromRoubles(3000);
    }

    if (sd.childStatus == 0)
        return;
    for (int m = 0; m < kMonths; ++m) {
        const auto i = static_cast<std::size_t>(m);
        if (!eligible[i])
            continue;
        bool doubled = false;
        if (sd.childStatus == kSingleParent)
            doubled = true;
        else if (sd.childStatus == kStatusByMonth)
            doubled = sd.monthlyChildStatus[i] == 0; // "да": single-parent status in that month
        else if (sd.childStatus != kParent)
            continue;
        const std::int64_t factor = doubled ? 2 : 1;
        const Money children =
            perChild(countIn(sd.childrenConstant, sd.childrenCount, sd.childrenByMonth, m),
                     kFirstChildren * factor) +
            perChild(countIn(sd.thirdPlusConstant, sd.thirdPlusCount, sd.thirdPlusByMonth, m),
                     kThirdPlusChildren * factor);
        const Money disabled = perChild(countIn(sd.disabledConstant, sd.disabledCount, sd.disabledByMonth, m),
                                        kDisabledChild * guardian * factor);
        if (doubled) {
            childSingleParent += children;
            disabledChildSingleParent += disabled;
        } else {
            child += children;
            disabledChild += disabled;
        }
    }
}

} // namespace kv
