#include "reference/OkvedImport.h"

#include "core/FileUpdateLock.h"
#include "core/Storage.h"
#include "core/Text.h"
#include "core/TextCheck.h"
#include "reference/FileReplace.h"
#include "reference/XmlRead.h"

#include <libxml/tree.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>

namespace kv {

namespace {

struct XmlCharFree {
    void operator()(xmlChar* p) const { xmlFree(p); }
};
struct XmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

const xmlChar* xmlChars(const std::string& utf8) {
    return reinterpret_cast<const xmlChar*>(utf8.c_str());
}

Cp1251Text r(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// A field of the file, once it reads as Windows-1251.
Cp1251Text b(std::string_view bytes) {
    return Cp1251Text::fromBytes(bytes);
}

// The fields of one line: quoted with doubled quotes inside, or bare up to the next ";".
// nullopt when a quote is left open or text follows a closing quote.
std::optional<std::vector<std::string>> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        std::string field;
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i < line.size() && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (!closed)
                return std::nullopt;
            while (i < line.size() && line[i] == ' ')
                ++i;
            if (i < line.size() && line[i] != ';')
                return std::nullopt;
        } else {
            while (i < line.size() && line[i] != ';')
                field += line[i++];
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            break;
        ++i; // the ";"
    }
    return fields;
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// The level of a code by its form, 0 when it has none of the six forms.
int levelOfCode(std::string_view code) {
    const auto digitsAt = [&](std::initializer_list<std::size_t> at) {
        for (std::size_t i : at)
            if (!digit(code[i]))
                return false;
        return true;
    };
    switch (code.size()) {
    case 2:
        return digitsAt({0, 1}) ? 2 : 0;
    case 4:
        return digitsAt({0, 1, 3}) && code[2] == '.' ? 3 : 0;
    case 5:
        return digitsAt({0, 1, 3, 4}) && code[2] == '.' ? 4 : 0;
    case 7:
        return digitsAt({0, 1, 3, 4, 6}) && code[2] == '.' && code[5] == '.' ? 5 : 0;
    case 8:
        return digitsAt({0, 1, 3, 4, 6, 7}) && code[2] == '.' && code[5] == '.' ? 6 : 0;
    default:
        return 0;
    }
}

// The code one level up: "01.11.1" → "01.11", "01.11" → "01.1", "01" → "".
std::string parentCode(std::string_view code) {
    if (code.size() <= 2)
        return {};
    const std::size_t cut = code[code.size() - 2] == '.' ? 2 : 1;
    return std::string(code.substr(0, code.size() - cut));
}

// XML cannot carry control characters; a tab or a stray CR inside a name becomes a blank.
std::string withoutControls(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return text;
}

std::size_t okvedEntriesIn(const std::filesystem::path& file) {
    const XmlFile xml = readXmlFile(file);
    return xml.doc ? OkvedClassifier::fromDocument(xml.doc.get()).entries.size() : 0;
}

} // namespace

OkvedCsvResult readOkvedCsv(std::string_view bytes) {
    std::string converted;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        converted = Cp1251Text::fromUtf8(bytes.substr(3)).bytes();
        bytes = converted;
    } else if (looksUtf8(bytes)) {
        converted = Cp1251Text::fromUtf8(bytes).bytes();
        bytes = converted;
    }

    OkvedCsvResult result;
    struct Candidate {
        int line;
        std::size_t section; // position of the section letter in order of first appearance
        std::string letter;
        std::string code; // "" for the section's own line
        int level;
        std::string name;
    };
    std::vector<Candidate> candidates;
    std::vector<std::string> letters;
    std::set<std::string> seen; // section letters, and codes below them
    int number = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (trimText(line).empty())
            continue;
        const auto fault = [&](const Cp1251Text& reason) { result.faults.push_back({number, reason}); };

        const auto fields = splitFields(line);
        if (!fields || fields->size() != 3) {
            fault(r("ожидаются три поля в кавычках через \";\""));
            continue;
        }
        const std::string section = trimText((*fields)[0]);
        const std::string code = trimText((*fields)[1]);
        const std::string name = trimText(withoutControls((*fields)[2]));
        if (section.size() != 1 || section[0] < 'A' || section[0] > 'Z') {
            fault(r("раздел должен быть одной латинской заглавной буквой"));
            continue;
        }
        if (name.empty()) {
            fault(r("нет наименования"));
            continue;
        }
        // The one byte Windows-1251 leaves without a character: the directory could not hold it.
        if (name.find('\x98') != std::string::npos) {
            fault(r("в наименовании есть знак не из кодировки Windows-1251"));
            continue;
        }
        const int level = code.empty() ? 1 : levelOfCode(code);
        if (level == 0) {
            fault(r("неверный код \"") + b(code) + r("\""));
            continue;
        }
        if (!seen.insert(code.empty() ? section : code).second) {
            fault(code.empty() ? r("раздел ") + b(section) + r(" уже был")
                               : r("код ") + b(code) + r(" уже был"));
            continue;
        }
        auto at = std::find(letters.begin(), letters.end(), section);
        if (at == letters.end())
            at = letters.insert(letters.end(), section);
        candidates.push_back(
            {number, static_cast<std::size_t>(at - letters.begin()), section, code, level, name});
    }

    // The published file does not always list an entry right after its parent, so the
    // directory is written in the classifier's own order: sections as they first
    // appear, and below each its codes in text order, which puts every code right
    // after its parent and before its next sibling ("01.1", "01.11", "01.19", "01.2").
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.section != b.section ? a.section < b.section : a.code < b.code;
    });
    std::set<std::string> accepted; // keys of the entries taken so far
    for (Candidate& c : candidates) {
        const std::string key = c.letter + c.code;
        if (c.level > 1) {
            const std::string parent = c.letter + parentCode(c.code);
            if (!accepted.contains(parent)) {
                result.faults.push_back({c.line, c.level == 2
                                                     ? r("нет строки раздела ") + b(c.letter)
                                                     : r("нет вышестоящего кода ") + b(parentCode(c.code)) +
                                                           r(" в разделе ") + b(c.letter)});
                continue;
            }
        }
        accepted.insert(key);
        OkvedEntry entry;
        entry.grup = b(std::to_string(c.level));
        entry.name = b(c.name);
        entry.kod = b(key);
        if (c.level > 1) {
            entry.okved = b(c.code);
            entry.hasOkved = true;
        }
        result.classifier.entries.push_back(std::move(entry));
    }
    std::stable_sort(result.faults.begin(), result.faults.end(),
                     [](const OkvedLineFault& a, const OkvedLineFault& b) { return a.line < b.line; });
    return result;
}

