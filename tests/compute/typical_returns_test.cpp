// Whole returns through ReturnComputation::compute, figures worked out by hand: the
// refund of an employee who bought a flat, a refund shared by two employers, tax
// to pay, securities with an earlier years' loss, and a zero return.
#include "SheetFixture.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const Cp1251Text kAgents{"18210102010011000110"};
const Cp1251Text kOther{"18210102030011000110"};
const Cp1251Text kTaxpayer{"46000000"};

struct Return : SheetFixture {
    Return() { doc.person.oktmo = kTaxpayer; }

    ThirteenPercentSource& employer(const Cp1251Text& oktmo, std::int64_t monthly, int months,
                                    std::int64_t withheld) {
        auto& s = addSource13(oktmo, rub(withheld));
        for (int m = 1; m <= months; ++m)
            s.addItem(item(2000, rub(monthly), 0, Money{}, static_cast<std::int16_t>(m)));
        return s;
    }
    HousingObject& flat(std::int64_t cost, std::int64_t interest = 0) {
        doc.propertyDeductions.granted = 1;
        HousingObject o;
        o.objectKind = 2;
        o.shareNumerator = 1;
        o.shareDenominator = 1;
        o.rightRegistrationDate = date(2019, 5, 15);
        o.objectCost = rub(cost);
        o.mortgageInterest = rub(interest);
        return doc.propertyDeductions.objects.get(doc.propertyDeductions.objects.add(o));
    }
    bool computeReturn() { return root.compute(doc); }
    const std::vector<Section1Line>& lines() const { return root.section1.lines; }
};

void expectLine(const Section1Line& line, const Cp1251Text& kbk, const Cp1251Text& oktmo,
                const Cp1251Text& direction, Money amount) {
    EXPECT_EQ(line.kbk, kbk);
    EXPECT_EQ(line.oktmo, oktmo);
    EXPECT_EQ(line.direction, direction);
    EXPECT_EQ(line.amount, amount);
}

TEST(TypicalReturns, SalaryAndFlatGiveRefundOnEmployersOktmo) {
    Return r;
    r.employer(Cp1251Text{"45000000"}, 100000, 12, 156000);
    r.flat(3000000);
    EXPECT_TRUE(r.computeReturn());

    const auto& p7 = r.root.propertyPurchase;
    EXPECT_EQ(p7.purchaseCosts, rub(2000000));
    EXPECT_EQ(p7.base13WithoutDeduction, rub(1200000));
    EXPECT_EQ(p7.purchaseThisReturn, rub(1200000));
    EXPECT_EQ(p7.purchaseCarriedForward, rub(800000));
    EXPECT_EQ(r.doc.propertyDeductions.objects.get(0).yearDeduction, rub(2000000));
    EXPECT_EQ(r.doc.propertyDeductions.objects.get(0).before2014, 0);

    const auto& s2 = r.root.section2Other13;
    EXPECT_EQ(s2.totalIncome, rub(1200000));
    EXPECT_EQ(s2.deductions, rub(1200000));
    EXPECT_EQ(s2.taxBase, rub(0));
    EXPECT_EQ(s2.taxWithheld, rub(156000));
    EXPECT_EQ(s2.taxToRefund, rub(156000));

    ASSERT_EQ(r.lines().size(), 1u);
    expectLine(r.lines()[0], kAgents, Cp1251Text{"45000000"}, Cp1251Text{"2"}, rub(156000));
}

TEST(TypicalReturns, MortgageRefundSharedByTwoEmployersInEntryOrder) {
    Return r;
    r.employer(Cp1251Text{"45000000"}, 50000, 6, 39000);
    r.employer(kTaxpayer, 60000, 6, 46800);
    r.flat(400000, 100000);
    EXPECT_TRUE(r.computeReturn());

    const auto& p7 = r.root.propertyPurchase;
    EXPECT_EQ(p7.purchaseThisReturn, rub(400000));
    EXPECT_EQ(p7.interestThisReturn, rub(100000));
    EXPECT_EQ(p7.interestCarriedForward, rub(0));
    // 660 000 - 500 000 = 160 000 at 13% = 20 800; 85 800 withheld
    EXPECT_EQ(r.root.section2Other13.taxCalculated, rub(20800));
    EXPECT_EQ(r.root.section2Other13.taxToRefund, rub(65000));
    ASSERT_EQ(r.lines().size(), 2u);
    expectLine(r.lines()[0], kAgents, Cp1251Text{"45000000"}, Cp1251Text{"2"}, rub(39000));
    expectLine(r.lines()[1], kAgents, kTaxpayer, Cp1251Text{"2"}, rub(26000));
}

TEST(TypicalReturns, UnwithheldTaxIsPayableOnTaxpayersOktmo) {
    Return r;
    r.employer(Cp1251Text{"45000000"}, 10000, 12, 0);
    EXPECT_FALSE(r.computeReturn());
    EXPECT_EQ(r.root.section2Other13.taxToPay, rub(15600));
    ASSERT_EQ(r.lines().size(), 1u);
    expectLine(r.lines()[0], kOther, kTaxpayer, Cp1251Text{"1"}, rub(15600));
}

TEST(TypicalReturns, SecuritiesGainReducedByEarlierYearsLoss) {
    Return r;
    auto& broker = r.addSource13("45380000", rub(13000));
    broker.addItem(item(1530, rub(500000), 201, rub(400000)));
    r.doc.securitiesLosses.granted = 1;
    r.doc.securitiesLosses.securitiesLoss = rub(30000);
    EXPECT_TRUE(r.computeReturn());

    EXPECT_EQ(r.root.securitiesOrdinary.tradedResult, rub(100000));
    EXPECT_EQ(r.root.securitiesOrdinary.priorLossOnTraded, rub(30000));
    ASSERT_EQ(r.root.securitiesSummary.operationCount, 1);
    EXPECT_EQ(r.root.securitiesSummary.expensesTotal, rub(430000));
    const auto& s2 = r.root.section2Other13;
    EXPECT_EQ(s2.expensesReducingIncome, rub(430000));
    EXPECT_EQ(s2.taxBase, rub(70000));
    EXPECT_EQ(s2.taxCalculated, rub(9100));
    ASSERT_EQ(r.lines().size(), 1u);
    expectLine(r.lines()[0], kAgents, Cp1251Text{"45380000"}, Cp1251Text{"2"}, rub(3900));
}

TEST(TypicalReturns, ZeroReturn) {
    Return r;
    EXPECT_FALSE(r.computeReturn());
    ASSERT_EQ(r.lines().size(), 1u);
    expectLine(r.lines()[0], kOther, kTaxpayer, Cp1251Text{"3"}, rub(0));
    EXPECT_EQ(r.root.section2Other13.rateCode, Cp1251Text{"13"});
    EXPECT_EQ(r.root.section2Other13.taxBase, rub(0));
}

} // namespace
} // namespace kv::test
