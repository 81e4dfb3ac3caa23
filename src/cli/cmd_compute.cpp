// Computes a return and prints every sheet as JSON, so that a figure of the
// return can be traced to its inputs without the window.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ComputeJson.h"
#include "compute/ReturnComputation.h"
#include "core/Date.h"
#include "model/Declaration.h"

#include <iostream>
#include <memory>

namespace kv::cli {

int cmdCompute(const Args& args) {
    if (args.size() != 1) {
        return usageError("compute FILE.qv9");
    }
    SystemClock clock;
    Declaration doc(clock);
    try {
        doc.loadFromFile(args[0]);
    } catch (const std::exception& e) {
        errStorage(e, args[0]);
        return 2;
    }
    // The sheets are large; one run's object lives on the heap.
    auto root = std::make_unique<ReturnComputation>();
    try {
        const bool result = root->compute(doc);
        std::cout << computationJson(*root, doc, result)
                         .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << '\n';
        return 0;
    } catch (const ComputationError& e) {
        // As the export does, the sheets are still shown with whatever they hold.
        err1251(e.message());
        std::cout << computationJson(*root, doc, std::nullopt, e.message())
                         .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << '\n';
        return 1;
    }
}

} // namespace kv::cli
