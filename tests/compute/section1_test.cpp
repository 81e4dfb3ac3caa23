// Section 1: payable amounts go to the taxpayer's OKTMO under the code of their
// kind of income; refunds go back to the agents that withheld the tax, in entry
// order, and only then to the taxpayer.
#include "SheetFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace kv {
inline bool operator==(const Section1Line& a, const Section1Line& b) {
    return std::tie(a.kbk, a.oktmo, a.direction, a.amount) == std::tie(b.kbk, b.oktmo, b.direction, b.amount);
}
inline void PrintTo(const Section1Line& l, std::ostream* os) {
    *os << "{" << l.kbk.bytes() << ", " << l.oktmo.bytes() << ", " << l.direction.bytes() << ", "
        << moneyText(l.amount, '.') << "}";
}
} // namespace kv

namespace kv::test {
namespace {

const Cp1251Text kAgents{"18210102010011000110"};
const Cp1251Text kBusiness{"18210102020011000110"};
const Cp1251Text kOther{"18210102030011000110"};
const Cp1251Text kCfc{"18210102050011000110"};
const Cp1251Text kTaxpayer{"46000000"};

constexpr std::uint8_t kAllLists = Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                                   Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes;

struct Case {
    std::string name;
    int declarationKind;
    std::function<void(SheetFixture&)> setup;
    std::vector<Section1Line> lines;
    bool result;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

void refund(Section2Sheet& s, std::int64_t roubles) {
    s.taxToRefund = rub(roubles);
}
void pay(Section2Sheet& s, std::int64_t roubles) {
    s.taxToPay = rub(roubles);
}

template <class T> void addSource(IncomeList<T>& list, const Cp1251Text& oktmo, std::int64_t withheld) {
    T s;
    s.sourceOktmo = oktmo;
    s.taxWithheld = rub(withheld);
    list.add(std::move(s));
}

class Section1Cases : public ::testing::TestWithParam<Case> {};

TEST_P(Section1Cases, LinesAndResult) {
    const Case& c = GetParam();
    SheetFixture f(kAllLists);
    f.doc.declarationKind = static_cast<std::uint8_t>(c.declarationKind);
    f.doc.person.oktmo = kTaxpayer;
    c.setup(f);
    const bool result = f.root.section1.compute(f.doc, f.root);
    EXPECT_EQ(f.root.section1.lines, c.lines);
    EXPECT_EQ(f.root.section1.lineCount, static_cast<std::int32_t>(c.lines.size()));
    EXPECT_EQ(result, c.result);
}

// clang-format off
const Case kCases[] = {
    {"RefundSpreadOverTwoAgentsInEntryOrder", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 3000);
         addSource(f.doc.incomes13, Cp1251Text{"22000000"}, 4000);
         refund(f.root.section2Other13, 5000);
     },
     {{kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(3000)}, {kAgents, Cp1251Text{"22000000"}, Cp1251Text{"2"}, rub(2000)}}, true},
    {"AgentsWithOneOktmoShareALine", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 3000);
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 4000);
         refund(f.root.section2Other13, 5000);
     },
     {{kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(5000)}}, true},
    {"RemainderGoesToTheTaxpayer", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 3000);
         addSource(f.doc.incomes13, Cp1251Text{"22000000"}, 4000);
         refund(f.root.section2Other13, 10000);
     },
     {{kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(3000)}, {kAgents, Cp1251Text{"22000000"}, Cp1251Text{"2"}, rub(4000)},
      {kAgents, kTaxpayer, Cp1251Text{"2"}, rub(3000)}}, true},
    {"RemainderJoinsTheAgentLineOfTheSameOktmo", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, kTaxpayer, 3000);
         addSource(f.doc.incomes13, Cp1251Text{"22000000"}, 4000);
         refund(f.root.section2Other13, 10000);
     },
     {{kAgents, kTaxpayer, Cp1251Text{"2"}, rub(6000)}, {kAgents, Cp1251Text{"22000000"}, Cp1251Text{"2"}, rub(4000)}}, true},
    {"AgentsWithoutWithheldTaxAreSkippedThenPartnerships", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 0);
         addSource(f.doc.incomes13, Cp1251Text{"22000000"}, 1000);
         addSource(f.doc.investPartnerships, Cp1251Text{"33000000"}, 5000);
         refund(f.root.section2Other13, 4000);
     },
     {{kAgents, Cp1251Text{"22000000"}, Cp1251Text{"2"}, rub(1000)}, {kAgents, Cp1251Text{"33000000"}, Cp1251Text{"2"}, rub(3000)}}, true},
    {"EntrepreneurPaysBusinessTaxFirst", 0,
     [](SheetFixture& f) {
         f.doc.taxpayerCategory = 0;
         f.root.business.totalIncome = rub(400000);
         f.root.business.professionalDeductions = rub(100000);
         f.root.business.advancesPaid = rub(9000); // 39 000 - 9 000 = 30 000
         pay(f.root.section2Other13, 50000);
     },
     {{kBusiness, kTaxpayer, Cp1251Text{"1"}, rub(30000)}, {kOther, kTaxpayer, Cp1251Text{"1"}, rub(20000)}}, false},
    {"BusinessTaxAboveWhatIsPayable", 0,
     [](SheetFixture& f) {
         f.root.business.totalIncome = rub(400000);
         pay(f.root.section2Other13, 10000);
     },
     {{kBusiness, kTaxpayer, Cp1251Text{"1"}, rub(10000)}}, false},
    {"BusinessAdvancesRefundedBeforeAgents", 0,
     [](SheetFixture& f) {
         f.doc.businessIncomes.add(BusinessActivity{});
         f.doc.actualAdvancePayments = rub(5000);
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 30000);
         refund(f.root.section2Other13, 20000);
     },
     {{kBusiness, kTaxpayer, Cp1251Text{"2"}, rub(5000)}, {kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(15000)}}, true},
    {"AdvancesWithoutBusinessRecordGoToAgents", 0,
     [](SheetFixture& f) {
         f.doc.actualAdvancePayments = rub(5000);
         addSource(f.doc.incomes13, Cp1251Text{"11000000"}, 30000);
         refund(f.root.section2Other13, 20000);
     },
     {{kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(20000)}}, true},
    {"PayableAt13And35ShareOneLine", 0,
     [](SheetFixture& f) {
         pay(f.root.section2Other13, 1000);
         pay(f.root.section2Rate35, 700);
     },
     {{kOther, kTaxpayer, Cp1251Text{"1"}, rub(1700)}}, false},
    {"DividendRefundBeyondWithheldIsNotPlaced", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes30, Cp1251Text{"55000000"}, 1000);
         refund(f.root.section2Dividends13, 3000);
     },
     {{kAgents, Cp1251Text{"55000000"}, Cp1251Text{"2"}, rub(1000)}}, true},
    {"CfcAndOtherRatesInOrder", 0,
     [](SheetFixture& f) {
         addSource(f.doc.incomes9, Cp1251Text{"99000000"}, 800);
         addSource(f.doc.incomes35, Cp1251Text{"35000000"}, 200);
         pay(f.root.section2Dividends13, 100);
         pay(f.root.section2Cfc13, 13000);
         refund(f.root.section2Rate9, 500);
         refund(f.root.section2Rate35, 300);
     },
     {{kOther, kTaxpayer, Cp1251Text{"1"}, rub(100)}, {kCfc, kTaxpayer, Cp1251Text{"1"}, rub(13000)},
      {kAgents, Cp1251Text{"99000000"}, Cp1251Text{"2"}, rub(500)}, {kAgents, Cp1251Text{"35000000"}, Cp1251Text{"2"}, rub(200)}}, false},
    {"ZeroReturnOfAnIndividual", 0, [](SheetFixture&) {},
     {{kOther, kTaxpayer, Cp1251Text{"3"}, rub(0)}}, false},
    {"ZeroReturnOfANotary", 0, [](SheetFixture& f) { f.doc.taxpayerCategory = 2; },
     {{kBusiness, kTaxpayer, Cp1251Text{"3"}, rub(0)}}, false},
    {"NonResidentRefundOverNonResidentSourcesThenTaxpayer", 1,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"13000000"}, 9000); // not a non-resident's 13% source
         addSource(f.doc.incomes13NonResident, Cp1251Text{"11000000"}, 2000);
         addSource(f.doc.investPartnerships, Cp1251Text{"33000000"}, 1000);
         refund(f.root.section2Other13, 4000);
     },
     {{kAgents, Cp1251Text{"11000000"}, Cp1251Text{"2"}, rub(2000)}, {kAgents, Cp1251Text{"33000000"}, Cp1251Text{"2"}, rub(1000)},
      {kAgents, kTaxpayer, Cp1251Text{"2"}, rub(1000)}}, true},
    {"NonResidentRate30RefundOverThe13Sources", 1,
     [](SheetFixture& f) {
         addSource(f.doc.incomes13, Cp1251Text{"13000000"}, 9000);
         addSource(f.doc.incomes30, Cp1251Text{"30000000"}, 500);
         pay(f.root.section2Other13, 100);
         refund(f.root.section2Dividends15, 800);
         refund(f.root.section2Rate30, 10000);
     },
     {{kOther, kTaxpayer, Cp1251Text{"1"}, rub(100)}, {kAgents, Cp1251Text{"30000000"}, Cp1251Text{"2"}, rub(500)},
      {kAgents, Cp1251Text{"13000000"}, Cp1251Text{"2"}, rub(9000)}}, false},
    {"TerminationOfBusinessPays", 3,
     [](SheetFixture& f) {
         f.root.business.totalIncome = rub(100000);
         pay(f.root.section2Other13, 13000);
     },
     {{kBusiness, kTaxpayer, Cp1251Text{"1"}, rub(13000)}}, false},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Section1, Section1Cases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(Section1, BusinessTaxNeedsTheBusinessBit) {
    SheetFixture f(Declaration::kAgentIncomes);
    f.doc.person.oktmo = kTaxpayer;
    f.root.business.totalIncome = rub(400000);
    pay(f.root.section2Other13, 10000);
    EXPECT_FALSE(f.root.section1.compute(f.doc, f.root));
    ASSERT_EQ(f.root.section1.lines.size(), 1u);
    EXPECT_EQ(f.root.section1.lines[0].kbk, kOther);
}

TEST(Section1, FourNdflHasNoLines) {
    SheetFixture f;
    f.doc.declarationKind = 2;
    EXPECT_TRUE(f.root.section1.compute(f.doc, f.root));
    EXPECT_TRUE(f.root.section1.lines.empty());
}

} // namespace
} // namespace kv::test
