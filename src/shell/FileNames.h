#pragma once
// File names as the file system has them. A name need not be UTF-8: a file unpacked from an
// archive made on Windows keeps its Windows-1251 bytes. Qt's own conversion turns such
// bytes into replacement characters and the file can no longer be found, so the window
// keeps each byte that is not UTF-8 as a character of its own (U+DC80..U+DCFF, which no
// real name holds) and gives the same bytes back when the file is opened or written.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kv {

QString fileNameFromBytes(const QByteArray& bytes);
QByteArray fileNameBytes(const QString& name);
// The name for the person to read: bytes that are not UTF-8 are read as Windows-1251.
QString fileNameForDisplay(const QString& name);
// True when a regular file is at the path (links followed).
bool isRegularFile(const QString& path);

// The program's arguments after its own name, each converted as above.
QStringList argumentsFromBytes(int argc, char** argv);

} // namespace kv
