#include "reference/IncomeCertificate.h"

#include "core/Text.h"
#include "reference/CertificateSchemaText.h"
#include "reference/XmlRead.h"
#include "reference/XmlSchema.h"

#include <libxml/tree.h>

#include <charconv>

namespace kv {
namespace {

constexpr std::string_view kKnd = "1151078";
constexpr std::string_view kVersion = "5.06";

const XmlSchema& certificateSchema() {
    static const XmlSchema schema(kSchemaNdfl2);
    return schema;
}

CertificateReading refused(std::string_view utf8Text) {
    CertificateReading r;
    r.fault = Cp1251Text::fromUtf8(utf8Text);
    return r;
}

std::string lineText(int line) {
    return line > 0 ? "строка " + std::to_string(line) + ": " : std::string();
}

int lineOf(const xmlNode* node) {
    return static_cast<int>(xmlGetLineNo(node));
}

// The schema lets through only amounts of two decimals and whole numbers. Names are
// the UTF-8 libxml2 gives.
Money amount(xmlNode* node, const char* utf8Name) {
    return parseMoney(attribute1251(node, utf8Name).bytes(), '.').value_or(Money());
}

int number(const Cp1251Text& cp1251) {
    const std::string& text = cp1251.bytes();
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

CertificateDeduction deductionOf(xmlNode* node) {
    return {attribute1251(node, "КодВычет"), amount(node, "СумВычет"), lineOf(node)};
}

CertificateTotals totalsOf(xmlNode* node) {
    CertificateTotals t;
    t.income = amount(node, "СумДохОбщ");
    t.base = amount(node, "НалБаза");
    t.taxComputed = amount(node, "НалИсчисл");
    t.taxWithheld = amount(node, "НалУдерж");
    t.fixedAdvance = amount(node, "АвансПлатФикс");
    t.taxTransferred = amount(node, "НалПеречисл");
    t.taxOverWithheld = amount(node, "НалУдержЛиш");
    t.taxNotWithheld = amount(node, "НалНеУдерж");
    return t;
}

CertificateRateBlock blockOf(xmlNode* node) {
    CertificateRateBlock block;
    block.rate = number(attribute1251(node, "Ставка"));
    block.line = lineOf(node);
    block.totals = totalsOf(childElement(node, "СумИтНалПер"));
    if (xmlNode* granted = childElement(node, "НалВычССИ"))
        for (xmlNode* d = childElement(granted, "ПредВычССИ"); d != nullptr; d = nextElement(d))
            if (hasName(d, "ПредВычССИ"))
                block.agentDeductions.push_back(deductionOf(d));
    for (xmlNode* i = firstChildElement(childElement(node, "ДохВыч")); i != nullptr; i = nextElement(i)) {
        CertificateIncome income;
        income.month = number(attribute1251(i, "Месяц"));
        income.code = attribute1251(i, "КодДоход");
        income.amount = amount(i, "СумДоход");
        income.line = lineOf(i);
        for (xmlNode* d = firstChildElement(i); d != nullptr; d = nextElement(d))
            income.deductions.push_back(deductionOf(d));
        block.incomes.push_back(std::move(income));
    }
    return block;
}

CertificateRecipient recipientOf(xmlNode* node) {
    CertificateRecipient r;
    r.inn = attribute1251(node, "ИННФЛ");
    r.innLine = lineOf(node);
    r.birthDateText = attribute1251(node, "ДатаРожд");
    r.birthDate = DateValue::parseText(r.birthDateText.bytes()).value_or(DateValue());
    r.status = attribute1251(node, "Статус");
    r.citizenship = attribute1251(node, "Гражд");
    xmlNode* name = childElement(node, "ФИО");
    r.surname = attribute1251(name, "Фамилия");
    r.firstName = attribute1251(name, "Имя");
    r.patronymic = attribute1251(name, "Отчество");
    return r;
}

Certificate certificateOf(xmlNode* node) {
    Certificate c;
    c.number = attribute1251(node, "НомСпр");
    c.correction = attribute1251(node, "НомКорр");
    c.line = lineOf(node);
    c.recipient = recipientOf(childElement(node, "ПолучДох"));
    for (xmlNode* b = firstChildElement(node); b != nullptr; b = nextElement(b))
        if (hasName(b, "СведДох"))
            c.blocks.push_back(blockOf(b));
    return c;
}

Cp1251Text fullName(xmlNode* name) {
    Cp1251Text text = attribute1251(name, "Фамилия") + " " + attribute1251(name, "Имя");
    const Cp1251Text patronymic = attribute1251(name, "Отчество");
    return patronymic.empty() ? text : text + " " + patronymic;
}

CertificateFile fileOf(xmlNode* root, xmlNode* document) {
    CertificateFile f;
    f.fileId = attribute1251(root, "ИдФайл");
    f.documentDate = attribute1251(document, "ДатаДок");
    f.year = number(attribute1251(document, "ОтчетГод"));
    xmlNode* agent = childElement(document, "СвНА");
    f.agent.oktmo = attribute1251(agent, "ОКТМО");
    if (xmlNode* org = childElement(agent, "СвНАЮЛ")) {
        f.agent.name = attribute1251(org, "НаимОрг");
        f.agent.inn = attribute1251(org, "ИННЮЛ");
        f.agent.kpp = attribute1251(org, "КПП");
        f.agent.innLine = lineOf(org);
        if (xmlNode* reorganised = childElement(org, "СвРеоргЮЛ");
            reorganised && hasAttribute(reorganised, "ИННЮЛ"))
            f.otherInns.emplace_back(attribute1251(reorganised, "ИННЮЛ"), lineOf(reorganised));
    } else if (xmlNode* person = childElement(agent, "СвНАФЛ")) {
        f.agent.isPerson = true;
        f.agent.name = fullName(childElement(person, "ФИО"));
        f.agent.inn = attribute1251(person, "ИННФЛ");
        f.agent.innLine = lineOf(person);
    }
    for (xmlNode* c = firstChildElement(document); c != nullptr; c = nextElement(c))
        if (hasName(c, "НДФЛ-2"))
            f.certificates.push_back(certificateOf(c));
    return f;
}

// The document element of a 2-NDFL file, or nullptr when the file is another form.
xmlNode* certificateDocument(xmlNode* root) {
    if (!hasName(root, "Файл"))
        return nullptr;
    xmlNode* document = childElement(root, "Документ");
    return document != nullptr && attribute1251(document, "КНД").bytes() == kKnd ? document : nullptr;
}

} // namespace

Cp1251Text certificateFormTitle() {
    return Cp1251Text::fromUtf8("2-НДФЛ 5.06");
}

CertificateReading readIncomeCertificates(std::string_view bytes) {
    const XmlDocPtr doc = parseXmlText(bytes);
    if (!doc)
        return refused(lineText(xmlFaultLine(bytes)) +
                       "файл не является документом XML: он поврежден или обрезан");
    xmlNode* root = rootElement(doc.get());
    xmlNode* document = certificateDocument(root);
    if (document == nullptr)
        return refused("файл не является справкой о доходах 2-НДФЛ (КНД 1151078)");
    const Cp1251Text version = attribute1251(root, "ВерсФорм");
    if (version.bytes() != kVersion)
        return refused("справка записана в формате версии «" + version.utf8() +
                       "»; программа читает справки 2-НДФЛ версии 5.06");

    const SchemaReport report = certificateSchema().check(doc.get());
    if (!report.valid()) {
        const SchemaViolation& first = report.violations.front();
        return refused("справка не соответствует формату 2-НДФЛ 5.06: " + lineText(first.line) +
                       first.text.utf8());
    }
    CertificateFile file = fileOf(root, document);
    if (file.year != 2019)
        return refused("справка за " + std::to_string(file.year) + " год, а декларация — за 2019 год");
    CertificateReading reading;
    reading.file = std::move(file);
    return reading;
}

} // namespace kv
