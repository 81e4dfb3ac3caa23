#include "core/Storage.h"

#include "core/FileUpdateLock.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kv {
namespace {

constexpr std::string_view kMagic = "DLSG";
// Day numbers of 01.01.0001 and 31.12.9999, the dates a document can hold.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

// Holds a descriptor and closes it on every path out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

// The file is held whole by whoever reads or replaces it, for the moment that takes.
// Another such holder is waited for that long (half a second at most) before the file
// is called busy, so two programs opening one return at once both get it.
bool lockWhole(int fd) {
    constexpr int kAttempts = 50;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        ::usleep(10000);
    }
    return false;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr std::string_view kTemporaryTail = ".tmp-";

// The temporary file of a save is named after the file it replaces, but short whatever
// that name's length: "." + 16 hexadecimal digits of the name's hash + ".tmp-XXXXXX".
// A name of 255 bytes, the longest a folder takes, can thus be saved too.
std::string temporaryStem(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "." + std::string(hex);
}

// A temporary of a save of the file named `name`: the stem above, or "." + the name
// itself as earlier versions named it, then ".tmp-" and the six characters mkstemp chose.
bool isTemporaryOf(std::string_view entry, std::string_view name) {
    const std::string stems[] = {temporaryStem(name), "." + std::string(name)};
    for (const std::string& stem : stems)
        if (entry.size() == stem.size() + kTemporaryTail.size() + 6 && entry.substr(0, stem.size()) == stem &&
            entry.substr(stem.size(), kTemporaryTail.size()) == kTemporaryTail)
            return true;
    return false;
}

// Temporaries of this file left by a save that was killed: each holds a whole return,
// the person's passport and INN included. A save in progress holds a lock on its own
// temporary, so only those nobody holds go.
void removeStaleTemporaries(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (fd.fd >= 0 && ::fstat(fd.fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd.fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// The message for a write that failed with errno: a full disk and the file-size limit
// are named, anything else is the general one.
Cp1251Text writeFailure(int error, const std::string& path) {
    if (error == ENOSPC || error == EDQUOT)
        return msg::noSpace();
    if (error == EFBIG)
        return msg::fileTooLarge();
    if (error == ENAMETOOLONG)
        return msg::nameTooLong(path);
    if (error == EROFS)
        return msg::readOnlyDisk(path);
    return msg::fileRead(path);
}

// The message for a file that could not be opened for reading: a missing file and a
// refused permission are named, not guessed to be busy.
Cp1251Text openFailure(int error, const std::string& path) {
    if (error == ENOENT || error == ENOTDIR)
        return msg::fileMissing(path);
    if (error == EACCES)
        return msg::noReadAccess(path);
    if (error == ENAMETOOLONG)
        return msg::nameTooLong(path);
    return msg::fileRead(path);
}

// Places text at the right end of a fixed-width field, padded on the left;
// a longer text is cut to the width; an empty text leaves the field as it was.
void placeField(char* field, std::size_t width, std::string_view text, char pad) {
    if (text.empty())
        return;
    if (text.size() >= width) {
        std::memcpy(field, text.data(), width);
        return;
    }
    std::memset(field, pad, width - text.size());
    std::memcpy(field + width - text.size(), text.data(), text.size());
}

[[noreturn, gnu::cold]] void notAnInteger(std::string_view s) {
    throw ConversionError("'" + std::string(s) + "' is not a valid integer value");
}

// A decimal 0..2147483647 as the reader accepts it; anything else is a conversion failure.
// Every numeric item passes through here, so it is a plain digit loop.
inline std::int32_t parseNonNegative(std::string_view s) {
    constexpr std::uint64_t kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9' || (v = v * 10 + static_cast<std::uint64_t>(c - '0')) > kMax)
            notAnInteger(s);
    }
    if (s.empty())
        notAnInteger(s);
    return static_cast<std::int32_t>(v);
}

// The form amounts are written in: up to fourteen characters of digits, then possibly
// a point and one to four digits. Gives false for anything else, which the general
// parser then takes (signs, commas of earlier writers, longer numbers).
inline bool parsePlainAmount(std::string_view t, Money& out) {
    if (t.empty() || t.size() > 14)
        return false;
    std::int64_t whole = 0;
    std::size_t i = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
        whole = whole * 10 + (t[i] - '0');
    if (i == 0)
        return false;
    std::int64_t fraction = 0;
    std::size_t fractionDigits = 0;
    if (i < t.size()) {
        if (t[i] != '.')
            return false;
        for (++i; i < t.size() && fractionDigits < 4 && t[i] >= '0' && t[i] <= '9'; ++i, ++fractionDigits)
            fraction = fraction * 10 + (t[i] - '0');
        if (i != t.size() || fractionDigits == 0)
            return false;
    }
    static constexpr std::int64_t kFractionScale[] = {10000, 1000, 100, 10, 1};
    out = Money::fromRaw(whole * Money::kScale + fraction * kFractionScale[fractionDigits]);
    return true;
}

// The four digits of an item's length, or -1 when they are not four digits. Every item
// of a file passes through here at least twice (index and read), so it is branch-light.
int lengthPrefix(const char* p) {
    const unsigned d0 = static_cast<unsigned char>(p[0]) - unsigned('0');
    const unsigned d1 = static_cast<unsigned char>(p[1]) - unsigned('0');
    const unsigned d2 = static_cast<unsigned char>(p[2]) - unsigned('0');
    const unsigned d3 = static_cast<unsigned char>(p[3]) - unsigned('0');
    if (d0 > 9 || d1 > 9 || d2 > 9 || d3 > 9)
        return -1;
    return static_cast<int>(d0 * 1000 + d1 * 100 + d2 * 10 + d3);
}

// A hash of a stream name, inline and eight bytes at a step: it runs once per stream of
// the file, a hundred thousand times for the largest document.
std::uint64_t nameHash(std::string_view name) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = name.size() * kMul;
    std::size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, name.data() + i, 8);
        h = std::rotl((h ^ word) * kMul, 31);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, name.data() + i, name.size() - i);
    h ^= tail;
    // Names differ mostly in their last digits; the final mix spreads them over all bits.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

std::optional<double> parseDayNumber(std::string_view s, char separator) {
    std::string text(s);
    if (separator != '.') {
        if (text.find('.') != std::string::npos)
            return std::nullopt;
        for (char& c : text)
            if (c == separator)
                c = '.';
    }
    double v = 0;
    const char* first = text.data();
    if (!text.empty() && text[0] == '+')
        ++first;
    auto [end, ec] = std::from_chars(first, text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || first == end)
        return std::nullopt;
    return v;
}

} // namespace

