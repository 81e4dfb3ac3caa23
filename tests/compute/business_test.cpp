// Business incomes and professional deductions: expenses never above the income,
// documented or standard expenses, the code pairs of art. 221, and the trade fee
// and patent payments of a return without business, which count as zero.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv::test {
namespace {

BusinessActivity activity(Money income, bool documented, Money total, Money standard) {
    BusinessActivity b;
    b.activityKind = "1";
    b.incomeAmount = income;
    b.hasDocumentedExpenses = documented ? 1 : 0;
    b.totalExpenses = total;
    b.standardExpenses = standard;
    return b;
}

TEST(Business, ExpensesDocumentedOrStandardAndNeverAboveIncome) {
    struct Row {
        const char* name;
        std::vector<BusinessActivity> activities;
        Money income, deductions;
    };
    // 100 000 with 150 000 documented: capped to 100 000. Without documents the
    // standard 20 000 counts, whatever the documented field holds. Two activities:
    // 300 000 income, 150 000 documented + 40 000 standard = 190 000.
    const Row rows[] = {
        {"CappedAtIncome", {activity(rub(100000), true, rub(150000), Money{})}, rub(100000), rub(100000)},
        {"StandardExpenses", {activity(rub(100000), false, rub(90000), rub(20000))}, rub(100000), rub(20000)},
        {"TwoActivities",
         {activity(rub(200000), true, rub(150000), rub(5)),
          activity(rub(100000), false, Money{}, rub(40000))},
         rub(300000),
         rub(190000)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SheetFixture f(Declaration::kBusinessIncomes);
        f.doc.actualAdvancePayments = rub(7000);
        f.doc.tradeFee = rub(1000);
        f.doc.patentPayments = rub(600);
        for (const BusinessActivity& b : r.activities)
            f.doc.businessIncomes.add(b);
        f.root.business.compute(f.doc);
        EXPECT_EQ(f.root.business.totalIncome, r.income);
        EXPECT_EQ(f.root.business.professionalDeductions, r.deductions);
        EXPECT_EQ(f.root.business.advancesPaid, rub(7000));
        EXPECT_EQ(f.root.business.tradeFee, rub(1000));
        EXPECT_EQ(f.root.business.patentPayments, rub(600));
    }
}

// The figures count as zero but stay in the document: the business box may be
// turned on again.
TEST(Business, WithoutBusinessIncomesTradeFeeAndPatentCountAsZero) {
    SheetFixture f(Declaration::kAgentIncomes);
    f.doc.tradeFee = rub(5000);
    f.doc.patentPayments = rub(3000);
    f.doc.actualAdvancePayments = rub(7000);
    f.root.business.compute(f.doc);
    EXPECT_EQ(f.root.business, BusinessIncomeSheet{});
    EXPECT_EQ(f.doc.tradeFee, rub(5000));
    EXPECT_EQ(f.doc.patentPayments, rub(3000));
}

TEST(ProfessionalDeductions, CodePairsOfResidentsNonResidentsAndForeignIncomes) {
    // Resident lines: 2010/403 50 000 claimed 60 000 -> 50 000; 2201/404 10 000;
    // 2209/405 of 40 000 at 30% (12 000); 2210/404 is not an author's fee of art. 221.
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addItem(item(2010, rub(50000), 403, rub(60000)));
    src.addItem(item(2201, rub(30000), 404, rub(10000)));
    src.addItem(item(2209, rub(40000), 405, rub(12000)));
    src.addItem(item(2210, rub(40000), 404, rub(8000)));
    src.addItem(item(2010, rub(10000), 404, rub(1000))); // wrong pair
    ThirteenPercentSource nr;
    nr.addItem(item(2010, rub(20000), 403, rub(5000)));
    nr.addItem(item(2201, rub(20000), 405, rub(4000))); // non-residents: civil contracts only
    f.doc.incomes13NonResident.add(nr);
    ForeignIncome abroad;
    abroad.incomeRate = 13;
    abroad.incomeCode = 2205;
    abroad.incomeInRubles = rub(9000);
    abroad.deductionCode = 404;
    abroad.deductionAmount = rub(9500);
    f.doc.foreignIncomes.add(abroad);

    f.root.profDeductRussia.compute(f.doc);
    EXPECT_EQ(f.root.profDeductRussia.civilContractExpenses, rub(50000));
    EXPECT_EQ(f.root.profDeductRussia.authorActualExpenses, rub(10000));
    EXPECT_EQ(f.root.profDeductRussia.authorNormExpenses, rub(12000));
    EXPECT_EQ(f.root.profDeductRussia.total, rub(72000));

    f.root.profDeductForeign.compute(f.doc);
    EXPECT_EQ(f.root.profDeductForeign.authorActualExpenses, rub(9000));
    EXPECT_EQ(f.root.profDeductForeign.total, rub(9000));

    f.doc.declarationKind = 1;
    f.root.profDeductRussia.compute(f.doc);
    EXPECT_EQ(f.root.profDeductRussia.civilContractExpenses, rub(5000));
    EXPECT_EQ(f.root.profDeductRussia.total, rub(5000));

    f.doc.setIncomeFlags(Declaration::kAgentIncomes); // foreign incomes removed
    f.root.profDeductForeign.compute(f.doc);
    EXPECT_EQ(f.root.profDeductForeign.total, Money{});
}

} // namespace
} // namespace kv::test
