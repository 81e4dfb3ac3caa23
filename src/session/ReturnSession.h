#pragma once
// The life of the open return apart from any window: new, open, save, save as, and the
// question asked before a changed return is dropped. The session holds the return, the
// file it came from and whether it changed since; whoever shows it (the main window, a
// test) answers the session's questions and follows its changes through SessionHost.
// Paths are the file system's bytes.
#include "core/Text.h"

#include <memory>
#include <optional>
#include <string>

namespace kv {

class Clock;
class Declaration;
class DateValue;

enum class SaveAnswer { Save, DontSave, Cancel };
// What was being done with a file when it failed or was refused.
enum class FileUse { Open, Save };

class SessionHost {
public:
    virtual ~SessionHost() = default;

    // --- Questions -----------------------------------------------------------
    // "Вы хотите сохранить декларацию?"
    virtual SaveAnswer askToSave() = 0;
    // The file to open, or to save into; nothing when the person cancelled.
    virtual std::optional<std::string> askOpenPath() = 0;
    virtual std::optional<std::string> askSavePath() = 0;
    // Another save went into this file after the session read or wrote it; true: write over it.
    virtual bool confirmReplacing(const std::string& path) = 0;
    // True when another window holds the file: the person is told, and the file is left alone.
    virtual bool refuseHeldFile(const std::string& path, FileUse use) = 0;
    // A file could not be read or written. message: Windows-1251 text that may hold the path's bytes.
    virtual void showFailure(FileUse use, const Cp1251Text& message, const std::string& path) = 0;

    // --- What the session does ------------------------------------------------
    // The return is about to be written: what is typed on the screen goes into it first.
    virtual void beforeSave() = 0;
    // The return is about to be replaced: nothing may go on looking at it.
    virtual void returnLeaving() = 0;
    // Another return is in place (new, opened, restored): show it from the start.
    virtual void returnArrived() = 0;
    // The return's file was read or written at path; empty: the return has no file now.
    virtual void fileTaken(const std::string& path) = 0;
    // The path or the changed flag may have changed.
    virtual void stateChanged(bool saved) = 0;
};

class ReturnSession {
public:
    ReturnSession(const Clock& clock, SessionHost& host);
    ~ReturnSession();
    ReturnSession(const ReturnSession&) = delete;
    ReturnSession& operator=(const ReturnSession&) = delete;

    // The return named at start-up, or a new one; shown by the caller.
    void start(const std::optional<std::string>& path);

    // Each command asks the save question first; false when nothing happened or the
    // save the person asked for did not.
    bool newReturn();
    bool open();
    bool openFile(const std::string& path);
    // False when nothing was saved (the dialog was cancelled or the save failed).
    bool save();
    bool saveAs();
    // True when the return may be dropped: saved, not to be saved, or saved now.
    bool saveQuery();
    // A return taken over from a recovery copy: unsaved, under the file it came from (if any).
    void restore(std::unique_ptr<Declaration> document, const std::string& path);
    // The window closes: the return goes.
    void close();

    // A person's edit.
    void changed();
    // Nothing the person did is unsaved (a return just shown).
    void markSaved();

    Declaration& document() { return *document_; }
    const Declaration& document() const { return *document_; }
    // The place the screens look the return up, so that they follow a return replaced.
    std::unique_ptr<Declaration>& slot() { return document_; }
    const std::string& path() const { return path_; }
    bool saved() const { return saved_; }

    // An empty return of today, not yet set up as a new one (a recovery copy is read into it).
    std::unique_ptr<Declaration> blankDocument() const;
    // What a new return starts with.
    static void applyNewReturnSetup(Declaration& document, DateValue today);
    // The file a return is saved into: a return of an earlier year beside it as ".qv9".
    static std::string pathForSaving(const std::string& path);

private:
    std::unique_ptr<Declaration> newReturnDocument() const;
    void replace(std::unique_ptr<Declaration> document, const std::string& path);
    void load(const std::string& path);
    bool write(const std::string& path);
    bool saveTo(const std::string& path);
    void setSaved(bool saved);

    const Clock& clock_;
    SessionHost& host_;
    std::unique_ptr<Declaration> document_;
    std::string path_;
    bool saved_ = true;
};

} // namespace kv
