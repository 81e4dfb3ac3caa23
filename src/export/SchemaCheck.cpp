#include "export/SchemaCheck.h"

#include "core/Text.h"
#include "export/SchemaText.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace kv {
namespace {

struct DocDeleter {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

const XmlSchema& schemaOf(ReturnForm form) {
    static const XmlSchema ndfl3(kSchemaNdfl3);
    static const XmlSchema ndfl4(kSchemaNdfl4);
    return form == ReturnForm::Ndfl3 ? ndfl3 : ndfl4;
}

DocPtr parse(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return nullptr;
    return DocPtr(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "file.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES));
}

std::string attribute(const xmlNode* node, const char* utf8Name) {
    xmlChar* v = xmlGetProp(node, reinterpret_cast<const xmlChar*>(utf8Name));
    std::string out = v != nullptr ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return out;
}

} // namespace

Cp1251Text formTitle(ReturnForm form) {
    return Cp1251Text::fromUtf8(form == ReturnForm::Ndfl3 ? "3-НДФЛ 5.14" : "4-НДФЛ 5.03");
}

SchemaReport checkAgainstSchema(std::string_view bytes, ReturnForm form) {
    return schemaOf(form).check(bytes);
}

std::optional<ReturnForm> formOfFile(std::string_view bytes) {
    const DocPtr doc = parse(bytes);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (root == nullptr || std::strcmp(reinterpret_cast<const char*>(root->name), "Файл") != 0)
        return std::nullopt;
    const std::string version = attribute(root, "ВерсФорм");
    if (version == "5.14")
        return ReturnForm::Ndfl3;
    if (version == "5.03")
        return ReturnForm::Ndfl4;
    for (const xmlNode* n = root->children; n != nullptr; n = n->next) {
        if (n->type != XML_ELEMENT_NODE ||
            std::strcmp(reinterpret_cast<const char*>(n->name), "Документ") != 0)
            continue;
        const std::string knd = attribute(n, "КНД");
        if (knd == "1151020")
            return ReturnForm::Ndfl3;
        if (knd == "1151021")
            return ReturnForm::Ndfl4;
    }
    return std::nullopt;
}

Cp1251Text schemaRefusalMessage(ReturnForm form, const std::vector<SchemaViolation>& violations) {
    constexpr std::size_t kShown = 5;
    Cp1251Text text = Cp1251Text::fromUtf8("Файл не сформирован: декларация не соответствует формату ") +
                      formTitle(form) + ".";
    for (std::size_t i = 0; i < violations.size() && i < kShown; ++i)
        text += "\r" + violations[i].text + ".";
    if (violations.size() > kShown)
        text += Cp1251Text::fromUtf8("\rи еще нарушений: ") +
                Cp1251Text::fromBytes(std::to_string(violations.size() - kShown)) + ".";
    text += Cp1251Text::fromUtf8("\rИсправьте эти данные в декларации и повторите выгрузку.");
    return text;
}

} // namespace kv
