#pragma once
// The window settings kept for the user between runs, in the program's settings file.
#include <QRect>
#include <QString>
#include <optional>

namespace kv {

inline const QString kSettingShowStdToolbar = QStringLiteral("ShowStdToolbar");
inline const QString kSettingTextLabels = QStringLiteral("TextLabels");

struct ToolbarSettings {
    bool showStdToolbar = true;
    bool textLabels = true;
};

// Missing values, and settings that cannot be read, count as true.
ToolbarSettings readToolbarSettings();
// Failures to write are silent: the change still takes effect on screen.
void writeToolbarSetting(const QString& name, bool value);
// Where the window stood when it closed: its frame's corner, the size of its contents
// when not maximized, and whether it was maximized.
struct WindowPlacement {
    bool maximized = false;
    QRect normal; // position of the frame, size of the contents
};

// Written on closing; read at the next start (nullopt: none kept, or not usable).
void writeWindowPlacement(const WindowPlacement& placement);
std::optional<WindowPlacement> readWindowPlacement();

} // namespace kv
