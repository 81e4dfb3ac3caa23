// The computation root: the order and the sheets each kind of return computes,
// the figures of a return filled as a person would, repeatable runs, and the one
// error of a computation that cannot be done.
#include "SheetFixture.h"

#include "core/Text.h"

#include <gtest/gtest.h>

#include <limits>

namespace kv::test {
namespace {

// The sheets built in this layer's root part, compared whole.
void expectSameAppendices(const ReturnComputation& a, const ReturnComputation& b) {
    EXPECT_EQ(a.russian9, b.russian9);
    EXPECT_EQ(a.russian13, b.russian13);
    EXPECT_EQ(a.russian15, b.russian15);
    EXPECT_EQ(a.russian30, b.russian30);
    EXPECT_EQ(a.russian35, b.russian35);
    EXPECT_EQ(a.foreign13, b.foreign13);
    EXPECT_EQ(a.foreign9, b.foreign9);
    EXPECT_EQ(a.foreign35, b.foreign35);
    EXPECT_EQ(a.business, b.business);
    EXPECT_EQ(a.profDeductRussia, b.profDeductRussia);
    EXPECT_EQ(a.profDeductForeign, b.profDeductForeign);
    EXPECT_EQ(a.exemptIncome, b.exemptIncome);
    EXPECT_EQ(a.stdSocialDeductions, b.stdSocialDeductions);
    EXPECT_EQ(a.standardByMonth, b.standardByMonth);
    EXPECT_EQ(a.pensionContracts, b.pensionContracts);
    EXPECT_EQ(a.propertySale, b.propertySale);
}

// A resident's return as a person fills it: a salary of 100 000 a month with the
// tax withheld, a car held under three years sold for 400 000, treatment, own and
// a child's education, dividends from abroad with tax paid there, two children.
void fillWorkedReturn(Declaration& doc) {
    doc.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    ThirteenPercentSource employer;
    employer.sourceOktmo = "45000000";
    employer.isPrimaryWorkplace = 1;
    employer.taxWithheld = rub(156000);
    for (int m = 1; m <= 12; ++m)
        employer.addItem(item(2000, rub(100000), 0, Money{}, static_cast<std::int16_t>(m)));
    doc.incomes13.add(employer);
    ThirteenPercentSource buyer;
    buyer.addItem(item(1520, rub(400000), 906, rub(400000)));
    doc.incomes13.add(buyer);

    ForeignIncome dividends;
    dividends.incomeRate = 14;
    dividends.incomeCode = 1010;
    dividends.incomeInRubles = rub(100000);
    dividends.taxInRubles = rub(10000);
    doc.foreignIncomes.add(dividends);

    doc.standardDeductions.granted = 1;
    doc.standardDeductions.setChildrenCount(2);
    SocialDeduction& social = doc.socialDeductions;
    social.granted = 1;
    social.medical = rub(80000);
    social.ownEducation = rub(50000);
    social.childEducation.add(rub(60000));
}

TEST(Computation, WorkedResidentReturn) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    fillWorkedReturn(doc);
    ReturnComputation sum;
    // Dividends owe 13 000 less the 10 000 paid abroad: tax is payable.
    EXPECT_FALSE(sum.compute(doc));

    // 1 200 000 of salary + 400 000 for the car.
    EXPECT_EQ(sum.russian13.totalIncome, rub(1600000));
    EXPECT_EQ(sum.russian13.taxWithheld, rub(156000));
    EXPECT_EQ(doc.incomes13.get(0).incomeKind, Cp1251Text{"07"});
    EXPECT_EQ(doc.incomes13.get(0).taxableIncome, rub(1200000));
    EXPECT_EQ(doc.incomes13.get(0).computedTax, rub(156000));
    EXPECT_EQ(doc.incomes13.get(1).incomeKind, Cp1251Text{"03"});
    // The car: 250 000 at most.
    EXPECT_EQ(sum.propertySale.otherPropertyDeduction, rub(250000));
    EXPECT_EQ(sum.propertySale.totalPropertySale, rub(250000));
    // Income passes 350 000 in April: January-March × 2 children × 1 400.
    EXPECT_EQ(sum.standardByMonth.childMonths, 3);
    EXPECT_EQ(sum.stdSocialDeductions.child, rub(8400));
    EXPECT_EQ(sum.stdSocialDeductions.standardInReturn, rub(8400));
    // Child's education 50 000; treatment 80 000 + own education 50 000 -> 120 000.
    EXPECT_EQ(sum.stdSocialDeductions.childEducation, rub(50000));
    EXPECT_EQ(sum.stdSocialDeductions.cappedExpensesTotal, rub(120000));
    EXPECT_EQ(sum.stdSocialDeductions.socialInReturn, rub(170000));
    EXPECT_EQ(sum.stdSocialDeductions.stdSocialInReturn, rub(178400));
    // Dividends: 13 000 due, 10 000 credited.
    EXPECT_EQ(sum.foreign13.dividendIncome, rub(100000));
    EXPECT_EQ(sum.foreign13.dividendTaxCredit, rub(10000));
    EXPECT_EQ(sum.foreign13.lines.at(0).taxRf, rub(13000));

