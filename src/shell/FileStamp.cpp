#include "shell/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

QByteArray digestOf(const QString& path) {
    // Only a regular file is read: opening a FIFO put in its place would wait for ever.
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result();
}

} // namespace

FileStamp FileStamp::of(const QString& path) {
    return FileStamp{path, digestOf(path)};
}

bool FileStamp::changedOnDisk() const {
    if (path.isEmpty())
        return false;
    const QByteArray now = digestOf(path);
    return !now.isEmpty() && now != digest;
}

} // namespace kv
