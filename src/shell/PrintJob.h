#pragma once
// Preview and printing as the main window drives the print module: the module's
// parameters, then the return's XML text to show or print. Tests put a recorder in
// its place, since the module's own windows are modal.
#include "core/Text.h"
#include <QString>
#include <string>

class QWidget;

namespace kv {

class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Both take the tax office's name and the program's folder (Windows-1251 and
    // the file system's bytes), the XML text and the name a print to a file proposes
    // (without ".pdf"); failures throw print::PrintError.
    virtual void preview(const Cp1251Text& inspectionName, const std::string& programFolder, std::string& xml,
                         const QString& outputName, QWidget* parent) = 0;
    // Asks for the printer and the copies, then prints each copy; a cancelled print dialog prints nothing.
    virtual void print(const Cp1251Text& inspectionName, const std::string& programFolder, std::string& xml,
                       const QString& outputName, QWidget* parent) = 0;
};

// The program's print module.
class ModulePrintJob : public PrintJob {
public:
    void preview(const Cp1251Text& inspectionName, const std::string& programFolder, std::string& xml,
                 const QString& outputName, QWidget* parent) override;
    void print(const Cp1251Text& inspectionName, const std::string& programFolder, std::string& xml,
               const QString& outputName, QWidget* parent) override;
};

} // namespace kv
