// Standard, social and investment deductions; property sale; housing purchase with its objects.
#include "ExportTestSupport.h"
#include "support/TestValues.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(DeductionsExport, StandardSocialAndInvestment) {
    ExportFixture f;
    Appendix5Sheet& s = f.sum->stdSocialDeductions;
    s.std3000 = rub(1000000); // beyond the width: clamped
    s.std500 = rub(6000);
    s.child = rub(16800);
    s.standardByAgents = rub(1400);
    s.standardInReturn = rub(21400);
    s.charity = rub(1000);
    s.childEducation = rub(50000);
    s.socialUncappedTotal = rub(51000);
    s.ownEducation = rub(120000);
    s.medicalServices = rub(10000);
    s.cappedExpensesTotal = rub(120000);
    s.socialInReturn = rub(171000);
    s.stdSocialInReturn = rub(192400);
    s.investmentRestored = rub(500);
    writeDeductions(f.body(), f.doc, *f.sum);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ВычСтандСоц ВычСтандСоц=\"192400.00\"><РасчВычСтанд ВычСт218.1.1=\"999999.99\" "
                      "ВычСт218.1.2=\"6000.00\" ВычСтРеб=\"16800.00\" ОбщВычСтандПер=\"1400.00\" "
                      "ОбщВычСтандДекл=\"21400.00\"/><РасчВычСоцБез219.2 СумБлагЦел=\"1000.00\" "
                      "СумОбуч=\"50000.00\" ИтогВычСоциал=\"51000.00\"/><РасчВычСоц219.2 "
                      "СумОбуч=\"120000.00\" СумМедУсл=\"10000.00\" ОбщСумРасх=\"120000.00\" "
                      "ОбщВычСоциал=\"171000.00\"/><РасчИнвВыч СумИнвВыч219=\"0.00\" "
                      "ИнвВычПредВосст=\"500.00\"/></ВычСтандСоц>"));
}

TEST(DeductionsExport, StandardSocialConditions) {
    struct Case {
        const char* name;
        int kind;
        Money byAgents;
        std::string expected;
    } cases[] = {
        {"only granted by the employer", 0, rub(16800),
         "<ВычСтандСоц ВычСтандСоц=\"0.00\"><РасчВычСтанд ВычСтРеб=\"1.00\" ОбщВычСтандПер=\"16800.00\" "
         "ОбщВычСтандДекл=\"0.00\"/></ВычСтандСоц>"},
        {"non-resident", 1, rub(16800), ""},
        {"a detail without a total", 0, Money(), ""},
    };
    for (const Case& c : cases) {
        ExportFixture f;
        f.doc.declarationKind = static_cast<std::uint8_t>(c.kind);
        f.sum->stdSocialDeductions.standardByAgents = c.byAgents;
        f.sum->stdSocialDeductions.child = rub(1);
        writeDeductions(f.body(), f.doc, *f.sum);
        EXPECT_EQ(f.bodyText(), wrapped(c.expected)) << c.name;
    }
}

TEST(DeductionsExport, PropertySaleChildrenByCondition) {
    ExportFixture f;
    Appendix6Sheet& s = f.sum->propertySale;
    s.housingSaleDeduction = rub(1000000);
    s.otherPropertyCosts = rub(5000);
    s.seizureIncome = rub(300);
    s.liquidationIncome = rub(0);
    s.cfcRightsIncome = rub(70);
    s.claimRightsCosts = rub(10);
    s.totalPropertySale = rub(1005380);
    writeDeductions(f.body(), f.doc, *f.sum);
    EXPECT_EQ(
        f.bodyText(),
        wrapped("<ИмущНалВычПр ОбщИмущВыч=\"1005380.00\"><ВычДохНедвЖил ВычПродИмущ=\"1000000.00\"/>"
                "<ВычПродИмущИн РасхПриобрИмущ=\"5000.00\"/><ВычИзъятИмущГМН ВычДохИзъятИмущ=\"300.00\"/>"
                "<ВычЛиквИОиКИК ВычДохПравКИК=\"70.00\"/><РасхВычУстПрав "
                "ВычПдтвРасхУстПрав=\"10.00\"/></ИмущНалВычПр>"));

    ExportFixture none;
    none.sum->propertySale.housingCosts = rub(5);
    writeDeductions(none.body(), none.doc, *none.sum);
    EXPECT_EQ(none.bodyText(), wrapped(""));
}

