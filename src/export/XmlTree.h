#pragma once
// The in-memory XML tree of one export: elements in the order they are appended,
// attributes in the order they are set, saved as Windows-1251 without indentation.
// Element and attribute names are UTF-8 literals of the sources; attribute values
// are Windows-1251 text of the core, upper-cased as they are set.
#include "core/Text.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

struct _xmlDoc;
struct _xmlNode;

namespace kv::xml {

// Building, parsing or saving the tree failed.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Element {
public:
    explicit Element(_xmlNode* node) : node_(node) {}

    // Appends a new child at the end and returns it.
    Element append(std::string_view name);
    // Sets an attribute after those already set; the value is upper-cased.
    Element& set(std::string_view name, const Cp1251Text& value);
    Element& set(std::string_view name, AsciiText value) { return set(name, Cp1251Text(value)); }
    // Sets an attribute exactly as given (the root's identifier and versions).
    Element& setVerbatim(std::string_view name, const Cp1251Text& value);

    // The element and its subtree as UTF-8 text, without declaration or indentation.
    std::string utf8Text() const;

    _xmlNode* node() const { return node_; }

private:
    _xmlNode* node_;
};

class Document {
public:
    // Parses a whole document held in memory (bytes in the encoding its declaration names).
    static Document parse(std::string_view bytes);

    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;
    ~Document();

    Element root() const;
    // The bytes of the saved file: the declaration naming windows-1251, then the tree.
    std::string windows1251Bytes() const;

private:
    explicit Document(_xmlDoc* doc) : doc_(doc) {}
    _xmlDoc* doc_;
};

// Text that XML 1.0 cannot carry (control characters other than tab, line feed and
// carriage return, and the unassigned byte 0x98) becomes blanks, so that every value a
// user typed still yields a well-formed file.
Cp1251Text xmlSafe(const Cp1251Text& text);

} // namespace kv::xml
