#include "shell/PrintJob.h"

#include "print/PrintModule.h"

namespace kv {

namespace {

print::PrintModule preparedModule(const Cp1251Text& inspectionName, const std::string& programFolder,
                                  const QString& outputName) {
    print::PrintModule module;
    module.setPrintTiffParam(print::kInspectionNameParam, inspectionName);
    module.PrintTiffFolder = programFolder;
    module.OutputName = outputName.toStdString();
    return module;
}

} // namespace

void ModulePrintJob::preview(const Cp1251Text& inspectionName, const std::string& programFolder,
                             std::string& xml, const QString& outputName, QWidget* parent) {
    print::PrintModule module = preparedModule(inspectionName, programFolder, outputName);
    module.previewData(xml, parent);
}

void ModulePrintJob::print(const Cp1251Text& inspectionName, const std::string& programFolder,
                           std::string& xml, const QString& outputName, QWidget* parent) {
    print::PrintModule module = preparedModule(inspectionName, programFolder, outputName);
    if (const std::optional<print::PrinterChoice> choice = print::askPrinter(parent, module.OutputName))
        print::printCopies(module, xml, *choice);
}

} // namespace kv
