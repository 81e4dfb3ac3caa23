#pragma once
// One function per command of kvilmar-cli. Arguments exclude the command name.
// Each returns the process exit status: 0 success, 1 a fault in the return, 2 a bad file or usage.
#include <string>
#include <vector>

namespace kv::cli {

using Args = std::vector<std::string>;

int cmdItems(const Args& args);
int cmdDump(const Args& args);
int cmdImportSoun(const Args& args);
int cmdDirectories(const Args& args);
int cmdImportOkved(const Args& args);
int cmdImportRates(const Args& args);
int cmdImport2ndfl(const Args& args);
int cmdCompute(const Args& args);
int cmdCheck(const Args& args);
int cmdExport(const Args& args);
int cmdXml(const Args& args);
int cmdValidate(const Args& args);
int cmdPdf(const Args& args); // only in builds with the print module

} // namespace kv::cli
