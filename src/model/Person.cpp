#include "model/Person.h"

#include "core/Text.h"

#include <charconv>

namespace kv {

namespace {

using S = DocumentStorage;

// Which values a document holds depends on the program year that wrote it.
// Set a: every known year; b: from 2005 (foreign telephones, address kind and the
// telephones); c: from 2013 (OKTMO). A marker of no known year is in none of them.
struct MarkerSets {
    bool a = false; // 2004..2019
    bool b = false; // 2005..2019
    bool c = false; // 2013..2019
};

MarkerSets markerSets(std::string_view marker) {
    MarkerSets sets;
    if (marker.size() != 8 || marker.substr(0, 4) != "Quil")
        return sets;
    int year = 0;
    const char* first = marker.data() + 4;
    const char* last = marker.data() + marker.size();
    auto [end, ec] = std::from_chars(first, last, year);
    if (ec != std::errc() || end != last)
        return sets;
    sets.a = year >= 2004 && year <= 2019;
    sets.b = year >= 2005 && year <= 2019;
    sets.c = year >= 2013 && year <= 2019;
    return sets;
}

// The foreigner streams are missing from some documents of earlier years; only
// their absence is tolerated, any other failure still ends the load.
bool tryOpenStream(DocumentStorage& storage, std::string_view name) {
    try {
        storage.openStream(name);
        return true;
    } catch (const StreamOpenError&) {
        return false;
    }
}

} // namespace

Taxpayer::Taxpayer() : citizenshipCountryName(Cp1251Text::fromUtf8("РОССИЯ")) {}

void Taxpayer::saveTo(DocumentStorage& storage) const {
    storage.beginStream("@PersonName");
    storage.writeText(surname);
    storage.writeText(firstName);
    storage.writeText(patronymic);
    storage.writeText(inn);
    storage.writeText(nameExtra);
    storage.writeText(nameSign);

    storage.beginStream("@PersonDocument");
    storage.writeInt16(static_cast<std::uint16_t>(identityDocCode));
    storage.writeText(identityDocName);
    storage.writeText(identityDocNumber);
    storage.writeDate(identityDocDate);
    storage.writeDate(birthDate);
    storage.writeText(identityDocIssuer);
    storage.writeText(birthPlace);
    storage.writeByte(docExtraByte);

    storage.beginStream("@Foreigner");
    storage.writeText(citizenshipStatus);
    storage.writeText(citizenshipCountryName);
    storage.writeText(citizenshipExtra);
    storage.writeText(citizenshipCountryCode);

    storage.beginStream("@PhoneForeignerHome");
    storage.writeText(foreignHomePhoneCode);
    storage.writeText(foreignHomePhone);

    storage.beginStream("@PhoneForeignerWork");
    storage.writeText(foreignWorkPhoneCode);
    storage.writeText(foreignWorkPhone);

    storage.beginStream("@PersonAddress");
    storage.writeByte(addressKind);
    storage.writeText(addressRegionName);
    storage.writeInt16(static_cast<std::uint16_t>(addressRegionCode));
    storage.writeText(addressPostIndex);
    storage.writeText(addressDistrict);
    storage.writeText(addressCity);
    storage.writeText(addressLocality);
    storage.writeText(addressStreet);
    storage.writeText(addressHouse);
    storage.writeText(addressBuilding);
    storage.writeText(addressFlat);
    storage.writeText(oktmo);

    storage.beginStream("@HomePhone");
    storage.writeText(homePhoneCode);
    storage.writeText(contactPhone);

    storage.beginStream("@WorkPhone");
    storage.writeText(workPhoneCode);
    storage.writeText(workPhone);
}

void Taxpayer::loadFrom(DocumentStorage& storage, std::string_view marker) {
    const MarkerSets in = markerSets(marker);

    storage.openStream("@PersonName");
    surname = storage.readText();
    firstName = storage.readText();
    patronymic = storage.readText();
    inn = storage.readText();
    if (in.a) {
        nameExtra = storage.readText();
        nameSign = storage.readText();
    } else {
        nameSign = Cp1251Text::fromBytes(
            std::string(1, '0')); // assigning the literal trips a false -Wrestrict in GCC 12 at -O2
    }

    storage.openStream("@PersonDocument");
    identityDocCode = static_cast<std::int16_t>(storage.readInt16());
    identityDocName = storage.readText();
    identityDocNumber = storage.readText();
    identityDocDate = storage.readDate();
    birthDate = storage.readDate();
    if (in.a) {
        identityDocIssuer = storage.readText();
        birthPlace = storage.readText();
    }
    if (in.b)
        docExtraByte = storage.readByte();

    if (tryOpenStream(storage, "@Foreigner")) {
        citizenshipStatus = storage.readText();
        citizenshipCountryName = storage.readText();
        if (in.a) {
            citizenshipExtra = storage.readText();
            citizenshipCountryCode = storage.readText();
        }
        if (in.b && tryOpenStream(storage, "@PhoneForeignerHome")) {
            foreignHomePhoneCode = storage.readText();
            foreignHomePhone = storage.readText();
            if (tryOpenStream(storage, "@PhoneForeignerWork")) {
                foreignWorkPhoneCode = storage.readText();
                foreignWorkPhone = storage.readText();
            }
        }
    }

    storage.openStream("@PersonAddress");
    if (in.b)
        addressKind = storage.readByte();
    addressRegionName = storage.readText();
    addressRegionCode = static_cast<std::int16_t>(storage.readInt16());
    addressPostIndex = storage.readText();
    addressDistrict = storage.readText();
    addressCity = storage.readText();
    addressLocality = storage.readText();
    addressStreet = storage.readText();
    addressHouse = storage.readText();
    addressBuilding = storage.readText();
    addressFlat = storage.readText();
    if (!in.b)
        return;
    if (in.c)
        oktmo = storage.readText();

    storage.openStream("@HomePhone");
    homePhoneCode = storage.readText();
    contactPhone = storage.readText();

    storage.openStream("@WorkPhone");
    workPhoneCode = storage.readText();
    workPhone = storage.readText();
}

std::int32_t Taxpayer::storedSize() const {
    std::int32_t size = 0;
    for (std::string_view name : {"@PersonName", "@PersonDocument", "@Foreigner", "@PhoneForeignerHome",
                                  "@PhoneForeignerWork", "@PersonAddress", "@HomePhone", "@WorkPhone"})
        size += S::sizeOfText(name);
    auto texts = [](const auto&... text) { return (S::sizeOfText(text) + ...); };
    size += texts(surname, firstName, patronymic, inn, nameExtra, nameSign, identityDocName,
                  identityDocNumber, identityDocIssuer, birthPlace, citizenshipStatus, citizenshipCountryName,
                  citizenshipExtra, citizenshipCountryCode, foreignHomePhoneCode, foreignHomePhone,
                  foreignWorkPhoneCode, foreignWorkPhone, addressRegionName, addressPostIndex,
                  addressDistrict, addressCity, addressLocality, addressStreet, addressHouse, addressBuilding,
                  addressFlat, oktmo, homePhoneCode, contactPhone, workPhoneCode, workPhone);
    size += S::sizeOfInt16(static_cast<std::uint16_t>(identityDocCode));
    size += S::sizeOfDate(identityDocDate) + S::sizeOfDate(birthDate);
    size += S::sizeOfByte(docExtraByte);
    size += S::sizeOfByte(addressKind);
    size += S::sizeOfInt16(static_cast<std::uint16_t>(addressRegionCode));
    return size;
}

} // namespace kv
