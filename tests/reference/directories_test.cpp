#include "core/Money.h"
#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/DocumentKinds.h"
#include "reference/XmlRead.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <unistd.h>

using kv::test::date;

using namespace kv;
namespace fs = std::filesystem;

namespace {

std::string xml1251(const std::string& bodyUtf8) {
    return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>" + Cp1251Text::fromUtf8(bodyUtf8).bytes();
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kv_reference_XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    fs::path path_;
};

const std::string kOffices = xml1251(
    "<Inspections Version=\"00\" Date=\"01.02.2020\"><!-- comment --><Inspection Code=\"7701\">ИФНС № 1"
    "</Inspection>\n<Inspection>Без кода</Inspection><Inspection Code=\"7702\">ИФНС № "
    "2</Inspection></Inspections>");

const std::string kRates =
    xml1251("<Rates>"
            "<Currency Code=\"840\" Name=\"Доллар США\">"
            "<Rate Date=\"09.01.2019\" Rate=\"67,0795\" Quantity=\"1\"/>"
            "<Rate Date=\"10.01.2019\" Rate=\"66,9909\" Quantity=\"1\"/>"
            "</Currency>"
            "<Currency Code=\"978\" Name=\"Евро\">"
            "<Rate Date=\"20.03.2019\" Rate=\"3\" Quantity=\"1\"/>"
            "<Rate Date=\"10.03.2019\" Rate=\"2\" Quantity=\"1\"/>"
            "<Rate Date=\"01.03.2019\" Rate=\"1\" Quantity=\"1\"/>"
            "<Rate Date=\"bad\" Rate=\"9\" Quantity=\"1\"/>"
            "</Currency>"
            "<Currency Code=\"840\" Name=\"Дубль\"><Rate Date=\"01.01.2019\" Rate=\"0\"/>"
            "</Currency></Rates>");

} // namespace

TEST(Directories, CodeAndNameRowsFromChildElements) {
    const auto rows = codeNameRowsFromXml(kOffices);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 3u);
    EXPECT_EQ((*rows)[0].code, Cp1251Text{"7701"});
    EXPECT_EQ((*rows)[0].name, Cp1251Text::fromUtf8("ИФНС № 1"));
    EXPECT_EQ((*rows)[1].code, Cp1251Text{""}); // an entry without Code gives an empty code
    EXPECT_EQ((*rows)[2].code, Cp1251Text{"7702"});

    EXPECT_EQ(findCodeRow(*rows, Cp1251Text{"7702"}), std::optional<std::size_t>(2));
    EXPECT_EQ(findCodeRow(*rows, Cp1251Text{"9999"}), std::nullopt);
    EXPECT_FALSE(codeNameRowsFromXml("<a><b></a>"));
}

TEST(Directories, CurrencyRateLookup) {
    const auto rates = CurrencyRates::fromXml(kRates);
    ASSERT_TRUE(rates);
    struct Case {
        const char* code;
        DateValue date;
        const char* rate; // nullptr: no rate
    };
    const Case cases[] = {
        {"840", date(2019, 1, 12), "66,9909"}, // the last earlier rate
        {"840", date(2019, 1, 9), "67,0795"},  // that day's rate
        {"840", date(2019, 1, 10), "66,9909"},
        {"840", date(2019, 1, 1), nullptr}, // nothing earlier; the later duplicate currency is not consulted
        {"978", date(2019, 3, 15), "1"},    // newest first: document order decides
        {"978", date(2019, 3, 20), "3"},
        {"978", date(2019, 3, 1), "1"},
        {"036", date(2019, 6, 1), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.date.text());
        const auto found = findCurrencyRate(&*rates, test::asText(c.code), c.date);
        if (c.rate == nullptr) {
            EXPECT_FALSE(found);
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ(found->rate, test::asText(c.rate));
            EXPECT_EQ(found->quantity, Cp1251Text{"1"});
        }
    }
    EXPECT_FALSE(findCurrencyRate(nullptr, Cp1251Text{"840"}, date(2019, 1, 12)));

    const CodeNameRows names = rates->codeNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1].name, Cp1251Text::fromUtf8("Евро"));
    EXPECT_EQ(currencyPickerRow(names, Cp1251Text{"978"}), std::optional<std::size_t>(1));
    EXPECT_EQ(currencyPickerRow(names, Cp1251Text{"111"}), std::optional<std::size_t>(0));
    EXPECT_EQ(currencyPickerRow(names, Cp1251Text{""}), std::optional<std::size_t>(0));
    EXPECT_EQ(currencyPickerRow({}, Cp1251Text{"978"}), std::nullopt);
}

