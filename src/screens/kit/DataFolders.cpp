#include "screens/kit/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kv {

QString withSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString userDataFolder() {
    // The generic location, not the application's own, which would be named after the
    // organisation and the Russian title; the command-line tool finds the same folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : withSlash(base + QStringLiteral("/kvilmar"));
}

QString executableFolder() {
    return withSlash(QCoreApplication::applicationDirPath());
}

QStringList dataFolders(const QString& userFolder, const QString& programFolder) {
    QStringList folders;
    if (!userFolder.isEmpty())
        folders.append(withSlash(userFolder));
    folders.append(withSlash(programFolder));
    folders.append(withSlash(QDir::cleanPath(programFolder + QStringLiteral("/../share/kvilmar"))));
    return folders;
}

QString findInFolders(const QStringList& folders, const QString& relative) {
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && QFileInfo::exists(folder + relative))
            return folder;
    }
    return {};
}

} // namespace kv
