#include "shell/PrintJob.h"

#include "print/PrintModule.h"

namespace kv {

namespace {

print::PrintModule preparedModule(const std::string& inspectionName, const std::string& programFolder) {
    print::PrintModule module;
    module.SetPrintTiffParam(print::kInspectionNameParam, inspectionName);
    module.PrintTiffFolder = programFolder;
    return module;
}

} // namespace

void ModulePrintJob::preview(const std::string& inspectionName, const std::string& programFolder,
                             std::string& xml, QWidget* parent) {
    print::PrintModule module = preparedModule(inspectionName, programFolder);
    module.PreviewData(xml, parent);
}

void ModulePrintJob::print(const std::string& inspectionName, const std::string& programFolder,
                           std::string& xml, QWidget* parent) {
    print::PrintModule module = preparedModule(inspectionName, programFolder);
    if (const std::optional<print::PrinterChoice> choice = print::askPrinter(parent))
        print::printCopies(module, xml, *choice);
}

} // namespace kv
