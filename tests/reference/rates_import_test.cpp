#include "core/Text.h"
#include "reference/Directories.h"
#include "reference/RatesImport.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <future>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using kv::test::date;

using namespace kv;
namespace fs = std::filesystem;

namespace {

const fs::path kData = KV_TEST_DATA;

std::string xml1251(const std::string& bodyUtf8) {
    return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>" + Cp1251Text::fromUtf8(bodyUtf8).bytes();
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kv_rates_XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, ec);
        fs::remove_all(path_);
    }
    const fs::path& path() const { return path_; }
    fs::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return path_ / name;
    }

private:
    fs::path path_;
};

const Currency* currency(const CurrencyRates& rates, const std::string& code) {
    for (const auto& c : rates.currencies)
        if (c.code.bytes() == code)
            return &c;
    return nullptr;
}

} // namespace

TEST(RatesImport, DailyFileGivesEveryCurrencyOfTheDay) {
    const BankRatesFile file = readBankRatesFile(kData / "bank_daily.xml");
    EXPECT_EQ(file.kind, BankRatesFile::Kind::Daily);
    ASSERT_EQ(file.currencies.size(), 4u);
    const Currency& usd = file.currencies[0];
    EXPECT_EQ(usd.code, Cp1251Text{"840"});
    EXPECT_EQ(usd.name, Cp1251Text::fromUtf8("Доллар США"));
    ASSERT_EQ(usd.rates.size(), 1u);
    EXPECT_EQ(usd.rates[0].date, Cp1251Text{"31.12.2019"});
    EXPECT_EQ(usd.rates[0].rate, Cp1251Text{"61,9057"});
    EXPECT_EQ(usd.rates[0].quantity, Cp1251Text{"1"});
    EXPECT_EQ(file.currencies[2].rates[0].quantity, Cp1251Text{"100"}); // yen are quoted per hundred
    EXPECT_EQ(file.currencies[3].code, Cp1251Text{"036"});              // a short NumCode is padded
}

TEST(RatesImport, DynamicFileMapsTheBankIdentifier) {
    const BankRatesFile usd = readBankRatesFile(kData / "bank_dynamic_usd.xml");
    EXPECT_EQ(usd.kind, BankRatesFile::Kind::Dynamic);
    ASSERT_EQ(usd.currencies.size(), 1u);
    EXPECT_EQ(usd.currencies[0].code, Cp1251Text{"840"});
    EXPECT_EQ(usd.currencies[0].rates.size(), 4u);
    EXPECT_FALSE(usd.needsCurrencyCode());

    // An identifier outside the bank's list leaves the code to the person; the point
    // decimal some tools write is read as the comma the rate fields take.
    const BankRatesFile unknown = readBankRatesFile(kData / "bank_dynamic_unknown_id.xml");
    EXPECT_EQ(unknown.bankId, "R01999");
    EXPECT_TRUE(unknown.needsCurrencyCode());
    EXPECT_EQ(unknown.currencies[0].rates[0].rate, Cp1251Text{"12,5"});
    EXPECT_EQ(unknown.currencies[0].rates[0].quantity, Cp1251Text{"10"});

    for (const auto& [id, code] : {std::pair{"R01235", "840"},
                                   {"R01239", "978"},
                                   {"R01035", "826"},
                                   {"R01775", "756"},
                                   {"R01820", "392"},
                                   {"R01375", "156"}})
        EXPECT_EQ(currencyCodeOfBankId(id), std::optional<Cp1251Text>(kv::test::asText(code))) << id;
    EXPECT_EQ(currencyCodeOfBankId("R01999"), std::nullopt);
}

