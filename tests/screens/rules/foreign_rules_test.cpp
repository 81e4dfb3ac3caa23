#include "checks/ScriptedCheckDialog.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/rules/ForeignRules.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <functional>

using kv::test::date;

using namespace kv;

namespace {

// A source that passes every check.
ForeignIncome completeSource() {
    ForeignIncome s;
    s.sourceName = "Bank";
    s.countryCode = "840";
    s.currencyCode = "840";
    s.incomeDateRate = Money::fromRaw(619057);
    s.incomeDateUnits = 1;
    s.incomeCode = 1010;
    s.incomeRate = 14;
    return s;
}

struct Fixture {
    FixedClock clock{date(2020, 3, 1)};
    Declaration d{clock};
    Fixture() { d.setIncomeFlags(Declaration::kForeignIncomes); }
};

} // namespace

TEST(ForeignRules, CheckDataMessagesInOrder) {
    struct Row {
        const char* name;
        std::function<void(ForeignIncome&)> fault;
        const char* message; // "" for none
    };
    const Cp1251Text cfc{"AB 12345"};
    const Row rows[] = {
        {"complete", [](ForeignIncome&) {}, ""},
        {"no currency", [](ForeignIncome& s) { s.currencyCode.clear(); },
         "По данному источнику выплаты не указан код валюты"},
        {"no units", [](ForeignIncome& s) { s.incomeDateUnits = 0; },
         "По данному источнику выплаты не указан курс валюты"},
        {"no rate", [](ForeignIncome& s) { s.incomeDateRate = Money{}; },
         "По данному источнику выплаты не указан курс валюты"},
        {"currency before rate", [](ForeignIncome& s) { s.currencyCode.clear(), s.incomeDateUnits = 0; },
         "По данному источнику выплаты не указан код валюты"},
        {"no income code", [](ForeignIncome& s) { s.incomeCode = 0; },
         "По данному источнику выплаты не указан код дохода"},
        {"cfc without number", [](ForeignIncome& s) { s.incomeCode = 1000, s.cfcProfitMethod = 1; },
         "По данному источнику необходимо указать номер КИК"},
        {"cfc number without space", [](ForeignIncome& s) { s.incomeCode = 1000, s.cfcNumber = "AB12345"; },
         "По данному источнику номер КИК указан некорректно (состоит из двух букв и пяти цифр)"},
        {"cfc without method", [&](ForeignIncome& s) { s.incomeCode = 1000, s.cfcNumber = cfc; },
         "По данному источнику не указан порядок определения прибыли КИК"},
        {"cfc complete",
         [&](ForeignIncome& s) { s.incomeCode = 1000, s.cfcNumber = cfc, s.cfcProfitMethod = 2; }, ""},
        {"cfc number on another code", [](ForeignIncome& s) { s.incomeCode = 1012; }, ""},
        {"deduction without amount", [](ForeignIncome& s) { s.incomeCode = 2010, s.deductionCode = 403; },
         "По данному источнику выплаты не указана сумма вычета"},
        {"deduction with amount",
         [](ForeignIncome& s) {
             s.incomeCode = 2010, s.deductionCode = 403, s.deductionAmount = Money::fromRoubles(1);
         },
         ""},
        {"securities deduction may be zero",
         [](ForeignIncome& s) { s.incomeCode = 1530, s.deductionCode = 201; }, ""},
    };
    for (const Row& row : rows) {
        Fixture f;
        f.d.foreignIncomes.add(completeSource());
        ForeignIncome faulty = completeSource();
        row.fault(faulty);
        f.d.foreignIncomes.add(faulty);
        ScriptedCheckDialog dialog({CheckAnswer::Fix});
        const std::uint16_t code = checkForeignIncomes(f.d, dialog);
        if (*row.message == '\0') {
            EXPECT_EQ(code, 0) << row.name;
            EXPECT_TRUE(dialog.asked().empty()) << row.name;
            continue;
        }
        EXPECT_EQ(code, 2) << row.name; // the second source is the faulty one
        ASSERT_EQ(dialog.asked().size(), 1u) << row.name;
        EXPECT_EQ(dialog.asked()[0].message, Cp1251Text::fromUtf8(row.message)) << row.name;
        EXPECT_EQ(dialog.asked()[0].title(), Cp1251Text::fromUtf8("Проверка: Доходы в валюте")) << row.name;
    }
}

