#include "screens/rules/PersonRules.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"

namespace kv {

std::uint16_t checkPersonData(const Taxpayer& p, CheckDialog& dialog) {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Сведения о декларанте");
    CheckRun run(dialog, title);
    for (const RecordFault& f : taxpayerFaults(p, EmptyInn::Missing))
        run.fault(*f.message, f.code);
    return run.result();
}

} // namespace kv
