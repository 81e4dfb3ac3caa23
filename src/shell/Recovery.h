#pragma once
// The recovery copy of a return with unsaved changes. A short while after the last
// change the window's return is written, whole and atomically, into "recovery/" of
// the user's data folder, never beside the return, so that a crash or a power loss
// costs at most those few seconds. Saving or closing normally removes the copy; a
// window destroyed without closing leaves it, which is what a crash looks like.
//
// Each window writes its own copy and holds a lock beside it while it lives. A copy
// whose lock nobody holds was left by a program that is gone: the next start offers it.
// Beside the lock each window names the file of its return, so that no other window
// opens or writes over a return that one holds.
#include "shell/FileStamp.h"

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace kv {

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    struct Copy {
        QString file;         // the recovery copy of the return
        QString originalPath; // where the return was kept, absolute; empty for one never saved
        QDateTime taken;      // when the copy was written
        QByteArray base;      // the digest of that file as the window last read or wrote it
    };
    using Writer = std::function<void(const QString& file)>;

    // userFolder empty: no copies are kept. write saves the return into the file given;
    // origin gives the return's own file as the window knows it, which is kept beside the
    // copy: its path made absolute, so that a program started from another folder restores
    // it to the same file, and its digest, so that a file changed since is noticed.
    RecoveryKeeper(const QString& userFolder, int delayMs, Writer write, std::function<FileStamp()> origin);
    ~RecoveryKeeper() override;

    // The return changed: the copy is written delayMs after the last call.
    void changed();
    // The return was saved, opened or dropped: its copy goes, and the file the window
    // holds now is named for the other windows.
    void discard();
    // The window closes: its copy goes and it holds no file any more.
    void release();
    // True when another window, of this program or another one still running, holds the
    // return at path.
    bool heldElsewhere(const QString& path) const;
    // Writes the copy at once (the timer's work); false when it could not be written.
    bool writeNow();
    bool pending() const { return timer_.isActive(); }
    QString copyFile() const;
    // False when there is a user's folder but no copy can be kept in it.
    bool unavailable() const { return unavailable_; }

    // The newest copy left by a program that is gone, if any.
    std::optional<Copy> leftBehind() const;
    // Removes a copy found by leftBehind(), once its return is taken over or refused.
    void remove(const Copy& copy) const;

private:
    void removeLeftLocks() const;
    bool writeOrigin();
    bool alive(const QString& slot) const;

    QString folder_;
    QString slot_; // this window's file names without their extension
    std::unique_ptr<QLockFile> lock_;
    QTimer timer_;
    Writer write_;
    std::function<FileStamp()> origin_;
    bool writing_ = false;
    bool unavailable_ = false;
};

} // namespace kv
