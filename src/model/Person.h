#pragma once
// The taxpayer of a return, also the one part taken over from documents of
// earlier program years.
#include "core/Date.h"
#include "core/Storage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class Taxpayer {
public:
    // Identifier written into documents of this program year.
    static constexpr std::string_view kCurrentMarker = "Quil2019";

    std::string surname;
    std::string firstName;
    std::string patronymic;
    std::string inn;
    std::string nameExtra;      // carried over, not used
    std::string nameSign = "0"; // carried over, not used
    std::int16_t identityDocCode = 0;
    std::string identityDocName;
    std::string identityDocNumber;
    DateValue identityDocDate = DateValue::fromDays(32874); // 01.01.1990
    DateValue birthDate = DateValue::fromDays(28126);       // 01.01.1977
    std::string identityDocIssuer;
    std::string birthPlace;
    std::string citizenshipStatus;      // "1" citizen, "2" stateless; anything else counts as "1"
    std::string citizenshipCountryName; // cp1251 "РОССИЯ" by default (set in the constructor)
    std::string citizenshipExtra;       // carried over, not used
    std::string citizenshipCountryCode = "643";
    // The Russian address of earlier returns: carried over, not used.
    std::uint8_t addressKind = 0;
    std::string addressRegionName;
    std::int16_t addressRegionCode = 0;
    std::string addressPostIndex;
    std::string addressDistrict;
    std::string addressCity;
    std::string addressLocality;
    std::string addressStreet;
    std::string addressHouse;
    std::string addressBuilding;
    std::string addressFlat;
    std::string oktmo;
    std::string homePhoneCode; // carried over, not used
    std::string contactPhone;
    std::string workPhoneCode;                          // carried over, not used
    std::string workPhone;                              // carried over, not used
    std::string foreignHomePhoneCode, foreignHomePhone; // carried over, not used
    std::string foreignWorkPhoneCode, foreignWorkPhone; // carried over, not used
    std::uint8_t docExtraByte = 0;                      // carried over, not used

    Taxpayer();

    bool isStateless() const { return citizenshipStatus == "2"; }

    // Writes the eight taxpayer streams.
    void saveTo(DocumentStorage& storage) const;
    // Reads them; marker is the document's header identifier, which decides
    // which values a document of an earlier program year holds.
    void loadFrom(DocumentStorage& storage, std::string_view marker = kCurrentMarker);
    // Exact bytes saveTo writes.
    std::int32_t storedSize() const;

    friend bool operator==(const Taxpayer&, const Taxpayer&) = default;
};

} // namespace kv
