#pragma once
// What the printed form says about each element of the exported XML: the sheet it
// belongs to, the heading of its block, and for each attribute the line code and
// the label of the form's line. Attributes the tables do not know are still
// printed, under their XML names, so that no figure of the return is left off paper.
#include <span>
#include <string_view>

namespace kv::print::forms {

// One line of a table. The path says where its value is:
//   "Attr", "Child/Attr", "Child/Grandchild/Attr"  an attribute, relative to the element;
//   "#Text"   a heading, printed only when a line under it has a value;
//   "*Child"  the blocks of the element's children of that name, here;
//   "$name"   a value the layout supplies ("$inspectionName", "$pageCount");
//   "-Path"   an attribute shown elsewhere on the page (header, barcode caption), not as a line.
struct Row {
    std::string_view path;
    std::string_view code;
    std::string_view label;
};

struct ElementForm {
    std::string_view element;
    std::string_view block; // heading of each block of this element; empty: none
    std::span<const Row> rows;
};

struct SheetForm {
    std::string_view element; // a child of НДФЛ3
    std::string_view sheet;   // short name
    std::string_view title;   // heading of the sheet
    bool onePerElement;       // every element has a sheet of its own (Section 2)
};

// The title page, read from the root element "Файл" (both forms).
const ElementForm& titlePage();
// The table of an element of the body or below; nullptr when there is none.
const ElementForm* elementForm(std::string_view element);
// Every element table but the title page's.
std::span<const ElementForm> elementForms();
std::span<const SheetForm> sheetForms();
// The sheet of a child of НДФЛ3; nullptr for an element the form does not know.
const SheetForm* sheetForm(std::string_view element);

} // namespace kv::print::forms
