// Sections 1 and 2: one "СумНалПу" per budget line, then one "НалБаза" per sheet with figures.
#include "ExportTestSupport.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const std::string kZeroBase13 =
    "<НалБаза Ставка=\"13\" ВидДоход=\"3\"><РасчНалБаза ДоходОбщ=\"0.00\" ДоходОбщНеНал=\"0.00\" "
    "ДоходОбщНал=\"0.00\" СумНалВыч=\"0.00\" СумРасхУм=\"0.00\" СумДохДивКИК=\"0.00\" НалБаза=\"0.00\"/>"
    "<РасчНалПУ Исчисл=\"0\" УдержОбщ=\"0\" УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" "
    "ОбщАвУплЗач227.1=\"0\" УплИнПодлЗач=\"0\" УплПатентЗач=\"0\" ПодлУпл=\"0\" ПодлВозв=\"0\"/></НалБаза>";

TEST(SectionsExport, BudgetLinesThenTaxBasesDividendsFirst) {
    ExportFixture f;
    ReturnComputation& s = *f.sum;
    s.section1.lines = {
        {Cp1251Text{"18210102010011000110"}, Cp1251Text{"45382000"}, Cp1251Text{"2"}, rub(5200)},
        {Cp1251Text{"18210102030011000110"}, Cp1251Text{"45382000000"}, Cp1251Text{"1"}, rub(1300)},
        {Cp1251Text{"18210102020011000110"}, Cp1251Text{"45382000"}, Cp1251Text{"3"}, Money()}};
    s.section1.lineCount = 3;
    s.section2Other13.rateCode = "13";
    s.section2Other13.totalIncome = rub(600000, 55);
    s.section2Other13.taxableIncome = rub(600000, 55);
    s.section2Other13.deductions = rub(40000);
    s.section2Other13.taxBase = rub(560000, 55);
    s.section2Other13.taxCalculated = rub(72800);
    s.section2Other13.taxWithheld = rub(78000);
    s.section2Other13.taxToRefund = rub(5200);
    s.section2Dividends13.rateCode = "13";
    s.section2Dividends13.totalIncome = rub(10000);
    s.section2Dividends13.taxBase = rub(10000);
    s.section2Dividends13.taxCalculated = rub(1300);
    s.section2Dividends13.taxToPay = rub(1300);
    s.section2Rate9.rateCode = "09";
    s.section2Rate9.totalIncome = rub(100);
    // Figures that cancel out: the sheet holds nothing to declare.
    s.section2Rate35.rateCode = "35";
    s.section2Rate35.totalIncome = rub(100);
    s.section2Rate35.deductions = -rub(100);

    writeSections(f.body(), s);
    EXPECT_EQ(
        f.bodyText(),
        wrapped("<СумНалПу ПрУплВозв=\"2\" КБК=\"18210102010011000110\" ОКТМО=\"45382000\" ПодлУпл=\"0\" "
                "ПодлВозв=\"5200\"/><СумНалПу ПрУплВозв=\"1\" КБК=\"18210102030011000110\" "
                "ОКТМО=\"45382000000\" ПодлУпл=\"1300\" ПодлВозв=\"0\"/><СумНалПу ПрУплВозв=\"3\" "
                "КБК=\"18210102020011000110\" ОКТМО=\"45382000\" ПодлУпл=\"0\" ПодлВозв=\"0\"/>"
                "<НалБаза Ставка=\"13\" ВидДоход=\"1\"><РасчНалБаза ДоходОбщ=\"10000.00\" "
                "ДоходОбщНеНал=\"0.00\" ДоходОбщНал=\"0.00\" СумНалВыч=\"0.00\" СумРасхУм=\"0.00\" "
                "СумДохДивКИК=\"0.00\" НалБаза=\"10000.00\"/><РасчНалПУ Исчисл=\"1300\" УдержОбщ=\"0\" "
                "УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" ОбщАвУплЗач227.1=\"0\" "
                "УплИнПодлЗач=\"0\" УплПатентЗач=\"0\" ПодлУпл=\"1300\" ПодлВозв=\"0\"/></НалБаза>"
                "<НалБаза Ставка=\"13\" ВидДоход=\"3\"><РасчНалБаза ДоходОбщ=\"600000.55\" "
                "ДоходОбщНеНал=\"0.00\" ДоходОбщНал=\"600000.55\" СумНалВыч=\"40000.00\" "
                "СумРасхУм=\"0.00\" СумДохДивКИК=\"0.00\" НалБаза=\"560000.55\"/><РасчНалПУ "
                "Исчисл=\"72800\" УдержОбщ=\"78000\" УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" "
                "ОбщАвУплЗач227.1=\"0\" УплИнПодлЗач=\"0\" УплПатентЗач=\"0\" ПодлУпл=\"0\" "
                "ПодлВозв=\"5200\"/></НалБаза><НалБаза Ставка=\"09\" ВидДоход=\"3\"><РасчНалБаза "
                "ДоходОбщ=\"100.00\" ДоходОбщНеНал=\"0.00\" ДоходОбщНал=\"0.00\" СумНалВыч=\"0.00\" "
                "СумРасхУм=\"0.00\" СумДохДивКИК=\"0.00\" НалБаза=\"0.00\"/><РасчНалПУ Исчисл=\"0\" "
                "УдержОбщ=\"0\" УдержОбщМВ=\"0\" ТСУплПерЗач=\"0\" УплАвФакт=\"0\" "
                "ОбщАвУплЗач227.1=\"0\" УплИнПодлЗач=\"0\" УплПатентЗач=\"0\" ПодлУпл=\"0\" "
                "ПодлВозв=\"0\"/></НалБаза>"));
}

TEST(SectionsExport, WithoutFiguresTheGeneralBaseStands) {
    struct Case {
        const char* name;
        void (*setup)(ReturnComputation&);
    } cases[] = {
        {"all zero", [](ReturnComputation&) {}},
        {"only amounts payable or refundable",
         [](ReturnComputation& s) {
             s.section2Rate30.rateCode = "30";
             s.section2Rate30.taxToRefund = rub(500);
         }},
        {"figures that cancel",
         [](ReturnComputation& s) {
             s.section2Dividends15.rateCode = "15";
             s.section2Dividends15.totalIncome = rub(100);
             s.section2Dividends15.deductions = -rub(150);
         }},
    };
    for (const Case& c : cases) {
        ExportFixture f;
        f.sum->section2Other13.rateCode = "13";
        c.setup(*f.sum);
        writeSections(f.body(), *f.sum);
        EXPECT_EQ(f.bodyText(), wrapped(kZeroBase13)) << c.name;
    }
}

} // namespace
} // namespace kv::test
