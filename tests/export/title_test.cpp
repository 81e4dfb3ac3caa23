// The root, the title page of the 3-NDFL and the whole 4-NDFL.
#include "ExportTestSupport.h"
#include "export/ExportReturn.h"

#include <gtest/gtest.h>

#include <functional>

namespace kv::test {
namespace {

const std::string kGuid = "0F8FAD5B-D9CB-469F-A165-70867728950E";

// The title page: "Документ" up to the body.
std::string titleOf(ExportFixture& f) {
    const ExportedReturn r = buildReturnXml(f.doc, *f.sum, f.clock.today(), kGuid);
    const std::string doc = childText(r.tree.root(), "Документ");
    return doc.substr(0, doc.find("<НДФЛ3"));
}

void residentWithInn(Declaration& d) {
    d.inspectionCode = "7701";
    Taxpayer& p = d.person;
    p.surname = u("Иванов");
    p.firstName = u("Иван");
    p.patronymic = u("Иванович");
    p.inn = "500100732259";
    p.birthPlace = u("г. Москва");
    p.contactPhone = "+7 999 1234567";
    p.identityDocCode = 21;
    p.identityDocNumber = "45 01 123456";
    p.identityDocIssuer = u("ОВД");
}

TEST(TitlePage, Form3ByTaxpayerAndSigner) {
    struct Case {
        const char* name;
        std::function<void(Declaration&)> setup;
        std::string expected;
    } cases[] = {
        {"resident with INN, in person", residentWithInn,
         "<Документ КНД=\"1151020\" ДатаДок=\"02.03.2020\" Период=\"34\" ОтчетГод=\"2019\" КодНО=\"7701\" "
         "НомКорр=\"0\"><СвНП><НПФЛ3 ДокПредст=\"760\" Статус=\"1\" Тлф=\"+7 999 1234567\"><ФИОФЛ "
         "Фамилия=\"ИВАНОВ\" Имя=\"ИВАН\" Отчество=\"ИВАНОВИЧ\"/><СведФЛ1 ИННФЛ=\"500100732259\" "
         "ДатаРожд=\"01.01.1977\" МестоРожд=\"Г. МОСКВА\" ОКСМ=\"643\"><УдЛичн КодВидДок=\"21\" "
         "СерНомДок=\"45 01 123456\" ВыдДок=\"ОВД\" ДатаДок=\"01.01.1990\"/></СведФЛ1></НПФЛ3></СвНП>"
         "<Подписант ПрПодп=\"1\"/>"},
        {"non-resident without INN, representative",
         [](Declaration& d) {
             d.inspectionCode = "7701";
             d.correctionNumber = 2;
             d.declarationKind = 1;
             d.taxpayerCategory = 0;
             d.submitterKind = 1;
             d.representativeName = u("  Петров   Пётр ");
             d.representativeDocument = u("доверенность");
             Taxpayer& p = d.person;
             p.surname = "smith";
             p.firstName = u("жан");
             p.patronymic = "  ";
             p.contactPhone = "   ";
             p.citizenshipCountryCode = "36";
             p.identityDocCode = 10;
             p.identityDocNumber = "ab123";
         },
         "<Документ КНД=\"1151020\" ДатаДок=\"02.03.2020\" Период=\"34\" ОтчетГод=\"2019\" КодНО=\"7701\" "
         "НомКорр=\"2\"><СвНП><НПФЛ3 ДокПредст=\"720\" Статус=\"2\"><ФИОФЛ Фамилия=\"SMITH\" Имя=\"ЖАН\"/>"
         "<СведФЛ2 ДатаРожд=\"01.01.1977\" МестоРожд=\"\" ОКСМ=\"036\"><УдЛичн КодВидДок=\"10\" "
         "СерНомДок=\"AB123\" ДатаДок=\"01.01.1990\" ВыдДок=\"\"/></СведФЛ2></НПФЛ3></СвНП><Подписант "
         "ПрПодп=\"2\"><ФИО Фамилия=\"ПЕТРОВ\" Имя=\"ПЁТР\"/><СвПред НаимДок=\"ДОВЕРЕННОСТЬ\"/></Подписант>"},
        {"termination of business, one-word representative, no identity document",
         [](Declaration& d) {
             residentWithInn(d);
             d.declarationKind = 3;
             d.taxpayerCategory = 0;
             d.submitterKind = 1;
             d.representativeName = u("Сидоров");
             d.person.identityDocCode = 0;
             d.person.birthPlace = " ";
             d.person.citizenshipCountryCode = " ";
         },
         "<Документ КНД=\"1151020\" ДатаДок=\"02.03.2020\" Период=\"86\" ОтчетГод=\"2020\" КодНО=\"7701\" "
         "НомКорр=\"0\"><СвНП><НПФЛ3 ДокПредст=\"720\" Статус=\"1\" Тлф=\"+7 999 1234567\"><ФИОФЛ "
         "Фамилия=\"ИВАНОВ\" Имя=\"ИВАН\" Отчество=\"ИВАНОВИЧ\"/><СведФЛ1 ИННФЛ=\"500100732259\" "
         "ДатаРожд=\"01.01.1977\" ОКСМ=\"643\"/></НПФЛ3></СвНП><Подписант ПрПодп=\"2\"><ФИО "
         "Фамилия=\"СИДОРОВ\" Имя=\" \"/><СвПред НаимДок=\"\"/></Подписант>"},
    };
    for (const Case& c : cases) {
        ExportFixture f;
        c.setup(f.doc);
        EXPECT_EQ(titleOf(f), c.expected) << c.name;
    }
}

TEST(TitlePage, Form3RootAndTaxpayerCategories) {
    ExportFixture f;
    residentWithInn(f.doc);
    f.doc.person.inn = "";
    const ExportedReturn r = buildReturnXml(f.doc, *f.sum, f.clock.today(), kGuid);
    EXPECT_EQ(r.identifier, "NO_NDFL3_7701_7701_000000000000_20200302_" + kGuid);
    const std::string text = r.tree.root().utf8Text();
    EXPECT_EQ(text.rfind("<Файл ИдФайл=\"" + r.identifier +
                             "\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.14\"><Документ КНД=\"1151020\"",
                         0),
              0u)
        << text;

    // A byte Windows-1251 has no character for must not make the root unreadable.
    f.doc.inspectionCode = Cp1251Text::fromBytes(std::string_view("77\x98"
                                                                  "01"));
    EXPECT_NE(
        buildReturnXml(f.doc, *f.sum, f.clock.today(), kGuid).tree.root().utf8Text().find("NO_NDFL3_77 01_"),
        std::string::npos);
    f.doc.inspectionCode = "7701";

    const std::pair<int, std::string> categories[] = {{0, "720"}, {1, "770"}, {2, "730"},
                                                      {3, "740"}, {5, "760"}, {6, "750"}};
    for (const auto& [category, code] : categories) {
        f.doc.taxpayerCategory = static_cast<std::uint8_t>(category);
        EXPECT_NE(titleOf(f).find("ДокПредст=\"" + code + "\""), std::string::npos) << category;
    }
}

TEST(TitlePage, Form4WholeFile) {
    ExportFixture f;
    Declaration& d = f.doc;
    d.declarationKind = 2;
    d.inspectionCode = "7701";
    d.taxpayerCategory = 6;
    d.submitterKind = 2;
    d.representativeName = u("Сидоров Олег Петрович");
    d.representativeDocument = u("Доверенность №5");
    d.representativeOrganisation = u("ООО \"Право\"");
    d.estimatedIncome = rub(1234567, 50);
    d.person.surname = u("Иванова");
    d.person.firstName = u("Анна");
    d.person.oktmo = "45382000";
    d.person.contactPhone = " 8-495-1234567 ";
    const std::string guid = "0f8fad5b-d9cb-469f-a165-70867728950e";

    const ExportedReturn r = buildReturnXml(d, *f.sum, f.clock.today(), guid);
    EXPECT_EQ(r.identifier, "NO_NDFL4_7701_7701__20200302_" + guid);
    EXPECT_EQ(
        r.tree.root().utf8Text(),
        "<Файл ИдФайл=\"NO_NDFL4_7701_7701__20200302_" + guid +
            "\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.03\"><Документ КНД=\"1151021\" "
            "ДатаДок=\"02.03.2020\" ОтчетГод=\"2020\" КодНО=\"7701\" НомКорр=\"0\"><СвНП><НПФЛ "
            "ДокПредст=\"730\" ИННФЛ=\"\" ОКТМО=\"45382000\" Тлф=\"8-495-1234567\"><ФИО "
            "Фамилия=\"ИВАНОВА\" Имя=\"АННА\"/></НПФЛ></СвНП><Подписант ПрПодп=\"2\"><ФИО "
            "Фамилия=\"СИДОРОВ\" Имя=\"ОЛЕГ\" Отчество=\"ПЕТРОВИЧ\"/><СвПред НаимДок=\"ДОВЕРЕННОСТЬ №5\" "
            "НаимОрг=\"ООО &quot;ПРАВО&quot;\"/></Подписант><НДФЛ4 ПредДоход=\"1234568\"/></Документ>"
            "</Файл>");
}

TEST(TitlePage, Form4CategoriesSignerAndEstimatedIncome) {
    ExportFixture f;
    f.doc.declarationKind = 2;
    auto form4 = [&f] {
        return buildReturnXml(f.doc, *f.sum, f.clock.today(), kGuid).tree.root().utf8Text();
    };
    const std::pair<int, std::string> categories[] = {{0, "720"}, {1, "770"}, {2, "730"}, {3, "740"},
                                                      {5, "000"}, {6, "730"}, {4, "000"}};
    for (const auto& [category, code] : categories) {
        f.doc.taxpayerCategory = static_cast<std::uint8_t>(category);
        EXPECT_NE(form4().find("ДокПредст=\"" + code + "\""), std::string::npos) << category;
    }

    // A representative person has no organisation to name.
    f.doc.submitterKind = 1;
    f.doc.representativeName = u("Сидоров");
    f.doc.representativeOrganisation = "  ";
    EXPECT_NE(
        form4().find("<Подписант ПрПодп=\"2\"><ФИО Фамилия=\"СИДОРОВ\" Имя=\" \"/><СвПред НаимДок=\"\"/>"),
        std::string::npos);

    const std::pair<Money, std::string> incomes[] = {
        {Money(), "0"},
        {rub(1234567, 50), "1234568"}, // whole roubles in the form: kopecks never written
        {rub(9999999999999), "9999999999999"},
        {rub(10000000000000), "9999999999999"},
        {rub(999999999999, 50), "1000000000000"},
    };
    for (const auto& [amount, text] : incomes) {
        f.doc.estimatedIncome = amount;
        EXPECT_NE(form4().find("<НДФЛ4 ПредДоход=\"" + text + "\"/>"), std::string::npos) << text;
    }
}

} // namespace
} // namespace kv::test
