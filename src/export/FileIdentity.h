#pragma once
// The identifier of an exported file: form, tax office, taxpayer, date and a GUID.
// New GUIDs come from a provider so that tests and reproducible exports can fix them.
#include "core/Date.h"

#include "core/Text.h"

#include <string>
#include <string_view>

namespace kv {

class IdSource {
public:
    virtual ~IdSource() = default;
    // 36 characters, upper-case hexadecimal in groups 8-4-4-4-12, no braces.
    virtual std::string newGuid() const = 0;
};

// Random identifiers of libuuid.
class UuidIdSource : public IdSource {
public:
    std::string newGuid() const override;
};

class FixedIdSource : public IdSource {
public:
    explicit FixedIdSource(std::string guid) : guid_(std::move(guid)) {}
    std::string newGuid() const override { return guid_; }

private:
    std::string guid_;
};

// Whether text is a GUID in the 8-4-4-4-12 form (either case of hexadecimal digits).
bool isGuidText(std::string_view text);

// "YYYYMMDD" of the file identifier.
std::string identifierDate(DateValue date);

// The file identifier (without ".xml") of a 3-NDFL (form4 false) or a 4-NDFL return:
// a 3-NDFL whose INN is empty stands "000000000000" in its place, a 4-NDFL leaves it empty.
std::string fileIdentifier(bool form4, const Cp1251Text& inspectionCode, const Cp1251Text& inn,
                           DateValue date, const std::string& guid);

// Whether the identifier can name a file inside the chosen folder and nowhere else.
bool isSafeFileName(std::string_view identifier);

} // namespace kv
