#include "screens/rules/InitialDataRules.h"

#include "checks/CheckRun.h"
#include "checks/IdentifierChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

std::uint16_t checkInitialData(const Declaration& d, CheckDialog& dialog) {
    static const Cp1251Text conditions = Cp1251Text::fromUtf8("Задание условий");
    static const Cp1251Text taxpayer = Cp1251Text::fromUtf8("Сведения о декларанте");
    CheckRun run(dialog, conditions);

    for (const RecordFault& f : conditionsFaults(d))
        run.fault(*f.message, f.code);
    // An empty OKTMO is allowed here; the whole-return check asks for it when tax is payable.
    run.setSectionTitle(taxpayer);
    if (!trimText(d.person.oktmo).empty() && !oktmoLengthValid(d.person.oktmo))
        run.fault(Cp1251Text::fromUtf8("Код ОКТМО должен содержать 8 или 11 символов"), InitialOktmo);
    return run.result();
}

} // namespace kv
