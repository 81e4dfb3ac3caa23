#pragma once
// The document file: a 60-byte "DLSG" header and length-prefixed text items.
#include "core/Date.h"
#include "core/Money.h"
#include "core/StorageErrors.h"
#include "core/StreamNameSet.h"
#include "core/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kv {

// The whole file's bytes bound to a path.
// Reading takes the file whole under an exclusive advisory lock; a path that is not a
// regular file (a folder, a FIFO, a device) is refused without waiting on it.
// Writing fills a buffer of the exact size; commit() then writes a hidden temporary file
// (".HASH.tmp-XXXXXX", HASH from the target's name, short so any legal name can be saved)
// beside the target, flushes it and renames it over the target, so the old file is either
// replaced whole or left untouched, and the temporary file is removed on every failure;
// temporaries of the same target left by a save that was killed go after a save. A symbolic link is followed:
// its target is replaced and the link stays. A replaced file keeps its mode and owner; a new one is readable
// by its owner only. A file without write permission is not replaced. A loader destroyed without commit()
// writes nothing.
class DocumentFile {
public:
    DocumentFile(std::string path, std::int32_t size, bool readOnly);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // For tests and fuzzing: a read-only loader over bytes in memory.
    static std::unique_ptr<DocumentFile> fromBytes(std::string bytes);
    // A loader to write a document of the given size into memory; commit() keeps the bytes there.
    static std::unique_ptr<DocumentFile> inMemory(std::int32_t size);

    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    std::int32_t size() const { return static_cast<std::int32_t>(buffer_.size()); }
    std::string& buffer() { return buffer_; }
    const std::string& buffer() const { return buffer_; }

    void commit();

    // Test hook: called at each step of commit() ("write", "sync", "rename");
    // throwing from it simulates a failure at that step (a std::system_error as a
    // failure with its errno).
    std::function<void(std::string_view step)> faultHook;

private:
    DocumentFile() = default;
    std::string path_;
    std::string target_; // the file a save replaces: path_ with its symbolic links followed
    bool readOnly_ = true;
    std::string buffer_;
    int lockFd_ = -1;
    bool committed_ = false;
    bool inMemory_ = false;
};

// Refuses a path that exists and is not a regular file (after symbolic links), for
// files written by other means than DocumentFile: BadStorageError(msg::notRegularFile).
void requireRegularFileOrNew(const std::string& path);
// The file a save through path replaces: path itself, or where its chain of symbolic
// links ends (also a link to a file not yet made). Whatever replaces a file by renaming
// a new one over it writes here, so that a link stays a link and its target is renewed.
std::string linkTarget(std::string path);

class DocumentStorage {
public:
    static constexpr std::int32_t kVersion11 = 65537;
    static constexpr std::int32_t kVersion12 = 65538;
    static constexpr std::size_t kHeaderSize = 60;
    static constexpr std::size_t kMaxItem = 9999;
    // Every stream name of a document begins with this character.
    static constexpr char kStreamMark = '@';

    explicit DocumentStorage(DocumentFile* loader);

    void createStorage(std::string_view identifier);
    void openStorage();
    void closeStorage();

    void beginStream(std::string_view name);
    void openStream(std::string_view name);

    // The text items of the records: Windows-1251, as the document holds them.
    void writeText(const Cp1251Text& value);
    void writeText(AsciiText value) { writeText(Cp1251Text(value)); }
    void writeInt32(std::int32_t value);
    void writeInt16(std::uint16_t value);
    void writeByte(std::uint8_t value);
    void writeMoney(Money value);
    void writeDate(DateValue value);

    Cp1251Text readText();
    // The same text as a view of the document's bytes (Windows-1251), valid while the loader lives.
    std::string_view readTextView();
    std::int32_t readInt32();
    std::uint16_t readInt16();
    std::uint8_t readByte();
    Money readMoney();
    DateValue readDate();

