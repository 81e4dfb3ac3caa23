#pragma once
// Replacing a file beside the program as a whole: the new text is written to a
// temporary file in the same folder, synced, and renamed over the old one, so a
// failure at any point leaves the old file as it was.
#include "core/Text.h"

#include <stdexcept>
#include <string>

namespace kv {

class FileReplaceError : public Cp1251Error {
public:
    using Cp1251Error::Cp1251Error;
};

// A symbolic link is followed and its target replaced. Throws FileReplaceError
// ("Error write file:" path ": " reason), or with the storage's message in Windows-1251
// when path is not a regular file.
void replaceFileWhole(const std::string& path, const std::string& bytes);

} // namespace kv
