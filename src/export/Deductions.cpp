// Standard, social and investment deductions ("ВычСтандСоц"), property sale
// deductions ("ИмущНалВычПр") and the housing purchase deduction ("ИмущНалВычНов").
#include "compute/ReturnComputation.h"
#include "core/Text.h"
#include "export/ExportText.h"
#include "export/ReturnWriters.h"
#include "model/Declaration.h"

#include <string>

#include <optional>

namespace kv {
namespace {

const Money kZero;

void setIfPositive(xml::Element e, const char* name, Money amount, int width) {
    if (amount > kZero)
        e.set(name, figure(amountText(width, amount)));
}

void writeStandardSocial(xml::Element body, const Declaration& d, const Appendix5Sheet& s) {
    if (d.kind() != ReturnKind::Resident)
        return;
    if (s.standardByAgents + s.socialByAgents + s.stdSocialInReturn + s.investmentDeduction +
            s.investmentRestored <=
        kZero)
        return;
    xml::Element e = body.append("ВычСтандСоц");
    e.set("ВычСтандСоц", figure(amountText(14, s.stdSocialInReturn)));

    xml::Element standard = e.append("РасчВычСтанд");
    setIfPositive(standard, "ВычСт218.1.1", s.std3000, 8);
    setIfPositive(standard, "ВычСт218.1.2", s.std500, 8);
    setIfPositive(standard, "ВычСтРеб", s.child, 8);
    setIfPositive(standard, "ВычСтРебЕд", s.childSingleParent, 8);
    setIfPositive(standard, "ВычСтРебИнв", s.disabledChild, 8);
    setIfPositive(standard, "ВычСтРебИнвЕд", s.disabledChildSingleParent, 8);
    setIfPositive(standard, "ОбщВычСтандПер", s.standardByAgents, 8);
    standard.set("ОбщВычСтандДекл", figure(amountText(8, s.standardInReturn)));

    if (s.socialUncappedTotal > kZero) {
        xml::Element uncapped = e.append("РасчВычСоцБез219.2");
        setIfPositive(uncapped, "СумБлагЦел", s.charity, 14);
        setIfPositive(uncapped, "СумОбуч", s.childEducation, 14);
        setIfPositive(uncapped, "СумЛечен", s.expensiveTreatment, 14);
        uncapped.set("ИтогВычСоциал", figure(amountText(14, s.socialUncappedTotal)));
    }
    if (s.socialByAgents + s.socialInReturn > kZero) {
        xml::Element capped = e.append("РасчВычСоц219.2");
        setIfPositive(capped, "СумОбуч", s.ownEducation, 14);
        setIfPositive(capped, "СумМедУсл", s.medicalServices, 14);
        setIfPositive(capped, "СумЛекПреп", s.medicines, 14);
        setIfPositive(capped, "СумЛичСтрах", s.voluntaryInsurance, 14);
        setIfPositive(capped, "СумПенсСтрах", s.pensionContributions, 14);
        setIfPositive(capped, "СумОценКвалиф", s.qualificationAssessment, 14);
        setIfPositive(capped, "ОбщСумРасх", s.cappedExpensesTotal, 14);
        setIfPositive(capped, "ОбщСНВОтчПерНА", s.socialByAgents, 14);
        capped.set("ОбщВычСоциал", figure(amountText(14, s.socialInReturn)));
    }
    if (s.investmentDeduction + s.investmentRestored > kZero)
        e.append("РасчИнвВыч")
            .set("СумИнвВыч219", figure(amountText(14, s.investmentDeduction)))
            .set("ИнвВычПредВосст", figure(amountText(14, s.investmentRestored)));
}

// A child whose every amount is its own single attribute, written when the amount is positive.
void writeSingle(xml::Element parent, const char* child, const char* attribute, Money amount) {
    if (amount > kZero)
        parent.append(child).set(attribute, figure(amountText(14, amount)));
}

void writePropertySale(xml::Element body, const Appendix6Sheet& s) {
    if (s.totalPropertySale <= kZero)
        return;
    xml::Element e = body.append("ИмущНалВычПр");
    e.set("ОбщИмущВыч", figure(amountText(14, s.totalPropertySale)));

    if (s.housingSaleDeduction + s.housingCosts + s.housingShareDeduction + s.housingShareCosts > kZero) {
        xml::Element c = e.append("ВычДохНедвЖил");
        setIfPositive(c, "ВычПродИмущ", s.housingSaleDeduction, 9);
        setIfPositive(c, "РасхПриобИмущ", s.housingCosts, 14);
        setIfPositive(c, "ВычПродИмущДол", s.housingShareDeduction, 9);
        setIfPositive(c, "РасхПриобИмущДол", s.housingShareCosts, 14);
    }
    if (s.otherRealDeduction + s.otherRealCosts > kZero) {
        xml::Element c = e.append("ВычПродНедвИн");
        setIfPositive(c, "ВычДохПродИмущ", s.otherRealDeduction, 8);
        setIfPositive(c, "РасхПриобрИмущ", s.otherRealCosts, 14);
    }
    if (s.otherPropertyDeduction + s.otherPropertyCosts > kZero) {
        xml::Element c = e.append("ВычПродИмущИн");
        setIfPositive(c, "ВычДохПродИмущ", s.otherPropertyDeduction, 8);
        setIfPositive(c, "РасхПриобрИмущ", s.otherPropertyCosts, 14);
    }
    writeSingle(e, "ВычИзъятИмущГМН", "ВычДохИзъятИмущ", s.seizureIncome);
    if (s.liquidationIncome + s.cfcRightsIncome > kZero) {
        xml::Element c = e.append("ВычЛиквИОиКИК");
        setIfPositive(c, "ВычДохЛиквИО", s.liquidationIncome, 14);
        setIfPositive(c, "ВычДохПравКИК", s.cfcRightsIncome, 14);
    }
    writeSingle(e, "РасхВычПродУК", "ВычПдтвРасхПродУК", s.shareSaleCosts);
    writeSingle(e, "РасхВычПрдСр", "ВычПдтвРасхПрдСр", s.rightsAssignmentCosts);
    writeSingle(e, "РасхВычУмСтУК", "ВычПдтвРасхУмСтУК", s.capitalReductionCosts);
    writeSingle(e, "РасхВычУстПрав", "ВычПдтвРасхУстПрав", s.claimRightsCosts);
}

// The owner's sign of the form: the entry dialog offers signs 1 to 5, each with a
// pensioner's variant. Another value has no code and leaves the attribute out.
std::optional<AsciiText> ownerSign(std::int32_t sign, bool pensioner) {
    switch (sign) {
    case 1:
        return pensioner ? AsciiText("11") : AsciiText("01");
    case 2:
        return pensioner ? AsciiText("12") : AsciiText("02");
    case 3:
        return pensioner ? AsciiText("04") : AsciiText("03");
    case 4:
        return pensioner ? AsciiText("14") : AsciiText("13");
    case 5:
        return pensioner ? AsciiText("24") : AsciiText("23");
    default:
        return std::nullopt;
    }
}

void writeObject(xml::Element parent, const HousingObject& o) {
    xml::Element e = parent.append("СвОбъектРасх");
    e.set("КодНаимОб", figure(o.objectKind == 8 ? std::string("4") : std::to_string(o.objectKind)));
    if (const auto sign = ownerSign(o.taxpayerSign, o.isPensioner != 0))
        e.set("ПризнакНП", *sign);
    if (o.byInvestmentContract != 0) {
        e.set("ДатаАкт", exportDate(o.transferActDate));
    } else {
        e.set("ДатаРегЖил", exportDate(o.rightRegistrationDate));
        if (o.objectKind > 4)
            e.set("ДатаРегЗем", exportDate(o.landRegistrationDate));
    }
    if (o.before2014 != 0)
        e.set("ДолСобств",
              figure(std::to_string(o.shareNumerator) + "/" + std::to_string(o.shareDenominator)));
    e.set("СумРасхФакт", figure(amountText(10, o.yearDeduction)))
        .set("СумФактУплПроц", figure(amountText(10, o.mortgageInterest)));

    xml::Element info = e.append("СведОбъект");
    if (o.objectKind == 1 && o.houseAcquisitionMethod != 0)
        info.set("СпособПриобр", figure(std::to_string(o.houseAcquisitionMethod)));
    info.set("КодНомерОб", figure(std::to_string(o.numberKind)));
    if (o.numberKind == 4) {
        info.set("СведМНОб", o.objectAddress);
    } else {
        info.set("НомерОб", o.objectNumber);
        if (!trimText(o.objectAddress).empty())
            info.set("СведМНОб", o.objectAddress);
    }
}

void writePropertyPurchase(xml::Element body, const Declaration& d, const Appendix7Sheet& s) {
    const PropertyDeduction& property = d.propertyDeductions;
    if (property.granted == 0 || d.kind() != ReturnKind::Resident || property.objects.count() == 0 ||
        d.incomeFlags() == 0)
        return;
    xml::Element calc = body.append("ИмущНалВычНов").append("РасчИмущВыч");
    calc.set("ВычНовЗачПред", figure(amountText(10, s.purchaseCreditedBefore)))
        .set("ВычПроцЗачПред", figure(amountText(10, s.interestCreditedBefore)))
        .set("ВычНАУвед", figure(amountText(10, s.purchaseByAgent)))
        .set("ПроцНАУвед", figure(amountText(10, s.interestByAgent)))
        .set("НалБаз13БезВыч", figure(amountText(14, s.base13WithoutDeduction)))
        .set("РасхНовВычНД", figure(amountText(10, s.purchaseThisReturn)))
        .set("ПроцВычНД", figure(amountText(10, s.interestThisReturn)))
        .set("ОстИВБезПроц", figure(amountText(10, s.purchaseCarriedForward)))
        .set("ОстИВУплПроц", figure(amountText(10, s.interestCarriedForward)));
    for (const HousingObject& o : property.objects)
        writeObject(calc, o);
}

} // namespace

void writeDeductions(xml::Element body, const Declaration& d, const ReturnComputation& sum) {
    writeStandardSocial(body, d, sum.stdSocialDeductions);
    writePropertySale(body, sum.propertySale);
    writePropertyPurchase(body, d, sum.propertyPurchase);
}

} // namespace kv
