#pragma once
// The program's command line: an optional return to open, alone or after "-p".
#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

// arguments without the program's own name. With one or two arguments: the first,
// unless it is "-p" in any letter case, when the second (or "" with "-p" alone)
// is the path. Otherwise no path: the program starts with a new return.
std::optional<QString> commandLinePath(const QStringList& arguments);

} // namespace kv