// --- DocumentFile -----------------------------------------------------------

DocumentFile::DocumentFile(std::string path, std::int32_t size, bool readOnly)
    : path_(std::move(path)), readOnly_(readOnly) {
    if (readOnly_) {
        // Reading never creates a file: a missing path is a read failure, not an empty document.
        // Opened without blocking, so that a FIFO is refused instead of waited on forever.
        Fd fd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (fd.fd < 0)
            throw BadStorageError(openFailure(errno, path_));
        struct stat st {};
        if (::fstat(fd.fd, &st) != 0)
            throw BadStorageError(msg::fileRead(path_));
        if (!S_ISREG(st.st_mode))
            throw BadStorageError(msg::notRegularFile(path_));
        if (!lockWhole(fd.fd))
            throw BadStorageError(msg::fileRead(path_));
        if (st.st_size == 0)
            throw StorageAllocationError(msg::zeroLength());
        if (st.st_size > std::numeric_limits<std::int32_t>::max())
            throw StorageAllocationError(msg::noMapping());
        buffer_.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < buffer_.size()) {
            const ssize_t n = ::read(fd.fd, buffer_.data() + got, buffer_.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw BadStorageError(msg::fileRead(path_));
            got += static_cast<std::size_t>(n);
        }
        lockFd_ = fd.release();
        return;
    }
    if (size <= 0)
        throw StorageAllocationError(msg::zeroLength());
    target_ = linkTarget(path_);
    // Lock the file being replaced, if there is one, so no other program reads it half way.
    Fd old(::open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (old.fd >= 0) {
        struct stat st {};
        if (::fstat(old.fd, &st) != 0)
            throw BadStorageError(msg::fileRead(path_));
        if (!S_ISREG(st.st_mode))
            throw BadStorageError(msg::notRegularFile(path_));
        // A return its owner made read-only is not replaced behind their back; the root
        // user passes every permission check, so the mode bits decide for it too.
        if (!lockWhole(old.fd) || (st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)
            throw BadStorageError(msg::fileRead(path_));
    } else if (errno != ENOENT) {
        throw BadStorageError(writeFailure(errno, path_));
    }
    // Fail now, as creating the file would, when the folder cannot take a new file.
    if (::access(folderOf(target_).c_str(), W_OK) != 0)
        throw BadStorageError(writeFailure(errno, path_));
    buffer_.assign(static_cast<std::size_t>(size), '\0');
    lockFd_ = old.release();
}

void requireRegularFileOrNew(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.fd >= 0 ? ::fstat(fd.fd, &st) == 0 && !S_ISREG(st.st_mode)
                   : ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw BadStorageError(msg::notRegularFile(path));
}

namespace {

// The lock as the path's file (or, with no file, its folder) is now; false when the path
// no longer names what was locked, so that the lock must be taken anew.
bool stillNamed(int fd, const std::string& target, bool onFolder) {
    struct stat held {};
    struct stat now {};
    if (::fstat(fd, &held) != 0)
        return false;
    if (::stat(target.c_str(), &now) != 0)
        return onFolder && errno == ENOENT;
    return !onFolder && now.st_dev == held.st_dev && now.st_ino == held.st_ino;
}

} // namespace

FileUpdateLock::FileUpdateLock(const std::string& path, const std::function<void()>& waiting) {
    const std::string target = linkTarget(path);
    for (;;) {
        Fd fd(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        const bool onFolder = fd.fd < 0 && errno == ENOENT;
        if (onFolder)
            fd.fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0)
            throw BadStorageError(writeFailure(errno, path));
        if (!onFolder && !S_ISREG(st.st_mode))
            throw BadStorageError(msg::notRegularFile(path));
        if (::flock(fd.fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                throw BadStorageError(msg::fileRead(path));
            if (waiting)
                waiting();
            while (::flock(fd.fd, LOCK_EX) != 0)
                if (errno != EINTR)
                    throw BadStorageError(msg::fileRead(path));
        }
        if (stillNamed(fd.fd, target, onFolder)) {
            fd_ = fd.release();
            return;
        }
    }
}

FileUpdateLock::~FileUpdateLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

// A chain too long is left to fail later.
std::string linkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return path;
        link.resize(static_cast<std::size_t>(n));
        path = link[0] == '/' || path.find('/') == std::string::npos ? link : folderOf(path) + "/" + link;
    }
    return path;
}

std::unique_ptr<DocumentFile> DocumentFile::fromBytes(std::string bytes) {
    std::unique_ptr<DocumentFile> loader(new DocumentFile());
    loader->path_ = "<memory>";
    loader->readOnly_ = true;
    loader->buffer_ = std::move(bytes);
    if (loader->buffer_.empty())
        throw StorageAllocationError(msg::zeroLength());
    return loader;
}

std::unique_ptr<DocumentFile> DocumentFile::inMemory(std::int32_t size) {
    if (size <= 0)
        throw StorageAllocationError(msg::zeroLength());
    std::unique_ptr<DocumentFile> loader(new DocumentFile());
    loader->path_ = "<memory>";
    loader->readOnly_ = false;
    loader->inMemory_ = true;
    loader->buffer_.assign(static_cast<std::size_t>(size), '\0');
    return loader;
}

DocumentFile::~DocumentFile() {
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

void DocumentFile::commit() {
    if (readOnly_ || committed_ || inMemory_)
        return;
    const std::string folder = folderOf(target_);
    const auto slash = target_.find_last_of('/');
    const std::string_view name =
        std::string_view(target_).substr(slash == std::string::npos ? 0 : slash + 1);
    // Hidden and named after the return, so that one left by a killed save is recognisably ours.
    std::string tmp = (folder == "." && slash == std::string::npos ? std::string() : folder + "/") +
                      temporaryStem(name) + std::string(kTemporaryTail) + "XXXXXX";
    Fd fd(::mkstemp(tmp.data()));
    if (fd.fd < 0)
        throw BadStorageError(writeFailure(errno, path_));
    // Held while it is written, so that another save of this file leaves it alone.
    (void)::flock(fd.fd, LOCK_EX | LOCK_NB);
    auto step = [this](std::string_view name) {
        if (faultHook)
            faultHook(name);
    };
    try {
        // mkstemp made the file 0600, which a new return keeps: it holds the person's INN
        // and passport. One that replaces a file takes over its owner and mode.
        struct stat st {};
        if (lockFd_ >= 0 && ::fstat(lockFd_, &st) == 0) {
            if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
                ::fchown(fd.fd, st.st_uid, st.st_gid) != 0)
                (void)!::fchown(fd.fd, static_cast<uid_t>(-1), st.st_gid); // at least the group, if we may
            if (::fchmod(fd.fd, st.st_mode & 07777) != 0)
                throw BadStorageError(msg::fileRead(path_));
        }
        step("write");
        if (!writeAll(fd.fd, buffer_.data(), buffer_.size()))
            throw BadStorageError(writeFailure(errno, path_));
        step("sync");
        if (::fsync(fd.fd) != 0)
            throw BadStorageError(writeFailure(errno, path_));
        step("rename");
        if (::rename(tmp.c_str(), target_.c_str()) != 0)
            throw BadStorageError(writeFailure(errno, path_));
    } catch (const StorageError&) {
        ::unlink(tmp.c_str());
        throw;
    } catch (const std::system_error& e) {
        ::unlink(tmp.c_str());
        throw BadStorageError(writeFailure(e.code().value(), path_));
    } catch (...) {
        ::unlink(tmp.c_str());
        throw BadStorageError(msg::fileRead(path_));
    }
    // The rename is durable only once the folder itself is flushed.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0)
        ::fsync(dir.fd);
    committed_ = true;
    removeStaleTemporaries(folder, name);
}

// --- DocumentStorage ------------------------------------------------------

DocumentStorage::DocumentStorage(DocumentFile* loader)
    : loader_(loader), readOnly_(loader == nullptr || loader->readOnly()) {}

void DocumentStorage::createStorage(std::string_view identifier) {
    if (loader_ == nullptr)
        throw StorageAllocationError(msg::notAllocated());
    if (readOnly_)
        throw StorageWriteError(msg::readOnly());
    if (created_ || initialised_)
        throw StorageAlreadyCreatedError(msg::alreadyCreated());
    std::string& buf = loader_->buffer();
    if (buf.size() < kHeaderSize)
        throw StorageWriteError(msg::pastEnd());
    char* h = buf.data();
    std::memcpy(h, kMagic.data(), kMagic.size());
    placeField(h + 4, 20, identifier, ' ');
    placeField(h + 24, 2, "01", '0');
    placeField(h + 26, 2, "02", '0');
    std::memset(h + 28, 'F', 32);
    formatIdentifier_ = std::string(identifier);
    majorVersion_ = 1;
    minorVersion_ = 2;
    position_ = static_cast<std::int32_t>(kHeaderSize);
    bytes_ = buf;
    initialised_ = created_ = true;
}

void DocumentStorage::openStorage() {
    if (created_ || initialised_)
        throw StorageAlreadyCreatedError(msg::alreadyCreated());
    if (loader_ == nullptr)
        throw StorageAllocationError(msg::notAllocated());
    const std::string& buf = loader_->buffer();
    // A file too short for its header is as damaged as one with the wrong magic.
    if (buf.size() < kHeaderSize || std::string_view(buf).substr(0, 4) != kMagic) {
        closeStorage();
        throw BadStorageError(msg::badFormat());
    }
    const std::string_view header(buf.data(), kHeaderSize);
    formatIdentifier_ = std::string(header.substr(4, 20));
    const auto b = formatIdentifier_.find_first_not_of(' ');
    const auto e = formatIdentifier_.find_last_not_of(' ');
    formatIdentifier_ = b == std::string::npos ? std::string() : formatIdentifier_.substr(b, e - b + 1);
    majorVersion_ = parseNonNegative(header.substr(24, 2));
    minorVersion_ = parseNonNegative(header.substr(26, 2));
    reservedHeader_ = std::string(header.substr(28, 32));
    position_ = static_cast<std::int32_t>(kHeaderSize);
    walked_ = readOnly_ ? kHeaderSize : kWalkEnded;
    bytes_ = buf;
    // A document has a stream name in about every hundred and fifty bytes.
    nameStarts_.reserve(buf.size() / 128);
    initialised_ = created_ = true;
}

void DocumentStorage::closeStorage() {
    position_ = 0;
    currentStreamName_.clear();
    initialised_ = created_ = false;
    bytes_ = {};
    walked_ = kWalkEnded;
    nameStarts_.clear();
    namesMet_.clear();
    nameRepeated_ = false;
    nextName_ = 0;
    tableBuilt_ = false;
    slots_.clear();
    nextSame_.clear();
    valuesRead_.clear();
}

namespace {
[[noreturn, gnu::cold]] void notInitialised() {
    throw ObjectAccessError(msg::notInitialised());
}
} // namespace

void DocumentStorage::requireInitialised() const {
    if (!initialised_)
        notInitialised();
}

void DocumentStorage::requireWritable(bool initialisedFirst) const {
    if (initialisedFirst)
        requireInitialised();
    if (readOnly_)
        throw StorageWriteError(msg::readOnly());
    requireInitialised();
}

void DocumentStorage::writeItem(std::string_view text) {
    if (text.size() > kMaxItem)
        throw StorageWriteError(msg::valueTooLong());
    std::string& buf = loader_->buffer();
    const std::size_t at = static_cast<std::size_t>(position_);
    if (at + 4 + text.size() > buf.size())
        throw StorageWriteError(msg::pastEnd());
    char prefix[5];
    std::snprintf(prefix, sizeof prefix, "%04u", static_cast<unsigned>(text.size()));
    std::memcpy(buf.data() + at, prefix, 4);
    std::memcpy(buf.data() + at + 4, text.data(), text.size());
    position_ += static_cast<std::int32_t>(4 + text.size());
}

inline std::string_view DocumentStorage::readItem(bool numeric) {
    requireInitialised();
    const std::string_view buf = bytes_;
    const std::size_t at = static_cast<std::size_t>(position_);
    // An item running past the end means a cut or damaged file.
    if (at + 4 > buf.size())
        throw BadStorageError(msg::badFormat());
    int length = lengthPrefix(buf.data() + at);
    if (length < 0)
        length = parseNonNegative(buf.substr(at, 4)); // throws the conversion failure
    std::size_t n = static_cast<std::size_t>(length);
    if (numeric && n == 0)
        n = 1;
    if (at + 4 + n > buf.size())
        throw BadStorageError(msg::badFormat());
    // Reading in file order carries the walk along. An item read is a value, never a
    // stream name, so it is not indexed: a text typed as "@PersonAddress" must not stand
    // in for the stream of that name. The walk follows what the reader took, also where
    // a numeric item of length 0 is read as one byte.
    if (at == walked_)
        walked_ = at + 4 + n;
    if (n > 0 && buf[at + 4] == kStreamMark) [[unlikely]]
        valuesRead_.insert(static_cast<std::int32_t>(at));
    position_ += static_cast<std::int32_t>(4 + n);
    return std::string_view(buf.data() + at + 4, n);
}

void DocumentStorage::beginStream(std::string_view name) {
    requireWritable(true);
    writeItem(name);
    currentStreamName_ = std::string(name);
}

// Walks the item at walked_, or ends the walk where no item can be followed.
void DocumentStorage::walkItem() {
    const std::string_view all = bytes_;
    const int length = walked_ + 4 <= all.size() ? lengthPrefix(all.data() + walked_) : -1;
    if (length < 0 || walked_ + 4 + static_cast<std::size_t>(length) > all.size()) {
        walked_ = kWalkEnded;
        return;
    }
    walkOver(walked_, static_cast<std::size_t>(length));
}

// Moves the walk past the item at `at` of the given stored length, indexing it when it
// can be a stream name. Only such items are indexed: indexing every value too would make
// the index several times larger than the file and slow every open.
void DocumentStorage::walkOver(std::size_t at, std::size_t length) {
    if (length > 0 && bytes_[at + 4] == kStreamMark)
        indexName(at, bytes_.substr(at + 4, length));
    walked_ = at + 4 + length;
}

// Walks every item that begins at or before offset.
void DocumentStorage::walkPast(std::size_t offset) {
    while (walked_ != kWalkEnded && walked_ <= offset)
        walkItem();
}

void DocumentStorage::indexName(std::size_t at, std::string_view name) {
    nameStarts_.push_back(static_cast<std::int32_t>(at));
    if (!namesMet_.insert(name))
        nameRepeated_ = true;
    if (tableBuilt_)
        addToTable(nameStarts_.size() - 1);
}

void DocumentStorage::buildTable() {
    std::size_t size = 1024;
    while (size < 2 * nameStarts_.size())
        size *= 2;
    slots_.assign(size, NameSlot{0, 0, 0});
    nextSame_.clear();
    nextSame_.reserve(nameStarts_.size());
    tableBuilt_ = true;
    for (std::size_t ordinal = 0; ordinal < nameStarts_.size(); ++ordinal)
        addToTable(ordinal);
}

void DocumentStorage::addToTable(std::size_t ordinal) {
    if (2 * (ordinal + 1) > slots_.size()) {
        // Grown by building again; a document read out of order rarely gets here twice.
        buildTable();
        return;
    }
    const std::string_view name = indexedName(ordinal);
    const std::uint64_t hash = nameHash(name);
    NameSlot& slot = slots_[probe(name, hash)];
    const auto self = static_cast<std::int32_t>(ordinal + 1);
    nextSame_.push_back(0);
    // Every item of a name is chained in file order from the first, so that an item
    // found to be a value can be passed over for the next one.
    if (slot.first == 0)
        slot = {static_cast<std::uint32_t>(hash >> 32), self, self};
    else
        nextSame_[static_cast<std::size_t>(std::exchange(slot.last, self) - 1)] = self;
}

// The slot that holds the name, or the empty slot where it would go.
std::size_t DocumentStorage::probe(std::string_view name, std::uint64_t hash) const {
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].first != 0 &&
           (slots_[i].tag != tag || indexedName(static_cast<std::size_t>(slots_[i].first - 1)) != name))
        i = (i + 1) & mask;
    return i;
}

