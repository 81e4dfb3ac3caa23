// Property-sale deductions with their limits (one housing limit for the whole
// return, 250 000 for other property) and incomes exempt up to a limit.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::test {
namespace {

ForeignIncome abroad(std::int32_t code, Money rubles, std::int32_t deductionCode, Money deduction) {
    ForeignIncome in;
    in.incomeRate = 13;
    in.incomeCode = code;
    in.incomeInRubles = rubles;
    in.deductionCode = deductionCode;
    in.deductionAmount = deduction;
    return in;
}

TEST(PropertySale, HousingLimitIsSharedRussianLinesFirst) {
    // Flats sold for 800 000 and 600 000 (901): 800 000 + 200 000, the limit used up.
    // A share sold abroad for 300 000 claiming 500 000 (904) then gets nothing.
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addItem(item(1510, rub(800000), 901, rub(1000000)));
    src.addItem(item(1510, rub(600000), 901, rub(600000)));
    f.doc.foreignIncomes.add(abroad(1511, rub(300000), 904, rub(500000)));
    f.root.propertySale.compute(f.doc);
    EXPECT_EQ(f.root.propertySale.housingSaleDeduction, rub(1000000));
    EXPECT_EQ(f.root.propertySale.housingShareDeduction, Money{});
    EXPECT_EQ(f.root.propertySale.totalPropertySale, rub(1000000));
}

TEST(PropertySale, EveryPairAndTheOtherPropertyLimits) {
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addItem(item(1510, rub(2000000), 903, rub(1500000))); // costs of a flat
    src.addItem(item(1511, rub(400000), 903, rub(450000)));   // share costs, cut to the income
    src.addItem(item(1511, rub(400000), 904, rub(300000)));   // share deduction 300 000
    src.addItem(item(1512, rub(500000), 903, rub(600000)));   // other real estate costs -> 500 000
    src.addItem(item(1512, rub(500000), 902, rub(200000)));   // 200 000
    src.addItem(item(1520, rub(300000), 906, rub(300000)));   // car: 300 000, then limited
    src.addItem(item(1521, rub(100000), 903, rub(90000)));    // other property costs
    src.addItem(item(4900, rub(10000), 908, rub(10000)));
    src.addItem(item(4910, rub(20000), 910, rub(20000)));
    src.addItem(item(4920, rub(30000), 912, rub(30000)));
    src.addItem(item(1540, rub(50000), 315, rub(40000)));   // share costs
    src.addItem(item(1542, rub(400000), 907, rub(400000))); // share deduction, limited
    src.addItem(item(1560, rub(7000), 317, rub(7000)));
    src.addItem(item(1570, rub(8000), 318, rub(8000)));
    src.addItem(item(1550, rub(9000), 314, rub(9000)));
    f.doc.foreignIncomes.add(abroad(1512, rub(100000), 902, rub(150000))); // foreign: cut to the income
    f.doc.foreignIncomes.add(abroad(1511, rub(100000), 903, rub(150000))); // foreign: cut as well

    f.root.propertySale.compute(f.doc);
    const Appendix6Sheet& s = f.root.propertySale;
    EXPECT_EQ(s.housingCosts, rub(1500000));
    EXPECT_EQ(s.housingShareCosts, rub(400000 + 100000));
    EXPECT_EQ(s.housingShareDeduction, rub(300000));
    EXPECT_EQ(s.otherRealCosts, rub(500000));
    EXPECT_EQ(s.otherRealDeduction, rub(250000)); // 200 000 + 100 000, limited
    EXPECT_EQ(s.otherPropertyDeduction, rub(250000));
    EXPECT_EQ(s.otherPropertyCosts, rub(90000));
    EXPECT_EQ(s.seizureIncome, rub(10000));
    EXPECT_EQ(s.liquidationIncome, rub(20000));
    EXPECT_EQ(s.cfcRightsIncome, rub(30000));
    EXPECT_EQ(s.shareSaleDeduction, rub(250000));
    EXPECT_EQ(s.shareSaleCosts, rub(40000 + 250000));
    EXPECT_EQ(s.rightsAssignmentCosts, rub(7000));
    EXPECT_EQ(s.capitalReductionCosts, rub(8000));
    EXPECT_EQ(s.claimRightsCosts, rub(9000));
    // 1 500 000 + 500 000 + 300 000 + 500 000 + 250 000 + 250 000 + 90 000 + 60 000
    // + 290 000 + 24 000.
    EXPECT_EQ(s.totalPropertySale, rub(3764000));
}

// Documented purchase costs count up to the income of their own sale, whichever
// the property and wherever it was sold: beyond it they would lower the tax on the
// salary.
TEST(PropertySale, SaleCostsStopAtTheirSaleIncome) {
    struct Row {
        std::int32_t incomeCode;
        bool foreign;
        Money costs;
        Money Appendix6Sheet::*field;
        Money counted;
    };
    using S = Appendix6Sheet;
    const Row rows[] = {
        {1510, false, rub(2500000), &S::housingCosts, rub(2000000)},
        {1510, true, rub(2500000), &S::housingCosts, rub(2000000)},
        {1510, false, rub(1500000), &S::housingCosts, rub(1500000)},
        {1511, true, rub(2500000), &S::housingShareCosts, rub(2000000)},
        {1512, true, rub(2500000), &S::otherRealCosts, rub(2000000)},
        {1520, false, rub(2500000), &S::otherPropertyCosts, rub(2000000)},
        {1521, true, rub(2500000), &S::otherPropertyCosts, rub(2000000)},
        {1521, true, rub(1999999, 99), &S::otherPropertyCosts, rub(1999999, 99)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.incomeCode) + (r.foreign ? " abroad" : ""));
        SheetFixture f(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
        if (r.foreign)
            f.doc.foreignIncomes.add(abroad(r.incomeCode, rub(2000000), 903, r.costs));
        else
            f.addSource13("", Money{}).addItem(item(r.incomeCode, rub(2000000), 903, r.costs));
        f.root.propertySale.compute(f.doc);
        EXPECT_EQ(f.root.propertySale.*r.field, r.counted);
        EXPECT_EQ(f.root.propertySale.totalPropertySale, r.counted);
    }
}

TEST(PropertySale, OnlyResidentsWithIncomesToSell) {
    SheetFixture f;
    f.addSource13("", Money{}).addItem(item(1520, rub(300000), 906, rub(100000)));
    f.doc.declarationKind = 1;
    f.root.propertySale.compute(f.doc);
    EXPECT_EQ(f.root.propertySale, Appendix6Sheet{});
}

TEST(ExemptIncome, PairsLimitsAndTheAdvertisingPrizesAtThirtyFivePercent) {
    // Gifts 10 000 -> 4 000; prizes 3 000; employer aid 6 000 -> 4 000; medicines
    // 5 000 -> 4 000; disabled aid 1 000; winnings 4 500 -> 4 000; victims 15 000 ->
    // 10 000; employer pension 20 000 -> 12 000; maternity aid counts its deduction,
    // 50 000, unlimited; other exempt 700 (2799/599) + 300 abroad (any code).
    // 4 000+3 000+4 000+4 000+1 000+4 000+10 000+12 000+50 000+1 000 = 93 000.
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addItem(item(2720, rub(6000), 501, rub(4000)));
    src.addItem(item(3011, rub(4500), 511, rub(4000)));
    src.addItem(item(2730, rub(3000), 502, rub(3000)));
    src.addItem(item(2760, rub(6000), 503, rub(4000)));
    src.addItem(item(2770, rub(5000), 504, rub(4000)));
    src.addItem(item(2761, rub(1000), 506, rub(1000)));
    src.addItem(item(2790, rub(15000), 507, rub(10000)));
    src.addItem(item(1211, rub(20000), 510, rub(12000)));
    src.addItem(item(2762, rub(60000), 508, rub(50000)));
    src.addItem(item(2799, rub(700), 599, rub(700)));
    src.addItem(item(2799, rub(900), 0, Money{}));      // no deduction code: taxable
    src.addItem(item(2740, rub(9000), 505, rub(4000))); // a Russian line's prize is not taken here
    f.doc.foreignIncomes.add(abroad(2720, rub(4000), 501, rub(4000)));
    f.doc.foreignIncomes.add(abroad(2799, rub(300), 0, Money{}));
    f.doc.foreignIncomes.add(abroad(2740, rub(1500), 505, rub(1500)));
    ThirtyFivePercentSource prize;
    prize.incomeCode = 2740;
    prize.deductionCode = 505;
    prize.totalIncome = rub(5000);
    f.doc.incomes35.add(prize);
    ThirtyFivePercentSource noClaim = prize;
    noClaim.deductionCode = 0;
    f.doc.incomes35.add(noClaim);

    f.root.exemptIncome.compute(f.doc);
    const Appendix4Sheet& s = f.root.exemptIncome;
    EXPECT_EQ(s.gifts, rub(4000));
    EXPECT_EQ(s.prizes, rub(3000));
    EXPECT_EQ(s.employerAid, rub(4000));
    EXPECT_EQ(s.medicineRefund, rub(4000));
    EXPECT_EQ(s.disabledAid, rub(1000));
    EXPECT_EQ(s.winnings, rub(4000));
    EXPECT_EQ(s.victimsAid, rub(10000));
    EXPECT_EQ(s.employerPensionContrib, rub(12000));
    EXPECT_EQ(s.maternityAid, rub(50000));
    EXPECT_EQ(s.otherExempt, rub(1000));
    EXPECT_EQ(s.exempt13, rub(93000));
    // 1 500 abroad + 5 000 at 35% -> 4 000.
    EXPECT_EQ(s.advertisingPrizes, rub(4000));
    EXPECT_EQ(s.exempt35, rub(4000));
    EXPECT_EQ(s.totalExempt, rub(97000));
}

TEST(ExemptIncome, NonResidentPrizesComeFromTheResidentList) {
    SheetFixture f;
    f.doc.declarationKind = 1;
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addItem(item(2740, rub(9000), 505, rub(3000)));
    src.addItem(item(2720, rub(10000), 501, rub(4000)));
    f.root.exemptIncome.compute(f.doc);
    EXPECT_EQ(f.root.exemptIncome.advertisingPrizes, rub(3000));
    EXPECT_EQ(f.root.exemptIncome.gifts, rub(4000));
    EXPECT_EQ(f.root.exemptIncome.totalExempt, rub(7000));
}

} // namespace
} // namespace kv::test