HousingObject object(int kind, int sign, int numberKind, const char* number, const char* address) {
    HousingObject o;
    o.objectKind = kind;
    o.taxpayerSign = sign;
    o.numberKind = numberKind;
    o.objectNumber = Cp1251Text::fromBytes(std::string_view(number));
    o.objectAddress = u(address);
    return o;
}

void fillHousing(ExportFixture& f) {
    PropertyDeduction& p = f.doc.propertyDeductions;
    p.granted = 1;
    HousingObject flat = object(2, 1, 1, "77:01:0001", "Москва");
    flat.isPensioner = 1;
    flat.rightRegistrationDate = date(2007, 6, 1);
    flat.before2014 = -1;
    flat.shareNumerator = 1;
    flat.shareDenominator = 2;
    flat.yearDeduction = rub(130000);
    flat.mortgageInterest = rub(50000);
    p.objects.add(flat);
    HousingObject house = object(7, 3, 4, "1", "д. Ивановка");
    house.houseAcquisitionMethod = 2;
    house.rightRegistrationDate = date(2015, 2, 3);
    house.landRegistrationDate = date(2015, 2, 4);
    p.objects.add(house);
    HousingObject built = object(1, 5, 2, "u-1", "  ");
    built.byInvestmentContract = 1;
    built.transferActDate = date(2019, 12, 31);
    built.houseAcquisitionMethod = 1;
    p.objects.add(built);
    p.objects.add(object(8, 9, 3, "inv-7", "Тула"));
    // That owner's sign (9) is none the entry dialog offers: written without a code, which
    // the form's schema refuses.
    f.bodyKeepsToSchema = false;
    Appendix7Sheet& s = f.sum->propertyPurchase;
    s.purchaseCreditedBefore = rub(100);
    s.base13WithoutDeduction = rub(600000);
    s.purchaseThisReturn = rub(130000);
    s.purchaseCarriedForward = rub(1000000);
}

TEST(DeductionsExport, HousingPurchaseWithObjects) {
    ExportFixture f;
    fillHousing(f);
    writeDeductions(f.body(), f.doc, *f.sum);
    EXPECT_EQ(f.bodyText(),
              wrapped("<ИмущНалВычНов><РасчИмущВыч ВычНовЗачПред=\"100.00\" ВычПроцЗачПред=\"0.00\" "
                      "ВычНАУвед=\"0.00\" ПроцНАУвед=\"0.00\" НалБаз13БезВыч=\"600000.00\" "
                      "РасхНовВычНД=\"130000.00\" ПроцВычНД=\"0.00\" ОстИВБезПроц=\"1000000.00\" "
                      "ОстИВУплПроц=\"0.00\"><СвОбъектРасх КодНаимОб=\"2\" ПризнакНП=\"11\" "
                      "ДатаРегЖил=\"01.06.2007\" ДолСобств=\"1/2\" СумРасхФакт=\"130000.00\" "
                      "СумФактУплПроц=\"50000.00\"><СведОбъект КодНомерОб=\"1\" НомерОб=\"77:01:0001\" "
                      "СведМНОб=\"МОСКВА\"/></СвОбъектРасх><СвОбъектРасх КодНаимОб=\"7\" ПризнакНП=\"03\" "
                      "ДатаРегЖил=\"03.02.2015\" ДатаРегЗем=\"04.02.2015\" СумРасхФакт=\"0.00\" "
                      "СумФактУплПроц=\"0.00\"><СведОбъект КодНомерОб=\"4\" СведМНОб=\"Д. ИВАНОВКА\"/>"
                      "</СвОбъектРасх><СвОбъектРасх КодНаимОб=\"1\" ПризнакНП=\"23\" ДатаАкт=\"31.12.2019\" "
                      "СумРасхФакт=\"0.00\" СумФактУплПроц=\"0.00\"><СведОбъект СпособПриобр=\"1\" "
                      "КодНомерОб=\"2\" НомерОб=\"U-1\"/></СвОбъектРасх><СвОбъектРасх КодНаимОб=\"4\" "
                      "ДатаРегЖил=\"01.01.2003\" ДатаРегЗем=\"30.12.1899\" СумРасхФакт=\"0.00\" "
                      "СумФактУплПроц=\"0.00\"><СведОбъект КодНомерОб=\"3\" НомерОб=\"INV-7\" "
                      "СведМНОб=\"ТУЛА\"/></СвОбъектРасх></РасчИмущВыч></ИмущНалВычНов>"));
}

