// Each record's stored form item by item: saving gives exactly these items,
// storedSize is their length, and reading them back gives the record again.
#include "ModelTestSupport.h"
#include "model/ForeignBusiness.h"
#include "model/IncomeSources.h"
#include "model/Person.h"
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

struct LayoutCase {
    std::string name;
    std::string body; // the items after the header
    std::int32_t storedSize = 0;
    std::function<void(DocumentStorage&)> save;
    std::function<void(DocumentStorage&)> loadAndCompare;
};

template <class Record, class Save, class Load, class Size>
LayoutCase layoutCase(std::string name, const Record& record, Save save, Load load, Size size,
                      std::string body) {
    LayoutCase c;
    c.name = std::move(name);
    c.body = std::move(body);
    c.storedSize = size(record);
    c.save = [record, save](DocumentStorage& s) { save(record, s); };
    c.loadAndCompare = [record, load](DocumentStorage& s) {
        Record loaded;
        load(loaded, s);
        EXPECT_TRUE(loaded == record);
    };
    return c;
}

// --- taxpayer -----------------------------------------------------------------

LayoutCase newTaxpayer() {
    Taxpayer p;
    return layoutCase(
        "new taxpayer", p, [](const auto& r, auto& s) { r.saveTo(s); },
        [](auto& r, auto& s) { r.loadFrom(s); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@PersonName", "", "", "", "", "", "0",
               "@PersonDocument", "0", "", "", "32874", "28126", "", "", "0",
               "@Foreigner", "", cpBytes("РОССИЯ"), "", "643",
               "@PhoneForeignerHome", "", "",
               "@PhoneForeignerWork", "", "",
               "@PersonAddress", "0", "", "0", "", "", "", "", "", "", "", "", "",
               "@HomePhone", "", "",
               "@WorkPhone", "", ""}));
    // clang-format on
}

LayoutCase fullTaxpayer() {
    Taxpayer p;
    p.surname = cp("Иванов");
    p.firstName = cp("Пётр");
    p.patronymic = cp("Ильич");
    p.inn = "500100732259";
    p.nameExtra = "x";
    p.nameSign = "1";
    p.identityDocCode = 21;
    p.identityDocName = cp("Паспорт");
    p.identityDocNumber = "45 06 123456";
    p.identityDocDate = DateValue::fromDays(38426);
    p.birthDate = DateValue::fromDays(29403);
    p.identityDocIssuer = cp("ОВД");
    p.birthPlace = cp("Москва");
    p.docExtraByte = 3;
    p.citizenshipStatus = "2";
    p.citizenshipCountryName = "";
    p.citizenshipExtra = "e";
    p.citizenshipCountryCode = "";
    p.foreignHomePhoneCode = "hc";
    p.foreignHomePhone = "hp";
    p.foreignWorkPhoneCode = "wc";
    p.foreignWorkPhone = "wp";
    p.addressKind = 1;
    p.addressRegionName = "rn";
    p.addressRegionCode = 77;
    p.addressPostIndex = "101000";
    p.addressDistrict = "di";
    p.addressCity = "ci";
    p.addressLocality = "lo";
    p.addressStreet = "st";
    p.addressHouse = "ho";
    p.addressBuilding = "bu";
    p.addressFlat = "fl";
    p.oktmo = "45382000";
    p.homePhoneCode = "495";
    p.contactPhone = "1234567";
    p.workPhoneCode = "499";
    p.workPhone = "7654321";
    return layoutCase(
        "taxpayer with every field", p, [](const auto& r, auto& s) { r.saveTo(s); },
        [](auto& r, auto& s) { r.loadFrom(s, "Quil2019"); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@PersonName", cpBytes("Иванов"), cpBytes("Пётр"), cpBytes("Ильич"), "500100732259", "x", "1",
               "@PersonDocument", "21", cpBytes("Паспорт"), "45 06 123456", "38426", "29403", cpBytes("ОВД"),
               cpBytes("Москва"), "3",
               "@Foreigner", "2", "", "e", "",
               "@PhoneForeignerHome", "hc", "hp",
               "@PhoneForeignerWork", "wc", "wp",
               "@PersonAddress", "1", "rn", "77", "101000", "di", "ci", "lo", "st", "ho", "bu", "fl",
               "45382000",
               "@HomePhone", "495", "1234567",
               "@WorkPhone", "499", "7654321"}));
    // clang-format on
}