// The first item of the name that has not been read as a value, or npos.
std::size_t DocumentStorage::firstStreamItem(std::string_view name) const {
    const NameSlot& slot = slots_[probe(name, nameHash(name))];
    for (std::int32_t ordinal = slot.first; ordinal != 0;
         ordinal = nextSame_[static_cast<std::size_t>(ordinal - 1)]) {
        if (!wasReadAsValue(static_cast<std::size_t>(nameStarts_[static_cast<std::size_t>(ordinal - 1)])))
            return static_cast<std::size_t>(ordinal - 1);
    }
    return std::string_view::npos;
}

bool DocumentStorage::wasReadAsValue(std::size_t at) const {
    return !valuesRead_.empty() && valuesRead_.count(static_cast<std::int32_t>(at)) != 0;
}

std::string_view DocumentStorage::indexedName(std::size_t ordinal) const {
    const std::string_view all = bytes_;
    const auto start = static_cast<std::size_t>(nameStarts_[ordinal]);
    // The walk that indexed the item has checked its length already.
    return all.substr(start + 4, static_cast<std::size_t>(lengthPrefix(all.data() + start)));
}

bool DocumentStorage::streamAtPosition(std::string_view name) const {
    const auto at = static_cast<std::size_t>(position_);
    return initialised_ && readOnly_ && at + 4 + name.size() <= bytes_.size() &&
           lengthPrefix(bytes_.data() + at) == static_cast<int>(name.size()) &&
           bytes_.substr(at + 4, name.size()) == name && !wasReadAsValue(at);
}

