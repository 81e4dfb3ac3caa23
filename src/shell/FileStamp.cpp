#include "shell/FileStamp.h"

#include "shell/FileNames.h"

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>

namespace kv {

namespace {

QByteArray digestOf(const QString& path) {
    // Only a regular file is read: opening a FIFO put in its place would wait for ever.
    // Opened by its bytes, which need not be UTF-8.
    if (!isRegularFile(path))
        return {};
    const struct Stream {
        std::FILE* f;
        ~Stream() {
            if (f != nullptr)
                std::fclose(f);
        }
    } stream{std::fopen(fileNameBytes(path).constData(), "rb")};
    QFile file;
    if (stream.f == nullptr || !file.open(stream.f, QIODevice::ReadOnly))
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
