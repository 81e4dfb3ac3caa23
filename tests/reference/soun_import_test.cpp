#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/SounImport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace kv;
namespace fs = std::filesystem;

namespace {

// Russian text in code page 866, as the classifier stores its names.
std::string cp866(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const auto cont = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]) & 0x3Fu; };
        unsigned cp = 0;
        if (b >= 0xE0) {
            cp = ((b & 0x0Fu) << 12) | (cont(1) << 6) | cont(2);
            i += 3;
        } else {
            cp = ((b & 0x1Fu) << 6) | cont(1);
            i += 2;
        }
        if (cp >= 0x410 && cp <= 0x42F)
            out += static_cast<char>(0x80 + (cp - 0x410)); // А-Я
        else if (cp >= 0x430 && cp <= 0x43F)
            out += static_cast<char>(0xA0 + (cp - 0x430)); // а-п
        else if (cp >= 0x440 && cp <= 0x44F)
            out += static_cast<char>(0xE0 + (cp - 0x440)); // р-я
        else if (cp == 0x401)
            out += static_cast<char>(0xF0);
        else if (cp == 0x451)
            out += static_cast<char>(0xF1);
        else if (cp == 0x2116)
            out += static_cast<char>(0xFC); // №
        else
            out += '?';
    }
    return out;
}

struct Rec {
    std::string code, kind, name;
    char active = '1';
    std::string closed = "";    // bytes 7-36
    std::string successor = ""; // bytes 934-943
};

std::string record(const Rec& r) {
    std::string b(kSounRecordLength, ' ');
    auto put = [&b](std::size_t at, const std::string& v) { b.replace(at, v.size(), v); };
    put(1, r.code);
    put(5, r.kind);
    put(7, r.closed);
    put(161, cp866(r.name));
    b[411] = r.active;
    put(934, r.successor);
    return b;
}

// A dBASE table as the tax service ships it: a header with one field descriptor, the
// records, and the end-of-file mark.
std::string dbf(const std::vector<Rec>& recs, std::size_t declared) {
    std::string h(kSounHeaderLength + 32 + 1, '\0');
    h[0] = 0x03;
    for (int i = 0; i < 4; ++i)
        h[4 + i] = static_cast<char>((declared >> (8 * i)) & 0xFF);
    h[8] = static_cast<char>(h.size() & 0xFF);
    h[9] = static_cast<char>(h.size() >> 8);
    h[10] = static_cast<char>(kSounRecordLength & 0xFF);
    h[11] = static_cast<char>(kSounRecordLength >> 8);
    h.replace(32, 4, "CODE");
    h[32 + 11] = 'C';
    h.back() = 0x0D;
    for (const auto& r : recs)
        h += record(r);
    return h + '\x1A';
}

// The table with a 16-bit header field (little-endian) at `at` replaced.
std::string withHeaderBytes(std::string table, std::size_t at, unsigned value) {
    table[at] = static_cast<char>(value & 0xFF);
    table[at + 1] = static_cast<char>(value >> 8);
    return table;
}

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "kv_soun_XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
    }

private:
    fs::path path_;
};

const std::vector<Rec> kTable = {
    {"7700", "30", "Управление по г. Москве"},             // regional administration
    {"0400", "20", "Межрайонная инспекция по крупнейшим"}, // taken whatever its kind
    {"7701", "30", "Инспекция Федеральной налоговой службы № 1 по г.Москве"},
    {"7702", "20", "Отдел"},                             // kind 20
    {"7703", "31", "Закрытая", '0'},                     // not active
    {"7704", "41", "Реорганизованная", '1', "", "7705"}, // has a successor
    {"7706", "42", "Ликвидированная", '1', "01.01.2005"},
    {"7707", "43", "ИФНС № 7"},
    {"7708", "50", "ИФНС № 8"},
    {"7709", "52", "ИФНС № 9"},
    {"7710", "60", "ИФНС № 10"},
    {"7711", "51", "Вид 51"},
    {"3906", "30", "Исключена"},
    {"7203", "30", "Исключена"},
    {"7810", "30", "Исключена"},
    {"5001", "30", "Ёлкинская инспекция, ёжик"}, // last record of the table
};

} // namespace

TEST(SounImport, TakesOnlyOfficesThatReceiveReturns) {
    Folder f;
    f.write("soun1.dbf", dbf(kTable, kTable.size()));
    const CodeNameRows offices = readSounOffices(f.file("soun1.dbf"));
    std::vector<std::string> codes;
    for (const auto& o : offices)
        codes.push_back(o.code.bytes());
    EXPECT_EQ(codes, (std::vector<std::string>{"0400", "7701", "7707", "7708", "7709", "7710", "5001"}));
    EXPECT_EQ(offices[1].name,
              Cp1251Text::fromUtf8("Инспекция Федеральной налоговой службы № 1 по г.Москве"));
    EXPECT_EQ(offices.back().name, Cp1251Text::fromUtf8("Ёлкинская инспекция, ёжик"));

    // Only as many records as the header declares are read.
    f.write("short.dbf", dbf(kTable, 3));
    EXPECT_EQ(readSounOffices(f.file("short.dbf")).size(), 2u);
    // A table that ends before its declared count ends the import quietly.
    f.write("declared.dbf", dbf({kTable[2]}, 5).substr(0, 65 + kSounRecordLength));
    EXPECT_EQ(readSounOffices(f.file("declared.dbf")).size(), 1u);
}

