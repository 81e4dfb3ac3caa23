#include "core/Storage.h"
#include "core/Text.h"
#include "support/TestValues.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

using kv::test::readFile;

using namespace kv;
namespace fs = std::filesystem;

namespace {

std::string header(const char* id = "Quil2019", const char* version = "0102") {
    std::string h = "DLSG";
    h += std::string(20 - std::strlen(id), ' ') + id;
    h += version;
    h += std::string(32, 'F');
    return h;
}

std::string item(std::string_view text) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04zu", text.size());
    return prefix + std::string(text);
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class StorageFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kv-storage-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes through the container exactly as a record would, with the size computed in advance.
    std::string save(const fs::path& p, const std::function<void(DocumentStorage&)>& body,
                     std::int32_t size) {
        DocumentFile loader(p.string(), size, false);
        DocumentStorage s(&loader);
        s.createStorage("Quil2019");
        body(s);
        loader.commit();
        return readFile(p);
    }
    fs::path dir;
};

DocumentStorage opened(DocumentFile& loader) {
    DocumentStorage s(&loader);
    s.openStorage();
    return s;
}

} // namespace

TEST_F(StorageFile, WritesHeaderAndItemsByteForByte) {
    const fs::path p = dir / "a.qv9";
    const std::string bytes = save(
        p,
        [](DocumentStorage& s) {
            s.beginStream("@DeclInfo");
            s.writeText("");
            s.writeMoney(Money::fromRaw(12345000));
            s.writeMoney(Money::fromRaw(-100));
            s.writeMoney(Money());
            s.writeInt32(2147483647);
            s.writeInt16(65535);
            s.writeByte(7);
            s.writeDate(DateValue::fromDays(43831));
            s.writeInt32(-1);
        },
        60 + 13 + 4 + 10 + 9 + 5 + 14 + 9 + 5 + 9 + 14);
    EXPECT_EQ(bytes, header() + "0009@DeclInfo" + "0000" + "00061234.5" + "0005-0.01" + "00010" +
                         "00102147483647" + "000565535" + "00017" + "000543831" + "00104294967295");
    EXPECT_EQ(bytes.substr(0, 4 + 20), "DLSG            Quil2019");
}

TEST_F(StorageFile, ReadsBackWhatItWrote) {
    const fs::path p = dir / "a.qv9";
    const Cp1251Text cyr = Cp1251Text::fromUtf8("Иванов Иван");
    const std::int32_t size =
        60 + DocumentStorage::sizeOfText("@X") + DocumentStorage::sizeOfText(cyr) +
        DocumentStorage::sizeOfInt32(2147483647) + DocumentStorage::sizeOfMoney(Money::fromRaw(-12345)) +
        DocumentStorage::sizeOfDate(DateValue::fromDays(43831.5)) + DocumentStorage::sizeOfText("");
    save(
        p,
        [&](DocumentStorage& s) {
            s.beginStream("@X");
            s.writeText(cyr);
            s.writeInt32(2147483647);
            s.writeMoney(Money::fromRaw(-12345));
            s.writeDate(DateValue::fromDays(43831.5));
            s.writeText("");
        },
        size);
    EXPECT_EQ(fs::file_size(p), static_cast<std::uintmax_t>(size));
    DocumentFile loader(p.string(), 0, true);
    auto s = opened(loader);
    EXPECT_EQ(s.formatIdentifier(), "Quil2019");
    EXPECT_EQ(s.formatVersion(), DocumentStorage::kVersion12);
    s.openStream("@X");
    EXPECT_EQ(s.readText(), cyr);
    EXPECT_EQ(s.readInt32(), 2147483647);
    EXPECT_EQ(s.readMoney(), Money::fromRaw(-12345));
    EXPECT_EQ(s.readDate().days, 43831.5);
    EXPECT_EQ(s.readText(), Cp1251Text{});
}