TEST(RatesImport, RefusesWhatIsNotARatesFile) {
    const std::string dtd = "<?xml version=\"1.0\"?><!DOCTYPE ValCurs [<!ENTITY x SYSTEM \"/etc/passwd\">]>"
                            "<ValCurs Date=\"31.12.2019\"><Valute><NumCode>840</NumCode><Nominal>1</Nominal>"
                            "<Value>&x;</Value></Valute></ValCurs>";
    const auto valute = [](const std::string& code, const std::string& nominal, const std::string& value) {
        return xml1251("<ValCurs Date=\"31.12.2019\"><Valute><NumCode>" + code + "</NumCode><Nominal>" +
                       nominal + "</Nominal><Name>X</Name><Value>" + value + "</Value></Valute></ValCurs>");
    };
    const std::pair<const char*, std::string> cases[] = {
        {"cut file", bytesOf(kData / "bank_daily_cut.xml")},
        {"entities", dtd},
        {"other root", xml1251("<CurrencyRates/>")},
        {"no rates", xml1251("<ValCurs Date=\"31.12.2019\"/>")},
        {"bad day", xml1251("<ValCurs Date=\"32.12.2019\"><Valute><NumCode>840</NumCode><Nominal>1</Nominal>"
                            "<Value>1</Value></Valute></ValCurs>")},
        {"no value", valute("840", "1", "")},
        {"five decimals", valute("840", "1", "61,90571")},
        {"zero rate", valute("840", "1", "0,0000")},
        {"grouped rate", valute("840", "1", "1 061,9")},
        {"zero nominal", valute("840", "0", "1")},
        {"long nominal", valute("840", "100000000", "1")},
        {"letter code", valute("USD", "1", "1")},
        {"dynamic bad date", xml1251("<ValCurs ID=\"R01235\"><Record Date=\"1.13.2019\"><Nominal>1</Nominal>"
                                     "<Value>1</Value></Record></ValCurs>")},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_THROW(parseBankRates(bytes), RatesImportError) << name;
}

// What would be stored other than the bank wrote it is refused with the line it stands on:
// a year of two digits, a sign, a separator without digits, and a day given two rates.
TEST(RatesImport, RefusesMalformedDatesRatesAndConflictsByLine) {
    const auto records = [](const std::string& second) {
        return xml1251(
            "<ValCurs ID=\"R01235\">\n<Record Date=\"09.01.2019\"><Nominal>1</Nominal><Value>67,5</Value>"
            "</Record>\n" +
            second + "\n</ValCurs>");
    };
    const auto record = [](const std::string& date, const std::string& value) {
        return "<Record Date=\"" + date + "\"><Nominal>1</Nominal><Value>" + value + "</Value></Record>";
    };
    const std::pair<std::string, std::string> cases[] = {
        {record("31.12.19", "62,1"), "Неверная дата в файле курсов: 31.12.19 Record, строка 3"},
        {record("10.01.2019", "+62,1"), "Неверный курс в файле курсов: +62,1 10.01.2019, строка 3"},
        {record("10.01.2019", "62,"), "Неверный курс в файле курсов: 62, 10.01.2019, строка 3"},
        {record("10.01.2019", ",5"), "Неверный курс в файле курсов: ,5 10.01.2019, строка 3"},
        {record("09.01.2019", "68,1"),
         "Два разных курса на одну дату в файле курсов: R01235 09.01.2019, строки 2 и 3"},
    };
    for (const auto& [second, message] : cases) {
        try {
            parseBankRates(records(second));
            ADD_FAILURE() << second << " taken";
        } catch (const RatesImportError& e) {
            EXPECT_EQ(e.message().utf8(), message);
        }
    }
    // The names of a file whose declared encoding is not its own do not read as Russian.
    const std::string names =
        "<ValCurs Date=\"31.12.2019\"><Valute><NumCode>840</NumCode><Nominal>1</Nominal>"
        "<Name>Доллар США</Name><Value>61,9</Value></Valute><Valute><NumCode>978"
        "</NumCode><Nominal>1</Nominal><Name>Евро</Name><Value>69,3</Value></Valute>"
        "</ValCurs>";
    const std::string wrongDeclarations[] = {
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>" + names,
        "<?xml version=\"1.0\" encoding=\"koi8-r\"?>" + Cp1251Text::fromUtf8(names).bytes(),
    };
    for (const std::string& file : wrongDeclarations) {
        try {
            parseBankRates(file);
            ADD_FAILURE() << file << " taken";
        } catch (const RatesImportError& e) {
            EXPECT_TRUE(
                e.message().utf8().starts_with("Названия валют в файле не читаются как русский текст"))
                << e.message().utf8();
        }
    }
    EXPECT_EQ(parseBankRates("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + names).currencies[1].name,
              Cp1251Text::fromUtf8("Евро"));

    // The same rate twice for a day is the same rate: taken once.
    EXPECT_EQ(parseBankRates(records(record("09.01.2019", "67.5"))).currencies[0].rates.size(), 1u);
}

TEST(RatesImport, MergeReplacesADateAndKeepsDateOrder) {
    auto rates = CurrencyRates::fromXml(xml1251("<CurrencyRates><Currency Code=\"008\" Name=\"Лек\"/>"
                                                "<Currency Code=\"840\" Name=\"Доллар США\">"
                                                "<Rate Date=\"31.12.2019\" Rate=\"1\" Quantity=\"1\"/>"
                                                "<Rate Date=\"01.01.2019\" Rate=\"2\" Quantity=\"1\"/>"
                                                "</Currency></CurrencyRates>"));
    ASSERT_TRUE(rates);
    const RatesImportSummary summary =
        mergeBankRates(*rates, {readBankRatesFile(kData / "bank_dynamic_usd.xml"),
                                readBankRatesFile(kData / "bank_daily.xml")});

    EXPECT_EQ(summary.rates, 8);
    EXPECT_EQ(summary.currencies, 4);
    EXPECT_EQ(summary.first, date(2019, 1, 9));
    EXPECT_EQ(summary.last, date(2019, 12, 31));
    EXPECT_EQ(ratesImportSummaryText(summary),
              Cp1251Text::fromUtf8("Загружено курсов: 8, валют: 4, с 09.01.2019 по 31.12.2019"));

    const Currency* usd = currency(*rates, "840");
    ASSERT_NE(usd, nullptr);
    EXPECT_EQ(usd->name, Cp1251Text::fromUtf8("Доллар США"));
    std::vector<std::string> dates;
    for (const auto& r : usd->rates)
        dates.push_back((r.date + "=" + r.rate).bytes());
    EXPECT_EQ(dates, (std::vector<std::string>{"01.01.2019=2", "09.01.2019=67,0795", "10.01.2019=66,9909",
                                               "11.01.2019=66,8497", "31.12.2019=61,9057"}));
    // A currency the directory did not list is appended with the bank's name.
    ASSERT_NE(currency(*rates, "392"), nullptr);
    EXPECT_EQ(currency(*rates, "392")->name, Cp1251Text::fromUtf8("Японских иен"));
    EXPECT_EQ(rates->currencies.front().code, Cp1251Text{"008"});
}

TEST(RatesImport, WrittenDirectoryIsReadBackAndUsedByTheLookup) {
    TempFolder folder;
    const fs::path target = folder.path() / kCurrencyRatesFile; // missing: starts empty
    const RatesImportResult result =
        importBankRates(target, {readBankRatesFile(kData / "bank_dynamic_usd.xml")});
    EXPECT_EQ(result.summary.rates, 4);

    const CurrencyRatesFile read = loadCurrencyRatesFile(target);
    ASSERT_EQ(read.state, DirectoryState::Loaded);
    const auto weekend = findCurrencyRate(&*read.rates, Cp1251Text{"840"}, date(2019, 1, 13));
    ASSERT_TRUE(weekend);
    EXPECT_EQ(weekend->date, Cp1251Text{"11.01.2019"}); // the last earlier rate says its own day
    EXPECT_EQ(weekend->rate, Cp1251Text{"66,8497"});
    EXPECT_EQ(findCurrencyRate(&*read.rates, Cp1251Text{"840"}, date(2019, 1, 8)), std::nullopt);

    // Names that need escaping survive the round trip.
    CurrencyRates odd{{Currency{Cp1251Text{"999"},
                                Cp1251Text{"A & B <\"C\">"},
                                {{Cp1251Text{"01.01.2019"}, Cp1251Text{"1,5"}, Cp1251Text{"1"}}}}}};
    const auto back = CurrencyRates::fromXml(currencyRatesXml(odd));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->currencies.at(0).name, Cp1251Text{"A & B <\"C\">"});
}

TEST(RatesImport, NothingIsWrittenWhenTheImportFails) {
    TempFolder folder;
    const std::string damaged = xml1251("<CurrencyRates><Currency Code=\"840\">");
    const fs::path target = folder.write(kCurrencyRatesFile, damaged);
    EXPECT_THROW(importBankRates(target, {readBankRatesFile(kData / "bank_daily.xml")}), RatesImportError);
    EXPECT_EQ(bytesOf(target), damaged);

    const std::string good = xml1251("<CurrencyRates/>");
    folder.write(kCurrencyRatesFile, good);
    EXPECT_THROW(importBankRates(target, {readBankRatesFile(kData / "bank_dynamic_unknown_id.xml")}),
                 RatesImportError);
    EXPECT_EQ(bytesOf(target), good);

    if (::geteuid() != 0) { // root writes anywhere
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(importBankRates(target, {readBankRatesFile(kData / "bank_daily.xml")}),
                     RatesImportError);
        fs::permissions(folder.path(), fs::perms::owner_all);
        EXPECT_EQ(bytesOf(target), good);
    }
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename(), kCurrencyRatesFile) << "left behind: " << entry.path();
}

