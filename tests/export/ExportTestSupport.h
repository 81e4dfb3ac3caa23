#pragma once
// Small fixtures for the export tests: a document with a fixed date, a computation
// root whose sheets a test fills by hand, and the XML of one block as UTF-8 text.
#include "compute/ReturnComputation.h"
#include "core/Date.h"
#include "core/Text.h"
#include "export/ReturnWriters.h"
#include "export/SchemaCheck.h"
#include "export/XmlTree.h"
#include "model/Declaration.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace kv::test {

inline Cp1251Text u(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// A 3-NDFL file around the blocks of a body: a sound title page, and the Section 1 line
// and Section 2 base the form requires when the body has none of its own.
inline std::string fileAroundBody(const std::string& bodyUtf8) {
    const std::string open = "<НДФЛ3>", close = "</НДФЛ3>";
    std::string inner;
    if (bodyUtf8.rfind(open, 0) == 0 && bodyUtf8.size() >= open.size() + close.size())
        inner = bodyUtf8.substr(open.size(), bodyUtf8.size() - open.size() - close.size());
    if (inner.find("<СумНалПу") == std::string::npos)
        inner = "<СумНалПу ПрУплВозв=\"3\" КБК=\"18210102030011000110\" ОКТМО=\"45379000\" ПодлУпл=\"0\" "
                "ПодлВозв=\"0\"/><НалБаза Ставка=\"13\" ВидДоход=\"3\"><РасчНалБаза ДоходОбщ=\"0.00\" "
                "ДоходОбщНеНал=\"0.00\" ДоходОбщНал=\"0.00\" СумНалВыч=\"0.00\" СумРасхУм=\"0.00\" "
                "СумДохДивКИК=\"0.00\" НалБаза=\"0.00\"/><РасчНалПУ Исчисл=\"0\" УдержОбщ=\"0\" "
                "УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" ОбщАвУплЗач227.1=\"0\" "
                "УплИнПодлЗач=\"0\" УплПатентЗач=\"0\" ПодлУпл=\"0\" ПодлВозв=\"0\"/></НалБаза>" +
                inner;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Файл "
           "ИдФайл=\"NO_NDFL3_7701_7701_770123456703_20200302_"
           "0F8FAD5B-D9CB-469F-A165-70867728950E\" ВерсПрог=\"Quil2019_1.0.1\" ВерсФорм=\"5.14\"><Документ "
           "КНД=\"1151020\" ДатаДок=\"02.03.2020\" Период=\"34\" ОтчетГод=\"2019\" КодНО=\"7701\" "
           "НомКорр=\"0\"><СвНП><НПФЛ3 ДокПредст=\"760\" Статус=\"1\"><ФИОФЛ Фамилия=\"СОКОЛОВ\" "
           "Имя=\"АНДРЕЙ\"/><СведФЛ1 ИННФЛ=\"770123456703\" ДатаРожд=\"12.04.1985\" ОКСМ=\"643\"/></НПФЛ3>"
           "</СвНП><Подписант ПрПодп=\"1\"/><НДФЛ3>" +
           inner + "</НДФЛ3></Документ></Файл>";
}

// The schema's violations of a file, one a line, UTF-8; empty when it keeps to the schema.
inline std::string violationsOf(const std::string& bytes, ReturnForm form) {
    const SchemaReport report = checkAgainstSchema(bytes, form);
    if (!report.wellFormed)
        return "not well-formed";
    std::string out;
    for (const SchemaViolation& v : report.violations)
        out += v.text.utf8() + "\n";
    return out;
}

struct ExportFixture {
    FixedClock clock{date(2020, 3, 2)};
    Declaration doc{clock};
    std::unique_ptr<ReturnComputation> sum = std::make_unique<ReturnComputation>();
    xml::Document scratch = xml::Document::parse("<НДФЛ3/>");
    // Whatever a test has the writers put into the body must keep to the form's schema;
    // a test of values no entry screen can give turns this off.
    bool bodyKeepsToSchema = true;

    explicit ExportFixture(std::uint8_t flags = Declaration::kAgentIncomes) { doc.setIncomeFlags(flags); }
    ~ExportFixture() {
        if (bodyKeepsToSchema) {
            EXPECT_EQ(violationsOf(fileAroundBody(bodyText()), ReturnForm::Ndfl3), "") << bodyText();
        }
    }

    // The body element after a writer has filled it, as "<НДФЛ3>...</НДФЛ3>".
    xml::Element body() const { return scratch.root(); }
    std::string bodyText() const { return scratch.root().utf8Text(); }
};

// The first child element of the given name; the test fails when there is none.
inline std::string childText(const xml::Element& parent, const std::string& utf8Name) {
    for (xmlNodePtr n = parent.node()->children; n != nullptr; n = n->next)
        if (n->type == XML_ELEMENT_NODE && utf8Name == reinterpret_cast<const char*>(n->name))
            return xml::Element(n).utf8Text();
    ADD_FAILURE() << "no element " << utf8Name;
    return std::string();
}

// The XML of a whole block wrapped as the body holds it.
inline std::string wrapped(const std::string& inner) {
    return inner.empty() ? "<НДФЛ3/>" : "<НДФЛ3>" + inner + "</НДФЛ3>";
}

// A return the whole-return check and the schema accept: one employer, a year's salary.
inline Declaration smallReturn(const Clock& clock) {
    Declaration d(clock);
    d.setIncomeFlags(Declaration::kAgentIncomes);
    d.inspectionCode = "7701";
    d.person.surname = u("Соколов");
    d.person.firstName = u("Андрей");
    d.person.inn = "770123456703";
    d.person.oktmo = "45379000";
    ThirteenPercentSource& s = d.incomes13.get(d.incomes13.add());
    s.sourceInn = "7701234560";
    s.sourceKpp = "770101001";
    s.sourceOktmo = "45379000";
    s.sourceName = u("ООО \"Ветер\"");
    ThirteenIncomeItem item;
    item.incomeCode = 2000;
    item.amount = rub(100000);
    s.addItem(item);
    s.taxWithheld = rub(13000);
    return d;
}

// A folder of its own for one test, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("kv_export_" + std::to_string(::getpid()) + "_" + std::to_string(++n_));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    std::string withSlash() const { return path_.string() + "/"; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

private:
    static inline int n_ = 0;
    std::filesystem::path path_;
};

} // namespace kv::test