TEST(StorageRead, ValueFormsOfEarlierWriters) {
    const std::string body = item("@S") + "0001a" + "00061234,5" + "0010" + "15.03.2004" + "0010" +
                             "15,03,2004" + "0000" + "7" + "000570000";
    auto loader = DocumentFile::fromBytes(header("Quil2018", "0101") + body + std::string(5, '\0'));
    auto s = opened(*loader);
    EXPECT_EQ(s.formatVersion(), DocumentStorage::kVersion11);
    s.openStream("@S");
    EXPECT_EQ(s.readMoney(), Money::fromRaw(-10000));
    EXPECT_EQ(s.readMoney(), Money::fromRaw(12345000));
    EXPECT_EQ(s.readDate(), DateValue::fromYmd(2004, 3, 15));
    EXPECT_EQ(s.readDate(), DateValue::fromYmd(2004, 3, 15));
    EXPECT_EQ(s.readByte(), 7); // a numeric item of length 0 is read as one byte
    EXPECT_EQ(s.readInt16(), 70000 & 0xFFFF);
}

TEST(StorageRead, AmountsReadAsTheGeneralParserReadsThem) {
    const std::vector<std::string> texts{"0",
                                         "5",
                                         "5.",
                                         "0.5",
                                         ".5",
                                         "00012.3400",
                                         "1.2345",
                                         "1.23456",
                                         "-1.5",
                                         "+2",
                                         "1,5",
                                         "1.2.3",
                                         "12a",
                                         "a",
                                         "1e5",
                                         " 1",
                                         "99999999999999",
                                         "99999999999999.9999",
                                         "922337203685477.5807",
                                         "922337203685477.5808"};
    std::string body = item("@S");
    for (const auto& t : texts)
        body += item(t);
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    s.openStream("@S");
    for (const auto& t : texts) {
        std::optional<Money> expected = t == "a" ? Money::fromRaw(-Money::kScale) : parseMoney(t, '.');
        if (!expected)
            expected = parseMoney(t, ',');
        if (expected)
            EXPECT_EQ(s.readMoney(), *expected) << t;
        else
            EXPECT_THROW(s.readMoney(), ConversionError) << t;
    }
}

TEST(StorageRead, DatesByContainerVersion) {
    auto v12 = DocumentFile::fromBytes(header() + item("@S") + item("43831") + item("43831,5"));
    auto s = opened(*v12);
    s.openStream("@S");
    EXPECT_EQ(s.readDate().days, 43831);
    EXPECT_EQ(s.readDate().days, 43831.5);
    auto v10 = DocumentFile::fromBytes(header("Quil2010", "0100") + item("@S") + item("43831"));
    auto old = opened(*v10);
    old.openStream("@S");
    EXPECT_THROW(old.readDate(), ConversionError);
}

TEST(StorageRead, DaysThatAreNoDateAreADamagedFile) {
    // Days of 01.01.0001 to 31.12.9999 read; anything else would pass as 30.12.1899.
    for (const char* text : {"nan", "inf", "-inf", "1e308", "2958466", "-693594", "nan(1)"}) {
        auto loader = DocumentFile::fromBytes(header() + item("@S") + item(text));
        auto s = opened(*loader);
        s.openStream("@S");
        EXPECT_THROW(s.readDate(), BadStorageError) << text;
    }
    // A day of more digits than the writer keeps is read as it will be written again.
    auto loader = DocumentFile::fromBytes(header() + item("@S") + item("2958465.9") + item("-693593") +
                                          item("43831.123456789012345678"));
    auto s = opened(*loader);
    s.openStream("@S");
    EXPECT_EQ(s.readDate().days, 2958465.9);
    EXPECT_EQ(s.readDate().days, -693593);
    const DateValue precise = s.readDate();
    EXPECT_EQ(DocumentStorage::dateText(precise), "43831.123456789");
    EXPECT_EQ(precise.days, 43831.123456789);
}

