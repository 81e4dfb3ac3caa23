#include "core/SharedText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kv;

TEST(SharedText, CopiesShareOneBufferAndOutliveTheOriginal) {
    std::vector<SharedText> lines;
    {
        const Cp1251Text salary = Cp1251Text::fromUtf8("Заработная плата");
        SharedText name(salary);
        for (int i = 0; i < 3; ++i)
            lines.push_back(name);
        EXPECT_TRUE(lines[0].sharesWith(name));
    }
    // The original is gone; its copies still hold the text.
    EXPECT_EQ(lines[2], Cp1251Text::fromUtf8("Заработная плата"));
    lines[1] = SharedText(Cp1251Text::fromUtf8("Авторские"));
    EXPECT_EQ(lines[0], lines[2]);
    EXPECT_EQ(lines[1].str(), Cp1251Text::fromUtf8("Авторские"));
    lines[0] = lines[0]; // self-assignment keeps the text
    EXPECT_EQ(lines[0], Cp1251Text::fromUtf8("Заработная плата"));
    SharedText moved(std::move(lines[2]));
    EXPECT_TRUE(moved.sharesWith(lines[0]));
}

TEST(SharedText, EqualityIsByText) {
    const SharedText a("77:01:0001"), b(Cp1251Text::fromBytes(std::string("77:01:0001"))), empty,
        alsoEmpty("");
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a.sharesWith(b));
    EXPECT_NE(a, empty);
    EXPECT_EQ(empty, alsoEmpty);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.str(), Cp1251Text{});
    EXPECT_EQ(a.bytes().size(), a.size());
}
