// "Повторить доход": the copy of a line goes where month order wants it.
#include "screens/rules/ThirteenRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

std::vector<ThirteenIncomeItem> linesOfMonths(std::initializer_list<int> months) {
    std::vector<ThirteenIncomeItem> lines;
    for (int month : months) {
        ThirteenIncomeItem line;
        line.month = static_cast<std::int16_t>(month);
        lines.push_back(line);
    }
    return lines;
}

TEST(RepeatedIncome, GoesAfterTheLinesUpToItsMonth) {
    const struct {
        std::initializer_list<int> months;
        int repeated;
        int expected;
    } cases[] = {
        {{1}, 0, 1},             // the only line
        {{1, 2, 3}, 2, 3},       // the last month's line: appended
        {{1, 2, 3}, 0, 2},       // January repeated: after February, before March
        {{1, 1, 2, 2, 3}, 0, 4}, // after every February line
        {{12, 12}, 0, 2},        // December stays December, after the other one
        {{3, 5}, 0, 1},          // April: before May
        {{3, 1}, 0, 2},          // a list out of order: past the earlier month
        {{0, 5}, 0, 1},          // no month given: the copy is January, before May
    };
    for (const auto& c : cases) {
        const auto lines = linesOfMonths(c.months);
        const ThirteenIncomeItem copy = repeatedIncome(lines.at(static_cast<std::size_t>(c.repeated)));
        EXPECT_EQ(repeatedIncomePosition(lines, c.repeated, copy.month), c.expected)
            << "line " << c.repeated << " of " << lines.size();
    }
}

} // namespace
} // namespace kv
