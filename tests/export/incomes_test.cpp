// Incomes from Russian payers by kind of return, and foreign incomes by rate.
#include "ExportTestSupport.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

template <class T>
T source(const char* inn, const char* kpp, const char* oktmo, const char* name, const char* kind,
         Money income, Money withheld) {
    T s;
    s.sourceInn = Cp1251Text::fromBytes(std::string_view(inn));
    s.sourceKpp = Cp1251Text::fromBytes(std::string_view(kpp));
    s.sourceOktmo = Cp1251Text::fromBytes(std::string_view(oktmo));
    s.sourceName = u(name);
    s.incomeKind = Cp1251Text::fromBytes(std::string_view(kind));
    s.totalIncome = income;
    s.taxWithheld = withheld;
    return s;
}

// One source in every Russian list, so each kind of return shows which lists it takes.
void fillAllLists(ExportFixture& f) {
    Declaration& d = f.doc;
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kPartnershipIncomes);
    d.incomes9.add(source<ThirtyPercentSource>("7709990015", "770901001", "45382000", "ПАО Банк", "06",
                                               rub(1000), rub(90)));
    d.incomes13.add(source<ThirteenPercentSource>("7701234567", "770101001", "45382000", "ООО \"Ромашка\"",
                                                  "07", rub(600000, 55), rub(78000)));
    d.incomes13.add(
        source<ThirteenPercentSource>("500100732259", "", " ", "  Петров Пётр  ", "10", rub(1000), rub(130)));
    d.incomes13.add(source<ThirteenPercentSource>("", " ", "", "Сидоров", "10", rub(500), Money()));
    d.incomes13.add(
        source<ThirteenPercentSource>("500100732259", "500101001", "", "ИП Козлов", "10", rub(10), rub(1)));
    d.investPartnerships.add(source<InvestmentPartnership>("7702345678", "770201001", "", "Товарищество",
                                                           "13", rub(2000), rub(260)));
    ThirtyPercentSource dividends = source<ThirtyPercentSource>("7703456789", "770301001", "45382000",
                                                                "АО Дивиденд", "05", rub(3000), rub(390));
    dividends.taxableAmount = rub(2500);
    d.incomes30.add(dividends);
    d.incomes13NonResident.add(source<ThirteenPercentSource>("7704567890", "770401001", "45382000",
                                                             "ООО Нерезидент", "07", rub(4000), rub(520)));
    ThirtyFivePercentSource prize = source<ThirtyFivePercentSource>("7705678901", "770501001", "", "ООО Лото",
                                                                    "10", rub(5000), rub(1750));
    prize.incomeCode = 2740;
    d.incomes35.add(prize);
    ThirtyFivePercentSource benefit =
        source<ThirtyFivePercentSource>("7706789012", "770601001", "", "ООО Займ", "10", rub(700), rub(245));
    benefit.incomeCode = 2620;
    d.incomes35.add(benefit);
    f.sum->russian35.totalIncome = rub(5000);
}

const char* const kPetrov = "<ИстФЛИн ФИОИн=\"ПЕТРОВ ПЁТР\" ИННФЛ=\"500100732259\"/>";

