#pragma once
// The one place where Windows-1251 text of the core meets Qt's Unicode strings,
// and the texts every window of the program shares.
#include "core/Text.h"

#include <QString>

namespace kv {

inline QString fromCp1251(const Cp1251Text& text) {
    return QString::fromStdString(text.utf8());
}

inline Cp1251Text toCp1251(const QString& text) {
    return Cp1251Text::fromUtf8(text.toStdString());
}

// What a failure says: a Cp1251Error's text, or the library's own ASCII text of any
// other failure (out of memory).
inline QString failureText(const std::exception& failure) {
    if (const auto* text = dynamic_cast<const Cp1251Error*>(&failure))
        return fromCp1251(text->message());
    return fromCp1251(Cp1251Text::fromBytes(std::string_view(failure.what())));
}

// The program's title: message boxes, the task bar, the end of the window title.
inline QString programTitle() {
    return QStringLiteral("Квилмар 2019");
}

} // namespace kv
