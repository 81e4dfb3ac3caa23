#pragma once
// The program's print module: it takes the return as the XML text of the export,
// lays out its sheets on A4 pages with a PDF417 barcode on each (the barcodes
// joined give the XML back), and shows them in a preview window, prints them, or
// writes them to a PDF file.
//
// The main window uses it in the order of its commands:
//
//   kv::print::PrintModule module;
//   module.setPrintTiffParam(kv::print::kInspectionNameParam, document.inspectionName);
//   module.PrintTiffFolder = programFolder;
//   std::string xml = exportReturn(programFolder, document, kExportToText, services);
//   // "Просмотр":
//   module.previewData(xml, static_cast<std::intptr_t>(winId()));      // or previewData(xml, this)
//   // "Печать":
//   if (auto choice = kv::print::askPrinter(this))
//       kv::print::printCopies(module, xml, *choice);                   // printData once per copy
//
// Every call that fails throws PrintError, whose message is for the user.
#include "core/Text.h"
#include "print/ReturnLayout.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

class QSize;
class QWidget;

namespace kv::print {

// A failure of preview, printing or writing the PDF. The message is Windows-1251
// text, like every message of the program.
class PrintError : public Cp1251Error {
public:
    using Cp1251Error::Cp1251Error;
};

// "Наименование налогового органа-получателя" in Windows-1251: the parameter
// whose value (the tax office's name) the title page shows.
extern const Cp1251Text kInspectionNameParam;

class PrintModule {
public:
    // Keeps a parameter for the pages. Texts are Windows-1251, as the program holds
    // them; names the module does not know are kept and not used.
    void setPrintTiffParam(const Cp1251Text& name, const Cp1251Text& value);

    // The program's folder, with its final separator. The module writes no files of
    // its own there; it is kept because the program sets it before every job.
    std::string PrintTiffFolder;

    // The name (UTF-8, without ".pdf") a print to a file proposes, from the preview
    // window too; empty: the return's form and the taxpayer's INN.
    std::string OutputName;

    // Shows the pages in the preview window, modal over the window whose native
    // handle is given (0: no owner). The window can print them too.
    void previewData(std::string& xml, std::intptr_t parentWindow);
    void previewData(std::string& xml, QWidget* parent);

    // Prints one copy of the pages on the named printer (its name as the print
    // dialog gives it, UTF-8). The second text and the flags are not used.
    void printData(std::string& xml, const std::string& reserved, std::string& printerName, int flags);

    // The same pages into a PDF file (path in UTF-8); the file appears only when complete.
    void printToPdf(const std::string& xml, const std::string& pdfPath);

    // The pages the calls above print, for the given XML.
    PrintLayout layout(const std::string& xml) const;

private:
    Cp1251Text inspectionName_;
};

// What the user chose in the print dialog.
struct PrinterChoice {
    std::string printerName; // UTF-8
    int copies = 1;
    std::string pdfFile; // UTF-8; not empty when the dialog's choice is a PDF file
};

// The print dialog for the whole return; nullopt when the user cancels it. A print to
// a file proposes outputName (UTF-8, without ".pdf") when it is given.
std::optional<PrinterChoice> askPrinter(QWidget* parent, const std::string& outputName = {});

// The preview window's size on a screen with this free area: as large as fits, with
// room around it, never larger than a page needs.
QSize previewSize(const QSize& available);

// Prints the return as chosen: printData once per copy, or one PDF file (copies
// in one file would only repeat the pages).
void printCopies(PrintModule& module, std::string& xml, const PrinterChoice& choice);

} // namespace kv::print
