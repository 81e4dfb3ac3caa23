#include "print/TextWrap.h"

namespace kv::print {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Byte offset after n characters from the start of text (or its size).
std::size_t advance(std::string_view text, std::size_t n) {
    std::size_t i = 0;
    while (i < text.size() && n > 0) {
        ++i;
        while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i])))
            ++i;
        --n;
    }
    return i;
}

} // namespace

std::size_t utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if (!isContinuation(static_cast<unsigned char>(c)))
            ++n;
    return n;
}

std::vector<std::string> wrapText(std::string_view text, std::size_t maxChars) {
    if (maxChars == 0)
        maxChars = 1;
    std::vector<std::string> lines;
    std::string line;
    std::size_t lineLength = 0;
    auto flush = [&] {
        lines.push_back(line);
        line.clear();
        lineLength = 0;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ' || text[pos] == '\n' || text[pos] == '\r' || text[pos] == '\t') {
            if (text[pos] == '\n' && (lineLength > 0 || !line.empty()))
                flush();
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n' && text[end] != '\r' &&
               text[end] != '\t')
            ++end;
        std::string_view word = text.substr(pos, end - pos);
        pos = end;
        std::size_t wordLength = utf8Length(word);
        if (lineLength > 0 && lineLength + 1 + wordLength <= maxChars) {
            line += ' ';
            line += word;
            lineLength += 1 + wordLength;
            continue;
        }
        if (lineLength > 0)
            flush();
        while (wordLength > maxChars) {
            const std::size_t cut = advance(word, maxChars);
            lines.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
            wordLength -= maxChars;
        }
        line = std::string(word);
        lineLength = wordLength;
    }
    if (lineLength > 0 || lines.empty())
        flush();
    return lines;
}

} // namespace kv::print
