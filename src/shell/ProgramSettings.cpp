#include "shell/ProgramSettings.h"

#include <QFile>

namespace kv {

namespace {

void adoptEarlierSettings(QSettings& settings) {
    const QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ЗЕНТАР"),
                            QStringLiteral("Квилмар 2019"));
    if (!QFile::exists(earlier.fileName()))
        return;
    for (const QString& key : earlier.allKeys())
        settings.setValue(key, earlier.value(key));
    settings.sync();
}

} // namespace

std::unique_ptr<QSettings> openProgramSettings() {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("kvilmar"), QStringLiteral("kvilmar"));
    if (!QFile::exists(settings->fileName()))
        adoptEarlierSettings(*settings);
    return settings;
}

} // namespace kv
