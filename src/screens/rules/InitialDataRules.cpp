#include "screens/rules/InitialDataRules.h"

#include "checks/CheckRun.h"
#include "checks/IdentifierChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"

namespace kv {

std::uint16_t CheckInitialData(const Declaration& d, CheckDialog& dialog) {
    static const std::string conditions = utf8ToCp1251("Задание условий");
    static const std::string taxpayer = utf8ToCp1251("Сведения о декларанте");
    CheckRun run(dialog, conditions);

    if (d.inspectionCode.empty())
        run.fault(utf8ToCp1251("Не введен номер инспекции"), kInitialInspection);
    else if (!InspectionCodeValid(d.inspectionCode))
        run.fault(utf8ToCp1251("Код инспекции должен состоять из четырёх цифр"), kInitialInspection);
    const bool representative = d.byRepresentative();
    if (representative && trimText(d.representativeName).empty())
        run.fault(utf8ToCp1251("Не указаны ФИО подписанта-представителя"), kInitialRepresentativeName);
    if (representative && trimText(d.representativeDocument).empty())
        run.fault(utf8ToCp1251("Не указан документ, подтверждающий полномочия представителя"),
                  kInitialRepresentativeDocument);
    if (d.submitter() == SubmitterKind::RepresentativeOrganisation &&
        trimText(d.representativeOrganisation).empty())
        run.fault(utf8ToCp1251("Не указано наименование Юр.лица-представителя"),
                  kInitialRepresentativeOrganisation);
    // An empty OKTMO is allowed here; the whole-return check asks for it when tax is payable.
    run.setSectionTitle(taxpayer);
    if (!trimText(d.person.oktmo).empty() && !OktmoLengthValid(d.person.oktmo))
        run.fault(utf8ToCp1251("Код ОКТМО должен содержать 8 или 11 символов"), kInitialOktmo);
    return run.result();
}

} // namespace kv
