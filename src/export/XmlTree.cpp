#include "export/XmlTree.h"

#include "core/Text.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <string>

namespace kv::xml {
namespace {

const xmlChar* xc(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

void requireNode(_xmlNode* node, const char* what) {
    if (node == nullptr)
        throw XmlError(std::string("XML: ") + what);
}

} // namespace

Cp1251Text xmlSafe(const Cp1251Text& text) {
    std::string out = text.bytes();
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        // 0x98 has no character in Windows-1251: the file could not be read back.
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b == 0x98)
            c = ' ';
    }
    return Cp1251Text::fromBytes(std::move(out));
}

Element Element::append(std::string_view name) {
    const std::string n(name);
    _xmlNode* child = xmlNewChild(node_, nullptr, xc(n), nullptr);
    requireNode(child, "cannot append an element");
    return Element(child);
}

Element& Element::set(std::string_view name, const Cp1251Text& value) {
    return setVerbatim(name, upperCp1251(value));
}

Element& Element::setVerbatim(std::string_view name, const Cp1251Text& value) {
    const std::string n(name);
    // A second attribute of one name would make the file ill-formed; the writers never
    // set one twice, and this keeps a slip from reaching a file.
    if (xmlHasProp(node_, xc(n)) != nullptr)
        throw XmlError("XML: attribute set twice: " + n);
    const std::string v = xmlSafe(value).utf8();
    if (xmlNewProp(node_, xc(n), xc(v)) == nullptr)
        throw XmlError("XML: cannot set an attribute");
    return *this;
}

std::string Element::utf8Text() const {
    xmlBufferPtr buf = xmlBufferCreate();
    if (buf == nullptr)
        throw XmlError("XML: out of memory");
    std::string out;
    // A tree parsed without a declaration has no encoding of its own, and libxml2 then
    // writes every letter of an attribute as a character reference; it is UTF-8 inside.
    if (node_->doc != nullptr && node_->doc->encoding == nullptr)
        node_->doc->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
    if (xmlSaveCtxtPtr ctx = xmlSaveToBuffer(buf, "UTF-8", XML_SAVE_NO_DECL)) {
        xmlSaveTree(ctx, node_);
        xmlSaveClose(ctx);
        out.assign(reinterpret_cast<const char*>(xmlBufferContent(buf)),
                   static_cast<std::size_t>(xmlBufferLength(buf)));
    }
    xmlBufferFree(buf);
    return out;
}

Document Document::parse(std::string_view bytes) {
    _xmlDoc* doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr || xmlDocGetRootElement(doc) == nullptr) {
        if (doc != nullptr)
            xmlFreeDoc(doc);
        throw XmlError("XML: the document cannot be parsed");
    }
    return Document(doc);
}

Document::Document(Document&& other) noexcept : doc_(other.doc_) {
    other.doc_ = nullptr;
}

Document& Document::operator=(Document&& other) noexcept {
    if (this != &other) {
        if (doc_ != nullptr)
            xmlFreeDoc(doc_);
        doc_ = other.doc_;
        other.doc_ = nullptr;
    }
    return *this;
}

Document::~Document() {
    if (doc_ != nullptr)
        xmlFreeDoc(doc_);
}

Element Document::root() const {
    return Element(xmlDocGetRootElement(doc_));
}

std::string Document::windows1251Bytes() const {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc_, &mem, &size, "windows-1251", 0);
    if (mem == nullptr || size <= 0) {
        if (mem != nullptr)
            xmlFree(mem);
        throw XmlError("XML: the document cannot be saved in windows-1251");
    }
    std::string out(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size));
    xmlFree(mem);
    return out;
}

} // namespace kv::xml
