// The command line tells the truth: output that cannot be written, a computation that
// fails, dates and paths that are not what they seem, and how file names and messages
// reach the terminal.
#include "support/TestValues.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using kv::test::readFile;

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kv-cli-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs kvilmar-cli with the arguments (shell words) and stdout sent to `out`, or captured.
    // `before` runs first in the same shell (a change of folder, an environment).
    CliRun run(const std::string& arguments, const std::string& out = {},
               const std::string& before = {}) const {
        const fs::path outPath = dir / "stdout", errPath = dir / "stderr";
        // A command that waits on a FIFO would hang the test; it is stopped and fails instead.
        const std::string command = before + "timeout 20 '" + std::string(KV_CLI) + "' " + arguments + " >'" +
                                    (out.empty() ? outPath.string() : out) + "' 2>'" + errPath.string() + "'";
        const int raw = std::system(command.c_str());
        CliRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = readFile(outPath);
        r.err = readFile(errPath);
        return r;
    }
    static std::string example(const char* name) { return std::string(KV_EXAMPLES_DIR) + "/" + name; }

    fs::path dir;
};

// typical.qv9 whose flat is owned in a share of 1/0: the computation cannot be done.
std::string shareOfZero() {
    std::string doc = readFile(std::string(KV_EXAMPLES_DIR) + "/typical.qv9");
    std::size_t at = doc.find("0025@ConstructionDeductObj000") + 29;
    for (int i = 0; i < 7; ++i)
        at += 4 + static_cast<std::size_t>(std::stoi(doc.substr(at, 4)));
    EXPECT_EQ(doc.substr(at, 5), "00011");
    doc[at + 4] = '0';
    return doc;
}

TEST_F(Cli, OutputThatCannotBeWrittenIsStatus2) {
    for (const char* command : {"items", "dump", "compute", "check"}) {
        SCOPED_TRACE(command);
        const std::string file = "'" + example("all-records.qv9") + "'";
        EXPECT_EQ(run(std::string(command) + " " + file).status, 0);
        EXPECT_EQ(run(std::string(command) + " " + file, "/dev/full").status, 2);
    }
}

TEST_F(Cli, AComputationThatFailsIsStatus1AlsoWithoutTheCheck) {
    const fs::path doc = dir / "share.qv9";
    std::ofstream(doc, std::ios::binary) << shareOfZero();
    fs::create_directories(dir / "out");
    struct Case {
        std::string arguments;
        int status;
    };
    const std::string opts = " --date 02.03.2020 --guid 11111111-2222-3333-4444-555555555555";
    for (const Case& c :
         {Case{"export '" + doc.string() + "' --out '" + (dir / "out").string() + "'" + opts, 1},
          Case{"export '" + doc.string() + "' --no-check --out '" + (dir / "out").string() + "'" + opts, 1},
          Case{"xml '" + doc.string() + "'" + opts, 1},
          Case{"export '" + example("typical.qv9") + "' --out '" + (dir / "out").string() + "'" + opts, 0}}) {
        SCOPED_TRACE(c.arguments);
        const CliRun r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << r.err;
    }
    // The file is still written without the check, as the program writes it (the sound
    // return's export then replaced it: the same date and identifier name the same file).
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 1);
}

TEST_F(Cli, DatesNeedFourDigitYears) {
    for (const auto& [date, status] :
         {std::pair{"1.01.20", 2}, {"01.01.020", 2}, {"1.1.2020", 0}, {"01.01.2020", 0}}) {
        const CliRun r = run("xml '" + example("typical.qv9") + "' --date " + date);
        EXPECT_EQ(r.status, status) << date << ": " << r.err;
    }
    EXPECT_EQ(run("import-soun '" + example("typical.qv9") + "' --date 1.01.20").status, 2);
}