bool DocumentStorage::openIndexedStream(std::string_view name) {
    auto take = [&](std::size_t ordinal) {
        position_ = nameStarts_[ordinal] + 4 + static_cast<std::int32_t>(name.size());
        nextName_ = ordinal + 1;
        currentStreamName_.assign(name);
    };
    // The stream of a name is its first item that is not a value. Records read their
    // streams in the order they were written, so the stream asked for is nearly always
    // the item right at the position, and the walk has just reached it: walked here, it
    // is taken without a lookup while no name came twice (values read are not names).
    const auto at = static_cast<std::size_t>(position_);
    if (at == walked_ && !name.empty() && name[0] == kStreamMark && at + 4 + name.size() <= bytes_.size() &&
        lengthPrefix(bytes_.data() + at) == static_cast<int>(name.size()) &&
        bytes_.substr(at + 4, name.size()) == name) {
        // Walked up to here, the item was never read as a value.
        walkOver(at, name.size()); // indexes the file's copy of the name, which outlives the caller's
        if (!nameRepeated_) {
            take(nameStarts_.size() - 1);
            return true;
        }
    } else {
        // Otherwise the indexed item at the position: the one after the stream opened
        // last, or the one the walk reaches now.
        walkPast(at);
        if (!nameRepeated_) {
            for (std::size_t candidate : {nextName_, nameStarts_.size() - 1}) {
                if (candidate < nameStarts_.size() &&
                    static_cast<std::size_t>(nameStarts_[candidate]) == at &&
                    indexedName(candidate) == name && !wasReadAsValue(at)) {
                    take(candidate);
                    return true;
                }
            }
        }
    }
    walkPast(std::string_view::npos - 1);
    if (!tableBuilt_)
        buildTable();
    const std::size_t ordinal = firstStreamItem(name);
    if (ordinal == std::string_view::npos)
        return false;
    take(ordinal);
    return true;
}

