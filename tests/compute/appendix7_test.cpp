// Housing purchase deduction: the limit by year and share, the order in which the
// base serves purchase and interest, what is carried forward, and the figures
// written back into the objects.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::test {
namespace {

struct ObjectInput {
    std::int64_t cost;
    std::int32_t numerator = 1, denominator = 1;
    int year = 2019;
    bool byInvestment = false;
    std::int64_t interest = 0;
};

HousingObject makeObject(const ObjectInput& in) {
    HousingObject o;
    o.objectCost = rub(in.cost);
    o.mortgageInterest = rub(in.interest);
    o.shareNumerator = in.numerator;
    o.shareDenominator = in.denominator;
    o.byInvestmentContract = in.byInvestment ? 1 : 0;
    // The date that does not apply would give another limit, so using it would show.
    const int otherYear = in.year < 2014 ? 2019 : 1999;
    o.rightRegistrationDate = date(in.byInvestment ? otherYear : in.year, 6, 1);
    o.transferActDate = date(in.byInvestment ? in.year : otherYear, 6, 1);
    return o;
}

struct Housing : SheetFixture {
    Housing(std::initializer_list<ObjectInput> objects, std::int64_t income13) {
        doc.propertyDeductions.granted = 1;
        for (const auto& o : objects)
            doc.propertyDeductions.objects.add(makeObject(o));
        root.russian13.totalIncome = rub(income13);
    }
    Appendix7Sheet& sheet() { return root.propertyPurchase; }
    void computeSheet() { sheet().compute(doc, root); }
    const HousingObject& object(int i) { return doc.propertyDeductions.objects.get(i); }
};

struct LimitCase {
    std::string name;
    std::vector<ObjectInput> objects;
    Money purchaseCosts;
    std::vector<Money> yearDeductions;
    std::vector<std::int32_t> before2014;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class HousingLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(HousingLimit, PurchaseCostsWithinLimitAndShare) {
    const LimitCase& c = GetParam();
    Housing h({}, 10000000);
    for (const auto& o : c.objects)
        h.doc.propertyDeductions.objects.add(makeObject(o));
    h.computeSheet();
    EXPECT_EQ(h.sheet().purchaseCosts, c.purchaseCosts);
    for (std::size_t i = 0; i < c.objects.size(); ++i) {
        EXPECT_EQ(h.object(static_cast<int>(i)).yearDeduction, c.yearDeductions[i]) << "object " << i;
        EXPECT_EQ(h.object(static_cast<int>(i)).before2014, c.before2014[i]) << "object " << i;
    }
}

// clang-format off
const LimitCase kLimitCases[] = {
    {"HalfShareHalvesTheLimit", {{3000000, 1, 2}}, rub(1000000), {rub(1000000)}, {0}},
    {"ThirdShareRoundedToKopecks", {{3000000, 1, 3}}, rub(666666, 67), {rub(666666, 67)}, {0}},
    {"CostBelowLimitTakenWhole", {{1234567}}, rub(1234567), {rub(1234567)}, {0}},
    {"RegisteredBefore2008OneMillion", {{1500000, 1, 1, 2007}}, rub(1000000), {rub(1000000)}, {-1}},
    {"Registered2008TwoMillionOldRules", {{2500000, 1, 1, 2008}}, rub(2000000), {rub(2000000)}, {-1}},
    {"InvestmentContractUsesTransferAct", {{1500000, 1, 1, 2007, true}}, rub(1000000), {rub(1000000)}, {-1}},
    {"TwoObjectsOnlySecondWithCostDecides", {{0, 0, 0, 2019}, {3000000, 1, 2, 2012}},
     rub(1000000), {rub(0), rub(1000000)}, {0, -1}},
    {"TwoObjectsOnlyFirstWithCostDecides", {{3000000, 1, 4, 2005}, {0, 0, 0, 2019}},
     rub(250000), {rub(250000), rub(0)}, {-1, 0}},
    {"TwoObjectsWithCostsShareTheFullLimitInOrder", {{1500000, 0, 0, 2005}, {1000000, 0, 0, 2005}},
     rub(2000000), {rub(1500000), rub(500000)}, {0, 0}},
    {"ThreeObjectsFullLimit", {{500000, 0, 0}, {700000, 0, 0}, {1200000, 0, 0}},
     rub(2000000), {rub(500000), rub(700000), rub(800000)}, {0, 0, 0}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Appendix7, HousingLimit, ::testing::ValuesIn(kLimitCases),
                         [](const auto& info) { return info.param.name; });

TEST(Appendix7, PurchaseServedBeforeInterestAndRestCarriedForward) {
    struct Row {
        std::int64_t income, cost, interest, priorPurchase, priorInterest;
        std::int64_t purchase, interestNow, purchaseLeft, interestLeft;
    };
    const Row rows[] = {
        {300000, 2000000, 500000, 0, 0, 300000, 0, 1700000, 500000},
        {2500000, 2000000, 800000, 0, 0, 2000000, 500000, 0, 300000},
        {3000000, 2000000, 800000, 1500000, 100000, 500000, 700000, 0, 0},
        {1000000, 1500000, 200000, 1600000, 300000, 0, 0, 0, 0}, // earlier years took more than the costs
    };
    for (const Row& r : rows) {
        Housing h({{r.cost, 1, 1, 2019, false, r.interest}}, r.income);
        h.doc.propertyDeductions.priorYearsDeduction = rub(r.priorPurchase);
        h.doc.propertyDeductions.priorYearsInterestDeduction = rub(r.priorInterest);
        h.computeSheet();
        const auto& s = h.sheet();
        SCOPED_TRACE(r.income);
        EXPECT_EQ(s.purchaseCreditedBefore, rub(r.priorPurchase));
        EXPECT_EQ(s.interestCreditedBefore, rub(r.priorInterest));
        EXPECT_EQ(s.purchaseThisReturn, rub(r.purchase));
        EXPECT_EQ(s.interestThisReturn, rub(r.interestNow));
        EXPECT_EQ(s.purchaseCarriedForward, rub(r.purchaseLeft));
        EXPECT_EQ(s.interestCarriedForward, rub(r.interestLeft));
    }
}

TEST(Appendix7, OtherDeductionsAndAgentsComeFirst) {
    Housing h({{3000000, 1, 1, 2019, false, 400000}}, 1000000);
    auto& src = h.addSource13("11000000", rub(0));
    src.addAgentDeduction({311, rub(150000)});
    src.addAgentDeduction({312, rub(50000)});
    src.addAgentDeduction({311, rub(50000)});
    src.addAgentDeduction({126, rub(16800)}); // a standard deduction, counted by its own sheet
    h.root.stdSocialDeductions.standardByAgents = rub(16800);
    h.root.business.totalIncome = rub(200000);
    h.root.business.professionalDeductions = rub(60000);
    h.root.securitiesSummary.expensesTotal = rub(23200);
    h.root.foreign13.otherIncome = rub(300000);
    h.root.foreign13.incomeNotCoveredByCredit = rub(100000);
    h.root.foreign13.exempt60 = rub(20000);
    h.computeSheet();
    const auto& s = h.sheet();
    EXPECT_EQ(s.purchaseByAgent, rub(200000));
    EXPECT_EQ(s.interestByAgent, rub(50000));
    // applied: 60 000 + 16 800 + 23 200 + 200 000 + 50 000 = 350 000
    EXPECT_EQ(s.base13WithoutDeduction, rub(1000000 + 300000 + 200000 - 350000 - 20000));
    EXPECT_EQ(s.baseAvailable, rub(1000000 + 100000 + 200000 - 350000));
    EXPECT_EQ(s.purchaseThisReturn, rub(950000));
    EXPECT_EQ(s.interestThisReturn, rub(0));
    EXPECT_EQ(s.purchaseCarriedForward, rub(2000000 - 200000 - 950000));
    EXPECT_EQ(s.interestCarriedForward, rub(400000 - 50000));
}

TEST(Appendix7, DeductionsAboveIncomeLeaveNothingToClaim) {
    Housing h({{1000000}}, 100000);
    h.root.propertySale.totalPropertySale = rub(150000);
    h.computeSheet();
    EXPECT_EQ(h.sheet().base13WithoutDeduction, rub(0));
    EXPECT_EQ(h.sheet().baseAvailable, rub(0));
    EXPECT_EQ(h.sheet().purchaseThisReturn, rub(0));
    EXPECT_EQ(h.sheet().purchaseCarriedForward, rub(1000000));
}

TEST(Appendix7, NothingComputedUnlessGrantedForAResident) {
    for (int variant = 0; variant < 2; ++variant) {
        Housing h({{1000000}}, 5000000);
        // a figure left from an earlier run must not survive
        h.doc.propertyDeductions.objects.get(0).yearDeduction = rub(5);
        if (variant == 0)
            h.doc.propertyDeductions.granted = 0;
        else
            h.doc.declarationKind = 1;
        h.computeSheet();
        EXPECT_EQ(h.sheet().purchaseCosts, rub(0));
        EXPECT_EQ(h.sheet().purchaseThisReturn, rub(0));
        EXPECT_EQ(h.object(0).yearDeduction, rub(0));
    }
}

TEST(Appendix7, ZeroShareDenominatorFailsTheRun) {
    Housing h({{1000000, 1, 0}}, 500000);
    EXPECT_THROW(h.computeSheet(), ComputationError);
}

} // namespace
} // namespace kv::test
