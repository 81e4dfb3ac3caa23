// Russian-source incomes: the Appendix 1 income-kind code of each source, the
// employment check against the tax withheld, the real-estate sales list and the
// totals of each rate.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::test {
namespace {

ThirteenIncomeItem sale(std::int32_t code, Money amount, Money contractPrice, Money cadastralValue) {
    ThirteenIncomeItem i = item(code, amount);
    i.hasCadastralData = 1;
    i.cadastralNumber = Cp1251Text{"77:01:0001001:1001"};
    i.contractPrice = contractPrice;
    i.cadastralValue = cadastralValue;
    return i;
}

PartnershipIncomeItem partnershipLine(Money income) {
    PartnershipIncomeItem i;
    i.operationKind = 1;
    i.incomeAmount = income;
    return i;
}

struct KindCase {
    const char* name;
    std::vector<ThirteenIncomeItem> items;
    Money withheld;
    std::vector<Money> agentDeductions;
    std::string kind;
    Money taxableIncome; // written only for employment sources
    Money computedTax;
};

// Employment sources: taxable = lines − line deductions − agent deductions, tax at
// 0.13 kept to 1/10000; "08" when withheld + 1 rouble < tax.
//   100 000 + 50 000 -> 19 500; 19 500 withheld: "07", 11 000 withheld: "08".
//   100 003.08 -> 13 000.4004; 12 999.50 + 1 covers it, 12 999.00 + 1 does not.
//   120 000 − agent 2 800 = 117 200 -> 15 236.
const KindCase kKindCases[] = {
    {"EmploymentWinsOverSale",
     {item(2000, rub(100000)), item(1520, rub(50000))},
     rub(19500),
     {},
     "07",
     rub(150000),
     rub(19500)},
    {"EmploymentShortOfTax",
     {item(2000, rub(100000)), item(1520, rub(50000))},
     rub(11000),
     {},
     "08",
     rub(150000),
     rub(19500)},
    {"WithinOneRouble",
     {item(2000, rub(100003, 8))},
     rub(12999, 50),
     {},
     "07",
     rub(100003, 8),
     Money::fromRaw(130004004)},
    {"MoreThanOneRoubleShort",
     {item(2000, rub(100003, 8))},
     rub(12999),
     {},
     "08",
     rub(100003, 8),
     Money::fromRaw(130004004)},
    {"AgentDeductionsReduceTheBase",
     {item(2000, rub(120000))},
     rub(15236),
     {rub(2800)},
     "07",
     rub(117200),
     rub(15236)},
    {"LineDeductionsReduceTheBase",
     {item(2010, rub(50000), 403, rub(10000))},
     rub(5200),
     {},
     "07",
     rub(40000),
     rub(5200)},
    {"MixedSaleAndRentIsOther",
     {item(1520, rub(300000)), item(1400, rub(20000))},
     Money{},
     {},
     "10",
     Money{},
     Money{}},
    {"SameKindStays", {item(1400, rub(20000)), item(2400, rub(5000))}, Money{}, {}, "05", Money{}, Money{}},
    {"FlatAboveContractPrice",
     {sale(1510, rub(700000), rub(500000), rub(1000000))},
     Money{},
     {},
     "02",
     Money{},
     Money{}},
    {"FlatAtContractPrice",
     {sale(1510, rub(500000), rub(500000), rub(600000))},
     Money{},
     {},
     "01",
     Money{},
     Money{}},
    {"OtherRealEstateAboveContract",
     {sale(1512, rub(700000), rub(500000), rub(1000000))},
     Money{},
     {},
     "12",
     Money{},
     Money{}},
    {"SecuritiesLine", {item(1530, rub(1000))}, Money{}, {}, "04", Money{}, Money{}},
    {"PartnershipCodeLine", {item(5009, rub(1000))}, Money{}, {}, "04", Money{}, Money{}},
    {"AuthorsOtherRoyalty", {item(2210, rub(1000))}, Money{}, {}, "14", Money{}, Money{}},
    {"Gifts", {item(2720, rub(1000)), item(2790, rub(500))}, Money{}, {}, "06", Money{}, Money{}},
    {"Winnings", {item(3011, rub(1000))}, Money{}, {}, "16", Money{}, Money{}},
    {"AnyOtherCode", {item(4800, rub(1000))}, Money{}, {}, "10", Money{}, Money{}},
};

class KindCases : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindCases, SourceGetsItsCodeAndEmploymentFigures) {
    const KindCase& c = GetParam();
    SheetFixture f;
    ThirteenPercentSource& src = f.addSource13("45000000", c.withheld);
    for (const ThirteenIncomeItem& i : c.items)
        src.addItem(i);
    for (Money d : c.agentDeductions)
        src.addAgentDeduction({126, d});
    f.root.russian13.compute(f.doc, f.root);
    const ThirteenPercentSource& out = f.doc.incomes13.get(0);
    EXPECT_EQ(out.incomeKind, kv::test::asText(c.kind));
    EXPECT_EQ(out.taxableIncome, c.taxableIncome);
    EXPECT_EQ(out.computedTax, c.computedTax);
}

