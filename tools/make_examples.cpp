// make-examples FOLDER: writes the sample returns (new-return.qv9, typical.qv9,
// all-records.qv9) into FOLDER, normally the project's examples/.
#include "ExampleReturns.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-examples FOLDER\n";
        return 2;
    }
    try {
        for (const auto& path : kv::examples::writeExamples(argv[1]))
            std::cout << path << '\n';
    } catch (const std::exception& e) {
        std::cerr << "make-examples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
