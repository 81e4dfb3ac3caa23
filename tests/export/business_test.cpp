// Business incomes with professional deductions, and incomes exempt up to a limit.
#include "ExportTestSupport.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(BusinessExport, ActivitiesFarmAdjustedBaseAndProfessionalDeductions) {
    ExportFixture f(Declaration::kBusinessIncomes);
    Declaration& d = f.doc;
    BusinessActivity shop;
    shop.activityKind = "1";
    shop.okvedCode = "47.11";
    shop.incomeAmount = rub(400000);
    shop.totalExpenses = rub(80000);
    shop.materialExpenses = rub(50000);
    shop.otherExpenses = rub(30000);
    d.businessIncomes.add(shop);
    BusinessActivity notary;
    notary.activityKind = "2";
    notary.okvedCode = "69.10";
    notary.hasDocumentedExpenses = 0;
    notary.incomeAmount = rub(100000);
    notary.totalExpenses = rub(1); // left from before the switch to the norm: not written
    notary.standardExpenses = rub(20000);
    d.businessIncomes.add(notary);
    d.isFarmHousehold = 1;
    d.farmFoundingDate = date(2000, 1, 1);
    d.adjustedBase = rub(100);
    ReturnComputation& s = *f.sum;
    s.business.totalIncome = rub(500000);
    s.business.professionalDeductions = rub(100000);
    s.business.advancesPaid = rub(5000);
    s.profDeductRussia.civilContractExpenses = rub(2000);
    s.profDeductRussia.total = rub(2000);

    writeBusiness(f.body(), d, s);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ДоходПредпр ДоходИт=\"500000.00\" ВычПрофИт=\"100000.00\" УплФактАвИт=\"5000\">"
                      "<РасчВидДеят ВидДеят=\"01\" ОКВЭД=\"47.11\" Доход=\"400000.00\" РасхФакт=\"80000.00\" "
                      "РасхФМат=\"50000.00\" РасхФПроч=\"30000.00\"/><РасчВидДеят ВидДеят=\"02\" "
                      "Доход=\"100000.00\"/><СведКФХ ГодРегКФХ=\"2000\"/><НБКор105.3 НБКорСам=\"100.00\" "
                      "НалКорСам=\"0\"/><ПрофНалВыч ИстДоход=\"1\" РасхФактДогГПХ=\"2000.00\" "
                      "ОбщРасхВыч=\"2000.00\"/></ДоходПредпр>"));
}

TEST(BusinessExport, ZeroFormCarriesProfessionalDeductionsOnly) {
    const std::string zeroForm =
        "<ДоходПредпр ДоходИт=\"0.00\" ВычПрофИт=\"0.00\"><РасчВидДеят ВидДеят=\"09\" "
        "Доход=\"0.00\"/>";
    struct Case {
        const char* name;
        std::uint8_t flags;
        Money russia, foreign;
        std::string expected;
    } cases[] = {
        {"author's fee, no business", Declaration::kAgentIncomes, rub(3000), Money(),
         zeroForm +
             "<ПрофНалВыч ИстДоход=\"1\" РасхНормАвтВозн=\"3000.00\" ОбщРасхВыч=\"3000.00\"/></ДоходПредпр>"},
        {"business flag without records", Declaration::kBusinessIncomes | Declaration::kForeignIncomes,
         rub(3000), rub(100),
         zeroForm +
             "<ПрофНалВыч ИстДоход=\"1\" РасхНормАвтВозн=\"3000.00\" ОбщРасхВыч=\"3000.00\"/>"
             "<ПрофНалВыч ИстДоход=\"2\" РасхНормАвтВозн=\"100.00\" ОбщРасхВыч=\"100.00\"/></ДоходПредпр>"},
        {"nothing to declare", Declaration::kBusinessIncomes, Money(), Money(), ""},
    };
    for (const Case& c : cases) {
        ExportFixture f(c.flags);
        f.sum->profDeductRussia.authorNormExpenses = c.russia;
        f.sum->profDeductRussia.total = c.russia;
        f.sum->profDeductForeign.authorNormExpenses = c.foreign;
        f.sum->profDeductForeign.total = c.foreign;
        f.sum->business.totalIncome = rub(7); // ignored in the zero form
        writeBusiness(f.body(), f.doc, *f.sum);
        EXPECT_EQ(f.bodyText(), wrapped(c.expected)) << c.name;
    }
}

