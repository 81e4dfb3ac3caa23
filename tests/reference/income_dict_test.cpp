#include "core/Text.h"
#include "reference/IncomeDict.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using kv::test::asText;
using kv::test::rub;

using namespace kv;

namespace {

std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::vector<std::string> codesOf(const std::vector<const IncomeEntry*>& rows) {
    std::vector<std::string> codes;
    for (const auto* r : rows)
        codes.push_back(r->code.bytes());
    return codes;
}

bool contains(const std::vector<std::string>& codes, const std::string& code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

const IncomeDict& dict() {
    return IncomeDict::builtIn();
}

} // namespace

TEST(IncomeDict, BuiltInTextIsWindows1251XmlWithEveryIncomeInOrder) {
    const std::string_view text = IncomeDict::builtInText();
    EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"));
    EXPECT_NE(text.find(Cp1251Text::fromUtf8("Не предоставлять вычет").bytes()), std::string_view::npos);

    const auto expected = split(
        "0000 1000 1001 1002 1010 1011 1012 1110 1120 1200 1201 1202 1203 1211 1212 1213 1215 1219 1220 1240 "
        "1300 1301 1400 1510 1511 1512 1520 1521 1530 1536 1531 1532 1535 1533 1537 9537 1538 9538 1544 1549 "
        "1545 1546 1548 1547 1551 9551 1552 9552 5002 5005 5009 5011 5013 5014 5017 5020 5024 5026 5028 5029 "
        "1540 1542 1550 1560 1570 2000 2001 2002 2003 2010 2012 2013 2014 2201 2202 2203 2204 2205 2206 2207 "
        "2208 2209 2210 2220 2300 2301 2400 2510 2520 2530 2610 2611 2620 2630 2640 2641 2710 2720 2730 2740 "
        "2750 2760 2761 2762 2770 2780 2790 2799 2800 2900 3010 3011 3012 3020 3022 3023 4800 4900 4910 4920 "
        "4924 4926 4931");
    std::vector<std::string> codes;
    for (const auto& e : dict().incomes)
        codes.push_back(e.code.bytes());
    EXPECT_EQ(codes, expected);
    for (const auto& e : dict().incomes)
        EXPECT_FALSE(e.name.empty()) << e.code.bytes();
}

TEST(IncomeDict, RatesAndFlags) {
    const std::set<std::string> nrez = {"2000", "2001", "2002", "2003", "2010", "2012",
                                        "2013", "2014", "2300", "2301", "2530"};
    const std::map<std::string, std::string> special = {
        {"0000", "0"},  {"1000", "99"}, {"1001", "99"}, {"1002", "99"}, {"1010", "14"},
        {"1012", "14"}, {"1110", "9"},  {"1120", "9"},  {"2610", "35"}, {"2620", "35"},
        {"2740", "35"}, {"3020", "35"}, {"3022", "35"}, {"3023", "35"}};
    const std::set<std::string> sale = {"1510", "1511", "1512", "1520", "1521", "1530", "1536",
                                        "1531", "1532", "1535", "1533", "1537", "9537", "1538",
                                        "9538", "1544", "1549", "1545", "1546", "1548", "1547",
                                        "1551", "9551", "1552", "9552"};
    for (const auto& e : dict().incomes) {
        SCOPED_TRACE(e.code.bytes());
        EXPECT_EQ(e.nonResident13, nrez.count(e.code.bytes()) == 1);
        const auto it = special.find(e.code.bytes());
        EXPECT_EQ(e.stav.bytes(), it == special.end() ? "13" : it->second);
        EXPECT_EQ(e.saleDate, sale.count(e.code.bytes()) == 1 || e.code.starts_with("50"));
    }
}

TEST(IncomeDict, DeductionListsEndWithNoDeductionAndHaveReadableLimits) {
    int withDeductions = 0;
    for (const auto& e : dict().incomes) {
        SCOPED_TRACE(e.code.bytes());
        for (const auto& d : e.deductions) {
            EXPECT_TRUE(parseMoney(d.maxSumText.bytes(), ',').has_value())
                << d.code.bytes() << " " << d.maxSumText.bytes();
            EXPECT_FALSE(d.name.empty());
        }
        if (e.deductions.empty())
            continue;
        ++withDeductions;
        const DeductionEntry& last = e.deductions.back();
        if (e.code == "0000") {
            EXPECT_NE(last.code, Cp1251Text{"0"});
            EXPECT_EQ(e.deductions.size(), 2u + 24u + 2u + 7u); // 104, 105; 126..149; 311, 312; 320..328
            EXPECT_EQ(e.findDeduction(Cp1251Text{"311"})->maxSum, rub(2000000));
            EXPECT_EQ(e.findDeduction(Cp1251Text{"312"})->maxSum, rub(99999999, 99));
            continue;
        }
        EXPECT_EQ(last.code, Cp1251Text{"0"});
        EXPECT_FALSE(last.visible);
        EXPECT_EQ(last.maxSum, e.code == "2762" ? rub(9999999, 99) : Money{});
    }
    EXPECT_EQ(withDeductions, 66);
}

TEST(IncomeDict, SelectedDeductionAttributes) {
    struct Case {
        const char* income;
        const char* deduction;
        Money maxSum;
        bool enabled, equivalent;
        int percent;
    };
    const Case cases[] = {
        {"0000", "104", rub(6000), true, false, 0},
        {"0000", "130", rub(999999, 99), true, false, 0},
        {"1211", "510", rub(12000), true, true, 0},
        {"1510", "901", rub(1000000), false, true, 0},
        {"1510", "903", rub(999999999999, 99), true, false, 0},
        {"2201", "405", {}, false, false, 20},
        {"2202", "405", {}, false, false, 30},
        {"2203", "405", {}, false, false, 40},
        {"2206", "405", {}, false, false, 25},
        {"2209", "405", {}, false, false, 30},
        {"2720", "501", rub(4000), true, true, 0},
        {"3011", "511", rub(4000), true, true, 0},
        {"2790", "507", rub(10000), true, true, 0},
        {"5029", "829", {}, true, false, 0},
        {"1552", "232", {}, true, false, 0},
        {"1542", "907", rub(250000), true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.income) + "/" + c.deduction);
        const IncomeEntry* income = dict().findIncome(asText(c.income));
        ASSERT_NE(income, nullptr);
        const DeductionEntry* d = income->findDeduction(asText(c.deduction));
        ASSERT_NE(d, nullptr);
        const DeductionChoice choice = chooseDeduction(*d);
        EXPECT_EQ(choice.code, asText(c.deduction));
        EXPECT_EQ(choice.maxSum, c.maxSum);
        EXPECT_EQ(choice.enabled, c.enabled);
        EXPECT_EQ(choice.equivalent, c.equivalent);
        EXPECT_TRUE(choice.visible);
        EXPECT_EQ(choice.percent, c.percent);
    }
    EXPECT_EQ(dict().findIncome(Cp1251Text{"9999"}), nullptr);
    EXPECT_EQ(dict().findIncome(Cp1251Text{"2202"})->findDeduction(Cp1251Text{"999"}), nullptr);
}

