// kvilmar-cli: the program's core from the command line (look inside, check,
// compute and export a return without the window).
#include "cli/Commands.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const kv::cli::Args&);
};

// clang-format off
constexpr Command kCommands[] = {
    // The return: check, compute, export and print it; then fill it from certificates; look inside
    // its file; keep the directories.
    {"check", "check FILE.qv9", "проверка декларации до первой ошибки (код 1 при ошибке)", kv::cli::cmdCheck},
    {"compute", "compute FILE.qv9", "расчет декларации: все листы в формате JSON", kv::cli::cmdCompute},
    {"export", "export FILE.qv9 [--out DIR] [--date ДД.ММ.ГГГГ] [--guid GUID] [--no-check]", "проверка и файл XML для налоговой службы; печатает путь к файлу", kv::cli::cmdExport},
    {"xml", "xml FILE.qv9 [--date ДД.ММ.ГГГГ] [--guid GUID]", "XML декларации (байты файла) в стандартный вывод", kv::cli::cmdXml},
#ifdef KV_HAVE_PRINT
    {"pdf", "pdf FILE.qv9 --out FILE.pdf [--date ДД.ММ.ГГГГ] [--guid GUID] [--no-check]", "проверка и листы декларации со штрих-кодами в файл PDF, как при печати", kv::cli::cmdPdf},
#endif
    {"validate", "validate FILE.xml", "проверка файла 3-НДФЛ 5.14 или 4-НДФЛ 5.03 по схеме формата: все нарушения со строками (код 1 при нарушениях)", kv::cli::cmdValidate},
    {"import-2ndfl", "import-2ndfl RETURN.qv9 CERTIFICATE.xml... [--inn INN]", "справки о доходах 2-НДФЛ (формат 5.06) в декларацию: добавить или заменить источники и сохранить файл (код 1, если справка не принята: тогда декларация не меняется)", kv::cli::cmdImport2ndfl},
    {"items", "items FILE.qv9", "заголовок и все элементы файла декларации", kv::cli::cmdItems},
    {"dump", "dump FILE.qv9", "вся декларация в формате JSON", kv::cli::cmdDump},
    {"import-rates", "import-rates FILE... [--out CurrencyRates.xml] [--currency КОД]", "курсы ЦБ РФ (ежедневные и динамика, XML) в справочник курсов валют, который читает программа", kv::cli::cmdImportRates},
    {"import-okved", "import-okved FILE.csv [--out Sp_OKVED2.xml] [--replace]", "справочник ОКВЭД из классификатора Росстата (CSV; по умолчанию в папку данных пользователя)", kv::cli::cmdImportOkved},
    {"import-soun", "import-soun soun1.dbf [--out InspectionNumbers.xml] [--date ДД.ММ.ГГГГ] [--replace]", "справочник инспекций из классификатора СОУН (по умолчанию в папку данных пользователя)", kv::cli::cmdImportSoun},
    {"directories", "directories", "где найден каждый справочник и прочитан ли он", kv::cli::cmdDirectories},
};
// clang-format on

void printHelp() {
    std::cout << "Квилмар 2019 — декларация 3-НДФЛ и 4-НДФЛ за 2019 год, командная строка.\n\n"
                 "Использование: kvilmar-cli КОМАНДА [АРГУМЕНТЫ]\n\n"
                 "Команды:\n";
    for (const auto& c : kCommands)
        std::cout << "  " << c.usage << "\n      " << c.summary << '\n';
    std::cout << "\n  --help       эта справка\n  --version    версия программы\n\n"
                 "Коды завершения: 0 успешно, 1 ошибка в декларации, 2 ошибка файла или аргументов.\n";
}

} // namespace

int main(int argc, char** argv) {
    // Past a file-size limit a write fails with EFBIG and is reported, instead of the
    // signal ending the program in the middle of a file.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        printHelp();
        return 2;
    }
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp();
        return 0;
    }
    if (first == "--version") {
        std::cout << "kvilmar-cli " << KV_VERSION << " (Квилмар 2019)\n";
        return 0;
    }
    for (const auto& c : kCommands) {
        if (first == c.name) {
            kv::cli::Args args(argv + 2, argv + argc);
            int status = 2;
            try {
                status = c.run(args);
            } catch (const std::exception& e) {
                std::cerr << "kvilmar-cli: " << e.what() << '\n';
                return 2;
            }
            // Output that did not reach its file (a full disk, a closed pipe) is a failure,
            // not a truncated result with status 0.
            std::cout.flush();
            if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0 ||
                std::fclose(stdout) != 0) {
                std::cerr << "kvilmar-cli: не удалось записать результат в стандартный вывод\n";
                return 2;
            }
            return status;
        }
    }
    std::cerr << "kvilmar-cli: неизвестная команда \"" << first << "\" (см. kvilmar-cli --help)\n";
    return 2;
}
