#pragma once
// The window settings kept for the user between runs, in the program's settings file.
#include <QRect>
#include <QString>

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
// Written on closing and never read back.
void writeWindowPlacement(bool maximized, const QRect& frame);

} // namespace kv
