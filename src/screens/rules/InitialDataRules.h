#pragma once
// What the initial-data screen checks when the user leaves it: the tax office,
// the representative who confirms the return, and the length of the taxpayer's OKTMO.
#include "checks/CheckDialog.h"

#include <cstdint>

namespace kv {

class Declaration;

// Element codes of the initial-data screen, also used by the whole-return check.
enum InitialDataElement : std::uint16_t {
    kInitialInspection = 1,
    kInitialEstimatedIncome = 2,
    kInitialRepresentativeName = 3,
    kInitialRepresentativeDocument = 4,
    kInitialRepresentativeOrganisation = 5,
    kInitialOktmo = 10,
};

// Reads the document as SaveData left it; 0 when nothing is to be fixed.
std::uint16_t CheckInitialData(const Declaration& declaration, CheckDialog& dialog);

} // namespace kv
