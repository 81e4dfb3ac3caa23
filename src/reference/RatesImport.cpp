#include "reference/RatesImport.h"

#include "core/FileUpdateLock.h"
#include "core/Money.h"
#include "core/Storage.h"
#include "core/Text.h"
#include "core/TextCheck.h"
#include "reference/FileReplace.h"
#include "reference/XmlRead.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>

namespace kv {

namespace {

namespace fs = std::filesystem;

RatesImportError failure(std::string_view utf8) {
    return RatesImportError(Cp1251Text::fromUtf8(utf8));
}

RatesImportError failure(std::string_view utf8, std::string_view cp1251Detail) {
    return RatesImportError(Cp1251Text::fromUtf8(utf8) + Cp1251Text::fromBytes(cp1251Detail));
}

// The bank's list of currencies with official rates (its identifiers are those of its
// dynamic files; the daily files carry both the identifier and NumCode, which agree).
const std::vector<BankCurrency> kBankCurrencies = {
    {"R01010", "036", "AUD"},  {"R01020A", "944", "AZN"}, {"R01035", "826", "GBP"}, {"R01060", "051", "AMD"},
    {"R01090B", "933", "BYN"}, {"R01100", "975", "BGN"},  {"R01115", "986", "BRL"}, {"R01135", "348", "HUF"},
    {"R01200", "344", "HKD"},  {"R01215", "208", "DKK"},  {"R01235", "840", "USD"}, {"R01239", "978", "EUR"},
    {"R01270", "356", "INR"},  {"R01335", "398", "KZT"},  {"R01350", "124", "CAD"}, {"R01370", "417", "KGS"},
    {"R01375", "156", "CNY"},  {"R01500", "498", "MDL"},  {"R01535", "578", "NOK"}, {"R01565", "985", "PLN"},
    {"R01585F", "946", "RON"}, {"R01589", "960", "XDR"},  {"R01625", "702", "SGD"}, {"R01670", "972", "TJS"},
    {"R01700J", "949", "TRY"}, {"R01710A", "934", "TMT"}, {"R01717", "860", "UZS"}, {"R01720", "980", "UAH"},
    {"R01760", "203", "CZK"},  {"R01770", "752", "SEK"},  {"R01775", "756", "CHF"}, {"R01810", "710", "ZAR"},
    {"R01815", "410", "KRW"},  {"R01820", "392", "JPY"},
};

// The units field of the screen takes seven digits.
constexpr std::size_t kMaxNominalDigits = 7;

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string childText(xmlNode* parent, std::string_view name) {
    xmlNode* child = childElement(parent, name);
    return child == nullptr ? std::string() : trimText(text1251(child)).bytes();
}

// What was wrong and where, with the line of the file, so the person can find it.
std::string where(std::string_view what, std::string_view context, const xmlNode* node) {
    std::string text = std::string(what) + " " + std::string(context);
    const long line = xmlGetLineNo(node);
    if (line > 0)
        text += Cp1251Text::fromUtf8(", строка ").bytes() + std::to_string(line);
    return text;
}

// Exactly "dd.mm.yyyy", as the bank writes it: "31.12.19" would be a date of the year 19.
DateValue dateOf(const std::string& text, std::string_view context, const xmlNode* node) {
    const bool shaped = text.size() == 10 && text[2] == '.' && text[5] == '.' &&
                        allDigits(std::string_view(text).substr(0, 2)) &&
                        allDigits(std::string_view(text).substr(3, 2)) &&
                        allDigits(std::string_view(text).substr(6));
    const auto date = shaped ? DateValue::parseText(text, '.') : std::nullopt;
    if (!date)
        throw failure("Неверная дата в файле курсов: ", where(text, context, node));
    return *date;
}

// "61,9057" or "61.9057": digits, then at most four decimals after one separator; no
// sign, no grouping, no separator without digits on both sides. Kept with the comma the
// rate fields read.
std::string rateTextOf(const std::string& value, std::string_view context, const xmlNode* node) {
    std::string text = value;
    std::replace(text.begin(), text.end(), '.', ',');
    const std::size_t comma = text.find(',');
    const std::string_view whole = std::string_view(text).substr(0, comma);
    const std::string_view fraction =
        comma == std::string::npos ? std::string_view("0") : std::string_view(text).substr(comma + 1);
    const auto amount = allDigits(whole) && allDigits(fraction) && fraction.size() <= 4
                            ? parseMoney(text, ',')
                            : std::nullopt;
    if (!amount || *amount <= Money{})
        throw failure("Неверный курс в файле курсов: ", where(value, context, node));
    return text;
}

std::string nominalOf(const std::string& value, std::string_view context, const xmlNode* node) {
    std::string digits = value;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (!allDigits(digits) || digits.size() > kMaxNominalDigits || digits == "0")
        throw failure("Неверный номинал в файле курсов: ", where(value, context, node));
    return digits;
}

// The rates of one currency in a file, by date, with the line each came from.
using RatesByDate = std::unordered_map<std::string, std::pair<std::size_t, long>>;

// One rate per day: a day given twice alike is taken once, a day given two different
// rates is refused rather than one of them silently winning.
void addRate(std::vector<CurrencyRate>& rates, RatesByDate& seen, CurrencyRate rate, const xmlNode* node,
             std::string_view context) {
    const auto [at, added] = seen.try_emplace(rate.date.bytes(), rates.size(), xmlGetLineNo(node));
    if (added) {
        rates.push_back(std::move(rate));
        return;
    }
    const CurrencyRate& first = rates[at->second.first];
    if (first.rate == rate.rate && first.quantity == rate.quantity)
        return;
    throw failure("Два разных курса на одну дату в файле курсов: ",
                  std::string(context) + " " + rate.date.bytes() + Cp1251Text::fromUtf8(", строки ").bytes() +
                      std::to_string(at->second.second) + Cp1251Text::fromUtf8(" и ").bytes() +
                      std::to_string(xmlGetLineNo(node)));
}

BankRatesFile parseDaily(xmlNode* root) {
    const std::string dateText = trimText(attribute1251(root, "Date")).bytes();
    const Cp1251Text date = Cp1251Text::fromBytes(dateOf(dateText, "ValCurs", root).text('.'));
    BankRatesFile file;
    file.kind = BankRatesFile::Kind::Daily;
    std::vector<RatesByDate> seen;
    for (xmlNode* v = firstChildElement(root); v != nullptr; v = nextElement(v)) {
        if (!hasName(v, "Valute"))
            continue;
        std::string code = childText(v, "NumCode");
        if (!allDigits(code) || code.size() > 3)
            throw failure("Неверный код валюты в файле курсов: ", where(code, "NumCode", v));
        code.insert(0, 3 - code.size(), '0');
        CurrencyRate rate{date, Cp1251Text::fromBytes(rateTextOf(childText(v, "Value"), code, v)),
                          Cp1251Text::fromBytes(nominalOf(childText(v, "Nominal"), code, v))};
        auto same = std::find_if(file.currencies.begin(), file.currencies.end(),
                                 [&code](const Currency& c) { return c.code.bytes() == code; });
        if (same == file.currencies.end()) {
            file.currencies.push_back(
                Currency{Cp1251Text::fromBytes(code), Cp1251Text::fromBytes(childText(v, "Name")), {}});
            seen.emplace_back();
            same = file.currencies.end() - 1;
        }
        addRate(same->rates, seen[static_cast<std::size_t>(same - file.currencies.begin())], std::move(rate),
                v, code);
    }
    return file;
}

BankRatesFile parseDynamic(xmlNode* root) {
    BankRatesFile file;
    file.kind = BankRatesFile::Kind::Dynamic;
    file.bankId = trimText(attribute1251(root, "ID")).bytes();
    Currency currency;
    currency.code = currencyCodeOfBankId(file.bankId).value_or(Cp1251Text());
    for (const BankCurrency& c : kBankCurrencies)
        if (currency.code.bytes() == c.code)
            currency.name = Cp1251Text::fromBytes(c.charCode);
    RatesByDate seen;
    for (xmlNode* r = firstChildElement(root); r != nullptr; r = nextElement(r)) {
        if (!hasName(r, "Record"))
            continue;
        const std::string dateText = trimText(attribute1251(r, "Date")).bytes();
        const std::string date = dateOf(dateText, "Record", r).text('.');
        addRate(currency.rates, seen,
                {Cp1251Text::fromBytes(date),
                 Cp1251Text::fromBytes(rateTextOf(childText(r, "Value"), date, r)),
                 Cp1251Text::fromBytes(nominalOf(childText(r, "Nominal"), date, r))},
                r, file.bankId);
    }
    file.currencies.push_back(std::move(currency));
    return file;
}

bool hasChild(xmlNode* root, std::string_view name) {
    return childElement(root, name) != nullptr;
}

// Rates in date order; entries whose date cannot be read keep their place at the front.
void sortByDate(std::vector<CurrencyRate>& rates) {
    const auto key = [](const CurrencyRate& r) {
        const auto d = DateValue::parseText(trimText(r.date).bytes(), '.');
        return d ? d->days : -1e300;
    };
    std::stable_sort(rates.begin(), rates.end(),
                     [&key](const CurrencyRate& a, const CurrencyRate& b) { return key(a) < key(b); });
}

CurrencyRates readTarget(const fs::path& target, const fs::path& seed) {
    std::error_code ec;
    const fs::path from = !fs::exists(target, ec) && !seed.empty() && fs::exists(seed, ec) ? seed : target;
    const CurrencyRatesFile file = loadCurrencyRatesFile(from);
    switch (file.state) {
    case DirectoryState::Missing:
        return {};
    case DirectoryState::Loaded:
        return *file.rates;
    case DirectoryState::Unreadable:
        break;
    }
    // A damaged directory is not replaced by the few rates of one import.
    throw failure("Справочник курсов валют поврежден, курсы не загружены: ", from.string());
}

} // namespace

const std::vector<BankCurrency>& bankCurrencies() {
    return kBankCurrencies;
}

std::optional<Cp1251Text> currencyCodeOfBankId(std::string_view bankId) {
    for (const BankCurrency& c : kBankCurrencies)
        if (c.bankId == bankId)
            return Cp1251Text::fromBytes(c.code);
    return std::nullopt;
}

bool BankRatesFile::needsCurrencyCode() const {
    return std::any_of(currencies.begin(), currencies.end(),
                       [](const Currency& c) { return c.code.empty(); });
}

BankRatesFile parseBankRates(std::string_view bytes) {
    XmlDocPtr doc = parseXmlText(bytes);
    if (!doc)
        throw failure("Файл курсов поврежден или не является файлом XML");
    xmlNode* root = rootElement(doc.get());
    if (!hasName(root, "ValCurs"))
        throw failure("Это не файл курсов валют ЦБ РФ (нет элемента ValCurs)");
    BankRatesFile file =
        hasAttribute(root, "ID") || hasChild(root, "Record") ? parseDynamic(root) : parseDaily(root);
    const bool empty = std::all_of(file.currencies.begin(), file.currencies.end(),
                                   [](const Currency& c) { return c.rates.empty(); });
    if (empty)
        throw failure("В файле нет курсов валют");
    Cp1251Text names;
    for (const Currency& c : file.currencies)
        names += c.name + "\n";
    if (!readsAsRussian(names))
        throw failure(
            "Названия валют в файле не читаются как русский текст: файл записан не в той кодировке, "
            "что указана в нём (например, в KOI8-R или UTF-8 вместо windows-1251)");
    return file;
}

BankRatesFile readBankRatesFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw failure("Файл не найден: ", path.string());
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxXmlFileBytes)
        throw failure("Файл слишком велик для файла курсов: ", path.string());
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (!in || static_cast<std::uintmax_t>(in.gcount()) != size)
        throw failure("Не удалось прочитать файл: ", path.string());
    try {
        return parseBankRates(bytes);
    } catch (const RatesImportError& e) {
        throw RatesImportError(e.message() + " (" + Cp1251Text::fromBytes(path.string()) + ")");
    }
}

