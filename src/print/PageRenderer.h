#pragma once
// Drawing the laid-out pages with QPainter: on a PDF writer, a printer, the
// preview, or an image.
#include "print/ReturnLayout.h"

#include <QImage>

class QPagedPaintDevice;
class QPainter;

namespace kv::print {

// Draws every page, starting a new device page for each. The device's paper is
// taken as A4 from its top left corner (full page, no margins); other paper
// sizes get the A4 page scaled to fit. Returns false when painting could not begin.
bool renderLayout(const PrintLayout& layout, QPagedPaintDevice& device);

// Draws one page; pxPerMm maps the page's millimetres to the painter's device.
void renderPage(QPainter& painter, const PrintLayout& layout, const PrintPage& page, double pxPerMm);

// One page as a white 8-bit grey image at the given resolution.
QImage renderPageImage(const PrintLayout& layout, const PrintPage& page, int dpi);

// The fonts of the pages, for measuring: sheet titles, labels, values, headings.
QFont titleFont();
QFont labelFont();
QFont valueFont();
QFont headingFont();

} // namespace kv::print