// --- income sources -------------------------------------------------------------

IncomeSource payer() {
    IncomeSource s;
    s.sourceInn = "7709990015";
    s.sourceKpp = "770901001";
    s.sourceOktmo = "45397000";
    s.sourceName = cp("ПАО Приречье");
    return s;
}

LayoutCase residentSource() {
    ThirteenPercentSource s;
    static_cast<IncomeSource&>(s) = payer();
    s.isPrimaryWorkplace = 1;
    s.taxWithheld = amount("13000");
    s.taxableIncome = amount("99000.5");
    s.computedTax = amount("12870");
    s.reservedSum = amount("0.01");
    s.isInvestmentPartnership = 0;
    s.setReservedSum(0, amount("5"));
    s.setReservedSum(11, amount("0"));
    ThirteenIncomeItem line;
    line.incomeCode = 2000;
    line.incomeName = cp("Зарплата");
    line.amount = amount("100000.5");
    line.deductionCode = 501;
    line.deductionAmount = amount("4000");
    line.deductionPercent = 0;
    line.month = 12;
    s.addItem(line);
    ThirteenIncomeItem sale;
    sale.incomeCode = 1510;
    sale.amount = amount("2");
    sale.deductionPercent = 20;
    sale.month = 3;
    sale.hasCadastralData = 1;
    sale.cadastralNumber = Cp1251Text{"77:01:0001"};
    sale.cadastralValue = amount("3.25");
    sale.contractPrice = amount("4");
    s.addItem(sale);
    s.addAgentDeduction({126, amount("1400")});
    return layoutCase(
        "resident 13% source, index 4", s, [](const auto& r, auto& st) { r.saveTo(st, 4, ResidentSource); },
        [](auto& r, auto& st) { r.loadFrom(st, 4, ResidentSource); },
        [](const auto& r) { return r.storedSize(ResidentSource); },
        // clang-format off
        items({"@ThirteenPercent004", "1", "7709990015", "770901001", "45397000", cpBytes("ПАО Приречье"),
               "13000", "99000.5", "12870", "0.01", "0", "5", "a", "a", "a", "a", "a", "a", "a", "a", "a",
               "a", "0", "2",
               "@SourseIncome004000", "2000", cpBytes("Зарплата"), "100000.5", "501", "4000", "0", "12", "0", "",
               "0", "0",
               "@SourseIncome004001", "1510", "", "2", "0", "0", "20", "3", "1", "77:01:0001", "3.25", "4",
               "1",
               "@SSCDeducts004000", "126", "1400"}));
    // clang-format on
}

LayoutCase emptyNonResidentSource() {
    ThirteenPercentSource s;
    return layoutCase(
        "non-resident 13% source without lines", s,
        [](const auto& r, auto& st) { r.saveTo(st, 0, NonResidentSource); },
        [](auto& r, auto& st) { r.loadFrom(st, 0, NonResidentSource); },
        [](const auto& r) { return r.storedSize(NonResidentSource); },
        // clang-format off
        items({"@ThirteenPerceNR000", "0", "", "", "", "", "0", "0", "0", "0", "0", "a", "a", "a", "a", "a",
               "a", "a", "a", "a", "a", "a", "a", "0", "0"}));
    // clang-format on
}

LayoutCase nonResidentLine() {
    ThirteenPercentSource s;
    ThirteenIncomeItem line;
    line.incomeCode = 2010;
    line.amount = amount("7");
    s.addItem(line);
    return layoutCase(
        "non-resident line naming", s, [](const auto& r, auto& st) { r.saveTo(st, 12, NonResidentSource); },
        [](auto& r, auto& st) { r.loadFrom(st, 12, NonResidentSource); },
        [](const auto& r) { return r.storedSize(NonResidentSource); },
        // clang-format off
        items({"@ThirteenPerceNR012", "0", "", "", "", "", "0", "0", "0", "0", "0", "a", "a", "a", "a", "a",
               "a", "a", "a", "a", "a", "a", "a", "1",
               "@SourseIncoNR012000", "2010", "", "7", "0", "0", "0", "1", "0", "", "0", "0", "0"}));
    // clang-format on
}

