#include "reference/XmlRead.h"

#include "core/Text.h"
#include "reference/XmlSchema.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <fstream>
#include <limits>
#include <system_error>

namespace kv {

namespace {

// No entity, DTD or included document is ever fetched: the directory files are
// self-contained, and a hostile file must not make the program read other files.
xmlParserInputPtr refuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

class ExternalLoaderGuard {
public:
    ExternalLoaderGuard() : previous_(xmlGetExternalEntityLoader()) {
        xmlSetExternalEntityLoader(refuseExternal);
    }
    ~ExternalLoaderGuard() { xmlSetExternalEntityLoader(previous_); }
    ExternalLoaderGuard(const ExternalLoaderGuard&) = delete;
    ExternalLoaderGuard& operator=(const ExternalLoaderGuard&) = delete;

private:
    xmlExternalEntityLoader previous_;
};

// libxml2 reports some faults (a byte the declared encoding has no letter for) on stderr
// whatever the parse options say; the person gets the program's own message instead.
void ignoreDiagnostic(void*, const char*, ...) {}
void ignoreStructured(void*, xmlErrorPtr) {}

class DiagnosticsSilenced {
public:
    DiagnosticsSilenced()
        : generic_(xmlGenericError), genericContext_(xmlGenericErrorContext), structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext) {
        xmlSetGenericErrorFunc(nullptr, ignoreDiagnostic);
        xmlSetStructuredErrorFunc(nullptr, ignoreStructured);
    }
    ~DiagnosticsSilenced() {
        xmlSetGenericErrorFunc(genericContext_, generic_);
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
    }
    DiagnosticsSilenced(const DiagnosticsSilenced&) = delete;
    DiagnosticsSilenced& operator=(const DiagnosticsSilenced&) = delete;

private:
    xmlGenericErrorFunc generic_;
    void* genericContext_;
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
};

bool declaresEntities(const xmlDoc* doc) {
    if (doc->extSubset != nullptr)
        return true;
    const xmlDtd* dtd = doc->intSubset;
    if (dtd == nullptr)
        return false;
    return dtd->entities != nullptr || dtd->pentities != nullptr || dtd->ExternalID != nullptr ||
           dtd->SystemID != nullptr;
}

bool hasEntityReference(const xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ENTITY_REF_NODE || node->type == XML_ENTITY_NODE ||
            node->type == XML_XINCLUDE_START)
            return true;
        if (node->type == XML_ELEMENT_NODE && hasEntityReference(node->children))
            return true;
    }
    return false;
}

Cp1251Text utf8To1251(const xmlChar* text) {
    if (text == nullptr)
        return {};
    return Cp1251Text::fromUtf8(reinterpret_cast<const char*>(text));
}

} // namespace

void XmlDocDeleter::operator()(xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

XmlDocPtr parseXmlText(std::string_view bytes) {
    if (bytes.size() > kMaxXmlFileBytes ||
        bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return nullptr;
    ExternalLoaderGuard guard;
    DiagnosticsSilenced quiet;
    // Without XML_PARSE_NOENT, XML_PARSE_DTDLOAD and XML_PARSE_HUGE: entities are not
    // substituted, no external subset is loaded and libxml2's size limits stay on.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    XmlDocPtr doc(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "directory.xml", nullptr, options));
    if (!doc)
        return nullptr;
    if (declaresEntities(doc.get()) || xmlDocGetRootElement(doc.get()) == nullptr ||
        hasEntityReference(doc->children))
        return nullptr;
    return doc;
}

int xmlFaultLine(std::string_view bytes) {
    if (bytes.size() > kMaxXmlFileBytes)
        return 0;
    ExternalLoaderGuard guard;
    DiagnosticsSilenced quiet;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr)
        return 0;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlFreeDoc(
        xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()), "file.xml", nullptr, options));
    // Parsing stops at the first fatal fault, so the last one recorded is the first.
    const xmlError* error = xmlCtxtGetLastError(ctxt);
    const int line = error != nullptr && error->code != XML_ERR_OK ? error->line : 0;
    xmlFreeParserCtxt(ctxt);
    return line;
}

XmlFile readXmlFile(const std::filesystem::path& path) {
    XmlFile result;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return result;
    result.state = XmlFileState::Unreadable;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxXmlFileBytes)
        return result;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return result;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        return result;
    result.doc = parseXmlText(bytes);
    if (result.doc)
        result.state = XmlFileState::Loaded;
    return result;
}

xmlNode* rootElement(xmlDoc* doc) {
    return doc == nullptr ? nullptr : xmlDocGetRootElement(doc);
}

xmlNode* firstChildElement(xmlNode* node) {
    if (node == nullptr)
        return nullptr;
    for (xmlNode* c = node->children; c != nullptr; c = c->next)
        if (c->type == XML_ELEMENT_NODE)
            return c;
    return nullptr;
}

xmlNode* nextElement(xmlNode* node) {
    for (xmlNode* c = node->next; c != nullptr; c = c->next)
        if (c->type == XML_ELEMENT_NODE)
            return c;
    return nullptr;
}

bool hasName(const xmlNode* node, std::string_view name) {
    return node != nullptr && node->name != nullptr && reinterpret_cast<const char*>(node->name) == name;
}

bool hasAttribute(xmlNode* node, const char* name) {
    return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

Cp1251Text attribute1251(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    Cp1251Text result = utf8To1251(value);
    xmlFree(value);
    return result;
}

Cp1251Text text1251(xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    Cp1251Text result = utf8To1251(value);
    xmlFree(value);
    return result;
}

xmlNode* childElement(xmlNode* node, std::string_view name) {
    for (xmlNode* c = firstChildElement(node); c != nullptr; c = nextElement(c))
        if (hasName(c, name))
            return c;
    return nullptr;
}

} // namespace kv
