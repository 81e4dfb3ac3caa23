#pragma once
// Small fixtures for the export tests: a document with a fixed date, a computation
// root whose sheets a test fills by hand, and the XML of one block as UTF-8 text.
#include "compute/ReturnComputation.h"
#include "core/Date.h"
#include "core/Text.h"
#include "export/ReturnWriters.h"
#include "export/XmlTree.h"
#include "model/Declaration.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <string>

namespace kv::test {

inline std::string u(const char* utf8) {
    return utf8ToCp1251(utf8);
}

inline Money rub(std::int64_t roubles, std::int64_t kopecks = 0) {
    return Money::fromRaw(roubles * Money::kScale + kopecks * 100);
}

inline DateValue ymd(int year, int month, int day) {
    return *DateValue::fromYmd(year, month, day);
}

struct ExportFixture {
    FixedClock clock{ymd(2020, 3, 2)};
    Declaration doc{clock};
    std::unique_ptr<ReturnComputation> sum = std::make_unique<ReturnComputation>();
    xml::Document scratch = xml::Document::parse("<НДФЛ3/>");

    explicit ExportFixture(std::uint8_t flags = Declaration::kAgentIncomes) { doc.setIncomeFlags(flags); }

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

} // namespace kv::test
