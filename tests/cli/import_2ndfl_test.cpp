// kvilmar-cli import-2ndfl: certificates into a return saved in place, a line per
// certificate; a refused certificate or a file that cannot be chosen from leaves the
// return byte for byte as it was.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using kv::test::CliRun;
using kv::test::readFile;

CliRun cli(const std::string& args) {
    return kv::test::runCli(args);
}

std::string certificate(const char* name) {
    return "'" + (fs::path(KV_CERTIFICATES) / name).string() + "'";
}

class ImportCertificateCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kv-2ndfl-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        fs::copy_file(fs::path(KV_EXAMPLES_DIR) / "new-return.qv9", file(),
                      fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file() const { return dir_ / "return.qv9"; }
    std::string quoted() const { return "'" + file().string() + "'"; }
    CliRun import(const std::string& rest) { return cli("import-2ndfl " + quoted() + " " + rest); }

    fs::path dir_;
};

TEST_F(ImportCertificateCommand, AddsThenReplacesAndSaysSo) {
    const std::string inn = " --inn 772801234583";
    const CliRun first = import(certificate("salary.xml") + " " + certificate("rates.xml") + inn);
    ASSERT_EQ(first.status, 0) << first.out;
    EXPECT_NE(first.out.find("справка № 17, ООО \"РОМАШКА\" (ИНН 7728012340): добавлена; доход 610150,50, "
                             "налог удержан 79320,00"),
              std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("справка № 9, АО \"ЛУЧ\""), std::string::npos) << first.out;

    const CliRun again = import(certificate("salary.xml") + inn);
    ASSERT_EQ(again.status, 0) << again.out;
    EXPECT_NE(again.out.find("заменила «ООО \"РОМАШКА\"» (Доходы по ставке 13%)"), std::string::npos)
        << again.out;

    const CliRun dump = cli("dump " + quoted());
    ASSERT_EQ(dump.status, 0);
    // One source of the salary, not two.
    std::size_t count = 0;
    for (std::size_t at = 0; (at = dump.out.find("РОМАШКА", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 1u) << dump.out;
}

TEST_F(ImportCertificateCommand, RefusedOrAmbiguousLeavesTheReturnAsItWas) {
    const std::string before = readFile(file());
    const fs::path broken = dir_ / "broken.xml";
    {
        const std::string good = readFile(fs::path(KV_CERTIFICATES) / "salary.xml");
        std::ofstream(broken, std::ios::binary) << good.substr(0, good.size() / 2);
    }
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        // The first certificate would go in, the second is refused: neither does.
        {certificate("salary.xml") + " '" + broken.string() + "' --inn 772801234583", 1, "обрезан"},
        {certificate("two_recipients.xml"), 2, "Сидорова Мария Олеговна, ИНН 500123456750"},
        {certificate("standard.xml") + " --inn 772801234583 --year 2019", 2, "Неизвестный аргумент: --year"},
        {"'" + (dir_ / "missing.xml").string() + "'", 2, "Не удалось прочитать файл"},
        {"", 2, "Не указан файл справки 2-НДФЛ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = import(c.args);
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(readFile(file()), before);
    }
}

} // namespace
