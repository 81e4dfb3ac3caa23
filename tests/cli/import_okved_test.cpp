// kvilmar-cli import-okved: Rosstat's CSV in, the directory out; a bad line named by
// its number with exit status 2 and the old directory kept.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using kv::test::CliRun;
using kv::test::readFile;

CliRun cli(const std::string& arguments) {
    return kv::test::runCli(arguments);
}

// "J", "62", "Программы" in Windows-1251 bytes, so the test needs no converter.
const std::string kSection = "\"J\";\" \";\"\xD1\xC2\xDF\xC7\xDC\"\r\n";                // СВЯЗЬ
const std::string kClass = "\"J\";\"62\";\"\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\"\r\n"; // Программы

class ImportOkved : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path file(const char* name) const { return dir_ / name; }

private:
    fs::path dir_ = fs::temp_directory_path() / ("kv-okved-cli-" + std::to_string(::getpid()));
};

} // namespace

TEST_F(ImportOkved, WritesTheDirectoryOrNamesTheBadLine) {
    std::ofstream(file("good.csv"), std::ios::binary) << kSection << kClass;
    const CliRun good =
        cli("import-okved '" + file("good.csv").string() + "' --out '" + file("out.xml").string() + "'");
    ASSERT_EQ(good.status, 0) << good.out;
    EXPECT_NE(good.out.find("Позиций: 2"), std::string::npos) << good.out;
    EXPECT_NE(readFile(file("out.xml")).find("<OKVED>62</OKVED>"), std::string::npos);

    std::ofstream(file("bad.csv"), std::ios::binary) << kSection << "\"J\";\"6x\";\"x\"\r\n";
    const std::string before = readFile(file("out.xml"));
    const CliRun bad =
        cli("import-okved '" + file("bad.csv").string() + "' --out '" + file("out.xml").string() + "'");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("Строка 2: неверный код \"6x\""), std::string::npos) << bad.out;
    EXPECT_EQ(readFile(file("out.xml")), before);

    EXPECT_EQ(cli("import-okved").status, 2);
    EXPECT_NE(cli("--help").out.find("import-okved FILE.csv [--out Sp_OKVED2.xml]"), std::string::npos);
}

// A file cut short at a line boundary would take most entries out of the directory: the
// command refuses it, says how to insist, and writes it only with --replace.
TEST_F(ImportOkved, AMuchSmallerClassifierNeedsReplace) {
    std::string whole = kSection;
    for (int i = 10; i < 40; ++i)
        whole += "\"J\";\"" + std::to_string(i) + "\";\"\xC2\xE8\xE4 " + std::to_string(i) + "\"\r\n"; // Вид
    std::ofstream(file("whole.csv"), std::ios::binary) << whole;
    std::ofstream(file("cut.csv"), std::ios::binary) << whole.substr(0, whole.find("\"J\";\"20\""));
    const std::string out = " --out '" + file("out.xml").string() + "'";
    ASSERT_EQ(cli("import-okved '" + file("whole.csv").string() + "'" + out).status, 0);
    const std::string before = readFile(file("out.xml"));

    const CliRun refused = cli("import-okved '" + file("cut.csv").string() + "'" + out);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.out.find("В справочнике сейчас позиций: 31, в импортируемом файле: 11"),
              std::string::npos)
        << refused.out;
    EXPECT_NE(refused.out.find("--replace"), std::string::npos) << refused.out;
    EXPECT_EQ(readFile(file("out.xml")), before);

    const CliRun replaced = cli("import-okved '" + file("cut.csv").string() + "'" + out + " --replace");
    EXPECT_EQ(replaced.status, 0) << replaced.out;
    EXPECT_NE(replaced.out.find("Позиций: 11"), std::string::npos) << replaced.out;
}
