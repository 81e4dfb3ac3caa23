// kvilmar-cli dump: the whole document as JSON, and the storage message with
// exit status 2 for a file that cannot be read.
#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

using kv::test::CliRun;
using kv::test::readFile;

CliRun dump(const std::string& file) {
    return kv::test::runCliApart("dump '" + file + "'");
}

std::string example(const char* name) {
    return std::string(KV_EXAMPLES_DIR) + "/" + name;
}

TEST(Dump, AllRecordsReturnShowsEveryRecordWithExactValues) {
    const CliRun run = dump(example("all-records.qv9"));
    ASSERT_EQ(run.status, 0) << run.err;
    const Json j = Json::parse(run.out);
    EXPECT_EQ(j["inspectionCode"], "7701");
    EXPECT_EQ(j["documentDate"], "15.03.2020");
    EXPECT_EQ(j["incomeFlags"], 23);
    EXPECT_EQ(j["supportingSheets"], 4);
    EXPECT_EQ(j["adjustedBase"], "10500.5");
    EXPECT_EQ(j["farmFoundingDate"], "01.01.2015");
    EXPECT_EQ(j["person"]["surname"], "Соколов");
    EXPECT_EQ(j["person"]["birthDate"], "12.04.1985");

    const Json& source = j["incomes13"][0];
    EXPECT_EQ(source["sourceName"], "АО \"Орбита\"");
    EXPECT_EQ(source["totalIncome"], "2205000");
    EXPECT_EQ(source["items"][2]["cadastralValue"], "2450000.15");
    EXPECT_EQ(source["agentDeductions"][1]["deductionCode"], 311);
    EXPECT_EQ(source["reservedSums"][0], "100");
    EXPECT_TRUE(source["reservedSums"][1].is_null());
    EXPECT_EQ(source["reservedSums"][11], "0");
    for (const char* list : {"incomes13NonResident", "incomes35", "incomes30", "incomes9", "foreignIncomes",
                             "investPartnerships"})
        EXPECT_EQ(j[list].size(), 1u) << list;
    EXPECT_EQ(j["businessIncomes"].size(), 2u);
    EXPECT_EQ(j["foreignIncomes"][0]["incomeInRubles"], "61905.7");
    EXPECT_EQ(j["foreignIncomes"][0]["incomeDate"], "31.12.2019");

    EXPECT_EQ(j["standardDeductions"]["childrenByMonth"][4], 2);
    EXPECT_EQ(j["standardDeductions"]["monthlyBusinessExpense"][0], "25000.5");
    EXPECT_EQ(j["socialDeductions"]["childEducation"], Json::parse(R"(["60000","30000"])"));
    EXPECT_EQ(j["socialDeductions"]["pensionContracts"][1]["contractDate"], "03.11.2016");
    const Json& share = j["propertyDeductions"]["objects"][1];
    EXPECT_EQ(share["landRegistrationDate"], "");
    EXPECT_EQ(share["rightRegistrationDate"], "01.01.2003");
    EXPECT_EQ(j["securitiesLosses"]["derivativesLossIis"], "2000");
    EXPECT_EQ(j["investmentDeductions"]["applyP3"], 1);
}

TEST(Dump, ListsThatDoNotExistAreNull) {
    const CliRun run = dump(example("new-return.qv9"));
    ASSERT_EQ(run.status, 0) << run.err;
    const Json j = Json::parse(run.out);
    EXPECT_EQ(j["incomes13"], Json::array());
    EXPECT_TRUE(j["foreignIncomes"].is_null());
    EXPECT_TRUE(j["businessIncomes"].is_null());
    EXPECT_EQ(j["sheetCountAutomatic"], 1);
}

TEST(Dump, UnreadableFilesGiveTheirMessageAndStatus2) {
    const fs::path dir = fs::temp_directory_path() / ("kv-dump-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path zip = dir / "archive.qv9";
    std::ofstream(zip, std::ios::binary) << "PK\x03\x04 not a return";
    const fs::path cut = dir / "cut.qv9";
    const std::string typical = readFile(example("typical.qv9"));
    std::ofstream(cut, std::ios::binary) << typical.substr(0, typical.size() - 2); // inside the last item

    struct Case {
        fs::path file;
        std::string message;
    };
    for (const Case& c :
         {Case{zip, "Неправильный формат файла декларации, возможно он поврежден."},
          Case{cut, "Неправильный формат файла декларации, возможно он поврежден."},
          Case{dir / "missing.qv9", "Ошибка чтения файла: " + (dir / "missing.qv9").string()}}) {
        SCOPED_TRACE(c.file.string());
        const CliRun run = dump(c.file.string());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    }
    fs::remove_all(dir);
}

} // namespace