TEST(ForeignRules, AnyAnswerEndsTheCheck) {
    for (const CheckAnswer answer : {CheckAnswer::Fix, CheckAnswer::Skip, CheckAnswer::SkipAll}) {
        Fixture f;
        ForeignIncome first = completeSource();
        first.currencyCode.clear();
        ForeignIncome third = completeSource();
        third.incomeCode = 0;
        f.d.foreignIncomes.add(completeSource());
        f.d.foreignIncomes.add(first);
        f.d.foreignIncomes.add(third);
        ScriptedCheckDialog dialog({answer, answer});
        EXPECT_EQ(checkForeignIncomes(f.d, dialog), answer == CheckAnswer::Fix ? 2 : 0);
        EXPECT_EQ(dialog.asked().size(), 1u) << "one dialog whatever the answer";
    }
}

TEST(ForeignRules, SourceDialogNeedsACountry) {
    ScriptedCheckDialog fix({CheckAnswer::Fix});
    EXPECT_FALSE(checkForeignSourceCountry(Cp1251Text{"  "}, fix));
    ASSERT_EQ(fix.asked().size(), 1u);
    EXPECT_EQ(fix.asked()[0].message, Cp1251Text::fromUtf8("Не выбран код страны"));
    EXPECT_EQ(fix.asked()[0].buttons().size(), 3u);
    EXPECT_FALSE(fix.asked()[0].enabled(CheckAnswer::Skip));
    EXPECT_FALSE(fix.asked()[0].enabled(CheckAnswer::SkipAll));

    ScriptedCheckDialog none;
    EXPECT_TRUE(checkForeignSourceCountry(Cp1251Text{"840"}, none));
    EXPECT_TRUE(none.asked().empty());
}

TEST(ForeignRules, CfcGroupFollowsTheIncomeCode) {
    EXPECT_EQ(cfcGroupFor(1000), (CfcGroupState{true, true, true}));
    for (const std::int32_t code : {1001, 1002, 1012})
        EXPECT_EQ(cfcGroupFor(code), (CfcGroupState{true, false, false})) << code;
    for (const std::int32_t code : {0, 1010, 2000, 1003})
        EXPECT_EQ(cfcGroupFor(code), CfcGroupState{}) << code;
}

TEST(ForeignRules, DeductionFollowsTheRoubles) {
    const Money rubles = Money::fromRaw(8077700); // 807,77
    DeductionChoice percent;
    percent.percent = 20;
    DeductionChoice equivalent;
    equivalent.equivalent = true;
    DeductionChoice capped = equivalent;
    capped.maxSum = Money::fromRoubles(500);
    const DeductionChoice typed; // neither: the person's amount stays
    DeductionChoice typedCapped;
    typedCapped.maxSum = Money::fromRoubles(500);
    const Money entered = Money::fromRoubles(700);
    EXPECT_EQ(deductionFollowingRubles(percent, rubles, entered),
              Money::fromRaw(1615500)); // 161,554 -> 161,55
    EXPECT_EQ(deductionFollowingRubles(equivalent, rubles, entered), rubles);
    EXPECT_EQ(deductionFollowingRubles(capped, rubles, entered), Money::fromRoubles(500));
    EXPECT_EQ(deductionFollowingRubles(typed, rubles, entered), entered);
    EXPECT_EQ(deductionFollowingRubles(typedCapped, rubles, entered), Money::fromRoubles(500));
    EXPECT_EQ(deductionFollowingRubles(typed, rubles, Money{}), Money{});
}

TEST(ForeignRules, CopyKeepsTheIncomeRateAndName) {
    ForeignIncome s = completeSource();
    s.incomeName = "Dividends";
    s.cfcNumber = "AB 12345";
    s.cfcProfitMethod = 1;
    s.setIncomeInCurrency(Money::fromRoubles(100));
    s.deductionCode = 403;
    s.incomeDate = date(2019, 5, 5);
    const ForeignIncome copy = copiedSource(s);
    EXPECT_EQ(copy.incomeRate, 14);
    EXPECT_EQ(copy.incomeName, Cp1251Text{"Dividends"});
    EXPECT_EQ(copy.incomeCode, 1010);
    EXPECT_EQ(copy.sourceName, s.sourceName);
    EXPECT_EQ(copy.countryCode, s.countryCode);
    EXPECT_EQ(copy.currencyCode, s.currencyCode);
    EXPECT_EQ(copy.cfcNumber, s.cfcNumber);
    EXPECT_EQ(copy.cfcProfitMethod, 1);
    EXPECT_EQ(copy.incomeDate, ForeignIncome{}.incomeDate);
    EXPECT_EQ(copy.incomeInCurrency, Money{});
    EXPECT_EQ(copy.incomeDateUnits, 0);
    EXPECT_EQ(copy.deductionCode, 0);
}

