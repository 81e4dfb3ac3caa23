// The schemas of the two forms: what they refuse and how they say it, the export
// that does not write a refused file, and the example returns that keep to them.
#include "ExportTestSupport.h"
#include "export/ExportReturn.h"
#include "export/SchemaCheck.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

const std::string kGuid = "0F8FAD5B-D9CB-469F-A165-70867728950E";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

const std::string kForm4 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Файл ИдФайл=\"NO_NDFL4_7701_7701_770123456703_20200302_"
    "0F8FAD5B-D9CB-469F-A165-70867728950E\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.03\"><Документ "
    "КНД=\"1151021\" ДатаДок=\"02.03.2020\" ОтчетГод=\"2020\" КодНО=\"7701\" НомКорр=\"0\"><СвНП><НПФЛ "
    "ДокПредст=\"720\" ИННФЛ=\"770123456703\" ОКТМО=\"45379000\"><ФИО Фамилия=\"СОКОЛОВ\" Имя=\"АНДРЕЙ\"/>"
    "</НПФЛ></СвНП><Подписант ПрПодп=\"1\"/><НДФЛ4 ПредДоход=\"1234567\"/></Документ></Файл>";

struct BrokenFile {
    const char* what;
    ReturnForm form;
    std::string from, to;
    const char* message; // the whole violation, UTF-8
};

TEST(ExportSchema, BrokenFilesAreRefusedNamingElementAttributeAndRule) {
    const std::string form3 = fileAroundBody("<НДФЛ3/>");
    ASSERT_EQ(violationsOf(form3, ReturnForm::Ndfl3), "");
    ASSERT_EQ(violationsOf(kForm4, ReturnForm::Ndfl4), "");

    const BrokenFile cases[] = {
        {"missing required attribute", ReturnForm::Ndfl3, " КодНО=\"7701\"", "",
         "Элемент «Документ»: не указан обязательный атрибут «КодНО»"},
        {"wrong order", ReturnForm::Ndfl3, "<СвНП>", "<Подписант ПрПодп=\"1\"/><СвНП>",
         "Элемент «Подписант»: элемент стоит не на своем месте или лишний; здесь ожидается «СвНП»"},
        {"fraction in a whole-rouble field", ReturnForm::Ndfl3, "ПодлУпл=\"0\"", "ПодлУпл=\"0.5\"",
         "Элемент «СумНалПу», атрибут «ПодлУпл»: сумма указывается в целых рублях без знака: «0.5»"},
        {"estimated income with kopecks", ReturnForm::Ndfl4, "ПредДоход=\"1234567\"",
         "ПредДоход=\"1234567.5\"",
         "Элемент «НДФЛ4», атрибут «ПредДоход»: сумма указывается в целых рублях без знака: «1234567.5»"},
        {"11-digit INN", ReturnForm::Ndfl3, "ИННФЛ=\"770123456703\"", "ИННФЛ=\"77012345670\"",
         "Элемент «СведФЛ1», атрибут «ИННФЛ»: значение «77012345670» не соответствует образцу [0-9]{12}"},
        {"unknown code", ReturnForm::Ndfl3, "ДокПредст=\"760\"", "ДокПредст=\"761\"",
         "Элемент «НПФЛ3», атрибут «ДокПредст»: значение «761» не входит в список допустимых кодов "
         "{'720', '730', '740', '750', '760', '770'}"},
        {"three decimals", ReturnForm::Ndfl3, "ДоходОбщ=\"0.00\"", "ДоходОбщ=\"0.001\"",
         "Элемент «РасчНалБаза», атрибут «ДоходОбщ»: в числе «0.001» больше 2 знаков после точки"},
        {"negative amount", ReturnForm::Ndfl3, "ДоходОбщ=\"0.00\"", "ДоходОбщ=\"-1.00\"",
         "Элемент «РасчНалБаза», атрибут «ДоходОбщ»: значение «-1.00» меньше допустимого 0"},
        {"too long a name", ReturnForm::Ndfl4, "Фамилия=\"СОКОЛОВ\"",
         "Фамилия=\"" + std::string(61, 'A') + "\"",
         "Элемент «ФИО», атрибут «Фамилия»: значение длиннее 60 знаков"},
        {"empty OKTMO", ReturnForm::Ndfl4, "ОКТМО=\"45379000\"", "ОКТМО=\"\"",
         "Элемент «НПФЛ», атрибут «ОКТМО»: значение не указано (образец [0-9]{8}|[0-9]{11})"},
        {"attribute of another element", ReturnForm::Ndfl3, "ОКСМ=\"643\"", "ОКСМ=\"643\" КПП=\"770101001\"",
         "Элемент «СведФЛ1», атрибут «КПП»: атрибут не предусмотрен форматом"},
        {"no date", ReturnForm::Ndfl3, "ДатаРожд=\"12.04.1985\"", "ДатаРожд=\"31.04.1985\"", nullptr},
    };
    for (const BrokenFile& c : cases) {
        const std::string file = replaced(c.form == ReturnForm::Ndfl3 ? form3 : kForm4, c.from, c.to);
        const SchemaReport report = checkAgainstSchema(file, c.form);
        ASSERT_TRUE(report.wellFormed) << c.what;
        ASSERT_EQ(report.violations.size(), 1u) << c.what << "\n" << violationsOf(file, c.form);
        EXPECT_EQ(report.violations[0].line, 1) << c.what;
        if (c.message != nullptr) {
            EXPECT_EQ(report.violations[0].text.utf8(), c.message) << c.what;
        }
    }
}

