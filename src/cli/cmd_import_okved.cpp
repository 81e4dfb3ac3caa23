// Builds the economic activity directory from the classifier as Rosstat publishes it
// (CSV), as the import button of the OKVED picker does. By default the directory is
// written into the user's data folder, which the program searches first.
#include "cli/CliFolders.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/OkvedImport.h"

#include <iostream>

namespace kv::cli {

namespace {
constexpr const char* kUsage = "import-okved FILE.csv [--out Sp_OKVED2.xml] [--replace]";
}

int cmdImportOkved(const Args& args) {
    std::string csv;
    std::string out;
    ClassifierReplace how;
    auto usage = [](const std::string& why) { return usageError(kUsage, why); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (a == "--replace") {
            how.allowShrink = true;
        } else if (a.rfind("--", 0) == 0 || !csv.empty()) {
            return usage("Неизвестный аргумент: " + a);
        } else {
            csv = a;
        }
    }
    if (trimText(csv).empty())
        return usage("Укажите путь к файлу классификатора ОКВЭД (CSV)");
    if (out.empty()) {
        // Compared with the directory the program reads now, the shipped one at a first import.
        how.current = findDataFile(dataFolders(), kOkvedFile);
        out = userDataFile(kOkvedFile).string();
    }
    if (!writableTarget(out))
        return 2;

    try {
        const OkvedClassifier written = importOkved(csv, out, how);
        out1251(okvedImportSuccessMessage());
        std::cout << "Позиций: " << written.entries.size() << ", файл: " << out << '\n';
        return 0;
    } catch (const ClassifierShrinkError& e) {
        err1251(okvedImportFailureMessage());
        err1251(e.message());
        std::cerr << "Чтобы всё же заменить справочник, повторите команду с --replace\n";
        return 2;
    } catch (const OkvedImportError& e) {
        err1251(okvedImportFailureMessage());
        err1251(e.message());
        if (!e.faults().empty())
            err1251(okvedFaultList(e.faults()));
        return 2;
    }
}

} // namespace kv::cli
