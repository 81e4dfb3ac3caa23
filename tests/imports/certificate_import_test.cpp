#include "CertificateFixtures.h"
#include "support/TestValues.h"

#include "imports/CertificateImport.h"
#include "model/Declaration.h"
#include "model/ListLimit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::amount;
using test::certificateBytes;
using test::editedCertificate;

const FixedClock kClock(*DateValue::parseText("01.03.2020"));

Declaration newReturn(std::uint8_t kind = 0) {
    Declaration d(kClock);
    d.declarationKind = kind;
    d.setIncomeFlags(Declaration::kAgentIncomes);
    return d;
}

std::string utf8(const Cp1251Text& cp1251) {
    return cp1251.utf8();
}

// Reads a file and prepares its first certificate for the return.
struct Prepared {
    CertificateFile file;
    CertificateImport import;
};

Prepared prepare(const std::string& bytes, const Declaration& d, int index = 0) {
    Prepared p{test::readCertificate(bytes), {}};
    p.import = prepareImport(p.file, index, d);
    return p;
}

TEST(CertificateImport, SalaryBecomesOneSourceAtThirteenPercent) {
    Declaration d = newReturn();
    const Prepared p = prepare(certificateBytes("salary.xml"), d);
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    EXPECT_TRUE(p.import.warnings.empty());
    ASSERT_EQ(p.import.incomes13.size(), 1u);
    const ThirteenPercentSource& s = p.import.incomes13[0];
    EXPECT_EQ(utf8(s.sourceName), "ООО \"РОМАШКА\"");
    EXPECT_EQ(s.sourceInn, Cp1251Text{"7728012340"});
    EXPECT_EQ(s.sourceKpp, Cp1251Text{"772801001"});
    EXPECT_EQ(s.sourceOktmo, Cp1251Text{"45397000"});
    EXPECT_EQ(s.itemCount(), 13);
    EXPECT_EQ(s.totalIncome, amount("610150.50"));
    EXPECT_EQ(s.taxWithheld, amount("79320"));
    EXPECT_EQ(s.isPrimaryWorkplace, 0);
    EXPECT_EQ(s.item(6).incomeCode, 2012);
    EXPECT_EQ(s.item(6).month, 6);
    EXPECT_FALSE(s.item(6).incomeName.empty());
    EXPECT_EQ(p.import.totalIncome(), amount("610150.50"));

    applyImport(d, p.import, true);
    ASSERT_EQ(d.incomes13.count(), 1);
    EXPECT_EQ(d.incomes13.get(0), s);
}

