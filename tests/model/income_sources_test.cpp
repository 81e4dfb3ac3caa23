#include "ModelTestSupport.h"
#include "model/IncomeSources.h"
#include "model/ListLimit.h"
#include "support/DocumentBytes.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::amount;
using test::items;
using test::rub;

ThirteenIncomeItem line13(const char* income, int month = 1) {
    ThirteenIncomeItem line;
    line.incomeCode = 2000;
    line.amount = amount(income);
    line.month = static_cast<std::int16_t>(month);
    return line;
}

PartnershipIncomeItem linePartnership(const char* income) {
    PartnershipIncomeItem line;
    line.operationKind = 1;
    line.incomeAmount = amount(income);
    return line;
}

TEST(IncomeSources, TotalIncomeFollowsTheLines) {
    ThirteenPercentSource s;
    InvestmentPartnership t;
    EXPECT_EQ(s.addItem(line13("100")), 0);
    EXPECT_EQ(s.addItem(line13("50.5")), 1);
    t.addItem(linePartnership("100"));
    t.addItem(linePartnership("50.5"));
    EXPECT_EQ(s.totalIncome, amount("150.5"));
    EXPECT_EQ(t.totalIncome, amount("150.5"));

    s.replaceItem(0, line13("70", 5));
    t.replaceItem(0, linePartnership("70"));
    EXPECT_EQ(s.totalIncome, amount("120.5"));
    EXPECT_EQ(t.totalIncome, amount("120.5"));
    EXPECT_EQ(s.item(0).month, 5); // the whole line is replaced, not only its amount

    s.deleteItem(1);
    t.deleteItem(1);
    EXPECT_EQ(s.totalIncome, amount("70"));
    EXPECT_EQ(t.totalIncome, amount("70"));
    EXPECT_EQ(s.itemCount(), 1);
    EXPECT_EQ(t.itemCount(), 1);

    s.insertItem(0, line13("5", 1));
    s.insertItem(2, line13("6", 12));
    EXPECT_EQ(s.totalIncome, amount("81"));
    EXPECT_EQ(s.item(0).month, 1);
    EXPECT_EQ(s.item(2).month, 12);
    EXPECT_THROW(s.insertItem(4, line13("1")), std::out_of_range);
    s.deleteItem(2);
    s.deleteItem(0);

    EXPECT_THROW(s.replaceItem(1, line13("1")), std::out_of_range);
    EXPECT_THROW(t.deleteItem(-1), std::out_of_range);
    EXPECT_EQ(s.totalIncome, amount("70"));
}

TEST(IncomeSources, AgentDeductionsAreAnOrderedList) {
    ThirteenPercentSource s;
    s.addAgentDeduction({126, amount("1400")});
    s.addAgentDeduction({127, amount("1400")});
    s.addAgentDeduction({311, amount("2000")});
    s.replaceAgentDeduction(1, {128, amount("3000")});
    s.deleteAgentDeduction(0);
    ASSERT_EQ(s.agentDeductionCount(), 2);
    EXPECT_EQ(s.agentDeduction(0), (AgentDeductionItem{128, amount("3000")}));
    EXPECT_EQ(s.agentDeduction(1), (AgentDeductionItem{311, amount("2000")}));
    EXPECT_EQ(s.totalIncome, Money()); // agent deductions are not income
}

// totalIncome is not in the file; a stale value in memory does not survive
// a save and load, the lines decide it.
TEST(IncomeSources, TotalIncomeIsRebuiltFromTheLinesOnLoading) {
    ThirteenPercentSource s;
    s.addItem(line13("100"));
    s.addItem(line13("0.25"));
    s.totalIncome = amount("999");
    InvestmentPartnership t;
    t.addItem(linePartnership("40"));
    t.totalIncome = amount("1");

    const std::string document = test::writeDocument([&](DocumentStorage& st) {
        s.saveTo(st, 0);
        t.saveTo(st, 0);
    });
    test::OpenedDocument opened(document);
    ThirteenPercentSource s2;
    s2.totalIncome = amount("5"); // loading starts the sum afresh
    s2.loadFrom(opened.storage(), 0);
    InvestmentPartnership t2;
    t2.loadFrom(opened.storage(), 0);
    EXPECT_EQ(s2.totalIncome, amount("100.25"));
    EXPECT_EQ(t2.totalIncome, amount("40"));
    EXPECT_EQ(s2.itemCount(), 2);
}

