// Securities operations with their losses, real-estate sales and pension contracts.
#include "ExportTestSupport.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

Appendix8Operation operation(const char* kind, Money income, Money costs, Money expenses) {
    Appendix8Operation op;
    op.operationKind = Cp1251Text::fromBytes(std::string_view(kind));
    op.income = income;
    op.costs = costs;
    op.expenses = expenses;
    return op;
}

PensionContractLine contract(int kind, const char* number, Money deductible) {
    PensionContractLine c;
    c.contractKind = kind;
    c.fundName = u("АО НПФ Тихая гавань");
    c.fundInn = "7709990047";
    c.fundKpp = "770401001";
    c.contractNumber = Cp1251Text::fromBytes(std::string_view(number));
    c.contractDate = date(2018, 4, 9);
    c.deductible = deductible;
    return c;
}

TEST(SecuritiesExport, OperationsSalesAndPensionContractsInOrder) {
    ExportFixture f;
    ReturnComputation& s = *f.sum;
    Appendix8Operation plain = operation("01", rub(1000), Money(), Money());
    Appendix8Operation twoLosses = operation("02", rub(5000), rub(3000), rub(3000));
    twoLosses.lossFlag = 1;
    twoLosses.lossKind1 = "03";
    twoLosses.lossAmount1 = rub(100);
    twoLosses.lossKind2 = "07";
    twoLosses.lossAmount2 = rub(50, 5);
    twoLosses.invDeduction219_1 = rub(1500);
    twoLosses.invDeduction219_3 = rub(20);
    Appendix8Operation gap = operation("05", rub(10), Money(), Money());
    gap.lossFlag = 1;
    gap.lossKind1 = "09";
    gap.lossAmount1 = rub(1);
    gap.lossKind3 = "11"; // no second loss: a third is not written
    gap.lossAmount3 = rub(2);
    s.securitiesSummary.operations = {plain, twoLosses, gap};
    s.securitiesSummary.operationCount = 3;
    s.russian13.realEstateSales = {
        {Cp1251Text{"77:01:0004011:1234"}, rub(5000000), rub(3000000), rub(3500000), rub(3500000)}};
    s.russian13.realEstateSaleCount = 1;
    s.russian30.realEstateSales = {{Cp1251Text{"50:02:1"}, Money(), Money(), Money(), Money()}};
    s.russian30.realEstateSaleCount = 1;
    s.pensionContracts.contracts = {contract(1, "N-1", rub(12000)), contract(2, "n-2", rub(3000))};
    s.pensionContracts.contractCount = 2;
    s.pensionContracts.additionalDeductible = rub(1000);
    s.pensionContracts.totalDeductible = rub(16000);

    writeSecurities(f.body(), s);
    EXPECT_EQ(
        f.bodyText(),
        wrapped("<ДохОперЦБ ВидОпер=\"01\" ДохСовОпер=\"1000.00\" ПризУчетУбыт=\"0\"/><ДохОперЦБ "
                "ВидОпер=\"02\" ДохСовОпер=\"5000.00\" РасхРеалЦБ=\"3000.00\" РасхУмДохОпер=\"3000.00\" "
                "ПризУчетУбыт=\"1\" ИнвВыч219.1Опер=\"1500.00\" ИнвВыч219.3Опер=\"20.00\"><УчетУбыт "
                "ВидОперУбыт=\"03\" УбытУмДохОпер=\"100.00\"/><УчетУбыт ВидОперУбыт=\"07\" "
                "УбытУмДохОпер=\"50.05\"/></ДохОперЦБ><ДохОперЦБ ВидОпер=\"05\" ДохСовОпер=\"10.00\" "
                "ПризУчетУбыт=\"1\"><УчетУбыт ВидОперУбыт=\"09\" УбытУмДохОпер=\"1.00\"/></ДохОперЦБ>"
                "<ДохПродОНИ НомКадОтчуждОНИ=\"77:01:0004011:1234\" КадСтоимГодРег=\"5000000.00\" "
                "ДохПродЦенаДог=\"3000000.00\" КадСтоимКоэф=\"3500000.00\" ДохПродНалОбл=\"3500000.00\"/>"
                "<ДохПродОНИ НомКадОтчуждОНИ=\"50:02:1\" КадСтоимГодРег=\"0.00\" ДохПродЦенаДог=\"0.00\" "
                "КадСтоимКоэф=\"0.00\" ДохПродНалОбл=\"0.00\"/><ВычСоцИнв219><РасчПенсВзнос "
                "ОбщВзносВыч=\"16000.00\"><РасчПСВВыч СумВзносУпл=\"12000.00\"><СведДогНПО "
                "ВидДоговор=\"1\" ДатаДогНПО=\"09.04.2018\" НомДогНПО=\"N-1\"><СведИст "
                "Наим=\"АО НПФ ТИХАЯ ГАВАНЬ\" ИННЮЛ=\"7709990047\" КПП=\"770401001\"/></СведДогНПО>"
                "</РасчПСВВыч><РасчПСВВыч СумВзносУпл=\"3000.00\"><СведДогНПО ВидДоговор=\"2\" "
                "ДатаДогНПО=\"09.04.2018\" НомДогНПО=\"N-2\"><СведИст Наим=\"АО НПФ ТИХАЯ ГАВАНЬ\" "
                "ИННЮЛ=\"7709990047\" КПП=\"770401001\"/></СведДогНПО></РасчПСВВыч><РасчДопСВВыч "
                "СумВзносУпл=\"1000.00\"/></РасчПенсВзнос></ВычСоцИнв219>"));
}

