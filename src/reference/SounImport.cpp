#include "reference/SounImport.h"

#include "core/FileUpdateLock.h"
#include "core/Storage.h"
#include "core/Text.h"
#include "reference/FileReplace.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

std::string field(const std::string& record, std::size_t first, std::size_t length) {
    return trimText(std::string_view(record).substr(first, length));
}

bool isBlank(const std::string& record, std::size_t first, std::size_t length) {
    return field(record, first, length).empty();
}

bool oneOf(const std::string& value, std::initializer_list<const char*> set) {
    for (const char* s : set)
        if (value == s)
            return true;
    return false;
}

// Office names come from a foreign table; XML cannot carry control characters.
Cp1251Text withoutControls(const Cp1251Text& text) {
    std::string bytes = text.bytes();
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return Cp1251Text::fromBytes(std::move(bytes));
}

// The file's name and what went wrong with it, as the messages always carried them.
Cp1251Text systemText(const std::string& text) {
    return Cp1251Text::fromBytes(text);
}

bool takeOffice(const std::string& record, const std::string& code, const std::string& kind) {
    // A code ending in 00 is a regional administration; 0400 is the exception.
    if (code.size() >= 4 && code.compare(2, 2, "00") == 0 && code != "0400")
        return false;
    if (!isBlank(record, 7, 30))
        return false;
    if (field(record, 411, 1) != "1")
        return false;
    if (!isBlank(record, 934, 10))
        return false;
    if (!(oneOf(kind, {"30", "31", "41", "42", "43"}) || code == "0400" || oneOf(kind, {"50", "52", "60"})))
        return false;
    return !oneOf(code, {"3906", "7203", "7810"});
}

struct XmlCharFree {
    void operator()(xmlChar* p) const { xmlFree(p); }
};
struct XmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

const xmlChar* xmlChars(const std::string& utf8) {
    return reinterpret_cast<const xmlChar*>(utf8.c_str());
}

} // namespace

CodeNameRows readSounOffices(const std::string& dbfPath) {
    // Only a regular file: a FIFO would be waited on forever, a device read without end.
    const int fd = ::open(dbfPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw SounImportError(systemText("Error open file:" + dbfPath));
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!regular || static_cast<std::uintmax_t>(st.st_size) > kMaxSounBytes) {
        ::close(fd);
        throw SounImportError(
            systemText("Error open file:" + dbfPath +
                       (regular ? ": too large for the classifier" : ": not a regular file")));
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != bytes.size())
        throw SounImportError(systemText("Error read file:" + dbfPath));
    return readSounTable(bytes, dbfPath);
}

CodeNameRows readSounTable(std::string_view bytes, const std::string& name) {
    if (bytes.size() < kSounHeaderLength)
        throw SounImportError(systemText("Error read file:" + name));
    const auto byte = [&bytes](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]));
    };
    // Only the low half of the record count is read: the classifier never comes near 65535 rows.
    const unsigned count = byte(4) | (byte(5) << 8);
    const unsigned headerLength = byte(8) | (byte(9) << 8);
    const unsigned recordLength = byte(10) | (byte(11) << 8);
    // Anything else (a text file, another table) would otherwise yield an empty directory
    // in place of the old one: the header must describe records of the classifier's layout
    // that begin after the header's field descriptors and inside the file.
    if (recordLength != kSounRecordLength || headerLength < kSounHeaderLength + 1 ||
        headerLength > bytes.size())
        throw SounImportError(
            systemText("Error read file:" + name + ": not the classifier of tax offices (soun1.dbf)"));

    CodeNameRows offices;
    std::size_t at = headerLength;
    for (unsigned i = 0; i < count && at < bytes.size(); ++i, at += kSounRecordLength) {
        // A table that ends before its header says simply ends; one cut inside a record is damaged.
        if (bytes.size() - at < kSounRecordLength)
            throw SounImportError(systemText("Error read file:" + name));
        const std::string record(bytes.substr(at, kSounRecordLength));
        const std::string code = field(record, 1, 4);
        const std::string kind = field(record, 5, 2);
        if (!takeOffice(record, code, kind))
            continue;
        offices.push_back(
            {withoutControls(cp866ToCp1251(code)), withoutControls(cp866ToCp1251(field(record, 161, 250)))});
    }
    if (offices.empty())
        throw SounImportError(
            systemText("Error read file:" + name + ": no tax office to which a return can be addressed"));
    return offices;
}

std::string inspectionsXml(const CodeNameRows& offices, DateValue date, const Cp1251Text& version) {
    std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlNewDoc(xmlChars("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, xmlChars("Inspections"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNewProp(root, xmlChars("Version"), xmlChars(version.utf8()));
    xmlNewProp(root, xmlChars("Date"), xmlChars(date.text('.')));
    for (const auto& office : offices) {
        xmlNode* node = xmlNewChild(root, nullptr, xmlChars("Inspection"), nullptr);
        xmlNewProp(node, xmlChars("Code"), xmlChars(office.code.utf8()));
        xmlNodeAddContent(node, xmlChars(office.name.utf8()));
    }
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc.get(), &mem, &size, "windows-1251", 0);
    std::unique_ptr<xmlChar, XmlCharFree> owned(mem);
    if (mem == nullptr || size <= 0)
        throw SounImportError(systemText("cannot build the tax-office directory"));
    return std::string(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size));
}

bool importSoun(const std::string& dbfPath, const std::string& xmlPath, DateValue date,
                const Cp1251Text& version, const ClassifierReplace& how) {
    const CodeNameRows offices = readSounOffices(dbfPath);
    const std::string xml = inspectionsXml(offices, date, version);
    try {
        const FileUpdateLock lock(xmlPath, how.hooks.waiting);
        const std::size_t before =
            loadCodeNameFile(how.current.empty() ? std::filesystem::path(xmlPath) : how.current).rows.size();
        if (how.hooks.locked)
            how.hooks.locked();
        if (const auto shrink = shrinkOf(std::max(before, how.shown), offices.size());
            shrink && !how.allowShrink)
            throw ClassifierShrinkError(*shrink);
        replaceFileWhole(xmlPath, xml);
    } catch (const StorageError& e) {
        throw SounImportError(e.message());
    } catch (const FileReplaceError& e) {
        throw SounImportError(e.message());
    }
    return true;
}

Cp1251Text sounSuccessMessage() {
    return Cp1251Text::fromUtf8("Данные успешно импортированы. Не забудьте перезапустить программу.");
}
Cp1251Text sounFailureMessage() {
    return Cp1251Text::fromUtf8("Импортировать данные не удалось");
}
Cp1251Text sounEmptyPathMessage() {
    return Cp1251Text::fromUtf8("Укажите путь к файлу soun1.dbf");
}

} // namespace kv
