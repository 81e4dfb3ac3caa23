#pragma once
// Breaking UTF-8 text into lines of at most so many characters, the way the
// printed sheets fill their columns.
#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

// Characters (code points) of UTF-8 text.
std::size_t utf8Length(std::string_view text);

// Greedy word wrap: breaks at blanks, and inside a word only when the word alone
// is longer than a line. Never returns an empty list: empty text gives one empty line.
std::vector<std::string> wrapText(std::string_view text, std::size_t maxChars);

} // namespace kv::print
