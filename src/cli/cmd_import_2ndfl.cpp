// Takes employers' income certificates (2-NDFL files) into a return, as "Загрузить
// справку 2-НДФЛ..." of the 13% screen does, and saves the return in place. All the
// certificates go in together or none: one refused leaves the file as it was.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Date.h"
#include "core/Text.h"
#include "imports/CertificateImport.h"
#include "model/Declaration.h"

#include <fstream>
#include <iostream>
#include <list>
#include <sstream>

namespace kv::cli {

namespace {
constexpr const char* kUsage = "import-2ndfl RETURN.qv9 CERTIFICATE.xml... [--inn INN]";

Cp1251Text u(std::string_view utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return !in.bad();
}

// "справка № 17, ООО "РОМАШКА" (ИНН 7728012340)".
Cp1251Text certificateTitle(const CertificateImport& import) {
    return u("справка № ") + import.certificate->number + ", " + import.agent.name + u(" (ИНН ") +
           import.agent.inn + ")";
}

Cp1251Text addedLine(const CertificateImport& import, bool replacing) {
    Cp1251Text line = certificateTitle(import) + ": ";
    if (!replacing || import.replaced.empty()) {
        line += u("добавлена");
    } else {
        line += u("заменила ");
        for (std::size_t i = 0; i < import.replaced.size(); ++i)
            line += (i == 0 ? Cp1251Text() : Cp1251Text{", "}) + u("«") + import.replaced[i].name + u("» (") +
                    sourceListTitle(import.replaced[i].list) + ")";
    }
    return line + u("; доход ") + certificateAmountText(import.totalIncome()) + u(", налог удержан ") +
           certificateAmountText(import.totalWithheld());
}

struct Batch {
    std::list<CertificateFile> files; // the imports point into them
    std::vector<CertificateImport> done;

    // An earlier certificate of this batch from the same agent under another number:
    // both stay, neither replaces the other.
    bool agentAddedUnderAnotherNumber(const CertificateImport& import) const {
        for (const CertificateImport& d : done)
            if (d.agent.inn == import.agent.inn && d.agent.kpp == import.agent.kpp &&
                d.agent.oktmo == import.agent.oktmo && !sameCertificate(d, import))
                return true;
        return false;
    }
};

} // namespace

int cmdImport2ndfl(const Args& args) {
    std::vector<std::string> paths;
    std::string inn;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--inn" && i + 1 < args.size())
            inn = args[++i];
        else if (args[i].rfind("--", 0) == 0)
            return usageError(kUsage, "Неизвестный аргумент: " + args[i]);
        else
            paths.push_back(args[i]);
    }
    if (paths.size() < 2)
        return usageError(kUsage,
                          paths.empty() ? "Не указан файл декларации" : "Не указан файл справки 2-НДФЛ");

    const std::string& returnPath = paths[0];
    const SystemClock clock;
    Declaration work(clock);
    try {
        work.loadFromFile(returnPath);
    } catch (const std::exception& e) {
        errStorage(e, returnPath);
        return 2;
    }

    Batch batch;
    std::vector<std::string> lines;
    for (std::size_t p = 1; p < paths.size(); ++p) {
        const std::string& path = paths[p];
        std::string bytes;
        if (!readFile(path, bytes)) {
            errUtf8("Не удалось прочитать файл " + path + ". Декларация не изменена.");
            return 2;
        }
        CertificateReading reading = readIncomeCertificates(bytes);
        if (!reading.file) {
            errUtf8(path + ": справка не принята: " + reading.fault.utf8() + ". Декларация не изменена.");
            return 1;
        }
        const CertificateFile& file = batch.files.emplace_back(std::move(*reading.file));
        const std::vector<int> chosen = inn.empty() ? certificatesOfTaxpayer(file, work.person)
                                                    : certificatesWithInn(file, Cp1251Text::fromUtf8(inn));
        if (chosen.size() != 1) {
            errUtf8(path +
                    (chosen.empty() ? ": в файле нет справки налогоплательщика декларации"
                                    : ": в файле несколько справок налогоплательщика") +
                    "; укажите получателя дохода: --inn ИНН. Получатели в файле:");
            for (const Certificate& c : file.certificates)
                errUtf8("  " + recipientLabel(c).utf8());
            errUtf8("Декларация не изменена.");
            return 2;
        }
        CertificateImport import = prepareImport(file, chosen[0], work);
        if (!import.accepted()) {
            errUtf8(path + ": " + certificateTitle(import).utf8() + " не принята: " + import.fault.utf8() +
                    ". Декларация не изменена.");
            return 1;
        }
        const bool replace = !batch.agentAddedUnderAnotherNumber(import);
        lines.push_back(path + ": " + addedLine(import, replace).utf8());
        for (const Cp1251Text& w : import.warnings)
            lines.push_back(path + ": предупреждение: " + w.utf8());
        applyImport(work, import, replace);
        batch.done.push_back(std::move(import));
    }

    try {
        work.saveToFile(returnPath);
    } catch (const std::exception& e) {
        errStorage(e, returnPath);
        return 2;
    }
    for (const std::string& line : lines)
        std::cout << line << '\n';
    return 0;
}

} // namespace kv::cli
