#include "core/Text.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace kv;

// A Russian literal cannot pass as Windows-1251 text: the literal check of AsciiText
// stops it when compiled.
//     Cp1251Text country{"РОССИЯ"};        // does not compile
//     Cp1251Text code = std::string("643"); // does not compile either: bytes need fromBytes
TEST(Cp1251Text, AsciiLiteralsAreTheirOwnBytes) {
    const Cp1251Text code{"643"};
    EXPECT_EQ(code.bytes(), "643");
    EXPECT_TRUE(code == "643");
    EXPECT_FALSE(code == "64");
    Cp1251Text sign;
    EXPECT_TRUE(sign.empty());
    sign = "1";
    sign += Cp1251Text{"2"};
    sign += "3";
    EXPECT_EQ(sign.bytes(), "123");
    EXPECT_EQ((Cp1251Text{"a"} + "b" + Cp1251Text::fromBytes(std::string_view("\xC0"))).bytes(), "ab\xC0");
}

TEST(Cp1251Text, EveryByteValueSurvivesFromBytes) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const Cp1251Text text = Cp1251Text::fromBytes(all);
    EXPECT_EQ(text.bytes(), all);
    EXPECT_EQ(text.size(), 256u);
    EXPECT_EQ(text.substr(0xC0, 2).bytes(), "\xC0\xC1");
}

TEST(Cp1251Text, FromUtf8MarksWhatWindows1251CannotHold) {
    EXPECT_EQ(Cp1251Text::fromUtf8("Ёж").bytes(), "\xA8\xE6");
    // A Chinese character, an emoji and malformed UTF-8 each become one '?'.
    EXPECT_EQ(Cp1251Text::fromUtf8("a\xE4\xB8\xAD"
                                   "b\xF0\x9F\x98\x80"
                                   "c\xFF")
                  .bytes(),
              "a?b?c?");
    EXPECT_EQ(Cp1251Text::fromUtf8("№ «Дом»").utf8(), "№ «Дом»");
}

TEST(Cp1251Text, OrdersAsUnsignedBytes) {
    const Cp1251Text latin{"Z"};
    const Cp1251Text cyrillic = Cp1251Text::fromUtf8("А"); // 0xC0, above every ASCII byte
    EXPECT_LT(latin, cyrillic);
    EXPECT_LT(Cp1251Text{"ab"}, Cp1251Text{"b"});
    EXPECT_LT(Cp1251Text{"a"}, Cp1251Text{"ab"});
    const std::unordered_set<Cp1251Text> set{latin, cyrillic, Cp1251Text{"Z"}};
    EXPECT_EQ(set.size(), 2u);
}
