#pragma once
// The program's command line: an optional return to open, alone or after "-p".
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace kv {

// arguments without the program's own name. With one or two arguments: the first,
// unless it is "-p" in any letter case, when the second (or "" with "-p" alone)
// is the path. Otherwise no path: the program starts with a new return.
std::optional<QString> commandLinePath(const QStringList& arguments);

// What the window program answers without opening a window: "--help" and
// "--version" print and end well; any other argument starting with "--" is refused,
// so that it is not taken for a file to open.
struct CommandLineAnswer {
    std::string text; // UTF-8, for standard output (status 0) or standard error
    int status = 0;
};
std::optional<CommandLineAnswer> commandLineAnswer(const QStringList& arguments);

} // namespace kv
