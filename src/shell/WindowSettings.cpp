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

void writeWindowPlacement(bool maximized, const QRect& frame) {
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(QStringLiteral("FullScreen"), maximized);
    settings->setValue(QStringLiteral("wLeft"), frame.left());
    settings->setValue(QStringLiteral("wTop"), frame.top());
    settings->setValue(QStringLiteral("wWidth"), frame.width());
    settings->setValue(QStringLiteral("wHeight"), frame.height());
    settings->sync();
}

} // namespace kv
