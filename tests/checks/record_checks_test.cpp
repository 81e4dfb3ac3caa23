// The record faults shared by the screens and the whole-return check.
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "model/IncomeCodes.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

using kv::test::date;

namespace kv {
namespace {

TEST(RecordChecks, FourteenYears) {
    struct Case {
        DateValue birth, issued;
        bool passes;
    };
    const Case cases[] = {
        {date(1990, 6, 15), date(2004, 6, 15), true},  // on the fourteenth birthday
        {date(1990, 6, 15), date(2004, 6, 14), false}, // a day earlier
        {date(2004, 2, 29), date(2018, 2, 28), true},  // 29 February counts from 28 February
        {date(2004, 2, 29), date(2018, 2, 27), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(issuedAtFourteenOrLater(c.birth, c.issued), c.passes) << c.issued.days;
    for (int code : {7, 8, 21, 24})
        EXPECT_TRUE(issuedFromFourteen(code));
    for (int code : {0, 3, 10, 22})
        EXPECT_FALSE(issuedFromFourteen(code));
}

// The one list of securities incomes: 1534 is not a code of the return, so it is not in it.
TEST(RecordChecks, SecuritiesIncomeCodes) {
    for (int code : {1530, 1533, 1535, 1539, 1541, 1544, 1554, 9537, 9552, 5002, 5029})
        EXPECT_TRUE(isSecuritiesIncomeCode(code)) << code;
    for (int code : {1529, 1534, 1540, 1542, 1543, 1550, 1555, 5001, 2000})
        EXPECT_FALSE(isSecuritiesIncomeCode(code)) << code;
}

// Which rule, if any, reports a foreign income; the rules run in their fixed order.
TEST(RecordChecks, ForeignIncomeRules) {
    ForeignIncome complete;
    complete.currencyCode = "840";
    complete.incomeDateRate = Money::fromRoubles(65);
    complete.incomeDateUnits = 1;
    complete.incomeCode = 1010;

    const auto firstFault = [](const ForeignIncome& e) -> std::string {
        for (ForeignIncomeRule rule : kForeignIncomeRules)
            if (const Cp1251Text* message = rule(e))
                return message->utf8();
        return {};
    };
    struct Case {
        const char* name;
        void (*change)(ForeignIncome&);
        const char* fault;
    };
    const Case cases[] = {
        {"complete", [](ForeignIncome&) {}, ""},
        {"no currency", [](ForeignIncome& e) { e.currencyCode.clear(); },
         "По данному источнику выплаты не указан код валюты"},
        {"no units", [](ForeignIncome& e) { e.incomeDateUnits = 0; },
         "По данному источнику выплаты не указан курс валюты"},
        {"no income code", [](ForeignIncome& e) { e.incomeCode = 0; },
         "По данному источнику выплаты не указан код дохода"},
        {"CFC without number", [](ForeignIncome& e) { e.incomeCode = 1000; },
         "По данному источнику необходимо указать номер КИК"},
        {"CFC number of seven",
         [](ForeignIncome& e) {
             e.incomeCode = 1000;
             e.cfcNumber = "AB12345";
         },
         "По данному источнику номер КИК указан некорректно (состоит из двух букв и пяти цифр)"},
        {"CFC without method",
         [](ForeignIncome& e) {
             e.incomeCode = 1000;
             e.cfcNumber = "AB 12345";
         },
         "По данному источнику не указан порядок определения прибыли КИК"},
        {"expense without amount", [](ForeignIncome& e) { e.deductionCode = 403; },
         "По данному источнику выплаты не указана сумма вычета"},
        {"securities expense needs no amount",
         [](ForeignIncome& e) {
             e.incomeCode = 1530;
             e.deductionCode = 201;
         },
         ""},
    };
    for (const Case& c : cases) {
        ForeignIncome e = complete;
        c.change(e);
        EXPECT_EQ(firstFault(e), c.fault) << c.name;
    }
}

TEST(RecordChecks, BusinessExpenses) {
    Declaration d{FixedClock(DateValue::fromDays(43905))};
    d.setIncomeFlags(Declaration::kBusinessIncomes);
    const auto add = [&](const char* kind, bool documented) {
        BusinessActivity a;
        a.activityKind = Cp1251Text::fromBytes(std::string_view(kind));
        a.hasDocumentedExpenses = documented ? 1 : 0;
        d.businessIncomes.add(a);
    };
    add("2", true);  // a notary always documents
    add("1", false); // the entrepreneur takes the norm: the first who chooses
    add("5", true);  // a farm head documenting differs
    add("1", false);
    const BusinessActivity* first = firstExpenseChoice(d.businessIncomes);
    ASSERT_EQ(first, &d.businessIncomes.get(1));
    const bool expected[] = {false, false, true, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expenseChoiceDiffers(d.businessIncomes.get(i), first), expected[i]) << i;

    BusinessActivity a = d.businessIncomes.get(1);
    a.okvedCode = " 1.1 ";
    EXPECT_TRUE(okvedTooShort(a));
    a.okvedCode = "01.1";
    EXPECT_FALSE(okvedTooShort(a));

    a.materialExpenses = Money::fromRoubles(100);
    a.depreciation = Money::fromRoubles(200);
    a.labourExpenses = Money::fromRoubles(300);
    a.otherExpenses = Money::fromRaw(4005000); // 400,5
    EXPECT_EQ(documentedExpenseParts(a), Money::fromRaw(10005000));
    EXPECT_EQ(expensesMismatchMessage(Money::fromRoubles(999), documentedExpenseParts(a)).utf8(),
              "Общие расходы (999) не совпадают с суммой расходов материальных, на оплату труда, прочих и "
              "амортизационных отчислений (1000,5)");
}

TEST(RecordChecks, SocialDeductionsGrantedWithNothing) {
    SocialDeduction s;
    EXPECT_FALSE(socialDeductionsMissing(s)); // not granted
    s.granted = 1;
    EXPECT_TRUE(socialDeductionsMissing(s));
    s.childEducation.add(Money::fromRoubles(1));
    EXPECT_FALSE(socialDeductionsMissing(s));
}

} // namespace
} // namespace kv
