#include "checks/ScriptedCheckDialog.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/rules/BusinessRules.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

using kv::test::amount;
using kv::test::rub;

using namespace kv;

namespace {

BusinessActivity activity(const char* kind, bool documented) {
    BusinessActivity a;
    a.activityKind = Cp1251Text::fromBytes(std::string_view(kind));
    a.okvedCode = "62.01";
    a.hasDocumentedExpenses = documented ? 1 : 0;
    return a;
}

BusinessActivity documented(const char* kind, const char* total, const char* each) {
    BusinessActivity a = activity(kind, true);
    a.totalExpenses = amount(total);
    a.materialExpenses = a.depreciation = a.labourExpenses = a.otherExpenses = amount(each);
    return a;
}

} // namespace

TEST(BusinessRules, NormIsTwentyPercentRoundedHalfUpToKopecks) {
    struct Case {
        const char* income;
        const char* norm;
    };
    for (const Case& c : {Case{"123456.78", "24691.36"}, Case{"0", "0"}, Case{"0.02", "0"},
                          Case{"0.025", "0.01"}, Case{"0.0249", "0"}, Case{"0.03", "0.01"},
                          Case{"999999999999.99", "200000000000"}, Case{"-0.025", "-0.01"}}) {
        SCOPED_TRACE(c.income);
        EXPECT_EQ(standardExpensesOf(amount(c.income)), amount(c.norm));
    }
}

TEST(BusinessRules, EditingKeepsTheWayOfExpensesUnlessTheKindCrossesTheNormKinds) {
    struct Case {
        const char* before;
        bool documentedBefore;
        const char* after;
        bool adding;
        bool documentedAfter;
        bool normComputed; // the norm is taken from the income anew
    };
    const Case cases[] = {
        {"", true, "1", true, false, true},
        {"", true, "5", true, false, true},
        {"", true, "3", true, true, false},
        {"1", true, "1", false, true, false}, // only the code fixed: documented figures stay
        {"1", false, "1", false, false, false},
        {"1", true, "5", false, true, false},
        {"5", false, "1", false, false, false},
        {"1", false, "2", false, true, false}, // out of {1, 5}: documented only
        {"3", true, "1", false, false, true},  // into {1, 5}: starts with the norm as a new one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
        BusinessActivity a = activity(c.before, c.documentedBefore);
        a.totalExpenses = amount("1000");
        a.incomeAmount = amount("123456.78");
        a.standardExpenses = amount("5");
        applyActivityKind(a, kv::test::asText(c.after), Cp1251Text{"47.11"}, c.adding);
        EXPECT_EQ(a.activityKind, kv::test::asText(c.after));
        EXPECT_EQ(a.okvedCode, Cp1251Text{"47.11"});
        EXPECT_EQ(a.hasDocumentedExpenses != 0, c.documentedAfter);
        EXPECT_EQ(a.totalExpenses, amount("1000"));
        EXPECT_EQ(a.standardExpenses, c.normComputed ? amount("24691.36") : amount("5"));
    }
}

TEST(BusinessRules, OnlyAnEntrepreneurTakesACode) {
    // The dialog offers no code to other kinds: a new appraiser keeps the record's
    // "..", an edited one whatever code it had.
    BusinessActivity appraiser;
    applyActivityKind(appraiser, Cp1251Text{"6"}, Cp1251Text{""}, true);
    EXPECT_EQ(appraiser.okvedCode, Cp1251Text{".."});
    BusinessActivity stored = activity("1", false);
    stored.okvedCode = "";
    applyActivityKind(stored, Cp1251Text{"6"}, Cp1251Text{""}, false);
    EXPECT_EQ(stored.okvedCode, Cp1251Text{""});
    applyActivityKind(stored, Cp1251Text{"1"}, Cp1251Text{"62.01"}, false);
    EXPECT_EQ(stored.okvedCode, Cp1251Text{"62.01"});
}

TEST(BusinessRules, DialogAndRowTexts) {
    EXPECT_TRUE(activityDialogAccepts(Cp1251Text{"1"}, Cp1251Text{" 62.01 "}));
    EXPECT_FALSE(activityDialogAccepts(Cp1251Text{"1"}, Cp1251Text{"  "}));
    EXPECT_TRUE(activityDialogAccepts(Cp1251Text{"9"}, Cp1251Text{""}));
    EXPECT_FALSE(activityDialogAccepts(Cp1251Text{""}, Cp1251Text{"62.01"}));
    struct Case {
        const char* kind;
        const char* row;
    };
    for (const Case& c : {Case{"1", "62.01"}, Case{"2", "Нотариальная деятельность"},
                          Case{"4", "Деятельность арбитражного управляющего"},
                          Case{"5", "Деятельность главы КФХ"}, Case{"9", "Иная деятельность"}}) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(activityRowText(activity(c.kind, true)), Cp1251Text::fromUtf8(c.row));
    }
}

