#include "CertificateFixtures.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::amount;
using test::certificateBytes;
using test::editedCertificate;

TEST(CertificateReader, ReadsAgentRecipientAndMonths) {
    const CertificateFile f = test::readCertificate(certificateBytes("salary.xml"));
    EXPECT_EQ(f.year, 2019);
    EXPECT_EQ(f.agent.name.utf8(), "ООО \"РОМАШКА\"");
    EXPECT_EQ(f.agent.inn, Cp1251Text{"7728012340"});
    EXPECT_EQ(f.agent.kpp, Cp1251Text{"772801001"});
    EXPECT_EQ(f.agent.oktmo, Cp1251Text{"45397000"});
    EXPECT_FALSE(f.agent.isPerson);
    ASSERT_EQ(f.certificates.size(), 1u);
    const Certificate& c = f.certificates[0];
    EXPECT_EQ(c.number, Cp1251Text{"17"});
    EXPECT_EQ(c.recipient.surname.utf8(), "Иванов");
    EXPECT_EQ(c.recipient.inn, Cp1251Text{"772801234583"});
    EXPECT_EQ(c.recipient.birthDate, *DateValue::parseText("12.05.1985"));
    ASSERT_EQ(c.blocks.size(), 1u);
    const CertificateRateBlock& b = c.blocks[0];
    EXPECT_EQ(b.rate, 13);
    EXPECT_EQ(b.totals.income, amount("610150.50"));
    EXPECT_EQ(b.totals.taxWithheld, amount("79320"));
    ASSERT_EQ(b.incomes.size(), 13u);
    EXPECT_EQ(b.incomes[6].code, Cp1251Text{"2012"});
    EXPECT_EQ(b.incomes[6].month, 6);
    EXPECT_EQ(b.incomes[6].amount, amount("10150.50"));
    EXPECT_GT(b.incomes[6].line, b.incomes[5].line);
}

TEST(CertificateReader, ReadsPersonAgentAndDeductions) {
    const CertificateFile person = test::readCertificate(certificateBytes("person_agent.xml"));
    EXPECT_TRUE(person.agent.isPerson);
    EXPECT_EQ(person.agent.name.utf8(), "Смирнов Олег Петрович");
    EXPECT_EQ(person.agent.inn, Cp1251Text{"770123456703"});
    EXPECT_EQ(person.agent.kpp, Cp1251Text{""});

    const CertificateFile gifts = test::readCertificate(certificateBytes("gifts.xml"));
    const auto& incomes = gifts.certificates[0].blocks[0].incomes;
    ASSERT_EQ(incomes.back().deductions.size(), 1u);
    EXPECT_EQ(incomes.back().deductions[0].code, Cp1251Text{"503"});
    EXPECT_EQ(incomes.back().deductions[0].amount, amount("4000"));

    const CertificateFile standard = test::readCertificate(certificateBytes("standard.xml"));
    const auto& granted = standard.certificates[0].blocks[0].agentDeductions;
    ASSERT_EQ(granted.size(), 1u);
    EXPECT_EQ(granted[0].code, Cp1251Text{"126"});
    EXPECT_EQ(granted[0].amount, amount("16800"));
}

struct Refusal {
    const char* what;
    std::string bytes;
    std::vector<std::string> fragments; // UTF-8, each must be in the message
};

TEST(CertificateReader, RefusesBadAndForeignFilesSayingWhy) {
    const std::string salary = certificateBytes("salary.xml");
    const std::vector<Refusal> cases = {
        {"cut short", salary.substr(0, salary.size() / 2), {"обрезан", "строка "}},
        {"not XML", "PK\x03\x04 zip", {"не является документом XML"}},
        {"another form",
         editedCertificate("salary.xml", "КНД=\"1151078\"", "КНД=\"1151020\""),
         {"не является справкой о доходах 2-НДФЛ"}},
        {"another version",
         editedCertificate("salary.xml", "ВерсФорм=\"5.06\"", "ВерсФорм=\"5.05\""),
         {"«5.05»", "версии 5.06"}},
        {"three decimals",
         editedCertificate("salary.xml", "\"50000.00\"", "\"50000.005\""),
         {"строка 18", "СумДоход", "50000.005"}},
        {"month 13",
         editedCertificate("salary.xml", "Месяц=\"12\"", "Месяц=\"13\""),
         {"строка 30", "Месяц", "13"}},
        {"kopecks in a tax",
         editedCertificate("salary.xml", "НалИсчисл=\"79320\"", "НалИсчисл=\"79320.50\""),
         {"строка 16", "НалИсчисл"}},
        {"missing attribute",
         editedCertificate("salary.xml", " НалУдерж=\"79320\"", ""),
         {"строка 16", "НалУдерж"}},
        {"short KPP",
         editedCertificate("salary.xml", "КПП=\"772801001\"", "КПП=\"77280100\""),
         {"строка 5", "КПП"}},
        {"OKTMO of 9 digits",
         editedCertificate("salary.xml", "ОКТМО=\"45397000\"", "ОКТМО=\"453970001\""),
         {"строка 4", "ОКТМО"}},
        {"another year",
         editedCertificate("salary.xml", "ОтчетГод=\"2019\"", "ОтчетГод=\"2018\""),
         {"за 2018 год"}},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        const CertificateReading r = readIncomeCertificates(c.bytes);
        EXPECT_FALSE(r.file.has_value());
        const std::string message = r.fault.utf8();
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
}

} // namespace
} // namespace kv
