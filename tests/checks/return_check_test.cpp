#include "ExampleReturns.h"
#include "checks/ReturnCheck.h"
#include "checks/ScriptedCheckDialog.h"
#include "compute/Arithmetic.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using kv::test::date;
using kv::test::rub;

namespace kv {
namespace {

using A = CheckAnswer;
using S = CheckSection;
constexpr std::uint16_t kCancelled = ReturnCheckResult::kCancelled;

Cp1251Text u(std::string_view utf8) {
    return Cp1251Text::fromUtf8(utf8);
}
// Half a rouble more: a fraction that only a document written elsewhere can hold.
Money andAHalf(std::int64_t roubles) {
    return Money::fromRaw(roubles * Money::kScale + Money::kScale / 2);
}

const Clock& clock() {
    static const FixedClock c(date(2020, 3, 15));
    return c;
}

// Passes every rule: tax office, a taxpayer named and identified by a valid INN, a residence OKTMO.
Declaration cleanReturn() {
    Declaration d(clock());
    d.inspectionCode = "7701";
    d.person.surname = u("Соколов");
    d.person.firstName = u("Андрей");
    d.person.inn = "500100732185";
    d.person.oktmo = "45379000";
    return d;
}

void withFlags(Declaration& d, std::uint8_t bits) {
    d.setIncomeFlags(d.incomeFlags() | bits);
}

ThirteenPercentSource& addSource(Declaration& d, std::int64_t income, std::int64_t withheld) {
    withFlags(d, Declaration::kAgentIncomes);
    ThirteenPercentSource& s = d.incomes13.get(d.incomes13.add());
    s.sourceName = u("ООО \"Север\"");
    s.sourceInn = "1234567894";
    s.sourceKpp = "770101001";
    s.sourceOktmo = "45379000";
    ThirteenIncomeItem line;
    line.incomeCode = 2000;
    line.amount = rub(income);
    s.addItem(line);
    s.taxWithheld = rub(withheld);
    return s;
}

// Amounts in kopecks.
void addLine(ThirteenPercentSource& s, std::int32_t income, std::int64_t amount, std::int32_t deduction,
             std::int64_t deductionAmount) {
    ThirteenIncomeItem line;
    line.incomeCode = income;
    line.amount = Money::fromRaw(amount * 100);
    line.deductionCode = deduction;
    line.deductionAmount = Money::fromRaw(deductionAmount * 100);
    s.addItem(line);
}

ForeignIncome& addForeign(Declaration& d) {
    withFlags(d, Declaration::kForeignIncomes);
    ForeignIncome& f = d.foreignIncomes.get(d.foreignIncomes.add());
    f.incomeCode = 1010;
    f.incomeRate = 13;
    f.sourceName = "Blue Harbour Ltd";
    f.countryCode = "196";
    f.currencyCode = "840";
    f.incomeDateRate = rub(64);
    f.incomeDateUnits = 1;
    f.taxDateRate = rub(64);
    f.taxDateUnits = 1;
    f.setIncomeInCurrency(rub(100));
    return f;
}

// A source of another rate's list (9%, 35% or dividends) with an income of 1000.
template <class List> auto& addOther(Declaration& d, List& list, const char* oktmo, Money withheld) {
    withFlags(d, Declaration::kAgentIncomes);
    auto& s = list.get(list.add());
    s.sourceName = u("АО \"Меридиан\"");
    s.sourceInn = "1234567894";
    s.sourceKpp = "770101001";
    s.sourceOktmo = Cp1251Text::fromBytes(std::string_view(oktmo));
    s.incomeCode = 1011;
    s.totalIncome = rub(1000);
    if constexpr (requires { s.taxableAmount; })
        s.taxableAmount = rub(1000);
    s.taxWithheld = withheld;
    return s;
}

BusinessActivity& addBusiness(Declaration& d, const char* kind, bool documented) {
    withFlags(d, Declaration::kBusinessIncomes);
    BusinessActivity& b = d.businessIncomes.get(d.businessIncomes.add());
    b.activityKind = Cp1251Text::fromBytes(std::string_view(kind));
    b.okvedCode = "47.91";
    b.hasDocumentedExpenses = documented ? 1 : 0;
    b.incomeAmount = rub(100000);
    return b;
}

void withDocument(Declaration& d, std::int16_t code, DateValue birth, DateValue issued) {
    Taxpayer& p = d.person;
    p.identityDocCode = code;
    p.identityDocNumber = "45 09 123456";
    p.identityDocIssuer = u("ОВД");
    p.birthPlace = u("г. Москва");
    p.birthDate = birth;
    p.identityDocDate = issued;
}

struct RowCase {
    const char* what;
    std::function<void(Declaration&)> plant;
    CheckSection section;
    std::uint16_t code;
    const char* title;
    std::string message;
};

const char* const kConditions = "Задание условий";
const char* const kTaxpayer = "Сведения о декларанте";
const char* const kIncomes13 = "Доходы, облагаемые ставкой 13%";
const char* const kForeign = "Доходы в валюте";
const char* const kBusiness = "Доходы от предпринимательской деятельности";
const char* const kNoSourceOktmo = "По данному источнику выплаты не указан код ОКТМО";
const char* const kWithheldNotWhole =
    "По данному источнику выплаты сумма удержанного налога указывается в целых рублях";
const char* const kBusinessNeedsInn =
    "Лицам имеющим доходы от предпринимательской деятельности необходимо ввести ИНН";

std::vector<RowCase> rowCases() {
    return {
        {"1 tax office", [](auto& d) { d.inspectionCode.clear(); }, S::Conditions, 1, kConditions,
         "Не введен номер инспекции"},
        {"1 tax office of three digits", [](auto& d) { d.inspectionCode = "770"; }, S::Conditions, 1,
         kConditions, "Код инспекции должен состоять из четырёх цифр"},
        {"1 tax office leading out of the folder", [](auto& d) { d.inspectionCode = "../../x"; },
         S::Conditions, 1, kConditions, "Код инспекции должен состоять из четырёх цифр"},
        {"1 tax office of 300 digits",
         [](auto& d) { d.inspectionCode = Cp1251Text::fromBytes(std::string(300, '7')); }, S::Conditions, 1,
         kConditions, "Код инспекции должен состоять из четырёх цифр"},
        {"1 tax office with a NUL",
         [](auto& d) {
             d.inspectionCode = Cp1251Text::fromBytes(std::string("77\0"
                                                                  "1",
                                                                  4));
         },
         S::Conditions, 1, kConditions, "Код инспекции должен состоять из четырёх цифр"},
        {"1 tax office with a byte no letter",
         [](auto& d) {
             d.inspectionCode = Cp1251Text::fromBytes(std::string_view("77\x98"
                                                                       "1"));
         },
         S::Conditions, 1, kConditions, "Код инспекции должен состоять из четырёх цифр"},
        {"2 representative's name",
         [](auto& d) {
             d.submitterKind = 1;
             d.representativeName = "  ";
             d.representativeDocument = u("Доверенность");
         },
         S::Conditions, 3, kConditions, "Не указаны ФИО подписанта-представителя"},
        {"3 representative's document",
         [](auto& d) {
             d.submitterKind = 1;
             d.representativeName = u("Петрова");
         },
         S::Conditions, 4, kConditions, "Не указан документ, подтверждающий полномочия представителя"},
        {"4 representing organisation",
         [](auto& d) {
             d.submitterKind = 2;
             d.representativeName = u("Петрова");
             d.representativeDocument = u("Доверенность");
         },
         S::Conditions, 5, kConditions, "Не указано наименование Юр.лица-представителя"},
        {"5 surname", [](auto& d) { d.person.surname.clear(); }, S::Taxpayer, 1, kTaxpayer,
         "Не введена фамилия"},
        {"6 first name", [](auto& d) { d.person.firstName.clear(); }, S::Taxpayer, 2, kTaxpayer,
         "Не введено имя"},
        {"7 INN of ten digits", [](auto& d) { d.person.inn = "5001007329"; }, S::Taxpayer, 4, kTaxpayer,
         "Длина ИНН должна быть равна 12 цифрам"},
        {"7 INN of ten zeros", [](auto& d) { d.person.inn = "0000000000"; }, S::Taxpayer, 4, kTaxpayer,
         "Номер ИНН введен неверно"},
        {"7 INN check digit", [](auto& d) { d.person.inn = "500100732186"; }, S::Taxpayer, 4, kTaxpayer,
         "Номер ИНН введен неверно"},
        {"8 entrepreneur without INN",
         [](auto& d) {
             d.person.inn.clear();
             d.taxpayerCategory = 0;
         },
         S::Taxpayer, 4, kTaxpayer, kBusinessNeedsInn},
        {"8 farm head without INN",
         [](auto& d) {
             d.person.inn = " ";
             d.taxpayerCategory = 1;
         },
         S::Taxpayer, 4, kTaxpayer, kBusinessNeedsInn},
        {"8 business incomes without INN",
         [](auto& d) {
             d.person.inn.clear();
             withFlags(d, Declaration::kBusinessIncomes);
         },
         S::Taxpayer, 4, kTaxpayer, kBusinessNeedsInn},
        {"8 4-NDFL without INN",
         [](auto& d) {
             d.person.inn.clear();
             d.declarationKind = 2;
         },
         S::Taxpayer, 4, kTaxpayer, "Не указан ИНН"},
        {"9 birth place without INN", [](auto& d) { d.person.inn.clear(); }, S::Taxpayer, 9, kTaxpayer,
         "Не указано место рождения"},
        {"10 identity document without INN",
         [](auto& d) {
             d.person.inn.clear();
             d.person.birthPlace = u("г. Москва");
         },
         S::Taxpayer, 5, kTaxpayer, "Не указан документ, удостоверяющий личность"},
        {"11 document number",
         [](auto& d) {
             withDocument(d, 21, date(1985, 4, 12), date(2009, 5, 14));
             d.person.identityDocNumber.clear();
         },
         S::Taxpayer, 6, kTaxpayer, "Не указаны серия и номер документа, удостоверяющего личность"},
        {"12 issued before birth", [](auto& d) { withDocument(d, 10, date(1985, 4, 12), date(1985, 4, 11)); },
         S::Taxpayer, 7, kTaxpayer, "Дата выдачи документа не может быть меньше даты рождения"},
        {"13 passport a day before the fourteenth birthday",
         [](auto& d) { withDocument(d, 21, date(1990, 5, 15), date(2004, 5, 14)); }, S::Taxpayer, 7,
         kTaxpayer, "Дата выдачи документа должна быть больше даты рождения как минимум на 14 лет"},
        {"13 born on 29 February", [](auto& d) { withDocument(d, 7, date(1992, 2, 29), date(2006, 2, 27)); },
         S::Taxpayer, 7, kTaxpayer,
         "Дата выдачи документа должна быть больше даты рождения как минимум на 14 лет"},
        {"14 issuer",
         [](auto& d) {
             withDocument(d, 21, date(1985, 4, 12), date(2009, 5, 14));
             d.person.identityDocIssuer.clear();
         },
         S::Taxpayer, 8, kTaxpayer, "Не указано, кем выдан документ, удостоверяющий личность"},
        {"15 withheld more than the income",
         [](auto& d) {
             addSource(d, 1000, 130);
             addSource(d, 1000, 1001);
         },
         S::Incomes13, 2, kIncomes13,
         "По данному источнику выплаты общая сумма дохода меньше удержанной суммы"},
        {"16 source without lines",
         [](auto& d) {
             addSource(d, 1000, 130);
             addSource(d, 1000, 0).deleteItem(0);
         },
         S::Incomes13, 2, kIncomes13, "По данному источнику не указаны доходы"},
        {"a line's deduction over its income",
         [](auto& d) {
             addSource(d, 1000, 130);
             addLine(addSource(d, 1000, 130), 2010, 100000, 403, 100001);
         },
         S::Incomes13, 2, kIncomes13, "Сумма вычета превышает сумму дохода"},
        {"a line's deduction over its income: non-resident's 13%",
         [](auto& d) {
             d.declarationKind = 1;
             withFlags(d, Declaration::kAgentIncomes);
             addLine(d.incomes13NonResident.get(d.incomes13NonResident.add()), 2720, 300000, 503, 400000);
         },
         S::Incomes13NonResident, 1, "Доходы нерезидентов, высококвалифицированных специалистов",
         "Сумма вычета превышает сумму дохода"},
        {"17 agent deductions over the income",
         [](auto& d) {
             auto& s = addSource(d, 1000, 130);
             s.addAgentDeduction({126, rub(600)});
             s.addAgentDeduction({311, rub(401)});
         },
         S::Incomes13, 1, kIncomes13,
         "По данному источнику выплаты общая сумма дохода меньше суммы предоставленных стандартных, "
         "социальных "
         "и имущественных вычетов"},
        {"18 currency code",
         [](auto& d) {
             addForeign(d);
             addForeign(d).currencyCode.clear();
         },
         S::ForeignIncomes, 2, kForeign, "По данному источнику выплаты не указан код валюты"},
        {"18 before 19: each rule walks the whole list first",
         [](auto& d) {
             addForeign(d).incomeDateRate = Money{};
             addForeign(d).currencyCode.clear();
         },
         S::ForeignIncomes, 2, kForeign, "По данному источнику выплаты не указан код валюты"},
        {"19 units", [](auto& d) { addForeign(d).incomeDateUnits = 0; }, S::ForeignIncomes, 1, kForeign,
         "По данному источнику выплаты не указан курс валюты"},
        {"19 rate", [](auto& d) { addForeign(d).incomeDateRate = Money{}; }, S::ForeignIncomes, 1, kForeign,
         "По данному источнику выплаты не указан курс валюты"},
        {"20 income code", [](auto& d) { addForeign(d).incomeCode = 0; }, S::ForeignIncomes, 1, kForeign,
         "По данному источнику выплаты не указан код дохода"},
        {"21 CFC number missing", [](auto& d) { addForeign(d).incomeCode = 1000; }, S::ForeignIncomes, 1,
         kForeign, "По данному источнику необходимо указать номер КИК"},
        {"21 CFC number without separator",
         [](auto& d) {
             auto& f = addForeign(d);
             f.incomeCode = 1000;
             f.cfcNumber = "AB12345";
             f.cfcProfitMethod = 1;
         },
         S::ForeignIncomes, 1, kForeign,
         "По данному источнику номер КИК указан некорректно (состоит из двух букв и пяти цифр)"},
        {"21 CFC profit method",
         [](auto& d) {
             auto& f = addForeign(d);
             f.incomeCode = 1000;
             f.cfcNumber = "AB-12345";
         },
         S::ForeignIncomes, 1, kForeign, "По данному источнику не указан порядок определения прибыли КИК"},
        {"22 deduction amount", [](auto& d) { addForeign(d).deductionCode = 201; }, S::ForeignIncomes, 1,
         kForeign, "По данному источнику выплаты не указана сумма вычета"},
        {"tax paid abroad without the rate of its day",
         [](auto& d) {
             addForeign(d);
             auto& f = addForeign(d);
             f.taxDateUnits = 0;
             f.setTaxInCurrency(rub(15));
         },
         S::ForeignIncomes, 2, kForeign,
         "По данному источнику выплаты не указан курс валюты на дату уплаты налога"},
        {"tax in roubles alone without the rate of its day",
         [](auto& d) {
             auto& f = addForeign(d);
             f.taxDateRate = Money{};
             f.taxInRubles = rub(960);
         },
         S::ForeignIncomes, 1, kForeign,
         "По данному источнику выплаты не указан курс валюты на дату уплаты налога"},
        {"income received outside the year of the return",
         [](auto& d) { addForeign(d).incomeDate = date(2018, 12, 31); }, S::ForeignIncomes, 1, kForeign,
         "По данному источнику выплаты дата получения дохода должна быть в 2019 году"},
        {"23 documented and norm expenses mixed",
         [](auto& d) {
             addBusiness(d, "1", true);
             addBusiness(d, "3", false); // other activities may use the norm
             addBusiness(d, "5", false);
         },
         S::BusinessIncomes, 3, kBusiness,
         "Нельзя одновременно пользоваться и подтвержденными расходами и нормативом 20%."},
        {"24 OKVED code", [](auto& d) { addBusiness(d, "1", false).okvedCode = " 01. "; }, S::BusinessIncomes,
         1, kBusiness, "Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку"},
        {"25 expense parts over the total",
         [](auto& d) {
             addBusiness(d, "3", false);
             auto& b = addBusiness(d, "2", true);
             b.totalExpenses = rub(100);
             b.materialExpenses = rub(60);
             b.labourExpenses = Money::fromRaw(505000);
         },
         S::BusinessIncomes, 2, kBusiness,
         "Общие расходы (100) меньше суммы расходов материальных, на оплату труда, прочих и амортизационных "
         "отчислений (110,5)"},
        {"26 social deductions without data",
         [](auto& d) {
             withFlags(d, Declaration::kAgentIncomes);
             d.socialDeductions.granted = 1;
         },
         S::SocialDeductions, 1, "Социальные вычеты", "Не введены данные по социальным налоговым вычетам"},
        {"27 standard deductions at two workplaces",
         [](auto& d) {
             d.standardDeductions.granted = 1;
             addSource(d, 1000, 130).setReservedSum(3, rub(500));
             addSource(d, 1000, 130).setReservedSum(3, Money{});
         },
         S::StandardDeductions, 2, "Стандартные вычеты",
         "Вы не могли получать стандартные вычеты работая в нескольких местах ОДНОВРЕМЕННО."},
        {"three first-and-second children for the year",
         [](auto& d) {
             addSource(d, 100000, 13000);
             d.standardDeductions.granted = 1;
             d.standardDeductions.setChildrenCount(3);
         },
         S::StandardDeductions, FieldCode::kFirstChildrenCount, "Стандартные вычеты",
         "Вычет на первого и второго ребенка предоставляется не более чем на двух детей. Детей, начиная с "
         "3-го, укажите в строке для них"},
        {"three first-and-second children in one month",
         [](auto& d) {
             addSource(d, 100000, 13000);
             d.standardDeductions.granted = 1;
             d.standardDeductions.setChildrenInMonth(6, 3);
         },
         S::StandardDeductions, FieldCode::kFirstChildrenCount, "Стандартные вычеты",
         "Вычет на первого и второго ребенка предоставляется не более чем на двух детей. Детей, начиная с "
         "3-го, укажите в строке для них"},
        {"28 OKTMO length", [](auto& d) { d.person.oktmo = "4537900"; }, S::Conditions, 10, kConditions,
         "Код ОКТМО (по месту жительства) должен содержать 8 или 11 символов"},
        {"29 OKTMO of a return with tax payable", [](auto& d) { d.person.oktmo = " "; }, S::Conditions, 10,
         kConditions, "Не введен код ОКТМО(8 или 11 симв.) по месту жительства"},
        {"29 OKTMO of 4-NDFL",
         [](auto& d) {
             d.declarationKind = 2;
             d.person.oktmo.clear();
         },
         S::Conditions, 10, kConditions, "Не введен код ОКТМО(8 или 11 симв.) по месту жительства"},
        // A Section 1 line without OKTMO leads to the record it came from.
        {"30 refund to a 13% source without OKTMO",
         [](auto& d) {
             addSource(d, 100000, 1000);
             addSource(d, 100000, 40000).sourceOktmo = " ";
         },
         S::Incomes13, 2, kIncomes13, kNoSourceOktmo},
        {"30 refund to a 9% source without OKTMO", [](auto& d) { addOther(d, d.incomes9, "", rub(200)); },
         S::Incomes9, 1, "Доходы, облагаемые по ставке 9%", kNoSourceOktmo},
        {"30 business advances refunded to a taxpayer without OKTMO",
         [](auto& d) {
             addBusiness(d, "1", true).totalExpenses = rub(100000);
             d.actualAdvancePayments = rub(5000);
             d.person.oktmo.clear();
         },
         S::Conditions, 10, kConditions, "Не введен код ОКТМО(8 или 11 симв.) по месту жительства"},
        // Whole-rouble fields holding kopecks, each reported on the screen of its field.
        {"whole roubles: estimated income of a 4-NDFL",
         [](auto& d) {
             d.declarationKind = 2;
             d.estimatedIncome = andAHalf(1000000);
         },
         S::Conditions, 2, kConditions, "Предполагаемый доход указывается в целых рублях"},
        {"whole roubles: tax withheld by a 13% source",
         [](auto& d) {
             addSource(d, 1200000, 156000);
             addSource(d, 10000, 0).taxWithheld = andAHalf(1300);
         },
         S::Incomes13, 2, kIncomes13, kWithheldNotWhole},
        {"whole roubles: a resident's fixed advances",
         [](auto& d) {
             addSource(d, 100000, 13000);
             d.foreignerFixedAdvance = andAHalf(1200);
         },
         S::Incomes13, FieldCode::kFixedAdvance, kIncomes13,
         "Сумма фиксированных платежей указывается в целых рублях"},
        {"whole roubles: a non-resident's fixed advances",
         [](auto& d) {
             d.declarationKind = 1;
             withFlags(d, Declaration::kAgentIncomes);
             d.foreignerFixedAdvance = andAHalf(1200);
         },
         S::Incomes13NonResident, FieldCode::kFixedAdvance,
         "Доходы нерезидентов, высококвалифицированных специалистов",
         "Сумма фиксированных платежей указывается в целых рублях"},
        {"whole roubles: tax withheld by a 35% source",
         [](auto& d) {
             addOther(d, d.incomes35, "45379000", rub(350));
             addOther(d, d.incomes35, "45379000", andAHalf(350));
         },
         S::Incomes35, 2, "Доходы, облагаемые по ставке 35%", kWithheldNotWhole},
        {"whole roubles: non-resident's dividends",
         [](auto& d) {
             d.declarationKind = 1;
             addOther(d, d.incomes30, "45379000", andAHalf(150));
         },
         S::Dividends, 1, "Доходы в виде дивидендов", kWithheldNotWhole},
        {"whole roubles: CFC tax withheld in Russia",
         [](auto& d) { addForeign(d).cfcTaxWithheldInRussia = andAHalf(100); }, S::ForeignIncomes, 1,
         kForeign, "По данному источнику налоги с доходов КИК, удержанные в РФ, указываются в целых рублях"},
        // Payers a file written elsewhere holds as no entry dialog lets them through.
        {"payer: 13% source INN check digit",
         [](auto& d) {
             addSource(d, 1000, 130);
             addSource(d, 1000, 130).sourceInn = "1234567895";
         },
         S::Incomes13, 2, kIncomes13, "Номер ИНН введен неверно"},
        {"payer: 13% KPP of eight characters",
         [](auto& d) { addSource(d, 1000, 130).sourceKpp = "77010100"; }, S::Incomes13, 1, kIncomes13,
         "Длина КПП должна быть равна 9 цифрам"},
        {"payer: 13% OKTMO of a wrong length",
         [](auto& d) { addSource(d, 1000, 130).sourceOktmo = "4537900"; }, S::Incomes13, 1, kIncomes13,
         "Код ОКТМО введен некорректно(должно быть 8 или 11 симв.)(При продаже имущества физ.лицу - не "
         "нужен)"},
        {"payer: 9% INN of a person",
         [](auto& d) { addOther(d, d.incomes9, "45379000", rub(90)).sourceInn = "500100732185"; },
         S::Incomes9, 1, "Доходы, облагаемые по ставке 9%", "Длина ИНН должна быть равна 10 цифрам"},
        {"payer: 35% INN check digit",
         [](auto& d) { addOther(d, d.incomes35, "45379000", rub(350)).sourceInn = "500100732186"; },
         S::Incomes35, 1, "Доходы, облагаемые по ставке 35%", "Номер ИНН введен неверно"},
        {"payer: dividends KPP of zeros",
         [](auto& d) { addOther(d, d.incomes30, "45379000", rub(130)).sourceKpp = "000000000"; },
         S::Dividends, 1, "Доходы в виде дивидендов", "Некорректный КПП"},
        {"payer: non-resident's source INN check digit",
         [](auto& d) {
             d.declarationKind = 1;
             withFlags(d, Declaration::kAgentIncomes);
             ThirteenPercentSource& s = d.incomes13NonResident.get(d.incomes13NonResident.add());
             s.sourceName = u("ООО");
             s.sourceOktmo = "45379000";
             s.sourceInn = "123456789048";
         },
         S::Incomes13NonResident, 1, "Доходы нерезидентов, высококвалифицированных специалистов",
         "Номер ИНН введен неверно"},
        {"payer: partnership KPP with a person's INN",
         [](auto& d) {
             withFlags(d, Declaration::kPartnershipIncomes);
             InvestmentPartnership& s = d.investPartnerships.get(d.investPartnerships.add());
             s.sourceName = u("ИТ");
             s.sourceOktmo = "45379000";
             s.sourceInn = "500100732185";
             s.sourceKpp = "770101001";
         },
         S::Partnerships, 1, "Доходы от участия в инвестиционном товариществе",
         "Длина ИНН для юрлиц должна быть равна 10 цифрам"},
        {"payer: pension fund INN check digit",
         [](auto& d) {
             addSource(d, 100000, 13000);
             d.socialDeductions.granted = 1;
             PensionContract funded;
             funded.contractKind = PensionContract::kFundedPensionContributions;
             funded.contribution = rub(1000);
             d.socialDeductions.pensionContracts.add(funded);
             PensionContract c;
             c.contractKind = 1;
             c.organisationName = u("НПФ");
             c.organisationInn = "7707083894";
             c.organisationKpp = "770701001";
             c.contribution = rub(1000);
             d.socialDeductions.pensionContracts.add(c);
         },
         S::SocialDeductions, FieldCode::kFirstPensionContract + 1, "Социальные вычеты",
         "Номер ИНН введен неверно"},
        {"foreign source without a country", [](auto& d) { addForeign(d).countryCode = " "; },
         S::ForeignIncomes, 1, kForeign, "Не выбран код страны"},
        {"whole roubles: trade fee",
         [](auto& d) {
             addBusiness(d, "1", true);
             d.tradeFee = andAHalf(8100);
         },
         S::BusinessIncomes, FieldCode::kTradeFee, kBusiness, "Торговый сбор указывается в целых рублях"},
    };
}

TEST(CheckReturn, EachRuleReportsItsFaultWithSectionAndCode) {
    for (const RowCase& c : rowCases()) {
        SCOPED_TRACE(c.what);
        for (const CheckAnswer answer : {A::Fix, A::Cancel}) {
            Declaration d = cleanReturn();
            c.plant(d);
            ScriptedCheckDialog dialog({answer});
            const ReturnCheckResult result = checkReturn(d, dialog);

            ASSERT_EQ(dialog.asked().size(), 1u);
            const CheckQuestion& q = dialog.asked().front();
            EXPECT_EQ(q.dialog, CheckDialogKind::ReturnFault);
            EXPECT_EQ(q.title().utf8(), std::string("Проверка: ") + c.title);
            EXPECT_EQ(q.message.utf8(), c.message);
            EXPECT_TRUE(q.fixEnabled);
            const std::uint16_t code = answer == A::Fix ? c.code : kCancelled;
            EXPECT_EQ(result, (ReturnCheckResult{c.section, code}));
            EXPECT_EQ(result.packed(), static_cast<std::uint32_t>(c.section) | (std::uint32_t{code} << 16));
        }
    }
}

TEST(CheckReturn, ReturnsWithoutFaultsAskNothing) {
    const struct {
        const char* what;
        std::function<void(Declaration&)> change;
    } cases[] = {
        {"valid INN: no birth place or identity document needed", [](auto&) {}},
        {"other taxpayer without INN but with birth place and document",
         [](auto& d) {
             d.person.inn.clear();
             withDocument(d, 21, date(1985, 4, 12), date(2009, 5, 14));
         }},
        {"passport issued on the fourteenth birthday",
         [](auto& d) { withDocument(d, 21, date(1990, 5, 15), date(2004, 5, 15)); }},
        {"born on 29 February, issued on 28 February fourteen years later",
         [](auto& d) { withDocument(d, 7, date(1992, 2, 29), date(2006, 2, 28)); }},
        {"other document kinds may be issued at any age",
         [](auto& d) { withDocument(d, 10, date(1990, 5, 15), date(1990, 5, 16)); }},
        {"income equal to the tax withheld", [](auto& d) { addSource(d, 1000, 1000); }},
        {"agent deductions of a non-resident return are not compared",
         [](auto& d) {
             d.declarationKind = 1;
             addSource(d, 1000, 130).addAgentDeduction({126, rub(5000)});
         }},
        {"refund return needs no residence OKTMO",
         [](auto& d) {
             addSource(d, 100000, 20000);
             d.person.oktmo.clear();
         }},
        {"losses on securities and derivatives: expenses over the income",
         [](auto& d) {
             auto& s = addSource(d, 1000, 130);
             addLine(s, 1531, 100000, 202, 500000);
             addLine(s, 1532, 100000, 206, 500000);
             addLine(s, 1530, 0, 201, 10000);
         }},
        {"securities code needs no deduction amount",
         [](auto& d) {
             auto& f = addForeign(d);
             f.incomeCode = 1530;
             f.deductionCode = 201;
         }},
        {"no tax abroad needs no rate of a tax date, and the tax may be paid in 2020",
         [](auto& d) {
             auto& f = addForeign(d);
             f.taxDateRate = Money{};
             f.taxDateUnits = 0;
             f.incomeDate = date(2019, 12, 31);
             f.taxPaymentDate = date(2020, 1, 15);
         }},
        {"CFC with a complete number and method",
         [](auto& d) {
             auto& f = addForeign(d);
             f.incomeCode = 1000;
             f.cfcNumber = "AB-12345";
             f.cfcProfitMethod = 2;
         }},
        {"entrepreneurs all with documented expenses; a lawyer by norm",
         [](auto& d) {
             auto& b = addBusiness(d, "1", true);
             b.okvedCode = "47.9";
             b.totalExpenses = rub(100);
             b.materialExpenses = rub(100);
             addBusiness(d, "3", false);
             addBusiness(d, "5", true);
         }},
        {"social deductions only checked on a resident's return",
         [](auto& d) {
             withFlags(d, Declaration::kAgentIncomes);
             d.declarationKind = 1;
             d.socialDeductions.granted = 1;
         }},
        {"social deductions with a pension contract",
         [](auto& d) {
             withFlags(d, Declaration::kAgentIncomes);
             d.socialDeductions.granted = 1;
             d.socialDeductions.pensionContracts.add();
         }},
        {"standard deductions from two workplaces in different months",
         [](auto& d) {
             d.standardDeductions.granted = 1;
             addSource(d, 1000, 130).setReservedSum(3, rub(500));
             addSource(d, 1000, 130).setReservedSum(4, rub(500));
         }},
        {"standard deductions by month of an entrepreneur",
         [](auto& d) {
             d.standardDeductions.granted = 1;
             d.standardDeductions.monthlyBusinessSet = 1;
             addSource(d, 1000, 130).setReservedSum(3, rub(500));
             addSource(d, 1000, 130).setReservedSum(3, rub(500));
         }},
        {"two children and five from the third on",
         [](auto& d) {
             addSource(d, 100000, 13000);
             d.standardDeductions.granted = 1;
             d.standardDeductions.setChildrenCount(2);
             d.standardDeductions.setThirdPlusCount(5);
         }},
        {"a count of three kept by a return without standard deductions",
         [](auto& d) { d.standardDeductions.setChildrenCount(3); }},
        {"eleven-character OKTMO", [](auto& d) { d.person.oktmo = "45379000001"; }},
        {"a source without OKTMO and nothing to refund to it",
         [](auto& d) { addSource(d, 100000, 13000).sourceOktmo.clear(); }},
        {"kopecks of a trade fee that a return without business does not credit",
         [](auto& d) { d.tradeFee = andAHalf(8100); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Declaration d = cleanReturn();
        c.change(d);
        ScriptedCheckDialog dialog;
        EXPECT_EQ(checkReturn(d, dialog), (ReturnCheckResult{S::Conditions, 0}));
        for (const CheckQuestion& q : dialog.asked())
            ADD_FAILURE() << q.message.utf8();
    }
}

std::vector<std::string> messagesOf(const ScriptedCheckDialog& dialog) {
    std::vector<std::string> out;
    for (const CheckQuestion& q : dialog.asked())
        out.push_back(q.message.utf8());
    return out;
}

TEST(CheckReturn, ConditionsGoOnAfterCancelAndReturnTheLastCode) {
    Declaration d(clock()); // a new return: nothing entered
    d.submitterKind = 1;
    ScriptedCheckDialog dialog({A::Cancel, A::Cancel, A::Fix});
    EXPECT_EQ(checkReturn(d, dialog), (ReturnCheckResult{S::Conditions, 4}));
    EXPECT_EQ(messagesOf(dialog), (std::vector<std::string>{
                                      "Не введен номер инспекции", "Не указаны ФИО подписанта-представителя",
                                      "Не указан документ, подтверждающий полномочия представителя"}));
    EXPECT_EQ(dialog.unexpected(), 0u);
}

TEST(CheckReturn, ConditionsCancelledThroughoutStopEveryLaterGroup) {
    Declaration d(clock());
    d.submitterKind = 2;
    d.person.oktmo = "123";
    ScriptedCheckDialog dialog({A::Cancel, A::Cancel, A::Cancel, A::Cancel});
    EXPECT_EQ(checkReturn(d, dialog), (ReturnCheckResult{S::Conditions, kCancelled}));
    EXPECT_EQ(dialog.asked().size(), 4u); // rows 1 to 4; neither the taxpayer nor the OKTMO
    EXPECT_EQ(dialog.unexpected(), 0u);
}

TEST(CheckReturn, FixingAConditionEndsTheCheck) {
    Declaration d(clock());
    d.submitterKind = 2;
    ScriptedCheckDialog dialog({A::Fix});
    EXPECT_EQ(checkReturn(d, dialog), (ReturnCheckResult{S::Conditions, 1}));
    EXPECT_EQ(dialog.asked().size(), 1u);
}

TEST(CheckReturn, OneFaultOfALaterGroupIsAllThatIsShown) {
    const std::function<void(Declaration&)> plantMany[] = {
        // Every later rule of the taxpayer group would fault too.
        [](Declaration& d) {
            d.person = Taxpayer();
            d.person.identityDocCode = 21;
        },
        // Faults in incomes, foreign, business, deductions and OKTMO after the first.
        [](Declaration& d) {
            addSource(d, 1000, 2000).deleteItem(0);
            addForeign(d).currencyCode.clear();
            addForeign(d).incomeCode = 0;
            addBusiness(d, "1", true).okvedCode = "1";
            d.socialDeductions.granted = 1;
            d.person.oktmo = "1";
        },
    };
    for (const auto& plant : plantMany) {
        Declaration d = cleanReturn();
        plant(d);
        ScriptedCheckDialog dialog = ScriptedCheckDialog::answeringAlways(A::Cancel);
        const ReturnCheckResult result = checkReturn(d, dialog);
        EXPECT_EQ(result.elementCode, kCancelled);
        EXPECT_EQ(dialog.asked().size(), 1u) << testing::PrintToString(messagesOf(dialog));
    }
}

TEST(CheckReturn, ComputationThatCannotBeDoneIsShownAndAbandonsTheCommand) {
    Declaration d = cleanReturn();
    d.inspectionCode.clear();
    addSource(d, 100000, 13000);
    d.propertyDeductions.granted = 1;
    HousingObject flat;
    flat.objectCost = rub(1000000);
    flat.rightRegistrationDate = date(2010, 1, 1);
    flat.shareNumerator = 1;
    flat.shareDenominator = 0;
    d.propertyDeductions.objects.add(flat);

    ScriptedCheckDialog dialog = ScriptedCheckDialog::answeringAlways(A::Cancel);
    EXPECT_EQ(checkReturn(d, dialog), (ReturnCheckResult{S::Conditions, kCancelled}));
    ASSERT_EQ(dialog.asked().size(), 1u);
    const CheckQuestion& q = dialog.asked().front();
    EXPECT_EQ(q.message, ComputationError::userMessage());
    EXPECT_FALSE(q.fixEnabled);
    EXPECT_EQ(q.title().utf8(), "Проверка");

    const auto fault = firstReturnFault(d);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->result.elementCode, kCancelled);
}

TEST(CheckReturn, SampleReturns) {
    for (auto& example : examples::allExamples()) {
        SCOPED_TRACE(example.fileName);
        ScriptedCheckDialog dialog({A::Fix});
        const ReturnCheckResult result = checkReturn(example.declaration, dialog);
        if (example.fileName == "new-return.qv9") {
            // Nothing entered yet: the tax office is the first thing asked for.
            EXPECT_EQ(result, (ReturnCheckResult{S::Conditions, 1}));
        } else {
            EXPECT_EQ(result, (ReturnCheckResult{S::Conditions, 0}));
            for (const CheckQuestion& q : dialog.asked())
                ADD_FAILURE() << q.message.utf8();
        }
    }
}

TEST(FirstReturnFault, AnswersFixAtTheFirstFault) {
    Declaration d = cleanReturn();
    EXPECT_FALSE(firstReturnFault(d).has_value());

    d.submitterKind = 2;
    d.representativeName = u("Петрова");
    d.representativeDocument = u("Доверенность");
    const auto fault = firstReturnFault(d);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->result, (ReturnCheckResult{S::Conditions, 5}));
    EXPECT_EQ(returnFaultText(*fault).utf8(), "Задание условий\n"
                                              "Не указано наименование Юр.лица-представителя\n"
                                              "Раздел: 1\n"
                                              "Код элемента: 5");
}

} // namespace
} // namespace kv
