// Checks a return as the "Проверить" command does, stopping at its first fault
// as if the user had chosen to fix it.
#include "checks/ScriptedCheckDialog.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Date.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv::cli {

int cmdCheck(const Args& args) {
    if (args.size() != 1) {
        return usageError("check FILE.qv9");
    }
    const SystemClock clock;
    Declaration declaration(clock);
    try {
        declaration.loadFromFile(args[0]);
    } catch (const std::exception& e) {
        errStorage(e, args[0]);
        return 2;
    }
    const auto fault = firstReturnFault(declaration);
    if (!fault) {
        out1251(Cp1251Text::fromUtf8("Проверка декларации завершена успешно"));
        return 0;
    }
    out1251(returnFaultText(*fault));
    return 1;
}

} // namespace kv::cli
