#pragma once
// Where the window finds its directory files and help pages, and where the imports
// write the user's own copies: the user's data folder first, then the program's folder
// (a build tree keeps everything beside the executable), then ../share/kvilmar beside
// it (an installed program). Every folder ends in "/".
#include <QString>
#include <QStringList>

namespace kv {

// XDG_DATA_HOME/kvilmar (~/.local/share/kvilmar), the folder the command-line tool
// uses too; not created here.
QString userDataFolder();
// The executable's folder.
QString executableFolder();
QStringList dataFolders(const QString& userFolder, const QString& programFolder);
// The first folder holding the relative path (a file or a folder); empty when none does.
QString findInFolders(const QStringList& folders, const QString& relative);
// The folder as a path with a final "/".
QString withSlash(const QString& folder);

} // namespace kv
