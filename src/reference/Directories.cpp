#include "reference/Directories.h"

#include "core/Text.h"
#include "reference/XmlRead.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kv {

const char* const kSupportEmail = "support@kvilmar.ru";

namespace {

CodeNameRows codeNameRows(xmlDoc* doc) {
    CodeNameRows rows;
    for (xmlNode* e = firstChildElement(rootElement(doc)); e != nullptr; e = nextElement(e))
        rows.push_back({attribute1251(e, "Code"), text1251(e)});
    return rows;
}

CurrencyRates currencyRates(xmlDoc* doc) {
    CurrencyRates result;
    for (xmlNode* c = firstChildElement(rootElement(doc)); c != nullptr; c = nextElement(c)) {
        Currency currency{attribute1251(c, "Code"), attribute1251(c, "Name"), {}};
        for (xmlNode* r = firstChildElement(c); r != nullptr; r = nextElement(r))
            currency.rates.push_back(
                {attribute1251(r, "Date"), attribute1251(r, "Rate"), attribute1251(r, "Quantity")});
        result.currencies.push_back(std::move(currency));
    }
    return result;
}

DirectoryState stateOf(XmlFileState s) {
    switch (s) {
    case XmlFileState::Missing:
        return DirectoryState::Missing;
    case XmlFileState::Loaded:
        return DirectoryState::Loaded;
    case XmlFileState::Unreadable:
        break;
    }
    return DirectoryState::Unreadable;
}

} // namespace

std::optional<CodeNameRows> codeNameRowsFromXml(std::string_view xml) {
    XmlDocPtr doc = parseXmlText(xml);
    if (!doc)
        return std::nullopt;
    return codeNameRows(doc.get());
}

CodeNameFile loadCodeNameFile(const std::filesystem::path& path) {
    XmlFile file = readXmlFile(path);
    CodeNameFile result;
    result.state = stateOf(file.state);
    if (file.doc)
        result.rows = codeNameRows(file.doc.get());
    return result;
}

std::optional<CurrencyRates> CurrencyRates::fromXml(std::string_view xml) {
    XmlDocPtr doc = parseXmlText(xml);
    if (!doc)
        return std::nullopt;
    return currencyRates(doc.get());
}

CurrencyRatesFile loadCurrencyRatesFile(const std::filesystem::path& path) {
    XmlFile file = readXmlFile(path);
    CurrencyRatesFile result;
    result.state = stateOf(file.state);
    if (file.doc)
        result.rates = currencyRates(file.doc.get());
    return result;
}

CodeNameRows CurrencyRates::codeNames() const {
    CodeNameRows rows;
    for (const auto& c : currencies)
        rows.push_back({c.code, c.name});
    return rows;
}

const Currency* CurrencyRates::find(const Cp1251Text& code) const {
    const auto found = std::find_if(currencies.begin(), currencies.end(),
                                    [&code](const Currency& c) { return c.code == code; });
    return found != currencies.end() ? &*found : nullptr;
}

Currency* CurrencyRates::find(const Cp1251Text& code) {
    return const_cast<Currency*>(std::as_const(*this).find(code));
}

std::optional<CurrencyRate> findCurrencyRate(const CurrencyRates* rates, const Cp1251Text& code,
                                             DateValue date) {
    if (rates == nullptr)
        return std::nullopt;
    const Currency* currency = rates->find(code);
    if (currency == nullptr)
        return std::nullopt;
    const Cp1251Text wanted = Cp1251Text::fromBytes(date.text('.'));
    std::optional<CurrencyRate> candidate;
    for (const auto& r : currency->rates) {
        if (r.date == wanted)
            return r;
        const auto d = DateValue::parseText(trimText(r.date).bytes(), '.');
        if (d && *d < date)
            candidate = r;
    }
    return candidate;
}

std::filesystem::path findDataFile(const DataFolders& folders, std::string_view name) {
    for (const std::filesystem::path& folder : folders) {
        if (folder.empty())
            continue;
        std::error_code ec;
        const std::filesystem::path candidate = folder / name;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return {};
}

Directories loadDirectories(const std::filesystem::path& folder) {
    return loadDirectories(DataFolders{folder});
}

Directories loadDirectories(const DataFolders& folders) {
    Directories dirs;
    // A file found nowhere is read from the empty path, which reports it missing.
    const auto where = [&folders](const char* name) { return findDataFile(folders, name); };

    const CodeNameFile offices = loadCodeNameFile(where(kInspectionsFile));
    dirs.inspectionsState = offices.state;
    if (offices.state == DirectoryState::Loaded)
        dirs.inspections = offices.rows;

    const CodeNameFile countries = loadCodeNameFile(where(kCountriesFile));
    dirs.countriesState = countries.state;
    if (countries.state == DirectoryState::Loaded)
        dirs.countries = countries.rows;

    XmlFile okved = readXmlFile(where(kOkvedFile));
    dirs.okvedState = stateOf(okved.state);
    if (okved.doc)
        dirs.okved = OkvedClassifier::fromDocument(okved.doc.get());

    CurrencyRatesFile rates = loadCurrencyRatesFile(where(kCurrencyRatesFile));
    dirs.currencyRatesState = rates.state;
    dirs.currencyRates = std::move(rates.rates);

    return dirs;
}

std::filesystem::path programFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

Cp1251Text taxOfficeFileFatalMessage() {
    return Cp1251Text::fromUtf8(
               "Поменяйте язык и региональные стандарты ОС на русские. Или обратитесь на горячую "
               "линию программы: ") +
           Cp1251Text::fromUtf8(kSupportEmail);
}

PickerTexts pickerTexts(DirectoryPicker picker) {
    switch (picker) {
    case DirectoryPicker::TaxOffice:
        return {Cp1251Text::fromUtf8("Справочник инспекций"), Cp1251Text::fromUtf8("Наименование инспекции")};
    case DirectoryPicker::Country:
        return {Cp1251Text::fromUtf8("Справочник стран"), Cp1251Text::fromUtf8("Наименование государства")};
    case DirectoryPicker::DocumentKind:
        return {Cp1251Text::fromUtf8("Справочник видов документов"),
                Cp1251Text::fromUtf8("Наименование документа")};
    case DirectoryPicker::Currency:
        break;
    }
    return {Cp1251Text::fromUtf8("Справочник валют"), Cp1251Text::fromUtf8("Наименование валюты")};
}

Cp1251Text pickerCodeColumn() {
    return Cp1251Text::fromUtf8("Код");
}

std::optional<std::size_t> findCodeRow(const CodeNameRows& rows, const Cp1251Text& code) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].code == code)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> currencyPickerRow(const CodeNameRows& rows, const Cp1251Text& code) {
    if (rows.empty())
        return std::nullopt;
    return findCodeRow(rows, code.empty() ? Cp1251Text{"0"} : code).value_or(0);
}

} // namespace kv
