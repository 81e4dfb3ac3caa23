#include "print/Pdf417.h"

#include <zint.h>

#include <memory>

namespace kv::print {

namespace {

using Symbol = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

Symbol encode(std::string_view bytes, int columns, int security) {
    Symbol symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (!symbol)
        throw BarcodeError("zint: out of memory");
    symbol->symbology = BARCODE_PDF417;
    symbol->input_mode = DATA_MODE; // bytes as they are, no character set conversion
    symbol->option_1 = security;
    symbol->option_2 = columns;
    symbol->show_hrt = 0;
    const int status =
        ZBarcode_Encode_and_Buffer_Vector(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                          static_cast<int>(bytes.size()), 0);
    // A warning (zint widening a symbol too tall for the columns asked) still gives a symbol.
    if (status >= ZINT_ERROR || symbol->vector == nullptr || symbol->width <= 0)
        throw BarcodeError(std::string("zint: ") + symbol->errtxt);
    return symbol;
}

} // namespace

BarcodeSymbol encodePdf417(std::string_view bytes, int security) {
    for (int columns = kPdf417MinColumns; columns <= kPdf417MaxColumns; ++columns) {
        const Symbol symbol = encode(bytes, columns, security);
        // Start, stop and both row indicators take 4 × 17 modules and the stop bar one more.
        const int used = (symbol->width - 69) / 17;
        if (symbol->rows > kPdf417MaxRows || used > kPdf417MaxColumns)
            continue;
        // The vector output is in its own units; one module is its width over the symbol's modules.
        const double unit = static_cast<double>(symbol->vector->width) / symbol->width;
        BarcodeSymbol out;
        out.width = symbol->width;
        out.height = symbol->vector->height / unit;
        out.rows = symbol->rows;
        out.columns = used;
        for (const zint_vector_rect* r = symbol->vector->rectangles; r != nullptr; r = r->next)
            out.bars.push_back({r->x / unit, r->y / unit, r->width / unit, r->height / unit});
        return out;
    }
    throw BarcodeError("the data is too long for one barcode: " + std::to_string(bytes.size()) + " bytes");
}

} // namespace kv::print
