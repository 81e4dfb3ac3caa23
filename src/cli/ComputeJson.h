#pragma once
// The whole computation as JSON, for users and testers who want to see where a
// figure of the return comes from: every field of the 29 sheets under the
// computation's member names, lists included, and what the run wrote back into
// the document. Amounts are exact decimal strings with "."; texts are UTF-8.
#include "core/Text.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace kv {
class ReturnComputation;
class Declaration;
} // namespace kv

namespace kv::cli {

// result: the flag compute returned, or nullopt when the run failed; error: the
// failure's message (Windows-1251), written as "error" when not empty.
nlohmann::ordered_json computationJson(const ReturnComputation& root, const Declaration& doc,
                                       std::optional<bool> result, const Cp1251Text& error = {});

} // namespace kv::cli