TEST(IncomeSources, ReservedSumSlots) {
    ThirteenPercentSource s;
    s.setReservedSum(0, amount("0"));
    s.setReservedSum(1, amount("12.5"));
    s.setReservedSum(2, amount("7"));
    s.setReservedSum(2, amount("-1")); // the absent marker clears a slot again
    EXPECT_TRUE(s.hasReservedSum(0));
    EXPECT_TRUE(s.hasReservedSum(1));
    EXPECT_FALSE(s.hasReservedSum(2));
    EXPECT_EQ(s.reservedSums[2], Money());
    EXPECT_FALSE(s.hasReservedSum(3));
    EXPECT_THROW(s.setReservedSum(12, amount("1")), std::out_of_range);

    const std::string document = test::writeDocument([&](DocumentStorage& st) { s.saveTo(st, 0); });
    // Slots follow the partnership flag: 0 stored as "0", 12.5, then "a" for each absent one.
    EXPECT_NE(
        document.find(items({"0", "0", "12.5", "a", "a", "a", "a", "a", "a", "a", "a", "a", "a", "0", "0"})),
        std::string::npos);
    test::OpenedDocument opened(document);
    ThirteenPercentSource loaded;
    loaded.loadFrom(opened.storage(), 0);
    EXPECT_EQ(loaded.reservedSumPresent, s.reservedSumPresent);
    EXPECT_EQ(loaded.reservedSums, s.reservedSums);
}

// Container version 1.0 has no primary-workplace flag in front of the payer.
TEST(IncomeSources, PrimaryWorkplaceFlagDependsOnContainerVersion) {
    struct Case {
        int major, minor;
        bool hasFlag;
    };
    for (const Case c : {Case{1, 0, false}, Case{1, 1, true}, Case{1, 2, true}}) {
        SCOPED_TRACE(c.minor);
        std::string record = items({"@ThirteenPercent000"});
        if (c.hasFlag)
            record += items({"1"});
        record += items({"7709990015", "770901001", "45397000", "N", "13", "100", "13", "0", "0"});
        for (int slot = 0; slot < 12; ++slot)
            record += items({"a"});
        record += items({"0", "0"});
        std::string document = test::writeDocument([](DocumentStorage&) {});
        document += record;
        test::setContainerVersion(document, c.major, c.minor);

        test::OpenedDocument opened(document);
        ThirteenPercentSource s;
        s.loadFrom(opened.storage(), 0);
        EXPECT_EQ(s.isPrimaryWorkplace, c.hasFlag ? 1 : 0);
        EXPECT_EQ(s.sourceInn, Cp1251Text{"7709990015"});
        EXPECT_EQ(s.sourceName, Cp1251Text{"N"});
        EXPECT_EQ(s.taxWithheld, amount("13"));
    }
}

// Sources of several lists in one document are told apart by their names.
TEST(IncomeSources, SourcesOfOneDocumentKeepTheirOwnLines) {
    std::vector<ThirteenPercentSource> resident(2);
    ThirteenPercentSource nonResident;
    resident[0].sourceName = "R0";
    resident[0].addItem(line13("1"));
    resident[0].addAgentDeduction({126, amount("1400")});
    resident[1].sourceName = "R1";
    resident[1].addItem(line13("2"));
    resident[1].addItem(line13("3"));
    nonResident.sourceName = "N0";
    nonResident.addItem(line13("4"));
    ThirtyPercentSource dividends, nine;
    dividends.incomeCode = 1010;
    dividends.totalIncome = amount("10");
    nine.incomeCode = 1011;
    nine.totalIncome = amount("9");

    const std::string document = test::writeDocument([&](DocumentStorage& st) {
        resident[0].saveTo(st, 0, ResidentSource);
        resident[1].saveTo(st, 1, ResidentSource);
        nonResident.saveTo(st, 0, NonResidentSource);
        dividends.saveTo(st, 0, DividendSource);
        nine.saveTo(st, 0, NinePercentSource);
    });
    for (const char* name : {"@ThirteenPercent000", "@ThirteenPercent001", "@ThirteenPerceNR000",
                             "@SourseIncome001001", "@SourseIncoNR000000", "@SSCDeducts000000"})
        EXPECT_NE(document.find(items({name})), std::string::npos) << name;

    test::OpenedDocument opened(document);
    ThirteenPercentSource r1, r0, n0;
    ThirtyPercentSource d, n;
    r1.loadFrom(opened.storage(), 1, ResidentSource); // order of reading does not matter
    n0.loadFrom(opened.storage(), 0, NonResidentSource);
    r0.loadFrom(opened.storage(), 0, ResidentSource);
    n.loadFrom(opened.storage(), 0, NinePercentSource);
    d.loadFrom(opened.storage(), 0, DividendSource);
    EXPECT_TRUE(r0 == resident[0]);
    EXPECT_TRUE(r1 == resident[1]);
    EXPECT_TRUE(n0 == nonResident);
    EXPECT_TRUE(d == dividends);
    EXPECT_TRUE(n == nine);
}

