// The sample returns in examples/ are exactly what make-examples builds today:
// a change in the stored form or in the samples shows up here.
#include "ExampleReturns.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using kv::test::readFile;

namespace kv {
namespace {

namespace fs = std::filesystem;

TEST(Examples, RegeneratedSamplesEqualTheCommittedFiles) {
    std::string pattern = (fs::temp_directory_path() / "kv-examples-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    const auto written = examples::writeExamples(dir.string());
    ASSERT_EQ(written.size(), 3u);
    for (const auto& path : written) {
        const fs::path name = fs::path(path).filename();
        SCOPED_TRACE(name.string());
        const fs::path committed = fs::path(KV_EXAMPLES_DIR) / name;
        ASSERT_TRUE(fs::exists(committed)) << "run make-examples " << KV_EXAMPLES_DIR;
        EXPECT_TRUE(readFile(path) == readFile(committed)) << "run make-examples " << KV_EXAMPLES_DIR;
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace kv
