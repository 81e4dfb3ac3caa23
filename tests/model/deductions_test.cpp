// Deduction records: their stored items, the granted flags, the monthly count
// blocks and the lists they own.
#include "ModelTestSupport.h"
#include "model/Deductions.h"
#include "support/DocumentBytes.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::amount;
using test::cp;
using test::cpBytes;
using test::items;

constexpr std::size_t kHeader = DocumentStorage::kHeaderSize;

// One record saved alone: the items after the header, its storedSize and what
// reading those items back gives.
template <class Record> struct Saved {
    std::string body;
    std::int32_t storedSize = 0;
    Record loaded;
};

template <class Record> Saved<Record> saveAndLoad(const Record& record) {
    Saved<Record> out;
    const std::string doc = test::writeDocument([&](DocumentStorage& s) { record.saveTo(s); });
    out.body = doc.substr(kHeader);
    out.storedSize = record.storedSize();
    test::OpenedDocument opened(doc);
    out.loaded.loadFrom(opened.storage());
    return out;
}

StandardDeduction filledStandard() {
    StandardDeduction r;
    r.selfCode = 104;
    r.setChildrenCount(2);
    r.setDisabledInMonth(3, 1);
    r.isGuardian = 1;
    r.monthlySelfCodesSet = 1;
    r.monthlySelfCodes[0] = 2;
    return r;
}

SocialDeduction filledSocial() {
    SocialDeduction r;
    r.charity = amount("100");
    r.childEducation.add(amount("60000"));
    for (int i = 0; i < 3; ++i) {
        PensionContract p;
        p.contractKind = i + 1;
        p.organisationName = cp("Фонд");
        p.contribution = amount("1000");
        r.pensionContracts.add(p);
    }
    return r;
}

PropertyDeduction filledProperty() {
    PropertyDeduction r;
    r.priorYearsDeduction = amount("5000");
    HousingObject o;
    o.objectKind = 2;
    o.objectCost = amount("3500000");
    r.objects.add(o);
    return r;
}

SecuritiesLossDeduction filledLosses() {
    SecuritiesLossDeduction r;
    r.securitiesLoss = amount("10");
    r.partnershipLossIis = amount("3");
    return r;
}

InvestmentDeduction filledInvestment() {
    InvestmentDeduction r;
    r.invSecurities = amount("150000");
    r.applyP3 = 1;
    return r;
}

// While its flag is clear a record stores the flag alone, so whatever was
// entered comes back as the defaults after saving and loading.
TEST(DeductionRecords, UngrantedRecordStoresOnlyItsFlag) {
    struct Case {
        std::string stream;
        std::function<Saved<bool>()> run; // body, size, and "loaded equals a new record"
    };
    auto check = [](auto record) {
        return [record]() {
            auto saved = saveAndLoad(record);
            Saved<bool> out{saved.body, saved.storedSize, saved.loaded == decltype(record){}};
            return out;
        };
    };
    const std::vector<Case> cases = {
        {"@StandartDeduct", check(filledStandard())},     {"@SocialDeduct", check(filledSocial())},
        {"@ConstructionDeduct", check(filledProperty())}, {"@CBDeduct", check(filledLosses())},
        {"@InvDeduct", check(filledInvestment())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stream);
        const auto out = c.run();
        EXPECT_EQ(out.body, items({c.stream, "0"}));
        EXPECT_EQ(out.storedSize, static_cast<std::int32_t>(out.body.size()));
        EXPECT_TRUE(out.loaded);
    }
}

struct LayoutCase {
    std::string name;
    std::function<void()> run;
};

template <class Record> LayoutCase layout(std::string name, Record record, std::string body) {
    return {name, [record, body]() {
                auto saved = saveAndLoad(record);
                EXPECT_EQ(saved.body, body);
                EXPECT_EQ(saved.storedSize, static_cast<std::int32_t>(body.size()));
                EXPECT_TRUE(saved.loaded == record);
            }};
}

std::vector<std::string> repeat(const std::string& text, int times) {
    return std::vector<std::string>(times, text);
}

std::string itemsOf(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& t : texts)
        out += items({t});
    return out;
}

