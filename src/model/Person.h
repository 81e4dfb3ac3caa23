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

    Cp1251Text surname;
    Cp1251Text firstName;
    Cp1251Text patronymic;
    Cp1251Text inn;
    Cp1251Text nameExtra;     // carried over, not used
    Cp1251Text nameSign{"0"}; // carried over, not used
    std::int16_t identityDocCode = 0;
    Cp1251Text identityDocName;
    Cp1251Text identityDocNumber;
    DateValue identityDocDate = DateValue::fromDays(32874); // 01.01.1990
    DateValue birthDate = DateValue::fromDays(28126);       // 01.01.1977
    Cp1251Text identityDocIssuer;
    Cp1251Text birthPlace;
    Cp1251Text citizenshipStatus;      // "1" citizen, "2" stateless; anything else counts as "1"
    Cp1251Text citizenshipCountryName; // cp1251 "РОССИЯ" by default (set in the constructor)
    Cp1251Text citizenshipExtra;       // carried over, not used
    Cp1251Text citizenshipCountryCode{"643"};
    // The Russian address of earlier returns: carried over, not used.
    std::uint8_t addressKind = 0;
    Cp1251Text addressRegionName;
    std::int16_t addressRegionCode = 0;
    Cp1251Text addressPostIndex;
    Cp1251Text addressDistrict;
    Cp1251Text addressCity;
    Cp1251Text addressLocality;
    Cp1251Text addressStreet;
    Cp1251Text addressHouse;
    Cp1251Text addressBuilding;
    Cp1251Text addressFlat;
    Cp1251Text oktmo;
    Cp1251Text homePhoneCode; // carried over, not used
    Cp1251Text contactPhone;
    Cp1251Text workPhoneCode;                          // carried over, not used
    Cp1251Text workPhone;                              // carried over, not used
    Cp1251Text foreignHomePhoneCode, foreignHomePhone; // carried over, not used
    Cp1251Text foreignWorkPhoneCode, foreignWorkPhone; // carried over, not used
    std::uint8_t docExtraByte = 0;                     // carried over, not used

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
