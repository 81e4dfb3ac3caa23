#include "core/StreamNameSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;

TEST(StreamNameSet, EachNameIsNewOnceAndOnlyOnce) {
    // The same number with another count of digits, digits inside a prefix, a run of
    // digits too long for a bitmap and names without digits are all different names.
    const std::vector<std::string> names{"@SourseIncome000000",
                                         "@SourseIncome000001",
                                         "@SourseIncome999999",
                                         "@SourseIncome00000",
                                         "@SourseIncome0",
                                         "@SourseIncome",
                                         "@ThirteenPercent000",
                                         "@ThirteenPercent0",
                                         "@Thirteen0Percent000",
                                         "@DeclInfo",
                                         "@X12345678901",
                                         "@X2345678901",
                                         "@A1",
                                         "@A01",
                                         "@",
                                         "123",
                                         "0123"};
    StreamNameSet set;
    for (const auto& name : names)
        EXPECT_TRUE(set.insert(name)) << name;
    for (const auto& name : names)
        EXPECT_FALSE(set.insert(name)) << name;
    set.clear();
    EXPECT_TRUE(set.insert("@SourseIncome000001"));
}

TEST(StreamNameSet, NumbersOfOnePrefixInAnyOrder) {
    StreamNameSet set;
    std::vector<std::string> names;
    for (int i = 999; i >= 0; i -= 7)
        names.push_back("@SSCDeducts" + std::string(3 - std::to_string(i).size(), '0') + std::to_string(i) +
                        "000");
    for (const auto& name : names)
        EXPECT_TRUE(set.insert(name)) << name;
    EXPECT_TRUE(set.insert("@SSCDeducts001000"));
    for (const auto& name : names)
        EXPECT_FALSE(set.insert(name)) << name;
}
