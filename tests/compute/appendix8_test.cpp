// Securities operation lines: which figures each line shows, the losses set
// against it in their order, the split of a line with more than three losses,
// and the two totals the tax base reads.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kv::test {
namespace {

using Losses = std::vector<std::pair<std::string, Money>>;

Losses exported(const Appendix8Operation& line) {
    Losses out;
    const std::pair<const Cp1251Text*, Money> slots[] = {{&line.lossKind1, line.lossAmount1},
                                                         {&line.lossKind2, line.lossAmount2},
                                                         {&line.lossKind3, line.lossAmount3}};
    for (const auto& [kind, amount] : slots)
        if (!kind->empty())
            out.emplace_back(kind->bytes(), amount);
    return out;
}

std::vector<std::string> kinds(const Appendix8Sheet& s) {
    std::vector<std::string> out;
    for (const auto& line : s.operations)
        out.push_back(line.operationKind.bytes());
    return out;
}

struct Summary : SheetFixture {
    Appendix8Sheet& computeSheet() {
        root.securitiesSummary.compute(doc, root);
        return root.securitiesSummary;
    }
};

TEST(Appendix8, NoSecuritiesNoLines) {
    Summary f;
    const auto& s = f.computeSheet();
    EXPECT_TRUE(s.operations.empty());
    EXPECT_EQ(s.operationCount, 0);
    EXPECT_EQ(s.expensesTotal, rub(0));
    EXPECT_EQ(s.investmentDeductionsTotal, rub(0));
}

TEST(Appendix8, TradedLineWithRepoLoss) {
    Summary f;
    auto& j = f.root.securitiesOrdinary;
    j.tradedIncome = rub(100000);
    j.tradedCosts = rub(60000);
    j.tradedCostsCapped = rub(60000);
    j.repoLossOnTraded = rub(5000);
    const auto& s = f.computeSheet();
    ASSERT_EQ(s.operationCount, 1);
    const Appendix8Operation& line = s.operations[0];
    EXPECT_EQ(line.operationKind, Cp1251Text{"01"});
    EXPECT_EQ(line.income, rub(100000));
    EXPECT_EQ(line.expenses, rub(60000));
    EXPECT_EQ(line.lossFlag, 1);
    EXPECT_EQ(exported(line), (Losses{{"10", rub(5000)}}));
    EXPECT_EQ(s.expensesTotal, rub(65000));
}

TEST(Appendix8, LineWithFiveLossesIsSplit) {
    Summary f;
    auto& j = f.root.securitiesOrdinary;
    j.tradedIncome = rub(1000000);
    j.tradedCosts = rub(500000);
    j.tradedCostsCapped = rub(500000);
    j.invDeduction = rub(100000);
    j.repoLossOnTraded = rub(10000);
    j.lendingLossOnTraded = rub(20000);
    j.tradedShortInterest = rub(30000);
    j.priorLossOnTraded = rub(40000);
    j.derivSecLossOnTraded = rub(50000);
    j.untradedIncome = rub(1000); // the next line follows the pair
    const auto& s = f.computeSheet();
    ASSERT_EQ(kinds(s), (std::vector<std::string>{"01", "01", "04"}));
    const Appendix8Operation& first = s.operations[0];
    const Appendix8Operation& second = s.operations[1];
    EXPECT_EQ(first.income, rub(660000));
    EXPECT_EQ(first.costs, rub(500000));
    EXPECT_EQ(first.invDeduction219_1, rub(100000));
    EXPECT_EQ(exported(first), (Losses{{"10", rub(10000)}, {"12", rub(20000)}, {"15", rub(30000)}}));
    EXPECT_EQ(second.income, rub(340000));
    EXPECT_EQ(second.costs, rub(0));
    EXPECT_EQ(second.expenses, rub(0));
    EXPECT_EQ(second.invDeduction219_1, rub(0));
    EXPECT_EQ(second.lossFlag, 1);
    EXPECT_EQ(exported(second), (Losses{{"31", rub(40000)}, {"06", rub(50000)}}));
    EXPECT_EQ(s.expensesTotal, rub(650000));
    EXPECT_EQ(s.investmentDeductionsTotal, rub(100000));
}

TEST(Appendix8, LinesOfBothAccountsInOrderWithTheirLossKinds) {
    Summary f;
    for (SecuritiesSheet* j : {&f.root.securitiesOrdinary, &f.root.securitiesIia}) {
        j->onceTradedIncome = rub(50000);
        j->onceTradedCostsCapped = rub(30000);
        j->onceTradedCosts = rub(30000);
        j->tradedLossOnOnceTraded = rub(20000);
        j->untradedIncome = rub(100000);
        j->partnershipLossOnUntraded = rub(7000);
        j->untradedShortInterest = rub(3000);
        j->derivSecIncome = rub(30000);
        j->priorLossOnDerivSec = rub(1000);
        j->tradedLossOnDerivSec = rub(2000);
        j->derivOtherLossOnDerivSec = rub(3000);
        j->derivOtherIncome = rub(9000);
        j->priorLossOnDerivOther = rub(400);
        j->derivSecLossOnDerivOther = rub(500);
        j->derivUntradedIncome = rub(1);
        j->repoCosts = rub(2); // costs alone make a line
        j->lendingIncome = rub(3);
    }
    const auto& s = f.computeSheet();
    ASSERT_EQ(kinds(s), (std::vector<std::string>{"03", "04", "06", "07", "08", "10", "12", "18", "19", "21",
                                                  "22", "23", "25", "27"}));
    EXPECT_EQ(exported(s.operations[0]), (Losses{{"01", rub(20000)}}));
    EXPECT_EQ(exported(s.operations[1]), (Losses{{"15", rub(3000)}, {"13", rub(7000)}}));
    EXPECT_EQ(exported(s.operations[2]), (Losses{{"32", rub(1000)}, {"01", rub(2000)}, {"07", rub(3000)}}));
    EXPECT_EQ(exported(s.operations[3]), (Losses{{"32", rub(400)}, {"06", rub(500)}}));
    EXPECT_EQ(s.operations[5].income, rub(0));
    EXPECT_EQ(s.operations[5].costs, rub(2));
    EXPECT_EQ(s.operations[5].lossFlag, 0);
    EXPECT_EQ(exported(s.operations[7]), (Losses{{"16", rub(20000)}}));
    EXPECT_EQ(exported(s.operations[8]), (Losses{{"30", rub(3000)}, {"28", rub(7000)}}));
    EXPECT_EQ(exported(s.operations[9]), (Losses{{"35", rub(1000)}, {"16", rub(2000)}, {"22", rub(3000)}}));
    EXPECT_EQ(exported(s.operations[10]), (Losses{{"35", rub(400)}, {"21", rub(500)}}));
    // Both accounts: 30 000 of expenses and 20 000 + 10 000 + 6 000 + 900 of losses each.
    EXPECT_EQ(s.expensesTotal, rub(2 * (30000 + 20000 + 10000 + 6000 + 900)));
}

TEST(Appendix8, ExemptInvestmentAccountResultsAreInvestmentDeductions) {
    Summary f;
    auto& i = f.root.securitiesIia;
    i.tradedIncome = rub(100000);
    i.tradedCosts = rub(40000);
    i.tradedCostsCapped = rub(40000);
    i.exemptTraded = rub(60000);
    i.repoIncome = rub(5000);
    i.exemptRepo = rub(5000);
    const auto& s = f.computeSheet();
    ASSERT_EQ(kinds(s), (std::vector<std::string>{"16", "25"}));
    EXPECT_EQ(s.operations[0].invDeduction219_3, rub(60000));
    EXPECT_EQ(s.operations[0].invDeduction219_1, rub(0));
    EXPECT_EQ(s.operations[1].invDeduction219_3, rub(5000));
    EXPECT_EQ(s.investmentDeductionsTotal, rub(65000));
    EXPECT_EQ(s.expensesTotal, rub(40000));
}

TEST(Appendix8, PartnershipLines) {
    Summary f;
    auto& p = f.root.investPartnership;
    p.p5002Income = rub(80000);
    p.p5002Costs = p.p5002Expenses = rub(30000);
    p.invDeduction5002 = rub(20000);
    p.priorLoss5002 = rub(10000);
    p.p5013Income = rub(100000);
    p.p5013Costs = rub(120000);
    p.p5013Expenses = rub(100000);
    p.p5029Income = rub(50000);
    p.exempt5029 = rub(50000);
    p.p5020Income = rub(9000);
    p.priorLoss5020 = rub(4000);
    f.root.securitiesOrdinary.tradedIncome = rub(1); // securities lines come first
    const auto& s = f.computeSheet();
    ASSERT_EQ(kinds(s), (std::vector<std::string>{"01", "02", "13", "20", "29"}));
    EXPECT_EQ(s.operations[1].invDeduction219_1, rub(20000));
    EXPECT_EQ(exported(s.operations[1]), (Losses{{"33", rub(10000)}}));
    EXPECT_EQ(s.operations[2].expenses, rub(100000));
    EXPECT_EQ(s.operations[2].lossFlag, 0);
    EXPECT_EQ(exported(s.operations[3]), (Losses{{"36", rub(4000)}}));
    EXPECT_EQ(s.operations[4].invDeduction219_3, rub(50000));
    EXPECT_EQ(s.investmentDeductionsTotal, rub(70000));
    EXPECT_EQ(s.expensesTotal, rub(30000 + 10000 + 100000 + 4000));
}

} // namespace
} // namespace kv::test
