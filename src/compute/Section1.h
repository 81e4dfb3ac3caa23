#pragma once
// Section 1 of the return: amounts to pay or refund by budget classification code.
#include "core/Money.h"
#include "core/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class Declaration;
class ReturnComputation;

// Where a line's OKTMO was taken from, so that the check of the return can lead
// the user to the record that lacks it.
struct OktmoSource {
    enum class List : std::uint8_t {
        Taxpayer,
        Incomes13,
        Incomes13NonResident,
        Incomes30,
        Incomes9,
        Incomes35,
        InvestPartnerships,
    };
    List list = List::Taxpayer;
    std::int32_t index = 0; // 0-based position in the list; 0 for the taxpayer

    friend bool operator==(const OktmoSource&, const OktmoSource&) = default;
};

// One line of Section 1.
struct Section1Line {
    Cp1251Text kbk;
    Cp1251Text oktmo;
    Cp1251Text direction;      // "1" pay, "2" refund, "3" neither (zero return)
    Money amount;              // whole roubles, never negative
    OktmoSource oktmoSource{}; // of the first amount when several were merged
};

class Section1Sheet {
public:
    std::int32_t lineCount = 0;
    std::vector<Section1Line> lines;

    // Nothing to zero: the line list is cleared only by construction, since a
    // computation object serves a single run.
    void clearFigures();
    // Appends the lines and returns the overall result flag of the computation:
    // false when any tax is payable or when the return is a zero return.
    bool compute(const Declaration& declaration, const ReturnComputation& root);
};

} // namespace kv
