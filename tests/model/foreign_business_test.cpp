#include "ModelTestSupport.h"
#include "model/ForeignBusiness.h"
#include "support/DocumentBytes.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using test::amount;
using test::items;
using test::rub;

TEST(CurrencyIncome, RublesAreDerivedAtTheRateOfTheirDate) {
    struct Case {
        std::int32_t units;
        const char* rate;
        const char* amount;
        const char* rubles;
    };
    const std::vector<Case> cases = {
        {100, "2.5", "1000", "25"},     // rate quoted per 100 units
        {1, "64.7362", "10", "647.36"}, // rounded to kopecks
        {0, "64.7362", "10", "0"},      // no units: no rubles, whatever the rate
        {1, "1.005", "1", "1.01"},      // an exact half kopeck rounds up
        {1, "64.73", "2.5", "161.83"},  // 161.825
        {1, "75.0001", "1000000000", "75000100000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        ForeignIncome f;
        f.incomeDateUnits = c.units;
        f.incomeDateRate = amount(c.rate);
        f.taxDateUnits = c.units;
        f.taxDateRate = amount(c.rate);
        f.incomeInRubles = amount("123"); // replaced even when the units are 0
        f.setIncomeInCurrency(amount(c.amount));
        f.setTaxInCurrency(amount(c.amount));
        EXPECT_EQ(f.incomeInCurrency, amount(c.amount));
        EXPECT_EQ(f.incomeInRubles, amount(c.rubles));
        EXPECT_EQ(f.taxInCurrency, amount(c.amount));
        EXPECT_EQ(f.taxInRubles, amount(c.rubles));
    }
}

// Roubles filed with the record (by another program, at its own rounding) stay while the
// rate, units and amount they derive from are entered unchanged; any of the three changed
// derives them again.
TEST(CurrencyIncome, EnteredAmountsDeriveRoublesOnlyWhenChanged) {
    struct Case {
        const char* what;
        const char* rate;
        std::int32_t units;
        const char* amount;
        const char* rubles;
    };
    const std::vector<Case> cases = {
        {"unchanged", "64.7362", 1, "10", "647.37"}, // as filed, not 647.36
        {"rate", "64.7363", 1, "10", "647.36"},
        {"units", "64.7362", 10, "10", "64.74"},
        {"amount", "64.7362", 1, "20", "1294.72"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForeignIncome f;
        f.incomeDateRate = f.taxDateRate = amount("64.7362");
        f.incomeDateUnits = f.taxDateUnits = 1;
        f.incomeInCurrency = f.taxInCurrency = amount("10");
        f.incomeInRubles = f.taxInRubles = amount("647.37");
        f.enterIncome(amount(c.rate), c.units, amount(c.amount));
        f.enterTax(amount(c.rate), c.units, amount(c.amount));
        EXPECT_EQ(f.incomeDateRate, amount(c.rate));
        EXPECT_EQ(f.incomeDateUnits, c.units);
        EXPECT_EQ(f.incomeInCurrency, amount(c.amount));
        EXPECT_EQ(f.incomeInRubles, amount(c.rubles));
        EXPECT_EQ(f.taxDateRate, amount(c.rate));
        EXPECT_EQ(f.taxDateUnits, c.units);
        EXPECT_EQ(f.taxInCurrency, amount(c.amount));
        EXPECT_EQ(f.taxInRubles, amount(c.rubles));
    }
}

// Every amount from 0.01 to 20 000.00 at rates quoted per 1, 10 and 100 units
// against the exact quotient: each half kopeck rounds up.
TEST(CurrencyIncome, EveryHalfKopeckOfTheRoublesRoundsUp) {
    struct Rate {
        std::int32_t units;
        std::int64_t raw;
    } rates[] = {{1, 647300}, {1, 10050}, {10, 124505}, {100, 25000}, {100, 4237150}};
    for (const Rate& r : rates) {
        ForeignIncome f;
        f.incomeDateUnits = r.units;
        f.incomeDateRate = Money::fromRaw(r.raw);
        int halves = 0;
        for (std::int64_t k = 1; k <= 2'000'000; ++k) {
            f.setIncomeInCurrency(Money::fromRaw(k * 100));
            // k kopecks × raw / (units × 10000), in kopecks, half up.
            const std::int64_t n = k * r.raw;
            const std::int64_t d = std::int64_t{r.units} * 10000;
            halves += 2 * (n % d) == d;
            ASSERT_EQ(f.incomeInRubles, Money::fromRaw((2 * n + d) / (2 * d) * 100)) << k << " at " << r.raw;
        }
        EXPECT_GT(halves, 0) << r.raw;
    }
}

TEST(CurrencyIncome, IncomeAndTaxUseTheirOwnDates) {
    ForeignIncome f;
    f.incomeDateUnits = 1;
    f.incomeDateRate = amount("60");
    f.taxDateUnits = 10;
    f.taxDateRate = amount("700");
    f.setIncomeInCurrency(amount("2"));
    f.setTaxInCurrency(amount("2"));
    EXPECT_EQ(f.incomeInRubles, amount("120"));
    EXPECT_EQ(f.taxInRubles, amount("140"));
}

// The expense stream exists only while the expenses are documented; switching
// to the norm drops the documented amounts from the file.
TEST(BusinessIncome, ExpenseStreamOnlyWithDocumentedExpenses) {
    BusinessActivity b;
    b.activityKind = "1";
    b.incomeAmount = amount("900");
    b.totalExpenses = amount("100");
    b.materialExpenses = amount("10");
    b.depreciation = amount("20");
    b.labourExpenses = amount("30");
    b.otherExpenses = amount("40");
    b.standardExpenses = amount("5");
    b.hasDocumentedExpenses = 0;

    const std::string document = test::writeDocument([&](DocumentStorage& st) { b.saveTo(st, 5); });
    EXPECT_EQ(document.find("@BusinessExpense"), std::string::npos);
    EXPECT_EQ(static_cast<std::int32_t>(document.size() - DocumentStorage::kHeaderSize), b.storedSize());

    test::OpenedDocument opened(document);
    BusinessActivity loaded;
    loaded.loadFrom(opened.storage(), 5);
    BusinessActivity expected = b;
    expected.totalExpenses = expected.materialExpenses = expected.depreciation = expected.labourExpenses =
        expected.otherExpenses = Money();
    EXPECT_TRUE(loaded == expected);

    loaded.resetBusiness();
    EXPECT_TRUE(loaded == BusinessActivity());
    EXPECT_EQ(loaded.okvedCode, Cp1251Text{".."});
    EXPECT_EQ(loaded.hasDocumentedExpenses, 1);
}

TEST(BusinessIncome, DocumentedExpensesMissingStreamFails) {
    std::string document = test::writeDocument([](DocumentStorage&) {});
    document +=
        items({"@BusinessIncome000", "1", "..", "100", "1", "@BusinessExpense001", "1", "2", "3", "4", "5"});
    test::OpenedDocument opened(document);
    BusinessActivity b;
    EXPECT_THROW(b.loadFrom(opened.storage(), 0), StreamOpenError);
}

} // namespace
} // namespace kv
