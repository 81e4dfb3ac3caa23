#pragma once
// The directory files that lie beside the program and can be replaced without
// rebuilding it: tax offices, countries, the economic activity classifier and the
// official currency rates. Every one is optional; a missing or unreadable file only
// makes its picker unavailable, except an unreadable tax-office file, which ends the
// program with a message (the offices are needed for every return).
#include "core/Date.h"
#include "core/Text.h"
#include "reference/Okved.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr const char* kInspectionsFile = "InspectionNumbers.xml";
inline constexpr const char* kCountriesFile = "Oksm.xml";
inline constexpr const char* kOkvedFile = "Sp_OKVED2.xml";
inline constexpr const char* kCurrencyRatesFile = "CurrencyRates.xml";

// One row of a code-and-name picker (tax offices, countries, currencies, document kinds).
struct CodeName {
    Cp1251Text code;
    Cp1251Text name;
};
using CodeNameRows = std::vector<CodeName>;

enum class DirectoryState { Missing, Loaded, Unreadable };

// Rows from a directory's text: one per child element of the root, in order, with its
// Code attribute and its text (tax offices, countries).
std::optional<CodeNameRows> codeNameRowsFromXml(std::string_view xml);
struct CodeNameFile {
    DirectoryState state = DirectoryState::Missing;
    CodeNameRows rows;
};
CodeNameFile loadCodeNameFile(const std::filesystem::path& path);

// --- Currency rates -------------------------------------------------------------

struct CurrencyRate {
    Cp1251Text date;     // "dd.mm.yyyy"
    Cp1251Text rate;     // roubles per Quantity units, comma as decimal separator, as written
    Cp1251Text quantity; // as written
};

struct Currency {
    Cp1251Text code;
    Cp1251Text name;
    std::vector<CurrencyRate> rates; // in document order
};

struct CurrencyRates {
    std::vector<Currency> currencies; // in document order

    static std::optional<CurrencyRates> fromXml(std::string_view xml);
    // The currency picker's rows: Code and Name of each currency.
    CodeNameRows codeNames() const;
    // The first currency with this code, or nullptr.
    const Currency* find(const Cp1251Text& code) const;
    Currency* find(const Cp1251Text& code);
};

struct CurrencyRatesFile {
    DirectoryState state = DirectoryState::Missing;
    std::optional<CurrencyRates> rates; // set only when Loaded
};
CurrencyRatesFile loadCurrencyRatesFile(const std::filesystem::path& path);

// The rate of the first currency with this code on the date: the rate published for
// exactly that day if listed, else the last rate in document order dated before it.
// No rate document (nullptr), no such currency or no such rate: nullopt.
std::optional<CurrencyRate> findCurrencyRate(const CurrencyRates* rates, const Cp1251Text& code,
                                             DateValue date);

// --- Start-up loading ----------------------------------------------------------

struct Directories {
    DirectoryState inspectionsState = DirectoryState::Missing;
    DirectoryState countriesState = DirectoryState::Missing;
    DirectoryState okvedState = DirectoryState::Missing;
    DirectoryState currencyRatesState = DirectoryState::Missing;

    std::optional<CodeNameRows> inspections; // the tax-office picker, when available
    std::optional<CodeNameRows> countries;   // the country picker, when available
    std::optional<OkvedClassifier> okved;
    std::optional<CurrencyRates> currencyRates;

    // The tax-office file exists but cannot be read: show taxOfficeFileFatalMessage()
    // and end the program.
    bool fatal() const { return inspectionsState == DirectoryState::Unreadable; }
};

// The folders the directory files are looked for in, in order: the user's own copies
// (written by the imports) first, then the ones shipped with the program. Each file is
// taken from the first folder that holds it, so a user's copy replaces the shipped one.
using DataFolders = std::vector<std::filesystem::path>;
// The file in the first folder that holds it as a regular file (a folder of that name does
// not count); an empty path when no folder does.
std::filesystem::path findDataFile(const DataFolders& folders, std::string_view name);

Directories loadDirectories(const DataFolders& folders);
Directories loadDirectories(const std::filesystem::path& folder);

// The folder of the running executable, where a build tree keeps its directory files.
std::filesystem::path programFolder();

// Windows-1251 texts.
Cp1251Text taxOfficeFileFatalMessage();
extern const char* const kSupportEmail;

// --- Picker behaviour ---------------------------------------------------------

struct PickerTexts {
    Cp1251Text title;        // Windows-1251
    Cp1251Text secondColumn; // Windows-1251; the first column is "Код"
};
enum class DirectoryPicker { TaxOffice, Country, DocumentKind, Currency };
PickerTexts pickerTexts(DirectoryPicker picker);
Cp1251Text pickerCodeColumn();

// The row whose code equals the code, or nullopt. The tax-office and country pickers
// keep their previous selection when this finds nothing.
std::optional<std::size_t> findCodeRow(const CodeNameRows& rows, const Cp1251Text& code);
// The currency picker: the matching row (an empty code counts as "0"), else the first.
std::optional<std::size_t> currencyPickerRow(const CodeNameRows& rows, const Cp1251Text& code);

} // namespace kv
