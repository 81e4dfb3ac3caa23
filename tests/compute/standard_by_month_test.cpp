// Standard deductions month by month: the months with income, the 350 000 limit
// on child deductions, the taxpayer's own deduction, single-parent and guardian
// amounts.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kv::test {
namespace {

// A primary workplace paying `monthly` (less `deduction`) in months first..last.
void salary(SheetFixture& f, Money monthly, int first = 1, int last = 12, Money deduction = Money{}) {
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.isPrimaryWorkplace = 1;
    for (int m = first; m <= last; ++m)
        src.addItem(
            item(2000, monthly, deduction.isZero() ? 0 : 403, deduction, static_cast<std::int16_t>(m)));
}

struct Expected {
    int childMonths;
    Money std3000, std500, child, childSingleParent, disabledChild, disabledChildSingleParent;
};

struct Case {
    const char* name;
    std::function<void(SheetFixture&, StandardDeduction&)> setup;
    Expected expected;
};

// clang-format off
const Case kCases[] = {
    // 60 000 less 10 000 a month: 350 000 exactly at the end of July still counts,
    // 400 000 in August stops: 7 months × 2 children × 1 400 = 19 600.
    {"TwoChildrenUntilTheLimit",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(60000), 1, 12, rub(10000)); sd.setChildrenCount(2); },
     {7, {}, {}, rub(19600), {}, {}, {}}},
    // 70 000 a month: 350 000 in May, 420 000 in June: 5 × 1 400.
    {"LimitReachedInMay",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(70000)); sd.setChildrenCount(1); },
     {5, {}, {}, rub(7000), {}, {}, {}}},
    // A source that is not the primary workplace is not counted.
    {"OnlyThePrimaryWorkplace",
     [](SheetFixture& f, StandardDeduction& sd) {
         salary(f, rub(10000), 1, 3);
         f.addSource13("", Money{}).addItem(item(2000, rub(500000), 0, Money{}, 1));
         sd.setChildrenCount(1);
     },
     {3, {}, {}, rub(4200), {}, {}, {}}},
    // Own deduction of 3 000 for all 9 months with income, past the 350 000 limit;
    // the child deduction only to March (300 000; April is 400 000).
    {"OwnDeductionIgnoresTheLimit",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(100000), 1, 9); sd.selfCode = 105; sd.setChildrenCount(1); },
     {3, rub(27000), {}, rub(4200), {}, {}, {}}},
    {"FiveHundredAMonth",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000), 3, 12); sd.selfCode = 104; sd.childStatus = 0; },
     {10, {}, rub(5000), {}, {}, {}, {}}},
    // Code 110: January 500, February 3 000, the rest nothing.
    {"OwnDeductionByMonth",
     [](SheetFixture& f, StandardDeduction& sd) {
         salary(f, rub(10000));
         sd.selfCode = 110;
         sd.monthlySelfCodesSet = 1;
         sd.monthlySelfCodes[0] = 1;
         sd.monthlySelfCodes[1] = 2;
     },
     {12, rub(3000), rub(500), {}, {}, {}, {}}},
    // A guardian: 6 000 a month for a disabled child; a parent: 12 000.
    {"GuardianOfDisabledChild",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000)); sd.isGuardian = 1; sd.setDisabledCount(1); },
     {12, {}, {}, {}, {}, rub(72000), {}}},
    {"ParentOfDisabledChild",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000)); sd.setDisabledCount(1); },
     {12, {}, {}, {}, {}, rub(144000), {}}},
    {"SingleParentOfDisabledChild",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000)); sd.childStatus = 102; sd.setDisabledCount(1); },
     {12, {}, {}, {}, {}, {}, rub(288000)}},
    // Children varying by month: one in January-June, two from July, and a third
    // child all year: 6 × 1 400 + 6 × 2 800 + 12 × 3 000 = 61 200, doubled 122 400.
    {"SingleParentChildrenByMonth",
     [](SheetFixture& f, StandardDeduction& sd) {
         salary(f, rub(10000));
         sd.childStatus = 102;
         for (int m = 0; m < 12; ++m)
             sd.setChildrenInMonth(m, m < 6 ? 1 : 2);
         sd.setThirdPlusCount(1);
     },
     {12, {}, {}, {}, rub(122400), {}, {}}},
    // Single-parent status in March only: March 2 800, eleven months 1 400.
    {"StatusChangedDuringTheYear",
     [](SheetFixture& f, StandardDeduction& sd) {
         salary(f, rub(10000));
         sd.childStatus = 103;
         sd.monthlyChildStatusSet = 1;
         sd.monthlyChildStatus.fill(1);
         sd.monthlyChildStatus[2] = 0;
         sd.setChildrenCount(1);
     },
     {12, {}, {}, rub(15400), rub(2800), {}, {}}},
    // Entrepreneur: January +100 000, February −150 000, March +30 000, April
    // +400 000. Running net 100 000, −50 000 (0), −20 000 (0), 380 000: the limit
    // stops in April, so January to March count.
    {"EntrepreneurLossCarriedForward",
     [](SheetFixture& f, StandardDeduction& sd) {
         salary(f, rub(10000)); // ignored: monthly business figures are in use
         sd.monthlyBusinessSet = 1;
         sd.monthlyBusinessIncome[0] = rub(100000);
         sd.monthlyBusinessExpense[1] = rub(150000);
         sd.monthlyBusinessIncome[2] = rub(30000);
         sd.monthlyBusinessIncome[3] = rub(400000);
         for (int m = 0; m < 4; ++m)
             sd.monthlyMarks[static_cast<std::size_t>(m)] = 1;
         sd.setChildrenCount(1);
     },
     {3, {}, {}, rub(4200), {}, {}, {}}},
    {"NoPrimaryWorkplace",
     [](SheetFixture& f, StandardDeduction& sd) {
         f.addSource13("", Money{}).addItem(item(2000, rub(10000)));
         sd.selfCode = 105;
         sd.setChildrenCount(2);
     },
     {0, {}, {}, {}, {}, {}, {}}},
    {"NotGranted",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000)); sd.granted = 0; sd.setChildrenCount(2); },
     {0, {}, {}, {}, {}, {}, {}}},
    {"NonResident",
     [](SheetFixture& f, StandardDeduction& sd) { salary(f, rub(10000)); f.doc.declarationKind = 1; sd.setChildrenCount(2); },
     {0, {}, {}, {}, {}, {}, {}}},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class MonthCases : public ::testing::TestWithParam<Case> {};