// A source takes at most kMaxListItems lines and agent deductions, because
// their positions are three digits of the stream names. The refused entry
// leaves what was entered untouched; a full source still saves and loads.
TEST(IncomeSources, ListsStopAtTheLimit) {
    ThirteenPercentSource s;
    InvestmentPartnership t;
    for (int i = 0; i < kMaxListItems; ++i) {
        s.addItem(line13("1"));
        s.addAgentDeduction({126, amount("1")});
        t.addItem(linePartnership("1"));
    }
    EXPECT_THROW(s.addItem(line13("5")), ListFull);
    EXPECT_THROW(s.addAgentDeduction({126, amount("1")}), ListFull);
    EXPECT_THROW(t.addItem(linePartnership("5")), ListFull);
    EXPECT_EQ(s.itemCount(), kMaxListItems);
    EXPECT_EQ(s.agentDeductionCount(), kMaxListItems);
    EXPECT_EQ(t.itemCount(), kMaxListItems);
    EXPECT_EQ(s.totalIncome, amount("1000"));
    EXPECT_EQ(t.totalIncome, amount("1000"));

    const std::string document = test::writeDocument([&](DocumentStorage& st) {
        s.saveTo(st, 999);
        t.saveTo(st, 999);
    });
    test::OpenedDocument opened(document);
    ThirteenPercentSource s2;
    InvestmentPartnership t2;
    s2.loadFrom(opened.storage(), 999);
    t2.loadFrom(opened.storage(), 999);
    EXPECT_TRUE(s2 == s);
    EXPECT_TRUE(t2 == t);
}

// Counts in a file are never trusted: a count beyond the limit is a damaged
// file, and a count with too few entries behind it fails on the first missing one.
TEST(IncomeSources, CountsReadFromAFileAreChecked) {
    const std::string emptyPayer = items({"", "", "", ""});
    const std::string slots = [] {
        std::string s;
        for (int i = 0; i < 12; ++i)
            s += items({"a"});
        return s;
    }();
    const std::string source13 =
        items({"@ThirteenPercent000", "0"}) + emptyPayer + items({"0", "0", "0", "0", "0"}) + slots;
    const std::string line =
        items({"@SourseIncome000000", "2000", "", "5", "0", "0", "0", "1", "0", "", "0", "0"});
    const std::string partnership = items({"@InvestTov000"}) + emptyPayer + items({"0", "0", "0"});

    struct Case {
        const char* name;
        std::string body;
        bool partnership;
        bool badFormat; // BadStorageError; otherwise a missing stream
    };
    const std::vector<Case> cases = {
        {"line count 65535 with nothing behind", source13 + items({"65535"}), false, true},
        {"line count 1001", source13 + items({"1001"}), false, true},
        {"two lines promised, one stored", source13 + items({"2"}) + line, false, false},
        {"agent deduction count 65535", source13 + items({"1"}) + line + items({"65535"}), false, true},
        {"agent deduction promised, none stored", source13 + items({"0", "1"}), false, false},
        {"partnership line count 1001", partnership + items({"1001"}), true, true},
        {"partnership line count 4000000", partnership + items({"4000000"}), true, true},
        {"partnership line promised, none stored", partnership + items({"1"}), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string document = test::writeDocument([](DocumentStorage&) {});
        document += c.body;
        test::OpenedDocument opened(document);
        auto load = [&] {
            if (c.partnership) {
                InvestmentPartnership t;
                t.loadFrom(opened.storage(), 0);
            } else {
                ThirteenPercentSource s;
                s.loadFrom(opened.storage(), 0);
            }
        };
        if (c.badFormat)
            EXPECT_THROW(load(), BadStorageError);
        else
            EXPECT_THROW(load(), StreamOpenError);
    }
}

TEST(IncomeSources, RecordsAreCopiesOfEachOther) {
    ThirteenPercentSource original;
    original.addItem(line13("10"));
    ThirteenPercentSource edited = original; // a dialog edits a copy
    edited.addItem(line13("5"));
    edited.replaceItem(0, line13("1"));
    EXPECT_EQ(original.itemCount(), 1);
    EXPECT_EQ(original.item(0).amount, amount("10"));
    EXPECT_EQ(original.totalIncome, amount("10"));
    EXPECT_EQ(edited.totalIncome, amount("6"));
}

} // namespace
} // namespace kv
