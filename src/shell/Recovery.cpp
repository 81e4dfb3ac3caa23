#include "shell/Recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <atomic>

namespace kv {

namespace {

const QString kCopySuffix = QStringLiteral(".qv9");
const QString kPathSuffix = QStringLiteral(".path");
const QString kLockSuffix = QStringLiteral(".lock");

// Unique among the windows of all running programs: the process and a counter.
QString newSlot() {
    static std::atomic<int> counter{0};
    return QStringLiteral("%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(++counter);
}

// The return's file beside its copy: {"path": ..., "base": hex digest}. Earlier versions
// kept the bare path as typed; one kept relative named a file of a working folder that is
// gone with its program, so such a copy comes back as a return without a name.
FileStamp readOrigin(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    const QJsonDocument json = QJsonDocument::fromJson(bytes);
    FileStamp origin;
    if (json.isObject()) {
        origin.path = json.object().value(QStringLiteral("path")).toString();
        origin.digest =
            QByteArray::fromHex(json.object().value(QStringLiteral("base")).toString().toLatin1());
    } else {
        origin.path = QString::fromUtf8(bytes);
    }
    if (!QDir::isAbsolutePath(origin.path))
        return {};
    return origin;
}

QByteArray originText(const FileStamp& origin) {
    QJsonObject json;
    json.insert(QStringLiteral("path"),
                origin.path.isEmpty() ? origin.path : QFileInfo(origin.path).absoluteFilePath());
    json.insert(QStringLiteral("base"), QString::fromLatin1(origin.digest.toHex()));
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

// One key for every name of one file: a link and a relative name lead to the file itself.
QString sameFileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(const QString& userFolder, int delayMs, Writer write,
                               std::function<FileStamp()> origin)
    : write_(std::move(write)), origin_(std::move(origin)) {
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    connect(&timer_, &QTimer::timeout, this, [this] { writeNow(); });
    if (userFolder.isEmpty())
        return;
    folder_ = QDir(userFolder).filePath(QStringLiteral("recovery")) + QLatin1Char('/');
    if (!QDir().mkpath(folder_)) {
        folder_.clear();
        unavailable_ = true;
        return;
    }
    slot_ = newSlot();
    lock_ = std::make_unique<QLockFile>(folder_ + slot_ + kLockSuffix);
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        folder_.clear();
        unavailable_ = true;
        return;
    }
    removeLeftLocks();
}

// A window killed before its return changed left only its lock: each start clears the
// locks nobody holds, and the path files of copies already gone with them.
void RecoveryKeeper::removeLeftLocks() const {
    const QFileInfoList locks = QDir(folder_).entryInfoList({QStringLiteral("*") + kLockSuffix}, QDir::Files);
    for (const QFileInfo& file : locks) {
        const QString slot = file.completeBaseName();
        if (slot == slot_)
            continue;
        QLockFile lock(file.absoluteFilePath());
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        if (!QFile::exists(folder_ + slot + kCopySuffix))
            QFile::remove(folder_ + slot + kPathSuffix);
        lock.unlock();
    }
}

// A window destroyed without closing leaves its copy, with the name of its file, to the
// next start; without a copy there is nothing to name.
RecoveryKeeper::~RecoveryKeeper() {
    if (!folder_.isEmpty() && !QFile::exists(folder_ + slot_ + kCopySuffix))
        QFile::remove(folder_ + slot_ + kPathSuffix);
}

// A lock that cannot be taken belongs to a window still open (a dead process's lock is stale).
bool RecoveryKeeper::alive(const QString& slot) const {
    QLockFile lock(folder_ + slot + kLockSuffix);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return true;
    lock.unlock();
    return false;
}

bool RecoveryKeeper::heldElsewhere(const QString& path) const {
    if (folder_.isEmpty() || path.isEmpty())
        return false;
    const QString wanted = sameFileKey(path);
    const QFileInfoList names = QDir(folder_).entryInfoList({QStringLiteral("*") + kPathSuffix}, QDir::Files);
    for (const QFileInfo& name : names) {
        const QString slot = name.completeBaseName();
        if (slot == slot_)
            continue;
        const QString held = readOrigin(name.absoluteFilePath()).path;
        if (!held.isEmpty() && sameFileKey(held) == wanted && alive(slot))
            return true;
    }
    return false;
}

QString RecoveryKeeper::copyFile() const {
    return folder_.isEmpty() ? QString() : folder_ + slot_ + kCopySuffix;
}

void RecoveryKeeper::changed() {
    if (folder_.isEmpty() || writing_)
        return;
    timer_.start();
}

void RecoveryKeeper::discard() {
    timer_.stop();
    if (folder_.isEmpty())
        return;
    QFile::remove(folder_ + slot_ + kCopySuffix);
    writeOrigin();
}

void RecoveryKeeper::release() {
    timer_.stop();
    if (folder_.isEmpty())
        return;
    QFile::remove(folder_ + slot_ + kCopySuffix);
    QFile::remove(folder_ + slot_ + kPathSuffix);
}

bool RecoveryKeeper::writeOrigin() {
    QSaveFile path(folder_ + slot_ + kPathSuffix);
    if (!path.open(QIODevice::WriteOnly))
        return false;
    path.write(originText(origin_()));
    return path.commit();
}

bool RecoveryKeeper::writeNow() {
    timer_.stop();
    if (folder_.isEmpty())
        return false;
    // Writing may make the window save its screen into the return, which reports a
    // change; that change is the one being written.
    writing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{writing_};

    // The path first: a copy is never read with the path of another return.
    if (!writeOrigin())
        return false;
    try {
        write_(folder_ + slot_ + kCopySuffix);
    } catch (const std::exception&) {
        // The next change tries again; the user's own file is untouched either way.
        return false;
    }
    return true;
}

std::optional<RecoveryKeeper::Copy> RecoveryKeeper::leftBehind() const {
    if (folder_.isEmpty())
        return std::nullopt;
    const QFileInfoList copies =
        QDir(folder_).entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const QString slot = copy.completeBaseName();
        if (slot == slot_)
            continue;
        // A lock that can be taken belongs to nobody living (a dead process's lock is stale).
        QLockFile lock(folder_ + slot + kLockSuffix);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        const FileStamp origin = readOrigin(folder_ + slot + kPathSuffix);
        return Copy{copy.absoluteFilePath(), origin.path, copy.lastModified(), origin.digest};
    }
    return std::nullopt;
}

void RecoveryKeeper::remove(const Copy& copy) const {
    const QFileInfo info(copy.file);
    if (info.absolutePath() + QLatin1Char('/') != QDir(folder_).absolutePath() + QLatin1Char('/'))
        return;
    const QString base = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    QFile::remove(base + kCopySuffix);
    QFile::remove(base + kPathSuffix);
}

} // namespace kv