std::string okvedXml(const OkvedClassifier& classifier) {
    std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlNewDoc(xmlChars("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, xmlChars("Sp_OKVED2"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (const OkvedEntry& e : classifier.entries) {
        xmlNode* record = xmlNewChild(root, nullptr, xmlChars("Record"), nullptr);
        // xmlNewTextChild escapes the text; names may hold "&" and quotes.
        xmlNewTextChild(record, nullptr, xmlChars("GRUP"), xmlChars(e.grup.bytes()));
        xmlNewTextChild(record, nullptr, xmlChars("Name"), xmlChars(e.name.utf8()));
        xmlNewTextChild(record, nullptr, xmlChars("Kod"), xmlChars(e.kod.utf8()));
        if (e.hasOkved)
            xmlNewTextChild(record, nullptr, xmlChars("OKVED"), xmlChars(e.okved.utf8()));
    }
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc.get(), &mem, &size, "windows-1251", 1);
    std::unique_ptr<xmlChar, XmlCharFree> owned(mem);
    if (mem == nullptr || size <= 0)
        throw OkvedImportError(Cp1251Text{"cannot build the OKVED directory"});
    return std::string(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size));
}

OkvedClassifier importOkved(const std::string& csvPath, const std::string& xmlPath,
                            const ClassifierReplace& how) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(csvPath, ec);
    if (ec)
        throw OkvedImportError(Cp1251Text{"Error open file:"} + b(csvPath));
    if (size > kMaxOkvedCsvBytes)
        throw OkvedImportError(Cp1251Text{"Error read file:"} + b(csvPath) + ": " +
                               r("файл слишком велик для классификатора"));
    std::ifstream in(csvPath, std::ios::binary);
    if (!in)
        throw OkvedImportError(Cp1251Text{"Error open file:"} + b(csvPath));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(in.gcount()) != bytes.size())
        throw OkvedImportError(Cp1251Text{"Error read file:"} + b(csvPath));

    OkvedCsvResult read = readOkvedCsv(bytes);
    if (!read.faults.empty())
        throw OkvedImportError(r("В файле есть строки, которые нельзя прочитать"), std::move(read.faults));
    if (read.classifier.entries.empty())
        throw OkvedImportError(r("В файле нет ни одной позиции классификатора"));

    Cp1251Text names;
    for (const OkvedEntry& e : read.classifier.entries)
        names += e.name + "\n";
    if (!readsAsRussian(names))
        throw OkvedImportError(r("Наименования в файле не читаются как русский текст: файл записан не в "
                                 "кодировке Windows-1251 или UTF-8 (например, в KOI8-R). Сохраните его в "
                                 "кодировке Windows-1251 и повторите импорт"));

    const std::string xml = okvedXml(read.classifier);
    // The directory is read back as the program will read it at the next start.
    const auto check = OkvedClassifier::fromXml(xml);
    if (!check || check->entries.size() != read.classifier.entries.size())
        throw OkvedImportError(Cp1251Text{"cannot build the OKVED directory"});
    try {
        const FileUpdateLock lock(xmlPath, how.hooks.waiting);
        const std::size_t before =
            okvedEntriesIn(how.current.empty() ? std::filesystem::path(xmlPath) : how.current);
        if (how.hooks.locked)
            how.hooks.locked();
        if (const auto shrink = shrinkOf(std::max(before, how.shown), read.classifier.entries.size());
            shrink && !how.allowShrink)
            throw ClassifierShrinkError(*shrink);
        replaceFileWhole(xmlPath, xml);
    } catch (const StorageError& e) {
        throw OkvedImportError(e.message());
    } catch (const FileReplaceError& e) {
        throw OkvedImportError(e.message());
    }
    return std::move(read.classifier);
}

Cp1251Text okvedImportTitle() {
    return r("Импорт ОКВЭД");
}

Cp1251Text okvedImportSuccessMessage() {
    return r("Данные успешно импортированы. Не забудьте перезапустить программу.");
}

Cp1251Text okvedImportFailureMessage() {
    return r("Импортировать данные не удалось");
}

Cp1251Text okvedFaultList(const std::vector<OkvedLineFault>& faults, std::size_t limit) {
    Cp1251Text text;
    for (std::size_t i = 0; i < faults.size() && i < limit; ++i)
        text += r("Строка ") + b(std::to_string(faults[i].line)) + ": " + faults[i].reason + "\n";
    if (faults.size() > limit)
        text += r("и еще строк с ошибками: ") + b(std::to_string(faults.size() - limit)) + "\n";
    return text;
}

} // namespace kv
