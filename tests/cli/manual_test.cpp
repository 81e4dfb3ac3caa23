// The manual page of kvilmar-cli against its --help: every command the tool lists is
// described in the page with the same usage, and so are its options and exit codes.
// Commands the page describes but this build does not list (a build without the print
// module has no "pdf") are not held against it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string helpText() {
    std::string out;
    FILE* pipe = ::popen((std::string("'") + KV_CLI + "' --help").c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    ::pclose(pipe);
    return out;
}

// The page's text with the font changes dropped and "\-" read as "-".
std::string plain(std::string line) {
    line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), "");
    line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
    return line;
}

struct Page {
    std::map<std::string, std::string> usages; // command name -> usage line
    std::string text;                          // the whole page, plain
};

// One translation of the page and its headings.
struct Translation {
    const char* file; // under dist/linux/man
    const char* commands;
    const char* exitStatus;
};

// Test names show the page, not the parameter's bytes.
void PrintTo(const Translation& t, std::ostream* os) {
    *os << t.file;
}

// Under the commands' heading each command is a ".TP" entry whose ".B" line is its usage.
Page readPage(const Translation& t) {
    std::ifstream in(std::string(KV_MANUAL_DIR) + "/" + t.file);
    Page page;
    std::string line;
    bool commands = false;
    bool entry = false;
    while (std::getline(in, line)) {
        page.text += plain(line) + '\n';
        if (line.starts_with(".SH"))
            commands = line == std::string(".SH ") + t.commands;
        else if (commands && line == ".TP")
            entry = true;
        else if (entry && line.starts_with(".B ")) {
            const std::string usage = plain(line.substr(3));
            page.usages[usage.substr(0, usage.find(' '))] = usage;
            entry = false;
        }
    }
    return page;
}

class Manual : public testing::TestWithParam<Translation> {};

TEST_P(Manual, DescribesEveryCommandOptionAndExitCodeOfTheHelp) {
    const std::string help = helpText();
    const Page page = readPage(GetParam());
    ASSERT_FALSE(help.empty());
    ASSERT_GE(page.usages.size(), 8u) << "the page's command entries were not found";

    // "  usage" lines of the command list, each followed by its summary.
    std::istringstream lines(help);
    std::string line;
    int commands = 0;
    const std::regex command(R"(^  ([a-z][a-z0-9-]*)(.*)$)");
    const std::regex option(R"(^  (--[a-z-]+) .*$)");
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, m, command)) {
            ++commands;
            const auto described = page.usages.find(m[1]);
            ASSERT_NE(described, page.usages.end()) << "not in the manual page: " << m[1];
            EXPECT_EQ(described->second, line.substr(2));
        } else if (std::regex_match(line, m, option)) {
            EXPECT_NE(page.text.find(".B " + m[1].str()), std::string::npos) << m[1];
        }
    }
    EXPECT_GE(commands, 8);

    // "Коды завершения: 0 ..., 1 ..., 2 ...": each code has its entry under the heading.
    const std::size_t codes = page.text.find(std::string(".SH ") + GetParam().exitStatus);
    ASSERT_NE(codes, std::string::npos);
    const std::size_t codesLine = help.find("Коды завершения:");
    ASSERT_NE(codesLine, std::string::npos);
    const std::string listed = help.substr(codesLine, help.find('\n', codesLine) - codesLine);
    const std::regex code(R"(\b(\d) )");
    for (std::sregex_iterator it(listed.begin(), listed.end(), code), end; it != end; ++it)
        EXPECT_NE(page.text.find(".TP\n.B " + (*it)[1].str() + "\n", codes), std::string::npos) << (*it)[1];
}

INSTANTIATE_TEST_SUITE_P(Pages, Manual,
                         testing::Values(Translation{"kvilmar-cli.1", "COMMANDS", "EXIT STATUS"},
                                         Translation{"ru/kvilmar-cli.1", "КОМАНДЫ", "КОДЫ ЗАВЕРШЕНИЯ"}),
                         [](const testing::TestParamInfo<Translation>& info) {
                             return info.index == 0 ? std::string("English") : std::string("Russian");
                         });

} // namespace
