#pragma once
// Shared plumbing of the command-line tool: the core speaks Windows-1251, the
// terminal UTF-8, so every text crosses here.
#include <string>
#include <string_view>

namespace kv::cli {

// Writes Windows-1251 text to stdout / stderr as UTF-8, with a newline.
void out1251(std::string_view cp1251);
void err1251(std::string_view cp1251);
// UTF-8 text straight to stderr, with a newline.
void errUtf8(std::string_view utf8);

// The message of a failure while reading or writing a document, for the user.
std::string storageMessage(const std::exception& e);

} // namespace kv::cli
