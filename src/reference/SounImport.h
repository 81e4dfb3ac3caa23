#pragma once
// Rebuilding the tax-office directory from the tax service's classifier of tax offices
// (the dBASE table soun1.dbf).
#include "core/Date.h"
#include "reference/Directories.h"
#include "reference/ImportGuard.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

class SounImportError : public Cp1251Error {
public:
    using Cp1251Error::Cp1251Error;
};

// Fixed layout of a classifier record, in bytes.
inline constexpr std::size_t kSounRecordLength = 1194;
inline constexpr std::size_t kSounHeaderLength = 32;

// The offices to which a return can be addressed, in file order: code and name
// (Windows-1251). Throws SounImportError when the file cannot be opened or is no
// regular file, its header is short or does not describe the classifier's records,
// a record is cut short, or no office is taken.
CodeNameRows readSounOffices(const std::string& dbfPath);
// The same from the table's bytes; name only goes into the messages.
CodeNameRows readSounTable(std::string_view bytes, const std::string& name);
// The classifier holds a few thousand records; a larger file is not it and is refused unread.
inline constexpr std::size_t kMaxSounBytes = 64u * 1024u * 1024u;

// The directory text written for the offices: Windows-1251 XML with the root
// Inspections carrying Version and Date.
std::string inspectionsXml(const CodeNameRows& offices, DateValue date, const Cp1251Text& version);

// Reads the classifier and writes the tax-office directory. The new file replaces the
// old one only once it is complete, so a failure leaves the old directory as it was.
// Returns true when the file was written; errors propagate as SounImportError.
// A table with far fewer offices than the directory in use throws ClassifierShrinkError
// unless how allows it.
bool importSoun(const std::string& dbfPath, const std::string& xmlPath, DateValue date,
                const Cp1251Text& version, const ClassifierReplace& how = {});

// Dialog and tool texts, Windows-1251.
Cp1251Text sounSuccessMessage(); // "Данные успешно импортированы. Не забудьте перезапустить программу."
Cp1251Text sounFailureMessage(); // "Импортировать данные не удалось"
Cp1251Text sounEmptyPathMessage(); // "Укажите путь к файлу soun1.dbf"

} // namespace kv