TEST(StorageRead, ValuesReadAreNeverTakenForStreams) {
    // Read in order, the value "@B" comes before the stream "@B"; where the walk over
    // the items breaks ("xxxx"), a name is still taken only where an item of its length
    // begins and was not read as a value.
    const std::string body = item("@A") + item("@B") + item("x0002@B") + item("@B") + item("2") + "xxxx" +
                             item("@C") + item("@D") + item("@D") + item("4");
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    s.openStream("@A");
    EXPECT_EQ(s.readText(), Cp1251Text{"@B"});
    EXPECT_EQ(s.readText(), Cp1251Text{"x0002@B"});
    s.openStream("@B");
    EXPECT_EQ(s.readInt32(), 2);
    s.openStream("@C");
    EXPECT_EQ(s.readText(), Cp1251Text{"@D"});
    s.openStream("@D");
    EXPECT_EQ(s.readInt32(), 4);
    s.openStream("@B");
    EXPECT_EQ(s.readInt32(), 2);
}

TEST(StorageRead, StreamsAreFoundAtTheirFirstItem) {
    // "@Pens" is the beginning of "@PensSub000" and also sits inside a value; only an
    // item that is exactly the name counts, and the first such item wins.
    const std::string body = item("@Other") + item("x@Pensy") + item("@PensSub000") + item("1") +
                             item("@Pens") + item("2") + item("@Pens") + item("3");
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    s.openStream("@Pens");
    EXPECT_EQ(s.readInt32(), 2);
    s.openStream("@PensSub000");
    EXPECT_EQ(s.readInt32(), 1);
    EXPECT_EQ(s.currentStreamName(), "@PensSub000");
    EXPECT_THROW(s.openStream("@Missing"), StreamOpenError);
}

TEST(StorageRead, StreamsFollowingEachOtherAndRepeatedNamesFindTheFirst) {
    // Read in file order, each stream is found right at the position; a name that
    // occurs again later still leads to its first item, also when the position sits
    // on the later one; going back and forth finds every stream.
    const std::string body =
        item("@S") + item("1") + item("@T") + item("2") + item("@S") + item("3") + item("@U") + item("4");
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    s.openStream("@S");
    EXPECT_EQ(s.readInt32(), 1);
    s.openStream("@T");
    EXPECT_EQ(s.readInt32(), 2);
    s.openStream("@S");
    EXPECT_EQ(s.readInt32(), 1);
    s.openStream("@U");
    EXPECT_EQ(s.readInt32(), 4);
    s.openStream("@T");
    EXPECT_EQ(s.readInt32(), 2);

    auto unique = DocumentFile::fromBytes(header() + item("@A") + item("1") + item("@B") + item("2") +
                                          item("@C") + item("3"));
    auto u = opened(*unique);
    for (const auto& [name, value] : {std::pair{"@B", 2}, {"@C", 3}, {"@A", 1}, {"@B", 2}, {"@C", 3}}) {
        u.openStream(name);
        EXPECT_EQ(u.readInt32(), value) << name;
        EXPECT_EQ(u.currentStreamName(), name);
    }
}

TEST(StorageRead, StreamsAfterItemsOfEveryLengthAreFoundByTheirItems) {
    // Each value holds the next stream's name, so a stream found by a byte search
    // instead of by its own item would read from inside the value.
    std::string body;
    for (int length = 8; length <= 99; ++length) {
        const std::string next = "@S" + std::to_string(length + 1);
        body += item("@S" + std::to_string(length)) + item(next + std::string(length - next.size(), 'x'));
    }
    body += item("@S100") + item("7");
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    // The last stream first: the whole file is walked before anything is read.
    s.openStream("@S100");
    EXPECT_EQ(s.readInt32(), 7);
    for (int length = 8; length <= 99; ++length) {
        s.openStream("@S" + std::to_string(length));
        EXPECT_EQ(s.readText().size(), static_cast<std::size_t>(length)) << length;
    }
}