TEST(BusinessRules, ScreenCheckRecordsTheLastFixAndGoesOn) {
    const Cp1251Text mixed = Cp1251Text::fromUtf8(
        "Нельзя одновременно пользоваться и подтвержденными расходами и нормативом 20%.");
    const auto parts = [](const char* total, const char* sum) {
        return Cp1251Text::fromUtf8(
            std::string("Общие расходы (") + total +
            ") не совпадают с суммой расходов материальных, на оплату труда, прочих и "
            "амортизационных отчислений (" +
            sum + ")");
    };
    struct Case {
        const char* name;
        std::vector<BusinessActivity> activities;
        std::vector<CheckAnswer> answers;
        std::vector<Cp1251Text> messages;
        std::uint16_t code;
    };
    const BusinessActivity norm1 = activity("1", false);
    const BusinessActivity farmDocumented = documented("5", "1000", "250");
    const BusinessActivity notaryDocumented = documented("2", "1000", "250");
    const BusinessActivity short999 = documented("1", "999", "250");
    const BusinessActivity notary999 = documented("2", "999", "250");
    const BusinessActivity above = documented("3", "1001", "250"); // a total above its parts passes
    const Case cases[] = {
        {"norm beside a farm head's documented expenses",
         {norm1, farmDocumented},
         {CheckAnswer::Fix},
         {mixed},
         2},
        {"a notary's documented expenses are no mix", {norm1, notaryDocumented, above}, {}, {}, 0},
        {"parts of 1000 against 1000 pass", {documented("1", "1000", "250")}, {}, {}, 0},
        {"parts above the total, with both amounts",
         {short999},
         {CheckAnswer::Skip},
         {parts("999", "1000")},
         0},
        {"Исправить goes on and the last wins",
         {short999, norm1, notary999},
         {CheckAnswer::Fix, CheckAnswer::Fix, CheckAnswer::Skip},
         {parts("999", "1000"), mixed, parts("999", "1000")},
         2},
        {"a fixed mix is not asked about its parts", {norm1, short999}, {CheckAnswer::Fix}, {mixed}, 2},
        {"a skipped mix goes on to the parts",
         {norm1, short999},
         {CheckAnswer::Skip, CheckAnswer::Fix},
         {mixed, parts("999", "1000")},
         2},
        {"Пропустить все stops with the code so far",
         {short999, notary999, notary999},
         {CheckAnswer::Fix, CheckAnswer::SkipAll},
         {parts("999", "1000"), parts("999", "1000")},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FixedClock clock(DateValue::fromYmd(2020, 3, 15).value());
        Declaration d(clock);
        d.setIncomeFlags(Declaration::kBusinessIncomes);
        for (const auto& a : c.activities)
            d.businessIncomes.add(a);
        ScriptedCheckDialog dialog(c.answers);
        EXPECT_EQ(checkBusinessIncomes(d, dialog), c.code);
        EXPECT_EQ(dialog.unexpected(), 0u);
        ASSERT_EQ(dialog.asked().size(), c.messages.size());
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(dialog.asked()[i].message, c.messages[i]);
            EXPECT_EQ(dialog.asked()[i].title(),
                      Cp1251Text::fromUtf8("Проверка: Доходы от предпринимательской деятельности"));
        }
    }
}

TEST(PartnershipRules, IncomeDialogStaysOpenUntilAKindIsChosen) {
    struct Case {
        std::int32_t kind;
        std::vector<CheckAnswer> answers;
        PartnershipIncomeVerdict verdict;
        bool asked;
    };
    const Case cases[] = {
        {1, {}, {true, false}, false},
        {6, {}, {true, false}, false},
        {0, {CheckAnswer::Fix}, {false, true}, true},
        {0, {CheckAnswer::None}, {false, true}, true}, // the message closed: "Исправить"
        {7, {CheckAnswer::Fix}, {false, true}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ScriptedCheckDialog dialog(c.answers);
        EXPECT_EQ(checkPartnershipIncome(c.kind, dialog), c.verdict);
        ASSERT_EQ(dialog.asked().size(), c.asked ? 1u : 0u);
        if (c.asked) {
            const CheckQuestion& q = dialog.asked()[0];
            EXPECT_EQ(q.message, Cp1251Text::fromUtf8("Не выбран вид операций"));
            EXPECT_FALSE(q.enabled(CheckAnswer::Skip));
            EXPECT_FALSE(q.enabled(CheckAnswer::SkipAll));
            EXPECT_EQ(q.title(), Cp1251Text::fromUtf8("Проверка данных участия в инвест. тов."));
        }
    }
    EXPECT_EQ(partnershipOperationNames().size(), 6u);
}