std::vector<LayoutCase> grantedLayouts() {
    std::vector<LayoutCase> cases;

    StandardDeduction twoChildren;
    twoChildren.granted = 1;
    twoChildren.setChildrenCount(2);
    cases.push_back(layout(
        "standard, two children all year", twoChildren,
        items({"@StandartDeduct", "1", "103", "101", "1", "2", "1", "0", "0", "0", "0", "1", "0", "0"})));

    StandardDeduction fromMay;
    fromMay.granted = 1;
    fromMay.selfCode = 105;
    for (int m = 0; m < 12; ++m)
        fromMay.setChildrenInMonth(m, m < 4 ? 1 : 2);
    std::vector<std::string> months = {"1", "1", "1", "1", "2", "2", "2", "2", "2", "2", "2", "2"};
    cases.push_back(layout("standard, children changing in May", fromMay,
                           items({"@StandartDeduct", "1", "105", "101", "0"}) + itemsOf(months) +
                               items({"1", "0", "0", "0", "0", "1", "0", "0"})));

    // Every optional block present: monthly business figures, codes, statuses.
    StandardDeduction monthly;
    monthly.granted = 1;
    monthly.selfCode = 110;
    monthly.childStatus = 103;
    monthly.setDisabledCount(1);
    monthly.setThirdPlusInMonth(11, 3);
    monthly.monthlyBusinessSet = 1;
    monthly.monthlyBusinessIncome[1] = amount("1000.5");
    monthly.monthlyBusinessExpense[2] = amount("-0.01");
    monthly.monthlyMarks[1] = 1;
    monthly.monthlySelfCodesSet = 1;
    monthly.monthlySelfCodes[6] = 2;
    monthly.monthlyChildStatusSet = 1;
    monthly.monthlyChildStatus[0] = 1;
    monthly.isGuardian = 1;
    auto incomes = repeat("0", 12);
    incomes[1] = "1000.5";
    auto expenses = repeat("0", 12);
    expenses[2] = "-0.01";
    auto marks = repeat("0", 12);
    marks[1] = "1";
    auto codes = repeat("0", 12);
    codes[6] = "2";
    auto statuses = repeat("0", 12);
    statuses[0] = "1";
    auto thirdPlus = repeat("0", 12);
    thirdPlus[11] = "3";
    cases.push_back(layout("standard, monthly blocks", monthly,
                           items({"@StandartDeduct", "1", "110", "103", "1", "0", "1", "1", "1"}) +
                               itemsOf(incomes) + itemsOf(expenses) + itemsOf(marks) + items({"1"}) +
                               itemsOf(codes) + items({"1"}) + itemsOf(statuses) + items({"0"}) +
                               itemsOf(thirdPlus) + items({"1"})));

    SocialDeduction social;
    social.granted = 1;
    social.ownEducation = amount("45000");
    social.childEducation.add(amount("60000"));
    social.childEducation.add(amount("30000"));
    social.qualificationAssessment = amount("6000");
    PensionContract fund;
    fund.contractKind = 4;
    fund.organisationName = cp("ПФР");
    fund.organisationInn = "7709990047";
    fund.organisationKpp = "770401001";
    fund.contractNumber = "12/3";
    fund.contractDate = DateValue::fromDays(43831);
    fund.contribution = amount("24000");
    social.pensionContracts.add(PensionContract{});
    social.pensionContracts.add(fund);
    cases.push_back(layout("social, education amounts and two contracts", social,
                           items({"@SocialDeduct",
                                  "1",
                                  "0",
                                  "0",
                                  "45000",
                                  "2",
                                  "60000",
                                  "30000",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "6000",
                                  "@Pens",
                                  "2",
                                  "@PensSub000",
                                  "0",
                                  "",
                                  "",
                                  "",
                                  "",
                                  "0",
                                  "0",
                                  "@PensSub001",
                                  "4",
                                  cpBytes("ПФР"),
                                  "7709990047",
                                  "770401001",
                                  "12/3",
                                  "43831",
                                  "24000"})));

    SocialDeduction noContracts;
    noContracts.granted = 1;
    cases.push_back(layout(
        "social, granted without contracts", noContracts,
        items({"@SocialDeduct", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "@Pens", "0"})));

    PropertyDeduction property;
    property.granted = 1;
    property.reservedSum1 = amount("1");
    property.reservedSum2 = amount("2");
    property.priorYearsDeduction = amount("3");
    property.priorYearsInterestDeduction = amount("4");
    property.objects.add(HousingObject{});
    HousingObject house;
    house.objectKind = 7;
    house.houseAcquisitionMethod = 1;
    house.taxpayerSign = 3;
    house.rightRegistrationDate = DateValue::fromDays(43000);
    house.transferActDate = DateValue::fromDays(43001);
    house.landRegistrationDate = DateValue::fromDays(42999);
    house.shareNumerator = 1;
    house.shareDenominator = 2;
    house.byInvestmentContract = 1;
    house.isPensioner = 1;
    house.objectCost = amount("5200000");
    house.mortgageInterest = amount("410000.75");
    house.numberKind = 1;
    house.objectNumber = "50:20:0041002:1105";
    house.objectAddress = cp("д. Сосновка");
    property.objects.add(house);
    cases.push_back(layout("property, a default object and a filled one", property,
                           items({"@ConstructionDeduct",
                                  "1",
                                  "1",
                                  "2",
                                  "3",
                                  "4",
                                  "2",
                                  "@ConstructionDeductObj000",
                                  "0",
                                  "0",
                                  "0",
                                  "37622",
                                  "37622",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "0",
                                  "",
                                  "",
                                  "@ConstructionDeductObj001",
                                  "7",
                                  "1",
                                  "3",
                                  "43000",
                                  "43001",
                                  "42999",
                                  "1",
                                  "2",
                                  "1",
                                  "1",
                                  "5200000",
                                  "410000.75",
                                  "1",
                                  "50:20:0041002:1105",
                                  cpBytes("д. Сосновка")})));

    SecuritiesLossDeduction losses;
    losses.granted = 1;
    losses.securitiesLoss = amount("10");
    losses.derivativesLoss = amount("20");
    losses.partnershipLoss = amount("30");
    losses.securitiesLossIis = amount("1");
    losses.derivativesLossIis = amount("2");
    losses.partnershipLossIis = amount("3");
    cases.push_back(layout("losses, ordinary ones first", losses,
                           items({"@CBDeduct", "1", "10", "20", "30", "1", "2", "3"})));

    InvestmentDeduction investment;
    investment.granted = 1;
    investment.invSecurities = amount("150000");
    investment.invPartnership = amount("50000");
    investment.invIisContributions = amount("400000");
    investment.invRefundable = amount("52000.01");
    investment.applyP3 = 1;
    cases.push_back(layout("investment", investment,
                           items({"@InvDeduct", "1", "150000", "50000", "400000", "52000.01", "1"})));
    return cases;
}

