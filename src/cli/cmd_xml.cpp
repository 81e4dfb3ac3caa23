// Writes the bytes an exported file would hold to standard output: no whole-return
// check and no file, but, as for every exported file, the schema of its form.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ExportOptions.h"
#include "compute/Arithmetic.h"
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
        errStorage(e, options->document);
        return 2;
    }
    // A computation that fails is reported, and the file is still written from what the
    // sheets hold, as the program does; the status then says the return is not sound.
    bool computationFailed = false;
    const ExportServices services{*options->clock, *options->ids, [&computationFailed](const Cp1251Text& m) {
                                      computationFailed =
                                          computationFailed || m == ComputationError::userMessage();
                                      err1251(m);
                                  }};
    const std::string bytes = exportReturn(std::string(), declaration, kExportToText, services);
    if (bytes == kExportFailed)
        return 2;
    if (const Cp1251Text fault = exportSchemaFault(declaration, bytes); !fault.empty()) {
        err1251(fault);
        return 1;
    }
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    if (!std::cout)
        return 2;
    return computationFailed ? 1 : 0;
}

} // namespace kv::cli
