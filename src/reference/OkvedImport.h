#pragma once
// Building the economic activity directory (Sp_OKVED2.xml) from the classifier as
// Rosstat publishes it: a CSV file in Windows-1251 with CRLF lines, three quoted
// fields separated by ";" — section letter, code (blank on a section's own line),
// official name.
#include "reference/ImportGuard.h"
#include "reference/Okved.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A line that cannot become an entry: its 1-based number and why (Windows-1251).
struct OkvedLineFault {
    int line = 0;
    Cp1251Text reason;

    friend bool operator==(const OkvedLineFault&, const OkvedLineFault&) = default;
};

struct OkvedCsvResult {
    OkvedClassifier classifier; // the entries of the good lines, in file order
    std::vector<OkvedLineFault> faults;

    bool ok() const { return faults.empty() && !classifier.entries.empty(); }
};

// Larger files are not the classifier; they are refused unread.
inline constexpr std::size_t kMaxOkvedCsvBytes = 16u * 1024u * 1024u;

// Reads the CSV text. Levels come from the form of the code (section, class "01",
// subclass "01.1", group "01.11", subgroup "01.11.1", kind "01.11.11"); an entry's
// key is its section letter followed by its code, so a key begins with the keys
// above it. Every line whose entry would break that hierarchy is a fault.
// A text saved again as UTF-8 (with or without the byte-order mark) is accepted.
OkvedCsvResult readOkvedCsv(std::string_view bytes);

// The directory text: Windows-1251 XML, root Sp_OKVED2, one Record per entry with
// GRUP, Name, Kod and (for everything below a section) OKVED.
std::string okvedXml(const OkvedClassifier& classifier);

class OkvedImportError : public Cp1251Error {
public:
    OkvedImportError(const Cp1251Text& what, std::vector<OkvedLineFault> faults = {})
        : Cp1251Error(what), faults_(std::move(faults)) {}
    const std::vector<OkvedLineFault>& faults() const { return faults_; }

private:
    std::vector<OkvedLineFault> faults_;
};

// Reads the CSV file and replaces the directory at xmlPath with it. Nothing is written
// unless every line is good and the names read as Russian: the old directory stays as it
// was, and the error lists the bad lines. A classifier much smaller than the directory in
// use throws ClassifierShrinkError unless how allows it. Returns the classifier written.
OkvedClassifier importOkved(const std::string& csvPath, const std::string& xmlPath,
                            const ClassifierReplace& how = {});

// Texts of the import, Windows-1251.
Cp1251Text okvedImportTitle();          // "Импорт ОКВЭД"
Cp1251Text okvedImportSuccessMessage(); // how many entries, and where
Cp1251Text okvedImportFailureMessage(); // "Импортировать данные не удалось"
// One line per fault, "Строка N: reason", at most `limit` of them and a count of the rest.
Cp1251Text okvedFaultList(const std::vector<OkvedLineFault>& faults, std::size_t limit = 20);

} // namespace kv