TEST(IncomePicker, ListsByRateSelectorAndModes) {
    const auto partnership = split("5002 5005 5009 5011 5013 5014 5017 5020 5024 5026 5028 5029");
    struct Case {
        const char* selector;
        bool partnership, nonResident;
        std::size_t rows;
        std::vector<std::string> exactly; // when not empty, the whole list
        std::vector<std::string> included, excluded;
    };
    const Case cases[] = {
        {"",
         false,
         false,
         110,
         {},
         split("1000 1001 1002 1010 1012 4924 4926 4931 1110"),
         split("0000 5002 5029")},
        // The partnership mode is not consulted without a selector.
        {"", true, false, 110, {}, split("1000 4931"), split("0000 5002")},
        {"13",
         false,
         false,
         94,
         {},
         split("1011 2000 2202 4920"),
         split("0000 4924 4926 4931 5002 2610 1010")},
        {"100", false, false, 99, {}, split("2610 2740 3023 2000"), split("2620 4924 5002 1010 1110")},
        {"13", true, false, 12, partnership, {}, {}},
        {"100", true, false, 12, partnership, {}, {}},
        {"13", false, true, 11, split("2000 2001 2002 2003 2010 2012 2013 2014 2300 2301 2530"), {}, {}},
        {"35", false, false, 6, split("2610 2620 2740 3020 3022 3023"), {}, {}},
        {"35", false, true, 0, {}, {}, {}},
        {"9", false, false, 2, split("1110 1120"), {}, {}},
        {"14", false, false, 2, split("1010 1012"), {}, {}},
        {"99", false, false, 3, split("1000 1001 1002"), {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("selector '") + c.selector + "' partnership " +
                     std::to_string(c.partnership) + " non-resident " + std::to_string(c.nonResident));
        const auto codes =
            codesOf(incomePickerRows(dict(), asText(c.selector), c.partnership, c.nonResident));
        EXPECT_EQ(codes.size(), c.rows);
        if (!c.exactly.empty()) {
            EXPECT_EQ(codes, c.exactly);
        }
        for (const auto& code : c.included)
            EXPECT_TRUE(contains(codes, code)) << code;
        for (const auto& code : c.excluded)
            EXPECT_FALSE(contains(codes, code)) << code;
    }
}

TEST(IncomePicker, PreselectionAndChoice) {
    const auto rows = incomePickerRows(dict(), Cp1251Text{"13"}, false, false);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[*preselectedRow(rows, Cp1251Text{"2202"})]->code, Cp1251Text{"2202"});
    EXPECT_EQ(preselectedRow(rows, Cp1251Text{"2610"}), std::nullopt); // not at 13%: nothing chosen
    EXPECT_EQ(preselectedRow(rows, Cp1251Text{""}), std::nullopt);     // a new income: nothing chosen
    EXPECT_EQ(preselectedRow(incomePickerRows(dict(), Cp1251Text{"35"}, false, true), Cp1251Text{"2610"}),
              std::nullopt);

    struct Case {
        const char* selector;
        const char* code;
        int rate;
        bool hasDeductions;
    };
    const Case cases[] = {
        {"13", "2202", 13, true}, {"13", "2000", 13, false},  {"100", "2610", 100, false},
        {"35", "2740", 35, true}, {"", "1010", 14, false},    {"", "1000", 99, false},
        {"", "2720", 13, true},   {" 13 ", "2720", 13, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + "/" + c.code);
        const IncomeChoice choice =
            chooseIncome(dict(), *dict().findIncome(asText(c.code)), asText(c.selector));
        EXPECT_EQ(choice.code, asText(c.code));
        EXPECT_EQ(choice.name, dict().findIncome(asText(c.code))->name);
        EXPECT_EQ(choice.rate, c.rate);
        EXPECT_EQ(choice.hasDeductions, c.hasDeductions);
    }
}