LayoutCase thirtyFiveSource() {
    ThirtyFivePercentSource s;
    static_cast<IncomeSource&>(s) = payer();
    s.incomeCode = 2610;
    s.totalIncome = amount("1500");
    s.deductionCode = 0;
    s.deductionAmount = amount("0.5");
    s.taxWithheld = amount("525");
    return layoutCase(
        "35% source", s, [](const auto& r, auto& st) { r.saveTo(st, 1); },
        [](auto& r, auto& st) { r.loadFrom(st, 1); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@ThirtyFivePercent001", "2610", "7709990015", "770901001", "45397000", cpBytes("ПАО Приречье"),
               "1500", "0", "0.5", "525"}));
    // clang-format on
}

ThirtyPercentSource dividendLike() {
    ThirtyPercentSource s;
    static_cast<IncomeSource&>(s) = payer();
    s.incomeCode = 1010;
    s.totalIncome = amount("1000");
    s.taxCalculated = amount("130");
    s.taxableAmount = amount("900");
    s.taxWithheld = amount("120");
    return s;
}

LayoutCase dividendSource() {
    return layoutCase(
        "dividend source", dividendLike(), [](const auto& r, auto& st) { r.saveTo(st, 2, DividendSource); },
        [](auto& r, auto& st) { r.loadFrom(st, 2, DividendSource); },
        [](const auto& r) { return r.storedSize(DividendSource); },
        // clang-format off
        items({"@ThirtyPercent002", "1010", "7709990015", "770901001", "45397000", cpBytes("ПАО Приречье"),
               "1000", "130", "900", "120"}));
    // clang-format on
}

LayoutCase ninePercentSource() {
    ThirtyPercentSource s = dividendLike();
    s.incomeCode = 1011;
    return layoutCase(
        "9% source", s, [](const auto& r, auto& st) { r.saveTo(st, 0, NinePercentSource); },
        [](auto& r, auto& st) { r.loadFrom(st, 0, NinePercentSource); },
        [](const auto& r) { return r.storedSize(NinePercentSource); },
        // clang-format off
        items({"@NinePercent000", "1011", "7709990015", "770901001", "45397000", cpBytes("ПАО Приречье"), "1000",
               "130", "900", "120"}));
    // clang-format on
}

LayoutCase partnership() {
    InvestmentPartnership t;
    static_cast<IncomeSource&>(t) = payer();
    t.taxWithheld = amount("1");
    t.taxableAmount = amount("2");
    t.taxCalculated = amount("3");
    t.addItem({4, amount("500"), amount("10"), amount("20"), amount("30"), amount("40")});
    t.addItem({1, amount("0.25"), {}, {}, {}, {}});
    return layoutCase(
        "investment partnership", t, [](const auto& r, auto& st) { r.saveTo(st, 3); },
        [](auto& r, auto& st) { r.loadFrom(st, 3); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@InvestTov003", "7709990015", "770901001", "45397000", cpBytes("ПАО Приречье"), "1", "2", "3",
               "2",
               "@InvestTovIncome003000", "4", "500", "10", "20", "30", "40",
               "@InvestTovIncome003001", "1", "0.25", "0", "0", "0", "0"}));
    // clang-format on
}

// --- foreign and business ---------------------------------------------------------

