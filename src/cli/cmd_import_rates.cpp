// Imports the Bank of Russia's rate files (daily or dynamic XML) into the currency-rate
// directory, as "Загрузить курсы ЦБ РФ..." of the currency picker does. By default
// the directory the program reads is updated; all files go in together or none.
#include "cli/CliFolders.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/RatesImport.h"

#include <iostream>

namespace kv::cli {

namespace {
constexpr const char* kUsage = "import-rates FILE.xml... [--out CurrencyRates.xml] [--currency КОД]";

bool threeDigits(const std::string& s) {
    return s.size() == 3 && s.find_first_not_of("0123456789") == std::string::npos;
}
} // namespace

int cmdImportRates(const Args& args) {
    std::vector<std::string> files;
    std::string out;
    std::string currency;
    auto usage = [](const std::string& why) { return usageError(kUsage, why); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--out" && hasValue) {
            out = args[++i];
        } else if (a == "--currency" && hasValue) {
            currency = args[++i];
            if (!threeDigits(currency))
                return usage("Код валюты — три цифры: " + currency);
        } else if (a.rfind("--", 0) == 0) {
            return usage("Неизвестный аргумент: " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.empty())
        return usage("Не указан файл курсов ЦБ РФ");

    try {
        std::vector<BankRatesFile> parsed;
        for (const std::string& f : files) {
            parsed.push_back(readBankRatesFile(f));
            BankRatesFile& file = parsed.back();
            if (!file.needsCurrencyCode())
                continue;
            // A dynamic file of a currency outside the bank's list: the person names it.
            if (currency.empty()) {
                err1251(Cp1251Text::fromUtf8("Неизвестный код валюты ЦБ РФ: ") +
                        Cp1251Text::fromBytes(file.bankId));
                return usage("Укажите трехзначный код валюты этого файла: --currency КОД (" + f + ")");
            }
            for (Currency& c : file.currencies)
                if (c.code.empty())
                    c.code = Cp1251Text::fromUtf8(currency);
        }
        std::filesystem::path target = out;
        std::filesystem::path seed;
        if (out.empty()) {
            // The user's copy is read first; a first import starts from the file read today.
            seed = findDataFile(dataFolders(), kCurrencyRatesFile);
            target = userDataFile(kCurrencyRatesFile);
        }
        if (!writableTarget(target.string()))
            return 2;
        const RatesImportResult result = importBankRates(target, parsed, seed);
        out1251(ratesImportSummaryText(result.summary));
        std::cout << "Файл: " << target.string() << '\n';
    } catch (const RatesImportError& e) {
        err1251(e.message());
        return 2;
    }
    return 0;
}

} // namespace kv::cli
