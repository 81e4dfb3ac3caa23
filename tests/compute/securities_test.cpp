// Securities and derivatives: results by category, the order in which losses of
// other categories and of earlier years are set against them, and the separate
// codes of the individual investment account.
#include "SheetFixture.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using J = SecuritiesSheet;

struct Broker : SheetFixture {
    ThirteenPercentSource& source = addSource13("45000000", Money{});
    Broker() : SheetFixture(Declaration::kAgentIncomes | Declaration::kForeignIncomes) {}
    void add(std::int32_t code, std::int64_t income, std::int32_t deductionCode, std::int64_t deduction) {
        source.addItem(item(code, rub(income), deductionCode, rub(deduction)));
    }
    J& ordinary() {
        root.securitiesOrdinary.compute(doc, root);
        return root.securitiesOrdinary;
    }
    J& iis() {
        root.securitiesIia.compute(doc, root);
        return root.securitiesIia;
    }
};

TEST(SecuritiesSheet, IncomeCodesByAccount) {
    struct Row {
        std::int32_t ordinaryCode, iisCode;
        Money J::*income;
        Money J::*costs;
    };
    const Row rows[] = {
        {1536, 1549, &J::onceTradedIncome, &J::onceTradedCosts},
        {1532, 1546, &J::derivSecIncome, &J::derivSecCosts},
        {1535, 1548, &J::derivOtherIncome, &J::derivOtherCosts},
        {1533, 1547, &J::derivUntradedIncome, &J::derivUntradedCosts},
        {1537, 1551, &J::repoTradedIncome, &J::repoTradedCosts},
        {9537, 9551, &J::repoUntradedIncome, &J::repoUntradedCosts},
        {1538, 1552, &J::lendingTradedIncome, &J::lendingTradedCosts},
        {9538, 9552, &J::lendingUntradedIncome, &J::lendingUntradedCosts},
    };
    for (const Row& r : rows) {
        Broker f;
        f.add(r.ordinaryCode, 1000, 301, 300);
        f.add(r.iisCode, 5000, 302, 700);
        f.add(r.ordinaryCode, 9000, 0, 100); // no deduction code: ignored
        SCOPED_TRACE(r.ordinaryCode);
        EXPECT_EQ(f.ordinary().*r.income, rub(1000));
        EXPECT_EQ(f.ordinary().*r.costs, rub(300));
        EXPECT_EQ(f.iis().*r.income, rub(5000));
        EXPECT_EQ(f.iis().*r.costs, rub(700));
    }
}

TEST(SecuritiesSheet, TradedAndUntradedSplitCostsFromShortInterestByDeductionCode) {
    Broker f;
    f.add(1530, 100000, 201, 60000);
    f.add(1530, 0, 218, 10000);
    f.add(1530, 0, 202, 5000); // a code of the other kind: the income counts, the deduction does not
    f.add(1531, 80000, 202, 20000);
    f.add(1531, 0, 219, 70000);
    f.add(1544, 50000, 225, 10000);
    f.add(1544, 0, 233, 1000);
    const J& o = f.ordinary();
    EXPECT_EQ(o.tradedIncome, rub(100000));
    EXPECT_EQ(o.tradedCosts, rub(60000));
    EXPECT_EQ(o.tradedShortInterest, rub(10000));
    EXPECT_EQ(o.tradedDeductionsTotal, rub(70000));
    EXPECT_EQ(o.tradedResult, rub(30000));
    EXPECT_EQ(o.untradedCosts, rub(20000));
    EXPECT_EQ(o.untradedShortInterest, rub(60000)); // at most what is left of the result
    const J& i = f.iis();
    EXPECT_EQ(i.tradedIncome, rub(50000));
    EXPECT_EQ(i.tradedCosts, rub(10000));
    EXPECT_EQ(i.tradedShortInterest, rub(1000));
    EXPECT_EQ(i.tradedResult, rub(39000));
    EXPECT_EQ(i.invDeduction, rub(0));
}

TEST(SecuritiesSheet, TradedLossReducesOnceTradedThenDerivatives) {
    Broker f;
    f.add(1530, 100000, 201, 130000);
    f.add(1536, 50000, 201, 30000);
    f.add(1532, 40000, 201, 10000);
    const J& o = f.ordinary();
    EXPECT_EQ(o.tradedCostsCapped, rub(100000));
    EXPECT_EQ(o.tradedResult, rub(0));
    EXPECT_EQ(o.tradedLoss, rub(30000));
    EXPECT_EQ(o.tradedLossOnOnceTraded, rub(20000));
    EXPECT_EQ(o.derivSecResult, rub(30000));
    EXPECT_EQ(o.tradedLossOnDerivSec, rub(10000));
}

TEST(SecuritiesSheet, EarlierYearsLosses) {
    Broker f;
    f.add(1530, 100000, 201, 60000); // result 40 000
    f.add(1535, 16000, 201, 10000);  // other derivatives 6 000
    f.add(1532, 18000, 201, 10000);  // derivatives on securities 8 000
    f.doc.securitiesLosses.securitiesLoss = rub(50000);
    f.doc.securitiesLosses.derivativesLoss = rub(10000);
    f.doc.securitiesLosses.securitiesLossIis = rub(999); // another account's loss
    const J& o = f.ordinary();
    EXPECT_EQ(o.priorSecuritiesLoss, rub(50000));
    EXPECT_EQ(o.priorLossOnTraded, rub(40000));
    EXPECT_EQ(o.priorLossOnDerivOther, rub(6000));
    EXPECT_EQ(o.priorLossOnDerivSec, rub(4000));
    EXPECT_EQ(o.priorDerivLossUsed, rub(10000));
    EXPECT_EQ(o.derivSecLossOnTraded, rub(0));
}

