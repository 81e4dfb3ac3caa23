// Shows the whole document as the program reads it, as JSON (see DocumentJson.h).
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/DocumentJson.h"
#include "core/Date.h"
#include "model/Declaration.h"

#include <iostream>

namespace kv::cli {

int cmdDump(const Args& args) {
    if (args.size() != 1) {
        return usageError("dump FILE.qv9");
    }
    // A document of an earlier year keeps the date of a new return: today.
    const SystemClock clock;
    Declaration doc(clock);
    try {
        doc.loadFromFile(args[0]);
    } catch (const std::exception& e) {
        errStorage(e, args[0]);
        return 2;
    }
    std::cout << documentJson(doc).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
              << '\n';
    return 0;
}

} // namespace kv::cli
