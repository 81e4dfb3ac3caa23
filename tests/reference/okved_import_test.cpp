#include "core/Text.h"
#include "reference/OkvedImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kv;
namespace fs = std::filesystem;

namespace {

// Lines as the published file writes them (UTF-8 here, Windows-1251 on disk). The
// subgroup 62.01.1 comes before its sibling group, as the published file sometimes
// lists a code away from its parent.
const char* const kLines[] = {
    R"("A";" ";"СЕЛЬСКОЕ ХОЗЯЙСТВО")",
    R"("A";"01";"Растениеводство и животноводство")",
    R"("A";"01.1";"Выращивание однолетних культур")",
    R"("J";" ";"ДЕЯТЕЛЬНОСТЬ В ОБЛАСТИ ИНФОРМАЦИИ И СВЯЗИ")",
    R"("J";"62";"Разработка компьютерного программного обеспечения, консультационные услуги")",
    R"("J";"62.0";"Разработка ПО")",
    R"("J";"62.02";"Деятельность консультативная по ""компьютерным"" технологиям & связи")",
    R"("J";"62.01";"Разработка компьютерного программного обеспечения")",
    R"("J";"62.01.1";"Разработка ёмких систем")",
    R"("A";"01.11";"Выращивание зерновых")",
};

std::string csvText(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string text;
    for (const auto& l : lines)
        text += Cp1251Text::fromUtf8(l).bytes() + eol;
    return text;
}

std::vector<std::string> goodLines() {
    return {std::begin(kLines), std::end(kLines)};
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "kv_okved_XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    fs::path file(const char* name) const { return path_ / name; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), {}));
    }

private:
    fs::path path_;
};

void write(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}
std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Shape {
    std::string grup, kod, okved;
    bool hasOkved;
    friend bool operator==(const Shape&, const Shape&) = default;
};
std::vector<Shape> shapes(const OkvedClassifier& c) {
    std::vector<Shape> out;
    for (const auto& e : c.entries)
        out.push_back({e.grup.bytes(), e.kod.bytes(), e.okved.bytes(), e.hasOkved});
    return out;
}

} // namespace

TEST(OkvedImport, BuildsTheHierarchyFromTheCodesInClassifierOrder) {
    const OkvedCsvResult r = readOkvedCsv(csvText(goodLines()));
    ASSERT_TRUE(r.ok());
    const std::vector<Shape> expected = {
        {"1", "A", "", false},          {"2", "A01", "01", true},       {"3", "A01.1", "01.1", true},
        {"4", "A01.11", "01.11", true}, {"1", "J", "", false},          {"2", "J62", "62", true},
        {"3", "J62.0", "62.0", true},   {"4", "J62.01", "62.01", true}, {"5", "J62.01.1", "62.01.1", true},
        {"4", "J62.02", "62.02", true},
    };
    EXPECT_EQ(shapes(r.classifier), expected);
    EXPECT_EQ(r.classifier.entries[9].name,
              Cp1251Text::fromUtf8("Деятельность консультативная по \"компьютерным\" технологиям & связи"));

    // The same text with LF lines, or saved again as UTF-8 with its mark, reads the same.
    std::string utf8 = "\xEF\xBB\xBF";
    for (const char* l : kLines)
        utf8 += std::string(l) + "\n";
    for (const std::string& variant : {csvText(goodLines(), "\n"), utf8}) {
        const OkvedCsvResult again = readOkvedCsv(variant);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(shapes(again.classifier), expected);
        EXPECT_EQ(again.classifier.entries[9].name, r.classifier.entries[9].name);
    }
}

TEST(OkvedImport, WritesTheDirectoryTheProgramReads) {
    TempDir dir;
    write(dir.file("okved.csv"), csvText(goodLines()));
    const OkvedClassifier written =
        importOkved(dir.file("okved.csv").string(), dir.file("Sp_OKVED2.xml").string());
    const auto back = OkvedClassifier::fromXml(read(dir.file("Sp_OKVED2.xml")));
    ASSERT_TRUE(back);
    EXPECT_EQ(shapes(*back), shapes(written));
    for (std::size_t i = 0; i < written.entries.size(); ++i)
        EXPECT_EQ(back->entries[i].name, written.entries[i].name);
    EXPECT_EQ(dir.entries(), 2u); // no temporary file left behind
}