TEST(StorageRead, RepeatedNameFoundByTheFirstItemAlsoInAFileReadInOrder) {
    // Lines of a source read in order, where a damaged file repeats an earlier line's name.
    const std::string body = item("@L000000") + item("1") + item("@L000001") + item("2") + item("@L000000") +
                             item("3") + item("@L000002") + item("4");
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    for (const auto& [name, value] : {std::pair{"@L000000", 1}, {"@L000001", 2}, {"@L000000", 1}}) {
        s.openStream(name);
        EXPECT_EQ(s.readInt32(), value) << name;
    }
    s.openStream("@L000002");
    EXPECT_EQ(s.readInt32(), 4);
}

TEST(StorageRead, NamesAskedForNeedNotOutliveTheirOpening) {
    // The storage may remember the names it met, but only as they stand in the file:
    // each name asked for here is gone before the next is asked.
    std::string body;
    for (int i = 0; i < 20; ++i)
        body += item("@Line00" + std::to_string(10 + i)) + item(std::to_string(i));
    auto loader = DocumentFile::fromBytes(header() + body);
    auto s = opened(*loader);
    for (int i : {0, 1, 2, 3, 19, 4, 5}) {
        auto name = std::make_unique<std::string>("@Line00" + std::to_string(10 + i) + std::string(32, ' '));
        name->resize(name->size() - 32);
        s.openStream(*name);
        name.reset();
        EXPECT_EQ(s.readInt32(), i);
    }
}

TEST(StorageRead, DamagedFilesFailWithStorageFailures) {
    EXPECT_THROW(DocumentFile::fromBytes(""), StorageAllocationError);
    auto pk =
        DocumentFile::fromBytes("PK\x03\x04 rest of a zip archive that is long enough to be a header....");
    DocumentStorage zip(pk.get());
    try {
        zip.openStorage();
        FAIL();
    } catch (const BadStorageError& e) {
        EXPECT_EQ(e.message().utf8(), "Неправильный формат файла декларации, возможно он поврежден.");
    }
    auto shortHeader = DocumentFile::fromBytes("DLSG  Quil2019");
    EXPECT_THROW(opened(*shortHeader), BadStorageError);
    auto badVersion = DocumentFile::fromBytes(header("Quil2019", "0x02"));
    EXPECT_THROW(opened(*badVersion), ConversionError);

    auto cut = DocumentFile::fromBytes(header() + item("@S") + "0010abc");
    auto s = opened(*cut);
    s.openStream("@S");
    EXPECT_THROW(s.readText(), BadStorageError);
    auto garbage =
        DocumentFile::fromBytes(header() + item("@S") + "00x1a" + item("99999999999") + item("1.2.3"));
    auto g = opened(*garbage);
    g.openStream("@S");
    EXPECT_THROW(g.readText(), ConversionError);
}

TEST(StorageRead, NumbersOutOfRangeAreConversionFailures) {
    auto loader = DocumentFile::fromBytes(header() + item("@S") + item("2147483648") + item("-5") +
                                          item("1.23456") + item("12a"));
    auto s = opened(*loader);
    s.openStream("@S");
    EXPECT_THROW(s.readInt32(), ConversionError);
    EXPECT_THROW(s.readInt32(), ConversionError);
    EXPECT_THROW(s.readMoney(), ConversionError);
    EXPECT_THROW(s.readByte(), ConversionError);
}

TEST(StorageState, FailuresInTheirOrder) {
    auto loader = DocumentFile::fromBytes(header() + item("@S"));
    DocumentStorage s(loader.get());
    EXPECT_THROW(s.readText(), ObjectAccessError);
    EXPECT_THROW(s.openStream("@S"), ObjectAccessError);
    EXPECT_THROW(s.writeText("x"), StorageWriteError);    // read-only is checked before initialisation
    EXPECT_THROW(s.beginStream("@S"), ObjectAccessError); // here initialisation comes first
    EXPECT_THROW(s.createStorage("Quil2019"), StorageWriteError);
    s.openStorage();
    EXPECT_THROW(s.openStorage(), StorageAlreadyCreatedError);
    EXPECT_THROW(s.beginStream("@S"), StorageWriteError);
    s.closeStorage();
    EXPECT_EQ(s.position(), 0);
    s.openStorage();

    DocumentStorage none(nullptr);
    EXPECT_THROW(none.createStorage("Quil2019"), StorageAllocationError);
}