TEST(CertificateImport, StandardDeductionsMarkTheSourceThatComputesThem) {
    const Prepared p = prepare(certificateBytes("standard.xml"), newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    const ThirteenPercentSource& s = p.import.incomes13.at(0);
    ASSERT_EQ(s.agentDeductionCount(), 1);
    EXPECT_EQ(s.agentDeduction(0).deductionCode, 126);
    EXPECT_EQ(s.agentDeduction(0).amount, amount("16800"));
    EXPECT_EQ(s.isPrimaryWorkplace, 1);
}

TEST(CertificateImport, GiftsAndMaterialAidKeepTheirDeductions) {
    const Prepared p = prepare(certificateBytes("gifts.xml"), newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    const ThirteenPercentSource& s = p.import.incomes13.at(0);
    ASSERT_EQ(s.itemCount(), 14);
    EXPECT_EQ(s.item(12).incomeCode, 2720);
    EXPECT_EQ(s.item(12).deductionCode, 501);
    EXPECT_EQ(s.item(12).deductionAmount, amount("4000"));
    EXPECT_EQ(s.item(13).deductionCode, 503);
    EXPECT_EQ(s.item(13).month, 8);
}

TEST(CertificateImport, PersonAgentIsAPayerWithoutKpp) {
    const Prepared p = prepare(certificateBytes("person_agent.xml"), newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    const ThirteenPercentSource& s = p.import.incomes13.at(0);
    EXPECT_EQ(utf8(s.sourceName), "Смирнов Олег Петрович");
    EXPECT_EQ(s.sourceInn, Cp1251Text{"770123456703"});
    EXPECT_EQ(s.sourceKpp, Cp1251Text{""});
    EXPECT_EQ(s.totalIncome, amount("300000"));
}

TEST(CertificateImport, EachRateGoesToItsList) {
    const Prepared p = prepare(certificateBytes("rates.xml"), newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    EXPECT_TRUE(p.import.incomes13.empty());
    ASSERT_EQ(p.import.dividends.size(), 1u);
    EXPECT_EQ(p.import.dividends[0].incomeCode, 1010);
    EXPECT_EQ(p.import.dividends[0].totalIncome, amount("12345.67"));
    EXPECT_EQ(p.import.dividends[0].taxableAmount, amount("12345.67"));
    EXPECT_EQ(p.import.dividends[0].taxWithheld, amount("1605"));
    ASSERT_EQ(p.import.incomes35.size(), 1u);
    EXPECT_EQ(p.import.incomes35[0].incomeCode, 2610);
    EXPECT_EQ(p.import.incomes35[0].taxWithheld, amount("1050"));
    ASSERT_EQ(p.import.incomes9.size(), 1u);
    EXPECT_EQ(p.import.incomes9[0].incomeCode, 1011);
    EXPECT_EQ(p.import.incomes9[0].taxCalculated, amount("1800"));
    EXPECT_EQ(p.import.incomes9[0].taxWithheld, amount("1800"));
}

TEST(CertificateImport, DividendsShareTheWithheldTaxOfTheirRate) {
    // Salary and dividends in one 13% block: the dividends take their own tax, the salary the rest.
    const std::string bytes = editedCertificate("salary.xml", "КодДоход=\"2012\" СумДоход=\"10150.50\"",
                                                "КодДоход=\"1010\" СумДоход=\"10150.50\"");
    const Prepared p = prepare(bytes, newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    ASSERT_EQ(p.import.dividends.size(), 1u);
    EXPECT_EQ(p.import.dividends[0].taxWithheld, amount("1320")); // 10 150,50 × 13% = 1 319,565
    EXPECT_EQ(p.import.incomes13.at(0).taxWithheld, amount("78000"));
    EXPECT_EQ(p.import.totalWithheld(), amount("79320"));
}

TEST(CertificateImport, NonResidentsReturnTakesTheIncomesIntoItsOwnList) {
    const Prepared p = prepare(certificateBytes("salary.xml"), newReturn(1));
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    EXPECT_TRUE(p.import.incomes13.empty());
    ASSERT_EQ(p.import.incomes13NonResident.size(), 1u);
    // The non-resident's income dialog keeps no name.
    EXPECT_TRUE(p.import.incomes13NonResident[0].item(0).incomeName.empty());
}

TEST(CertificateImport, TwoDeductionsOfAnIncomeSplitItKeepingTheTotals) {
    const std::string bytes = editedCertificate(
        "salary.xml", "КодДоход=\"2012\" СумДоход=\"10150.50\"/>",
        "КодДоход=\"2201\" СумДоход=\"10150.50\"><СвСумВыч КодВычет=\"404\" СумВычет=\"1000.00\"/>"
        "<СвСумВыч КодВычет=\"405\" СумВычет=\"2000.00\"/></СвСумДох>");
    const Prepared p = prepare(bytes, newReturn());
    ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
    const ThirteenPercentSource& s = p.import.incomes13.at(0);
    ASSERT_EQ(s.itemCount(), 14);
    EXPECT_EQ(s.item(6).deductionCode, 404);
    EXPECT_EQ(s.item(6).amount, amount("8150.50"));
    EXPECT_EQ(s.item(7).deductionCode, 405);
    EXPECT_EQ(s.item(7).amount, amount("2000"));
    EXPECT_EQ(s.item(7).month, 6);
    EXPECT_EQ(s.totalIncome, amount("610150.50"));
}

struct Refused {
    const char* what;
    std::string bytes;
    std::uint8_t kind;
    std::vector<std::string> fragments;
};

TEST(CertificateImport, RefusesWhatTheReturnCannotHoldNamingIt) {
    const std::vector<Refused> cases = {
        {"recipient's INN",
         editedCertificate("salary.xml", "772801234583", "772801234584"),
         0,
         {"строка 11", "ПолучДох", "ИННФЛ", "772801234584"}},
        {"agent's INN",
         editedCertificate("salary.xml", "7728012340", "7728012341"),
         0,
         {"строка 5", "СвНАЮЛ", "ИННЮЛ", "7728012341"}},
        {"unknown income code",
         editedCertificate("salary.xml", "КодДоход=\"2012\"", "КодДоход=\"9999\""),
         0,
         {"строка 24", "9999"}},
        {"a rate of non-residents",
         editedCertificate("salary.xml", "Ставка=\"13\"", "Ставка=\"30\""),
         0,
         {"30%"}},
        {"an unknown rate",
         editedCertificate("salary.xml", "Ставка=\"13\"", "Ставка=\"10\""),
         0,
         {"10%", "2000"}},
        {"a deduction not listed under the income",
         editedCertificate("gifts.xml", "КодВычет=\"501\"", "КодВычет=\"503\""),
         0,
         {"503", "2720"}},
        {"a deduction above the income",
         editedCertificate("gifts.xml", "СумВычет=\"4000.00\"", "СумВычет=\"12000.00\""),
         0,
         {"2720", "Сумма вычета превышает сумму дохода"}},
        {"agent's deductions of a non-resident", certificateBytes("standard.xml"), 1, {"нерезидента"}},
        {"a cancelled certificate",
         editedCertificate("salary.xml", "НомКорр=\"00\"", "НомКорр=\"99\""),
         0,
         {"аннулирована"}},
        {"dividends from a person",
         editedCertificate("person_agent.xml", "КодДоход=\"1400\"", "КодДоход=\"1010\""),
         0,
         {"организация"}},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        Declaration d = newReturn(c.kind);
        const Declaration before = d;
        const Prepared p = prepare(c.bytes, d);
        EXPECT_FALSE(p.import.accepted());
        EXPECT_TRUE(p.import.incomes13.empty() && p.import.dividends.empty());
        const std::string message = utf8(p.import.fault);
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
        applyImport(d, p.import, true);
        EXPECT_EQ(d, before);
    }
}

TEST(CertificateImport, MoreLinesThanASourceHoldsAreRefusedNotThrown) {
    std::string lines;
    for (int i = 0; i < kMaxListItems + 1; ++i)
        lines += "<СвСумДох Месяц=\"01\" КодДоход=\"2000\" СумДоход=\"1.00\"/>";
    const std::string bytes = editedCertificate(
        "salary.xml", "<СвСумДох Месяц=\"01\" КодДоход=\"2000\" СумДоход=\"50000.00\"/>", lines);
    Declaration d = newReturn();
    const Prepared p = prepare(bytes, d);
    EXPECT_FALSE(p.import.accepted());
    EXPECT_EQ(p.import.fault, ListFull().message());
}

TEST(CertificateImport, WarnsWhereTheCertificateDisagreesWithItself) {
    struct Case {
        const char* what;
        std::string from, to;
        std::vector<std::string> fragments;
    };
    const std::vector<Case> cases = {
        {"total income", "СумДохОбщ=\"610150.50\"", "СумДохОбщ=\"610000.00\"", {"610000,00", "610150,50"}},
        {"base", "НалБаза=\"610150.50\"", "НалБаза=\"600000.00\"", {"налоговая база 600000,00", "610150,50"}},
        {"computed tax",
         "НалИсчисл=\"79320\"",
         "НалИсчисл=\"79000\"",
         {"исчисленный налог 79000,00", "79320,00"}},
        {"withheld above computed", "НалУдерж=\"79320\"", "НалУдерж=\"80000\"", {"80000,00", "79320,00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Prepared p = prepare(editedCertificate("salary.xml", c.from, c.to), newReturn());
        ASSERT_TRUE(p.import.accepted()) << utf8(p.import.fault);
        std::string all;
        for (const Cp1251Text& w : p.import.warnings)
            all += utf8(w) + "\n";
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(all.find(fragment), std::string::npos) << all;
    }
}

TEST(CertificateImport, ChoosesTheTaxpayersCertificate) {
    const CertificateFile f = test::readCertificate(certificateBytes("two_recipients.xml"));
    Taxpayer person;
    EXPECT_TRUE(certificatesOfTaxpayer(f, person).empty());
    person.surname = Cp1251Text::fromUtf8("иванов");
    person.firstName = Cp1251Text::fromUtf8("Иван");
    person.birthDate = *DateValue::parseText("12.05.1985");
    EXPECT_EQ(certificatesOfTaxpayer(f, person), std::vector<int>{1});
    person.birthDate = *DateValue::parseText("12.05.1986");
    EXPECT_TRUE(certificatesOfTaxpayer(f, person).empty());
    person.inn = "500123456750"; // the INN decides when there is one
    EXPECT_EQ(certificatesOfTaxpayer(f, person), std::vector<int>{0});
    EXPECT_EQ(certificatesWithInn(f, Cp1251Text{" 772801234583 "}), std::vector<int>{1});
    EXPECT_EQ(utf8(recipientLabel(f.certificates[0])),
              "Сидорова Мария Олеговна, ИНН 500123456750, дата рождения 03.11.1990, справка № 6");
}

TEST(CertificateImport, ImportingTwiceReplacesInsteadOfDoubling) {
    Declaration d(kClock); // no incomes marked yet: the import marks them
    const Prepared first = prepare(certificateBytes("salary.xml"), d);
    EXPECT_TRUE(first.import.replaced.empty());
    applyImport(d, first.import, true);
    EXPECT_NE(d.incomeFlags() & Declaration::kAgentIncomes, 0);

    const Prepared again = prepare(certificateBytes("salary.xml"), d);
    ASSERT_EQ(again.import.replaced.size(), 1u);
    EXPECT_EQ(again.import.replaced[0].list, SourceList::Incomes13);
    applyImport(d, again.import, true);
    EXPECT_EQ(d.incomes13.count(), 1);
    EXPECT_TRUE(sameCertificate(first.import, again.import));
}

TEST(CertificateImport, SourceTypedByHandWithTheSameAgentIsOfferedForReplacement) {
    Declaration d = newReturn();
    ThirteenPercentSource typed;
    typed.sourceName = Cp1251Text::fromUtf8("Ромашка");
    typed.sourceInn = "7728012340";
    typed.sourceKpp = "772801001";
    typed.sourceOktmo = "45397000";
    ThirteenPercentSource other = typed;
    other.sourceOktmo = "45398000"; // another branch of the same company
    d.incomes13.add(other);
    d.incomes13.add(typed);
    const Prepared p = prepare(certificateBytes("salary.xml"), d);
    ASSERT_EQ(p.import.replaced.size(), 1u);
    EXPECT_EQ(p.import.replaced[0].index, 1);
    EXPECT_EQ(utf8(p.import.replaced[0].name), "Ромашка");

    Declaration kept = d;
    applyImport(kept, p.import, false);
    EXPECT_EQ(kept.incomes13.count(), 3);
    applyImport(d, p.import, true);
    ASSERT_EQ(d.incomes13.count(), 2);
    EXPECT_EQ(d.incomes13.get(0), other);
    EXPECT_EQ(d.incomes13.get(1).itemCount(), 13);
}

} // namespace
} // namespace kv
