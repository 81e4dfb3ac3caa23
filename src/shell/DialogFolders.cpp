#include "shell/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kv {

QString dialogStartFolder(const QString& documentPath) {
    if (!documentPath.isEmpty()) {
        const QFileInfo file(documentPath);
        if (file.absoluteDir().exists())
            return file.absolutePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

WorkingFolder::WorkingFolder(const QString& folder) : previous_(QDir::currentPath()) {
    QDir::setCurrent(folder);
}

WorkingFolder::~WorkingFolder() {
    QDir::setCurrent(previous_);
}

} // namespace kv
