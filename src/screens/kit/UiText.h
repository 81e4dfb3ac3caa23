#pragma once
// The one place where Windows-1251 text of the core meets Qt's Unicode strings,
// and the texts every window of the program shares.
#include "core/Text.h"

#include <QString>
#include <string>
#include <string_view>

namespace kv {

inline QString fromCp1251(std::string_view text) {
    return QString::fromStdString(cp1251ToUtf8(text));
}

inline std::string toCp1251(const QString& text) {
    return utf8ToCp1251(text.toStdString());
}

// The program's title: message boxes, the task bar, the end of the window title.
inline QString programTitle() {
    return QStringLiteral("Квилмар 2019");
}

} // namespace kv