TEST_F(StorageFile, RefusesValuesThatDoNotFitAnItem) {
    const fs::path p = dir / "long.qv9";
    DocumentFile loader(p.string(), 60 + 20000, false);
    DocumentStorage s(&loader);
    s.createStorage("Quil2019");
    s.writeText(Cp1251Text::fromBytes(std::string(9999, 'x')));
    try {
        s.writeText(Cp1251Text::fromBytes(std::string(10000, 'x')));
        FAIL();
    } catch (const StorageWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("9999"), std::string::npos);
    }
    EXPECT_THROW(s.writeText(Cp1251Text::fromBytes(std::string(9997, 'y'))),
                 StorageWriteError); // beyond the size the file was made with
}

TEST_F(StorageFile, ZeroSizeAndMissingFiles) {
    EXPECT_THROW(DocumentFile((dir / "z.qv9").string(), 0, false), StorageAllocationError);
    writeFile(dir / "empty.qv9", "");
    EXPECT_THROW(DocumentFile((dir / "empty.qv9").string(), 0, true), StorageAllocationError);
    try {
        DocumentFile((dir / "missing.qv9").string(), 0, true);
        FAIL();
    } catch (const BadStorageError& e) {
        EXPECT_EQ(e.message().utf8(),
                  "Ошибка чтения файла: " + (dir / "missing.qv9").string() + "\rТакого файла нет");
    }
    EXPECT_FALSE(fs::exists(dir / "missing.qv9")); // reading creates nothing
    EXPECT_THROW(DocumentFile((dir / "no-folder" / "a.qv9").string(), 100, false), BadStorageError);
}