TEST(DeductionRecords, GrantedRecordsStoreTheirItemsInOrderAndReadThemBack) {
    for (const auto& c : grantedLayouts()) {
        SCOPED_TRACE(c.name);
        c.run();
    }
}

TEST(DeductionRecords, CountBlocksKeepTheirConstantFlag) {
    StandardDeduction r;
    r.setChildrenInMonth(0, 1);
    r.setDisabledInMonth(11, 1);
    r.setThirdPlusInMonth(5, 1);
    EXPECT_EQ(r.childrenConstant, 0);
    EXPECT_EQ(r.disabledConstant, 0);
    EXPECT_EQ(r.thirdPlusConstant, 0);
    EXPECT_EQ(r.childrenByMonth[0], 1);
    EXPECT_EQ(r.disabledByMonth[11], 1);
    EXPECT_EQ(r.thirdPlusByMonth[5], 1);
    r.setChildrenCount(3);
    r.setDisabledCount(0);
    r.setThirdPlusCount(1);
    EXPECT_EQ(r.childrenConstant, 1);
    EXPECT_EQ(r.disabledConstant, 1);
    EXPECT_EQ(r.thirdPlusConstant, 1);
    EXPECT_EQ(r.childrenCount, 3);
    EXPECT_THROW(r.setChildrenInMonth(12, 1), StorageAllocationError);
    EXPECT_THROW(r.setThirdPlusInMonth(-1, 1), StorageAllocationError);
}