TEST(OkvedImport, BadLinesAreReportedByNumberAndNothingIsWritten) {
    struct Case {
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        {R"("J";"62.09";"Прочее";"лишнее")", "ожидаются три поля в кавычках через \";\""},
        {R"("J";"62.09;"Открытая кавычка")", "ожидаются три поля в кавычках через \";\""},
        {R"("J"x;"62.09";"Текст после кавычки")", "ожидаются три поля в кавычках через \";\""},
        {R"("Ж";"62.09";"Не латинская буква")", "раздел должен быть одной латинской заглавной буквой"},
        {R"("J";"62.09";"  ")", "нет наименования"},
        {R"("J";"62-09";"Неверный код")", "неверный код \"62-09\""},
        {R"("J";"620";"Три цифры")", "неверный код \"620\""},
        {R"("J";"62";"Повтор")", "код 62 уже был"},
        {R"("A";" ";"Повтор раздела")", "раздел A уже был"},
        {R"("J";"63.11";"Без группы 63.1")", "нет вышестоящего кода 63.1 в разделе J"},
        {R"("K";"64";"Без строки раздела")", "нет строки раздела K"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> lines = goodLines();
        lines.insert(lines.begin() + 4, "");     // an empty line is skipped but counted
        lines.insert(lines.begin() + 6, c.line); // line 7
        const OkvedCsvResult r = readOkvedCsv(csvText(lines));
        ASSERT_EQ(r.faults.size(), 1u);
        EXPECT_EQ(r.faults[0], (OkvedLineFault{7, Cp1251Text::fromUtf8(c.reason)}));
        EXPECT_FALSE(r.ok());
    }

    // The one byte with no Windows-1251 character could not be written into the directory.
    const OkvedCsvResult unwritable = readOkvedCsv(csvText(goodLines()) + "\"J\";\"62.09\";\"A\x98\"\r\n");
    ASSERT_EQ(unwritable.faults.size(), 1u);
    EXPECT_EQ(
        unwritable.faults[0],
        (OkvedLineFault{11, Cp1251Text::fromUtf8("в наименовании есть знак не из кодировки Windows-1251")}));

    // The file with a bad line leaves the old directory as it was.
    TempDir dir;
    std::vector<std::string> lines = goodLines();
    lines.push_back(R"("J";"62.0x";"Плохой")");
    write(dir.file("okved.csv"), csvText(lines));
    write(dir.file("Sp_OKVED2.xml"), "old");
    try {
        importOkved(dir.file("okved.csv").string(), dir.file("Sp_OKVED2.xml").string());
        FAIL() << "a bad line must stop the import";
    } catch (const OkvedImportError& e) {
        ASSERT_EQ(e.faults().size(), 1u);
        EXPECT_EQ(e.faults()[0].line, 11);
        EXPECT_EQ(okvedFaultList(e.faults()), Cp1251Text::fromUtf8("Строка 11: неверный код \"62.0x\"\n"));
    }
    EXPECT_EQ(read(dir.file("Sp_OKVED2.xml")), "old");
    EXPECT_EQ(dir.entries(), 2u);

    // No file, and a file without a single entry, fail the same way.
    write(dir.file("empty.csv"), "\r\n");
    for (const char* name : {"missing.csv", "empty.csv"})
        EXPECT_THROW(importOkved(dir.file(name).string(), dir.file("Sp_OKVED2.xml").string()),
                     OkvedImportError);
    EXPECT_EQ(read(dir.file("Sp_OKVED2.xml")), "old");
}

// The published file written again in KOI8-R reads as names with every letter's case
// turned: refused, the old directory kept.
TEST(OkvedImport, NamesThatDoNotReadAsRussianAreRefused) {
    static const std::string order = Cp1251Text::fromUtf8("юабцдефгхийклмнопярстужвьызшэщчъ").bytes();
    std::string koi8 = csvText(goodLines());
    for (char& c : koi8) {
        const auto b = static_cast<unsigned char>(c);
        const bool upper = b >= 0xC0 && b <= 0xDF;
        const std::size_t at =
            b >= 0xC0 ? order.find(static_cast<char>(upper ? b + 0x20 : b)) : std::string::npos;
        if (at != std::string::npos)
            c = static_cast<char>((upper ? 0xE0 : 0xC0) + at);
    }
    TempDir dir;
    write(dir.file("koi8.csv"), koi8);
    write(dir.file("Sp_OKVED2.xml"), "old");
    try {
        importOkved(dir.file("koi8.csv").string(), dir.file("Sp_OKVED2.xml").string());
        FAIL() << "garbled names taken";
    } catch (const OkvedImportError& e) {
        EXPECT_TRUE(e.message().utf8().starts_with("Наименования в файле не читаются как русский текст"))
            << e.message().utf8();
    }
    EXPECT_EQ(read(dir.file("Sp_OKVED2.xml")), "old");
}