    // Section 2 at 13%: 1 600 000 − (178 400 + 250 000) = 1 171 600, tax 152 308,
    // 156 000 withheld: 3 692 refunded. Dividends: 13 000 − 10 000 = 3 000 to pay.
    EXPECT_EQ(sum.section2Other13.deductions, rub(428400));
    EXPECT_EQ(sum.section2Other13.taxBase, rub(1171600));
    EXPECT_EQ(sum.section2Other13.taxCalculated, rub(152308));
    EXPECT_EQ(sum.section2Other13.taxToRefund, rub(3692));
    EXPECT_EQ(sum.section2Dividends13.taxCalculated, rub(13000));
    EXPECT_EQ(sum.section2Dividends13.taxToPay, rub(3000));
}

TEST(Computation, FreshRunsOverOneDocumentAgree) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    fillWorkedReturn(doc);
    ReturnComputation first;
    const bool r1 = first.compute(doc);
    const Declaration afterFirst = doc;
    ReturnComputation second;
    const bool r2 = second.compute(doc);
    EXPECT_EQ(r1, r2);
    EXPECT_EQ(doc, afterFirst);
    expectSameAppendices(first, second);
    EXPECT_EQ(first.section2Other13.taxToRefund, second.section2Other13.taxToRefund);
    EXPECT_EQ(first.section1.lineCount, second.section1.lineCount);
}

TEST(Computation, EstimatedIncomeReturnComputesNothing) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    fillWorkedReturn(doc);
    doc.declarationKind = 2;
    ReturnComputation sum;
    EXPECT_TRUE(sum.compute(doc));
    const ReturnComputation empty;
    expectSameAppendices(sum, empty);
    EXPECT_EQ(sum.section1.lineCount, 0);
    EXPECT_EQ(sum.section2Other13.totalIncome, Money{});
    EXPECT_EQ(doc.incomes13.get(0).incomeKind, Cp1251Text{""});
}

TEST(Computation, TerminationReturnComputesOnlyTheBusiness) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    fillWorkedReturn(doc);
    doc.setIncomeFlags(doc.incomeFlags() | Declaration::kBusinessIncomes);
    BusinessActivity shop;
    shop.incomeAmount = rub(500000);
    shop.totalExpenses = rub(300000);
    doc.businessIncomes.add(shop);
    doc.declarationKind = 3;
    ReturnComputation sum;
    sum.compute(doc);
    EXPECT_EQ(sum.business.totalIncome, rub(500000));
    EXPECT_EQ(sum.business.professionalDeductions, rub(300000));
    // 13% of 200 000.
    EXPECT_EQ(sum.section2Other13.taxCalculated, rub(26000));
    EXPECT_EQ(sum.russian13, RussianIncome13Sheet{});
    EXPECT_EQ(sum.foreign13, ForeignIncomeSheet{});
    EXPECT_EQ(sum.stdSocialDeductions, Appendix5Sheet{});
    EXPECT_EQ(sum.propertySale, Appendix6Sheet{});
    EXPECT_EQ(sum.section2Dividends13.totalIncome, Money{});
    EXPECT_EQ(doc.incomes13.get(0).incomeKind, Cp1251Text{""});
}

TEST(Computation, WithoutIncomeKindsOnlyTheRussianAndBusinessSheetsRun) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    doc.socialDeductions.granted = 1;
    doc.socialDeductions.medical = rub(10000);
    doc.investmentDeductions.invIisContributions = rub(50000);
    doc.tradeFee = rub(1000);
    ReturnComputation sum;
    sum.compute(doc);
    EXPECT_EQ(sum.stdSocialDeductions, Appendix5Sheet{});
    EXPECT_EQ(sum.section2Other13.deductions, Money{});
    // The business sheet still ran: no business, so no trade fee is credited, and
    // the document keeps the fee for when the box is turned on again.
    EXPECT_EQ(sum.business.tradeFee, Money{});
    EXPECT_EQ(sum.section2Other13.tradeFeeCredited, Money{});
    EXPECT_EQ(doc.tradeFee, rub(1000));
}

TEST(Computation, AmountsBeyondRangeRaiseTheComputationError) {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    doc.setIncomeFlags(Declaration::kAgentIncomes);
    const Money huge = Money::fromRaw(std::numeric_limits<std::int64_t>::max() / 2 + 1);
    for (int i = 0; i < 2; ++i) {
        ThirteenPercentSource src;
        src.addItem(item(2000, huge));
        doc.incomes13.add(src);
    }
    ReturnComputation sum;
    try {
        sum.compute(doc);
        FAIL() << "no error";
    } catch (const ComputationError& e) {
        EXPECT_EQ(Cp1251Text::fromBytes(std::string_view(e.what())).utf8(),
                  "Ошибка в рассчетах. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
    }
}

} // namespace
} // namespace kv::test
