// kvilmar-cli import-rates: the bank's files into a rates directory, with the
// summary on success and exit status 2, nothing written, on any failure.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kData = KV_RATES_DATA;

using RatesRun = kv::test::CliRun;
using kv::test::readFile;

RatesRun importRates(const std::string& args) {
    return kv::test::runCli("import-rates " + args);
}

std::string data(const char* name) {
    return "'" + (kData / name).string() + "'";
}

} // namespace

TEST(ImportRatesCommand, ImportsAllFilesOrNone) {
    const fs::path out = fs::temp_directory_path() / ("kv-rates-" + std::to_string(::getpid()) + ".xml");
    fs::remove(out);
    const std::string to = " --out '" + out.string() + "'";

    const RatesRun ok = importRates(data("bank_daily.xml") + " " + data("bank_dynamic_usd.xml") + to);
    EXPECT_EQ(ok.status, 0) << ok.out;
    EXPECT_NE(ok.out.find("Загружено курсов: 8, валют: 4, с 09.01.2019 по 31.12.2019"), std::string::npos)
        << ok.out;
    const std::string written = readFile(out);
    EXPECT_NE(written.find("<Rate Date=\"10.01.2019\" Rate=\"66,9909\" Quantity=\"1\"/>"), std::string::npos);

    // A good file beside a cut one, or an unknown bank currency without --currency: nothing changes.
    for (const std::string& args : {data("bank_dynamic_usd.xml") + " " + data("bank_daily_cut.xml"),
                                    data("bank_dynamic_unknown_id.xml"),
                                    data("bank_dynamic_unknown_id.xml") + " --currency 84", std::string()}) {
        const RatesRun failed = importRates(args + to);
        EXPECT_EQ(failed.status, 2) << args << failed.out;
        EXPECT_EQ(readFile(out), written) << args;
    }

    const RatesRun named = importRates(data("bank_dynamic_unknown_id.xml") + " --currency 999" + to);
    EXPECT_EQ(named.status, 0) << named.out;
    EXPECT_NE(readFile(out).find("<Currency Code=\"999\""), std::string::npos);
    fs::remove(out);
}