TEST(Directories, StartUpLoadingFromTheFolder) {
    TempFolder folder;
    Directories none = loadDirectories(folder.path());
    EXPECT_FALSE(none.fatal());
    EXPECT_FALSE(none.inspections || none.countries || none.okved || none.currencyRates);
    EXPECT_EQ(none.countriesState, DirectoryState::Missing);

    folder.write(kInspectionsFile, kOffices);
    folder.write(kCountriesFile, xml1251("<Oksm><Country Code=\"643\">РОССИЯ</Country></Oksm>"));
    folder.write(kOkvedFile, xml1251("<OKVED><Row><GRUP>1</GRUP><Name>А</Name><Kod>A</Kod></Row></OKVED>"));
    folder.write(kCurrencyRatesFile, kRates);
    Directories all = loadDirectories(folder.path());
    EXPECT_FALSE(all.fatal());
    ASSERT_TRUE(all.inspections && all.countries && all.okved && all.currencyRates);
    EXPECT_EQ(all.inspections->size(), 3u);
    EXPECT_EQ(all.countries->at(0).name, Cp1251Text::fromUtf8("РОССИЯ"));
    EXPECT_EQ(all.okved->entries.size(), 1u);
    EXPECT_EQ(all.currencyRates->currencies.size(), 3u);

    // A damaged country file only makes its picker unavailable; a damaged tax-office file is fatal.
    folder.write(kCountriesFile, "<Oksm><Country");
    Directories brokenCountries = loadDirectories(folder.path());
    EXPECT_FALSE(brokenCountries.countries);
    EXPECT_EQ(brokenCountries.countriesState, DirectoryState::Unreadable);
    EXPECT_FALSE(brokenCountries.fatal());
    folder.write(kInspectionsFile, "not xml");
    EXPECT_TRUE(loadDirectories(folder.path()).fatal());
    EXPECT_TRUE(taxOfficeFileFatalMessage().starts_with(
        Cp1251Text::fromUtf8("Поменяйте язык и региональные стандарты")));
}

// The user's folder comes first, file by file: an imported tax-office list replaces the
// shipped one while the other files still come from the program's folder.
TEST(Directories, EachFileFromTheFirstFolderThatHoldsIt) {
    TempFolder user, shipped;
    const fs::path absent = user.path() / "absent";
    shipped.write(kInspectionsFile, kOffices);
    shipped.write(kCountriesFile, xml1251("<Oksm><Country Code=\"643\">РОССИЯ</Country></Oksm>"));
    user.write(kInspectionsFile,
               xml1251("<Inspections><Inspection Code=\"0101\">Своя</Inspection></Inspections>"));
    fs::create_directory(user.path() / kCountriesFile);

    const DataFolders folders{absent, fs::path(), user.path(), shipped.path()};
    EXPECT_EQ(findDataFile(folders, kInspectionsFile), user.path() / kInspectionsFile);
    EXPECT_EQ(findDataFile(folders, kCountriesFile), shipped.path() / kCountriesFile);
    EXPECT_EQ(findDataFile(folders, kOkvedFile), fs::path());
    EXPECT_EQ(findDataFile({}, kInspectionsFile), fs::path());

    const Directories dirs = loadDirectories(folders);
    ASSERT_TRUE(dirs.inspections && dirs.countries);
    ASSERT_EQ(dirs.inspections->size(), 1u);
    EXPECT_EQ(dirs.inspections->at(0).code, Cp1251Text{"0101"});
    EXPECT_EQ(dirs.countries->at(0).code, Cp1251Text{"643"});
    EXPECT_EQ(dirs.okvedState, DirectoryState::Missing);

    // A damaged user copy is reported, not passed over for the shipped one.
    user.write(kInspectionsFile, "not xml");
    EXPECT_TRUE(loadDirectories(folders).fatal());
}

TEST(Directories, HostileFilesAreUnreadableAndReadNothingElse) {
    TempFolder folder;
    const fs::path secret = folder.path() / "secret.txt";
    folder.write("secret.txt", "SECRET-CONTENT");
    const std::string s = secret.string();
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">"
        "<!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\"><!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">"
        "]><r><c Code=\"1\">&i;</c></r>";
    const std::string cases[] = {
        laughs,
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + s +
            "\">]><r><c Code=\"1\">&x;</c></r>",
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + s +
            "\">%p;]><r><c Code=\"1\"/></r>",
        "<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"file://" + s + "\"><r><c Code=\"1\">x</c></r>",
        "<?xml version=\"1.0\"?><r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><c Code=\"1\">"
        "<xi:include href=\"file://" +
            s + "\" parse=\"text\"/></c></r>",
        "",
        "\xEF\xBB\xBF",
        std::string(100000, '<'),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        folder.write(kCountriesFile, cases[i]);
        const CodeNameFile file = loadCodeNameFile(folder.path() / kCountriesFile);
        for (const auto& row : file.rows)
            EXPECT_EQ(row.name.bytes().find("SECRET"), std::string::npos);
        // The XInclude element is an ordinary element: it is not followed.
        if (i == 4)
            EXPECT_EQ(file.state, DirectoryState::Loaded);
        else
            EXPECT_EQ(file.state, DirectoryState::Unreadable);
    }
    // Too large to be a directory file: refused unread.
    folder.write(kCountriesFile, "<r/>");
    fs::resize_file(folder.path() / kCountriesFile, kMaxXmlFileBytes + 1);
    EXPECT_EQ(loadCodeNameFile(folder.path() / kCountriesFile).state, DirectoryState::Unreadable);
    // A folder in place of the file counts as missing.
    fs::create_directory(folder.path() / kCurrencyRatesFile);
    EXPECT_EQ(loadDirectories(folder.path()).currencyRatesState, DirectoryState::Missing);
}

