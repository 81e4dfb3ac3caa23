#include "shell/CommandLine.h"

namespace kv {

std::optional<QString> commandLinePath(const QStringList& arguments) {
    if (arguments.size() != 1 && arguments.size() != 2)
        return std::nullopt;
    if (arguments.first().toLower() != QStringLiteral("-p"))
        return arguments.first();
    return arguments.value(1);
}

} // namespace kv
