// Section 1 (amounts by budget code) and Section 2 (tax base and tax by rate).
#include "compute/ReturnComputation.h"
#include "export/ReturnWriters.h"

namespace kv {
namespace {

struct SectionSheet {
    const Section2Sheet* sheet;
    AsciiText incomeKind;
};

// The fifteen figures before the amounts payable and refundable.
Money figuresTotal(const Section2Sheet& s) {
    return s.totalIncome + s.nonTaxableIncome + s.taxableIncome + s.deductions + s.expensesReducingIncome +
           s.cfcProfit + s.taxBase + s.taxCalculated + s.taxWithheld + s.taxWithheldMaterialBenefit +
           s.tradeFeeCredited + s.advancesPaid + s.fixedAdvancesPaid + s.foreignTaxCredited +
           s.patentCredited;
}

void writeTaxBase(xml::Element body, const Section2Sheet& s, AsciiText incomeKind) {
    xml::Element base = body.append("НалБаза");
    base.set("Ставка", s.rateCode).set("ВидДоход", incomeKind);
    base.append("РасчНалБаза")
        .set("ДоходОбщ", figure(amountText(15, s.totalIncome)))
        .set("ДоходОбщНеНал", figure(amountText(15, s.nonTaxableIncome)))
        .set("ДоходОбщНал", figure(amountText(15, s.taxableIncome)))
        .set("СумНалВыч", figure(amountText(15, s.deductions)))
        .set("СумРасхУм", figure(amountText(15, s.expensesReducingIncome)))
        .set("СумДохДивКИК", figure(amountText(15, s.cfcProfit)))
        .set("НалБаза", figure(amountText(15, s.taxBase)));
    base.append("РасчНалПУ")
        .set("Исчисл", figure(wholeAmountText(13, s.taxCalculated)))
        .set("УдержОбщ", figure(wholeAmountText(13, s.taxWithheld)))
        .set("УдержОбщМВ", figure(wholeAmountText(13, s.taxWithheldMaterialBenefit)))
        .set("ТСУплПерЗач", figure(wholeAmountText(13, s.tradeFeeCredited)))
        .set("УплАвФакт", figure(wholeAmountText(13, s.advancesPaid)))
        .set("ОбщАвУплЗач227.1", figure(wholeAmountText(13, s.fixedAdvancesPaid)))
        .set("УплИнПодлЗач", figure(wholeAmountText(13, s.foreignTaxCredited)))
        .set("УплПатентЗач", figure(wholeAmountText(13, s.patentCredited)))
        .set("ПодлУпл", figure(wholeAmountText(13, s.taxToPay)))
        .set("ПодлВозв", figure(wholeAmountText(13, s.taxToRefund)));
}

} // namespace

void writeSections(xml::Element body, const ReturnComputation& sum) {
    for (const Section1Line& line : sum.section1.lines) {
        body.append("СумНалПу")
            .set("ПрУплВозв", line.direction)
            .set("КБК", line.kbk)
            .set("ОКТМО", line.oktmo)
            .set("ПодлУпл", figure(line.direction == "1" ? wholeAmountText(13, line.amount) : "0"))
            .set("ПодлВозв", figure(line.direction == "2" ? wholeAmountText(13, line.amount) : "0"));
    }

    const SectionSheet sheets[] = {
        {&sum.section2Dividends13, "1"}, {&sum.section2Cfc13, "2"},  {&sum.section2Other13, "3"},
        {&sum.section2Rate30, "3"},      {&sum.section2Rate35, "3"}, {&sum.section2Rate9, "3"},
        {&sum.section2Dividends15, "1"},
    };
    bool written = false;
    for (const SectionSheet& s : sheets) {
        if (figuresTotal(*s.sheet) > Money()) {
            writeTaxBase(body, *s.sheet, s.incomeKind);
            written = true;
        }
    }
    // The form needs at least one tax base; a return without figures shows the general 13% one.
    if (!written)
        writeTaxBase(body, sum.section2Other13, "3");
}

} // namespace kv
