#pragma once
// What the taxpayer screen checks when the user leaves it: the name, and that the
// taxpayer can be identified by a valid INN or else by birth place and an identity
// document that fits the birth date.
#include "checks/CheckDialog.h"
#include "core/Date.h"

#include <cstdint>

namespace kv {

class Taxpayer;

// Element codes of the taxpayer screen, also used by the whole-return check.
enum PersonElement : std::uint16_t {
    kPersonSurname = 1,
    kPersonFirstName = 2,
    kPersonPatronymic = 3,
    kPersonInn = 4,
    kPersonDocumentKind = 5,
    kPersonDocumentNumber = 6,
    kPersonDocumentDate = 7,
    kPersonDocumentIssuer = 8,
    kPersonBirthPlace = 9,
};

// Reads the record as SaveData left it; 0 when nothing is to be fixed.
std::uint16_t CheckPersonData(const Taxpayer& person, CheckDialog& dialog);

} // namespace kv