TEST(ForeignRules, RepairTakesTheRateFromTheDictionary) {
    const IncomeDict& dict = IncomeDict::builtIn();
    ForeignIncome lost = completeSource();
    lost.incomeRate = 0;
    lost.incomeName.clear();
    EXPECT_TRUE(repairIncomeRate(lost, dict));
    EXPECT_EQ(lost.incomeRate, 14); // dividends are marked 13 + 1
    EXPECT_EQ(lost.incomeName, dict.findIncome(Cp1251Text{"1010"})->name);

    ForeignIncome kept = completeSource(); // a stored rate is never replaced
    kept.incomeRate = 13;
    EXPECT_FALSE(repairIncomeRate(kept, dict));
    EXPECT_EQ(kept.incomeRate, 13);
    ForeignIncome none; // no code, nothing to take
    EXPECT_FALSE(repairIncomeRate(none, dict));
}

TEST(ForeignRules, RateLookupSaysWhichDay) {
    const auto rates = CurrencyRates::fromXml("<R><C Code=\"840\" Name=\"USD\">"
                                              "<Rate Date=\"28.12.2018\" Rate=\"69,4706\" Quantity=\"1\"/>"
                                              "<Rate Date=\"09.01.2019\" Rate=\"67,0795\" Quantity=\"1\"/>"
                                              "<Rate Date=\"10.01.2019\" Rate=\"66,9909\" Quantity=\"1\"/>"
                                              "</C></R>");
    ASSERT_TRUE(rates);
    const auto exact = findRate(&*rates, Cp1251Text{"840"}, date(2019, 1, 9));
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->rateText, Cp1251Text{"67,0795"});
    EXPECT_EQ(exact->unitsText, Cp1251Text{"1"});
    EXPECT_TRUE(exact->exactDay);
    EXPECT_EQ(rateDateNote(exact), Cp1251Text{""});

    const auto holiday = findRate(&*rates, Cp1251Text{"840"}, date(2019, 1, 5));
    ASSERT_TRUE(holiday);
    EXPECT_EQ(holiday->rateText, Cp1251Text{"69,4706"});
    EXPECT_EQ(holiday->date, date(2018, 12, 28));
    EXPECT_EQ(rateDateNote(holiday), Cp1251Text::fromUtf8("курс на 28.12.2018"));

    EXPECT_EQ(findRate(&*rates, Cp1251Text{"978"}, date(2019, 1, 9)), std::nullopt);
    EXPECT_EQ(findRate(nullptr, Cp1251Text{"840"}, date(2019, 1, 9)), std::nullopt);
    EXPECT_EQ(rateDateNote(std::nullopt), Cp1251Text{""});
}

TEST(ForeignRules, OneConversionForScreenAndRecord) {
    // 1 234,56 units at 65,43 roubles per 100 give 807,7726, shown and stored as 807,77.
    EXPECT_EQ(rublesAtRate(Money::fromRaw(12345600), 100, Money::fromRaw(654300)), Money::fromRaw(8077700));
    EXPECT_EQ(rublesAtRate(Money::fromRoubles(10), 1, Money::fromRaw(647362)), Money::fromRaw(6473600));
    EXPECT_EQ(rublesAtRate(Money::fromRoubles(10), 0, Money::fromRaw(647362)), Money{});
    // Twelve typed digits at the largest rate pass the range: no figure, no exception.
    EXPECT_EQ(rublesAtRate(Money::fromRoubles(999999999999), 1, Money::fromRaw(999999999)), std::nullopt);
    ForeignIncome s;
    s.incomeDateUnits = 100;
    s.incomeDateRate = Money::fromRaw(654300);
    s.setIncomeInCurrency(Money::fromRaw(12345600));
    EXPECT_EQ(s.incomeInRubles, rublesAtRate(s.incomeInCurrency, 100, s.incomeDateRate));
}
