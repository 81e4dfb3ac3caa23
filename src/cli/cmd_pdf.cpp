// Lays out a return as the print command does and writes the pages, with their
// barcodes, to a PDF file: the whole-return check first, then the XML the export
// gives printing, then the print module. Runs without a display.
#include "checks/ScriptedCheckDialog.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "compute/Arithmetic.h"
#include "core/Storage.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "print/PrintModule.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>

namespace kv::cli {

namespace {

constexpr const char* kUsage = "pdf FILE.qv9 --out FILE.pdf [--date ДД.ММ.ГГГГ] [--guid GUID] [--no-check]";

// Fonts and the PDF writer need a Qt application; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QGuiApplication::instance() != nullptr)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kvilmar-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int cmdPdf(const Args& args) {
    // "--out" names the PDF file here, not a folder as for "export"; it and
    // "--no-check" are taken out before the options shared with "xml".
    Args rest;
    std::string out;
    bool check = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--no-check")
            check = false;
        else
            rest.push_back(args[i]);
    }
    auto options = parseExportOptions(rest, false, kUsage);
    if (!options)
        return 2;
    if (out.empty()) {
        return usageError(kUsage, "Не указан файл PDF (--out FILE.pdf)");
    }
    Declaration declaration(*options->clock);
    try {
        declaration.loadFromFile(options->document);
    } catch (const std::exception& e) {
        errStorage(e, options->document);
        return 2;
    }
    if (check) {
        if (const auto fault = firstReturnFault(declaration)) {
            out1251(returnFaultText(*fault));
            return 1;
        }
    }
    // A computation that fails is reported, and the file is still written from what the
    // sheets hold, as the program does; the status then says the return is not sound.
    bool computationFailed = false;
    const ExportServices services{*options->clock, *options->ids, [&computationFailed](const Cp1251Text& m) {
                                      computationFailed =
                                          computationFailed || m == ComputationError::userMessage();
                                      err1251(m);
                                  }};
    const std::string xml = exportReturn(std::string(), declaration, kExportToText, services);
    if (xml == kExportFailed)
        return 2;

    // A device or a FIFO named as the PDF file is refused, not replaced by a file.
    try {
        requireRegularFileOrNew(out);
    } catch (const StorageError& e) {
        errStorage(e, out);
        return 2;
    }
    const auto app = guiApplication();
    print::PrintModule module;
    module.setPrintTiffParam(print::kInspectionNameParam, declaration.inspectionName);
    try {
        module.printToPdf(xml, out);
    } catch (const print::PrintError& e) {
        err1251(e.message());
        return 2;
    }
    std::cout << out << '\n';
    return computationFailed ? 1 : 0;
}

} // namespace kv::cli
