#include "shell/WindowSettings.h"

#include "shell/ProgramSettings.h"

#include <QSettings>
#include <memory>

namespace kv {

namespace {

std::unique_ptr<QSettings> openSettings() {
    return openProgramSettings();
}

} // namespace

ToolbarSettings readToolbarSettings() {
    const std::unique_ptr<QSettings> settings = openSettings();
    ToolbarSettings result;
    if (settings->status() != QSettings::NoError)
        return result;
    result.showStdToolbar = settings->value(kSettingShowStdToolbar, true).toBool();
    result.textLabels = settings->value(kSettingTextLabels, true).toBool();
    return result;
}

void writeToolbarSetting(const QString& name, bool value) {
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(name, value);
    settings->sync();
}

void writeWindowPlacement(const WindowPlacement& placement) {
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(QStringLiteral("FullScreen"), placement.maximized);
    settings->setValue(QStringLiteral("wLeft"), placement.normal.left());
    settings->setValue(QStringLiteral("wTop"), placement.normal.top());
    settings->setValue(QStringLiteral("wWidth"), placement.normal.width());
    settings->setValue(QStringLiteral("wHeight"), placement.normal.height());
    settings->sync();
}

std::optional<WindowPlacement> readWindowPlacement() {
    const std::unique_ptr<QSettings> settings = openSettings();
    const auto number = [&settings](const char* name) {
        bool ok = false;
        const int value = settings->value(QString::fromLatin1(name)).toInt(&ok);
        return ok ? std::optional<int>(value) : std::nullopt;
    };
    const std::optional<int> left = number("wLeft"), top = number("wTop"), width = number("wWidth"),
                             height = number("wHeight");
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return WindowPlacement{settings->value(QStringLiteral("FullScreen")).toBool(),
                           QRect(*left, *top, *width, *height)};
}

} // namespace kv
