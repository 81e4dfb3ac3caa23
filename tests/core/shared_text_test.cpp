#include "core/SharedText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kv;

TEST(SharedText, CopiesShareOneBufferAndOutliveTheOriginal) {
    std::vector<SharedText> lines;
    {
        SharedText name("Заработная плата");
        for (int i = 0; i < 3; ++i)
            lines.push_back(name);
        EXPECT_TRUE(lines[0].sharesWith(name));
    }
    // The original is gone; its copies still hold the text.
    EXPECT_EQ(lines[2], "Заработная плата");
    lines[1] = SharedText("Авторские");
    EXPECT_EQ(lines[0], lines[2]);
    EXPECT_EQ(lines[1].str(), "Авторские");
    lines[0] = lines[0]; // self-assignment keeps the text
    EXPECT_EQ(lines[0], "Заработная плата");
    SharedText moved(std::move(lines[2]));
    EXPECT_TRUE(moved.sharesWith(lines[0]));
}

TEST(SharedText, EqualityIsByText) {
    const SharedText a("77:01:0001"), b(std::string("77:01:0001")), empty, alsoEmpty("");
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a.sharesWith(b));
    EXPECT_NE(a, empty);
    EXPECT_EQ(empty, alsoEmpty);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.str(), "");
    EXPECT_EQ(std::string_view(a).size(), a.size());
}
