// Checks an XML file of either form, whoever wrote it, against the schema the
// export uses, and prints every violation with its line.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Text.h"
#include "export/SchemaCheck.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace kv::cli {

int cmdValidate(const Args& args) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0)
        return usageError("validate FILE.xml", args.empty() ? "" : "Неизвестный аргумент: " + args.back());
    const std::string& path = args[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errUtf8("Не удалось открыть файл " + path);
        return 2;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string bytes = buffer.str();

    const std::optional<ReturnForm> form = formOfFile(bytes);
    if (!form) {
        errUtf8("Файл " + path + " не является декларацией 3-НДФЛ 5.14 или 4-НДФЛ 5.03");
        return 2;
    }
    const SchemaReport report = checkAgainstSchema(bytes, *form);
    const std::string title = formTitle(*form).utf8();
    if (report.valid()) {
        std::cout << path << ": соответствует формату " << title << '\n';
        return 0;
    }
    for (const SchemaViolation& v : report.violations)
        std::cout << path << ':' << v.line << ": " << v.text.utf8() << '\n';
    std::cout << path << ": не соответствует формату " << title << ", нарушений: " << report.violations.size()
              << '\n';
    return 1;
}

} // namespace kv::cli