INSTANTIATE_TEST_SUITE_P(Russian13, KindCases, ::testing::ValuesIn(kKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Russian13, ResidentTotalsDividendsPartnershipsAndSales) {
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kPartnershipIncomes);
    f.doc.foreignerFixedAdvance = rub(12000);
    ThirteenPercentSource& salary = f.addSource13("45000000", rub(26000));
    salary.addItem(item(2000, rub(200000)));
    ThirteenPercentSource& flat = f.addSource13("", Money{});
    flat.addItem(sale(1510, rub(700000), rub(500000), rub(1000000)));
    flat.addItem(sale(1511, rub(300000), rub(300000), rub(400000)));
    flat.addItem(item(1520, rub(100000))); // no cadastral data: not a listed sale

    ThirtyPercentSource div;
    div.totalIncome = rub(60000);
    div.taxableAmount = rub(50000);
    div.taxWithheld = rub(6500);
    f.doc.incomes30.add(div);

    InvestmentPartnership partnership;
    partnership.addItem(partnershipLine(rub(7000)));
    partnership.addItem(partnershipLine(rub(3000)));
    partnership.taxWithheld = rub(1300);
    f.doc.investPartnerships.add(partnership);

    f.root.russian13.compute(f.doc, f.root);
    const RussianIncome13Sheet& s = f.root.russian13;
    // 200 000 + 1 100 000 + partnership 10 000.
    EXPECT_EQ(s.totalIncome, rub(1310000));
    EXPECT_EQ(s.taxWithheld, rub(27300));
    EXPECT_EQ(s.dividendIncome, rub(50000));
    EXPECT_EQ(s.dividendTaxWithheld, rub(6500));
    EXPECT_EQ(s.fixedAdvancesPaid, rub(12000));
    ASSERT_EQ(s.realEstateSaleCount, 2);
    ASSERT_EQ(s.realEstateSales.size(), 2u);
    // 70% of 1 000 000 and of 400 000.
    EXPECT_EQ(s.realEstateSales[0], (RealEstateSale{Cp1251Text{"77:01:0001001:1001"}, rub(1000000),
                                                    rub(500000), rub(700000), rub(700000)}));
    EXPECT_EQ(s.realEstateSales[1].cadastralValue70, rub(280000));
    EXPECT_EQ(s.realEstateSales[1].saleIncome, rub(300000));
    EXPECT_EQ(f.doc.incomes13.get(1).incomeKind, Cp1251Text{"10"}); // 02, 01 and 03 mixed
    EXPECT_EQ(f.doc.incomes30.get(0).incomeKind, Cp1251Text{"09"});
    EXPECT_EQ(f.doc.investPartnerships.get(0).incomeKind, Cp1251Text{"04"});
}

TEST(Russian13, SeventyPercentOfTheCadastralValueIsTheSaleIncomeToTheKopeck) {
    // 1 497 965.75 × 0.7 = 1 048 576.025: the income typed from it and the 70% shown
    // beside it in the same line must agree.
    SheetFixture f;
    f.addSource13("", Money{}).addItem(sale(1510, rub(1048576, 3), rub(900000), rub(1497965, 75)));
    f.root.russian13.compute(f.doc, f.root);
    ASSERT_EQ(f.root.russian13.realEstateSales.size(), 1u);
    EXPECT_EQ(f.root.russian13.realEstateSales[0].cadastralValue70, rub(1048576, 3));
}

TEST(Russian13, NonResidentSourcesAreEmploymentWhateverTheirCodes) {
    SheetFixture f;
    f.doc.declarationKind = 1;
    ThirteenPercentSource nr;
    nr.addItem(item(1520, rub(100000), 906, rub(20000)));
    nr.taxWithheld = rub(10400); // 13% of 80 000
    f.doc.incomes13NonResident.add(nr);
    nr.taxWithheld = rub(10398); // two roubles short
    f.doc.incomes13NonResident.add(nr);
    f.addSource13("", rub(30000)).addItem(item(2000, rub(100000))); // taxed at 30%, not here

    f.root.russian13.compute(f.doc, f.root);
    EXPECT_EQ(f.root.russian13.totalIncome, rub(200000));
    EXPECT_EQ(f.root.russian13.taxWithheld, rub(20798));
    EXPECT_EQ(f.doc.incomes13NonResident.get(0).incomeKind, Cp1251Text{"07"});
    EXPECT_EQ(f.doc.incomes13NonResident.get(0).taxableIncome, rub(80000));
    EXPECT_EQ(f.doc.incomes13NonResident.get(0).computedTax, rub(10400));
    EXPECT_EQ(f.doc.incomes13NonResident.get(1).incomeKind, Cp1251Text{"08"});
}