TEST(DeductionsExport, HousingPurchaseConditionsAndOwnerSigns) {
    struct Case {
        const char* name;
        void (*change)(ExportFixture&);
    } absent[] = {
        {"not granted", [](ExportFixture& f) { f.doc.propertyDeductions.granted = 0; }},
        {"non-resident", [](ExportFixture& f) { f.doc.declarationKind = 1; }},
        {"no object", [](ExportFixture& f) { f.doc.propertyDeductions.objects.clear(); }},
        {"no incomes", [](ExportFixture& f) { f.doc.setIncomeFlags(0); }},
    };
    for (const Case& c : absent) {
        ExportFixture f;
        fillHousing(f);
        c.change(f);
        writeDeductions(f.body(), f.doc, *f.sum);
        EXPECT_EQ(f.bodyText(), wrapped("")) << c.name;
    }

    const std::tuple<int, int, std::string> signs[] = {{1, 0, "01"}, {1, 1, "11"}, {2, 0, "02"}, {2, 1, "12"},
                                                       {3, 0, "03"}, {3, 1, "04"}, {4, 0, "13"}, {4, 1, "14"},
                                                       {5, 0, "23"}, {5, 1, "24"}};
    for (const auto& [sign, pensioner, code] : signs) {
        ExportFixture f;
        fillHousing(f);
        HousingObject& o = f.doc.propertyDeductions.objects.get(0);
        o.taxpayerSign = sign;
        o.isPensioner = static_cast<std::uint8_t>(pensioner);
        writeDeductions(f.body(), f.doc, *f.sum);
        EXPECT_NE(f.bodyText().find("<СвОбъектРасх КодНаимОб=\"2\" ПризнакНП=\"" + code + "\""),
                  std::string::npos)
            << sign << " " << pensioner;
    }
}