TEST(SounImport, WritesTheDirectoryTheProgramReads) {
    Folder f;
    f.write("soun1.dbf", dbf(kTable, kTable.size()));
    const std::string out = f.file("InspectionNumbers.xml");
    ASSERT_TRUE(importSoun(f.file("soun1.dbf"), out, *DateValue::fromYmd(2020, 2, 3), Cp1251Text{"00"}));

    const std::string xml = f.read("InspectionNumbers.xml");
    EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"windows-1251\"?>")) << xml.substr(0, 60);
    EXPECT_NE(xml.find("<Inspections Version=\"00\" Date=\"03.02.2020\"><Inspection Code=\"0400\">"),
              std::string::npos);
    EXPECT_NE(
        xml.find(
            Cp1251Text::fromUtf8("<Inspection Code=\"5001\">Ёлкинская инспекция, ёжик</Inspection>").bytes()),
        std::string::npos);

    const CodeNameFile back = loadCodeNameFile(out);
    ASSERT_EQ(back.state, DirectoryState::Loaded);
    ASSERT_EQ(back.rows.size(), 7u);
    EXPECT_EQ(back.rows[2].code, Cp1251Text{"7707"});
    EXPECT_EQ(back.rows[2].name, Cp1251Text::fromUtf8("ИФНС № 7"));
    EXPECT_EQ(f.entries(), 2u); // no temporary file left behind
}

TEST(SounImport, FailuresLeaveThePreviousDirectoryUnchanged) {
    Folder f;
    const std::string good = dbf(kTable, kTable.size());
    const std::string previous = "<?xml version=\"1.0\"?><Inspections/>";
    struct Case {
        const char* what;
        std::string bytes; // empty: no file
    };
    const Case cases[] = {
        {"missing file", ""},
        {"truncated header", good.substr(0, 20)},
        {"short record", good.substr(0, good.size() - 500)},
        {"record cut by the end mark", dbf(kTable, kTable.size() + 1)},
        {"text file", std::string(2000, 'x')},
        {"header alone", dbf({}, kTable.size()).substr(0, kSounHeaderLength + 33)},
        {"header length past the end", withHeaderBytes(good, 8, 0xFFFF)},
        {"records of another length", withHeaderBytes(good, 10, 1000)},
        {"no office taken", dbf({kTable[0], kTable[3]}, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(f.file("soun1.dbf"));
        if (!c.bytes.empty())
            f.write("soun1.dbf", c.bytes);
        f.write("InspectionNumbers.xml", previous);
        try {
            importSoun(f.file("soun1.dbf"), f.file("InspectionNumbers.xml"), *DateValue::fromYmd(2020, 1, 1),
                       Cp1251Text{"00"});
            ADD_FAILURE() << "no error";
        } catch (const SounImportError& e) {
            EXPECT_NE(std::string(e.what()).find(f.file("soun1.dbf")), std::string::npos) << e.what();
        }
        EXPECT_EQ(f.read("InspectionNumbers.xml"), previous);
        EXPECT_EQ(f.entries(), c.bytes.empty() ? 1u : 2u);
    }
    // A device is refused, not read without end.
    EXPECT_THROW(importSoun("/dev/zero", f.file("InspectionNumbers.xml"), *DateValue::fromYmd(2020, 1, 1),
                            Cp1251Text{"00"}),
                 SounImportError);
    EXPECT_EQ(f.read("InspectionNumbers.xml"), previous);
    // An output folder that does not exist is an error too, not a crash.
    f.write("soun1.dbf", good);
    EXPECT_THROW(importSoun(f.file("soun1.dbf"), f.file("nowhere/InspectionNumbers.xml"),
                            *DateValue::fromYmd(2020, 1, 1), Cp1251Text{"00"}),
                 SounImportError);
}

// A table with far fewer offices than the directory in use (a download cut short) is
// written only when that is allowed.
TEST(SounImport, AMuchSmallerTableReplacesTheDirectoryOnlyWhenAllowed) {
    std::vector<Rec> many;
    for (int i = 1; i <= 20; ++i)
        many.push_back({std::to_string(7700 + i), "30", "ИФНС № " + std::to_string(i)});
    Folder f;
    const std::string out = f.file("InspectionNumbers.xml");
    const DateValue day = *DateValue::fromYmd(2020, 1, 1);
    f.write("whole.dbf", dbf(many, many.size()));
    ASSERT_TRUE(importSoun(f.file("whole.dbf"), out, day, Cp1251Text{"00"}));
    const std::string whole = f.read("InspectionNumbers.xml");

    f.write("cut.dbf", dbf({many.begin(), many.begin() + 9}, 9));
    EXPECT_THROW(importSoun(f.file("cut.dbf"), out, day, Cp1251Text{"00"}), ClassifierShrinkError);
    EXPECT_EQ(f.read("InspectionNumbers.xml"), whole);
    ClassifierReplace agreed;
    agreed.allowShrink = true;
    EXPECT_TRUE(importSoun(f.file("cut.dbf"), out, day, Cp1251Text{"00"}, agreed));
    EXPECT_EQ(loadCodeNameFile(out).rows.size(), 9u);
}
