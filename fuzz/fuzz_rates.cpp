// Feeds arbitrary bytes to the reader of the Bank of Russia's rate files. Whatever it
// accepts, merged into an empty directory, must be written as a directory the program
// reads back currency for currency and rate for rate; merging the same file again must
// change nothing, and the lookup must find each imported rate on its own day.
#include "core/Text.h"
#include "reference/RatesImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool sameRates(const kv::CurrencyRates& a, const kv::CurrencyRates& b) {
    if (a.currencies.size() != b.currencies.size())
        return false;
    for (std::size_t i = 0; i < a.currencies.size(); ++i) {
        const kv::Currency& x = a.currencies[i];
        const kv::Currency& y = b.currencies[i];
        if (x.code != y.code || x.name != y.name || x.rates.size() != y.rates.size())
            return false;
        for (std::size_t j = 0; j < x.rates.size(); ++j)
            if (x.rates[j].date != y.rates[j].date || x.rates[j].rate != y.rates[j].rate ||
                x.rates[j].quantity != y.rates[j].quantity)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kv::BankRatesFile file;
    try {
        file = kv::parseBankRates(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kv::RatesImportError&) {
        return 0;
    }
    // The window asks the person for the code of a currency the bank's list lacks.
    for (kv::Currency& c : file.currencies)
        if (c.code.empty())
            c.code = "999";
    kv::CurrencyRates merged;
    const kv::RatesImportSummary summary = kv::mergeBankRates(merged, {file});
    const auto back = kv::CurrencyRates::fromXml(kv::currencyRatesXml(merged));
    if (!back || !sameRates(*back, merged))
        std::abort();
    kv::CurrencyRates again = *back;
    if (!(kv::mergeBankRates(again, {file}) == summary) || !sameRates(again, merged))
        std::abort();
    for (const kv::Currency& c : file.currencies)
        for (const kv::CurrencyRate& r : c.rates) {
            const auto found =
                kv::findCurrencyRate(&*back, c.code, *kv::DateValue::parseText(r.date.bytes(), '.'));
            if (!found || found->rate != r.rate || found->quantity != r.quantity)
                std::abort();
        }
    return 0;
}
