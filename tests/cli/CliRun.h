#pragma once
// kvilmar-cli run as a person runs it, through a shell: its status and everything it
// printed (standard error after standard output, or apart from it), and a file's bytes.
#include "support/TestValues.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err; // filled by runCliApart only
};

// The tool with args; redirect says where its standard error goes.
inline CliRun runCliCommand(const std::string& args, const std::string& redirect) {
    const std::string command = std::string("'") + KV_CLI + "' " + args + " " + redirect;
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

inline CliRun runCli(const std::string& args) {
    return runCliCommand(args, "2>&1");
}

// Standard output in out, standard error in err.
inline CliRun runCliApart(const std::string& args) {
    const std::filesystem::path errPath =
        std::filesystem::temp_directory_path() / ("kv-cli-err-" + std::to_string(::getpid()));
    CliRun run = runCliCommand(args, "2>'" + errPath.string() + "'");
    run.err = readFile(errPath);
    std::filesystem::remove(errPath);
    return run;
}

} // namespace kv::test
