#pragma once
// What the taxpayer screen checks when the user leaves it: the name, and that the
// taxpayer can be identified by a valid INN or else by birth place and an identity
// document that fits the birth date.
#include "checks/CheckDialog.h"
#include "checks/RecordChecks.h"
#include "core/Date.h"

#include <cstdint>

namespace kv {

class Taxpayer;

// Reads the record as saveData left it; 0 when nothing is to be fixed.
std::uint16_t checkPersonData(const Taxpayer& person, CheckDialog& dialog);

} // namespace kv
