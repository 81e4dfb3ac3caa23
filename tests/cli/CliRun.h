#pragma once
// kvilmar-cli run as a person runs it, through a shell: its status and everything it
// printed (standard error after standard output), and a file's bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace kv::test {

struct CliRun {
    int status = -1;
    std::string out;
};

inline CliRun runCli(const std::string& args) {
    const std::string command = std::string("'") + KV_CLI + "' " + args + " 2>&1";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace kv::test
