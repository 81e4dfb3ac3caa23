#pragma once
// Sample returns built through the document interface, as the program's screens
// would build them. make-examples writes them into examples/; the tests rebuild
// them and compare them with the committed files byte for byte.
#include "model/Declaration.h"

#include <string>
#include <vector>

namespace kv::examples {

// The date every sample is made on, so the files are reproducible: 15.03.2020.
const Clock& exampleClock();

// A new return as the program makes it: certificate incomes marked, sheet count automatic.
Declaration newReturn();
// One employer, twelve months of salary at 13%, and a flat bought in 2019.
Declaration typicalReturn();
// Every kind of record of the document, each with its optional parts filled.
Declaration allRecordsReturn();

struct Example {
    std::string fileName;
    Declaration declaration;
};
std::vector<Example> allExamples();

// Saves every sample into folder; returns the paths written.
std::vector<std::string> writeExamples(const std::string& folder);

} // namespace kv::examples