void DocumentStorage::openStream(std::string_view name) {
    requireInitialised();
    if (!readOnly_) {
        // A storage being written has no stable index; scan the items written so far.
        const std::string_view all(loader_->buffer().data(), static_cast<std::size_t>(position_));
        std::size_t at = kHeaderSize;
        while (at + 4 <= all.size()) {
            const std::size_t n = static_cast<std::size_t>(parseNonNegative(all.substr(at, 4)));
            if (all.substr(at + 4, n) == name) {
                position_ = static_cast<std::int32_t>(at + 4 + n);
                currentStreamName_ = std::string(name);
                return;
            }
            at += 4 + n;
        }
        throw StreamOpenError(msg::noStream());
    }
    if (openIndexedStream(name))
        return;
    // The index follows item lengths, and an item it cannot follow ends that walk; names
    // it missed are searched as bytes, but only where an item of that length begins and
    // was not read as a value.
    const std::string_view all(loader_->buffer());
    char prefix[5];
    std::snprintf(prefix, sizeof prefix, "%04u", static_cast<unsigned>(name.size() % 10000));
    std::size_t at =
        name.empty() || name.size() > kMaxItem ? std::string_view::npos : all.find(name, kHeaderSize + 4);
    while (at != std::string_view::npos &&
           (all.substr(at - 4, 4) != std::string_view(prefix, 4) || wasReadAsValue(at - 4)))
        at = all.find(name, at + 1);
    if (at == std::string_view::npos)
        throw StreamOpenError(msg::noStream());
    position_ = static_cast<std::int32_t>(at + name.size());
    currentStreamName_ = std::string(name);
}

