#include "session/ReturnSession.h"

#include "core/Date.h"
#include "core/StorageErrors.h"
#include "model/Declaration.h"

#include <filesystem>

namespace kv {

namespace {

// Kept absolute: the working folder changes under the file dialogs, and a recovery copy
// restored by a program started elsewhere must go back to this same file.
std::string absolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    return failure ? path : absolute.lexically_normal().string();
}

bool equalsIgnoringCase(char a, char b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

} // namespace

ReturnSession::ReturnSession(const Clock& clock, SessionHost& host) : clock_(clock), host_(host) {}

ReturnSession::~ReturnSession() = default;

std::unique_ptr<Declaration> ReturnSession::blankDocument() const {
    return std::make_unique<Declaration>(clock_);
}

std::unique_ptr<Declaration> ReturnSession::newReturnDocument() const {
    auto document = blankDocument();
    applyNewReturnSetup(*document, clock_.today());
    return document;
}

void ReturnSession::applyNewReturnSetup(Declaration& document, DateValue today) {
    document.inspectionCode.clear();
    document.documentDate = today;
    document.submitterKind = 0;
    document.setIncomeFlags(Declaration::kAgentIncomes);
    document.sheetCountAutomatic = 1;
    // The taxpayer screen shows a new taxpayer as a citizen; the new return says so
    // in the file as well, rather than leaving the status unset.
    document.person.citizenshipStatus =
        Cp1251Text::fromBytes(std::string(1, '1')); // not "=": GCC 12's false -Wrestrict
}

// A document of an earlier year (".qv0" .. ".qv8", ".qvl") is saved beside it as
// ".qv9", leaving the old file untouched. Any other name gets ".qv9" added rather
// than losing its last letter, which would save "Return" as "Retur9".
std::string ReturnSession::pathForSaving(const std::string& path) {
    if (path.empty() || path.back() == '9')
        return path;
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t n = name.size();
    if (n > 4 && name[n - 4] == '.' && equalsIgnoringCase(name[n - 3], 'q') &&
        equalsIgnoringCase(name[n - 2], 'v')) {
        std::string result = path;
        result.back() = '9';
        return result;
    }
    return path + ".qv9";
}

void ReturnSession::start(const std::optional<std::string>& path) {
    if (path.has_value()) {
        load(*path);
        return;
    }
    document_ = newReturnDocument();
    path_.clear();
}

// Any failure to read the file, a missing stream of a damaged file included, is
// shown and leaves a new return; a half-read document is never kept.
void ReturnSession::load(const std::string& path) {
    path_ = absolutePath(path);
    document_ = blankDocument();
    if (host_.refuseHeldFile(path_, FileUse::Open)) {
        path_.clear();
        host_.fileTaken(path_);
        document_ = newReturnDocument();
        return;
    }
    Cp1251Text failure;
    try {
        document_->loadFromFile(path_);
        host_.fileTaken(path_);
        return;
    } catch (const ConversionError&) {
        failure = msg::badFormat();
    } catch (const StorageError& e) {
        failure = e.message();
    } catch (const std::exception&) {
        failure = msg::badFormat();
    }
    host_.showFailure(FileUse::Open, failure, path_);
    path_.clear();
    host_.fileTaken(path_);
    document_ = newReturnDocument();
}

bool ReturnSession::saveQuery() {
    if (saved_)
        return true;
    switch (host_.askToSave()) {
    case SaveAnswer::DontSave:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Save:
        break;
    }
    // The person asked to save: a cancelled dialog or a failed save abandons the
    // command rather than dropping the return they wanted kept. Once saved, a
    // command that then keeps the return (a cancelled open dialog) asks no more.
    return save();
}

bool ReturnSession::newReturn() {
    if (!saveQuery())
        return false;
    // The screen goes first: it must never see a document other than its own.
    host_.returnLeaving();
    document_ = newReturnDocument();
    path_.clear();
    host_.fileTaken(path_);
    host_.returnArrived();
    setSaved(true);
    return true;
}

bool ReturnSession::open() {
    if (!saveQuery())
        return false;
    // The open return stays until another one is chosen: cancelling the dialog
    // changes nothing.
    const std::optional<std::string> path = host_.askOpenPath();
    if (!path.has_value())
        return false;
    host_.returnLeaving();
    load(*path);
    host_.returnArrived();
    setSaved(true);
    return true;
}

bool ReturnSession::openFile(const std::string& path) {
    if (!saveQuery())
        return false;
    host_.returnLeaving();
    load(path);
    host_.returnArrived();
    setSaved(true);
    return true;
}

bool ReturnSession::save() {
    if (!path_.empty())
        return saveTo(pathForSaving(path_));
    const std::optional<std::string> chosen = host_.askSavePath();
    return chosen.has_value() && saveTo(pathForSaving(*chosen));
}

// Save As keeps the name as given: the dialog has already added ".qv9" to a name without one.
bool ReturnSession::saveAs() {
    const std::optional<std::string> chosen = host_.askSavePath();
    return chosen.has_value() && saveTo(*chosen);
}

// The one way a return reaches a file. The session takes the new name only once the
// file is written: after a failure the next Save still names the file it had.
bool ReturnSession::saveTo(const std::string& path) {
    host_.beforeSave();
    if (!write(path))
        return false;
    path_ = path;
    setSaved(true);
    return true;
}

bool ReturnSession::write(const std::string& path) {
    if (host_.refuseHeldFile(path, FileUse::Save) || !host_.confirmReplacing(path))
        return false;
    try {
        document_->saveToFile(path);
        host_.fileTaken(path);
        return true;
    } catch (const StorageError& e) {
        host_.showFailure(FileUse::Save, e.message(), path);
    } catch (const std::exception& e) {
        // Another failure (out of memory) is shown with the library's own ASCII text.
        host_.showFailure(FileUse::Save, Cp1251Text::fromBytes(std::string_view(e.what())), path);
    }
    return false;
}

void ReturnSession::restore(std::unique_ptr<Declaration> document, const std::string& path) {
    host_.returnLeaving();
    document_ = std::move(document);
    path_ = path;
    host_.returnArrived();
    setSaved(false);
}

void ReturnSession::close() {
    document_.reset();
}

void ReturnSession::changed() {
    setSaved(false);
}

void ReturnSession::markSaved() {
    setSaved(true);
}

void ReturnSession::setSaved(bool saved) {
    saved_ = saved;
    host_.stateChanged(saved);
}

} // namespace kv