RatesImportSummary mergeBankRates(CurrencyRates& into, const std::vector<BankRatesFile>& files) {
    RatesImportSummary summary;
    std::set<Cp1251Text> codes;
    std::set<std::size_t> touched;
    std::unordered_map<std::size_t, std::unordered_map<double, std::size_t>> byDay;
    for (const BankRatesFile& file : files) {
        for (const Currency& imported : file.currencies) {
            Currency* currency = into.find(imported.code);
            if (currency == nullptr) {
                into.currencies.push_back(Currency{imported.code, imported.name, {}});
                currency = &into.currencies.back();
            }
            const auto index = static_cast<std::size_t>(currency - into.currencies.data());
            touched.insert(index);
            codes.insert(imported.code);
            // The directory's rates of this currency by day, built once: a merge of many
            // rates stays linear.
            auto [days, fresh] = byDay.try_emplace(index);
            if (fresh)
                for (std::size_t i = 0; i < currency->rates.size(); ++i)
                    if (const auto d = DateValue::parseText(trimText(currency->rates[i].date).bytes(), '.'))
                        days->second.try_emplace(d->days, i);
            for (const CurrencyRate& rate : imported.rates) {
                const DateValue date = *DateValue::parseText(rate.date.bytes(), '.');
                const auto [same, added] = days->second.try_emplace(date.days, currency->rates.size());
                if (added)
                    currency->rates.push_back(rate);
                else
                    currency->rates[same->second] = rate;
                ++summary.rates;
                if (!summary.first || date < *summary.first)
                    summary.first = date;
                if (!summary.last || *summary.last < date)
                    summary.last = date;
            }
        }
    }
    for (const std::size_t index : touched)
        sortByDate(into.currencies[index].rates);
    summary.currencies = static_cast<int>(codes.size());
    return summary;
}

