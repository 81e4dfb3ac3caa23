// Section 2: which sheets feed each rate, the caps on deductions and refunds, and
// whole-rouble tax with half a rouble rounded up.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kv::test {
namespace {

struct Expected {
    Money taxableIncome, deductions, taxBase, taxCalculated, taxToPay, taxToRefund;
};

struct Case {
    std::string name;
    int declarationKind;
    Section2Sheet ReturnComputation::*sheet;
    std::function<void(SheetFixture&)> setup;
    Expected expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Section2Cases : public ::testing::TestWithParam<Case> {};

TEST_P(Section2Cases, FiguresFollowTheInputsOfTheRate) {
    const Case& c = GetParam();
    SheetFixture f;
    f.doc.declarationKind = static_cast<std::uint8_t>(c.declarationKind);
    c.setup(f);
    Section2Sheet& s = f.root.*c.sheet;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.taxableIncome, c.expected.taxableIncome);
    EXPECT_EQ(s.deductions, c.expected.deductions);
    EXPECT_EQ(s.taxBase, c.expected.taxBase);
    EXPECT_EQ(s.taxCalculated, c.expected.taxCalculated);
    EXPECT_EQ(s.taxToPay, c.expected.taxToPay);
    EXPECT_EQ(s.taxToRefund, c.expected.taxToRefund);
}

using S = ReturnComputation;

// clang-format off
const Case kCases[] = {
    {"ResidentDeductionsAboveIncomeRefundAllWithheld", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(500000);
         f.root.russian13.taxWithheld = rub(65000);
         f.root.propertyPurchase.purchaseThisReturn = rub(700000);
         f.root.propertyPurchase.interestThisReturn = rub(100000);
     },
     {rub(500000), rub(500000), rub(0), rub(0), rub(0), rub(65000)}},
    {"ResidentEveryDeductionSourceIsAdded", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(1000000);
         f.root.business.totalIncome = rub(200000);
         f.root.foreign13.otherIncome = rub(50000);
         f.root.stdSocialDeductions.investmentRestored = rub(10000);
         f.root.exemptIncome.exempt13 = rub(4000);
         f.root.foreign13.exempt60 = rub(1000);
         f.root.foreign13.exempt60_1 = rub(5000);
         // 13 deductions of 10 000 each
         auto& sd = f.root.stdSocialDeductions;
         sd.stdSocialInReturn = sd.investmentDeduction = sd.socialByAgents = sd.standardByAgents = rub(10000);
         f.root.propertySale.totalPropertySale = rub(10000);
         auto& pp = f.root.propertyPurchase;
         pp.purchaseThisReturn = pp.interestThisReturn = pp.purchaseByAgent = pp.interestByAgent = rub(10000);
         f.root.business.professionalDeductions = rub(10000);
         f.root.profDeductRussia.total = rub(10000);
         f.root.profDeductForeign.total = rub(10000);
         f.root.securitiesSummary.investmentDeductionsTotal = rub(10000);
         f.root.securitiesSummary.expensesTotal = rub(20000);
         // taxable 1 250 000; base 1 250 000 - 20 000 - 130 000 = 1 100 000; tax 143 000
         f.root.russian13.taxWithheld = rub(100000);
         f.root.russian13.fixedAdvancesPaid = rub(5000);
         f.root.business.advancesPaid = rub(10000);
         f.root.foreign13.otherTaxCredit = rub(3000, 49); // credited as 3 000
         f.root.business.tradeFee = rub(2000);
         f.root.business.patentPayments = rub(1000);
     },
     {rub(1250000), rub(130000), rub(1100000), rub(143000), rub(22000), rub(0)}},
    {"SecuritiesExpensesAboveIncomeTurnDeductionsNegative", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(100000);
         f.root.securitiesSummary.expensesTotal = rub(150000);
         f.root.stdSocialDeductions.standardByAgents = rub(10000);
     },
     {rub(100000), rub(-50000), rub(0), rub(0), rub(0), rub(0)}},
    {"HalfRoubleOfTaxRoundsUp", 0, &S::section2Other13,
     [](SheetFixture& f) { f.root.russian13.totalIncome = rub(1000050); },
     {rub(1000050), rub(0), rub(1000050), rub(130007), rub(130007), rub(0)}},
    {"ForeignTaxAloneIsNeverRefunded", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.foreign13.otherIncome = rub(100000);
         f.root.foreign13.otherTaxCredit = rub(20000, 50); // credited as 20 001
     },
     {rub(100000), rub(0), rub(100000), rub(13000), rub(0), rub(0)}},
    {"PatentAboveTaxGivesNoRefund", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.business.totalIncome = rub(100000);
         f.root.business.patentPayments = rub(20000);
     },
     {rub(100000), rub(0), rub(100000), rub(13000), rub(0), rub(0)}},
    {"RefundCappedByWithheldAndAdvances", 0, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(100000);
         f.root.russian13.taxWithheld = rub(10000);
         f.root.business.advancesPaid = rub(2000);
         f.root.foreign13.otherTaxCredit = rub(5000);
         f.root.propertyPurchase.purchaseThisReturn = rub(100000);
     },
     {rub(100000), rub(100000), rub(0), rub(0), rub(0), rub(12000)}},
    {"NonResidentDeductionsStopAtIncome", 1, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(100000);
         f.root.russian13.taxWithheld = rub(13000);
         f.root.propertySale.totalPropertySale = rub(90000);
         f.root.profDeductRussia.total = rub(30000);
         // resident-only inputs are not read for a non-resident
         f.root.stdSocialDeductions.standardByAgents = rub(5000);
         f.root.business.totalIncome = rub(70000);
     },
     {rub(100000), rub(100000), rub(0), rub(0), rub(0), rub(13000)}},
    {"TerminationOfBusinessTaxesBusinessIncomeOnly", 3, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.russian13.totalIncome = rub(500000);
         f.root.business.totalIncome = rub(300000);
         f.root.business.professionalDeductions = rub(100000);
         f.root.business.advancesPaid = rub(20000);
         f.root.business.tradeFee = rub(1000);
     },
     {rub(300000), rub(100000), rub(200000), rub(26000), rub(5000), rub(0)}},
    {"TerminationAdvancesAboveTaxAreRefunded", 3, &S::section2Other13,
     [](SheetFixture& f) {
         f.root.business.totalIncome = rub(100000);
         f.root.business.professionalDeductions = rub(150000);
         f.root.business.advancesPaid = rub(7000);
     },
     {rub(100000), rub(100000), rub(0), rub(0), rub(0), rub(7000)}},
    {"CfcTaxAboveRussianTaxNeitherPaysNorRefunds", 0, &S::section2Cfc13,
     [](SheetFixture& f) {
         f.root.foreign13.cfcProfit = rub(100000);
         f.root.foreign13.cfcTaxCredit = rub(20000);
     },
     {rub(0), rub(0), rub(100000), rub(13000), rub(0), rub(0)}},
    {"CfcProfitTaxedLessForeignTax", 0, &S::section2Cfc13,
     [](SheetFixture& f) {
         f.root.foreign13.cfcProfit = rub(100000);
         f.root.foreign13.cfcTaxCredit = rub(2999, 50); // 3 000
     },
     {rub(0), rub(0), rub(100000), rub(13000), rub(10000), rub(0)}},
    {"DividendRefundCappedByWithheld", 0, &S::section2Dividends13,
     [](SheetFixture& f) {
         f.root.russian13.dividendIncome = rub(100000);
         f.root.russian13.dividendTaxWithheld = rub(13000);
         f.root.foreign13.dividendIncome = rub(50000);
         f.root.foreign13.exemptCfcDividends = rub(20000);
         f.root.foreign13.dividendTaxCredit = rub(7000);
     },
     // taxable 130 000, tax 16 900, credits 20 000: refund 3 100 within 13 000
     {rub(130000), rub(0), rub(130000), rub(16900), rub(0), rub(3100)}},
    {"Rate35ExemptPrizesAboveIncomeGiveZero", 0, &S::section2Rate35,
     [](SheetFixture& f) {
         f.root.russian35.totalIncome = rub(10000);
         f.root.exemptIncome.exempt35 = rub(15000);
         f.root.russian35.taxWithheld = rub(500);
     },
     {rub(0), rub(0), rub(0), rub(0), rub(0), rub(500)}},
    {"Rate35MaterialBenefitCountsAsWithheld", 0, &S::section2Rate35,
     [](SheetFixture& f) {
         f.root.russian35.totalIncome = rub(100000);
         f.root.foreign35.otherIncome = rub(10000);
         f.root.exemptIncome.exempt35 = rub(4000);
         f.root.russian35.taxWithheld = rub(30000);
         f.root.russian35.materialBenefitWithheld = rub(8000);
         f.root.foreign35.otherTaxCredit = rub(1000);
     },
     // 106 000 at 35% = 37 100; credits 39 000
     {rub(106000), rub(0), rub(106000), rub(37100), rub(0), rub(1900)}},
    {"Rate9PaysTheShortfall", 0, &S::section2Rate9,
     [](SheetFixture& f) {
         f.root.russian9.totalIncome = rub(100000);
         f.root.foreign9.otherIncome = rub(5555, 55);
         f.root.russian9.taxWithheld = rub(9000);
     },
     // 105 555.55 at 9% = 9 499.9995: 9 500
     {rub(105555, 55), rub(0), rub(105555, 55), rub(9500), rub(500), rub(0)}},
    {"NonResidentRate30SecuritiesExpensesAboveIncome", 1, &S::section2Rate30,
     [](SheetFixture& f) {
         f.root.russian30.totalIncome = rub(100000);
         f.root.exemptIncome.totalExempt = rub(10000);
         f.root.securitiesSummary.expensesTotal = rub(120000);
         f.root.russian30.taxWithheld = rub(30000);
     },
     {rub(90000), rub(-30000), rub(0), rub(0), rub(0), rub(30000)}},
    {"NonResidentDividends15", 1, &S::section2Dividends15,
     [](SheetFixture& f) {
         f.root.russian15.totalIncome = rub(100000);
         f.root.russian15.taxWithheld = rub(10000);
     },
     {rub(100000), rub(0), rub(100000), rub(15000), rub(5000), rub(0)}},
    {"Rate35NotComputedForNonResident", 1, &S::section2Rate35,
     [](SheetFixture& f) {
         f.root.russian35.totalIncome = rub(100000);
         f.root.russian35.taxWithheld = rub(1000);
     },
     {rub(0), rub(0), rub(0), rub(0), rub(0), rub(0)}},
    {"DividendsAt15NotComputedForResident", 0, &S::section2Dividends15,
     [](SheetFixture& f) { f.root.russian15.totalIncome = rub(100000); },
     {rub(0), rub(0), rub(0), rub(0), rub(0), rub(0)}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Section2, Section2Cases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(Section2, RateCodeDependsOnKindAndInstance) {
    struct Row {
        int kind;
        std::vector<std::string> codes; // Other13, Cfc13, Dividends13, Rate30, Rate35, Rate9, Dividends15
    };
    const Row rows[] = {
        {0, {"13", "13", "13", "30", "35", "09", ""}},
        {1, {"13", "13", "13", "30", "", "", "15"}},
    };
    for (const Row& row : rows) {
        SheetFixture f;
        f.doc.declarationKind = static_cast<std::uint8_t>(row.kind);
        Section2Sheet* sheets[] = {&f.root.section2Other13,     &f.root.section2Cfc13,
                                   &f.root.section2Dividends13, &f.root.section2Rate30,
                                   &f.root.section2Rate35,      &f.root.section2Rate9,
                                   &f.root.section2Dividends15};
        std::vector<std::string> codes;
        for (auto* s : sheets) {
            s->compute(f.doc, f.root);
            codes.push_back(s->rateCode.bytes());
        }
        EXPECT_EQ(codes, row.codes) << "kind " << row.kind;
    }
}

TEST(Section2, ASheetOutsideTheRootIsRefused) {
    SheetFixture f;
    Section2Sheet stray;
    EXPECT_THROW(stray.compute(f.doc, f.root), ComputationError);
}

} // namespace
} // namespace kv::test
