#pragma once
// Returns of a chosen size built through the document interface, as the screens
// would build them: many 13% sources with many lines, and the foreign incomes,
// other Russian sources and deductions growing in proportion. The benchmarks and
// the peak-memory runs use the same returns.
#include "model/Declaration.h"

#include <string>
#include <vector>

namespace kv::bench {

struct ReturnShape {
    std::string name;   // "1000x100"
    int sources = 0;    // 13% sources (resident), 1..1000
    int linesPerSource; // income lines of each source, 1..1000
};

// The sizes the benchmarks measure: 10, 100 and 1000 sources of 12 lines, and 1000 of 100.
const std::vector<ReturnShape>& standardShapes();
// The shape of a standard name, or of a name "<sources>x<lines>".
ReturnShape shapeNamed(const std::string& name);

// The date every generated return is made on, so runs are reproducible.
const Clock& generatorClock();

// A resident's 3-NDFL with shape.sources sources of shape.linesPerSource lines each,
// one agent deduction per source, one foreign income, one dividend source and one
// pension contract and child-education payment per ten sources, one housing object
// per hundred, and the standard, social and property deductions granted.
Declaration makeReturn(const ReturnShape& shape);

} // namespace kv::bench