// A damaged or missing monthly set-flag reads as clear; the rest of the stream still reads.
TEST(DeductionRecords, StandardDeductionToleratesBadMonthlyFlags) {
    struct Case {
        std::string name;
        std::vector<std::string> flags; // the three set-flags as stored
    };
    const std::vector<Case> cases = {
        {"garbled business flag", {"x", "0", "0"}},
        {"garbled code and status flags", {"0", "-", "?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string doc = test::writeDocument([](DocumentStorage&) {});
        doc += items({"@StandartDeduct", "1", "104", "102", "1", "2", "1", "0"}) + itemsOf(c.flags) +
               items({"1", "1", "1"});
        test::OpenedDocument opened(doc);
        StandardDeduction r;
        r.loadFrom(opened.storage());
        EXPECT_EQ(r.selfCode, 104);
        EXPECT_EQ(r.childStatus, 102);
        EXPECT_EQ(r.childrenCount, 2);
        EXPECT_EQ(r.monthlyBusinessSet, 0);
        EXPECT_EQ(r.monthlySelfCodesSet, 0);
        EXPECT_EQ(r.monthlyChildStatusSet, 0);
        EXPECT_EQ(r.thirdPlusCount, 1);
        EXPECT_EQ(r.isGuardian, 1);
    }
}

TEST(DeductionRecords, ListsRefuseBadIndicesAndAThousandAndFirstEntry) {
    SocialDeduction social;
    social.childEducation.add(amount("1"));
    social.childEducation.add(amount("2"));
    social.childEducation.add(amount("3"));
    social.childEducation.set(2, amount("30"));
    social.childEducation.remove(0);
    ASSERT_EQ(social.childEducation.count(), 2);
    EXPECT_EQ(social.childEducation.get(0), amount("2"));
    EXPECT_EQ(social.childEducation.get(1), amount("30"));
    try {
        social.childEducation.get(2);
        ADD_FAILURE() << "index 2 of 2 entries was accepted";
    } catch (const StorageAllocationError& e) {
        EXPECT_EQ(e.message(), cp("Не выделена память."));
    }
    EXPECT_THROW(social.pensionContracts.remove(0), StorageAllocationError);
    EXPECT_THROW(social.pensionContracts.get(-1), StorageAllocationError);

    PropertyDeduction property;
    for (int i = 0; i < kMaxListItems; ++i) {
        HousingObject o;
        o.objectKind = i;
        property.objects.add(o);
    }
    EXPECT_THROW(property.objects.add(HousingObject{}), ListFull);
    EXPECT_EQ(property.objects.count(), kMaxListItems);
    EXPECT_EQ(property.objects.get(kMaxListItems - 1).objectKind, kMaxListItems - 1);
}

// Counts are checked before anything is allocated: a huge count with nothing
// behind it fails at once as a damaged file.
TEST(DeductionRecords, DamagedCountsFailAsStorageFailures) {
    const std::string social = items({"@SocialDeduct", "1", "0", "0", "0"});
    const std::string socialTail = items({"0", "0", "0", "0", "0", "0", "0", "@Pens"});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"education count beyond the list limit", social + items({"2147483647"})},
        {"education count with too few amounts", social + items({"3", "1"})},
        {"contract count 65535", social + items({"0"}) + socialTail + items({"65535"})},
        {"contract count with no contracts", social + items({"0"}) + socialTail + items({"2"})},
        {"object count 65535", items({"@ConstructionDeduct", "1", "0", "0", "0", "0", "65535"})},
        {"object count with no objects", items({"@ConstructionDeduct", "1", "0", "0", "0", "0", "999"})},
    };
    for (const auto& [name, body] : cases) {
        SCOPED_TRACE(name);
        const std::string doc = test::writeDocument([](DocumentStorage&) {}) + body;
        EXPECT_TRUE(test::failsAsDamaged([&] {
            test::OpenedDocument opened(doc);
            if (body.find("@SocialDeduct") != std::string::npos) {
                SocialDeduction r;
                r.loadFrom(opened.storage());
            } else {
                PropertyDeduction r;
                r.loadFrom(opened.storage());
            }
        }));
    }
}

} // namespace
} // namespace kv