TEST(DeductionPicker, ListsAndPreselection) {
    auto codes = [](const std::vector<const DeductionEntry*>& rows) {
        std::vector<std::string> out;
        for (const auto* r : rows)
            out.push_back(r->code.bytes());
        return out;
    };
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"2202"}, true)), split("404 405 0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"2202"}, false)), split("0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"1530"}, false)), split("201 218 0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"2720"}, false)), split("501 0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"5013"}, false)), split("813 0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"1510"}, false)), split("0"));
    EXPECT_EQ(codes(deductionPickerRows(dict(), Cp1251Text{"1510"}, true)), split("901 903 0"));
    EXPECT_TRUE(deductionPickerRows(dict(), Cp1251Text{"0000"}, false).empty());
    EXPECT_TRUE(deductionPickerRows(dict(), Cp1251Text{"2000"}, true).empty());
    EXPECT_TRUE(deductionPickerRows(dict(), Cp1251Text{"7777"}, true).empty());

    const auto rows = deductionPickerRows(dict(), Cp1251Text{"0000"}, true);
    EXPECT_EQ(rows[*preselectedRow(rows, Cp1251Text{"311"})]->code, Cp1251Text{"311"});
    EXPECT_EQ(preselectedRow(rows, Cp1251Text{"999"}), std::nullopt);
    EXPECT_EQ(preselectedRow(deductionPickerRows(dict(), Cp1251Text{"2000"}, true), Cp1251Text{"0"}),
              std::nullopt);
}