TEST(SecuritiesSheet, DerivativeLossesCrossOver) {
    Broker f;
    f.add(1530, 100000, 201, 70000); // traded result 30 000
    f.add(1535, 20000, 201, 5000);   // other derivatives result 15 000
    f.add(1532, 10000, 201, 35000);  // derivatives on securities lose 25 000
    f.doc.securitiesLosses.derivativesLoss = rub(4000);
    const J& o = f.ordinary();
    EXPECT_EQ(o.priorLossOnDerivOther, rub(4000));
    EXPECT_EQ(o.derivSecLossOnDerivOther, rub(11000));
    EXPECT_EQ(o.derivSecLossOnTraded, rub(14000));
}

TEST(SecuritiesSheet, OtherDerivativesLossReducesDerivativesOnSecurities) {
    Broker f;
    f.add(1532, 30000, 201, 10000); // result 20 000
    f.add(1535, 0, 201, 8000);      // loss 8 000
    f.add(1530, 10000, 201, 22000); // traded loss 12 000
    const J& o = f.ordinary();
    EXPECT_EQ(o.derivOtherLossOnDerivSec, rub(8000));
    EXPECT_EQ(o.tradedLossOnDerivSec, rub(12000));
}

TEST(SecuritiesSheet, InvestmentDeductionComesBeforeRepoLoss) {
    Broker f;
    f.add(1530, 100000, 201, 60000);
    f.add(1537, 10000, 201, 25000); // repo on traded securities: 15 000 over income
    f.doc.investmentDeductions.invSecurities = rub(30000);
    const J& o = f.ordinary();
    EXPECT_EQ(o.invDeduction, rub(30000));
    EXPECT_EQ(o.repoLossForTraded, rub(15000));
    EXPECT_EQ(o.repoLossOnTraded, rub(10000));
    EXPECT_EQ(o.tradedDeductionsTotal, rub(100000));
    EXPECT_EQ(o.tradedResult, rub(0));
}

TEST(SecuritiesSheet, RepoAndLendingLossesLimitedByOverallExcess) {
    Broker f;
    f.add(1531, 100000, 202, 50000); // untraded result 50 000
    f.add(9537, 10000, 201, 25000);  // untraded repo: 15 000 over
    f.add(1537, 20000, 201, 10000);  // traded repo: 10 000 under
    f.add(9538, 1000, 201, 3000);    // untraded lending: 2 000 over
    f.root.investPartnership.exitLoss = rub(60000);
    const J& o = f.ordinary();
    EXPECT_EQ(o.repoIncome, rub(30000));
    EXPECT_EQ(o.repoCosts, rub(35000));
    EXPECT_EQ(o.repoLossForUntraded, rub(5000));
    EXPECT_EQ(o.repoLossOnUntraded, rub(5000));
    EXPECT_EQ(o.lendingLossOnUntraded, rub(2000));
    EXPECT_EQ(o.partnershipLossOnUntraded, rub(43000));
    EXPECT_EQ(o.repoLossForTraded, rub(0)); // no traded result to reduce
}

TEST(SecuritiesSheet, InvestmentAccountExemptionOffsetsNothing) {
    Broker f;
    f.add(1544, 100000, 225, 40000);
    f.add(1544, 0, 233, 5000);
    f.add(1549, 30000, 225, 10000);
    f.add(1546, 20000, 225, 25000);
    f.add(1551, 7000, 225, 2000);
    f.doc.investmentDeductions.applyP3 = 1;
    f.doc.investmentDeductions.invSecurities = rub(10000);
    f.doc.securitiesLosses.securitiesLossIis = rub(50000);
    const J& i = f.iis();
    EXPECT_EQ(i.exemptTraded, rub(60000));
    EXPECT_EQ(i.exemptOnceTraded, rub(20000));
    EXPECT_EQ(i.exemptDerivSec, rub(0));
    EXPECT_EQ(i.exemptRepo, rub(5000));
    EXPECT_EQ(i.tradedShortInterest, rub(0));
    EXPECT_EQ(i.priorLossOnTraded, rub(0));
    EXPECT_EQ(i.tradedResult, rub(0));
    EXPECT_EQ(i.invDeduction, rub(0));
    // The ordinary account has no such exemption.
    f.add(1530, 10000, 201, 4000);
    EXPECT_EQ(f.ordinary().exemptTraded, rub(0));
    EXPECT_EQ(f.ordinary().invDeduction, rub(6000));
}

TEST(SecuritiesSheet, ForeignIncomesCountInRoubles) {
    Broker f;
    ForeignIncome income;
    income.incomeCode = 1530;
    income.incomeInCurrency = rub(600);
    income.incomeInRubles = rub(40000);
    income.deductionCode = 201;
    income.deductionAmount = rub(15000);
    f.doc.foreignIncomes.add(income);
    income.deductionCode = 0; // without a deduction code: not part of the result
    f.doc.foreignIncomes.add(income);
    f.add(1530, 10000, 201, 5000);
    EXPECT_EQ(f.ordinary().tradedIncome, rub(50000));
    EXPECT_EQ(f.ordinary().tradedCosts, rub(20000));
}

} // namespace
} // namespace kv::test
