#pragma once
// What the initial-data screen checks when the user leaves it: the tax office,
// the representative who confirms the return, and the length of the taxpayer's OKTMO.
#include "checks/CheckDialog.h"
#include "checks/RecordChecks.h"

#include <cstdint>

namespace kv {

class Declaration;

// Reads the document as saveData left it; 0 when nothing is to be fixed.
std::uint16_t checkInitialData(const Declaration& declaration, CheckDialog& dialog);

} // namespace kv
