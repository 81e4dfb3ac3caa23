// The "export" and "xml" commands of kvilmar-cli on the example returns.
#include "support/TestValues.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using kv::test::readFile;

namespace {

namespace fs = std::filesystem;

const std::string kFixed = " --date 02.03.2020 --guid 0f8fad5b-d9cb-469f-a165-70867728950e";
const std::string kName = "NO_NDFL3_7701_7701_770123456703_20200302_0F8FAD5B-D9CB-469F-A165-70867728950E.xml";

struct CliRun {
    int status;
    std::string out;
};

class CliExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kv_cli_export_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "out");
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun run(const std::string& arguments) {
        const fs::path out = dir_ / "stdout";
        const std::string command = std::string("'") + KV_CLI + "' " + arguments + " > '" + out.string() +
                                    "' 2> '" + (dir_ / "stderr").string() + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out)};
    }
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_ / "out"))
            names.push_back(e.path().filename().string());
        return names;
    }
    std::string example(const char* name) const {
        return std::string("'") + KV_EXAMPLES_DIR + "/" + name + "'";
    }

    fs::path dir_;
};

TEST_F(CliExport, ExportPrintsThePathAndXmlPrintsTheSameBytes) {
    const std::string outDir = (dir_ / "out").string();
    const CliRun exported = run("export " + example("all-records.qv9") + " --out '" + outDir + "'" + kFixed);
    ASSERT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, outDir + "/" + kName + "\n");
    EXPECT_EQ(written(), std::vector<std::string>{kName});

    const CliRun xml = run("xml " + example("all-records.qv9") + kFixed);
    EXPECT_EQ(xml.status, 0);
    EXPECT_EQ(xml.out, readFile(dir_ / "out" / kName));
}

TEST_F(CliExport, CheckFaultStopsTheExportUnlessSkipped) {
    const std::string out = " --out '" + (dir_ / "out").string() + "'" + kFixed;
    const CliRun checked = run("export " + example("new-return.qv9") + out);
    EXPECT_EQ(checked.status, 1);
    EXPECT_NE(checked.out.find("Не введен номер инспекции"), std::string::npos) << checked.out;
    EXPECT_TRUE(written().empty());

    // Without the check the schema still stands between the return and the file.
    const CliRun unchecked = run("export " + example("new-return.qv9") + out + " --no-check");
    EXPECT_EQ(unchecked.status, 1);
    EXPECT_TRUE(written().empty());
    const std::string refusal = readFile(dir_ / "stderr");
    EXPECT_NE(refusal.find("не соответствует формату 3-НДФЛ 5.14"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("Элемент «Документ», атрибут «КодНО»"), std::string::npos) << refusal;
    const CliRun xml = run("xml " + example("new-return.qv9") + kFixed);
    EXPECT_EQ(xml.status, 1);
    EXPECT_EQ(xml.out, "");

    EXPECT_EQ(run("xml " + example("new-return.qv9") + " --guid not-a-guid").status, 2);
    EXPECT_EQ(run("xml " + example("new-return.qv9") + " --no-check").status, 2);
    EXPECT_EQ(run("export '" + (dir_ / "missing.qv9").string() + "'").status, 2);
}

TEST_F(CliExport, ValidateReportsEveryViolationWithItsLine) {
    const std::string outDir = (dir_ / "out").string();
    ASSERT_EQ(run("export " + example("all-records.qv9") + " --out '" + outDir + "'" + kFixed).status, 0);
    const fs::path exported = dir_ / "out" / kName;
    const CliRun valid = run("validate '" + exported.string() + "'");
    EXPECT_EQ(valid.status, 0);
    EXPECT_EQ(valid.out, exported.string() + ": соответствует формату 3-НДФЛ 5.14\n");

    // The same file as another program might write it: indented, with two faults.
    std::string text = readFile(exported);
    const std::string oktmo = "\xCE\xCA\xD2\xCC\xCE=\"45379000\""; // ОКТМО="45379000" in Windows-1251
    text.replace(text.find(oktmo), oktmo.size(), "\xCE\xCA\xD2\xCC\xCE=\"4537900\"");
    text.replace(text.find("><"), 2, ">\n\n<");
    text.replace(text.find("\"5.14\""), 6, "\"5.14\" \xC2\xE5\xF0\xF1=\"1\""); // Верс="1"
    const fs::path broken = dir_ / "broken.xml";
    std::ofstream(broken, std::ios::binary) << text;
    const CliRun invalid = run("validate '" + broken.string() + "'");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, broken.string() +
                               ":2: Элемент «Файл», атрибут «Верс»: атрибут не предусмотрен форматом\n" +
                               broken.string() +
                               ":4: Элемент «СумНалПу», атрибут «ОКТМО»: значение «4537900» не соответствует "
                               "образцу [0-9]{8}|[0-9]{11}\n" +
                               broken.string() + ": не соответствует формату 3-НДФЛ 5.14, нарушений: 2\n");

    std::ofstream(dir_ / "other.xml") << "<IncomeDict/>";
    EXPECT_EQ(run("validate '" + (dir_ / "other.xml").string() + "'").status, 2);
    EXPECT_EQ(run("validate '" + (dir_ / "missing.xml").string() + "'").status, 2);
    EXPECT_EQ(run("validate").status, 2);
}

} // namespace
