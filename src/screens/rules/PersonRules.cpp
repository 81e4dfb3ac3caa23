#include "screens/rules/PersonRules.h"

#include "checks/CheckRun.h"
#include "checks/IdentifierChecks.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Person.h"

namespace kv {

std::uint16_t CheckPersonData(const Taxpayer& p, CheckDialog& dialog) {
    static const std::string title = utf8ToCp1251("Сведения о декларанте");
    CheckRun run(dialog, title);
    const auto fault = [&](const char* message, std::uint16_t code) {
        run.fault(utf8ToCp1251(message), code);
    };

    if (p.surname.empty())
        fault("Не введена фамилия", kPersonSurname);
    if (p.firstName.empty())
        fault("Не введено имя", kPersonFirstName);
    const InnResult inn = CheckInn(p.inn, InnKind::Individual);
    if (inn == InnResult::NotTwelve)
        fault("Длина ИНН должна быть равна 12 цифрам", kPersonInn);
    else if (inn == InnResult::Invalid)
        fault("Номер ИНН введен неверно", kPersonInn);
    if (inn == InnResult::Empty)
        fault("Не указан ИНН", kPersonInn);
    // Without a valid INN the taxpayer is identified by birth place and document.
    if (inn != InnResult::Valid && trimText(p.birthPlace).empty())
        fault("Не указано место рождения", kPersonBirthPlace);
    if (inn != InnResult::Valid && p.identityDocCode == 0)
        fault("Не указан документ, удостоверяющий личность", kPersonDocumentKind);
    if (p.identityDocCode != 0) {
        if (p.identityDocNumber.empty())
            fault("Не указаны серия и номер документа, удостоверяющего личность", kPersonDocumentNumber);
        if (p.identityDocDate < p.birthDate)
            fault("Дата выдачи документа не может быть меньше даты рождения", kPersonDocumentDate);
        else if (issuedFromFourteen(p.identityDocCode) &&
                 !issuedAtFourteenOrLater(p.birthDate, p.identityDocDate))
            fault("Дата выдачи документа должна быть больше даты рождения как минимум на 14 лет",
                  kPersonDocumentDate);
        if (p.identityDocIssuer.empty())
            fault("Не указано, кем выдан документ, удостоверяющий личность", kPersonDocumentIssuer);
    }
    return run.result();
}

} // namespace kv
