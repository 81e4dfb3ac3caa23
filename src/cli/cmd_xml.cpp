// Writes the bytes an exported file would hold to standard output, as printing
// receives them: no check and no file.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"

#include <iostream>

namespace kv::cli {

int cmdXml(const Args& args) {
    auto options = parseExportOptions(args, false, "xml FILE.qv9 [--date ДД.ММ.ГГГГ] [--guid GUID]");
    if (!options)
        return 2;
    Declaration declaration(*options->clock);
    try {
        declaration.loadFromFile(options->document);
    } catch (const std::exception& e) {
        err1251(storageMessage(e));
        return 2;
    }
    const ExportServices services{*options->clock, *options->ids, [](const std::string& m) { err1251(m); }};
    const std::string bytes = ExportReturn(std::string(), declaration, kExportToText, services);
    if (bytes == kExportFailed)
        return 2;
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return std::cout ? 0 : 2;
}

} // namespace kv::cli