TEST(ExportSchema, FormOfAFileFromItsVersionOrKnd) {
    EXPECT_EQ(formOfFile(fileAroundBody("<НДФЛ3/>")), ReturnForm::Ndfl3);
    EXPECT_EQ(formOfFile(kForm4), ReturnForm::Ndfl4);
    EXPECT_EQ(formOfFile(replaced(kForm4, " ВерсФорм=\"5.03\"", "")), ReturnForm::Ndfl4);
    EXPECT_EQ(formOfFile(replaced(kForm4, "ВерсФорм=\"5.03\"", "ВерсФорм=\"5.02\"")), ReturnForm::Ndfl4);
    EXPECT_EQ(formOfFile(replaced(replaced(kForm4, "5.03", "5.02"), "1151021", "1151099")), std::nullopt);
    EXPECT_EQ(formOfFile("<Файл"), std::nullopt);
    EXPECT_EQ(formOfFile("<IncomeDict/>"), std::nullopt);
}

TEST(ExportSchema, TheExportWritesNoFileTheSchemaRefuses) {
    const FixedClock clock(date(2020, 3, 2));
    const FixedIdSource ids(kGuid);
    std::vector<Cp1251Text> messages;
    const ExportServices services{clock, ids, [&messages](const Cp1251Text& m) { messages.push_back(m); }};
    const TempFolder temp;
    const fs::path& folder = temp.path();

    Declaration d = smallReturn(clock);
    const std::string name = exportReturn(folder.string() + "/", d, kExportToFile, services);
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? std::string() : messages[0].utf8());
    EXPECT_TRUE(fs::exists(folder / name)) << name;
    fs::remove(folder / name);

    // A payer's INN of eleven digits (entered by another program) passes the whole-return
    // check and reaches the export, which refuses it.
    d.incomes13.get(0).sourceInn = "77012345601";
    d.incomes13.get(0).sourceKpp = "";
    EXPECT_EQ(exportReturn(folder.string() + "/", d, kExportToFile, services), kExportRefused);
    EXPECT_TRUE(fs::is_empty(folder));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0].utf8(),
        "Файл не сформирован: декларация не соответствует формату 3-НДФЛ 5.14.\r"
        "Элемент «ИстФЛИн», атрибут «ИННФЛ»: значение «77012345601» не соответствует образцу [0-9]{12}.\r"
        "Исправьте эти данные в декларации и повторите выгрузку.");
    // Printing takes the text as it is.
    EXPECT_NE(exportReturn(std::string(), d, kExportToText, services).find("77012345601"), std::string::npos);
}

TEST(ExportSchema, ExportsOfBothFormsKeepToTheirSchemas) {
    const FixedClock clock(date(2020, 3, 2));
    const FixedIdSource ids(kGuid);
    const ExportServices services{clock, ids, [](const Cp1251Text&) {}};

    Declaration form3 = smallReturn(clock);
    std::string bytes = exportReturn(std::string(), form3, kExportToText, services);
    EXPECT_EQ(violationsOf(bytes, ReturnForm::Ndfl3), "");

    Declaration form4 = smallReturn(clock);
    form4.declarationKind = 2;
    form4.taxpayerCategory = 0;
    form4.estimatedIncome = rub(1234567);
    form4.submitterKind = 2;
    form4.representativeName = u("Петрова");
    form4.representativeDocument = u("Доверенность");
    form4.representativeOrganisation = u("ООО \"Право\"");
    bytes = exportReturn(std::string(), form4, kExportToText, services);
    EXPECT_EQ(violationsOf(bytes, ReturnForm::Ndfl4), "");
    EXPECT_EQ(exportSchemaFault(form4, bytes), Cp1251Text{""});
    EXPECT_NE(exportSchemaFault(form3, bytes), Cp1251Text{""}) << "a 4-NDFL file is not a 3-NDFL one";
}

} // namespace
} // namespace kv::test
