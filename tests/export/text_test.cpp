// File identifiers, GUIDs, name splitting and the XML tree's own guarantees.
#include "ExportTestSupport.h"
#include "export/ExportText.h"
#include "export/FileIdentity.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <set>

namespace kv::test {
namespace {

const std::string kGuid = "0F8FAD5B-D9CB-469F-A165-70867728950E";

TEST(FileIdentity, IdentifierByFormAndInn) {
    struct Case {
        bool form4;
        Cp1251Text inn;
        std::string expected;
    } cases[] = {
        {false, Cp1251Text{"500100732259"}, "NO_NDFL3_7701_7701_500100732259_20200302_" + kGuid},
        {false, Cp1251Text{""}, "NO_NDFL3_7701_7701_000000000000_20200302_" + kGuid},
        {false, Cp1251Text{"   "}, "NO_NDFL3_7701_7701_   _20200302_" + kGuid},
        {true, Cp1251Text{"500100732259"}, "NO_NDFL4_7701_7701_500100732259_20200302_" + kGuid},
        {true, Cp1251Text{""}, "NO_NDFL4_7701_7701__20200302_" + kGuid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileIdentifier(c.form4, Cp1251Text{"7701"}, c.inn, date(2020, 3, 2), kGuid), c.expected)
            << c.inn.bytes();
}

TEST(FileIdentity, GuidsAreNewUpperCaseAndWellFormed) {
    const UuidIdSource ids;
    std::set<std::string> seen;
    for (int i = 0; i < 5; ++i) {
        const std::string g = ids.newGuid();
        EXPECT_TRUE(isGuidText(g)) << g;
        EXPECT_EQ(g, upperCp1251(Cp1251Text::fromBytes(g)).bytes());
        seen.insert(g);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_FALSE(isGuidText("{" + kGuid + "}"));
    EXPECT_FALSE(isGuidText("0F8FAD5B-D9CB-469F-A165-70867728950"));
    EXPECT_FALSE(isGuidText("0F8FAD5B_D9CB-469F-A165-70867728950E"));
    EXPECT_FALSE(isGuidText("0F8FAD5B-D9CB-469F-A165-70867728950G"));
}

TEST(FileIdentity, SafeFileNames) {
    EXPECT_TRUE(isSafeFileName("NO_NDFL3_7701_7701_000000000000_20200302_" + kGuid));
    EXPECT_FALSE(isSafeFileName("NO_NDFL3_77/../../etc_7701"));
    EXPECT_FALSE(isSafeFileName("NO_NDFL3_77\\01"));
    EXPECT_FALSE(isSafeFileName(std::string("NO_NDFL3_77\n01")));
    EXPECT_FALSE(isSafeFileName(""));
    for (const std::string& bad : {std::string("NO_NDFL3_77\0"
                                               "1_7701",
                                               14),
                                   std::string("NO_NDFL3_77\x98"
                                               "1"),
                                   std::string("NO_NDFL3_..")})
        EXPECT_FALSE(isSafeFileName(bad)) << bad;
}

TEST(ExportText, RepresentativeNameSplit) {
    const std::string long70(70, 'A');
    struct Case {
        std::string full, surname, firstName, patronymic;
    } cases[] = {
        {"Иванов Иван Иванович", "Иванов", "Иван", "Иванович"},
        {"  Иванов   Иван  Иванович  ", "Иванов", "Иван", "Иванович"},
        {"Иванов", "Иванов", " ", ""},
        {"Иванов Иван", "Иванов", "Иван", ""},
        {"", " ", " ", ""},
        {"Петрова Анна Мария Сергеевна", "Петрова", "Анна", "Мария Сергеевна"},
        // A word longer than a part is cut; what is cut off starts the next part.
        {long70, std::string(60, 'A'), std::string(10, 'A'), ""},
    };
    for (const Case& c : cases) {
        const PersonName n = splitRepresentativeName(u(c.full.c_str()));
        EXPECT_EQ(n.surname, u(c.surname.c_str())) << c.full;
        EXPECT_EQ(n.firstName, u(c.firstName.c_str())) << c.full;
        EXPECT_EQ(n.patronymic, u(c.patronymic.c_str())) << c.full;
    }
}

TEST(ExportText, CodesDatesAndDecimalPoint) {
    EXPECT_EQ(zeroPadded(Cp1251Text{"36"}, 3), Cp1251Text{"036"});
    EXPECT_EQ(zeroPadded(Cp1251Text{" 840 "}, 3), Cp1251Text{"840"});
    EXPECT_EQ(zeroPadded(Cp1251Text{""}, 3), Cp1251Text{"000"});
    EXPECT_EQ(zeroPadded(Cp1251Text{"21"}, 2), Cp1251Text{"21"});
    EXPECT_EQ(zeroPadded(Cp1251Text{"1234"}, 3), Cp1251Text{"1234"});
    EXPECT_EQ(decimalPoint(" 1234,5 "), Cp1251Text{"1234.5"});
    EXPECT_EQ(decimalPoint("72.0123"), Cp1251Text{"72.0123"});
    EXPECT_EQ(exportDate(date(2019, 1, 5)), Cp1251Text{"05.01.2019"});
    EXPECT_EQ(identifierDate(date(2019, 1, 5)), "20190105");
}

TEST(XmlTree, KeepsOrderUpperCasesAndSavesWindows1251) {
    xml::Document doc = xml::Document::parse("<Файл/>");
    xml::Element file = doc.root();
    file.setVerbatim("ИдФайл", Cp1251Text{"id_lower"});
    xml::Element a = file.append("Б");
    a.set("я", u("ёлка & \"ель\" <ok>"))
        .set("а", Cp1251Text{"abc"})
        .set("ю", Cp1251Text::fromBytes(std::string_view("x\x01y\tz\x98", 6)));
    file.append("А");

    EXPECT_EQ(file.utf8Text(), "<Файл ИдФайл=\"id_lower\"><Б я=\"ЁЛКА &amp; &quot;ЕЛЬ&quot; &lt;OK&gt;\" "
                               "а=\"ABC\" ю=\"X Y&#9;Z \"/><А/></Файл>");
    const std::string bytes = doc.windows1251Bytes();
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n", 0), 0u);
    EXPECT_NE(bytes.find(u("<Файл ИдФайл=\"id_lower\"><Б я=\"ЁЛКА").bytes()), std::string::npos);

    const xml::Document again = xml::Document::parse(bytes);
    EXPECT_EQ(again.root().utf8Text(), file.utf8Text());
    EXPECT_THROW(a.set("а", "twice"), xml::XmlError);
}

} // namespace
} // namespace kv::test
