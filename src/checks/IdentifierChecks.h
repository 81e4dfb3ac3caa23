#pragma once
// Checks of the official identifiers a return carries: the INN of a person or an
// organisation, the KPP of an organisation, the OKTMO of a territory, and the
// payer of a source of income as its entry dialog confirms it.
#include "checks/CheckDialog.h"
#include "core/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

enum class InnKind : std::uint8_t {
    Any = 0,          // 10 or 12 digits
    Organisation = 1, // 10 digits
    Individual = 2,   // 12 digits
};

enum class InnResult : std::uint16_t {
    Valid = 0,
    Empty = 1,
    NotTenOrTwelve = 2, // InnKind::Any
    NotTen = 3,         // InnKind::Organisation
    NotTwelve = 4,      // InnKind::Individual
    Invalid = 5,        // all zeros, a wrong check digit, or a character other than a digit
};

enum class KppResult : std::uint16_t {
    Valid = 0,
    Empty = 1,
    NotNine = 2,
    Zeros = 3,
};

// Which field of a source dialog the user is sent back to.
enum class PayerField : std::uint16_t {
    Accept = 0,
    Name = 1,
    Inn = 2,
    Kpp = 3,
    Oktmo = 4,
};

// The text is trimmed first; the check digits are those of the published INN algorithm.
InnResult checkInn(const Cp1251Text& inn, InnKind kind);

// Trimmed; letters are accepted, only the length and nine zeros are faults.
KppResult checkKpp(const Cp1251Text& kpp);

// A trimmed OKTMO of 8 or 11 characters; its digits are not checked.
bool oktmoLengthValid(const Cp1251Text& oktmo);

// A tax office's code: exactly four digits, nothing around them.
bool inspectionCodeValid(const Cp1251Text& code);

// A fault of a source's payer: the message, the field to go back to, and whether
// the person may skip it.
struct PayerFault {
    const Cp1251Text* message; // Windows-1251
    PayerField field;
    bool mayBeSkipped;
};

// The faults of a payer that may be an organisation or a person, in the order they
// are shown; only a missing OKTMO may be skipped, and only when skipAllowed.
std::vector<PayerFault> payerFaults(const Cp1251Text& name, bool skipAllowed, const Cp1251Text& oktmo,
                                    const Cp1251Text& kpp, const Cp1251Text& inn);
// The faults of a payer that must be an organisation; none may be skipped.
std::vector<PayerFault> organisationPayerFaults(const Cp1251Text& name, const Cp1251Text& oktmo,
                                                const Cp1251Text& kpp, const Cp1251Text& inn);
// The message of the first fault that may not be skipped, nullptr when there is none.
const Cp1251Text* firstUnskippable(const std::vector<PayerFault>& faults);

// Payer of a source that may be an organisation or a person. One run of
// TfmCheckError titled "Проверка: " + sectionTitle; "Пропустить все" is never
// offered, "Пропустить" only when skipAllowed and until a fault that may not be skipped.
PayerField checkPayer(CheckDialog& dialog, const Cp1251Text& sectionTitle, const Cp1251Text& name,
                      bool skipAllowed, const Cp1251Text& oktmo, const Cp1251Text& kpp,
                      const Cp1251Text& inn);

// Payer that must be an organisation; no fault may be skipped.
PayerField checkOrganisationPayer(CheckDialog& dialog, const Cp1251Text& sectionTitle, const Cp1251Text& name,
                                  const Cp1251Text& oktmo, const Cp1251Text& kpp, const Cp1251Text& inn);

} // namespace kv
