#pragma once
// The kinds of identity document a taxpayer can name: a fixed table of the program.
#include "reference/Directories.h"

#include <optional>
#include <string>

namespace kv {

// 16 rows, code ("21") and name, Windows-1251.
const CodeNameRows& documentKinds();

// The kind as the picker looks it up: two digits ("%.2d").
Cp1251Text documentKindCode(int kind);
// The row preselected for the kind, or nullopt (kind 0 matches nothing).
std::optional<std::size_t> documentKindRow(int kind);

} // namespace kv
