// kv-bench-return: writes a generated return, or opens, computes and exports one in
// a process of its own, so that /usr/bin/time -v can report the peak memory of
// exactly those steps.
//   kv-bench-return write <size> <file>   size: 10x12, 100x12, 1000x12, 1000x100, or new
//   kv-bench-return process <file>
#include "ReturnGenerator.h"

#include "compute/ReturnComputation.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: kv-bench-return write <size|new> <file>\n"
                 "       kv-bench-return process <file>\n";
    return 2;
}

int write(const std::string& size, const std::string& path) {
    if (size == "new") {
        // A new return as the program makes it, the smallest document it writes.
        kv::Declaration d(kv::bench::generatorClock());
        d.setIncomeFlags(kv::Declaration::kAgentIncomes);
        d.sheetCountAutomatic = 1;
        d.saveToFile(path);
        std::cout << d.storedSize() << '\n';
        return 0;
    }
    const kv::Declaration d = kv::bench::makeReturn(kv::bench::shapeNamed(size));
    d.saveToFile(path);
    std::cout << d.storedSize() << '\n';
    return 0;
}

int process(const std::string& path) {
    kv::Declaration d(kv::bench::generatorClock());
    d.loadFromFile(path);
    {
        auto sum = std::make_unique<kv::ReturnComputation>();
        sum->compute(d);
    }
    static const kv::FixedIdSource ids("0F8FAD5B-D9CB-469F-A165-70867728950E");
    bool failed = false;
    const kv::ExportServices services{kv::bench::generatorClock(), ids,
                                      [&failed](const kv::Cp1251Text&) { failed = true; }};
    const std::string xml = kv::exportReturn("", d, kv::kExportToText, services);
    if (failed || xml == kv::kExportFailed) {
        std::cerr << "the export failed\n";
        return 1;
    }
    std::cout << xml.size() << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "write" && argc == 4)
            return write(argv[2], argv[3]);
        if (command == "process" && argc == 3)
            return process(argv[2]);
        return usage();
    } catch (const std::exception& e) {
        std::cerr << "kv-bench-return: " << e.what() << '\n';
        return 1;
    }
}
