// The drawn pages: every page's barcode, read from an image of the page, joins
// into the exported XML byte for byte; the texts fit their columns.
#include "PrintTestSupport.h"
#include "print/BarcodeChunks.h"
#include "print/FormTables.h"
#include "print/PageGeometry.h"
#include "print/PageRenderer.h"
#include "print/PrintModule.h"
#include "print/TextWrap.h"

#include <QDir>
#include <QFontMetricsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kv::print {
namespace {

TEST(PageImages, ASmallReturnReadsBackFromItsPages) {
    const std::string xml = test::exampleXml("typical");
    const PrintLayout layout = layoutReturn(xml);
    for (int dpi : {150, 200})
        EXPECT_EQ(test::xmlFromPages(layout, dpi), xml) << dpi << " dpi";
}

TEST(PageImages, ALargeReturnReadsBackFromItsPagesIncludingBarcodeOnlyOnes) {
    const std::string xml = test::generatedReturn(15, 45000);
    const PrintLayout layout = layoutReturn(xml);
    ASSERT_TRUE(layout.pages.back().barcodeOnly);
    ASSERT_GT(layout.pages.size(), 20u);
    EXPECT_EQ(test::xmlFromPages(layout, 150), xml);
}

// The path a reader of the PDF takes: the file rasterised by poppler, then read.
TEST(PageImages, APdfFileRasterisedByPopplerReadsBack) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string xml = test::exampleXml("all-records");
    PrintModule module;
    module.printToPdf(xml, dir.filePath(QStringLiteral("return.pdf")).toStdString());
    QProcess raster;
    raster.start(pdftoppm,
                 {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-gray"),
                  dir.filePath(QStringLiteral("return.pdf")), dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(raster.waitForFinished(-1));
    ASSERT_EQ(raster.exitCode(), 0);
    const QStringList pages =
        QDir(dir.path()).entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name);
    ASSERT_EQ(static_cast<std::size_t>(pages.size()), layoutReturn(xml).pages.size());
    std::vector<std::string> chunks;
    for (const QString& page : pages) {
        const auto found = test::readBarcodes(QImage(dir.filePath(page)));
        ASSERT_EQ(found.size(), 1u) << page.toStdString();
        chunks.push_back(found.front());
    }
    EXPECT_EQ(joinChunks(chunks), xml);
}

// Width in millimetres of a line in the font as printed.
double widthMm(const QFont& font, const std::string& utf8) {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(47244); // 1200 dpi, where hinting no longer widens text
    device.setDotsPerMeterY(47244);
    return QFontMetricsF(font, &device).horizontalAdvance(QString::fromStdString(utf8)) / (1200 / 25.4);
}

// The layout wraps by counting characters; every label, heading and value line
// it makes must fit its column in the real fonts, or the page would squeeze it.
TEST(PageImages, WrappedTextsFitTheirColumnsInThePrintedFonts) {
    std::vector<const forms::ElementForm*> tables{&forms::titlePage()};
    for (const forms::ElementForm& f : forms::elementForms())
        tables.push_back(&f);
    for (const forms::ElementForm* table : tables) {
        for (const forms::Row& row : table->rows) {
            const bool heading = row.path.starts_with('#');
            const std::string text(heading ? row.path.substr(1) : row.label);
            for (const std::string& line :
                 wrapText(text, heading ? geometry::kHeadingChars : geometry::kLabelChars))
                EXPECT_LE(widthMm(heading ? headingFont() : labelFont(), line),
                          heading ? geometry::kContentWidth : geometry::kLabelWidth)
                    << line;
        }
        for (const std::string& line : wrapText(std::string(table->block) + " № 99", geometry::kHeadingChars))
            EXPECT_LE(widthMm(headingFont(), line), geometry::kContentWidth) << line;
    }
    for (const forms::SheetForm& sheet : forms::sheetForms())
        for (const std::string& line :
             wrapText(std::string(sheet.title) + " (продолжение)", geometry::kTitleChars))
            EXPECT_LE(widthMm(titleFont(), line), geometry::kContentWidth) << line;
    EXPECT_LE(widthMm(valueFont(), std::string(geometry::kValueChars, 'W')),
              geometry::kValueWidth - 2 * geometry::kValuePadding);
}

} // namespace
} // namespace kv::print
