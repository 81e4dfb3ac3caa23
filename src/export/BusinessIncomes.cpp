// Business and private-practice incomes with the professional deductions
// ("ДоходПредпр"), and incomes exempt up to a limit ("ДоходОсвПрев").
#include "compute/ReturnComputation.h"
#include "export/ReturnWriters.h"
#include "model/Declaration.h"

#include <cstdio>

namespace kv {
namespace {

void setIfNonZero(xml::Element e, const char* name, Money amount, int width) {
    if (!amount.isZero())
        e.set(name, figure(amountText(width, amount)));
}

void setIfPositive(xml::Element e, const char* name, Money amount, int width) {
    if (amount > Money())
        e.set(name, figure(amountText(width, amount)));
}

void writeActivity(xml::Element parent, const BusinessActivity& b) {
    xml::Element e = parent.append("РасчВидДеят");
    e.set("ВидДеят", "0" + b.activityKind);
    if (b.activityKind == "1")
        e.set("ОКВЭД", b.okvedCode);
    e.set("Доход", figure(amountText(14, b.incomeAmount)));
    if (b.hasDocumentedExpenses != 0) {
        setIfNonZero(e, "РасхФакт", b.totalExpenses, 14);
        setIfNonZero(e, "РасхФМат", b.materialExpenses, 14);
        setIfNonZero(e, "РасхФАмНач", b.depreciation, 14);
        setIfNonZero(e, "РасхФОплТруд", b.labourExpenses, 14);
        setIfNonZero(e, "РасхФПроч", b.otherExpenses, 14);
    }
}

template <class Sheet> void writeProfessional(xml::Element parent, const Sheet& s, AsciiText source) {
    if (s.total <= Money())
        return;
    xml::Element e = parent.append("ПрофНалВыч");
    e.set("ИстДоход", source);
    setIfPositive(e, "РасхФактДогГПХ", s.civilContractExpenses, 14);
    setIfPositive(e, "РасхФактАвтВозн", s.authorActualExpenses, 14);
    setIfPositive(e, "РасхНормАвтВозн", s.authorNormExpenses, 14);
    e.set("ОбщРасхВыч", figure(amountText(14, s.total)));
}

void writeBusinessBlock(xml::Element body, const Declaration& d, const ReturnComputation& sum) {
    const bool business = d.has(IncomeKind::Business);
    if (d.businessIncomes.count() == 0 && sum.profDeductRussia.total <= Money() &&
        sum.profDeductForeign.total <= Money())
        return;

    xml::Element e = body.append("ДоходПредпр");
    if (business && d.businessIncomes.count() > 0) {
        e.set("ДоходИт", figure(amountText(14, sum.business.totalIncome)))
            .set("ВычПрофИт", figure(amountText(14, sum.business.professionalDeductions)));
        if (sum.business.advancesPaid > Money())
            e.set("УплФактАвИт", figure(wholeAmountText(12, sum.business.advancesPaid)));
        for (const BusinessActivity& b : d.businessIncomes)
            writeActivity(e, b);
        if (d.isFarmHousehold != 0) {
            char year[8];
            std::snprintf(year, sizeof year, "%04d", d.farmFoundingDate.year() % 10000);
            e.append("СведКФХ").set("ГодРегКФХ", Cp1251Text::fromBytes(std::string_view(year)));
        }
        if (d.adjustedBase > Money() || d.adjustedTax > Money())
            e.append("НБКор105.3")
                .set("НБКорСам", figure(amountText(14, d.adjustedBase)))
                .set("НалКорСам", figure(wholeAmountText(12, d.adjustedTax)));
    } else {
        // The form needs one kind of activity even when only professional deductions are declared.
        e.set("ДоходИт", figure(amountText(14, Money()))).set("ВычПрофИт", figure(amountText(14, Money())));
        e.append("РасчВидДеят").set("ВидДеят", "09").set("Доход", figure(amountText(14, Money())));
    }
    writeProfessional(e, sum.profDeductRussia, "1");
    writeProfessional(e, sum.profDeductForeign, "2");
}

void writeExempt(xml::Element body, const Appendix4Sheet& x) {
    if (x.totalExempt <= Money())
        return;
    xml::Element e = body.append("ДоходОсвПрев");
    setIfPositive(e, "МатПомРожд", x.maternityAid, 9);
    setIfPositive(e, "СтоимПодар", x.gifts, 6);
    setIfPositive(e, "СтоимПриз", x.prizes, 6);
    setIfPositive(e, "МатПомРаб", x.employerAid, 6);
    setIfPositive(e, "ВозмМед", x.medicineRefund, 6);
    setIfPositive(e, "ПризРекл", x.advertisingPrizes, 6);
    setIfPositive(e, "МатПомИнв", x.disabledAid, 6);
    setIfPositive(e, "ВыигрЛотер", x.winnings, 6);
    setIfPositive(e, "ПомПодар", x.victimsAid, 7);
    setIfPositive(e, "ДопСВПенс", x.employerPensionContrib, 7);
    setIfPositive(e, "ДоходИн", x.otherExempt, 12);
    e.set("ДохНеНалОбщ", figure(amountText(12, x.totalExempt)));
}

} // namespace

void writeBusiness(xml::Element body, const Declaration& d, const ReturnComputation& sum) {
    writeBusinessBlock(body, d, sum);
    writeExempt(body, sum.exemptIncome);
}

} // namespace kv