TEST(Russian30, NonResidentResidentListAtThirtyPercent) {
    SheetFixture f(Declaration::kAgentIncomes | Declaration::kPartnershipIncomes);
    f.doc.declarationKind = 1;
    ThirteenPercentSource& src = f.addSource13("", rub(30000));
    src.addItem(item(2000, rub(100000)));
    src.addAgentDeduction({126, rub(14000)}); // agents grant non-residents nothing: ignored
    f.addSource13("", Money{}).addItem(sale(1512, rub(700000), rub(500000), rub(1000000)));
    InvestmentPartnership partnership;
    partnership.addItem(partnershipLine(rub(5000)));
    partnership.taxWithheld = rub(1500);
    f.doc.investPartnerships.add(partnership);

    f.root.russian30.compute(f.doc, f.root);
    f.root.russian13.compute(f.doc, f.root);
    const RussianIncome30Sheet& s = f.root.russian30;
    EXPECT_EQ(s.totalIncome, rub(805000));
    EXPECT_EQ(s.taxWithheld, rub(31500));
    EXPECT_EQ(s.realEstateSaleCount, 1);
    EXPECT_EQ(f.doc.incomes13.get(0).incomeKind, Cp1251Text{"07"}); // 30% of 100 000 withheld in full
    EXPECT_EQ(f.doc.incomes13.get(0).computedTax, rub(30000));
    EXPECT_EQ(f.doc.incomes13.get(1).incomeKind, Cp1251Text{"12"});
    EXPECT_EQ(f.doc.investPartnerships.get(0).incomeKind, Cp1251Text{"04"});
    // The resident sheet takes nothing of a non-resident's resident list.
    EXPECT_EQ(f.root.russian13.totalIncome, Money{});
    EXPECT_EQ(f.root.russian13.realEstateSaleCount, 0);
}

TEST(RussianOtherRates, EachRateTakesItsListForItsKindOfReturn) {
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        SheetFixture f;
        f.doc.declarationKind = static_cast<std::uint8_t>(kind);
        ThirtyPercentSource nine;
        nine.totalIncome = rub(10000);
        nine.taxWithheld = rub(900);
        f.doc.incomes9.add(nine);
        ThirtyPercentSource div;
        div.totalIncome = rub(20000);
        div.taxableAmount = rub(18000);
        div.taxWithheld = rub(2700);
        f.doc.incomes30.add(div);
        ThirtyFivePercentSource deposit;
        deposit.incomeCode = 2610;
        deposit.totalIncome = rub(4000);
        deposit.taxWithheld = rub(1400);
        f.doc.incomes35.add(deposit);
        ThirtyFivePercentSource benefit;
        benefit.incomeCode = 2620;
        benefit.totalIncome = rub(3000);
        benefit.taxWithheld = rub(1050);
        f.doc.incomes35.add(benefit);

        f.root.russian9.compute(f.doc, f.root);
        f.root.russian15.compute(f.doc, f.root);
        f.root.russian35.compute(f.doc, f.root);
        const bool resident = kind == 0;
        EXPECT_EQ(f.root.russian9.totalIncome, resident ? rub(10000) : Money{});
        EXPECT_EQ(f.root.russian9.taxWithheld, resident ? rub(900) : Money{});
        EXPECT_EQ(f.root.russian15.totalIncome, resident ? Money{} : rub(18000));
        EXPECT_EQ(f.root.russian15.taxWithheld, resident ? Money{} : rub(2700));
        EXPECT_EQ(f.root.russian35.totalIncome, resident ? rub(4000) : Money{});
        EXPECT_EQ(f.root.russian35.taxWithheld, resident ? rub(1400) : Money{});
        EXPECT_EQ(f.root.russian35.materialBenefitWithheld, resident ? rub(1050) : Money{});
        EXPECT_EQ(f.doc.incomes9.get(0).incomeKind, resident ? Cp1251Text{"10"} : Cp1251Text{});
        EXPECT_EQ(f.doc.incomes30.get(0).incomeKind, resident ? Cp1251Text{} : Cp1251Text{"09"});
        EXPECT_EQ(f.doc.incomes35.get(0).incomeKind, resident ? Cp1251Text{"10"} : Cp1251Text{});
        EXPECT_EQ(f.doc.incomes35.get(1).incomeKind, Cp1251Text{""}); // exempt benefit keeps no code
    }
}

TEST(Russian13, RepeatedRunsOverwriteCodesAndFigures) {
    SheetFixture f;
    ThirteenPercentSource& src = f.addSource13("", rub(11000));
    src.addItem(item(2000, rub(100000)));
    src.addItem(sale(1510, rub(700000), rub(500000), rub(1000000)));
    f.root.russian13.compute(f.doc, f.root);
    const Declaration afterFirst = f.doc;
    const RussianIncome13Sheet firstSheet = f.root.russian13;

    ReturnComputation second;
    second.russian13.compute(f.doc, second);
    EXPECT_EQ(f.doc, afterFirst);
    EXPECT_EQ(second.russian13, firstSheet);

    // The employment line removed: the source is a sale now, its old figures gone.
    f.doc.incomes13.get(0).deleteItem(0);
    ReturnComputation third;
    third.russian13.compute(f.doc, third);
    EXPECT_EQ(f.doc.incomes13.get(0).incomeKind, Cp1251Text{"02"});
    EXPECT_EQ(f.doc.incomes13.get(0).taxableIncome, Money{});
    EXPECT_EQ(f.doc.incomes13.get(0).computedTax, Money{});
}

} // namespace
} // namespace kv::test
