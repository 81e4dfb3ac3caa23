#pragma once
// What every import that replaces a directory file keeps to. It reads, merges and writes
// the file holding the lock a save of that file takes, so that two imports at once lose
// nothing of either. And a classifier is not replaced by a much smaller one unless the
// person says so: a download broken off at a line boundary reads as a shorter but whole
// file, and would silently take most entries out of the pickers.
#include "core/Text.h"
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace kv {

// Fewer entries than this are lost to a classifier's own revision without a question.
inline constexpr std::size_t kFewEntries = 10;

struct ClassifierShrink {
    std::size_t before = 0; // entries of the directory in use
    std::size_t after = 0;  // entries of the import
};
// nullopt unless after is short of before by more than kFewEntries.
std::optional<ClassifierShrink> shrinkOf(std::size_t before, std::size_t after);

// An import refused because it would shrink the classifier; what() is Windows-1251 text
// for the person: "В справочнике сейчас 2899 позиций, в импортируемом файле — 1000 ...".
class ClassifierShrinkError : public Cp1251Error {
public:
    explicit ClassifierShrinkError(const ClassifierShrink& shrink);
    const ClassifierShrink& shrink() const { return shrink_; }

private:
    ClassifierShrink shrink_;
};

// For tests, which hold one import at its lock while another starts.
struct ImportHooks {
    // Called when another import or save holds the file and this one waits.
    std::function<void()> waiting;
    // Called once the file is held and the directory in use was read.
    std::function<void()> locked;
};

// How an import of a classifier replaces its directory.
struct ClassifierReplace {
    // The directory in use now, whose entries the import is compared with; empty: the
    // file being replaced.
    std::filesystem::path current;
    // Entries of the directory the program shows now, when the caller has it: a first
    // import, with no file yet to replace, is compared with the directory shipped.
    std::size_t shown = 0;
    // The person agreed to a directory much smaller than the one in use.
    bool allowShrink = false;
    ImportHooks hooks;
};

} // namespace kv
