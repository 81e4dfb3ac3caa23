#pragma once
// Official exchange rates from the Bank of Russia's XML files into the currency-rate
// directory. The shipped directory lists few rates, so a person fetches the bank's
// files and imports them: the daily file (every currency of one day, root ValCurs
// with Date and Valute children) and the dynamic file (one currency over a period,
// root ValCurs with ID, DateRange1, DateRange2 and Record children). Both come in
// Windows-1251 and are read with the same guards as every directory file.
#include "core/Date.h"
#include "reference/Directories.h"
#include "reference/ImportGuard.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// what() is Windows-1251 text for the person.
class RatesImportError : public Cp1251Error {
public:
    using Cp1251Error::Cp1251Error;
};

// One of the bank's currencies: its identifier in the dynamic files and its
// three-digit code.
struct BankCurrency {
    std::string_view bankId;   // "R01235"
    std::string_view code;     // "840"
    std::string_view charCode; // "USD"
};
// The bank's list of currencies with daily official rates.
const std::vector<BankCurrency>& bankCurrencies();
// The three-digit code of a bank identifier, or nullopt when it is not in the list.
std::optional<Cp1251Text> currencyCodeOfBankId(std::string_view bankId);

// The rates of one bank file. A dynamic file whose identifier is not in the bank's
// list has one currency with an empty code: the caller asks the person for it.
struct BankRatesFile {
    enum class Kind { Daily, Dynamic };
    Kind kind = Kind::Daily;
    std::string bankId; // dynamic files: the ID attribute of the root
    std::vector<Currency> currencies;

    bool needsCurrencyCode() const;
};

// Parses one bank file (bytes as served). Throws RatesImportError when the text is
// not well-formed XML, declares entities, is neither of the two kinds, or a rate,
// nominal, date or code in it cannot be read; nothing of such a file is taken.
BankRatesFile parseBankRates(std::string_view bytes);
// Reads and parses a file; a missing, unreadable or oversized file throws too.
BankRatesFile readBankRatesFile(const std::filesystem::path& path);

// What an import added or replaced.
struct RatesImportSummary {
    int rates = 0;      // rate entries taken from the files
    int currencies = 0; // distinct currencies among them
    std::optional<DateValue> first;
    std::optional<DateValue> last;

    friend bool operator==(const RatesImportSummary&, const RatesImportSummary&) = default;
};

// Merges the files' rates into the directory: a currency not listed yet is appended
// with the bank's name; a date a currency already has takes the imported rate.
// Each touched currency's rates end up in date order, so that "the last earlier
// rate in file order" of the lookup is also the latest earlier one.
RatesImportSummary mergeBankRates(CurrencyRates& into, const std::vector<BankRatesFile>& files);

// The directory's text, Windows-1251 XML in the form the program reads.
std::string currencyRatesXml(const CurrencyRates& rates);

// Reads the directory at target (a missing file starts from seed when that exists,
// else empty), merges the files and writes it to target. The new file replaces the old one only once it is
// complete; any failure (a damaged directory, a file with no code, a write error) throws RatesImportError and
// leaves the old file as it was. The file is held from the read to the write, so that
// imports at once each add their rates. Returns what was imported and the directory as written.
struct RatesImportResult {
    RatesImportSummary summary;
    CurrencyRates rates;
};
RatesImportResult importBankRates(const std::filesystem::path& target,
                                  const std::vector<BankRatesFile>& files,
                                  const std::filesystem::path& seed = {}, const ImportHooks& hooks = {});

// "Загружено курсов: 247, валют: 1, с 09.01.2019 по 31.12.2019", Windows-1251.
Cp1251Text ratesImportSummaryText(const RatesImportSummary& summary);

} // namespace kv
