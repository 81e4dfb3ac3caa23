#pragma once
// Options shared by the "export" and "xml" commands: the document, and the date and
// file identifier that make an exported file reproducible.
#include "cli/Commands.h"
#include "core/Date.h"
#include "export/FileIdentity.h"

#include <memory>
#include <optional>
#include <string>

namespace kv::cli {

struct ExportOptions {
    std::string document;
    std::string folder = ".";
    bool check = true;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<IdSource> ids;
};

// Parses FILE.qv9 and the options the command allows; prints what is wrong and
// returns nullopt on bad usage.
std::optional<ExportOptions> parseExportOptions(const Args& args, bool fileCommand, const char* usage);

} // namespace kv::cli
