#pragma once
// Writes the open return in the tax service's XML format: 3-NDFL (format 5.14) for
// declaration kinds 0, 1 and 3, 4-NDFL (format 5.03) for kind 2.
#include "core/Date.h"
#include "export/FileIdentity.h"
#include "export/XmlTree.h"

#include <functional>
#include <string>

namespace kv {

class Declaration;
class ReturnComputation;

// Modes of exportReturn.
constexpr int kExportToFile = 1;
constexpr int kExportToText = 2; // the print module's mode; any value but 1 acts so

// The result that reports a failed export.
inline const std::string kExportFailed = "ERROR";
// The result of a file export that the form's schema refused: nothing was written and
// the message naming what to correct has been shown.
inline const std::string kExportRefused = "INVALID";

// What an export needs from outside: today's date and new GUIDs, which tests and
// reproducible exports fix, and where the export's own messages go (Windows-1251 text).
struct ExportServices {
    const Clock& clock;
    const IdSource& ids;
    std::function<void(const Cp1251Text&)> showMessage;
};

// A built return before it is saved.
struct ExportedReturn {
    std::string identifier; // the value of "ИдФайл", also the file name without ".xml"
    xml::Document tree;
};

// Builds the XML tree from a computation that has already run over the document.
ExportedReturn buildReturnXml(const Declaration& document, const ReturnComputation& sum, DateValue today,
                              const std::string& guid);

// Runs a fresh computation over the document (which it updates as every run does)
// and writes the return. Mode 1: checks the file against the schema of its form,
// saves folder + identifier + ".xml" and returns identifier + ".xml"; the file appears
// under its name only once it is complete. A file the schema refuses is not written:
// the export shows what to correct and returns kExportRefused.
// Any other mode: returns the bytes such a file would hold. A folder or disk that
// refuses the file shows nothing and still returns the name: the caller, which
// looks for the file, tells the person the folder cannot be written. Any other
// failure shows its message and returns "ERROR". A failing computation shows its
// own message and the export goes on with what the sheets hold.
std::string exportReturn(const std::string& folder, Declaration& document, int mode,
                         const ExportServices& services);
// The same with today's date, random GUIDs and the messages on standard error.
std::string exportReturn(const std::string& folder, Declaration& document, int mode);

// Empty when the bytes of an export of the document keep to the schema of its form;
// otherwise the message that names what to correct (Windows-1251).
Cp1251Text exportSchemaFault(const Declaration& document, const std::string& bytes);

// "Ошибка в выгрузке. Пожалуйста, свяжитесь с разработчиками через службу поддержки"
const Cp1251Text& exportFailedMessage();

} // namespace kv
