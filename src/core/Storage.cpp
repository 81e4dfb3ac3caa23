#include "core/Storage.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kv {
namespace {

constexpr std::string_view kMagic = "DLSG";

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

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
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

bool allDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A decimal 0..2147483647 as the reader accepts it; anything else is a conversion failure.
// Every item's length prefix passes through here, so it is a plain digit loop.
std::int32_t parseNonNegative(std::string_view s) {
    constexpr std::uint64_t kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9' || (v = v * 10 + static_cast<std::uint64_t>(c - '0')) > kMax)
            throw ConversionError("'" + std::string(s) + "' is not a valid integer value");
    }
    if (s.empty())
        throw ConversionError("'' is not a valid integer value");
    return static_cast<std::int32_t>(v);
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

// --- mTFileLoader -----------------------------------------------------------

mTFileLoader::mTFileLoader(std::string path, std::int32_t size, bool readOnly)
    : path_(std::move(path)), readOnly_(readOnly) {
    if (readOnly_) {
        // Reading never creates a file: a missing path is a read failure, not an empty document.
        Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
            ::flock(fd.fd, LOCK_EX | LOCK_NB) != 0)
            throw mEBadStorage(msg::fileRead(path_));
        if (st.st_size == 0)
            throw mEMemoryAllocate(msg::zeroLength());
        if (st.st_size > std::numeric_limits<std::int32_t>::max())
            throw mEMemoryAllocate(msg::noMapping());
        buffer_.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < buffer_.size()) {
            const ssize_t n = ::read(fd.fd, buffer_.data() + got, buffer_.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw mEBadStorage(msg::fileRead(path_));
            got += static_cast<std::size_t>(n);
        }
        lockFd_ = fd.release();
        return;
    }
    if (size <= 0)
        throw mEMemoryAllocate(msg::zeroLength());
    // Lock the file being replaced, if there is one, so no other program reads it half way.
    Fd old(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (old.fd >= 0) {
        struct stat st {};
        if (::fstat(old.fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(old.fd, LOCK_EX | LOCK_NB) != 0)
            throw mEBadStorage(msg::fileRead(path_));
    } else if (errno != ENOENT) {
        throw mEBadStorage(msg::fileRead(path_));
    }
    // Fail now, as creating the file would, when the folder cannot take a new file.
    if (::access(folderOf(path_).c_str(), W_OK) != 0)
        throw mEBadStorage(msg::fileRead(path_));
    buffer_.assign(static_cast<std::size_t>(size), '\0');
    lockFd_ = old.release();
}

std::unique_ptr<mTFileLoader> mTFileLoader::fromBytes(std::string bytes) {
    std::unique_ptr<mTFileLoader> loader(new mTFileLoader());
    loader->path_ = "<memory>";
    loader->readOnly_ = true;
    loader->buffer_ = std::move(bytes);
    if (loader->buffer_.empty())
        throw mEMemoryAllocate(msg::zeroLength());
    return loader;
}

mTFileLoader::~mTFileLoader() {
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

void mTFileLoader::commit() {
    if (readOnly_ || committed_)
        return;
    std::string tmp = path_ + ".XXXXXX";
    Fd fd(::mkstemp(tmp.data()));
    if (fd.fd < 0)
        throw mEBadStorage(msg::fileRead(path_));
    auto step = [this](std::string_view name) {
        if (faultHook)
            faultHook(name);
    };
    try {
        struct stat st {};
        const mode_t mode = lockFd_ >= 0 && ::fstat(lockFd_, &st) == 0 ? (st.st_mode & 07777) : 0644;
        step("write");
        if (::fchmod(fd.fd, mode) != 0 || !writeAll(fd.fd, buffer_.data(), buffer_.size()))
            throw mEBadStorage(msg::fileRead(path_));
        step("sync");
        if (::fsync(fd.fd) != 0)
            throw mEBadStorage(msg::fileRead(path_));
        step("rename");
        if (::rename(tmp.c_str(), path_.c_str()) != 0)
            throw mEBadStorage(msg::fileRead(path_));
    } catch (const mEPrivBase&) {
        ::unlink(tmp.c_str());
        throw;
    } catch (...) {
        ::unlink(tmp.c_str());
        throw mEBadStorage(msg::fileRead(path_));
    }
    // The rename is durable only once the folder itself is flushed.
    Fd dir(::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0)
        ::fsync(dir.fd);
    committed_ = true;
}

// --- mTDocumentStorage ------------------------------------------------------

mTDocumentStorage::mTDocumentStorage(mTFileLoader* loader)
    : loader_(loader), readOnly_(loader == nullptr || loader->readOnly()) {}

void mTDocumentStorage::createStorage(std::string_view identifier) {
    if (loader_ == nullptr)
        throw mEMemoryAllocate(msg::notAllocated());
    if (readOnly_)
        throw mEWriteStorage(msg::readOnly());
    if (created_ || initialised_)
        throw mEAlreadyCreated(msg::alreadyCreated());
    std::string& buf = loader_->buffer();
    if (buf.size() < kHeaderSize)
        throw mEWriteStorage(msg::pastEnd());
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
    initialised_ = created_ = true;
}

void mTDocumentStorage::openStorage() {
    if (created_ || initialised_)
        throw mEAlreadyCreated(msg::alreadyCreated());
    if (loader_ == nullptr)
        throw mEMemoryAllocate(msg::notAllocated());
    const std::string& buf = loader_->buffer();
    // A file too short for its header is as damaged as one with the wrong magic.
    if (buf.size() < kHeaderSize || std::string_view(buf).substr(0, 4) != kMagic) {
        closeStorage();
        throw mEBadStorage(msg::badFormat());
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
    initialised_ = created_ = true;
}

void mTDocumentStorage::closeStorage() {
    position_ = 0;
    currentStreamName_.clear();
    initialised_ = created_ = false;
    names_.clear();
    nameStarts_.clear();
    nextName_ = 0;
    sharedHashes_ = false;
    indexBuilt_ = false;
}

void mTDocumentStorage::requireInitialised() const {
    if (!initialised_)
        throw mEObjectAccess(msg::notInitialised());
}

void mTDocumentStorage::requireWritable(bool initialisedFirst) const {
    if (initialisedFirst)
        requireInitialised();
    if (readOnly_)
        throw mEWriteStorage(msg::readOnly());
    requireInitialised();
}

void mTDocumentStorage::writeItem(std::string_view text) {
    if (text.size() > kMaxItem)
        throw mEWriteStorage(msg::valueTooLong());
    std::string& buf = loader_->buffer();
    const std::size_t at = static_cast<std::size_t>(position_);
    if (at + 4 + text.size() > buf.size())
        throw mEWriteStorage(msg::pastEnd());
    char prefix[5];
    std::snprintf(prefix, sizeof prefix, "%04u", static_cast<unsigned>(text.size()));
    std::memcpy(buf.data() + at, prefix, 4);
    std::memcpy(buf.data() + at + 4, text.data(), text.size());
    position_ += static_cast<std::int32_t>(4 + text.size());
}

std::string_view mTDocumentStorage::readItem(bool numeric) {
    requireInitialised();
    const std::string& buf = loader_->buffer();
    const std::size_t at = static_cast<std::size_t>(position_);
    // An item running past the end means a cut or damaged file.
    if (at + 4 > buf.size())
        throw mEBadStorage(msg::badFormat());
    std::size_t n = static_cast<std::size_t>(parseNonNegative(std::string_view(buf).substr(at, 4)));
    if (numeric && n == 0)
        n = 1;
    if (at + 4 + n > buf.size())
        throw mEBadStorage(msg::badFormat());
    position_ += static_cast<std::int32_t>(4 + n);
    return std::string_view(buf).substr(at + 4, n);
}

void mTDocumentStorage::beginStream(std::string_view name) {
    requireWritable(true);
    writeItem(name);
    currentStreamName_ = std::string(name);
}

void mTDocumentStorage::buildIndex() {
    const std::string& buf = loader_->buffer();
    const std::string_view all(buf);
    std::size_t at = kHeaderSize;
    while (at + 4 <= all.size() && allDigits(all.substr(at, 4))) {
        const std::size_t n = static_cast<std::size_t>(parseNonNegative(all.substr(at, 4)));
        if (at + 4 + n > all.size())
            break;
        // Only items that can be stream names go into the index: indexing every value
        // too would make the index several times larger than the file and slow every open.
        if (n > 0 && all[at + 4] == kStreamMark) {
            const auto ordinal = static_cast<std::int32_t>(nameStarts_.size());
            names_.push_back({std::hash<std::string_view>{}(all.substr(at + 4, n)), ordinal});
            nameStarts_.push_back(static_cast<std::int32_t>(at));
        }
        at += 4 + n;
    }
    // A sorted array rather than a hash table: one allocation, and lookups that stay
    // in cache, which matters for a document of a hundred thousand streams.
    std::sort(names_.begin(), names_.end(), [](const NameEntry& a, const NameEntry& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.ordinal < b.ordinal;
    });
    for (std::size_t i = 1; i < names_.size(); ++i)
        if (names_[i].hash == names_[i - 1].hash)
            sharedHashes_ = true;
    indexBuilt_ = true;
}

bool mTDocumentStorage::openIndexedStream(std::string_view name) {
    const std::string_view all(loader_->buffer());
    auto nameAt = [&](std::int32_t ordinal) {
        const auto start = static_cast<std::size_t>(nameStarts_[static_cast<std::size_t>(ordinal)]);
        return all.substr(start + 4, static_cast<std::size_t>(parseNonNegative(all.substr(start, 4))));
    };
    auto take = [&](std::int32_t ordinal) {
        position_ = nameStarts_[static_cast<std::size_t>(ordinal)] + 4 +
                    static_cast<std::int32_t>(nameAt(ordinal).size());
        nextName_ = static_cast<std::size_t>(ordinal) + 1;
        currentStreamName_.assign(name);
    };
    // Records read their streams in the order they were written, so the stream asked
    // for is nearly always the next indexed item, right at the position. It is then the
    // first item of its name too, unless two indexed names share a hash.
    if (!sharedHashes_ && nextName_ < nameStarts_.size() && nameStarts_[nextName_] == position_ &&
        nameAt(static_cast<std::int32_t>(nextName_)) == name) {
        take(static_cast<std::int32_t>(nextName_));
        return true;
    }
    const std::uint64_t hash = std::hash<std::string_view>{}(name);
    auto it = std::lower_bound(names_.begin(), names_.end(), hash,
                               [](const NameEntry& e, std::uint64_t h) { return e.hash < h; });
    for (; it != names_.end() && it->hash == hash; ++it) {
        if (nameAt(it->ordinal) == name) {
            take(it->ordinal);
            return true;
        }
    }
    return false;
}

void mTDocumentStorage::openStream(std::string_view name) {
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
        throw mEOpenStream(msg::noStream());
    }
    if (!indexBuilt_)
        buildIndex();
    if (openIndexedStream(name))
        return;
    // The index follows item lengths, and a numeric item stored with length 0 (read as
    // one byte) throws that walk off; names it missed are searched as plain bytes.
    const std::string_view all(loader_->buffer());
    const auto at = name.empty() ? std::string_view::npos : all.find(name);
    if (at == std::string_view::npos)
        throw mEOpenStream(msg::noStream());
    position_ = static_cast<std::int32_t>(at + name.size());
    currentStreamName_ = std::string(name);
}

bool mTDocumentStorage::atEnd() const {
    return loader_ == nullptr || static_cast<std::size_t>(position_) >= loader_->buffer().size();
}

void mTDocumentStorage::writeText(std::string_view value) {
    requireWritable(false);
    writeItem(value);
}
void mTDocumentStorage::writeInt32(std::int32_t value) {
    requireWritable(false);
    writeItem(int32Text(value));
}
void mTDocumentStorage::writeInt16(std::uint16_t value) {
    requireWritable(false);
    writeItem(int16Text(value));
}
void mTDocumentStorage::writeByte(std::uint8_t value) {
    requireWritable(false);
    writeItem(byteText(value));
}
void mTDocumentStorage::writeMoney(Money value) {
    requireWritable(false);
    writeItem(moneyText(value));
}
void mTDocumentStorage::writeDate(DateValue value) {
    requireWritable(false);
    writeItem(dateText(value));
}

std::string mTDocumentStorage::readText() {
    return std::string(readItem(false));
}

std::int32_t mTDocumentStorage::readInt32() {
    return parseNonNegative(readItem(true));
}

std::uint16_t mTDocumentStorage::readInt16() {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(parseNonNegative(readItem(true))) & 0xFFFFu);
}

std::uint8_t mTDocumentStorage::readByte() {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(parseNonNegative(readItem(true))) & 0xFFu);
}

Money mTDocumentStorage::readMoney() {
    const std::string_view text = readItem(true);
    if (text == "a")
        return Money::fromRaw(-Money::kScale);
    if (auto m = parseMoney(text, '.'))
        return *m;
    if (auto m = parseMoney(text, ','))
        return *m;
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

DateValue mTDocumentStorage::readDate() {
    const std::string_view text = readItem(true);
    if (formatVersion() >= kVersion12) {
        for (char sep : {'.', ','})
            if (auto d = parseDayNumber(text, sep))
                return DateValue::fromDays(*d);
    } else {
        for (char sep : {'.', ','})
            if (auto d = DateValue::parseText(text, sep))
                return *d;
    }
    throw ConversionError("'" + std::string(text) + "' is not a valid date");
}

std::string mTDocumentStorage::int32Text(std::int32_t v) {
    return std::to_string(static_cast<std::uint32_t>(v));
}
std::string mTDocumentStorage::int16Text(std::uint16_t v) {
    return std::to_string(v);
}
std::string mTDocumentStorage::byteText(std::uint8_t v) {
    return std::to_string(v);
}
std::string mTDocumentStorage::moneyText(Money v) {
    return kv::moneyText(v, '.');
}

std::string mTDocumentStorage::dateText(DateValue v) {
    char out[64];
    auto [end, ec] = std::to_chars(out, out + sizeof out, v.days, std::chars_format::general, 15);
    if (ec != std::errc())
        return "0";
    return std::string(out, end);
}

} // namespace kv