TEST(BusinessExport, ExemptIncomesWithTheirWidths) {
    ExportFixture f;
    Appendix4Sheet& x = f.sum->exemptIncome;
    x.maternityAid = rub(50000);
    x.gifts = rub(4000);
    x.prizes = rub(10000);
    x.victimsAid = rub(100000);
    x.employerPensionContrib = -rub(5);
    x.totalExempt = rub(164000);
    writeBusiness(f.body(), f.doc, *f.sum);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ДоходОсвПрев МатПомРожд=\"50000.00\" СтоимПодар=\"4000.00\" "
                      "СтоимПриз=\"9999.99\" ПомПодар=\"99999.99\" ДохНеНалОбщ=\"164000.00\"/>"));

    ExportFixture none;
    none.sum->exemptIncome.gifts = rub(4000);
    writeBusiness(none.body(), none.doc, *none.sum);
    EXPECT_EQ(none.bodyText(), wrapped(""));
}

// Every amount at ten billion roubles: each attribute shows its own width by its clamp,
// and a swapped pair of attributes shows in the order.
TEST(BusinessExport, EveryAttributeInFormOrderAtItsWidth) {
    const Money big = rub(10000000000);
    ExportFixture f(Declaration::kBusinessIncomes);
    BusinessActivity shop;
    shop.activityKind = "1";
    shop.okvedCode = "47.11";
    shop.incomeAmount = big;
    shop.totalExpenses = big;
    shop.materialExpenses = big;
    shop.depreciation = big;
    shop.labourExpenses = big;
    shop.otherExpenses = big;
    f.doc.businessIncomes.add(shop);
    f.doc.adjustedTax = rub(10000000000000);
    ReturnComputation& s = *f.sum;
    s.business.totalIncome = big;
    s.business.professionalDeductions = big;
    s.business.advancesPaid = rub(10000000000000);
    s.profDeductForeign.civilContractExpenses = big;
    s.profDeductForeign.authorActualExpenses = big;
    s.profDeductForeign.authorNormExpenses = big;
    s.profDeductForeign.total = big;
    Appendix4Sheet& x = s.exemptIncome;
    for (Money* m : {&x.maternityAid, &x.gifts, &x.prizes, &x.employerAid, &x.medicineRefund,
                     &x.advertisingPrizes, &x.disabledAid, &x.winnings, &x.victimsAid,
                     &x.employerPensionContrib, &x.otherExempt, &x.totalExempt})
        *m = big;

    writeBusiness(f.body(), f.doc, s);
    const std::string b = "\"10000000000.00\"";
    EXPECT_EQ(
        f.bodyText(),
        wrapped("<ДоходПредпр ДоходИт=" + b + " ВычПрофИт=" + b +
                " УплФактАвИт=\"999999999999\">"
                "<РасчВидДеят ВидДеят=\"01\" ОКВЭД=\"47.11\" Доход=" +
                b + " РасхФакт=" + b + " РасхФМат=" + b + " РасхФАмНач=" + b + " РасхФОплТруд=" + b +
                " РасхФПроч=" + b +
                "/><НБКор105.3 НБКорСам=\"0.00\" НалКорСам=\"999999999999\"/><ПрофНалВыч "
                "ИстДоход=\"2\" РасхФактДогГПХ=" +
                b + " РасхФактАвтВозн=" + b + " РасхНормАвтВозн=" + b + " ОбщРасхВыч=" + b +
                "/></ДоходПредпр><ДоходОсвПрев МатПомРожд=\"9999999.99\" "
                "СтоимПодар=\"9999.99\" СтоимПриз=\"9999.99\" МатПомРаб=\"9999.99\" ВозмМед=\"9999.99\" "
                "ПризРекл=\"9999.99\" МатПомИнв=\"9999.99\" ВыигрЛотер=\"9999.99\" ПомПодар=\"99999.99\" "
                "ДопСВПенс=\"99999.99\" ДоходИн=\"9999999999.99\" ДохНеНалОбщ=\"9999999999.99\"/>"));
}

} // namespace
} // namespace kv::test
