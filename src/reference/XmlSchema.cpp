#include "reference/XmlSchema.h"

#include "core/Text.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <climits>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace kv {
namespace {

#if LIBXML_VERSION >= 21200
using ErrorArg = const xmlError*;
#else
using ErrorArg = xmlError*;
#endif

struct DocDeleter {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// ---- Turning libxml2's messages into ours ----
//
// libxml2 writes "Element 'E', attribute 'A': <what is wrong>"; the names and the
// values in quotes are the file's own (UTF-8), the rest is translated here by the
// error code.

std::string between(std::string_view text, std::string_view open, std::string_view close) {
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos)
        return std::string();
    const std::size_t from = start + open.size();
    const std::size_t end = text.find(close, from);
    return std::string(
        text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
}

// The value of a facet message: "The value '<value>' <continuation>", where the value
// itself may hold quotes.
std::string facetValue(std::string_view text) {
    static const char* const kContinuations[] = {
        "' is not accepted",     "' is not an element", "' has a length",   "' has more digits",
        "' has more fractional", "' is less than",      "' is greater than"};
    const std::string open = "The value '";
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos)
        return std::string();
    const std::size_t from = start + open.size();
    for (const char* c : kContinuations) {
        const std::size_t end = text.rfind(c);
        if (end != std::string_view::npos && end >= from)
            return std::string(text.substr(from, end - from));
    }
    return std::string();
}

// The last quoted text of a message: the limit of a facet.
std::string lastQuoted(std::string_view text) {
    const std::size_t close = text.rfind('\'');
    if (close == std::string_view::npos || close == 0)
        return std::string();
    const std::size_t open = text.rfind('\'', close - 1);
    return open == std::string_view::npos ? std::string()
                                          : std::string(text.substr(open + 1, close - open - 1));
}

std::string expectedElements(std::string_view text) {
    std::string list = between(text, "( ", " )");
    for (std::size_t p; (p = list.find("##other{")) != std::string::npos;)
        list.erase(p, 8);
    return list;
}

std::string quoted(const std::string& s) {
    return "«" + s + "»";
}

std::string valueRule(int code, std::string_view text) {
    const std::string value = quoted(facetValue(text));
    switch (code) {
    case XML_SCHEMAV_CVC_PATTERN_VALID:
        if (facetValue(text).empty())
            return "значение не указано (образец " + lastQuoted(text) + ")";
        return "значение " + value + " не соответствует образцу " + lastQuoted(text);
    case XML_SCHEMAV_CVC_ENUMERATION_VALID:
        return "значение " + value + " не входит в список допустимых кодов {" + between(text, "{", "}") + "}";
    case XML_SCHEMAV_CVC_MINLENGTH_VALID:
        return facetValue(text).empty() ? std::string("значение не может быть пустым")
                                        : "значение " + value + " короче " + lastQuoted(text) + " знаков";
    case XML_SCHEMAV_CVC_MAXLENGTH_VALID:
        return "значение длиннее " + lastQuoted(text) + " знаков";
    case XML_SCHEMAV_CVC_LENGTH_VALID:
        return "значение " + value + " должно состоять ровно из " + lastQuoted(text) + " знаков";
    case XML_SCHEMAV_CVC_TOTALDIGITS_VALID:
        return "в числе " + value + " больше " + lastQuoted(text) + " цифр";
    case XML_SCHEMAV_CVC_FRACTIONDIGITS_VALID:
        return "в числе " + value + " больше " + lastQuoted(text) + " знаков после точки";
    case XML_SCHEMAV_CVC_MININCLUSIVE_VALID:
        return "значение " + value + " меньше допустимого " + lastQuoted(text);
    case XML_SCHEMAV_CVC_MAXINCLUSIVE_VALID:
        return "значение " + value + " больше допустимого " + lastQuoted(text);
    default:
        return std::string();
    }
}

// "'<value>' is not a valid value of the atomic type '<type>'."
std::string typeRule(std::string_view text) {
    const std::string type = lastQuoted(text);
    const std::size_t open = text.find('\'');
    const std::size_t close = text.rfind("' is not a valid value");
    const std::string value =
        quoted(open != std::string_view::npos && close != std::string_view::npos && close > open
                   ? std::string(text.substr(open + 1, close - open - 1))
                   : std::string());
    if (type.rfind("СумЦел", 0) == 0)
        return "сумма указывается в целых рублях без знака: " + value;
    if (type.rfind("Сум", 0) == 0)
        return "сумма указывается в рублях, не больше двух знаков после точки, без знака: " + value;
    return "значение " + value + " не является числом";
}

std::string structureRule(int code, std::string_view text) {
    switch (code) {
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_4:
        return "не указан обязательный атрибут " + quoted(between(text, "attribute '", "'"));
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1:
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_2:
        return "атрибут не предусмотрен форматом";
    case XML_SCHEMAV_ELEMENT_CONTENT: {
        const std::string expected = expectedElements(text);
        if (text.find("Missing child") != std::string_view::npos)
            return "не хватает вложенного элемента " + quoted(expected);
        if (expected.empty())
            return "элемент лишний или стоит не на своем месте";
        return "элемент стоит не на своем месте или лишний; здесь ожидается " + quoted(expected);
    }
    case XML_SCHEMAV_CVC_ELT_1:
        return "корневой элемент не тот, что требует формат";
    case XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_1:
    case XML_SCHEMAV_CVC_ATTRIBUTE_3:
        return typeRule(text);
    default:
        return std::string();
    }
}

// "Элемент «E», атрибут «A»: rule", all of it Windows-1251.
Cp1251Text translate(const xmlError& e) {
    std::string_view text = e.message != nullptr ? std::string_view(e.message) : std::string_view();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);

