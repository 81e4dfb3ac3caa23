#include "print/PageRenderer.h"

#include "print/PageGeometry.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace kv::print {

namespace g = geometry;

namespace {

QFont font(const char* family, double points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setStyleHint(QString::fromLatin1(family).contains(QLatin1String("Mono")) ? QFont::Monospace
                                                                               : QFont::SansSerif);
    return f;
}

QString qs(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Millimetres to device pixels, and fonts at their true size on any device.
class Canvas {
public:
    Canvas(QPainter& p, double pxPerMm) : p_(p), k_(pxPerMm) {
        const double dpi = p.device() != nullptr ? p.device()->logicalDpiY() : 72.0;
        fontScale_ = pxPerMm / (dpi / 25.4);
    }

    QRectF rect(double x, double y, double w, double h) const {
        return QRectF(x * k_, y * k_, w * k_, h * k_);
    }

    void setFont(QFont f) {
        f.setPointSizeF(f.pointSizeF() * fontScale_);
        p_.setFont(f);
    }

    // One line of text in a box; a line wider than the box is narrowed to fit
    // rather than cut off.
    void text(double x, double y, double w, double h, const QString& s, int align) {
        const QRectF r = rect(x, y, w, h);
        const double width = QFontMetricsF(p_.font(), p_.device()).horizontalAdvance(s);
        if (width > r.width() && width > 0) {
            const QFont saved = p_.font();
            QFont narrow = saved;
            narrow.setStretch(std::max(1, static_cast<int>(100.0 * r.width() / width)));
            p_.setFont(narrow);
            p_.drawText(r, align | Qt::TextDontClip, s);
            p_.setFont(saved);
            return;
        }
        p_.drawText(r, align | Qt::TextDontClip, s);
    }

    void box(double x, double y, double w, double h, const QColor& colour, double penMm = 0.2) {
        p_.setPen(QPen(colour, penMm * k_));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(rect(x, y, w, h));
    }

    void hline(double x1, double x2, double y, const QColor& colour, double penMm = 0.15) {
        p_.setPen(QPen(colour, penMm * k_));
        p_.drawLine(QPointF(x1 * k_, y * k_), QPointF(x2 * k_, y * k_));
    }

    // Characters in a row of boxes, as the form's fields are filled in.
    void boxes(double x, double y, const QString& chars, int count) {
        for (int i = 0; i < count; ++i) {
            const double bx = x + i * g::kBoxWidth;
            box(bx, y, g::kBoxWidth, g::kBoxHeight, Qt::black, 0.25);
            p_.setPen(Qt::black);
            const QString c = i < chars.size() ? QString(chars[i]) : QStringLiteral("-");
            text(bx, y, g::kBoxWidth, g::kBoxHeight, c, Qt::AlignCenter);
        }
    }

    QPainter& painter() { return p_; }
    double k() const { return k_; }

private:
    QPainter& p_;
    double k_;
    double fontScale_ = 1.0;
};

void drawHeader(Canvas& c, const PrintLayout& layout, const PrintPage& page) {
    c.painter().setPen(Qt::black);
    const double x = g::kHeaderLeft;
    const double width = g::kRight - x;
    c.setFont(font("DejaVu Sans", 7.5));
    c.text(x, g::kBarcodeTop, width, 3.5, QStringLiteral("Форма ") + qs(layout.formName),
           Qt::AlignLeft | Qt::AlignVCenter);
    if (!layout.knd.empty())
        c.text(x, g::kBarcodeTop, width, 3.5, QStringLiteral("Форма по КНД ") + qs(layout.knd),
               Qt::AlignRight | Qt::AlignVCenter);

    const double innTop = g::kBarcodeTop + 6;
    const double innBoxes = g::kRight - 12 * g::kBoxWidth;
    c.setFont(font("DejaVu Sans", 9, true));
    c.text(x, innTop, innBoxes - x - 1, g::kBoxHeight, QStringLiteral("ИНН"),
           Qt::AlignLeft | Qt::AlignVCenter);
    c.setFont(font("DejaVu Sans Mono", 11, true));
    c.boxes(innBoxes, innTop, qs(layout.inn), 12);

    const double pageTop = innTop + g::kBoxHeight + 3;
    const double pageBoxes = g::kRight - 3 * g::kBoxWidth;
    c.setFont(font("DejaVu Sans", 9, true));
    c.text(x, pageTop, pageBoxes - x - 2, g::kBoxHeight, QStringLiteral("Стр."),
           Qt::AlignRight | Qt::AlignVCenter);
    c.setFont(font("DejaVu Sans Mono", 11, true));
    c.boxes(pageBoxes, pageTop, QStringLiteral("%1").arg(page.number, 3, 10, QLatin1Char('0')), 3);

    const double nameTop = pageTop + g::kBoxHeight + 4;
    c.setFont(font("DejaVu Sans", 7.5));
    c.text(x, nameTop, width, 3.5, QStringLiteral("Фамилия и инициалы налогоплательщика"),
           Qt::AlignLeft | Qt::AlignVCenter);
    c.setFont(font("DejaVu Sans", 9, true));
    c.text(x, nameTop + 4, width, 4.5, qs(layout.shortName), Qt::AlignLeft | Qt::AlignVCenter);

    c.hline(g::kLeft, g::kRight, g::kHeaderRule, Qt::black, 0.3);
}

double drawTitle(Canvas& c, const PrintPage& page) {
    c.painter().setPen(Qt::black);
    c.setFont(titleFont());
    double y = g::kTitleTop;
    for (const std::string& line : page.title) {
        c.text(g::kLeft, y, g::kContentWidth, g::kTitleLine, qs(line), Qt::AlignHCenter | Qt::AlignVCenter);
        y += g::kTitleLine;
    }
    return y + g::kTitleGap;
}

void drawLines(Canvas& c, const PrintPage& page, double y) {
    const QColor rule(170, 170, 170);
    for (const PrintLine& line : page.lines) {
        c.painter().setPen(Qt::black);
        if (line.kind == PrintLine::Kind::Heading) {
            c.setFont(headingFont());
            double ly = y + g::kHeadingSpaceAbove;
            for (const std::string& s : line.label) {
                c.text(g::kLeft, ly, g::kContentWidth, g::kHeadingLine, qs(s),
                       Qt::AlignLeft | Qt::AlignVCenter);
                ly += g::kHeadingLine;
            }
            y += line.height;
            continue;
        }
        const double inner = line.height - g::kLinePadding;
        const double top = y + g::kLinePadding / 2;
        // Label lines from the top; a single short line sits in the middle of the row.
        const double labelBlock = static_cast<double>(line.label.size()) * g::kLabelLine;
        double ly =
            top + std::max(0.0, (std::min(inner, g::kValueLine * static_cast<double>(line.value.size())) -
                                 labelBlock) /
                                    2);
        c.setFont(labelFont());
        for (const std::string& s : line.label) {
            c.text(g::kLabelLeft, ly, g::kLabelWidth, g::kLabelLine, qs(s), Qt::AlignLeft | Qt::AlignVCenter);
            ly += g::kLabelLine;
        }
        double vy = top + std::max(0.0, (inner - g::kValueLine * static_cast<double>(line.value.size())) / 2);
        if (!line.code.empty()) {
            c.setFont(font("DejaVu Sans Mono", 9, true));
            c.text(g::kCodeLeft, vy, g::kCodeWidth, g::kValueLine, qs(line.code), Qt::AlignCenter);
        }
        c.box(g::kValueLeft, y + 0.5, g::kValueWidth, line.height - 1.0, QColor(90, 90, 90), 0.2);
        c.painter().setPen(Qt::black);
        c.setFont(valueFont());
        for (const std::string& s : line.value) {
            c.text(g::kValueLeft + g::kValuePadding, vy, g::kValueWidth - 2 * g::kValuePadding, g::kValueLine,
                   qs(s), Qt::AlignLeft | Qt::AlignVCenter);
            vy += g::kValueLine;
        }
        c.hline(g::kLeft, g::kCodeLeft + g::kCodeWidth, y + line.height, rule, 0.1);
        y += line.height;
    }
}

void drawBarcodeOnlyNote(Canvas& c, double y) {
    c.painter().setPen(Qt::black);
    c.setFont(labelFont());
    const char* lines[] = {
        "Эта страница содержит только двумерный штрих-код с данными декларации:",
        "данные не поместились в штрих-коды страниц с листами декларации.",
        "Страницу нужно представить вместе с остальными страницами декларации.",
    };
    for (const char* s : lines) {
        c.text(g::kLeft, y, g::kContentWidth, g::kLabelLine + 1, QString::fromUtf8(s),
               Qt::AlignLeft | Qt::AlignVCenter);
        y += g::kLabelLine + 1;
    }
}

void drawSignature(Canvas& c) {
    c.painter().setPen(Qt::black);
    c.setFont(font("DejaVu Sans", 8));
    c.text(g::kLeft, g::kSignatureTop, g::kContentWidth, 4,
           QStringLiteral("Достоверность и полноту сведений, указанных на данной странице, подтверждаю:"),
           Qt::AlignLeft | Qt::AlignVCenter);
    const double y = g::kSignatureTop + 7.5;
    c.hline(g::kLeft + 40, g::kLeft + 85, y, Qt::black, 0.2);
    c.hline(g::kLeft + 110, g::kLeft + 145, y, Qt::black, 0.2);
    c.setFont(font("DejaVu Sans", 6.5));
    c.text(g::kLeft + 40, y + 0.3, 45, 3, QStringLiteral("(подпись)"), Qt::AlignHCenter | Qt::AlignTop);
    c.text(g::kLeft + 110, y + 0.3, 35, 3, QStringLiteral("(дата)"), Qt::AlignHCenter | Qt::AlignTop);
}

void drawBarcode(Canvas& c, const PrintLayout& layout, const PrintPage& page) {
    const BarcodeSymbol& s = page.barcode;
    const std::vector<std::string> caption = barcodeCaption(layout, page);
    if (!s.bars.empty()) {
        const double x0 = g::kLeft;
        const double y0 = g::kBarcodeTop;
        QPainter& p = c.painter();
        p.save();
        // Crisp module edges: no smoothing, bars filled without outline.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (const BarcodeSymbol::Bar& b : s.bars)
            p.drawRect(c.rect(x0 + b.x * g::kModule, y0 + b.y * g::kModule, b.width * g::kModule,
                              b.height * g::kModule));
        p.restore();
        p.setPen(Qt::black);
        c.setFont(font("DejaVu Sans", 6.5));
        if (!caption.empty())
            c.text(x0, y0 + s.height * g::kModule + 1, g::kBarcodeMaxWidth, g::kCaptionLine,
                   qs(caption.front()), Qt::AlignLeft | Qt::AlignVCenter);
    }
    c.painter().setPen(Qt::black);
    c.setFont(font("DejaVu Sans", 6.5));
    if (caption.size() > 1)
        c.text(g::kLeft, g::kFooterTop, g::kContentWidth, g::kCaptionLine, qs(caption[1]),
               Qt::AlignHCenter | Qt::AlignVCenter);
}

} // namespace

QFont titleFont() {
    return font("DejaVu Sans", 10.5, true);
}
QFont labelFont() {
    return font("DejaVu Sans", 8.5);
}
QFont valueFont() {
    return font("DejaVu Sans Mono", 10);
}
QFont headingFont() {
    return font("DejaVu Sans", 8.5, true);
}

void renderPage(QPainter& painter, const PrintLayout& layout, const PrintPage& page, double pxPerMm) {
    Canvas c(painter, pxPerMm);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawHeader(c, layout, page);
    const double y = drawTitle(c, page);
    if (page.barcodeOnly)
        drawBarcodeOnlyNote(c, y);
    else {
        drawLines(c, page, y);
        drawSignature(c);
    }
    drawBarcode(c, layout, page);
    painter.restore();
}

bool renderLayout(const PrintLayout& layout, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double pxPerMm = std::min(device.width() / g::kPageWidth, device.height() / g::kPageHeight);
    bool first = true;
    for (const PrintPage& page : layout.pages) {
        if (!first && !device.newPage()) {
            painter.end();
            return false;
        }
        first = false;
        renderPage(painter, layout, page, pxPerMm);
    }
    return painter.end();
}

QImage renderPageImage(const PrintLayout& layout, const PrintPage& page, int dpi) {
    const double pxPerMm = dpi / 25.4;
    QImage image(static_cast<int>(g::kPageWidth * pxPerMm + 0.5),
                 static_cast<int>(g::kPageHeight * pxPerMm + 0.5), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderPage(painter, layout, page, pxPerMm);
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace kv::print
