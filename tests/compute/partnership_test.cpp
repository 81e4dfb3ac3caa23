// Investment partnerships: categories by income code, costs limited to income,
// the exit loss, and earlier years' losses spent in category order.
#include "SheetFixture.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using P = PartnershipSheet;

struct Partnership : SheetFixture {
    ThirteenPercentSource& source = addSource13("45000000", Money{});
    P& sheet() { return root.investPartnership; }
    void add(std::int32_t code, std::int64_t income, std::int64_t costs, std::int32_t deductionCode = 201) {
        source.addItem(item(code, rub(income), deductionCode, rub(costs)));
    }
};

TEST(PartnershipSheet, EachIncomeCodeFillsItsCategoryWithCostsCappedAtIncome) {
    struct Row {
        std::int32_t code;
        Money P::*income;
        Money P::*costs;
        Money P::*expenses;
    };
    const Row rows[] = {
        {5002, &P::p5002Income, &P::p5002Costs, &P::p5002Expenses},
        {5005, &P::p5005Income, &P::p5005Costs, &P::p5005Expenses},
        {5009, &P::p5009Income, &P::p5009Costs, &P::p5009Expenses},
        {5011, &P::p5011Income, &P::p5011Costs, &P::p5011Expenses},
        {5014, &P::p5014Income, &P::p5014Costs, &P::p5014Expenses},
        {5013, &P::p5013Income, &P::p5013Costs, &P::p5013Expenses},
        {5017, &P::p5017Income, &P::p5017Costs, &P::p5017Expenses},
        {5020, &P::p5020Income, &P::p5020Costs, &P::p5020Expenses},
        {5024, &P::p5024Income, &P::p5024Costs, &P::p5024Expenses},
        {5026, &P::p5026Income, &P::p5026Costs, &P::p5026Expenses},
        {5029, &P::p5029Income, &P::p5029Costs, &P::p5029Expenses},
        {5028, &P::p5028Income, &P::p5028Costs, &P::p5028Expenses},
    };
    for (const Row& r : rows) {
        Partnership f;
        f.add(r.code, 1000, 400);
        f.add(r.code, 500, 1500);
        f.add(r.code, 7000, 0, 0);                           // no deduction code: not part of any result
        f.source.addItem(item(1530, rub(900), 201, rub(1))); // a securities code is no partnership
        f.sheet().compute(f.doc);
        SCOPED_TRACE(r.code);
        EXPECT_EQ(f.sheet().*r.income, rub(1500));
        EXPECT_EQ(f.sheet().*r.costs, rub(1900));
        EXPECT_EQ(f.sheet().*r.expenses, rub(1500));
        Money all;
        for (const Row& other : rows)
            all += f.sheet().*other.income;
        EXPECT_EQ(all, rub(1500));
    }
}

TEST(PartnershipSheet, ExitLossIsTheExcessOfCosts) {
    Partnership f;
    f.add(5013, 100000, 120000);
    f.add(5028, 50000, 45000);
    f.sheet().compute(f.doc);
    EXPECT_EQ(f.sheet().exitLoss, rub(20000));
    EXPECT_EQ(f.sheet().p5013Expenses, rub(100000));
    EXPECT_EQ(f.sheet().iisExitLoss, rub(0));
}

TEST(PartnershipSheet, InvestmentDeductionThenEarlierLossesInOrder) {
    struct Row {
        std::int64_t invDeduction, priorLoss;
        std::int64_t expectInv, expect5002, expect5005, expect5009, expect5014, expectLeft;
    };
    // Net results: 5002 50 000, 5005 50 000, 5009 0, 5014 40 000.
    const Row rows[] = {
        {0, 30000, 0, 30000, 0, 0, 0, 0},
        {80000, 30000, 50000, 0, 30000, 0, 0, 0},
        {20000, 30000, 20000, 30000, 0, 0, 0, 0},
        {0, 130000, 0, 50000, 50000, 0, 30000, 30000}, // the last category does not reduce what is left
        {0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        Partnership f;
        f.add(5002, 80000, 30000);
        f.add(5005, 60000, 10000);
        f.add(5009, 10000, 20000);
        f.add(5014, 40000, 0);
        f.doc.investmentDeductions.invPartnership = rub(r.invDeduction);
        f.doc.securitiesLosses.partnershipLoss = rub(r.priorLoss);
        f.sheet().compute(f.doc);
        SCOPED_TRACE(testing::Message() << r.invDeduction << "/" << r.priorLoss);
        EXPECT_EQ(f.sheet().invDeduction5002, rub(r.expectInv));
        EXPECT_EQ(f.sheet().priorLoss5002, rub(r.expect5002));
        EXPECT_EQ(f.sheet().priorLoss5005, rub(r.expect5005));
        EXPECT_EQ(f.sheet().priorLoss5009, rub(r.expect5009));
        EXPECT_EQ(f.sheet().priorLoss5014, rub(r.expect5014));
        EXPECT_EQ(f.sheet().priorLossLeft, rub(r.expectLeft));
    }
}

TEST(PartnershipSheet, InvestmentAccountExemptionOrEarlierLosses) {
    for (const bool exemption : {true, false}) {
        Partnership f;
        f.add(5017, 100000, 40000);
        f.add(5020, 30000, 10000);
        f.add(5029, 50000, 0);
        f.add(5028, 10000, 4000);
        f.doc.investmentDeductions.applyP3 = exemption ? 1 : 0;
        f.doc.securitiesLosses.partnershipLossIis = rub(70000);
        f.doc.securitiesLosses.partnershipLoss = rub(1000); // ordinary loss, no ordinary income
        f.sheet().compute(f.doc);
        const P& s = f.sheet();
        SCOPED_TRACE(exemption);
        if (exemption) {
            EXPECT_EQ(s.exempt5017, rub(60000));
            EXPECT_EQ(s.exempt5020, rub(20000));
            EXPECT_EQ(s.exempt5029, rub(50000));
            EXPECT_EQ(s.exempt5028, rub(6000));
            EXPECT_EQ(s.priorLossLeftIis, rub(0));
            EXPECT_EQ(s.priorLoss5017, rub(0));
        } else {
            EXPECT_EQ(s.exempt5017, rub(0));
            EXPECT_EQ(s.priorLoss5017, rub(60000));
            EXPECT_EQ(s.priorLoss5020, rub(10000));
            EXPECT_EQ(s.priorLoss5029, rub(0));
            EXPECT_EQ(s.priorLossLeftIis, rub(0));
        }
        EXPECT_EQ(s.priorLossLeft, rub(1000));
    }
}

} // namespace
} // namespace kv::test
