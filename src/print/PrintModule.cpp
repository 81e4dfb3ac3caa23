#include "print/PrintModule.h"

#include "core/Text.h"
#include "print/PageRenderer.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

namespace kv::print {

const Cp1251Text kInspectionNameParam = Cp1251Text::fromUtf8("Наименование налогового органа-получателя");

namespace {

QString qs(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

[[noreturn]] void fail(const std::string& utf8) {
    throw PrintError(Cp1251Text::fromUtf8(utf8));
}

// The pages are drawn on the whole A4 sheet from its corner; the printer's own
// margins fall inside the page's wide margins.
void useWholeA4(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

QString documentName(const PrintLayout& layout) {
    return QStringLiteral("Декларация ") + qs(layout.formName) +
           (layout.inn.empty() ? QString() : QStringLiteral(" ИНН ") + qs(layout.inn));
}

} // namespace

void PrintModule::setPrintTiffParam(const Cp1251Text& name, const Cp1251Text& value) {
    if (name == kInspectionNameParam)
        inspectionName_ = value;
}

PrintLayout PrintModule::layout(const std::string& xml) const {
    LayoutOptions options;
    options.inspectionName = trimText(inspectionName_).utf8();
    try {
        return layoutReturn(xml, options);
    } catch (const std::exception& e) {
        fail(std::string("Декларацию не удалось подготовить к печати: ") + e.what());
    }
}

void PrintModule::previewData(std::string& xml, std::intptr_t parentWindow) {
    previewData(xml, parentWindow != 0 ? QWidget::find(static_cast<WId>(parentWindow)) : nullptr);
}

QSize previewSize(const QSize& available) {
    // A page and the preview's toolbar at a readable scale; smaller screens get 9/10 of their area.
    constexpr QSize kLargest(900, 1000);
    return kLargest.boundedTo(available * 9 / 10);
}

void PrintModule::previewData(std::string& xml, QWidget* parent) {
    const PrintLayout pages = layout(xml);
    QPrinter printer(QPrinter::HighResolution);
    useWholeA4(printer);
    printer.setDocName(OutputName.empty() ? documentName(pages) : qs(OutputName));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    // The window is the program's own: its title says what it shows.
    dialog.setWindowTitle(QStringLiteral("Просмотр декларации"));
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        dialog.resize(previewSize(area.size()));
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&pages](QPrinter* target) { renderLayout(pages, *target); });
    dialog.exec();
}

void PrintModule::printData(std::string& xml, const std::string& /*reserved*/, std::string& printerName,
                            int /*flags*/) {
    const PrintLayout pages = layout(xml);
    const QString name = qs(printerName);
    const QPrinterInfo info =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull())
        fail(name.isEmpty() ? std::string("Не выбран принтер для печати декларации")
                            : "Принтер «" + printerName + "» не найден");
    QPrinter printer(info, QPrinter::HighResolution);
    useWholeA4(printer);
    printer.setCopyCount(1);
    printer.setDocName(documentName(pages));
    if (!renderLayout(pages, printer))
        fail("Не удалось напечатать декларацию на принтере «" + info.printerName().toStdString() + "»");
}

void PrintModule::printToPdf(const std::string& xml, const std::string& pdfPath) {
    const PrintLayout pages = layout(xml);
    QSaveFile file(qs(pdfPath));
    if (!file.open(QIODevice::WriteOnly))
        fail("Не удалось создать файл " + pdfPath + ": " + file.errorString().toStdString());
    bool drawn = false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(1200);
        writer.setTitle(documentName(pages));
        writer.setCreator(QStringLiteral("Квилмар 2019"));
        drawn = renderLayout(pages, writer);
    }
    if (!drawn || !file.commit())
        fail("Не удалось записать файл " + pdfPath + ": " + file.errorString().toStdString());
}

std::optional<PrinterChoice> askPrinter(QWidget* parent, const std::string& outputName) {
    QPrinter printer(QPrinter::HighResolution);
    useWholeA4(printer);
    // The print dialog proposes its file as the document's name with ".pdf".
    if (!outputName.empty())
        printer.setDocName(qs(outputName));
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setWindowTitle(QStringLiteral("Печать декларации"));
    // The whole return is printed; there is no selection or page range to offer.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrinterChoice choice;
    choice.printerName = printer.printerName().toStdString();
    choice.copies = std::max(1, printer.copyCount());
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.pdfFile = printer.outputFileName().toStdString();
    return choice;
}

void printCopies(PrintModule& module, std::string& xml, const PrinterChoice& choice) {
    if (!choice.pdfFile.empty()) {
        module.printToPdf(xml, choice.pdfFile);
        return;
    }
    std::string printer = choice.printerName;
    for (int copy = 0; copy < choice.copies; ++copy)
        module.printData(xml, std::string(), printer, 0);
}

} // namespace kv::print