// Every amount large enough that each width shows by its clamp (or by the lack of one),
// and a swapped pair of attributes or children shows in the order.
TEST(DeductionsExport, EveryAttributeInFormOrderAtItsWidth) {
    const Money big = rub(10000000000);
    ExportFixture f;
    f.doc.propertyDeductions.granted = 1;
    HousingObject flat = object(2, 1, 1, "1", "");
    flat.yearDeduction = big;
    flat.mortgageInterest = big;
    f.doc.propertyDeductions.objects.add(flat);
    ReturnComputation& s = *f.sum;
    Appendix5Sheet& a5 = s.stdSocialDeductions;
    for (Money* m : {&a5.std3000,
                     &a5.std500,
                     &a5.child,
                     &a5.childSingleParent,
                     &a5.disabledChild,
                     &a5.disabledChildSingleParent,
                     &a5.standardByAgents,
                     &a5.standardInReturn,
                     &a5.charity,
                     &a5.childEducation,
                     &a5.expensiveTreatment,
                     &a5.socialUncappedTotal,
                     &a5.ownEducation,
                     &a5.medicalServices,
                     &a5.medicines,
                     &a5.voluntaryInsurance,
                     &a5.pensionContributions,
                     &a5.qualificationAssessment,
                     &a5.cappedExpensesTotal,
                     &a5.socialByAgents,
                     &a5.socialInReturn,
                     &a5.stdSocialInReturn,
                     &a5.investmentDeduction,
                     &a5.investmentRestored})
        *m = big;
    Appendix6Sheet& a6 = s.propertySale;
    for (Money* m :
         {&a6.housingSaleDeduction, &a6.housingCosts, &a6.housingShareCosts, &a6.housingShareDeduction,
          &a6.otherRealDeduction, &a6.otherRealCosts, &a6.otherPropertyDeduction, &a6.otherPropertyCosts,
          &a6.seizureIncome, &a6.liquidationIncome, &a6.cfcRightsIncome, &a6.shareSaleCosts,
          &a6.rightsAssignmentCosts, &a6.capitalReductionCosts, &a6.claimRightsCosts, &a6.totalPropertySale})
        *m = big;
    Appendix7Sheet& a7 = s.propertyPurchase;
    for (Money* m : {&a7.purchaseCreditedBefore, &a7.interestCreditedBefore, &a7.purchaseByAgent,
                     &a7.interestByAgent, &a7.base13WithoutDeduction, &a7.purchaseThisReturn,
                     &a7.interestThisReturn, &a7.purchaseCarriedForward, &a7.interestCarriedForward})
        *m = big;

    writeDeductions(f.body(), f.doc, s);
    const std::string w8 = "\"999999.99\"", w9 = "\"9999999.99\"", w10 = "\"99999999.99\"",
                      w14 = "\"10000000000.00\"";
    EXPECT_EQ(
        f.bodyText(),
        wrapped("<ВычСтандСоц ВычСтандСоц=" + w14 + "><РасчВычСтанд ВычСт218.1.1=" + w8 +
                " ВычСт218.1.2=" + w8 + " ВычСтРеб=" + w8 + " ВычСтРебЕд=" + w8 + " ВычСтРебИнв=" + w8 +
                " ВычСтРебИнвЕд=" + w8 + " ОбщВычСтандПер=" + w8 + " ОбщВычСтандДекл=" + w8 +
                "/><РасчВычСоцБез219.2 СумБлагЦел=" + w14 + " СумОбуч=" + w14 + " СумЛечен=" + w14 +
                " ИтогВычСоциал=" + w14 + "/><РасчВычСоц219.2 СумОбуч=" + w14 + " СумМедУсл=" + w14 +
                " СумЛекПреп=" + w14 + " СумЛичСтрах=" + w14 + " СумПенсСтрах=" + w14 +
                " СумОценКвалиф=" + w14 + " ОбщСумРасх=" + w14 + " ОбщСНВОтчПерНА=" + w14 +
                " ОбщВычСоциал=" + w14 + "/><РасчИнвВыч СумИнвВыч219=" + w14 + " ИнвВычПредВосст=" + w14 +
                "/></ВычСтандСоц><ИмущНалВычПр ОбщИмущВыч=" + w14 + "><ВычДохНедвЖил ВычПродИмущ=" + w9 +
                " РасхПриобИмущ=" + w14 + " ВычПродИмущДол=" + w9 + " РасхПриобИмущДол=" + w14 +
                "/><ВычПродНедвИн ВычДохПродИмущ=" + w8 + " РасхПриобрИмущ=" + w14 +
                "/><ВычПродИмущИн ВычДохПродИмущ=" + w8 + " РасхПриобрИмущ=" + w14 +
                "/><ВычИзъятИмущГМН ВычДохИзъятИмущ=" + w14 + "/><ВычЛиквИОиКИК ВычДохЛиквИО=" + w14 +
                " ВычДохПравКИК=" + w14 + "/><РасхВычПродУК ВычПдтвРасхПродУК=" + w14 +
                "/><РасхВычПрдСр ВычПдтвРасхПрдСр=" + w14 + "/><РасхВычУмСтУК ВычПдтвРасхУмСтУК=" + w14 +
                "/><РасхВычУстПрав ВычПдтвРасхУстПрав=" + w14 +
                "/></ИмущНалВычПр><ИмущНалВычНов><РасчИмущВыч "
                "ВычНовЗачПред=" +
                w10 + " ВычПроцЗачПред=" + w10 + " ВычНАУвед=" + w10 + " ПроцНАУвед=" + w10 +
                " НалБаз13БезВыч=" + w14 + " РасхНовВычНД=" + w10 + " ПроцВычНД=" + w10 +
                " ОстИВБезПроц=" + w10 + " ОстИВУплПроц=" + w10 +
                "><СвОбъектРасх КодНаимОб=\"2\" ПризнакНП=\"01\" ДатаРегЖил=\"01.01.2003\" "
                "СумРасхФакт=" +
                w10 + " СумФактУплПроц=" + w10 +
                "><СведОбъект КодНомерОб=\"1\" НомерОб=\"1\"/>"
                "</СвОбъектРасх></РасчИмущВыч></ИмущНалВычНов>"));
}

} // namespace
} // namespace kv::test
