#pragma once
// Where the command-line tool finds the directory files, and where its imports write
// the user's own copies. The same folders as the window's, worked out without Qt.
#include "reference/Directories.h"

#include <filesystem>

namespace kv::cli {

// $XDG_DATA_HOME/kvilmar, or ~/.local/share/kvilmar when that is unset or relative.
std::filesystem::path userDataFolder();
// The user's folder, the executable's folder (a build tree) and ../share/kvilmar beside
// it (an installed program), in that order.
DataFolders dataFolders();
// The user's folder, created when missing, joined with the file's name: the default
// output of an import. On a failure to create it the path is still returned, and
// writing there reports the failure. Empty when there is no user's folder (no HOME):
// the current folder is no place for a directory the program would never read.
std::filesystem::path userDataFile(const char* name);

} // namespace kv::cli
