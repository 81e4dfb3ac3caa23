// Appendix 5: the pension contracts under one limit, what agents granted, the
// month-by-month figures taking over, the social limits (120 000, 50 000 per
// child, charity as a share of income) and the split between agents and return.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kv::test {
namespace {

PensionContract contract(std::int32_t kind, Money contribution, const char* number = "") {
    PensionContract p;
    p.contractKind = kind;
    p.organisationName = "NPF";
    p.organisationInn = "7701234567";
    p.organisationKpp = "770101001";
    p.contractNumber = Cp1251Text::fromBytes(std::string_view(number));
    p.contractDate = date(2015, 2, 3);
    p.contribution = contribution;
    return p;
}

TEST(PensionContracts, OneLimitInTheOrderEntered) {
    // 100 000 (kind 1) fits; additional contributions of 50 000 get the 20 000 left;
    // a later contract of 30 000 finds no room; an unknown kind is ignored.
    SheetFixture f;
    SocialDeduction& sd = f.doc.socialDeductions;
    sd.granted = 1;
    sd.pensionContracts.add(contract(1, rub(100000), "N-1"));
    sd.pensionContracts.add(contract(4, rub(50000)));
    sd.pensionContracts.add(contract(3, rub(30000), "N-3"));
    sd.pensionContracts.add(contract(5, rub(1000)));
    PensionContractsSheet& s = f.root.pensionContracts;
    s.compute(f.doc, f.root);
    ASSERT_EQ(s.contractCount, 2);
    EXPECT_EQ(s.contracts[0],
              (PensionContractLine{1, Cp1251Text{"NPF"}, Cp1251Text{"7701234567"}, Cp1251Text{"770101001"},
                                   Cp1251Text{"N-1"}, date(2015, 2, 3), rub(100000), rub(100000)}));
    EXPECT_EQ(s.contracts[1].paid, rub(30000));
    EXPECT_EQ(s.contracts[1].deductible, Money{});
    EXPECT_EQ(s.npfDeductible, rub(100000));
    EXPECT_EQ(s.additionalDeductible, rub(20000));
    EXPECT_EQ(s.totalDeductible, rub(120000));

    sd.granted = 0;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s, PensionContractsSheet{});
}

TEST(Appendix5, AgentsStandardDeductionsByCodeWithTheYearLimits) {
    // 3 000 × 14 months = 42 000 -> 36 000; 500 × 13 = 6 500 -> 6 000.
    SheetFixture f;
    ThirteenPercentSource& a = f.addSource13("", Money{});
    a.addAgentDeduction({105, rub(42000)});
    a.addAgentDeduction({104, rub(6500)});
    a.addAgentDeduction({126, rub(8400)});
    ThirteenPercentSource& b = f.addSource13("", Money{});
    b.addAgentDeduction({132, rub(1000)});
    b.addAgentDeduction({129, rub(12000)});
    b.addAgentDeduction({142, rub(2800)});
    b.addAgentDeduction({149, rub(24000)});
    b.addAgentDeduction({311, rub(500000)}); // property deduction: not here
    b.addAgentDeduction({150, rub(700)});    // not a standard code
    Appendix5Sheet& s = f.root.stdSocialDeductions;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.std3000, rub(36000));
    EXPECT_EQ(s.std500, rub(6000));
    EXPECT_EQ(s.child, rub(9400));
    EXPECT_EQ(s.disabledChild, rub(12000));
    EXPECT_EQ(s.childSingleParent, rub(2800));
    EXPECT_EQ(s.disabledChildSingleParent, rub(24000));
    EXPECT_EQ(s.standardByAgents, rub(90200));
    EXPECT_EQ(s.standardInReturn, Money{});
    EXPECT_EQ(s.stdSocialInReturn, Money{});
}

TEST(Appendix5, MonthByMonthFiguresReplaceTheAgents) {
    // Agents granted 20 000 for children; the year's months give 16 800: the agents'
    // share is lowered to 16 800 and nothing is left to claim. With 22 400 computed,
    // 2 400 more are claimed in the return.
    for (const auto& [computed, byAgents, inReturn] :
         {std::tuple{rub(16800), rub(16800), Money{}}, std::tuple{rub(22400), rub(20000), rub(2400)}}) {
        SheetFixture f;
        f.addSource13("", Money{}).addAgentDeduction({126, rub(20000)});
        f.doc.standardDeductions.granted = 1;
        f.root.standardByMonth.child = computed;
        f.root.standardByMonth.std3000 = Money{};
        Appendix5Sheet& s = f.root.stdSocialDeductions;
        s.compute(f.doc, f.root);
        EXPECT_EQ(s.child, computed);
        EXPECT_EQ(s.standardByAgents, byAgents);
        EXPECT_EQ(s.standardInReturn, inReturn);
        EXPECT_EQ(s.stdSocialInReturn, inReturn);
    }
}

