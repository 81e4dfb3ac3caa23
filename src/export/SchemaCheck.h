#pragma once
// Checks an exported file against the schema of its form (data/NDFL3_5.14.xsd,
// data/NDFL4_5.03.xsd, both built into the program): the last line of defence
// before a file that the tax service would refuse is written.
#include "reference/XmlSchema.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class ReturnForm {
    Ndfl3, // 3-NDFL, format 5.14, KND 1151020
    Ndfl4, // 4-NDFL, format 5.03, KND 1151021
};

// "3-НДФЛ 5.14" or "4-НДФЛ 5.03" (Windows-1251).
Cp1251Text formTitle(ReturnForm form);

// Validates the bytes of a file (in the encoding its declaration names) against the
// form's schema and reports every violation in document order.
SchemaReport checkAgainstSchema(std::string_view bytes, ReturnForm form);

// The form a file says it is, from the root's "ВерсФорм" (5.14 or 5.03) or, failing
// that, from the "КНД" of its "Документ"; nullopt when the bytes are not XML or name
// neither form.
std::optional<ReturnForm> formOfFile(std::string_view bytes);

// The message of an export refused by the schema: the form, the violations (at most
// a handful, the first ones), and what to do (Windows-1251).
Cp1251Text schemaRefusalMessage(ReturnForm form, const std::vector<SchemaViolation>& violations);

} // namespace kv