bool DocumentStorage::atEnd() const {
    return loader_ == nullptr || static_cast<std::size_t>(position_) >= loader_->buffer().size();
}

void DocumentStorage::writeText(const Cp1251Text& value) {
    requireWritable(false);
    writeItem(value.bytes());
}
void DocumentStorage::writeInt32(std::int32_t value) {
    requireWritable(false);
    writeItem(int32Text(value));
}
void DocumentStorage::writeInt16(std::uint16_t value) {
    requireWritable(false);
    writeItem(int16Text(value));
}
void DocumentStorage::writeByte(std::uint8_t value) {
    requireWritable(false);
    writeItem(byteText(value));
}
void DocumentStorage::writeMoney(Money value) {
    requireWritable(false);
    writeItem(moneyText(value));
}
void DocumentStorage::writeDate(DateValue value) {
    requireWritable(false);
    writeItem(dateText(value));
}

Cp1251Text DocumentStorage::readText() {
    return Cp1251Text::fromBytes(readItem(false));
}

std::string_view DocumentStorage::readTextView() {
    return readItem(false);
}

std::int32_t DocumentStorage::readInt32() {
    return parseNonNegative(readItem(true));
}

std::uint16_t DocumentStorage::readInt16() {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(parseNonNegative(readItem(true))) & 0xFFFFu);
}