TEST(IncomesExport, ResidentListsInOrderWithPayerKinds) {
    ExportFixture f;
    fillAllLists(f);
    writeIncomes(f.body(), f.doc, *f.sum);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ДоходИстРФ Ставка=\"09\" ВидДоход=\"06\" ОКТМО=\"45382000\" Доход=\"1000.00\" "
                      "НалУдерж=\"90\"><ИстЮЛ Наим=\"ПАО БАНК\" ИННЮЛ=\"7709990015\" КПП=\"770901001\"/>"
                      "</ДоходИстРФ><ДоходИстРФ Ставка=\"13\" ВидДоход=\"07\" ОКТМО=\"45382000\" "
                      "Доход=\"600000.55\" НалУдерж=\"78000\"><ИстЮЛ Наим=\"ООО &quot;РОМАШКА&quot;\" "
                      "ИННЮЛ=\"7701234567\" КПП=\"770101001\"/></ДоходИстРФ><ДоходИстРФ Ставка=\"13\" "
                      "ВидДоход=\"10\" Доход=\"1000.00\" НалУдерж=\"130\">" +
                      std::string(kPetrov) +
                      "</ДоходИстРФ><ДоходИстРФ Ставка=\"13\" ВидДоход=\"10\" Доход=\"500.00\" "
                      "НалУдерж=\"0\"><ИстФЛИн ФИОИн=\"СИДОРОВ\"/></ДоходИстРФ><ДоходИстРФ Ставка=\"13\" "
                      "ВидДоход=\"10\" Доход=\"10.00\" НалУдерж=\"1\"><ИстЮЛ Наим=\"ИП КОЗЛОВ\" "
                      "ИННЮЛ=\"500100732259\" КПП=\"500101001\"/></ДоходИстРФ><ДоходИстРФ Ставка=\"13\" "
                      "ВидДоход=\"13\" Доход=\"2000.00\" НалУдерж=\"260\"><ИстЮЛ Наим=\"ТОВАРИЩЕСТВО\" "
                      "ИННЮЛ=\"7702345678\" КПП=\"770201001\"/></ДоходИстРФ><ДоходИстРФ Ставка=\"13\" "
                      "ВидДоход=\"05\" ОКТМО=\"45382000\" Доход=\"3000.00\" НалУдерж=\"390\"><ИстЮЛ "
                      "Наим=\"АО ДИВИДЕНД\" ИННЮЛ=\"7703456789\" КПП=\"770301001\"/></ДоходИстРФ>"
                      "<ДоходИстРФ Ставка=\"35\" ВидДоход=\"10\" Доход=\"5000.00\" НалУдерж=\"1750\"><ИстЮЛ "
                      "Наим=\"ООО ЛОТО\" ИННЮЛ=\"7705678901\" КПП=\"770501001\"/></ДоходИстРФ>"));
}

TEST(IncomesExport, NonResidentRatesAndTerminationWritesNone) {
    ExportFixture f;
    fillAllLists(f);
    f.doc.declarationKind = 1;
    writeIncomes(f.body(), f.doc, *f.sum);
    const std::string text = f.bodyText();
    // Order and rates: non-resident 13%, dividends at 15% on their taxable amount, then 30%.
    std::string rates;
    for (std::size_t at = text.find("Ставка=\""); at != std::string::npos;
         at = text.find("Ставка=\"", at + 1))
        rates += text.substr(at + std::string("Ставка=\"").size(), 2) + " ";
    EXPECT_EQ(rates, "13 15 30 30 30 30 30 ");
    EXPECT_NE(text.find("<ДоходИстРФ Ставка=\"15\" ВидДоход=\"05\" ОКТМО=\"45382000\" Доход=\"2500.00\" "
                        "НалУдерж=\"390\">"),
              std::string::npos);
    EXPECT_NE(text.find("НЕРЕЗИДЕНТ"), std::string::npos);
    EXPECT_EQ(text.find("ПАО БАНК"), std::string::npos);
    EXPECT_EQ(text.find("ЛОТО"), std::string::npos);

    ExportFixture termination;
    fillAllLists(termination);
    termination.doc.declarationKind = 3;
    writeIncomes(termination.body(), termination.doc, *termination.sum);
    EXPECT_EQ(termination.bodyText(), wrapped(""));

    // The 35% sources stand only while their sheet has income.
    ExportFixture noPrize;
    fillAllLists(noPrize);
    noPrize.sum->russian35.totalIncome = Money();
    writeIncomes(noPrize.body(), noPrize.doc, *noPrize.sum);
    EXPECT_EQ(noPrize.bodyText().find("Ставка=\"35\""), std::string::npos);
}

