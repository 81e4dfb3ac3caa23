#include "cli/CliFolders.h"

#include <cstdlib>

namespace kv::cli {

namespace {

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

} // namespace

std::filesystem::path userDataFolder() {
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
    std::filesystem::path base = environmentPath("XDG_DATA_HOME");
    if (base.empty() || base.is_relative()) {
        const std::filesystem::path home = environmentPath("HOME");
        if (home.empty())
            return {};
        base = home / ".local" / "share";
    }
    return base / "kvilmar";
}

DataFolders dataFolders() {
    const std::filesystem::path program = programFolder();
    return {userDataFolder(), program, (program / ".." / "share" / "kvilmar").lexically_normal()};
}

std::filesystem::path userDataFile(const char* name) {
    const std::filesystem::path folder = userDataFolder();
    if (folder.empty())
        return {};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder / name;
}

} // namespace kv::cli
