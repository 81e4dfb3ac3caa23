#pragma once
// Shared plumbing of the command-line tool: the core speaks Windows-1251, the
// terminal UTF-8, so every text crosses here.
#include "core/Date.h"

#include "core/Text.h"
#include <exception>
#include <optional>

#include <string>
#include <string_view>

namespace kv::cli {

// Writes Windows-1251 text to stdout / stderr as UTF-8, with a newline. A bare carriage
// return of a message (the program's line break) is written as a newline.
void out1251(const Cp1251Text& text);
void err1251(const Cp1251Text& text);
// UTF-8 text straight to stderr, with a newline.
void errUtf8(std::string_view utf8);

// Windows-1251 text as UTF-8 with its bare carriage returns as newlines; the file name
// `path` inside it is kept as given on the command line (the terminal's own encoding).
std::string messageUtf8(const Cp1251Text& text, std::string_view path = {});

// The message of a failure while reading or writing a document, for the user.
Cp1251Text storageMessage(const std::exception& e);
// Writes that message to stderr, naming `path` as the user gave it.
void errStorage(const std::exception& e, const std::string& path);

// The file an import or the export is to write: a regular file or none yet, a symbolic
// link followed to its target. False, with the reason on stderr, for a folder, a FIFO
// or a device, and for an empty path (the default file when there is no user's folder).
bool writableTarget(const std::string& path);

// A wrong call: why (when given), then "Использование: kvilmar-cli " and the command's
// usage, on stderr; gives the exit status of a wrong call, 2.
int usageError(std::string_view usage, std::string_view why = {});

// A date of the form ДД.ММ.ГГГГ with a year of four digits; nullopt otherwise.
std::optional<DateValue> parseCliDate(std::string_view text);

} // namespace kv::cli
