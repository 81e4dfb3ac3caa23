#pragma once
// Where things go on a printed page, in millimetres from the paper's top left
// corner of an A4 sheet. The layout breaks pages and wraps texts with these
// figures and the drawing code places everything by them, so the two always agree.
namespace kv::print::geometry {

constexpr double kPageWidth = 210.0;
constexpr double kPageHeight = 297.0;
constexpr double kLeft = 18.0;   // the wider margin is the binding edge
constexpr double kRight = 198.0; // 12 mm from the right edge
constexpr double kContentWidth = kRight - kLeft;

// The barcode stands first on the page, in the top left corner: a reader that
// scans from the top meets it before any text whose strokes could pass for bars.
// PDF417 module width: 3.5 pixels at 150 dpi, 4.5 printer dots at 300 dpi.
constexpr double kModule = 0.38;
constexpr double kBarcodeTop = 8.0;
constexpr double kBarcodeMaxWidth = 104.0; // room for the header to its right
constexpr double kBarcodeMaxHeight = 41.5; // 36 rows of three modules
constexpr double kCaptionLine = 3.2;

// Header to the right of the barcode: form, INN and page number in boxes, taxpayer.
constexpr double kHeaderLeft = 128.0;
constexpr double kBoxWidth = 4.6;
constexpr double kBoxHeight = 6.4;
constexpr double kHeaderRule = 55.0;

// Sheet title below the header.
constexpr double kTitleTop = 58.0;
constexpr double kTitleLine = 4.8;
constexpr int kTitleChars = 64;
constexpr double kTitleGap = 2.5;

// Lines of a sheet: label, line code and value columns.
constexpr double kLabelLeft = kLeft;
constexpr double kLabelWidth = 104.0;
constexpr double kCodeLeft = 124.0;
constexpr double kCodeWidth = 11.0;
constexpr double kValueLeft = 137.0;
constexpr double kValueWidth = kRight - kValueLeft;
constexpr double kValuePadding = 1.4;
constexpr int kLabelChars = 54;   // at 8.5 pt, checked against the real font by the tests
constexpr int kValueChars = 26;   // monospaced 10 pt: 2.12 mm a character
constexpr int kHeadingChars = 88; // bold 8.5 pt across the whole width
constexpr double kLabelLine = 3.6;
constexpr double kValueLine = 4.4;
constexpr double kHeadingLine = 4.2;
constexpr double kLinePadding = 2.0;
constexpr double kMinLineHeight = 6.0;
constexpr double kHeadingSpaceAbove = 1.6;

// The body ends above the signature line; the file's name is the last line.
constexpr double kBodyBottom = 271.0;
constexpr double kSignatureTop = 273.0;
constexpr double kFooterTop = 287.0;

} // namespace kv::print::geometry
