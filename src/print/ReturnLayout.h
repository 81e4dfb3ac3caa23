#pragma once
// The printed return as pages, built from the XML text the export writes: which
// sheets the XML holds, each figure on its labelled line with its line code, the
// page header, and the barcode that carries the XML itself. No drawing here; the
// pages are measured in millimetres (see PageGeometry.h) and texts are UTF-8.
#include "print/Pdf417.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

// Text that is not a return the module can print. The message is UTF-8.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PrintLine {
    enum class Kind { Heading, Field };
    Kind kind = Kind::Field;
    std::string code;               // line code of the form ("010"); empty when the line has none
    std::vector<std::string> label; // wrapped lines
    std::vector<std::string> value; // wrapped lines; empty for a heading
    double height = 0;              // millimetres, spacing included
};

struct PrintPage {
    int number = 0;    // from 1
    std::string sheet; // "Титульный лист", "Раздел 1", "Приложение 5", ...
    std::vector<std::string> title; // wrapped heading of the sheet
    bool continued = false;         // a further page of the same sheet
    bool barcodeOnly = false;       // a page added because the barcodes needed room
    std::vector<PrintLine> lines;
    std::string barcodeData; // the chunk this page's barcode carries
    BarcodeSymbol barcode;
    int barcodePart = 0; // from 1
    int barcodeParts = 0;
};

struct PrintLayout {
    bool form4 = false;                                // 4-NDFL rather than 3-NDFL
    std::string formName;                              // "3-НДФЛ" / "4-НДФЛ"
    std::string knd;                                   // form code from the XML
    std::string fileId, formatVersion, programVersion; // of the exported file, under each barcode
    std::string inn;                                   // taxpayer's INN, empty when the return has none
    std::string shortName;                             // "ИВАНОВ И. И." for the header of the pages
    std::vector<PrintPage> pages;
};

struct LayoutOptions {
    std::string inspectionName;   // UTF-8; printed on the title page when not empty
    std::size_t chunkPayload = 0; // 0: the module's standard size
};

// Lays out the return held by the XML text (the bytes of the exported file, with
// their encoding declaration). Throws LayoutError for text that is not a return.
PrintLayout layoutReturn(std::string_view xml, const LayoutOptions& options = {});

// Every text printed on the page, one line each (header, title, lines as
// "code label value", barcode caption), for searching and for the tests.
std::string pageText(const PrintLayout& layout, const PrintPage& page);

// Which part of the data a page's barcode holds (printed under it), and of
// which file (printed at the foot of the page).
std::vector<std::string> barcodeCaption(const PrintLayout& layout, const PrintPage& page);

} // namespace kv::print
