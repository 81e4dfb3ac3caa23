#pragma once
// PDF417 symbols for the printed pages, made with libzint in byte mode.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

class BarcodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A symbol as dark rectangles, measured in modules (the narrowest bar's width).
struct BarcodeSymbol {
    struct Bar {
        double x, y, width, height;
    };
    double width = 0;  // modules
    double height = 0; // modules
    int rows = 0;
    int columns = 0;
    std::vector<Bar> bars;
};

// The symbol takes as few data columns as keep it within this many rows, so
// that small and large parts alike fill the barcode's place on the page.
constexpr int kPdf417MinColumns = 4;
constexpr int kPdf417MaxColumns = 12;
constexpr int kPdf417MaxRows = 36;
// Error correction level 5 (64 codewords) lets a creased or smudged page still read.
constexpr int kPdf417Security = 5;

// Throws BarcodeError when the bytes do not fit kPdf417MaxColumns × kPdf417MaxRows.
BarcodeSymbol encodePdf417(std::string_view bytes, int security = kPdf417Security);

} // namespace kv::print
