#pragma once
// A fresh declaration and computation root for sheet tests. Sheets that read
// other sheets are tested by filling those inputs by hand, so each test shows
// exactly which figures the sheet takes.
#include "compute/ReturnComputation.h"
#include "core/Date.h"
#include "model/Declaration.h"
#include "support/TestValues.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace kv {
// Amounts in failure messages as "1234.5", not as bytes.
inline void PrintTo(const Money& m, std::ostream* os) {
    *os << moneyText(m, '.');
}
} // namespace kv

namespace kv::test {

struct SheetFixture {
    FixedClock clock{date(2020, 3, 1)};
    Declaration doc{clock};
    ReturnComputation root;

    explicit SheetFixture(std::uint8_t incomeFlags = Declaration::kAgentIncomes) {
        doc.setIncomeFlags(incomeFlags);
    }

    // A resident's 13% source with one line per amount of income code `code`.
    ThirteenPercentSource& addSource13(const std::string& oktmo, Money withheld) {
        return addSource13(Cp1251Text::fromBytes(std::string_view(oktmo)), withheld);
    }
    ThirteenPercentSource& addSource13(const Cp1251Text& oktmo, Money withheld) {
        ThirteenPercentSource s;
        s.sourceOktmo = oktmo;
        s.taxWithheld = withheld;
        return doc.incomes13.get(doc.incomes13.add(std::move(s)));
    }
};

inline ThirteenIncomeItem item(std::int32_t incomeCode, Money amount, std::int32_t deductionCode = 0,
                               Money deductionAmount = Money{}, std::int16_t month = 1) {
    ThirteenIncomeItem i;
    i.incomeCode = incomeCode;
    i.amount = amount;
    i.deductionCode = deductionCode;
    i.deductionAmount = deductionAmount;
    i.month = month;
    return i;
}

} // namespace kv::test
