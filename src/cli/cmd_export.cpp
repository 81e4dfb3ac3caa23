// Exports a return as the "Экспорт" command does: the whole-return check first,
// then the file in the tax service's format, whose path is printed.
#include "checks/ScriptedCheckDialog.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "compute/Arithmetic.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"

#include <filesystem>
#include <iostream>

namespace kv::cli {

std::optional<ExportOptions> parseExportOptions(const Args& args, bool fileCommand, const char* usage) {
    ExportOptions o;
    auto fail = [usage](const std::string& why) {
        usageError(usage, why);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--date" && hasValue) {
            const auto date = parseCliDate(args[++i]);
            if (!date)
                return fail("Неверная дата: " + args[i] + " (нужно ДД.ММ.ГГГГ)");
            o.clock = std::make_unique<FixedClock>(*date);
        } else if (a == "--guid" && hasValue) {
            if (!isGuidText(args[++i]))
                return fail("Неверный GUID: " + args[i] + " (нужно XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX)");
            o.ids = std::make_unique<FixedIdSource>(upperCp1251(Cp1251Text::fromBytes(args[i])).bytes());
        } else if (fileCommand && a == "--out" && hasValue) {
            o.folder = args[++i];
        } else if (fileCommand && a == "--no-check") {
            o.check = false;
        } else if (a.rfind("--", 0) == 0 || !o.document.empty()) {
            return fail("Неизвестный аргумент: " + a);
        } else {
            o.document = a;
        }
    }
    if (o.document.empty())
        return fail("");
    if (!o.clock)
        o.clock = std::make_unique<SystemClock>();
    if (!o.ids)
        o.ids = std::make_unique<UuidIdSource>();
    return o;
}

int cmdExport(const Args& args) {
    auto options = parseExportOptions(
        args, true, "export FILE.qv9 [--out DIR] [--date ДД.ММ.ГГГГ] [--guid GUID] [--no-check]");
    if (!options)
        return 2;
    Declaration declaration(*options->clock);
    try {
        declaration.loadFromFile(options->document);
    } catch (const std::exception& e) {
        errStorage(e, options->document);
        return 2;
    }
    if (options->check) {
        if (const auto fault = firstReturnFault(declaration)) {
            out1251(returnFaultText(*fault));
            return 1;
        }
    }
    std::string folder = options->folder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    // A computation that fails is reported, and the file is still written from what the
    // sheets hold, as the program does; the status then says the return is not sound.
    bool computationFailed = false;
    const ExportServices services{*options->clock, *options->ids, [&computationFailed](const Cp1251Text& m) {
                                      computationFailed =
                                          computationFailed || m == ComputationError::userMessage();
                                      err1251(m);
                                  }};
    const std::string name = exportReturn(folder, declaration, kExportToFile, services);
    if (name == kExportRefused)
        return 1; // the message naming what to correct is out already
    if (name == kExportFailed) {
        err1251(Cp1251Text::fromUtf8("Файл не сформирован, свяжитесь с разработчиками."));
        return 2;
    }
    if (!std::filesystem::exists(folder + name)) {
        err1251(
            Cp1251Text::fromUtf8("Не удалось сохранить файл в указанный каталог. Выберите другой каталог или "
                                 "запускайте программу с правами администратора."));
        return 2;
    }
    std::cout << folder << messageUtf8(Cp1251Text::fromBytes(name)) << '\n';
    return computationFailed ? 1 : 0;
}

} // namespace kv::cli
