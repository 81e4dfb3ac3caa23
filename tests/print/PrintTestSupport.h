#pragma once
// Returns to print: the example documents exported as printing receives them,
// and returns generated in the tests; reading the barcodes back from page images.
#include "print/ReturnLayout.h"

#include <QImage>

#include <string>
#include <vector>

namespace kv::test {

// The XML bytes of examples/<name>.qv9, exported on 02.03.2020 with a fixed GUID.
std::string exampleXml(const std::string& name);

// UTF-8 text to the Windows-1251 bytes of an exported file.
std::string cp(const std::string& utf8);

// A resident's return with the given number of payers at 13% (names, INNs and
// amounts differ from payer to payer) and a birthplace of `noiseChars` characters
// that do not compress, so that the barcodes need more room than the sheets give.
std::string generatedReturn(int payers, int noiseChars, unsigned seed = 7);

// The contents of every PDF417 symbol found in the image.
std::vector<std::string> readBarcodes(const QImage& image);

// Draws every page at the resolution, reads its one barcode and joins them all.
// Fails the test when a page does not give exactly one barcode.
std::string xmlFromPages(const print::PrintLayout& layout, int dpi);

} // namespace kv::test
