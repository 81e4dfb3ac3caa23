#include "core/TextCheck.h"

#include <cstddef>

namespace kv {

bool looksUtf8(std::string_view s) {
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            n = 1;
        else if ((c & 0xF0) == 0xE0)
            n = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        wide = true;
        i += n + 1;
    }
    return wide;
}

namespace {

enum class LetterCase { None, Upper, Lower };

LetterCase russianLetter(unsigned char c) {
    if (c == 0xA8 || (c >= 0xC0 && c <= 0xDF))
        return LetterCase::Upper;
    if (c == 0xB8 || c >= 0xE0)
        return LetterCase::Lower;
    return LetterCase::None;
}

} // namespace

bool readsAsRussian(const Cp1251Text& cp1251) {
    const std::string_view text = cp1251.bytes();
    if (looksUtf8(text))
        return false;
    // Real names have a capital inside a word only after capitals ("ОКВЭД", "ЦБ РФ");
    // one word in twenty running from a small letter into a capital is no Russian text.
    std::size_t words = 0;
    std::size_t turned = 0;
    LetterCase previous = LetterCase::None;
    bool inWord = false;
    bool wordTurned = false;
    for (const char ch : text) {
        const LetterCase now = russianLetter(static_cast<unsigned char>(ch));
        if (now == LetterCase::None) {
            inWord = false;
            previous = now;
            continue;
        }
        if (!inWord) {
            inWord = true;
            wordTurned = false;
            ++words;
        } else if (previous == LetterCase::Lower && now == LetterCase::Upper && !wordTurned) {
            wordTurned = true;
            ++turned;
        }
        previous = now;
    }
    return turned == 0 || turned * 20 < words;
}

} // namespace kv
