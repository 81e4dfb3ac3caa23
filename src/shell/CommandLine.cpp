#include "shell/CommandLine.h"

namespace kv {

std::optional<QString> commandLinePath(const QStringList& arguments) {
    if (arguments.size() != 1 && arguments.size() != 2)
        return std::nullopt;
    if (arguments.first().toLower() != QStringLiteral("-p"))
        return arguments.first();
    return arguments.value(1);
}

namespace {

const char* const kUsage = "Использование: kvilmar [[-p] ФАЙЛ.qv9]\n";

std::string helpText() {
    return std::string("Квилмар 2019 — декларация 3-НДФЛ и 4-НДФЛ за 2019 год.\n\n") + kUsage +
           "\n"
           "  ФАЙЛ.qv9     открыть эту декларацию (без файла — новая декларация)\n"
           "  -p ФАЙЛ.qv9  то же\n"
           "  --help       эта справка\n"
           "  --version    версия программы\n\n"
           "Команды без окна (расчёт, проверка, выгрузка, печать в PDF): kvilmar-cli --help\n";
}

} // namespace

std::optional<CommandLineAnswer> commandLineAnswer(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return CommandLineAnswer{helpText(), 0};
        if (argument == QLatin1String("--version"))
            return CommandLineAnswer{std::string("kvilmar ") + KV_VERSION + " (Квилмар 2019)\n", 0};
        if (argument.startsWith(QLatin1String("--")))
            return CommandLineAnswer{
                "kvilmar: неизвестный параметр «" + argument.toStdString() + "»\n" + kUsage, 2};
    }
    return std::nullopt;
}

} // namespace kv