TEST(Appendix5, SocialDeductionsWithTheirLimitsAndTheAgentsShare) {
    // Income base: 80 000 + 30 000 abroad + 10 000 business + 5 000 restored
    // investment deduction − 10 000 − 5 000 exempt abroad − 10 000 exempt = 100 000.
    // Charity: 25% = 25 000 of the 40 000 given, cultural 10 000, together at most
    // 30% = 30 000. Children's education: 50 000 + 30 000. Expensive treatment
    // 200 000 unlimited. Own education 100 000 + treatment 50 000 -> 120 000.
    // Agents: 320 50 000 kept; 324 70 000 -> the 50 000 of treatment; 321 90 000 ->
    // 80 000; 326 10 000. 190 000 by agents, 430 000 in all, 240 000 in the return.
    SheetFixture f;
    ThirteenPercentSource& src = f.addSource13("", Money{});
    src.addAgentDeduction({320, rub(50000)});
    src.addAgentDeduction({324, rub(70000)});
    src.addAgentDeduction({321, rub(90000)});
    src.addAgentDeduction({326, rub(10000)});
    f.root.russian13.totalIncome = rub(80000);
    f.root.foreign13.otherIncome = rub(30000);
    f.root.foreign13.exempt60 = rub(10000);
    f.root.foreign13.exempt60_1 = rub(5000);
    f.root.business.totalIncome = rub(10000);
    f.root.exemptIncome.exempt13 = rub(10000);
    f.doc.investmentDeductions.invIisContributions = rub(400000);
    f.doc.investmentDeductions.invRefundable = rub(5000);
    SocialDeduction& sd = f.doc.socialDeductions;
    sd.granted = 1;
    sd.charity = rub(40000);
    sd.charity30 = rub(10000);
    sd.childEducation.add(rub(60000));
    sd.childEducation.add(rub(30000));
    sd.expensiveMedical = rub(200000);
    sd.ownEducation = rub(100000);
    sd.medical = rub(50000);

    Appendix5Sheet& s = f.root.stdSocialDeductions;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.investmentDeduction, rub(400000));
    EXPECT_EQ(s.investmentRestored, rub(5000));
    // With the account's income exempt instead, its contributions give no deduction.
    f.doc.investmentDeductions.applyP3 = 1;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.investmentDeduction, Money{});
    EXPECT_EQ(s.investmentRestored, Money{});
    f.doc.investmentDeductions.applyP3 = 0;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.charity25, rub(25000));
    EXPECT_EQ(s.charityCulture30, rub(10000));
    EXPECT_EQ(s.charity, rub(30000));
    EXPECT_EQ(s.childEducation, rub(80000));
    EXPECT_EQ(s.expensiveTreatment, rub(200000));
    EXPECT_EQ(s.socialUncappedTotal, rub(310000));
    EXPECT_EQ(s.ownEducation, rub(100000));
    EXPECT_EQ(s.medicalServices, rub(50000));
    EXPECT_EQ(s.cappedExpensesTotal, rub(120000));
    EXPECT_EQ(s.agentCode320, rub(50000));
    EXPECT_EQ(s.agentCode321, rub(80000));
    EXPECT_EQ(s.agentCode324, rub(50000));
    EXPECT_EQ(s.agentCode326, rub(10000));
    EXPECT_EQ(s.socialByAgents, rub(190000));
    EXPECT_EQ(s.socialInReturn, rub(240000));
    EXPECT_EQ(s.stdSocialInReturn, rub(240000));
}

TEST(Appendix5, CharityLimitIsCutToKopecksAndPensionsComeFromTheContracts) {
    // Base 123 456.78: 25% = 30 864.195 -> 30 864.19; 30% = 37 037.034 -> 37 037.03.
    SheetFixture f;
    f.root.russian13.totalIncome = rub(123456, 78);
    f.root.pensionContracts.totalDeductible = rub(30000);
    SocialDeduction& sd = f.doc.socialDeductions;
    sd.granted = 1;
    sd.charity = rub(50000);
    sd.charity30 = rub(50000);
    sd.voluntaryInsurance = rub(20000);
    sd.qualificationAssessment = rub(5000);
    sd.medicines = rub(1000);
    Appendix5Sheet& s = f.root.stdSocialDeductions;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.charity25, rub(30864, 19));
    EXPECT_EQ(s.charityCulture30, rub(37037, 3));
    EXPECT_EQ(s.charity, rub(37037, 3));
    EXPECT_EQ(s.pensionContributions, rub(30000));
    EXPECT_EQ(s.cappedExpensesTotal, rub(56000));
    EXPECT_EQ(s.socialInReturn, rub(93037, 3));
}

TEST(Appendix5, AgentsSocialDeductionsNeedTheDeclaredExpense) {
    // Own education granted by the employer but not declared on the social screen:
    // nothing of it is counted.
    SheetFixture f;
    f.addSource13("", Money{}).addAgentDeduction({320, rub(50000)});
    Appendix5Sheet& s = f.root.stdSocialDeductions;
    s.compute(f.doc, f.root);
    EXPECT_EQ(s.agentCode320, Money{});
    EXPECT_EQ(s.socialByAgents, Money{});

    f.doc.declarationKind = 1;
    f.doc.investmentDeductions.invIisContributions = rub(1000);
    f.doc.incomes13.get(0).addAgentDeduction({105, rub(3000)});
    s.compute(f.doc, f.root);
    EXPECT_EQ(s, Appendix5Sheet{});
}

} // namespace
} // namespace kv::test
