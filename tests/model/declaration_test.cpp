// The declaration document: income lists switched by incomeFlags, the order of
// the document's streams, round trips through a file, documents of earlier
// program years and container versions, and damaged files.
#include "ExampleReturns.h"
#include "ModelTestSupport.h"
#include "model/Declaration.h"
#include "support/DocumentBytes.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::amount;
using test::cp;
using test::cpBytes;
using test::items;
using test::readFile;

const DateValue kToday = DateValue::fromDays(43905); // 15.03.2020

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "kv-decl-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string savedBytes(const Declaration& d) {
    TempDir dir;
    const auto path = dir.file("d.qv9");
    d.saveToFile(path);
    return readFile(path);
}

// The item texts of a document body, in file order.
std::vector<std::string> itemTexts(const std::string& doc) {
    std::vector<std::string> out;
    std::size_t at = DocumentStorage::kHeaderSize;
    while (at + 4 <= doc.size()) {
        const auto n = static_cast<std::size_t>(std::stoi(doc.substr(at, 4)));
        out.push_back(doc.substr(at + 4, n));
        at += 4 + n;
    }
    return out;
}

bool hasItem(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class DeclarationTest : public ::testing::Test {
protected:
    FixedClock clock{kToday};
    Declaration fresh() const { return Declaration(clock); }
    Declaration loaded(std::string bytes) const {
        Declaration d(clock);
        d.loadFromBytes(std::move(bytes));
        return d;
    }
};

TEST_F(DeclarationTest, NewDeclarationHasTheDefaultsAndNoIncomeList) {
    const Declaration d = fresh();
    EXPECT_EQ(d.documentDate, kToday);
    EXPECT_EQ(d.taxpayerCategory, 5);
    EXPECT_EQ(d.farmFoundingDate, DateValue::fromYmd(2000, 1, 1));
    EXPECT_EQ(d.incomeFlags(), 0);
    EXPECT_EQ(d.sheetCountAutomatic, 0);
    EXPECT_EQ(d.person.citizenshipCountryCode, Cp1251Text{"643"});
    EXPECT_EQ(d.standardDeductions.selfCode, 103);
    EXPECT_FALSE(d.incomes13.exists());
    EXPECT_EQ(d.incomes13.count(), 0);
    EXPECT_EQ(d.businessIncomes.count(), 0);
    Declaration changeable = fresh();
    EXPECT_THROW(changeable.incomes9.add(), ObjectAccessError);
    EXPECT_THROW(changeable.foreignIncomes.add(), ObjectAccessError);
}

// Each bit creates and destroys its own lists and no other.
TEST_F(DeclarationTest, IncomeFlagsCreateAndDestroyTheirLists) {
    struct Case {
        std::uint8_t bit;
        std::function<std::vector<std::int32_t>(Declaration&)> addToLists; // adds one record, returns counts
    };
    auto counts = [](const Declaration& d) {
        return std::vector<std::int32_t>{d.incomes13.count(),       d.incomes13NonResident.count(),
                                         d.incomes35.count(),       d.incomes30.count(),
                                         d.incomes9.count(),        d.foreignIncomes.count(),
                                         d.businessIncomes.count(), d.investPartnerships.count()};
    };
    const std::vector<std::pair<std::uint8_t, std::vector<std::int32_t>>> cases = {
        {Declaration::kAgentIncomes, {1, 1, 1, 1, 1, 0, 0, 0}},
        {Declaration::kForeignIncomes, {0, 0, 0, 0, 0, 1, 0, 0}},
        {Declaration::kBusinessIncomes, {0, 0, 0, 0, 0, 0, 1, 0}},
        {Declaration::kPartnershipIncomes, {0, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const auto& [bit, expected] : cases) {
        SCOPED_TRACE(int{bit});
        Declaration d = fresh();
        d.setIncomeFlags(bit);
        // Every list that exists takes a record; the others refuse.
        auto tryAdd = [](auto& list) {
            try {
                list.add();
            } catch (const ObjectAccessError&) {
            }
        };
        tryAdd(d.incomes13);
        tryAdd(d.incomes13NonResident);
        tryAdd(d.incomes35);
        tryAdd(d.incomes30);
        tryAdd(d.incomes9);
        tryAdd(d.foreignIncomes);
        tryAdd(d.businessIncomes);
        tryAdd(d.investPartnerships);
        EXPECT_EQ(counts(d), expected);

        // Switching another bit leaves these records alone.
        d.setIncomeFlags(bit | Declaration::kReservedFlag);
        EXPECT_EQ(counts(d), expected);
        EXPECT_EQ(d.incomeFlags(), bit | Declaration::kReservedFlag);

        d.setIncomeFlags(Declaration::kReservedFlag);
        EXPECT_EQ(counts(d), std::vector<std::int32_t>(8, 0));
        d.setIncomeFlags(bit);
        EXPECT_EQ(counts(d), std::vector<std::int32_t>(8, 0));
    }
}

// Each kind of income is its own bit; the reserved bit is no income of its own, and
// dropping one kind leaves the others and their records.
TEST_F(DeclarationTest, IncomeKindsAreTheirOwnBits) {
    const std::vector<IncomeKind> kinds = {IncomeKind::Agent, IncomeKind::Foreign, IncomeKind::Business,
                                           IncomeKind::Partnership};
    for (IncomeKind kind : kinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        Declaration d = fresh();
        d.setIncomeFlags(Declaration::kReservedFlag);
        EXPECT_FALSE(d.hasIncomes());
        EXPECT_TRUE(d.hasReservedFlag());
        d.setIncomeFlags(flagOf(kind) | Declaration::kReservedFlag);
        EXPECT_TRUE(d.hasIncomes());
        for (IncomeKind other : kinds)
            EXPECT_EQ(d.has(other), other == kind);
    }

    Declaration d = fresh();
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    d.incomes13.add();
    d.foreignIncomes.add();
    d.drop(IncomeKind::Foreign);
    EXPECT_EQ(d.incomeFlags(), Declaration::kAgentIncomes);
    EXPECT_EQ(d.incomes13.count(), 1);
    EXPECT_FALSE(d.foreignIncomes.exists());
}

// A kind of return the file names by a number of no name stays that number.
TEST_F(DeclarationTest, KindOfNoNameIsKeptAsRead) {
    Declaration d = fresh();
    d.setKind(ReturnKind::Termination);
    EXPECT_EQ(d.declarationKind, 3);
    d.declarationKind = 7;
    for (ReturnKind named :
         {ReturnKind::Resident, ReturnKind::NonResident, ReturnKind::Estimated, ReturnKind::Termination})
        EXPECT_NE(d.kind(), named);
    Declaration back = fresh();
    back.loadFromBytes(savedBytes(d));
    EXPECT_EQ(back.declarationKind, 7);
}

// Only bits 0 to 4 have a meaning; the others are dropped when set and when read,
// so they never make a return "with incomes" that stores and looks for deductions.
TEST_F(DeclarationTest, BitsAboveTheKnownOnesAreDropped) {
    Declaration d = fresh();
    d.setIncomeFlags(0xE0 | Declaration::kForeignIncomes);
    EXPECT_EQ(d.incomeFlags(), Declaration::kForeignIncomes);
    d.setIncomeFlags(0x20);
    EXPECT_EQ(d.incomeFlags(), 0);
    EXPECT_FALSE(d.foreignIncomes.exists());

    // "@DeclInfo" item 9 (incomeFlags) of a file without incomes, rewritten as 32 and 33.
    const std::string plain = savedBytes(fresh());
    const std::string flagsAt = items({"0", "5", "0", "0"}); // submitterKind .. incomeFlags
    const auto at = plain.find(flagsAt);
    ASSERT_NE(at, std::string::npos);
    for (const char* flags : {"32", "33"}) {
        SCOPED_TRACE(flags);
        std::string doc = plain;
        doc.replace(at, flagsAt.size(), items({"0", "5", "0", flags}));
        if (std::string(flags) == "33") {
            // Bit 0 wants "@DeclInquiry" and the deduction streams: give them.
            doc += items({"@DeclInquiry", "0", "0", "0", "0", "0", "@StandartDeduct", "0", "@SocialDeduct",
                          "0", "@ConstructionDeduct", "0", "@CBDeduct", "0", "@InvDeduct", "0"});
        }
        const Declaration back = loaded(doc);
        EXPECT_EQ(back.incomeFlags(), std::string(flags) == "33" ? Declaration::kAgentIncomes : 0);
    }
}

TEST_F(DeclarationTest, ClearingIncomeFlagsResetsOnlyWhatBelongsToThem) {
    Declaration d = fresh();
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kBusinessIncomes);
    d.foreignerFixedAdvance = amount("12000");
    d.reservedInt2 = 5;
    d.reservedInt3 = 6;
    d.tradeFee = amount("8100");
    d.adjustedBase = amount("100");
    d.isFarmHousehold = 1;

    d.setIncomeFlags(Declaration::kBusinessIncomes);
    EXPECT_EQ(d.foreignerFixedAdvance, Money{});
    EXPECT_EQ(d.reservedInt2, 0);
    EXPECT_EQ(d.reservedInt3, 6);

    EXPECT_EQ(d.tradeFee, amount("8100")); // bit 2 kept: its figures stay

    // Bit 2 cleared takes the business figures with the activities: ticked again,
    // the return credits no trade fee or patent that no screen would show.
    d.farmFoundingDate = *DateValue::fromYmd(2012, 1, 1);
    d.setIncomeFlags(0);
    d.setIncomeFlags(Declaration::kBusinessIncomes);
    const Declaration back = loaded(savedBytes(d));
    for (const Declaration* after : {static_cast<const Declaration*>(&d), &back}) {
        EXPECT_EQ(after->tradeFee, Money{});
        EXPECT_EQ(after->adjustedBase, Money{});
        EXPECT_EQ(after->isFarmHousehold, 0);
        EXPECT_EQ(after->farmFoundingDate, Declaration::kDefaultFarmFoundingDate);
        EXPECT_FALSE(after->holdsBusinessFigures());
    }
}

// What clearing a flag would destroy decides whether the person is asked first.
TEST_F(DeclarationTest, EntriesUnderAFlagAreWhatClearingItWouldDestroy) {
    Declaration d = fresh();
    const std::uint8_t all = Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                             Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes;
    d.setIncomeFlags(all);
    EXPECT_FALSE(d.holdsEntriesUnder(all)); // lists exist but are empty

    d.incomes9.add();
    EXPECT_TRUE(d.holdsEntriesUnder(Declaration::kAgentIncomes));
    EXPECT_FALSE(d.holdsEntriesUnder(all & ~Declaration::kAgentIncomes));
    d.incomes9.remove(0);
    d.foreignerFixedAdvance = amount("1000");
    EXPECT_TRUE(d.holdsEntriesUnder(Declaration::kAgentIncomes));

    d.investPartnerships.add();
    EXPECT_TRUE(d.holdsEntriesUnder(Declaration::kPartnershipIncomes));
    EXPECT_FALSE(d.holdsEntriesUnder(Declaration::kForeignIncomes | Declaration::kBusinessIncomes));
    for (auto figure : {&Declaration::actualAdvancePayments, &Declaration::adjustedBase,
                        &Declaration::adjustedTax, &Declaration::patentPayments, &Declaration::tradeFee}) {
        d.*figure = amount("1");
        EXPECT_TRUE(d.holdsEntriesUnder(Declaration::kBusinessIncomes));
        d.*figure = Money{};
    }
    d.isFarmHousehold = 1;
    EXPECT_TRUE(d.holdsEntriesUnder(Declaration::kBusinessIncomes));
    EXPECT_FALSE(d.holdsEntriesUnder(Declaration::kForeignIncomes));
    d.setIncomeFlags(0);
    EXPECT_FALSE(d.holdsEntriesUnder(all));
}

TEST_F(DeclarationTest, SupportingSheetsAreIgnoredWhileCountedAutomatically) {
    Declaration d = fresh();
    d.sheetCountAutomatic = 1;
    d.setSupportingSheets(3);
    EXPECT_EQ(d.supportingSheets(), 0);
    d.sheetCountAutomatic = 0;
    d.setSupportingSheets(3);
    EXPECT_EQ(d.supportingSheets(), 3);
}

TEST_F(DeclarationTest, IncomeListsKeepEntryOrderAndHoldAThousandRecords) {
    Declaration d = fresh();
    d.setIncomeFlags(Declaration::kBusinessIncomes);
    for (const char* kind : {"1", "2", "3"}) {
        BusinessActivity b;
        b.activityKind = Cp1251Text::fromBytes(std::string_view(kind));
        const std::int32_t index = d.businessIncomes.add(b);
        EXPECT_EQ(index, d.businessIncomes.count() - 1);
    }
    BusinessActivity replacement;
    replacement.activityKind = "9";
    d.businessIncomes.set(2, replacement);
    d.businessIncomes.remove(0);
    ASSERT_EQ(d.businessIncomes.count(), 2);
    EXPECT_EQ(d.businessIncomes.get(0).activityKind, Cp1251Text{"2"});
    EXPECT_EQ(d.businessIncomes.get(1).activityKind, Cp1251Text{"9"});
    EXPECT_THROW(d.businessIncomes.get(2), StorageAllocationError);

    while (d.businessIncomes.count() < kMaxListItems)
        d.businessIncomes.add();
    EXPECT_THROW(d.businessIncomes.add(), ListFull);
    EXPECT_EQ(d.businessIncomes.count(), kMaxListItems);
    EXPECT_EQ(d.businessIncomes.get(1).activityKind, Cp1251Text{"9"});
}

// A new return saved at once, after the shell has marked the certificate incomes.
TEST_F(DeclarationTest, NewReturnIsStoredWithExactlyTheseStreams) {
    Declaration d = fresh();
    d.setIncomeFlags(Declaration::kAgentIncomes);
    d.sheetCountAutomatic = 1;
    const std::string doc = savedBytes(d);
    ASSERT_EQ(doc.size(), static_cast<std::size_t>(d.storedSize()));
    EXPECT_EQ(doc.substr(0, 28), "DLSG            Quil20190102");

    const std::string declInfo =
        items({"@DeclInfo", "",  "",  "0", "0", "43905", "0", "5", "0", "1", "1", "0", "0",
               "0",         "0", "0", "0", "0", "0",     "0", "0", "",  "0", "",  "",  "0"});
    EXPECT_EQ(doc.substr(60, declInfo.size()), declInfo);
    EXPECT_EQ(doc.substr(60 + declInfo.size(), 15), items({"@PersonName"}));

    const std::string tail =
        items({"@WorkPhone", "", "", "@DeclInquiry", "0", "0", "0", "0", "0", "@StandartDeduct", "0",
               "@SocialDeduct", "0", "@ConstructionDeduct", "0", "@CBDeduct", "0", "@InvDeduct", "0"});
    ASSERT_GE(doc.size(), tail.size());
    EXPECT_EQ(doc.substr(doc.size() - tail.size()), tail);
}

TEST_F(DeclarationTest, WithoutIncomeFlagsNoDeductionIsStoredOrLookedFor) {
    Declaration d = fresh();
    d.socialDeductions.granted = 1;
    d.socialDeductions.charity = amount("10");
    const std::string doc = savedBytes(d);
    const auto texts = itemTexts(doc);
    EXPECT_EQ(texts.back(), "");
    EXPECT_EQ(texts[texts.size() - 3], "@WorkPhone");
    for (const char* name : {"@DeclInquiry", "@StandartDeduct", "@SocialDeduct", "@InvDeduct"})
        EXPECT_FALSE(hasItem(texts, name)) << name;
    const Declaration back = loaded(doc);
    EXPECT_EQ(back.socialDeductions, SocialDeduction{});
}

Declaration foreignOnly(const Clock& clock) {
    Declaration d(clock);
    d.setIncomeFlags(Declaration::kForeignIncomes);
    auto& f = d.foreignIncomes.get(d.foreignIncomes.add());
    f.incomeCode = 1010;
    f.incomeDate = DateValue::fromDays(43600.5);
    f.setIncomeInCurrency(amount("100"));
    f.currencyCode = "978";
    d.foreignIncomes.add();
    return d;
}

Declaration businessByNorm(const Clock& clock) {
    Declaration d(clock);
    d.setIncomeFlags(Declaration::kBusinessIncomes | Declaration::kReservedFlag);
    d.declarationKind = 2;
    d.taxpayerCategory = 0;
    d.estimatedIncome = amount("250000");
    d.representativeDocument = cp("Доверенность");
    auto& b = d.businessIncomes.get(d.businessIncomes.add());
    b.activityKind = "2";
    b.hasDocumentedExpenses = 0;
    b.incomeAmount = amount("100");
    b.standardExpenses = amount("20");
    d.standardDeductions.granted = 1;
    return d;
}

// Saving and loading gives the same document; the file is exactly storedSize
// bytes; saving the loaded document again gives the same bytes.
TEST_F(DeclarationTest, DocumentsRoundTripThroughAFile) {
    struct Case {
        std::string name;
        Declaration declaration;
    };
    std::vector<Case> cases;
    for (auto& e : examples::allExamples())
        cases.push_back({e.fileName, std::move(e.declaration)});
    cases.push_back({"empty flags", fresh()});
    cases.push_back({"foreign only", foreignOnly(clock)});
    cases.push_back({"business by norm with the reserved flag", businessByNorm(clock)});

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto path = dir.file("round.qv9");
        c.declaration.saveToFile(path);
        const std::string bytes = readFile(path);
        EXPECT_EQ(bytes.size(), static_cast<std::size_t>(c.declaration.storedSize()));

        Declaration back(SystemClock{});
        back.loadFromFile(path);
        EXPECT_TRUE(back == c.declaration);
        EXPECT_EQ(savedBytes(back), bytes);
    }
}

// Every text the user types, each set alone to every stream name of the document: it
// comes back as that text, and no stream is taken from it. One of them per call.
void setEveryTextField(Declaration& d, std::size_t field, const std::string& bytes) {
    const Cp1251Text v = Cp1251Text::fromBytes(bytes);
    auto source = [&](IncomeSource& s, std::size_t k) {
        Cp1251Text* texts[] = {&s.sourceInn, &s.sourceKpp, &s.sourceOktmo, &s.sourceName};
        *texts[k % 4] = v;
    };
    Taxpayer& p = d.person;
    std::vector<std::function<void()>> setters = {
        [&] { d.inspectionCode = v; },
        [&] { d.inspectionName = v; },
        [&] { d.representativeDocument = v; },
        [&] { d.representativeName = v; },
        [&] { d.representativeOrganisation = v; },
        // The taxpayer, stream after stream.
        [&] { p.surname = v; },
        [&] { p.patronymic = v; },
        [&] { p.inn = v; },
        [&] { p.nameSign = v; },
        [&] { p.identityDocName = v; },
        [&] { p.identityDocNumber = v; },
        [&] { p.identityDocIssuer = v; },
        [&] { p.birthPlace = v; },
        [&] { p.citizenshipStatus = v; },
        [&] { p.citizenshipCountryCode = v; },
        [&] { p.foreignHomePhone = v; },
        [&] { p.foreignWorkPhone = v; },
        [&] { p.addressRegionName = v; },
        [&] { p.addressPostIndex = v; },
        [&] { p.addressStreet = v; },
        [&] { p.addressFlat = v; },
        [&] { p.oktmo = v; },
        [&] { p.contactPhone = v; },
        [&] { p.workPhone = v; },
        // Every income list, its lines and the deductions' entries.
        [&] { source(d.incomes13.get(0), 0); },
        [&] { source(d.incomes13.get(0), 3); },
        [&] {
            auto line = d.incomes13.get(0).item(0);
            line.incomeName = SharedText(v);
            line.cadastralNumber = SharedText(v);
            d.incomes13.get(0).replaceItem(0, line);
        },
        [&] { source(d.incomes13NonResident.get(0), 1); },
        [&] { source(d.incomes35.get(0), 2); },
        [&] { source(d.incomes30.get(0), 3); },
        [&] { source(d.incomes9.get(0), 0); },
        [&] { source(d.investPartnerships.get(0), 3); },
        [&] {
            ForeignIncome& f = d.foreignIncomes.get(0);
            f.incomeName = f.sourceName = f.currencyName = f.cfcNumber = v;
        },
        [&] { d.foreignIncomes.get(0).countryCode = v; },
        [&] { d.businessIncomes.get(0).activityKind = v; },
        [&] { d.businessIncomes.get(0).okvedCode = v; },
        [&] {
            PensionContract& c = d.socialDeductions.pensionContracts.get(0);
            c.organisationName = c.contractNumber = v;
        },
        [&] { d.propertyDeductions.objects.get(0).objectNumber = v; },
        [&] { d.propertyDeductions.objects.get(0).objectAddress = v; },
    };
    if (field < setters.size())
        setters[field]();
}

TEST_F(DeclarationTest, TextsEqualToStreamNamesAreNeverTakenForStreams) {
    const Declaration base = examples::allRecordsReturn();
    std::vector<std::string> names;
    for (const std::string& text : itemTexts(savedBytes(base)))
        if (!text.empty() && text[0] == '@')
            names.push_back(text);
    ASSERT_TRUE(hasItem(names, "@PersonAddress") && hasItem(names, "@DeclInquiry") &&
                hasItem(names, "@InvDeduct"));

    for (std::size_t field = 0;; ++field) {
        Declaration probe = base;
        setEveryTextField(probe, field, "x");
        if (probe == base)
            break; // past the last field
        for (const std::string& name : names) {
            SCOPED_TRACE(testing::Message() << "field " << field << " = " << name);
            Declaration typed = base;
            setEveryTextField(typed, field, name);
            const std::string bytes = typed.saveToBytes();
            const Declaration back = loaded(bytes);
            ASSERT_TRUE(back == typed);
            ASSERT_EQ(back.saveToBytes(), bytes);
        }
    }

    // The two faults as they were met: the address shifted, and a return that no longer opened.
    Declaration typed = base;
    typed.person.birthPlace = "@PersonAddress";
    typed.person.addressStreet = "@DeclInquiry";
    const Declaration back = loaded(typed.saveToBytes());
    EXPECT_EQ(back.person.birthPlace, Cp1251Text{"@PersonAddress"});
    EXPECT_EQ(back.person.addressStreet, Cp1251Text{"@DeclInquiry"});
    EXPECT_EQ(back.person.addressCity, base.person.addressCity);
    EXPECT_EQ(back.incomes13.count(), base.incomes13.count());
}

// Blocks written in another order than this program's, each after values that equal
// the names of the blocks still to come, are read from where the file has them.
TEST_F(DeclarationTest, BlocksInAnotherOrderAreTakenWhereTheFileHasThem) {
    Declaration d = examples::allRecordsReturn();
    d.businessIncomes.get(0).activityKind = "@DeclForeign";
    d.representativeDocument = "@DeclCBiInvTov";
    const std::string bytes = d.saveToBytes();
    // Moves the business block (up to the first deduction) before the foreign one.
    const auto foreign = bytes.find("0012@DeclForeign");
    const auto business = bytes.find("0013@DeclBusiness");
    const auto deductions = bytes.find("0015@StandartDeduct");
    ASSERT_TRUE(foreign < business && business < deductions && deductions != std::string::npos);
    const std::string reordered = bytes.substr(0, foreign) + bytes.substr(business, deductions - business) +
                                  bytes.substr(foreign, business - foreign) + bytes.substr(deductions);
    ASSERT_NE(reordered, bytes);
    EXPECT_TRUE(loaded(reordered) == d);
}

TEST_F(DeclarationTest, EveryRecordKindIsInTheAllRecordsReturnAndItsSizeIsExact) {
    const Declaration d = examples::allRecordsReturn();
    const std::string doc = savedBytes(d);
    EXPECT_EQ(doc.size(), static_cast<std::size_t>(d.storedSize()));
    const auto texts = itemTexts(doc);
    // The items cover the whole file: nothing unwritten inside it.
    std::size_t covered = DocumentStorage::kHeaderSize;
    for (const auto& t : texts)
        covered += 4 + t.size();
    EXPECT_EQ(covered, doc.size());
    for (const char* name : {"@DeclInfo",
                             "@PersonName",
                             "@DeclInquiry",
                             "@ThirteenPercent000",
                             "@SourseIncome000002",
                             "@SSCDeducts000001",
                             "@ThirteenPerceNR000",
                             "@SourseIncoNR000000",
                             "@ThirtyFivePercent000",
                             "@ThirtyPercent000",
                             "@NinePercent000",
                             "@DeclForeign",
                             "@CurrencyIncome000",
                             "@DeclCBiInvTov",
                             "@InvestTov000",
                             "@InvestTovIncome000000",
                             "@DeclBusiness",
                             "@BusinessIncome000",
                             "@BusinessExpense000",
                             "@BusinessIncome001",
                             "@StandartDeduct",
                             "@SocialDeduct",
                             "@Pens",
                             "@PensSub001",
                             "@ConstructionDeduct",
                             "@ConstructionDeductObj001",
                             "@CBDeduct",
                             "@InvDeduct"})
        EXPECT_TRUE(hasItem(texts, name)) << name;
    EXPECT_FALSE(hasItem(texts, "@BusinessExpense001")); // expenses by norm
}

// estimatedIncome and representativeDocument stand in both "@DeclInfo" and
// "@DeclBusiness"; the later ones are kept.
TEST_F(DeclarationTest, BusinessTotalsOverrideTheirCopiesInDeclInfo) {
    Declaration d = businessByNorm(clock);
    std::string doc = savedBytes(d);
    const std::string first = items({cpBytes("Доверенность"), "250000"});
    const auto at = doc.find(first);
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(doc.find(items({"250000"}), at + first.size()),
              std::string::npos); // the copy in "@DeclBusiness"
    doc.replace(at, first.size(), items({cpBytes("Поручение12"), "999999"}));
    const Declaration back = loaded(doc);
    EXPECT_EQ(back.representativeDocument, cp("Доверенность"));
    EXPECT_EQ(back.estimatedIncome, amount("250000"));
}

// --- documents written by hand, as older versions and program years left them --

struct OldFile {
    std::string identifier;
    int major = 1;
    int minor = 2;
    bool numericDates() const { return major * 65536 + minor >= DocumentStorage::kVersion12; }
};

void writeDate(DocumentStorage& s, const OldFile& f, int y, int m, int d) {
    const auto date = *DateValue::fromYmd(y, m, d);
    if (f.numericDates())
        s.writeDate(date);
    else
        s.writeText(Cp1251Text::fromBytes(date.text('.')));
}

// "@DeclInfo" with bit 0 and the property deduction, then the taxpayer of a 2013-or-later file.
void writeDeclInfoAndPerson(DocumentStorage& s, const OldFile& f, std::uint8_t flags) {
    s.beginStream("@DeclInfo");
    s.writeText("7701");
    s.writeText(cp("ИФНС № 1"));
    s.writeByte(0);
    s.writeInt32(2);
    writeDate(s, f, 2004, 3, 15);
    for (int v : {0, 5, 0, int{flags}})
        s.writeInt16(static_cast<std::uint16_t>(v));
    s.writeByte(0);
    for (int i = 0; i < 10; ++i)
        s.writeInt32(i);
    s.writeText("");
    s.writeMoney(Money{});
    s.writeText("");
    s.writeText("");
    s.writeMoney(amount("7"));

    s.beginStream("@PersonName");
    for (const char* t : {"Surname", "Name", "Patronymic", "770123456703", "", "0"})
        s.writeText(Cp1251Text::fromBytes(std::string_view(t)));
    s.beginStream("@PersonDocument");
    s.writeInt16(21);
    s.writeText("");
    s.writeText("45 09 123456");
    writeDate(s, f, 2009, 5, 14);
    writeDate(s, f, 1985, 4, 12);
    s.writeText("");
    s.writeText("");
    s.writeByte(0);
    s.beginStream("@Foreigner");
    for (const char* t : {"1", "X", "", "643"})
        s.writeText(Cp1251Text::fromBytes(std::string_view(t)));
    s.beginStream("@PhoneForeignerHome");
    s.writeText("");
    s.writeText("");
    s.beginStream("@PhoneForeignerWork");
    s.writeText("");
    s.writeText("");
    s.beginStream("@PersonAddress");
    s.writeByte(0);
    s.writeText("");
    s.writeInt16(77);
    for (int i = 0; i < 8; ++i)
        s.writeText("");
    s.writeText("45379000");
    s.beginStream("@HomePhone");
    s.writeText("");
    s.writeText("123");
    s.beginStream("@WorkPhone");
    s.writeText("");
    s.writeText("");
}

// A current-year document of container version 1.0 or 1.1: dates as "dd.mm.yyyy";
// version 1.0 has no isPrimaryWorkplace in a 13% source.
std::string currentYearDocument(const OldFile& f) {
    std::string doc = test::writeDocument([&](DocumentStorage& s) {
        writeDeclInfoAndPerson(s, f, 1);
        s.beginStream("@DeclInquiry");
        s.writeInt16(1);
        s.beginStream("@ThirteenPercent000");
        if (f.major * 65536 + f.minor >= DocumentStorage::kVersion11)
            s.writeByte(1);
        for (const char* t : {"7701234560", "770101001", "45379000", "Employer"})
            s.writeText(Cp1251Text::fromBytes(std::string_view(t)));
        for (int i = 0; i < 4; ++i)
            s.writeMoney(amount("0"));
        s.writeByte(0);
        for (int i = 0; i < 12; ++i)
            s.writeText("a");
        s.writeInt32(0);
        s.writeInt32(0);
        for (int i = 0; i < 4; ++i)
            s.writeInt16(0);
        s.beginStream("@StandartDeduct");
        s.writeByte(0);
        s.beginStream("@SocialDeduct");
        s.writeByte(0);
        s.beginStream("@ConstructionDeduct");
        s.writeByte(1);
        for (int i = 0; i < 4; ++i)
            s.writeMoney(Money{});
        s.writeInt32(1);
        s.beginStream("@ConstructionDeductObj000");
        for (int i = 0; i < 3; ++i)
            s.writeInt32(2);
        writeDate(s, f, 2019, 6, 20);
        writeDate(s, f, 2003, 1, 1);
        writeDate(s, f, 2018, 12, 31);
        for (int i = 0; i < 2; ++i)
            s.writeInt32(1);
        s.writeByte(0);
        s.writeByte(0);
        s.writeMoney(amount("3500000"));
        s.writeMoney(Money{});
        s.writeInt32(1);
        s.writeText("77:07:0009001:1342");
        s.writeText("");
        s.beginStream("@CBDeduct");
        s.writeByte(0);
        s.beginStream("@InvDeduct");
        s.writeByte(0);
    });
    test::setContainerVersion(doc, f.major, f.minor);
    return doc;
}

TEST_F(DeclarationTest, CurrentYearDocumentsOfEarlierContainerVersionsAreReadWhole) {
    for (const OldFile& f :
         {OldFile{"Quil2019", 1, 0}, OldFile{"Quil2019", 1, 1}, OldFile{"Quil2019", 1, 2}}) {
        SCOPED_TRACE(f.minor);
        const Declaration d = loaded(currentYearDocument(f));
        EXPECT_EQ(d.inspectionCode, Cp1251Text{"7701"});
        EXPECT_EQ(d.correctionNumber, 2);
        EXPECT_EQ(d.documentDate, DateValue::fromYmd(2004, 3, 15));
        EXPECT_EQ(d.reservedInt8, 9);
        EXPECT_EQ(d.supportingSheets(), 0);
        EXPECT_EQ(d.foreignAppendixSheets, 1);
        EXPECT_EQ(d.foreignerFixedAdvance, amount("7"));
        EXPECT_EQ(d.person.birthDate, DateValue::fromYmd(1985, 4, 12));
        EXPECT_EQ(d.person.oktmo, Cp1251Text{"45379000"});
        ASSERT_EQ(d.incomes13.count(), 1);
        EXPECT_EQ(d.incomes13.get(0).isPrimaryWorkplace, f.minor >= 1 ? 1 : 0);
        EXPECT_EQ(d.incomes13.get(0).sourceInn, Cp1251Text{"7701234560"});
        EXPECT_EQ(d.incomes13.get(0).sourceName, Cp1251Text{"Employer"});
        ASSERT_EQ(d.propertyDeductions.objects.count(), 1);
        const auto& flat = d.propertyDeductions.objects.get(0);
        EXPECT_EQ(flat.rightRegistrationDate, DateValue::fromYmd(2019, 6, 20));
        EXPECT_EQ(flat.transferActDate, DateValue::fromYmd(2003, 1, 1));
        EXPECT_EQ(flat.landRegistrationDate, DateValue::fromYmd(2018, 12, 31));
        EXPECT_EQ(flat.objectCost, amount("3500000"));
        EXPECT_EQ(flat.objectNumber, Cp1251Text{"77:07:0009001:1342"});
    }
}

// A document of an earlier program year gives its taxpayer and nothing else.
TEST_F(DeclarationTest, EarlierProgramYearsGiveTheTaxpayerOnly) {
    for (const OldFile& f : {OldFile{"Quil2015", 1, 1}, OldFile{"Quil2018", 1, 2}}) {
        SCOPED_TRACE(f.identifier);
        std::string doc = test::writeDocument(
            [&](DocumentStorage& s) {
                writeDeclInfoAndPerson(s, f, 1);
                s.beginStream("@DeclInquiry");
                s.writeInt16(3);
            },
            f.identifier);
        test::setContainerVersion(doc, f.major, f.minor);
        const Declaration d = loaded(doc);
        EXPECT_EQ(d.person.surname, Cp1251Text{"Surname"});
        EXPECT_EQ(d.person.birthDate, DateValue::fromYmd(1985, 4, 12));
        EXPECT_EQ(d.person.oktmo, Cp1251Text{"45379000"});
        EXPECT_EQ(d.person.contactPhone, Cp1251Text{"123"});
        EXPECT_EQ(d.incomeFlags(), 0);
        EXPECT_FALSE(d.incomes13.exists());
        EXPECT_EQ(d.inspectionCode, Cp1251Text{""});
        EXPECT_EQ(d.correctionNumber, 0);
        EXPECT_EQ(d.documentDate, kToday);
        EXPECT_EQ(d.foreignerFixedAdvance, Money{});
    }
}

TEST_F(DeclarationTest, UnknownProgramYearReadsTheTaxpayerByTheOldestRules) {
    const OldFile f{"Kvil1999", 1, 0};
    std::string doc = test::writeDocument(
        [&](DocumentStorage& s) {
            s.beginStream("@DeclInfo");
            s.beginStream("@PersonName");
            for (const char* t : {"Surname", "Name", "Patronymic", "770123456703"})
                s.writeText(Cp1251Text::fromBytes(std::string_view(t)));
            s.beginStream("@PersonDocument");
            s.writeInt16(21);
            s.writeText("");
            s.writeText("45 09 123456");
            writeDate(s, f, 2009, 5, 14);
            writeDate(s, f, 1985, 4, 12);
            s.beginStream("@Foreigner");
            s.writeText("2");
            s.writeText("X");
            s.beginStream("@PersonAddress");
            s.writeText("");
            s.writeInt16(77);
            for (int i = 0; i < 8; ++i)
                s.writeText("street");
        },
        f.identifier);
    test::setContainerVersion(doc, f.major, f.minor);
    const Declaration d = loaded(doc);
    EXPECT_EQ(d.person.inn, Cp1251Text{"770123456703"});
    EXPECT_EQ(d.person.nameSign, Cp1251Text{"0"});
    EXPECT_EQ(d.person.birthDate, DateValue::fromYmd(1985, 4, 12));
    EXPECT_EQ(d.person.citizenshipStatus, Cp1251Text{"2"});
    EXPECT_EQ(d.person.addressFlat, Cp1251Text{"street"});
    EXPECT_EQ(d.incomeFlags(), 0);
}

// --- damaged files ----------------------------------------------------------------

std::string typicalBytes() {
    return savedBytes(examples::typicalReturn());
}

TEST_F(DeclarationTest, DamagedFilesFailWithTheirStorageMessages) {
    struct Case {
        std::string name;
        std::function<void(std::string&)> damage;
        Cp1251Text message;
    };
    auto replaceFirst = [](std::string from, std::string to) {
        return [from, to](std::string& doc) {
            const auto at = doc.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            doc.replace(at, from.size(), to);
        };
    };
    const std::string inquiry = items({"@DeclInquiry"});
    const std::vector<Case> cases = {
        {"version not a number", [](std::string& doc) { doc.replace(24, 2, "0x"); }, msg::badFormat()},
        {"not a document", [](std::string& doc) { doc.replace(0, 2, "PK"); }, msg::badFormat()},
        {"promised stream missing", replaceFirst(items({"@DeclInquiry"}), items({"@DeclInquirx"})),
         msg::noStream()},
        {"earlier year without @DeclInfo",
         [](std::string& doc) {
             doc.replace(16, 8, "Quil2015");
             doc.replace(doc.find("@DeclInfo"), 9, "@DeclInfX");
         },
         msg::noStream()},
        {"count 65535 with nothing behind", replaceFirst(inquiry + items({"1"}), inquiry + items({"65535"})),
         msg::badFormat()},
        {"count 999 with one record", replaceFirst(inquiry + items({"1"}), inquiry + items({"999"})),
         msg::noStream()},
        {"file cut inside an item", [](std::string& doc) { doc.resize(doc.size() - 2); }, msg::badFormat()},
        {"line amounts adding up beyond the range of money",
         [](std::string& doc) {
             const std::string salary = items({"80000"});
             const std::string huge = items({"900000000000000"});
             for (auto at = doc.find(salary); at != std::string::npos; at = doc.find(salary, at))
                 doc.replace(at, salary.size(), huge);
         },
         msg::badFormat()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string doc = typicalBytes();
        c.damage(doc);
        Declaration d = fresh();
        try {
            d.loadFromBytes(doc);
            ADD_FAILURE() << "loaded";
        } catch (const StorageError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

// A numeric item stored with length 0 stands for the one byte after its prefix;
// the values and streams after it are still found.
TEST_F(DeclarationTest, NumericItemsOfLengthZeroReadOneByte) {
    const std::string whole = typicalBytes();
    // Rewrites the numeric item that follows `skip` items after the stream name.
    auto zeroLength = [](std::string& doc, const std::string& stream, int skip) {
        std::size_t at = doc.find(items({stream}));
        ASSERT_NE(at, std::string::npos) << stream;
        at += 4 + stream.size();
        for (int i = 0; i < skip; ++i)
            at += 4 + static_cast<std::size_t>(std::stoi(doc.substr(at, 4)));
        ASSERT_EQ(doc.substr(at, 4), "0001") << stream;
        doc.replace(at, 4, "0000");
    };
    struct Case {
        std::string stream;
        int skip;
    };
    for (const Case& c : {Case{"@DeclInfo", 2}, Case{"@ThirteenPercent000", 0}, Case{"@PersonDocument", 7},
                          Case{"@ConstructionDeductObj000", 8}}) {
        SCOPED_TRACE(c.stream);
        std::string doc = whole;
        zeroLength(doc, c.stream, c.skip);
        EXPECT_TRUE(loaded(doc) == loaded(whole));
    }
}

TEST_F(DeclarationTest, WhatWasReadBeforeAMissingStreamStays) {
    std::string doc = typicalBytes();
    doc.replace(doc.find("@StandartDeduct"), 15, "@StandartDeducX");
    Declaration d = fresh();
    EXPECT_THROW(d.loadFromBytes(doc), StreamOpenError);
    EXPECT_EQ(d.inspectionCode, Cp1251Text{"7701"});
    ASSERT_EQ(d.incomes13.count(), 1);
    EXPECT_EQ(d.incomes13.get(0).totalIncome, amount("960000"));
}

TEST_F(DeclarationTest, EveryCutOrGarbledTypicalFileLoadsOrFailsAsDamaged) {
    const std::string doc = typicalBytes();
    for (std::size_t n = 0; n < doc.size(); ++n) {
        ASSERT_TRUE(test::failsAsDamaged([&] { fresh().loadFromBytes(doc.substr(0, n)); })) << "cut at " << n;
    }
    for (std::size_t at = 0; at < doc.size(); ++at) {
        for (char c : {'9', 'x', '\0'}) {
            std::string garbled = doc;
            garbled[at] = c;
            Declaration d = fresh();
            try {
                d.loadFromBytes(garbled);
            } catch (const StorageError&) {
            } catch (const ConversionError&) {
            } catch (const std::exception& e) {
                ADD_FAILURE() << "byte " << at << " := " << int{c} << ": " << e.what();
            }
        }
    }
}

TEST_F(DeclarationTest, FilesAreReplacedWholeAndMissingFilesReportThePath) {
    TempDir dir;
    const auto path = dir.file("return.qv9");
    const Declaration big = examples::allRecordsReturn();
    big.saveToFile(path);
    const Declaration small = examples::newReturn();
    small.saveToFile(path);
    EXPECT_EQ(fs::file_size(path), static_cast<std::uintmax_t>(small.storedSize()));

    const auto missing = dir.file("missing.qv9");
    Declaration d = fresh();
    try {
        d.loadFromFile(missing);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const BadStorageError& e) {
        EXPECT_EQ(e.message(), msg::fileMissing(missing));
    }
    EXPECT_FALSE(fs::exists(missing));
}

} // namespace
} // namespace kv