TEST(RatesImport, TheUsersCopyStartsFromTheProgramsFileAndIsReadFirst) {
    TempFolder program;
    TempFolder user;
    const fs::path own = program.path() / kCurrencyRatesFile;
    const fs::path copy = user.path() / kCurrencyRatesFile;
    program.write(kCurrencyRatesFile,
                  xml1251("<CurrencyRates><Currency Code=\"008\" Name=\"Лек\"/></CurrencyRates>"));

    // The import writes the user's copy, which is read first, seeded from the program's file.
    const RatesImportResult result =
        importBankRates(copy, {readBankRatesFile(kData / "bank_daily.xml")}, own);
    EXPECT_NE(currency(result.rates, "008"), nullptr);
    EXPECT_EQ(findDataFile({user.path(), program.path()}, kCurrencyRatesFile), copy);
}

// Two imports into one directory at once: the first holds the file from its read to its
// write; the second waits for it and merges into what it wrote, so neither file's rates
// are lost, whether the directory was there before or not.
TEST(RatesImport, ImportsAtOnceKeepEveryFilesRates) {
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "directory there before" : "first import");
        TempFolder folder;
        const fs::path target = folder.path() / kCurrencyRatesFile;
        if (existing)
            folder.write(kCurrencyRatesFile,
                         xml1251("<CurrencyRates><Currency Code=\"008\" Name=\"Лек\"/></CurrencyRates>"));
        std::promise<void> firstHolds;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        ImportHooks holdFirst;
        holdFirst.locked = [&] {
            firstHolds.set_value();
            released.wait();
        };
        std::thread first([&] {
            importBankRates(target, {readBankRatesFile(kData / "bank_dynamic_usd.xml")}, {}, holdFirst);
        });
        firstHolds.get_future().wait();

        // The second either waits for the first, as it must, or gets through at once.
        std::promise<void> secondWaitsOrEnds;
        std::atomic_flag told;
        const auto tell = [&] {
            if (!told.test_and_set())
                secondWaitsOrEnds.set_value();
        };
        ImportHooks watchSecond;
        watchSecond.waiting = tell;
        std::thread second([&] {
            importBankRates(target, {readBankRatesFile(kData / "bank_daily.xml")}, {}, watchSecond);
            tell();
        });
        secondWaitsOrEnds.get_future().wait();
        release.set_value();
        first.join();
        second.join();

        const CurrencyRatesFile read = loadCurrencyRatesFile(target);
        ASSERT_EQ(read.state, DirectoryState::Loaded);
        ASSERT_NE(currency(*read.rates, "840"), nullptr);
        EXPECT_EQ(currency(*read.rates, "840")->rates.size(), 4u); // the second file's one day is among them
        EXPECT_NE(currency(*read.rates, "392"), nullptr);
        EXPECT_EQ(currency(*read.rates, "008") != nullptr, existing);
    }
}
