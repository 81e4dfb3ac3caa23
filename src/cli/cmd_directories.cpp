// Which directory files the program reads and from where: one line per file with its
// state and path, so that a user (or a package test) sees that an installed program
// finds what it ships and that an imported copy takes the shipped one's place.
#include "cli/CliFolders.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <iostream>

namespace kv::cli {

namespace {

const char* stateText(DirectoryState state) {
    switch (state) {
    case DirectoryState::Loaded:
        return "прочитан";
    case DirectoryState::Unreadable:
        return "не читается";
    case DirectoryState::Missing:
        break;
    }
    return "не найден";
}

} // namespace

int cmdDirectories(const Args& args) {
    if (!args.empty()) {
        return usageError("directories", "Неизвестный аргумент: " + args.front());
    }
    const DataFolders folders = dataFolders();
    const Directories dirs = loadDirectories(folders);
    const std::pair<const char*, DirectoryState> files[] = {
        {kInspectionsFile, dirs.inspectionsState},
        {kCountriesFile, dirs.countriesState},
        {kOkvedFile, dirs.okvedState},
        {kCurrencyRatesFile, dirs.currencyRatesState},
    };
    for (const auto& [name, state] : files) {
        const std::filesystem::path where = findDataFile(folders, name);
        std::cout << name << '\t' << stateText(state) << '\t' << where.string() << '\n';
    }
    std::cout << "Папки поиска:";
    for (const auto& folder : folders)
        std::cout << ' ' << folder.string();
    std::cout << '\n';
    return dirs.inspectionsState == DirectoryState::Loaded ? 0 : 2;
}

} // namespace kv::cli
