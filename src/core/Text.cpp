#include "core/Text.h"

#include <array>
#include <cstdint>
#include <utility>

namespace kv {
namespace {

// Unicode code points of Windows-1251 bytes 0x80..0xBF; 0 marks the one unassigned byte (0x98).
constexpr std::array<char16_t, 64> kHigh1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t codePointOf(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHigh1251[b - 0x80];
}

char byteOf(char32_t cp) {
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHigh1251.size(); ++i)
        if (kHigh1251[i] != 0 && kHigh1251[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns the code point or U+FFFD and advances i.
char32_t decodeUtf8(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

unsigned char upperByte(unsigned char b) {
    if (b >= 'a' && b <= 'z')
        return b - 0x20;
    if (b >= 0xE0)
        return b - 0x20;
    switch (b) {
    case 0xB8:
        return 0xA8; // ё
    case 0x83:
        return 0x81;
    case 0x90:
        return 0x80;
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9D:
        return 0x8D;
    case 0x9E:
        return 0x8E;
    case 0x9F:
        return 0x8F;
    case 0xA2:
        return 0xA1;
    case 0xBC:
        return 0xA3;
    case 0xB4:
        return 0xA5;
    case 0xBA:
        return 0xAA;
    case 0xBF:
        return 0xAF;
    case 0xB3:
        return 0xB2;
    case 0xBE:
        return 0xBD;
    default:
        return b;
    }
}

// Code page 866 bytes 0xF0..0xFF in Windows-1251; '?' where 1251 has no such character.
constexpr std::array<unsigned char, 16> kTail866 = {0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2,
                                                    0xB0, '?',  0xB7, '?',  0xB9, 0xA4, '?',  0xA0};

} // namespace

Cp1251Text Cp1251Text::fromBytes(std::string&& bytes) {
    return Cp1251Text(Taken{}, std::move(bytes));
}

std::string Cp1251Text::utf8() const {
    std::string out;
    out.reserve(bytes_.size() * 2);
    for (unsigned char b : bytes_) {
        const char32_t cp = codePointOf(b);
        appendUtf8(out, cp == 0 && b != 0 ? U'?' : cp);
    }
    return out;
}

Cp1251Text Cp1251Text::fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out += byteOf(decodeUtf8(utf8, i));
    return Cp1251Text(Taken{}, std::move(out));
}

Cp1251Text upperCp1251(const Cp1251Text& text) {
    std::string out = text.bytes();
    for (char& c : out)
        c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
    return Cp1251Text::fromBytes(std::move(out));
}

std::string trimText(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t b = 0, e = text.size();
    while (b < e && blank(text[b]))
        ++b;
    while (e > b && blank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

Cp1251Text trimText(const Cp1251Text& text) {
    return Cp1251Text::fromBytes(trimText(std::string_view(text.bytes())));
}

Cp1251Text cp866ToCp1251(std::string_view cp866) {
    std::string out;
    out.reserve(cp866.size());
    for (unsigned char b : cp866) {
        unsigned char r = b;
        if (b >= 0x80 && b <= 0xAF)
            r = b + 0x40;
        else if (b >= 0xE0 && b <= 0xEF)
            r = b + 0x10;
        else if (b >= 0xF0)
            r = kTail866[b - 0xF0];
        else if (b >= 0xB0)
            r = '?';
        out += static_cast<char>(r);
    }
    return Cp1251Text::fromBytes(std::move(out));
}

Cp1251Text xmlEscaped(const Cp1251Text& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text.bytes()) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            // Other control characters cannot stand in XML at all.
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    return Cp1251Text::fromBytes(std::move(out));
}

} // namespace kv