TEST_P(MonthCases, YearTotals) {
    const Case& c = GetParam();
    SheetFixture f;
    f.doc.standardDeductions.granted = 1;
    c.setup(f, f.doc.standardDeductions);
    StandardByMonthSheet& s = f.root.standardByMonth;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.childMonths, c.expected.childMonths);
    EXPECT_EQ(s.std3000, c.expected.std3000);
    EXPECT_EQ(s.std500, c.expected.std500);
    EXPECT_EQ(s.child, c.expected.child);
    EXPECT_EQ(s.childSingleParent, c.expected.childSingleParent);
    EXPECT_EQ(s.disabledChild, c.expected.disabledChild);
    EXPECT_EQ(s.disabledChildSingleParent, c.expected.disabledChildSingleParent);
}

INSTANTIATE_TEST_SUITE_P(StandardByMonth, MonthCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StandardByMonth, CumulativeIncomeOfAnEntrepreneurNeverBelowZero) {
    SheetFixture f;
    StandardDeduction& sd = f.doc.standardDeductions;
    sd.granted = 1;
    sd.monthlyBusinessSet = 1;
    sd.monthlyBusinessIncome[0] = rub(100000);
    sd.monthlyBusinessExpense[1] = rub(150000);
    sd.monthlyBusinessIncome[2] = rub(30000);
    f.root.standardByMonth.compute(f.doc, f.root);
    const StandardByMonthSheet& s = f.root.standardByMonth;
    EXPECT_EQ(s.cumulativeIncome[0], rub(100000));
    EXPECT_EQ(s.cumulativeIncome[1], Money{});
    EXPECT_EQ(s.cumulativeIncome[2], Money{});
    EXPECT_EQ(s.monthlyNet[2], rub(-20000));
    EXPECT_EQ(s.monthlyExpense[1], rub(150000));
    EXPECT_EQ(s.cumulativeIncome[11], Money{});
    EXPECT_EQ(s.childMonths, 0); // no month marked
}

} // namespace
} // namespace kv::test