TEST_F(StorageFile, AFailedSaveLeavesTheOldFileAsItWas) {
    const fs::path p = dir / "keep.qv9";
    const std::string old = save(
        p, [](DocumentStorage& s) { s.beginStream("@Old"); }, 60 + 8);
    // A full disk and the file-size limit are named; other failures give the general message.
    struct Case {
        const char* step;
        int error;
        Cp1251Text message;
    };
    const Cp1251Text general = msg::fileRead(p.string());
    for (const Case& c :
         {Case{"write", ENOSPC, msg::noSpace()}, Case{"write", EFBIG, msg::fileTooLarge()},
          Case{"sync", EDQUOT, msg::noSpace()}, Case{"sync", EIO, general}, Case{"rename", 0, general}}) {
        SCOPED_TRACE(c.step + std::to_string(c.error));
        DocumentFile loader(p.string(), 60 + 8, false);
        DocumentStorage s(&loader);
        s.createStorage("Quil2019");
        s.beginStream("@New");
        loader.faultHook = [&](std::string_view step) {
            // Mid-save the temporary file is hidden and short: "." + a hash of the name + ".tmp-XXXXXX".
            std::vector<std::string> names;
            for (const auto& e : fs::directory_iterator(dir))
                names.push_back(e.path().filename().string());
            ASSERT_EQ(names.size(), 2u);
            EXPECT_EQ(std::count_if(names.begin(), names.end(),
                                    [](const std::string& n) {
                                        return n.size() == 28 && n.front() == '.' && n.find(".tmp-") == 17;
                                    }),
                      1);
            if (step == c.step && c.error != 0)
                throw std::system_error(c.error, std::generic_category());
            if (step == c.step)
                throw std::runtime_error("failed");
        };
        try {
            loader.commit();
            ADD_FAILURE() << "saved";
        } catch (const BadStorageError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(readFile(p), old);
    }
    // A loader dropped without commit (a record failed half way) writes nothing either.
    {
        DocumentFile loader(p.string(), 60 + 8, false);
        DocumentStorage s(&loader);
        s.createStorage("Quil2019");
    }
    EXPECT_EQ(readFile(p), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1); // no temporary left
}

// Who may read a saved return, where a save through a link goes, and what is not replaced.
TEST_F(StorageFile, SavesKeepPermissionsFollowLinksAndRefuseReadOnlyFiles) {
    auto saveNew = [&](const fs::path& p) {
        save(
            p, [](DocumentStorage& s) { s.beginStream("@New"); }, 60 + 8);
    };
    auto mode = [](const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; };
    const mode_t oldMask = ::umask(022);
    saveNew(dir / "new.qv9"); // the person's INN and passport: the owner's alone
    EXPECT_EQ(mode(dir / "new.qv9"), fs::perms::owner_read | fs::perms::owner_write);
    ::umask(oldMask);

    writeFile(dir / "shared.qv9", "old");
    fs::permissions(dir / "shared.qv9",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    saveNew(dir / "shared.qv9");
    EXPECT_EQ(mode(dir / "shared.qv9"),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a link (also one to a file not yet made) the target is written, the link stays.
    fs::create_directories(dir / "real");
    writeFile(dir / "real" / "ret.qv9", "old");
    fs::create_symlink("real/ret.qv9", dir / "link.qv9");
    fs::create_symlink(dir / "real" / "later.qv9", dir / "dangling.qv9");
    for (const auto& [link, target] : {std::pair{"link.qv9", "ret.qv9"}, {"dangling.qv9", "later.qv9"}}) {
        saveNew(dir / link);
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
        EXPECT_EQ(readFile(dir / "real" / target), header() + "0004@New") << link;
    }

    // A return made read-only is refused with the read-only message, also for the root user.
    writeFile(dir / "locked.qv9", "old");
    fs::permissions(dir / "locked.qv9", fs::perms::owner_read | fs::perms::group_read);
    try {
        DocumentFile((dir / "locked.qv9").string(), 68, false);
        ADD_FAILURE() << "a read-only file was to be replaced";
    } catch (const BadStorageError& e) {
        EXPECT_EQ(e.message(), msg::fileRead((dir / "locked.qv9").string()));
    }
    EXPECT_EQ(readFile(dir / "locked.qv9"), "old");
}

// A save killed half way left its temporary, the whole return: the next save of that file
// removes it, but not a temporary another save is writing (it holds a lock on it), nor
// one of another file.
TEST_F(StorageFile, ASaveRemovesTheTemporariesKilledSavesLeft) {
    // The name this program gives the temporary of ret.qv9, seen mid-save.
    std::string seen;
    {
        DocumentFile loader((dir / "ret.qv9").string(), 60 + 8, false);
        DocumentStorage s(&loader);
        s.createStorage("Quil2019");
        s.beginStream("@Old");
        loader.faultHook = [&](std::string_view) {
            for (const auto& e : fs::directory_iterator(dir))
                seen = e.path().filename().string();
        };
        loader.commit();
    }
    ASSERT_EQ(seen.size(), 28u);
    // Named as this program names them, and as earlier versions did.
    const std::vector<std::string> stale = {seen.substr(0, 22) + "Killed", ".ret.qv9.tmp-Ab3xYz"};
    const std::vector<std::string> kept = {".ret.qv9.tmp-InUse1", ".other.qv9.tmp-Ab3xYz",
                                           ".ret.qv9.tmp-Ab3xYz7", "ret.qv9.tmp-Ab3xYz"};
    for (const std::vector<std::string>* names : {&stale, &kept})
        for (const std::string& name : *names)
            writeFile(dir / name, "DLSG the person's return");
    const int held = ::open((dir / ".ret.qv9.tmp-InUse1").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    save(
        dir / "ret.qv9", [](DocumentStorage& s) { s.beginStream("@New"); }, 60 + 8);
    ::close(held);
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
}

// Any name the folder takes can be saved, the longest too; a longer one is refused with
// a message that says so rather than calling the file busy.
TEST_F(StorageFile, NamesUpToTheFoldersLimitAreSavedLongerOnesNamedAsTooLong) {
    for (const std::size_t length : {244u, 255u}) {
        const fs::path p = dir / (std::string(length - 4, 'x') + ".qv9");
        save(
            p, [](DocumentStorage& s) { s.beginStream("@New"); }, 60 + 8);
        EXPECT_EQ(readFile(p), header() + "0004@New") << length;
    }
    const fs::path tooLong = dir / (std::string(256 - 4, 'x') + ".qv9");
    try {
        DocumentFile(tooLong.string(), 68, false);
        ADD_FAILURE() << "a name too long was taken";
    } catch (const BadStorageError& e) {
        EXPECT_EQ(e.message(), msg::nameTooLong(tooLong.string()));
    }
}

// A folder, a FIFO or a device is refused at once, for reading and for saving, and
// left as it is; no one waits on a FIFO that nobody writes.
TEST_F(StorageFile, PathsThatAreNotFilesAreRefused) {
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directories(dir / "folder");
    for (const fs::path& p : {dir / "fifo", dir / "folder", fs::path("/dev/null")}) {
        for (bool reading : {true, false}) {
            try {
                DocumentFile(p.string(), reading ? 0 : 68, reading);
                ADD_FAILURE() << p << " opened";
            } catch (const BadStorageError& e) {
                EXPECT_EQ(e.message(), msg::notRegularFile(p.string())) << p;
            }
        }
        EXPECT_THROW(requireRegularFileOrNew(p.string()), BadStorageError) << p;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_NO_THROW(requireRegularFileOrNew((dir / "new.pdf").string()));
}

TEST_F(StorageFile, ALockedFileCannotBeOpenedByAnotherReader) {
    const fs::path p = dir / "locked.qv9";
    save(
        p, [](DocumentStorage& s) { s.beginStream("@A"); }, 60 + 6);
    const int fd = ::open(p.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_THROW(DocumentFile(p.string(), 0, true), BadStorageError);
    EXPECT_THROW(DocumentFile(p.string(), 66, false), BadStorageError);
    ::close(fd);
    EXPECT_NO_THROW(DocumentFile(p.string(), 0, true));
}

// Two programs opening one return at once: the second waits the moment the first
// takes to read it, instead of calling the file busy. The first lets go 50 ms after
// the second starts to wait; a round in which a loaded machine kept it from running
// within the half second the reader waits proves nothing and is played again.
TEST_F(StorageFile, AReaderWaitsForAnotherReaderToFinish) {
    using Clock = std::chrono::steady_clock;
    const fs::path p = dir / "shared.qv9";
    save(
        p, [](DocumentStorage& s) { s.beginStream("@A"); }, 60 + 6);
    for (int round = 0; round < 5; ++round) {
        const int fd = ::open(p.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        const Clock::time_point waitFrom = Clock::now();
        Clock::time_point letGo;
        std::thread first([fd, &letGo] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            letGo = Clock::now();
            ::close(fd);
        });
        bool opened = true;
        try {
            DocumentFile(p.string(), 0, true);
        } catch (const BadStorageError&) {
            opened = false;
        }
        first.join();
        if (opened)
            return;
        ASSERT_GT(letGo - waitFrom, std::chrono::milliseconds(400))
            << "the reader gave up although the first holder let go in time";
    }
    FAIL() << "the first holder never let go within the reader's wait";
}

TEST(StorageWrite, FixedWidthHeaderFields) {
    auto write = [](std::string_view id) {
        auto loader = std::make_unique<DocumentFile>("/tmp/kv-never-written.qv9", 60, false);
        DocumentStorage s(loader.get());
        s.createStorage(id);
        return loader->buffer().substr(4, 20);
    };
    EXPECT_EQ(write("Quil2019"), "            Quil2019");
    EXPECT_EQ(write("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(write(""), std::string(20, '\0')); // an empty text leaves the field as it was
}
