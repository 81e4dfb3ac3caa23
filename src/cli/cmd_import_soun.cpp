// Rebuilds the tax-office directory from the tax service's classifier soun1.dbf, as the
// import button of the tax-office picker does. By default the directory is written into
// the user's data folder, which the next start reads before the program's own copy (an
// installed program's folder is not the user's to write).
#include "cli/CliFolders.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/SounImport.h"

#include <iostream>

namespace kv::cli {

namespace {
constexpr const char* kUsage =
    "import-soun soun1.dbf [--out InspectionNumbers.xml] [--date ДД.ММ.ГГГГ] [--replace]";
}

int cmdImportSoun(const Args& args) {
    std::string dbf;
    std::string out;
    std::optional<DateValue> date;
    ClassifierReplace how;
    auto usage = [](const std::string& why) { return usageError(kUsage, why); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--out" && hasValue) {
            out = args[++i];
        } else if (a == "--replace") {
            how.allowShrink = true;
        } else if (a == "--date" && hasValue) {
            date = parseCliDate(args[++i]);
            if (!date)
                return usage("Неверная дата: " + args[i] + " (нужно ДД.ММ.ГГГГ)");
        } else if (a.rfind("--", 0) == 0 || !dbf.empty()) {
            return usage("Неизвестный аргумент: " + a);
        } else {
            dbf = a;
        }
    }
    dbf = trimText(dbf);
    if (dbf.empty()) {
        err1251(sounEmptyPathMessage());
        return usage("");
    }
    if (out.empty()) {
        // Compared with the directory the program reads now, the shipped one at a first import.
        how.current = findDataFile(dataFolders(), kInspectionsFile);
        out = userDataFile(kInspectionsFile).string();
    }
    if (!writableTarget(out))
        return 2;
    if (!date)
        date = SystemClock().today();

    try {
        importSoun(dbf, out, *date, Cp1251Text{"00"}, how);
    } catch (const ClassifierShrinkError& e) {
        err1251(sounFailureMessage());
        err1251(e.message());
        std::cerr << "Чтобы всё же заменить справочник, повторите команду с --replace\n";
        return 2;
    } catch (const std::exception& e) {
        err1251(sounFailureMessage());
        errUtf8(e.what());
        return 2;
    }
    const CodeNameFile written = loadCodeNameFile(out);
    if (written.state != DirectoryState::Loaded) {
        err1251(sounFailureMessage());
        return 2;
    }
    out1251(sounSuccessMessage());
    std::cout << "Инспекций: " << written.rows.size() << ", файл: " << out << '\n';
    return 0;
}

} // namespace kv::cli
