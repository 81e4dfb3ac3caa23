// Wrapping texts into the columns of the printed sheets.
#include "print/TextWrap.h"

#include <gtest/gtest.h>

namespace kv::print {
namespace {

struct WrapCase {
    const char* text;
    std::size_t width;
    std::vector<std::string> lines;
};

TEST(TextWrap, BreaksAtBlanksAndSplitsOnlyOverlongWords) {
    const WrapCase cases[] = {
        {"", 10, {""}},
        {"960000.00", 26, {"960000.00"}},
        {"ОВД РАЙОНА ХАМОВНИКИ", 9, {"ОВД", "РАЙОНА", "ХАМОВНИКИ"}},
        // Cyrillic letters count as one character each, not as their two UTF-8 bytes.
        {"ОВД РАЙОНА", 10, {"ОВД РАЙОНА"}},
        {"АБВГДЕЖЗИКЛМ", 5, {"АБВГД", "ЕЖЗИК", "ЛМ"}},
        {"a  b   c", 3, {"a b", "c"}},
        {"ab 123456789", 4, {"ab", "1234", "5678", "9"}},
    };
    for (const WrapCase& c : cases)
        EXPECT_EQ(wrapText(c.text, c.width), c.lines) << c.text << " / " << c.width;
}

TEST(TextWrap, KeepsEveryCharacterOfTheText) {
    const std::string text = "ДОВЕРЕННОСТЬ № 77АБ 1234567 ОТ 10.01.2020 ВЫДАННАЯ НОТАРИУСОМ Г. МОСКВЫ "
                             "ИВАНОВОЙ-ПЕТРОВОЙ-СИДОРОВОЙ-КУЗНЕЦОВОЙ";
    for (std::size_t width : {1u, 7u, 26u, 58u}) {
        std::string joined;
        for (const std::string& line : wrapText(text, width)) {
            EXPECT_LE(utf8Length(line), width);
            joined += line;
        }
        std::string withoutBlanks;
        for (char ch : text)
            if (ch != ' ')
                withoutBlanks += ch;
        EXPECT_EQ(joined.size() - static_cast<std::size_t>(std::count(joined.begin(), joined.end(), ' ')),
                  withoutBlanks.size());
    }
}

} // namespace
} // namespace kv::print
