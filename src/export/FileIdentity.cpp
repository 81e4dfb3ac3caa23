#include "export/FileIdentity.h"

#include <uuid/uuid.h>

#include <cctype>
#include <cstdio>

namespace kv {

std::string UuidIdSource::newGuid() const {
    uuid_t id;
    uuid_generate(id);
    char text[37];
    uuid_unparse_upper(id, text);
    return std::string(text, 36);
}

bool isGuidText(std::string_view text) {
    if (text.size() != 36)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : std::isxdigit(static_cast<unsigned char>(text[i])) == 0)
            return false;
    }
    return true;
}

std::string identifierDate(DateValue date) {
    const YearMonthDay d = date.ymd();
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", d.year % 10000, d.month, d.day);
    return text;
}

std::string fileIdentifier(bool form4, const Cp1251Text& inspectionCode, const Cp1251Text& inn,
                           DateValue date, const std::string& guid) {
    // Only a 3-NDFL without any INN text gets the zeros; the INN is otherwise taken as stored.
    // The identifier names the file too: the file system takes the stored bytes as they are.
    std::string taxpayer = inn.bytes();
    if (!form4 && inn.empty())
        taxpayer = "000000000000";
    return std::string(form4 ? "NO_NDFL4_" : "NO_NDFL3_") + inspectionCode.bytes() + "_" +
           inspectionCode.bytes() + "_" + taxpayer + "_" + identifierDate(date) + "_" + guid;
}

bool isSafeFileName(std::string_view identifier) {
    if (identifier.empty())
        return false;
    // Only the characters an identifier is made of, so that the file's name is exactly
    // its "ИдФайл": no path separator, no NUL that would cut the name, no byte that the
    // encoding of the name or of the XML would change.
    return identifier.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-") ==
           std::string_view::npos;
}

} // namespace kv