std::string currencyRatesXml(const CurrencyRates& rates) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
                      "<!-- Currencies and official Bank of Russia rates (Rate: roubles per Quantity "
                      "units). -->\n<CurrencyRates>\n";
    for (const Currency& c : rates.currencies) {
        xml += "<Currency Code=\"" + xmlEscaped(c.code).bytes() + "\" Name=\"" + xmlEscaped(c.name).bytes() +
               "\"";
        if (c.rates.empty()) {
            xml += "/>\n";
            continue;
        }
        xml += ">\n";
        for (const CurrencyRate& r : c.rates)
            xml += "<Rate Date=\"" + xmlEscaped(r.date).bytes() + "\" Rate=\"" + xmlEscaped(r.rate).bytes() +
                   "\" Quantity=\"" + xmlEscaped(r.quantity).bytes() + "\"/>\n";
        xml += "</Currency>\n";
    }
    xml += "</CurrencyRates>\n";
    return xml;
}

RatesImportResult importBankRates(const fs::path& target, const std::vector<BankRatesFile>& files,
                                  const fs::path& seed, const ImportHooks& hooks) {
    for (const BankRatesFile& file : files)
        if (file.needsCurrencyCode())
            throw failure("Неизвестный код валюты ЦБ РФ: ", file.bankId);
    // Checked before the old directory is read: a FIFO would be waited on for ever.
    const std::string path = linkTarget(target.string());
    try {
        requireRegularFileOrNew(path);
    } catch (const StorageError& e) {
        throw RatesImportError(e.message());
    }
    std::error_code ec;
    if (fs::path(path).has_parent_path())
        fs::create_directories(fs::path(path).parent_path(), ec);
    RatesImportResult result;
    try {
        // Read, merged and written holding the file: another import at once waits and then
        // merges into what this one wrote, so neither loses its rates.
        const FileUpdateLock lock(path, hooks.waiting);
        result.rates = readTarget(target, seed);
        if (hooks.locked)
            hooks.locked();
        result.summary = mergeBankRates(result.rates, files);
        replaceFileWhole(path, currencyRatesXml(result.rates));
    } catch (const StorageError& e) {
        throw RatesImportError(e.message());
    } catch (const FileReplaceError& e) {
        throw failure("Не удалось записать справочник курсов валют: ", e.what());
    }
    return result;
}

Cp1251Text ratesImportSummaryText(const RatesImportSummary& s) {
    std::string text =
        "Загружено курсов: " + std::to_string(s.rates) + ", валют: " + std::to_string(s.currencies);
    if (s.first && s.last)
        text += ", с " + s.first->text('.') + " по " + s.last->text('.');
    return Cp1251Text::fromUtf8(text);
}

} // namespace kv