TEST_F(Cli, PathsThatAreNotFilesAreRefusedAtOnce) {
    const fs::path fifo = dir / "pipe.qv9";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& arguments :
         {"items '" + fifo.string() + "'", "dump '" + fifo.string() + "'", "check '" + fifo.string() + "'",
          "xml '" + fifo.string() + "'", "dump '" + dir.string() + "'",
          "import-soun '" + fifo.string() + "' --out '" + (dir / "InspectionNumbers.xml").string() + "'",
          "import-soun /dev/zero --out '" + (dir / "InspectionNumbers.xml").string() + "'"}) {
        SCOPED_TRACE(arguments);
        const CliRun r = run(arguments);
        EXPECT_EQ(r.status, 2) << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(fs::exists(dir / "InspectionNumbers.xml"));
    const CliRun r = run("dump '" + fifo.string() + "'");
    EXPECT_EQ(r.err,
              "Это не файл: " + fifo.string() + "\nУкажите обычный файл, а не папку, канал или устройство\n");
}

// What the imports and the export write: a FIFO under the name is refused with the
// storage's message and stays a FIFO; a symbolic link stays a link and its target gets
// the file; with no user's folder an import refuses instead of writing into the current one.
TEST_F(Cli, ImportsAndTheExportWriteOnlyRegularFiles) {
    // "J", "62", "Программы" in Windows-1251 bytes.
    std::ofstream(dir / "okved.csv", std::ios::binary)
        << "\"J\";\" "
           "\";\"\xD1\xC2\xDF\xC7\xDC\"\r\n\"J\";\"62\";\"\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\"\r\n";
    const fs::path fifo = dir / "pipe.xml", link = dir / "link.xml", target = dir / "real" / "target.xml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(target.parent_path());
    fs::create_symlink(target, link);
    for (const std::string& import : {"import-rates '" + std::string(KV_RATES_DATA) + "/bank_daily.xml'",
                                      "import-okved '" + (dir / "okved.csv").string() + "'"}) {
        SCOPED_TRACE(import);
        const CliRun refused = run(import + " --out '" + fifo.string() + "'");
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find("Это не файл: " + fifo.string()), std::string::npos) << refused.err;
        EXPECT_TRUE(fs::is_fifo(fifo));

        fs::remove(target);
        const CliRun linked = run(import + " --out '" + link.string() + "'");
        EXPECT_EQ(linked.status, 0) << linked.err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_TRUE(fs::is_regular_file(target));

        const CliRun homeless = run(import, {}, "cd '" + dir.string() + "' && env -u HOME -u XDG_DATA_HOME ");
        EXPECT_EQ(homeless.status, 2) << homeless.out;
        EXPECT_NE(homeless.err.find("HOME"), std::string::npos) << homeless.err;
    }
    EXPECT_FALSE(fs::exists(dir / "CurrencyRates.xml"));
    EXPECT_FALSE(fs::exists(dir / "Sp_OKVED2.xml"));

    const std::string exportCommand = "export '" + example("typical.qv9") + "' --out '" + dir.string() +
                                      "' --date 01.02.2020 --guid 0A1B2C3D-0000-4000-8000-00000000ABCD";
    const CliRun first = run(exportCommand);
    ASSERT_EQ(first.status, 0) << first.err;
    const fs::path exported = first.out.substr(0, first.out.find('\n'));
    ASSERT_TRUE(fs::remove(exported));
    ASSERT_EQ(::mkfifo(exported.c_str(), 0600), 0);
    const CliRun again = run(exportCommand);
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("Это не файл: "), std::string::npos) << again.err;
    EXPECT_TRUE(fs::is_fifo(exported));
}

// A byte the declared encoding has no letter for: the program's message, and none of
// libxml2's own lines, reaches the terminal.
TEST_F(Cli, OnlyTheProgramsMessageReachesTheTerminal) {
    const fs::path rates = dir / "rates.xml";
    std::ofstream(rates, std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<ValCurs Date=\"09.01.2019\"><Valute "
           "ID=\"R01235\">"
           "<NumCode>840</NumCode><CharCode>USD</CharCode><Nominal>1</Nominal><Name>\x98</Name>"
           "<Value>67,5</Value></Valute></ValCurs>\n";
    const CliRun r = run("import-rates '" + rates.string() + "' --out '" + (dir / "out.xml").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Файл курсов поврежден или не является файлом XML (" + rates.string() + ")\n");
}

TEST_F(Cli, FileNamesAndLineBreaksReachTheTerminalAsUtf8) {
    const fs::path missing = dir / "Декларация Иванова.qv9";
    const CliRun r = run("dump '" + missing.string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка чтения файла: " + missing.string() + "\nТакого файла нет\n");
}

} // namespace