TEST(DeductionAmount, DerivedFromTheChosenDeduction) {
    auto choice = [](const char* income, const char* code) {
        return chooseDeduction(*dict().findIncome(asText(income))->findDeduction(asText(code)));
    };
    const std::optional<Money> none;
    struct Case {
        const char* income;
        const char* deduction;
        std::optional<Money> incomeAmount, entered, expected;
    };
    const Case cases[] = {
        {"2202", "405", rub(1000), none, rub(300)},           // 30%, read-only
        {"2202", "405", rub(1234, 56), rub(5), rub(370, 37)}, // 370.368 -> 370.37, typed amount ignored
        {"2206", "405", rub(0, 10), none, rub(0, 3)},         // 0.025 rounds half up
        {"2203", "405", none, none, Money{}},                 // no income: 0
        {"2720", "501", rub(3000), none, rub(3000)},          // equals the income...
        {"2720", "501", rub(4000, 1), none, rub(4000)},       // ...up to 4000
        {"2720", "501", none, none, Money{}},
        {"1510", "901", rub(2500000), none, rub(1000000)},
        {"2010", "403", rub(50000), none, none},                // typed by the user, still empty
        {"2010", "403", rub(50000), rub(70000), rub(70000)},    // no limit
        {"1512", "902", rub(900000), rub(300000), rub(250000)}, // lowered to the limit
        {"1512", "902", rub(900000), rub(200000), rub(200000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.income) + "/" + c.deduction);
        EXPECT_EQ(derivedDeductionAmount(choice(c.income, c.deduction), c.incomeAmount, c.entered),
                  c.expected);
    }
    EXPECT_FALSE(choice("2202", "405").enabled);
    EXPECT_FALSE(choice("2202", "0").visible);
    EXPECT_EQ(cappedDeductionAmount(choice("1512", "902"), rub(250001)), rub(250000));
    EXPECT_EQ(cappedDeductionAmount(choice("2010", "403"), rub(250001)), rub(250001));
}

// The percentage of every income from 0.01 to 10 000.00 against the exact
// product: each half kopeck (25% of 2 kopecks, 30% of 5) rounds up.
TEST(DeductionAmount, EveryHalfKopeckOfAPercentageRoundsUp) {
    struct Norm {
        const char* income;
        std::int64_t percent;
    } norms[] = {{"2201", 20}, {"2206", 25}, {"2202", 30}, {"2203", 40}};
    for (const Norm& n : norms) {
        const DeductionChoice c =
            chooseDeduction(*dict().findIncome(asText(n.income))->findDeduction(Cp1251Text{"405"}));
        ASSERT_EQ(c.percent, n.percent);
        for (std::int64_t k = 1; k <= 1'000'000; ++k) {
            const std::optional<Money> amount =
                derivedDeductionAmount(c, Money::fromRaw(k * 100), std::nullopt);
            ASSERT_EQ(amount, Money::fromRaw((2 * k * n.percent + 100) / 200 * 100))
                << k << " at " << n.percent;
        }
    }
    EXPECT_EQ(derivedDeductionAmount(
                  chooseDeduction(*dict().findIncome(Cp1251Text{"2206"})->findDeduction(Cp1251Text{"405"})),
                  rub(131072, 2), std::nullopt),
              rub(32768, 1));
}

TEST(IncomeDict, ParsesAnyDictionaryTextAsWritten) {
    // Booleans are case-sensitive and a blank Stav is no percentage.
    const std::string xml =
        Cp1251Text::fromUtf8(
            "<?xml version=\"1.0\" encoding=\"windows-1251\"?><IncomeDict>"
            "<Income Stav=\"13\" Code=\"1\" Name=\"Доход\" NRez13=\"true\">"
            "<Deduction Code=\"7\" Name=\"Вычет\" Stav=\" \" Visible=\"True\" Enabled=\"TRUE\" "
            "Equivalent=\"True\""
            " MaxSum=\"12,5\"/></Income><Income Code=\"1\" Name=\"Второй\"/></IncomeDict>")
            .bytes();
    const IncomeDict d = IncomeDict::parse(xml);
    ASSERT_EQ(d.incomes.size(), 2u);
    const IncomeEntry& e = d.incomes[0];
    EXPECT_EQ(e.name, Cp1251Text::fromUtf8("Доход"));
    EXPECT_FALSE(e.nonResident13);
    EXPECT_FALSE(e.saleDate);
    ASSERT_EQ(e.deductions.size(), 1u);
    EXPECT_TRUE(e.deductions[0].visible);
    EXPECT_FALSE(e.deductions[0].enabled);
    EXPECT_TRUE(e.deductions[0].equivalent);
    EXPECT_EQ(e.deductions[0].percent(), 0);
    EXPECT_EQ(e.deductions[0].maxSum, rub(12, 50));
    EXPECT_EQ(d.findIncome(Cp1251Text{"1"}), &d.incomes[0]); // the first of equal codes
    EXPECT_THROW(IncomeDict::parse("<IncomeDict>"), std::runtime_error);
}
