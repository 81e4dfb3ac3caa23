#pragma once
// Section 1 of the return: amounts to pay or refund by budget classification code.
#include "core/Money.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Declaration;
class ReturnComputation;

// One line of Section 1.
struct Section1Line {
    std::string kbk;
    std::string oktmo;
    std::string direction; // "1" pay, "2" refund, "3" neither (zero return)
    Money amount;          // whole roubles, never negative
};

class Section1Sheet {
public:
    std::int32_t lineCount = 0;
    std::vector<Section1Line> lines;

    // Nothing to zero: the line list is cleared only by construction, since a
    // computation object serves a single run.
    void Reset();
    // Appends the lines and returns the overall result flag of the computation:
    // false when any tax is payable or when the return is a zero return.
    bool Compute(const Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
