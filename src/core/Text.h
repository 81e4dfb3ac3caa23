#pragma once
// Text in the core is Windows-1251 bytes, exactly as stored in documents and written into
// the tax service's XML; source files, the window and the command line's output are UTF-8.
// Both travel as bytes, so the 1251 text has a type of its own: mixing them up does not compile.
#include <compare>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

// An ASCII literal (codes, stream values like "1", ".."), checked when compiled: a Russian
// literal can never pass as Windows-1251 without being converted.
//     Cp1251Text x{"РОССИЯ"}; // does not compile: use Cp1251Text::fromUtf8("РОССИЯ")
class AsciiText {
public:
    template <std::size_t N> consteval AsciiText(const char (&text)[N]) : text_(text, N - 1) {
        for (std::size_t i = 0; i + 1 < N; ++i)
            if (static_cast<unsigned char>(text[i]) >= 0x80)
                throw "a literal beyond ASCII must be converted from UTF-8";
    }
    constexpr std::string_view view() const { return text_; }

private:
    std::string_view text_;
};

class Cp1251Text {
public:
    Cp1251Text() = default;
    Cp1251Text(AsciiText ascii) : bytes_(ascii.view()) {}
    // Bytes known to be Windows-1251: a document, a directory file.
    static Cp1251Text fromBytes(std::string&& bytes);
    static Cp1251Text fromBytes(std::string_view bytes) { return fromBytes(std::string(bytes)); }
    // Characters that Windows-1251 cannot hold become '?'; malformed UTF-8 too.
    static Cp1251Text fromUtf8(std::string_view utf8);
    // A whole number in decimal digits (codes, counts).
    static Cp1251Text number(long long value) { return fromBytes(std::to_string(value)); }

    // For byte-wise work: checks, storage, hashing.
    const std::string& bytes() const noexcept { return bytes_; }
    std::string utf8() const;
    bool empty() const noexcept { return bytes_.empty(); }
    std::size_t size() const noexcept { return bytes_.size(); }
    char operator[](std::size_t i) const noexcept { return bytes_[i]; }
    bool starts_with(const Cp1251Text& head) const noexcept { return bytes_.starts_with(head.bytes_); }
    bool starts_with(AsciiText head) const noexcept { return bytes_.starts_with(head.view()); }
    // A part of 1251 text is 1251 text; positions and lengths in bytes.
    Cp1251Text substr(std::size_t pos, std::size_t count = std::string::npos) const {
        return fromBytes(std::string_view(bytes_).substr(pos, count));
    }
    void clear() noexcept { bytes_.clear(); }

    Cp1251Text& operator=(AsciiText ascii) {
        bytes_.assign(ascii.view());
        return *this;
    }
    Cp1251Text& operator+=(const Cp1251Text& more) {
        bytes_ += more.bytes_;
        return *this;
    }
    Cp1251Text& operator+=(AsciiText more) {
        bytes_ += more.view();
        return *this;
    }
    friend Cp1251Text operator+(Cp1251Text a, const Cp1251Text& b) { return a += b; }
    friend Cp1251Text operator+(Cp1251Text a, AsciiText b) { return a += b; }
    friend Cp1251Text operator+(AsciiText a, const Cp1251Text& b) { return Cp1251Text(a) += b; }

    friend bool operator==(const Cp1251Text& a, const Cp1251Text& b) noexcept = default;
    friend bool operator==(const Cp1251Text& a, AsciiText b) noexcept { return a.bytes_ == b.view(); }
    // Byte order, as the directories and the export sort.
    friend std::strong_ordering operator<=>(const Cp1251Text& a, const Cp1251Text& b) noexcept {
        return a.bytes_.compare(b.bytes_) <=> 0;
    }

private:
    struct Taken {};
    Cp1251Text(Taken, std::string&& bytes) noexcept : bytes_(std::move(bytes)) {}
    std::string bytes_;
};

// A failure whose what() is Windows-1251 text for the person.
class Cp1251Error : public std::runtime_error {
public:
    explicit Cp1251Error(const Cp1251Text& message) : std::runtime_error(message.bytes()) {}
    Cp1251Text message() const { return Cp1251Text::fromBytes(std::string_view(what())); }
};

// Upper case as the export needs it: Latin and Cyrillic letters, "ё" → "Ё".
Cp1251Text upperCp1251(const Cp1251Text& text);

// Trim blanks and control characters (bytes <= 0x20) on both sides: of 1251 text, or of any
// bytes (the lines of an imported file before they are known to be 1251).
Cp1251Text trimText(const Cp1251Text& text);
std::string trimText(std::string_view bytes);

// Text for an XML attribute or element: "&", "<", ">" and '"' as entities, tab, line
// feed and carriage return as character references, other control characters left out
// (XML cannot hold them).
Cp1251Text xmlEscaped(const Cp1251Text& text);

// Code page 866 (DOS) to Windows-1251, for the tax service's dBASE classifier.
Cp1251Text cp866ToCp1251(std::string_view cp866);

} // namespace kv

template <> struct std::hash<kv::Cp1251Text> {
    std::size_t operator()(const kv::Cp1251Text& text) const noexcept {
        return std::hash<std::string>{}(text.bytes());
    }
};
