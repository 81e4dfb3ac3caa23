// Foreign incomes: Russian tax per line in kopecks, the foreign tax credit, the
// income not covered by the credit, the exempt codes and the CFC dividends.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace kv::test {
namespace {

ForeignIncome foreign(std::int32_t rate, std::int32_t code, Money rubles, Money taxRubles = Money{}) {
    ForeignIncome in;
    in.incomeRate = rate;
    in.incomeCode = code;
    in.incomeInRubles = rubles;
    in.taxInRubles = taxRubles;
    return in;
}

struct LineCase {
    const char* name;
    ForeignIncome income;
    Money taxRf, credit;
    const char* kindCode;
    Money notCovered;
};

ForeignIncome withDeduction(ForeignIncome in, std::int32_t code, Money amount) {
    in.deductionCode = code;
    in.deductionAmount = amount;
    return in;
}

ForeignIncome withCfcTax(ForeignIncome in, Money tax) {
    in.cfcTaxWithheldInRussia = tax;
    return in;
}

// Rate 13, tax in kopecks = 13 × income in roubles, half a kopeck up.
//   100 000, foreign tax 10 000: tax 13 000, credit 10 000; the foreign tax matches
//     10 000 / 0.13 = 76 923.08 of income, so 23 076.92 is not covered.
//   50 000 less a 10 000 civil-contract deduction: tax 5 200, below the 8 000 paid
//     abroad, so only the deduction (10 000) counts as not covered.
//   100 000 with 5 000 paid abroad and 3 000 withheld in Russia: credit 8 000;
//     5 000 / 0.13 = 38 461.54, not covered 61 538.46.
//   1 234.57 without foreign tax: 16 049.41 kopecks -> 160.49, all income uncovered.
//   0.50: 6.5 kopecks -> 0.07.
//   Code 1001 is exempt: no tax, no credit, nothing uncovered.
const LineCase kLineCases[] = {
    {"TaxAbroadBelowRussianTax", foreign(13, 2000, rub(100000), rub(10000)), rub(13000), rub(10000), "28",
     rub(23076, 92)},
    {"TaxAbroadAboveRussianTax", withDeduction(foreign(13, 2010, rub(50000), rub(8000)), 403, rub(10000)),
     rub(5200), rub(5200), "27", rub(10000)},
    {"TaxWithheldInRussiaIsCredited", withCfcTax(foreign(13, 2000, rub(100000), rub(5000)), rub(3000)),
     rub(13000), rub(8000), "28", rub(61538, 46)},
    {"NoForeignTax", foreign(13, 1530, rub(1234, 57)), rub(160, 49), Money{}, "32", rub(1234, 57)},
    {"HalfKopeckRoundsUp", foreign(13, 4800, rub(0, 50)), rub(0, 7), Money{}, "32", rub(0, 50)},
    {"ExemptSixty", foreign(13, 1001, rub(70000)), Money{}, Money{}, "32", Money{}},
    {"RoyaltyKind", foreign(13, 2205, rub(1000)), rub(130), Money{}, "30", rub(1000)},
    {"PropertySaleKind", foreign(13, 1520, rub(1000)), rub(130), Money{}, "25", rub(1000)},
};

class ForeignLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(ForeignLineCases, TaxCreditAndUncoveredIncome) {
    const LineCase& c = GetParam();
    SheetFixture f(Declaration::kForeignIncomes);
    f.doc.foreignIncomes.add(c.income);
    ForeignIncomeSheet& s = f.root.foreign13;
    s.compute(f.doc, 13);
    ASSERT_EQ(s.lineCount, 1);
    const ForeignIncomeLine& line = s.lines.at(0);
    EXPECT_EQ(line.taxRf, c.taxRf);
    EXPECT_EQ(line.credit, c.credit);
    EXPECT_EQ(line.kindCode, kv::test::asText(c.kindCode));
    EXPECT_EQ(s.incomeNotCoveredByCredit, c.notCovered);
    EXPECT_EQ(s.otherIncome, c.income.incomeInRubles);
    EXPECT_EQ(s.otherTaxCredit, c.credit);
    EXPECT_EQ(s.exempt60, c.income.incomeCode == 1001 ? c.income.incomeInRubles : Money{});
}

INSTANTIATE_TEST_SUITE_P(Foreign13, ForeignLineCases, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Foreign13, DividendsAndCfcDividendsExemptUpToTheProfit) {
    SheetFixture f(Declaration::kForeignIncomes);
    auto cfc = [](std::int32_t rate, std::int32_t code, Money rubles, Money tax, const char* number) {
        ForeignIncome in = foreign(rate, code, rubles, tax);
        in.cfcNumber = Cp1251Text::fromBytes(std::string_view(number));
        return in;
    };
    f.doc.foreignIncomes.add(cfc(99, 1000, rub(500000), Money{}, "AB-12345"));
    f.doc.foreignIncomes.add(cfc(14, 1012, rub(300000), rub(1000), "AB-12345"));
    f.doc.foreignIncomes.add(cfc(14, 1012, rub(300000), rub(20000), "AB-12345"));
    f.doc.foreignIncomes.add(cfc(99, 1000, rub(100000), rub(2000), "CD 54321"));
    f.doc.foreignIncomes.add(cfc(14, 1012, rub(10000), rub(5000), "EF-00001")); // no profit declared
    f.doc.foreignIncomes.add(foreign(14, 1010, rub(100000), rub(10000)));

    ForeignIncomeSheet& s = f.root.foreign13;
    s.compute(f.doc, 13);
    ASSERT_EQ(s.lineCount, 6);
    // Profit 500 000 exempts the first 300 000 of dividends whole and 200 000 of the
    // second: 13% of the remaining 100 000 is 13 000, credited up to the 20 000 paid.
    EXPECT_EQ(s.lines[1].exemptCfcDividends, rub(300000));
    EXPECT_EQ(s.lines[1].taxRf, Money{});
    EXPECT_EQ(s.lines[1].credit, Money{});
    EXPECT_EQ(s.lines[2].exemptCfcDividends, rub(200000));
    EXPECT_EQ(s.lines[2].taxRf, rub(13000));
    EXPECT_EQ(s.lines[2].credit, rub(13000));
    // Unknown CFC: taxed in full (1 300), credited up to the 5 000 paid.
    EXPECT_EQ(s.lines[4].exemptCfcDividends, Money{});
    EXPECT_EQ(s.lines[4].credit, rub(1300));
    ASSERT_EQ(s.cfcCount, 2);
    EXPECT_EQ(s.cfcProfits[0], (CfcProfit{Cp1251Text{"AB-12345"}, Money{}}));
    EXPECT_EQ(s.cfcProfits[1], (CfcProfit{Cp1251Text{"CD-54321"}, rub(100000)}));

    EXPECT_EQ(s.cfcProfit, rub(600000));
    EXPECT_EQ(s.cfcTaxCredit, rub(2000)); // 13 000 due on the second profit, 2 000 paid
    EXPECT_EQ(s.dividendIncome, rub(710000));
    EXPECT_EQ(s.exemptCfcDividends, rub(500000));
    EXPECT_EQ(s.dividendTaxCredit, rub(13000 + 1300 + 10000));
    EXPECT_EQ(s.otherIncome, Money{});
    EXPECT_EQ(s.incomeNotCoveredByCredit, Money{});
    EXPECT_EQ(s.lines[0].kindCode, Cp1251Text{"21"});
    EXPECT_EQ(s.lines[5].kindCode, Cp1251Text{"22"});
}

TEST(ForeignSheets, EachRateTakesItsOwnIncomes) {
    SheetFixture f(Declaration::kForeignIncomes);
    const std::int32_t rates[] = {13, 14, 99, 9, 10, 95, 35, 36, 121, 30};
    for (std::int32_t rate : rates)
        f.doc.foreignIncomes.add(foreign(rate, 4800, rub(rate)));
    f.doc.foreignIncomes.add(foreign(13, 2620, rub(1000))); // exempt material benefit: no sheet

    f.root.foreign13.compute(f.doc, 13);
    f.root.foreign9.compute(f.doc, 9);
    f.root.foreign35.compute(f.doc, 35);
    EXPECT_EQ(f.root.foreign13.lineCount, 3);
    EXPECT_EQ(f.root.foreign13.otherIncome, rub(13 + 14 + 99));
    EXPECT_EQ(f.root.foreign9.lineCount, 3);
    EXPECT_EQ(f.root.foreign9.otherIncome, rub(9 + 10 + 95));
    // 9% of 9 roubles = 81 kopecks.
    EXPECT_EQ(f.root.foreign9.lines[0].taxRf, rub(0, 81));
    EXPECT_EQ(f.root.foreign35.lineCount, 3);
    EXPECT_EQ(f.root.foreign35.otherIncome, rub(35 + 36 + 121));
}

TEST(Foreign13, LineCarriesTheEnteredDataAndRateTexts) {
    SheetFixture f(Declaration::kForeignIncomes);
    ForeignIncome in = foreign(13, 2000, rub(647, 36), rub(64, 74));
    in.countryCode = "36";
    in.currencyName = "USD";
    in.currencyCode = "840";
    in.sourceName = "ACME";
    in.incomeDate = date(2019, 5, 14);
    in.taxPaymentDate = date(2019, 6, 1);
    in.incomeDateRate = Money::fromRaw(647362); // 64.7362 for one unit
    in.incomeDateUnits = 1;
    in.taxDateRate = rub(2, 50); // 2.50 for a hundred units
    in.taxDateUnits = 100;
    in.incomeInCurrency = rub(10);
    in.taxInCurrency = rub(1234, 5);
    in.cfcNumber = "AB 12345";
    in.cfcProfitMethod = 2;
    f.doc.foreignIncomes.add(in);
    ForeignIncome noRate = foreign(13, 2000, rub(1));
    f.doc.foreignIncomes.add(noRate);
    ForeignIncome halfRate = foreign(13, 2000, rub(1));
    halfRate.incomeDateRate = Money::fromRaw(647301); // 32.36505 for one of two units
    halfRate.incomeDateUnits = 2;
    f.doc.foreignIncomes.add(halfRate);

    f.root.foreign13.compute(f.doc, 13);
    const ForeignIncomeLine& l = f.root.foreign13.lines.at(0);
    EXPECT_EQ(l.countryCode, Cp1251Text{"36"});
    EXPECT_EQ(l.currencyName, Cp1251Text{"USD"});
    EXPECT_EQ(l.currencyCode, Cp1251Text{"840"});
    EXPECT_EQ(l.sourceName, Cp1251Text{"ACME"});
    EXPECT_EQ(l.incomeDate, date(2019, 5, 14));
    EXPECT_EQ(l.taxPaymentDate, date(2019, 6, 1));
    EXPECT_EQ(l.incomeRateText, "64.7362");
    EXPECT_EQ(l.taxRateText, "0.025");
    EXPECT_EQ(l.incomeInCurrencyText, "10.00");
    EXPECT_EQ(l.taxInCurrencyText, "1234.05");
    EXPECT_EQ(l.cfcNumber, Cp1251Text{"AB-12345"});
    EXPECT_EQ(l.cfcProfitMethod, 2);
    EXPECT_EQ(l.incomeInRubles, rub(647, 36));
    EXPECT_EQ(l.taxInRubles, rub(64, 74));
    const ForeignIncomeLine& bare = f.root.foreign13.lines.at(1);
    EXPECT_EQ(bare.incomeRateText, "");
    EXPECT_EQ(bare.taxRateText, "");
    EXPECT_EQ(bare.cfcNumber, Cp1251Text{"-"});
    EXPECT_EQ(f.root.foreign13.lines.at(2).incomeRateText, "32.3651");
}

} // namespace
} // namespace kv::test
