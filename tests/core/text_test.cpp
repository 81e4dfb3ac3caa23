#include "core/Text.h"
#include "core/TextCheck.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Text, RoundTripsEveryWindows1251Character) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) // the one byte Windows-1251 leaves unassigned
            all += static_cast<char>(b);
    const Cp1251Text text = Cp1251Text::fromBytes(std::move(all));
    EXPECT_EQ(Cp1251Text::fromUtf8(text.utf8()), text);
}

TEST(Text, ConvertsCyrillicBothWays) {
    const std::string utf8 = "Квилмар 2019: ёЁ №«»";
    const Cp1251Text cp = Cp1251Text::fromUtf8(utf8);
    EXPECT_EQ(cp.bytes(), "\xCA\xE2\xE8\xEB\xEC\xE0\xF0 2019: \xB8\xA8 \xB9\xAB\xBB");
    EXPECT_EQ(cp.utf8(), utf8);
}

TEST(Text, UnrepresentableAndMalformedBecomeQuestionMarks) {
    struct Case {
        std::string utf8, cp1251;
    } cases[] = {
        {"a\xE4\xB8\xAD"
         "b",
         "a?b"},                   // CJK character
        {"\xF0\x9F\x98\x80", "?"}, // emoji, four bytes
        {"x\xC3", "x?"},           // cut sequence at the end
        {"\x80z", "?z"},           // stray continuation byte
        {"\xC3\xA9", "?"},         // é has no place in 1251
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp1251Text::fromUtf8(c.utf8).bytes(), c.cp1251) << c.utf8;
    EXPECT_EQ(Cp1251Text::fromBytes(std::string("\x98")).utf8(), "?");
}

TEST(Text, UpperCasesLatinAndCyrillic) {
    EXPECT_EQ(upperCp1251(Cp1251Text::fromUtf8("иванов ёжик abc-123 ґєії")),
              Cp1251Text::fromUtf8("ИВАНОВ ЁЖИК ABC-123 ҐЄІЇ"));
    EXPECT_EQ(upperCp1251(Cp1251Text::fromUtf8("ЯЮЭ")), Cp1251Text::fromUtf8("ЯЮЭ"));
}

TEST(Text, TrimsBlanksAndControlCharacters) {
    EXPECT_EQ(trimText(" \t\r\n abc d \x01\x1F"), "abc d");
    EXPECT_EQ(trimText("   "), "");
    EXPECT_EQ(trimText(""), "");
    EXPECT_EQ(trimText(Cp1251Text::fromUtf8(" Я ")),
              Cp1251Text::fromUtf8("Я")); // 0xDF is a letter, not a blank
}

TEST(Text, ConvertsDosCodePage) {
    // "Москва" and "ёЁ" in code page 866.
    EXPECT_EQ(cp866ToCp1251("\x8C\xAE\xE1\xAA\xA2\xA0 \xF1\xF0"), Cp1251Text::fromUtf8("Москва ёЁ"));
    EXPECT_EQ(cp866ToCp1251("\xC4"), Cp1251Text{"?"}); // box drawing has no 1251 form
}

TEST(Text, XmlEscapedKeepsEveryTextReadableBack) {
    EXPECT_EQ(xmlEscaped(Cp1251Text{"A&B <C> \"D\""}), Cp1251Text{"A&amp;B &lt;C&gt; &quot;D&quot;"});
    EXPECT_EQ(xmlEscaped(Cp1251Text{"a\tb\nc\rd"}), Cp1251Text{"a&#9;b&#10;c&#13;d"});
    EXPECT_EQ(xmlEscaped(Cp1251Text::fromBytes(std::string_view("x\x01y\x1fz", 5))),
              Cp1251Text{"xyz"}); // XML cannot hold them
    EXPECT_EQ(xmlEscaped(Cp1251Text::fromUtf8("Доллар США")), Cp1251Text::fromUtf8("Доллар США"));
}

namespace {

// Russian text written in KOI8-R, as Windows-1251 reads those bytes.
std::string koi8ReadAs1251(const std::string& utf8) {
    static const std::string order = Cp1251Text::fromUtf8("юабцдефгхийклмнопярстужвьызшэщчъ").bytes();
    const Cp1251Text text = Cp1251Text::fromUtf8(utf8);
    std::string out;
    for (const char c : text.bytes()) {
        const auto b = static_cast<unsigned char>(c);
        const bool upper = b >= 0xC0 && b <= 0xDF;
        const std::size_t at =
            b >= 0xC0 ? order.find(static_cast<char>(upper ? b + 0x20 : b)) : std::string::npos;
        out += at == std::string::npos ? c : static_cast<char>((upper ? 0xE0 : 0xC0) + at);
    }
    return out;
}

} // namespace

// Names from a file whose declared encoding is wrong: UTF-8 or KOI8-R bytes taken for
// Windows-1251. Capitals after capitals, Latin names and Ё stay Russian text.
TEST(Text, TellsRussianTextReadInAnotherCodePage) {
    const std::string names = "Доллар США\nЕвро\nЯпонских иен\nСДР (специальные права заимствования)\n";
    const std::pair<Cp1251Text, bool> cases[] = {
        {Cp1251Text::fromUtf8(names), true},
        {Cp1251Text::fromUtf8("ИФНС России № 1 по г.Москве, ОКВЭД, ЦБ РФ, Ёлкинская"), true},
        {Cp1251Text{"US Dollar, Euro"}, true},
        {Cp1251Text{}, true},
        {Cp1251Text::fromBytes(names), false}, // the UTF-8 bytes themselves
        {Cp1251Text::fromBytes(koi8ReadAs1251(names)), false},
        {Cp1251Text::fromBytes(koi8ReadAs1251("Выращивание зерновых культур")), false},
    };
    for (const auto& [text, russian] : cases)
        EXPECT_EQ(readsAsRussian(text), russian) << text.utf8();
}