ForeignIncomeLine foreignLine() {
    ForeignIncomeLine l;
    l.countryCode = "36";
    l.sourceName = "Acme Ltd";
    l.currencyCode = "840";
    l.kindCode = "23";
    l.cfcNumber = "AB-12345";
    l.incomeDate = date(2019, 5, 15);
    l.incomeRateText = "64.5";
    l.incomeInCurrencyText = "1000,00";
    l.incomeInRubles = rub(64500);
    l.exempt60_1 = rub(10);
    l.cfcProfitMethod = 2;
    l.taxPaymentDate = date(2019, 5, 20);
    l.taxRateText = "64.5";
    l.taxInCurrencyText = "100.00";
    l.taxInRubles = rub(6450);
    l.cfcTaxWithheldInRussia = rub(300);
    l.taxRf = rub(8385);
    l.credit = rub(1234, 50);
    return l;
}

TEST(IncomesExport, ForeignRatesAndTheirLines) {
    ExportFixture f(Declaration::kForeignIncomes);
    ReturnComputation& s = *f.sum;
    ForeignIncomeLine at9 = foreignLine();
    at9.taxInRubles = Money();
    at9.credit = Money();
    at9.taxRf = rub(1000000000000);
    s.foreign9.otherIncome = rub(64500);
    s.foreign9.lines = {at9};
    s.foreign13.cfcProfit = rub(64500);
    ForeignIncomeLine huge = foreignLine();
    huge.taxRf = rub(1000000000000);
    huge.cfcNumber = "-";
    huge.cfcProfitMethod = 1;
    s.foreign13.lines = {foreignLine(), huge};
    s.foreign35.lines = {foreignLine()}; // no income at 35%: the rate is not written

    writeIncomes(f.body(), f.doc, s);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ДоходИстИно Ставка=\"09\"><РасчДохНалИно ОКСМ=\"036\" НаимИстДох=\"ACME LTD\" "
                      "КодВалют=\"840\" КодВидДох=\"23\" ДатаДох=\"15.05.2019\" КурсВалютДох=\"64.5\" "
                      "ДоходИноВал=\"1000.00\" ДоходИноРуб=\"64500.00\" НалЗачРФОбщ=\"1000000000000\"/>"
                      "</ДоходИстИно><ДоходИстИно Ставка=\"13\"><РасчДохНалИно ОКСМ=\"036\" "
                      "НаимИстДох=\"ACME LTD\" КодВалют=\"840\" КодВидДох=\"23\" НомерКИК=\"AB-12345\" "
                      "ДатаДох=\"15.05.2019\" КурсВалютДох=\"64.5\" ДоходИноВал=\"1000.00\" "
                      "ДоходИноРуб=\"64500.00\" ДоходОсв60.1.217=\"10.00\" ПорядПрибКИК=\"2\" "
                      "ДатаУплНал=\"20.05.2019\" КурсВалютНал=\"64.5\" НалУплИноВал=\"100.00\" "
                      "НалУплИноРуб=\"6450.00\" НалИсчКИК=\"300\" НалЗачРФОбщ=\"8385\" "
                      "НалогЗачРФОбщ=\"1235\"/><РасчДохНалИно ОКСМ=\"036\" НаимИстДох=\"ACME LTD\" "
                      "КодВалют=\"840\" КодВидДох=\"23\" ДатаДох=\"15.05.2019\" КурсВалютДох=\"64.5\" "
                      "ДоходИноВал=\"1000.00\" ДоходИноРуб=\"64500.00\" ДоходОсв60.1.217=\"10.00\" "
                      "ПорядПрибКИК=\"1\" ДатаУплНал=\"20.05.2019\" КурсВалютНал=\"64.5\" "
                      "НалУплИноВал=\"100.00\" НалУплИноРуб=\"6450.00\" НалИсчКИК=\"300\" "
                      "НалЗачРФОбщ=\"999999999999\" НалогЗачРФОбщ=\"1235\"/></ДоходИстИно>"));

    // Without the foreign-income flag the sheets are not written at all.
    ExportFixture noFlag;
    noFlag.sum->foreign13.otherIncome = rub(1);
    noFlag.sum->foreign13.lines = {foreignLine()};
    writeIncomes(noFlag.body(), noFlag.doc, *noFlag.sum);
    EXPECT_EQ(noFlag.bodyText(), wrapped(""));
}

} // namespace
} // namespace kv::test
