// The taxpayer from documents of earlier program years: which values each year's
// document holds, and documents without the foreigner streams.
#include "ModelTestSupport.h"
#include "model/Person.h"
#include "support/DocumentBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::cp;
using test::items;

// What a document of a given year holds; the test writes it by hand so that the
// reader is checked against the layout, not against the writer.
struct YearLayout {
    bool a; // issuer, birth place, extra name fields, citizenship code
    bool b; // document extra byte, foreign telephones, address kind, telephones
    bool c; // OKTMO
};

std::string oldDocument(std::string_view marker, const YearLayout& l, bool withForeigner = true,
                        bool withForeignPhones = true) {
    std::string document = test::writeDocument([](DocumentStorage&) {}, marker.empty() ? "x" : marker);
    if (marker.empty())
        document.replace(4, 20, 20, ' ');
    // Writers before container 1.2 stored dates as text.
    test::setContainerVersion(document, 1, 1);
    document += items({"@PersonName", "Surname", "Name", "Patronymic", "771234567890"});
    if (l.a)
        document += items({"extra", "2"});
    document += items({"@PersonDocument", "21", "Doc", "1234 567890", "15.03.2004", "01.07.1980"});
    if (l.a)
        document += items({"Issuer", "Place"});
    if (l.b)
        document += items({"7"});
    if (withForeigner) {
        document += items({"@Foreigner", "2", "Country"});
        if (l.a)
            document += items({"cx", "999"});
    }
    if (l.b && withForeignPhones)
        document += items({"@PhoneForeignerHome", "fhc", "fh", "@PhoneForeignerWork", "fwc", "fw"});
    document += items({"@PersonAddress"});
    if (l.b)
        document += items({"2"});
    document += items({"Region", "77", "101000", "District", "City", "Locality", "Street", "1", "2", "3"});
    if (l.c)
        document += items({"45382000"});
    if (l.b)
        document += items({"@HomePhone", "495", "1112233", "@WorkPhone", "499", "4445566"});
    return document;
}

Taxpayer expectedFor(const YearLayout& l, bool withForeigner = true, bool withForeignPhones = true) {
    Taxpayer p;
    p.surname = "Surname";
    p.firstName = "Name";
    p.patronymic = "Patronymic";
    p.inn = "771234567890";
    if (l.a) {
        p.nameExtra = "extra";
        p.nameSign = "2";
    }
    p.identityDocCode = 21;
    p.identityDocName = "Doc";
    p.identityDocNumber = "1234 567890";
    p.identityDocDate = DateValue::fromDays(38061);
    p.birthDate = DateValue::fromDays(29403);
    if (l.a) {
        p.identityDocIssuer = "Issuer";
        p.birthPlace = "Place";
    }
    if (l.b)
        p.docExtraByte = 7;
    if (withForeigner) {
        p.citizenshipStatus = "2";
        p.citizenshipCountryName = "Country";
        if (l.a) {
            p.citizenshipExtra = "cx";
            p.citizenshipCountryCode = "999";
        }
        if (l.b && withForeignPhones) {
            p.foreignHomePhoneCode = "fhc";
            p.foreignHomePhone = "fh";
            p.foreignWorkPhoneCode = "fwc";
            p.foreignWorkPhone = "fw";
        }
    }
    if (l.b)
        p.addressKind = 2;
    p.addressRegionName = "Region";
    p.addressRegionCode = 77;
    p.addressPostIndex = "101000";
    p.addressDistrict = "District";
    p.addressCity = "City";
    p.addressLocality = "Locality";
    p.addressStreet = "Street";
    p.addressHouse = "1";
    p.addressBuilding = "2";
    p.addressFlat = "3";
    if (l.c)
        p.oktmo = "45382000";
    if (l.b) {
        p.homePhoneCode = "495";
        p.contactPhone = "1112233";
        p.workPhoneCode = "499";
        p.workPhone = "4445566";
    }
    return p;
}

TEST(PersonEarlierYears, EachYearReadsItsOwnValues) {
    struct Case {
        const char* marker;
        YearLayout layout;
    };
    const std::vector<Case> cases = {
        {"Quil2019", {true, true, true}},     {"Quil2013", {true, true, true}},
        {"Quil2012", {true, true, false}},    {"Quil2005", {true, true, false}},
        {"Quil2004", {true, false, false}},   {"Quil2003", {false, false, false}},
        {"Quil2020", {false, false, false}},  {"Quil19", {false, false, false}},
        {"Other2013", {false, false, false}}, {"", {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.marker);
        test::OpenedDocument opened(oldDocument(c.marker, c.layout));
        ASSERT_EQ(opened.storage().formatIdentifier(), c.marker);
        Taxpayer p;
        p.nameSign = "9"; // an unknown year always leaves "0" here
        p.loadFrom(opened.storage(), opened.storage().formatIdentifier());
        Taxpayer expected = expectedFor(c.layout);
        EXPECT_TRUE(p == expected) << "surname " << p.surname.bytes() << ", nameSign " << p.nameSign.bytes()
                                   << ", oktmo " << p.oktmo.bytes() << ", contactPhone "
                                   << p.contactPhone.bytes();
        EXPECT_EQ(p.nameSign, expected.nameSign);
    }
}

TEST(PersonEarlierYears, MissingForeignerStreamsAreSkipped) {
    const YearLayout y2005{true, true, false};
    struct Case {
        const char* name;
        bool withForeigner;
        bool withForeignPhones;
    };
    for (const Case& c : {Case{"no @Foreigner", false, true}, Case{"no foreign telephones", true, false},
                          Case{"neither", false, false}}) {
        SCOPED_TRACE(c.name);
        std::string document = oldDocument("Quil2005", y2005, c.withForeigner, c.withForeignPhones);
        test::OpenedDocument opened(document);
        Taxpayer p;
        p.loadFrom(opened.storage(), "Quil2005");
        const Taxpayer expected = expectedFor(y2005, c.withForeigner, c.withForeignPhones);
        EXPECT_TRUE(p == expected);
        if (!c.withForeigner) {
            EXPECT_EQ(p.citizenshipCountryName, cp("РОССИЯ"));
            EXPECT_EQ(p.citizenshipCountryCode, Cp1251Text{"643"});
        }
        EXPECT_EQ(p.contactPhone, Cp1251Text{"1112233"}); // reading went on after the gap
    }
}

// Only the foreigner streams may be missing; any other gap ends the load.
TEST(PersonEarlierYears, OtherMissingStreamsFail) {
    const YearLayout y2019{true, true, true};
    const std::string whole = oldDocument("Quil2019", y2019);
    for (const char* name :
         {"@PersonName", "@PersonDocument", "@PersonAddress", "@HomePhone", "@WorkPhone"}) {
        SCOPED_TRACE(name);
        std::string document = whole;
        const std::string item = items({name});
        const auto at = document.find(item);
        ASSERT_NE(at, std::string::npos);
        document.replace(at, item.size(), items({std::string(name).replace(1, 1, "X")}));
        test::OpenedDocument opened(document);
        Taxpayer p;
        EXPECT_THROW(p.loadFrom(opened.storage(), "Quil2019"), StreamOpenError);
    }
}

TEST(Person, CitizenshipOtherThanStatelessCountsAsCitizen) {
    Taxpayer p;
    for (const char* status : {"", "1", "3", " 2"}) {
        p.citizenshipStatus = Cp1251Text::fromBytes(std::string_view(status));
        EXPECT_FALSE(p.isStateless()) << status;
    }
    p.citizenshipStatus = "2";
    EXPECT_TRUE(p.isStateless());
}

} // namespace
} // namespace kv