    std::string where;
    std::string_view rest = text;
    if (text.rfind("Element '", 0) == 0) {
        const std::size_t colon = text.find("': ");
        if (colon != std::string_view::npos) {
            const std::string_view head = text.substr(0, colon + 1);
            rest = text.substr(colon + 3);
            where = "Элемент " + quoted(between(head, "Element '", "'"));
            const std::string attribute = between(head, "attribute '", "'");
            if (!attribute.empty())
                where += ", атрибут " + quoted(attribute);
        }
    }
    std::string rule = valueRule(e.code, rest);
    if (rule.empty())
        rule = structureRule(e.code, rest);
    if (rule.empty())
        rule = "нарушено правило формата (" + std::string(rest) + ")";
    return Cp1251Text::fromUtf8((where.empty() ? std::string() : where + ": ") + rule);
}

void collect(void* sink, ErrorArg error) {
    if (error == nullptr)
        return;
    auto& out = *static_cast<std::vector<SchemaViolation>*>(sink);
    out.push_back({error->line, translate(*error)});
}

void ignoreError(void*, ErrorArg) {}

} // namespace

XmlSchema::XmlSchema(const char* text) {
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewMemParserCtxt(text, static_cast<int>(std::strlen(text)));
    if (parser == nullptr)
        throw std::runtime_error("schema: out of memory");
    xmlSchemaSetParserStructuredErrors(parser, ignoreError, nullptr);
    schema_ = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (schema_ == nullptr)
        throw std::logic_error("schema: the built-in schema does not compile");
}

XmlSchema::~XmlSchema() {
    xmlSchemaFree(schema_);
}

SchemaReport XmlSchema::check(std::string_view bytes) const {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return SchemaReport{};
    const DocPtr doc(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "file.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES));
    return check(doc.get());
}

SchemaReport XmlSchema::check(xmlDoc* doc) const {
    SchemaReport report;
    if (doc == nullptr || xmlDocGetRootElement(doc) == nullptr)
        return report;
    report.wellFormed = true;
    xmlSchemaValidCtxtPtr ctxt = xmlSchemaNewValidCtxt(schema_);
    if (ctxt == nullptr)
        throw std::runtime_error("schema: out of memory");
    xmlSchemaSetValidStructuredErrors(ctxt, collect, &report.violations);
    const int result = xmlSchemaValidateDoc(ctxt, doc);
    xmlSchemaFreeValidCtxt(ctxt);
    if (result != 0 && report.violations.empty())
        report.violations.push_back({0, Cp1251Text::fromUtf8("файл не удалось проверить по схеме формата")});
    return report;
}

} // namespace kv
