#pragma once
// Checking an XML document against an XSD schema built into the program, with every
// broken rule told in Russian: the element, the attribute, the rule and the line.
// The export checks its files with it, the certificate import the files it reads.
#include "core/Text.h"
#include <memory>
#include <string>
#include <string_view>
#include <vector>

typedef struct _xmlDoc xmlDoc;
typedef struct _xmlSchema xmlSchema;

namespace kv {

// One broken rule: the line of the file (0 when unknown) and what is wrong, in
// Russian (Windows-1251), naming the element, the attribute and the rule.
struct SchemaViolation {
    int line = 0;
    Cp1251Text text;
};

struct SchemaReport {
    bool wellFormed = false; // false: the bytes are not an XML document at all
    std::vector<SchemaViolation> violations;
    bool valid() const { return wellFormed && violations.empty(); }
};

// The line of the first fault that keeps bytes from parsing as the directory files
// parse (parseXmlText of reference/XmlRead.h gives nullptr), 0 when no line is known.
int xmlFaultLine(std::string_view bytes);

class XmlSchema {
public:
    // Compiles the schema text (UTF-8 XSD). A schema is part of the program: one that
    // does not compile throws std::logic_error.
    explicit XmlSchema(const char* text);
    ~XmlSchema();
    XmlSchema(const XmlSchema&) = delete;
    XmlSchema& operator=(const XmlSchema&) = delete;

    // Validates the bytes of a file (in the encoding its declaration names) and reports
    // every violation in document order.
    SchemaReport check(std::string_view bytes) const;
    // The same for a document already parsed (its lines kept).
    SchemaReport check(xmlDoc* doc) const;

private:
    xmlSchema* schema_;
};

} // namespace kv
