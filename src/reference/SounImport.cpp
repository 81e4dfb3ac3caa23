#include "reference/SounImport.h"

#include "core/Text.h"
#include "reference/FileReplace.h"

#include <libxml/tree.h>

#include <array>
#include <fcntl.h>
#include <fstream>
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
std::string withoutControls(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return text;
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

const xmlChar* X(const std::string& utf8) {
    return reinterpret_cast<const xmlChar*>(utf8.c_str());
}

} // namespace

CodeNameRows readSounOffices(const std::string& dbfPath) {
    // Only a regular file: a FIFO would be waited on forever, a device read without end.
    struct stat st {};
    {
        const int fd = ::open(dbfPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw SounImportError("Error open file:" + dbfPath);
        const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        ::close(fd);
        if (!regular)
            throw SounImportError("Error open file:" + dbfPath + ": not a regular file");
    }
    std::ifstream in(dbfPath, std::ios::binary);
    if (!in)
        throw SounImportError("Error open file:" + dbfPath);
    std::array<unsigned char, kSounHeaderLength> header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    if (static_cast<std::size_t>(in.gcount()) != header.size())
        throw SounImportError("Error read file:" + dbfPath);
    // Only the low half of the record count is read: the classifier never comes near 65535 rows.
    const unsigned count = header[4] | (header[5] << 8);
    const unsigned headerLength = header[8] | (header[9] << 8);
    const unsigned recordLength = header[10] | (header[11] << 8);
    // Anything else (a text file, another table) would otherwise yield an empty directory
    // in place of the old one: the header must describe records of the classifier's layout
    // that begin after the header's field descriptors and inside the file.
    if (recordLength != kSounRecordLength || headerLength < kSounHeaderLength + 1 ||
        headerLength > static_cast<std::uintmax_t>(st.st_size))
        throw SounImportError("Error read file:" + dbfPath +
                              ": not the classifier of tax offices (soun1.dbf)");
    in.clear();
    in.seekg(headerLength, std::ios::beg);

    CodeNameRows offices;
    std::string record(kSounRecordLength, '\0');
    for (unsigned i = 0; i < count && in; ++i) {
        in.read(record.data(), static_cast<std::streamsize>(record.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break; // the table ends before its header says
        if (got < record.size())
            throw SounImportError("Error read file:" + dbfPath);
        const std::string code = field(record, 1, 4);
        const std::string kind = field(record, 5, 2);
        if (!takeOffice(record, code, kind))
            continue;
        offices.push_back(
            {withoutControls(cp866ToCp1251(code)), withoutControls(cp866ToCp1251(field(record, 161, 250)))});
    }
    if (offices.empty())
        throw SounImportError("Error read file:" + dbfPath +
                              ": no tax office to which a return can be addressed");
    return offices;
}

std::string inspectionsXml(const CodeNameRows& offices, DateValue date, const std::string& version) {
    std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlNewDoc(X("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, X("Inspections"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNewProp(root, X("Version"), X(cp1251ToUtf8(version)));
    xmlNewProp(root, X("Date"), X(date.text('.')));
    for (const auto& office : offices) {
        xmlNode* node = xmlNewChild(root, nullptr, X("Inspection"), nullptr);
        xmlNewProp(node, X("Code"), X(cp1251ToUtf8(office.code)));
        xmlNodeAddContent(node, X(cp1251ToUtf8(office.name)));
    }
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc.get(), &mem, &size, "windows-1251", 0);
    std::unique_ptr<xmlChar, XmlCharFree> owned(mem);
    if (mem == nullptr || size <= 0)
        throw SounImportError("cannot build the tax-office directory");
    return std::string(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size));
}

bool ImportSoun(const std::string& dbfPath, const std::string& xmlPath, DateValue date,
                const std::string& version) {
    const std::string xml = inspectionsXml(readSounOffices(dbfPath), date, version);

    try {
        replaceFileWhole(xmlPath, xml);
    } catch (const FileReplaceError& e) {
        throw SounImportError(e.what());
    }
    return true;
}

std::string sounSuccessMessage() {
    return utf8ToCp1251("Данные успешно импортированы. Не забудьте перезапустить программу.");
}
std::string sounFailureMessage() {
    return utf8ToCp1251("Импортировать данные не удалось");
}
std::string sounEmptyPathMessage() {
    return utf8ToCp1251("Укажите путь к файлу soun1.dbf");
}

} // namespace kv
