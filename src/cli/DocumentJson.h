#pragma once
// The whole document as JSON, for users and testers who want to see what a return
// file holds: every stored field under the record's field names, lists in entry
// order. Amounts are exact decimal strings with "."; dates "dd.mm.yyyy" ("" for
// no date); texts UTF-8. An income list that does not exist is null.
#include <nlohmann/json.hpp>

namespace kv {
class Declaration;
} // namespace kv

namespace kv::cli {

nlohmann::ordered_json documentJson(const Declaration& doc);

} // namespace kv::cli
