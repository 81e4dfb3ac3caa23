// The command line tells the truth: output that cannot be written, a computation that
// fails, dates and paths that are not what they seem, and how file names and messages
// reach the terminal.
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

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kv-cli-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs kvilmar-cli with the arguments (shell words) and stdout sent to `out`, or captured.
    CliRun run(const std::string& arguments, const std::string& out = {}) const {
        const fs::path outPath = dir / "stdout", errPath = dir / "stderr";
        // A command that waits on a FIFO would hang the test; it is stopped and fails instead.
        const std::string command = "timeout 20 '" + std::string(KV_CLI) + "' " + arguments + " >'" +
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

TEST_F(Cli, FileNamesAndLineBreaksReachTheTerminalAsUtf8) {
    const fs::path missing = dir / "Декларация Иванова.qv9";
    const CliRun r = run("dump '" + missing.string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка чтения файла: " + missing.string() +
                         "\nВозможно он занят, или с признаком 'read only'\n");
}

} // namespace