    const std::string& formatIdentifier() const { return formatIdentifier_; }
    std::int32_t formatVersion() const { return majorVersion_ * 65536 + minorVersion_; }
    const std::string& currentStreamName() const { return currentStreamName_; }
    const std::string& reservedHeader() const { return reservedHeader_; }
    std::int32_t position() const { return position_; }
    // True when the item at the position is the stream of that name (reading only):
    // lets a reader take blocks in the order the file has them.
    bool streamAtPosition(std::string_view name) const;
    // True when the position is past the last byte (no further item can be read).
    bool atEnd() const;

    // Item texts as written, so records can compute their exact stored size.
    static std::string int32Text(std::int32_t v);
    static std::string int16Text(std::uint16_t v);
    static std::string byteText(std::uint8_t v);
    static std::string moneyText(Money v);
    static std::string dateText(DateValue v);

    // 4 + the length of the item's text.
    static std::int32_t sizeOfText(std::string_view v) { return 4 + static_cast<std::int32_t>(v.size()); }
    static std::int32_t sizeOfText(const Cp1251Text& v) { return sizeOfText(std::string_view(v.bytes())); }
    static std::int32_t sizeOfInt32(std::int32_t v) { return sizeOfText(int32Text(v)); }
    static std::int32_t sizeOfInt16(std::uint16_t v) { return sizeOfText(int16Text(v)); }
    static std::int32_t sizeOfByte(std::uint8_t v) { return sizeOfText(byteText(v)); }
    static std::int32_t sizeOfMoney(Money v) { return sizeOfText(moneyText(v)); }
    static std::int32_t sizeOfDate(DateValue v) { return sizeOfText(dateText(v)); }

private:
    void requireWritable(bool initialisedFirst) const;
    void requireInitialised() const;
    void writeItem(std::string_view text);
    std::string_view readItem(bool numeric);

    DocumentFile* loader_ = nullptr;
    std::string_view bytes_; // the loader's buffer, which keeps its size and place
    bool readOnly_ = true;
    std::int32_t position_ = 0;
    std::string formatIdentifier_;
    std::string currentStreamName_;
    std::string reservedHeader_;
    std::int32_t majorVersion_ = 0;
    std::int32_t minorVersion_ = 0;
    bool initialised_ = false;
    bool created_ = false;
    // The index of stream names: every item not read as a value that begins with
    // kStreamMark, in file order. A stream is the first item of its name that is not a
    // value, so a text typed as a stream name never stands in for the stream. The index
    // grows with reading: items read in file order are walked as they are read, so a
    // document read the way it was written is walked once. While no name has come twice,
    // the stream at the position is the first of its name and is taken there; a stream
    // asked for out of order, or any repeated name, brings in the table from each name
    // to its items.
    struct NameSlot {
        std::uint32_t tag;  // high bits of the name's hash
        std::int32_t first; // ordinal of the name's first item, plus one; 0 marks an empty slot
        std::int32_t last;  // ordinal of its last item so far, plus one
    };
    bool openIndexedStream(std::string_view name);
    void walkItem();
    void walkOver(std::size_t at, std::size_t length);
    void walkPast(std::size_t offset);
    void indexName(std::size_t at, std::string_view name);
    void buildTable();
    void addToTable(std::size_t ordinal);
    std::size_t probe(std::string_view name, std::uint64_t hash) const;
    std::string_view indexedName(std::size_t ordinal) const;
    std::size_t firstStreamItem(std::string_view name) const;
    bool wasReadAsValue(std::size_t at) const;
    // Where the first item not yet walked begins; kWalkEnded once the walk has reached
    // the end or an item it cannot follow, and for a storage being written.
    static constexpr std::size_t kWalkEnded = static_cast<std::size_t>(-1);
    std::size_t walked_ = kWalkEnded;
    std::vector<std::int32_t> nameStarts_; // where each indexed item begins
    StreamNameSet namesMet_;
    bool nameRepeated_ = false;
    std::size_t nextName_ = 0; // the indexed item after the stream opened last
    // Built only when needed; then kept up to date as the walk goes on.
    bool tableBuilt_ = false;
    std::vector<NameSlot> slots_;        // a power of two in size, at most half full
    std::vector<std::int32_t> nextSame_; // per indexed item: the next item of its name, plus one
    // Where the items read as values that begin like a stream name start: never streams.
    std::unordered_set<std::int32_t> valuesRead_;
};

} // namespace kv