LayoutCase foreignIncome() {
    ForeignIncome f;
    f.incomeRate = 13;
    f.incomeCode = 1010;
    f.incomeName = cp("Дивиденды");
    f.sourceName = "ACME Inc";
    f.countryCode = "840";
    f.incomeDate = DateValue::fromDays(43534);
    f.taxPaymentDate = DateValue::fromDays(43556);
    f.autoRate = 1;
    f.currencyCode = "840";
    f.incomeDateRate = amount("65.7418");
    f.incomeDateUnits = 1;
    f.taxDateRate = amount("64.7347");
    f.taxDateUnits = 1;
    f.currencyName = cp("Доллар США");
    f.incomeInCurrency = amount("100");
    f.incomeInRubles = amount("1"); // disagrees with the rate: loading must keep it
    f.taxInCurrency = amount("10");
    f.taxInRubles = amount("647.35");
    f.deductionCode = 0;
    f.deductionAmount = amount("0");
    f.deductionPercent = 0;
    f.cfcProfitMethod = 2;
    f.cfcNumber = "AB12345";
    f.cfcTaxWithheldInRussia = amount("5.5");
    return layoutCase(
        "foreign income", f, [](const auto& r, auto& st) { r.saveTo(st, 0); },
        [](auto& r, auto& st) { r.loadFrom(st, 0); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@CurrencyIncome000", "13", "1010", cpBytes("Дивиденды"), "ACME Inc", "840", "43534", "43556", "1",
               "840", "65.7418", "1", "64.7347", "1", cpBytes("Доллар США"), "100", "1", "10", "647.35", "0", "0",
               "0", "2", "AB12345", "5.5"}));
    // clang-format on
}

LayoutCase documentedBusiness() {
    BusinessActivity b;
    b.activityKind = "1";
    b.okvedCode = "62.01";
    b.incomeAmount = amount("1000000");
    b.totalExpenses = amount("600");
    b.materialExpenses = amount("100");
    b.depreciation = amount("200");
    b.labourExpenses = amount("250");
    b.otherExpenses = amount("50");
    return layoutCase(
        "business with documented expenses, third record", b,
        [](const auto& r, auto& st) { r.saveTo(st, 2); }, [](auto& r, auto& st) { r.loadFrom(st, 2); },
        [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@BusinessIncome002", "1", "62.01", "1000000", "1",
               "@BusinessExpense002", "600", "100", "200", "250", "50"}));
    // clang-format on
}

LayoutCase normBusiness() {
    BusinessActivity b;
    b.activityKind = "3";
    b.hasDocumentedExpenses = 0;
    b.incomeAmount = amount("500");
    b.standardExpenses = amount("100");
    return layoutCase(
        "business with expenses by norm", b, [](const auto& r, auto& st) { r.saveTo(st, 0); },
        [](auto& r, auto& st) { r.loadFrom(st, 0); }, [](const auto& r) { return r.storedSize(); },
        // clang-format off
        items({"@BusinessIncome000", "3", "..", "500", "0", "100"}));
    // clang-format on
}

std::vector<LayoutCase> allCases() {
    return {newTaxpayer(),     fullTaxpayer(),     residentSource(),     emptyNonResidentSource(),
            nonResidentLine(), thirtyFiveSource(), dividendSource(),     ninePercentSource(),
            partnership(),     foreignIncome(),    documentedBusiness(), normBusiness()};
}

TEST(RecordLayout, SavedItemsSizeAndReadBack) {
    for (const LayoutCase& c : allCases()) {
        SCOPED_TRACE(c.name);
        const std::string document = test::writeDocument(c.save);
        ASSERT_GE(document.size(), DocumentStorage::kHeaderSize);
        const std::string body = document.substr(DocumentStorage::kHeaderSize);
        EXPECT_EQ(Cp1251Text::fromBytes(body).utf8(), Cp1251Text::fromBytes(c.body).utf8());
        EXPECT_EQ(c.storedSize, static_cast<std::int32_t>(body.size()));

        test::OpenedDocument opened(document);
        c.loadAndCompare(opened.storage());
    }
}

// A file cut anywhere inside a record fails with a storage or conversion
// failure; it never reads past the end or comes back as if whole.
TEST(RecordLayout, CutDocumentsFailCleanly) {
    for (const LayoutCase& c : allCases()) {
        SCOPED_TRACE(c.name);
        const std::string document = test::writeDocument(c.save);
        for (std::size_t cut = DocumentStorage::kHeaderSize; cut < document.size(); ++cut) {
            SCOPED_TRACE(cut);
            EXPECT_TRUE(test::failsAsDamaged([&] {
                test::OpenedDocument opened(document.substr(0, cut));
                c.loadAndCompare(opened.storage());
            }));
        }
    }
}

} // namespace
} // namespace kv