TEST(SecuritiesExport, PensionBlockConditions) {
    ExportFixture additional;
    additional.sum->pensionContracts.additionalDeductible = rub(1000);
    additional.sum->pensionContracts.totalDeductible = rub(1000);
    writeSecurities(additional.body(), *additional.sum);
    EXPECT_EQ(additional.bodyText(),
              wrapped("<ВычСоцИнв219><РасчПенсВзнос ОбщВзносВыч=\"1000.00\"><РасчДопСВВыч "
                      "СумВзносУпл=\"1000.00\"/></РасчПенсВзнос></ВычСоцИнв219>"));

    ExportFixture nothing;
    writeSecurities(nothing.body(), *nothing.sum);
    EXPECT_EQ(nothing.bodyText(), wrapped(""));
}

// Amounts of a trillion roubles fit the width of the real-estate sales but not that of
// the operations and contracts.
TEST(SecuritiesExport, AmountWidths) {
    const Money trillion = rub(1000000000000);
    ExportFixture f;
    ReturnComputation& s = *f.sum;
    s.securitiesSummary.operations = {operation("01", trillion, trillion, trillion)};
    s.securitiesSummary.operationCount = 1;
    s.russian30.realEstateSales = {{Cp1251Text{"1"}, trillion, trillion, trillion, trillion}};
    s.russian30.realEstateSaleCount = 1;
    s.pensionContracts.totalDeductible = trillion;
    writeSecurities(f.body(), s);
    const std::string w14 = "\"999999999999.99\"", w15 = "\"1000000000000.00\"";
    EXPECT_EQ(f.bodyText(),
              wrapped("<ДохОперЦБ ВидОпер=\"01\" ДохСовОпер=" + w14 + " РасхРеалЦБ=" + w14 +
                      " РасхУмДохОпер=" + w14 +
                      " ПризУчетУбыт=\"0\"/><ДохПродОНИ НомКадОтчуждОНИ=\"1\" КадСтоимГодРег=" + w15 +
                      " ДохПродЦенаДог=" + w15 + " КадСтоимКоэф=" + w15 + " ДохПродНалОбл=" + w15 +
                      "/><ВычСоцИнв219><РасчПенсВзнос ОбщВзносВыч=" + w14 + "/></ВычСоцИнв219>"));
}

} // namespace
} // namespace kv::test
