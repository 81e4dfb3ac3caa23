#pragma once
// What a return's file held when this window last read or wrote it, so that a file
// another window or program has replaced since is noticed before it is written over.
#include <QByteArray>
#include <QString>

namespace kv {

struct FileStamp {
    QString path;      // absolute; empty for a return without a file
    QByteArray digest; // of the file's bytes; empty when there was no file to read

    // The file at path as it is now.
    static FileStamp of(const QString& path);
    // True when the file at path now holds other bytes than it did (a file since
    // removed is not: writing it back loses nothing).
    bool changedOnDisk() const;
};

} // namespace kv