TEST(DocumentKinds, FixedTableAndPreselection) {
    const CodeNameRows& kinds = documentKinds();
    ASSERT_EQ(kinds.size(), 16u);
    std::set<std::string> codes;
    for (const auto& k : kinds)
        codes.insert(k.code.bytes());
    EXPECT_EQ(codes, (std::set<std::string>{"03", "07", "08", "10", "11", "12", "13", "14", "15", "19", "21",
                                            "22", "23", "24", "27", "91"}));
    ASSERT_TRUE(documentKindRow(21));
    EXPECT_EQ(kinds[*documentKindRow(21)].name, Cp1251Text::fromUtf8("Паспорт гражданина РФ"));
    EXPECT_EQ(kinds[*documentKindRow(3)].code, Cp1251Text{"03"});
    EXPECT_EQ(documentKindRow(0), std::nullopt);
    EXPECT_EQ(documentKindRow(1), std::nullopt);
    EXPECT_EQ(documentKindCode(7), Cp1251Text{"07"});
}

TEST(ShippedDirectories, EveryFileLoadsAndKeepsItsShape) {
    const fs::path data = KV_DATA_DIR;
    const Directories dirs = loadDirectories(data);
    ASSERT_EQ(dirs.inspectionsState, DirectoryState::Loaded);
    ASSERT_EQ(dirs.countriesState, DirectoryState::Loaded);
    ASSERT_EQ(dirs.okvedState, DirectoryState::Loaded);
    ASSERT_EQ(dirs.currencyRatesState, DirectoryState::Loaded);

    auto digits = [](const Cp1251Text& code, std::size_t n) {
        return code.size() == n && code.bytes().find_first_not_of("0123456789") == std::string::npos;
    };
    std::set<std::string> seen;
    for (const auto& o : *dirs.inspections) {
        EXPECT_TRUE(digits(o.code, 4)) << o.code.bytes();
        EXPECT_TRUE(seen.insert(o.code.bytes()).second) << o.code.bytes();
        EXPECT_FALSE(o.name.empty());
    }
    seen.clear();
    for (const auto& c : *dirs.countries) {
        EXPECT_TRUE(digits(c.code, 3)) << c.code.bytes();
        EXPECT_TRUE(seen.insert(c.code.bytes()).second) << c.code.bytes();
        EXPECT_EQ(c.name, upperCp1251(c.name));
    }
    EXPECT_GT(dirs.countries->size(), 240u);
    EXPECT_EQ(dirs.countries->at(*findCodeRow(*dirs.countries, Cp1251Text{"643"})).name,
              Cp1251Text::fromUtf8("РОССИЯ"));

    seen.clear();
    for (const auto& c : dirs.currencyRates->currencies) {
        EXPECT_TRUE(digits(c.code, 3)) << c.code.bytes();
        EXPECT_TRUE(seen.insert(c.code.bytes()).second) << c.code.bytes();
        EXPECT_FALSE(c.name.empty());
        for (const auto& r : c.rates) {
            EXPECT_TRUE(DateValue::parseText(r.date.bytes())) << r.date.bytes();
            EXPECT_TRUE(parseMoney(r.rate.bytes(), ',')) << r.rate.bytes();
        }
    }
    EXPECT_TRUE(seen.count("840") && seen.count("978"));

    // Every classifier entry sits under an entry one level up whose key begins its own.
    const auto& entries = dirs.okved->entries;
    int sections = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        SCOPED_TRACE(e.kod.bytes());
        ASSERT_TRUE(e.grup.size() == 1 && e.grup[0] >= '1' && e.grup[0] <= '6');
        if (e.grup == "1") {
            ++sections;
            continue;
        }
        EXPECT_TRUE(e.hasOkved);
        EXPECT_TRUE(e.kod.bytes().ends_with(e.okved.bytes()));
        const Cp1251Text parent = Cp1251Text::fromBytes(std::string(1, static_cast<char>(e.grup[0] - 1)));
        bool found = false;
        for (const auto& p : entries)
            found = found || (p.grup == parent && e.kod.starts_with(p.kod) && p.kod != e.kod);
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(sections, 21);
}

TEST(ShippedDirectories, CopiedBesideTheProgram) {
    const Directories dirs = loadDirectories(programFolder());
    EXPECT_EQ(dirs.inspectionsState, DirectoryState::Loaded);
    EXPECT_EQ(dirs.countriesState, DirectoryState::Loaded);
    EXPECT_EQ(dirs.okvedState, DirectoryState::Loaded);
    EXPECT_EQ(dirs.currencyRatesState, DirectoryState::Loaded);
}