// A file cut at a line boundary reads as a smaller classifier: it replaces the directory in
// use (the target, or the one named as current) only when that is allowed; a revision
// that drops a few entries goes through.
TEST(OkvedImport, AMuchSmallerClassifierReplacesTheDirectoryOnlyWhenAllowed) {
    std::vector<std::string> lines = {R"("A";" ";"СЕЛЬСКОЕ ХОЗЯЙСТВО")"};
    for (int i = 1; i <= 29; ++i)
        lines.push_back("\"A\";\"" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                        "\";\"Вид деятельности " + std::to_string(i) + "\"");
    TempDir dir;
    const std::string target = dir.file("Sp_OKVED2.xml").string();
    write(dir.file("whole.csv"), csvText(lines));
    ASSERT_EQ(importOkved(dir.file("whole.csv").string(), target).entries.size(), 30u);
    const std::string whole = read(target);

    write(dir.file("cut.csv"), csvText({lines.begin(), lines.begin() + 19}));
    try {
        importOkved(dir.file("cut.csv").string(), target);
        FAIL() << "a cut file replaced the directory";
    } catch (const ClassifierShrinkError& e) {
        EXPECT_EQ(e.shrink().before, 30u);
        EXPECT_EQ(e.shrink().after, 19u);
    }
    EXPECT_EQ(read(target), whole);
    // The directory in use elsewhere counts when there is no file to replace yet.
    ClassifierReplace firstImport;
    firstImport.current = target;
    EXPECT_THROW(importOkved(dir.file("cut.csv").string(), dir.file("user.xml").string(), firstImport),
                 ClassifierShrinkError);
    EXPECT_FALSE(fs::exists(dir.file("user.xml")));

    write(dir.file("revised.csv"), csvText({lines.begin(), lines.begin() + 20}));
    EXPECT_EQ(importOkved(dir.file("revised.csv").string(), dir.file("user.xml").string(), firstImport)
                  .entries.size(),
              20u);
    ClassifierReplace agreed;
    agreed.allowShrink = true;
    EXPECT_EQ(importOkved(dir.file("cut.csv").string(), target, agreed).entries.size(), 19u);
}

TEST(OkvedImport, FaultListIsCutAfterTheLimit) {
    std::vector<OkvedLineFault> faults;
    for (int line = 1; line <= 4; ++line)
        faults.push_back({line, Cp1251Text{"x"}});
    EXPECT_EQ(okvedFaultList(faults, 2),
              Cp1251Text::fromUtf8("Строка 1: x\nСтрока 2: x\nи еще строк с ошибками: 2\n"));
}

TEST(OkvedSearch, FindsByCodeOrByWordsAcrossLevels) {
    const OkvedCsvResult r = readOkvedCsv(csvText(goodLines()));
    ASSERT_TRUE(r.ok());
    const OkvedClassifier& c = r.classifier;
    const auto codes = [&](const char* query) {
        std::vector<std::string> out;
        for (int i : c.search(Cp1251Text::fromUtf8(query)))
            out.push_back(c.entries[static_cast<std::size_t>(i)].kod.bytes());
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(codes("62.0"), (V{"J62.0", "J62.01", "J62.01.1", "J62.02"}));
    EXPECT_EQ(codes("62.01"), (V{"J62.01", "J62.01.1"}));
    EXPECT_EQ(codes("01"), (V{"A01", "A01.1", "A01.11"})); // beginning of the code, not any part
    EXPECT_EQ(codes("РАЗРАБОТКА  программного"), (V{"J62", "J62.01"}));
    EXPECT_EQ(codes("хозяйство"), (V{"A"}));
    EXPECT_EQ(codes("емких"), (V{"J62.01.1"})); // "ё" typed as "е"
    EXPECT_EQ(codes("62 консульт"), (V{"J62", "J62.02"}));
    EXPECT_EQ(codes("   "), V{});
    EXPECT_EQ(codes("космос"), V{});
}

TEST(OkvedSearch, ChoosingAFoundEntryFillsTheSixLists) {
    const OkvedCsvResult r = readOkvedCsv(csvText(goodLines()));
    OkvedPickerModel m(r.classifier);
    const std::vector<int> found = r.classifier.search(Cp1251Text{"62.01.1"});
    ASSERT_EQ(found.size(), 1u);
    ASSERT_TRUE(m.choose(found[0]));
    EXPECT_EQ(m.display(), Cp1251Text{"62.01.1"});
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"J62.01.1"});
    const std::vector<int> expectedIndex = {2, 1, 1, 1, 1, 0};
    for (int level = 1; level <= 6; ++level)
        EXPECT_EQ(m.currentIndex(level), expectedIndex[static_cast<std::size_t>(level - 1)]) << level;
    EXPECT_EQ(m.items(4).size(), 3u); // "нет", 62.01 and 62.02 under 62.0
    EXPECT_TRUE(m.keyLongEnough());

    // A section alone is chosen too; the code shown stays the last one with a code.
    ASSERT_TRUE(m.choose(0));
    EXPECT_EQ(m.chosenKey(), Cp1251Text{"A"});
    EXPECT_EQ(m.currentIndex(2), 0);
    EXPECT_FALSE(m.choose(-1));
    EXPECT_FALSE(m.choose(99));
}