std::uint8_t DocumentStorage::readByte() {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(parseNonNegative(readItem(true))) & 0xFFu);
}

Money DocumentStorage::readMoney() {
    const std::string_view text = readItem(true);
    Money plain;
    if (parsePlainAmount(text, plain))
        return plain;
    if (text == "a")
        return Money::fromRaw(-Money::kScale);
    if (auto m = parseMoney(text, '.'))
        return *m;
    if (auto m = parseMoney(text, ','))
        return *m;
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

DateValue DocumentStorage::readDate() {
    const std::string_view text = readItem(true);
    if (formatVersion() >= kVersion12) {
        for (char sep : {'.', ','}) {
            if (auto d = parseDayNumber(text, sep)) {
                // Not a day between 01.01.0001 and 31.12.9999 ("nan", "inf", "1e308"): the
                // file is damaged, and the return must not pass the check as 30.12.1899.
                if (!std::isfinite(*d) || *d < kFirstDay || *d >= kLastDay + 1)
                    throw BadStorageError(msg::badFormat());
                // The writer keeps 15 significant digits; a longer number is taken as it
                // will be written, so that saving and opening again gives the same date.
                if (text.size() > 15)
                    d = parseDayNumber(dateText(DateValue::fromDays(*d)), '.');
                return DateValue::fromDays(*d);
            }
        }
    } else {
        for (char sep : {'.', ','})
            if (auto d = DateValue::parseText(text, sep))
                return *d;
    }
    throw ConversionError("'" + std::string(text) + "' is not a valid date");
}

std::string DocumentStorage::int32Text(std::int32_t v) {
    return std::to_string(static_cast<std::uint32_t>(v));
}
std::string DocumentStorage::int16Text(std::uint16_t v) {
    return std::to_string(v);
}
std::string DocumentStorage::byteText(std::uint8_t v) {
    return std::to_string(v);
}
std::string DocumentStorage::moneyText(Money v) {
    return kv::moneyText(v, '.');
}

std::string DocumentStorage::dateText(DateValue v) {
    char out[64];
    auto [end, ec] = std::to_chars(out, out + sizeof out, v.days, std::chars_format::general, 15);
    if (ec != std::errc())
        return "0";
    return std::string(out, end);
}

} // namespace kv
