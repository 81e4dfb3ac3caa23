#include "export/ExportReturn.h"

#include "compute/ReturnComputation.h"
#include "core/Storage.h"
#include "core/Text.h"
#include "export/ReturnWriters.h"
#include "export/SchemaCheck.h"
#include "model/Declaration.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace kv {
namespace {

// The root as the form's header gives it: identifier and versions in this order, not upper-cased.
xml::Document rootDocument(const std::string& identifier, bool form4) {
    const Cp1251Text text =
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>" + Cp1251Text::fromUtf8("<Файл ИдФайл=\"") +
        xmlEscaped(xml::xmlSafe(Cp1251Text::fromBytes(identifier))) + Cp1251Text::fromUtf8("\" ВерсПрог=\"") +
        "Quil2019_1.0.1" + Cp1251Text::fromUtf8("\" ВерсФорм=\"") +
        (form4 ? AsciiText("5.03") : AsciiText("5.14")) + "\"/>";
    return xml::Document::parse(text.bytes());
}

// The folder or the disk refused the file: the person's to mend, not the program's.
class FolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw FolderError(std::string("write: ") + std::strerror(errno));
        done += static_cast<std::size_t>(n);
    }
}

// Writes a temporary file beside the target and renames it, so the target name
// never holds a partly written file, even when the disk fills or the process stops.
void saveFile(const std::string& requested, const std::string& bytes) {
    // A link is followed and its target renewed; a device or a FIFO under the file's name
    // is refused (a StorageError) rather than replaced.
    const std::string path = linkTarget(requested);
    requireRegularFileOrNew(path);
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + ".part" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw FolderError(std::string("open: ") + std::strerror(errno));
    try {
        writeAll(fd, bytes);
        if (::fsync(fd) != 0)
            throw FolderError(std::string("fsync: ") + std::strerror(errno));
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw FolderError(std::string("saving the file: ") + std::strerror(err));
    }
}

} // namespace

const Cp1251Text& exportFailedMessage() {
    static const Cp1251Text text = Cp1251Text::fromUtf8(
        "Ошибка в выгрузке. Пожалуйста, свяжитесь с разработчиками через службу поддержки");
    return text;
}

Cp1251Text exportSchemaFault(const Declaration& document, const std::string& bytes) {
    const ReturnForm form = document.kind() == ReturnKind::Estimated ? ReturnForm::Ndfl4 : ReturnForm::Ndfl3;
    const SchemaReport report = checkAgainstSchema(bytes, form);
    if (report.valid())
        return Cp1251Text();
    if (!report.wellFormed)
        throw std::runtime_error("the export is not a well-formed document");
    return schemaRefusalMessage(form, report.violations);
}

ExportedReturn buildReturnXml(const Declaration& document, const ReturnComputation& sum, DateValue today,
                              const std::string& guid) {
    const bool form4 = document.kind() == ReturnKind::Estimated;
    std::string identifier = fileIdentifier(form4, document.inspectionCode, document.person.inn, today, guid);
    ExportedReturn out{identifier, rootDocument(identifier, form4)};
    const xml::Element file = out.tree.root();
    if (form4)
        writeForm4(file, document, today);
    else
        writeBody3(writeTitle3(file, document, today), document, sum);
    return out;
}

std::string exportReturn(const std::string& folder, Declaration& document, int mode,
                         const ExportServices& services) {
    auto show = [&services](const Cp1251Text& message) {
        if (services.showMessage)
            services.showMessage(message);
    };

    auto sum = std::make_unique<ReturnComputation>();
    try {
        sum->compute(document);
    } catch (const std::exception&) {
        // The return is still written from what the sheets hold, as the user may need the file.
        show(ComputationError::userMessage());
    }

    try {
        const ExportedReturn built =
            buildReturnXml(document, *sum, services.clock.today(), services.ids.newGuid());
        const std::string bytes = built.tree.windows1251Bytes();
        if (mode != kExportToFile)
            return bytes;
        // The identifier comes from what the user typed; it must not lead out of the folder.
        if (!isSafeFileName(built.identifier))
            throw std::runtime_error("the file identifier cannot name a file");
        // The whole-return check came first; the schema is the last line before the file.
        if (const Cp1251Text fault = exportSchemaFault(document, bytes); !fault.empty()) {
            show(fault);
            return kExportRefused;
        }
        std::string dir = folder;
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        const std::string name = built.identifier + ".xml";
        try {
            saveFile(dir + name, bytes);
        } catch (const FolderError&) {
            // The caller finds no file under the name and says the folder cannot be
            // written; the developers' message would send the person the wrong way.
        }
        return name;
    } catch (const StorageError& e) {
        show(e.message());
        return kExportFailed;
    } catch (const std::exception&) {
        show(exportFailedMessage());
        return kExportFailed;
    }
}

std::string exportReturn(const std::string& folder, Declaration& document, int mode) {
    static const SystemClock clock;
    static const UuidIdSource ids;
    const ExportServices services{clock, ids, [](const Cp1251Text& m) { std::cerr << m.utf8() << '\n'; }};
    return exportReturn(folder, document, mode, services);
}

} // namespace kv
