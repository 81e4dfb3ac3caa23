// Incomes from Russian payers (one "ДоходИстРФ" per source) and from abroad
// (one "ДоходИстИно" per rate with one "РасчДохНалИно" per income).
#include "compute/ReturnComputation.h"
#include "core/Text.h"
#include "export/ExportText.h"
#include "export/ReturnWriters.h"
#include "model/Declaration.h"

namespace kv {
namespace {

constexpr std::size_t kPersonNameLength = 255;
constexpr std::int32_t kMaterialBenefitCode = 2620;

// A payer is a person when its INN is not an organisation's (ten characters) and it
// has no KPP; everything else is an organisation.
void writePayer(xml::Element income, const IncomeSource& s) {
    if (s.sourceInn.size() != 10 && trimText(s.sourceKpp).empty()) {
        xml::Element person = income.append("ИстФЛИн");
        person.set("ФИОИн", trimText(s.sourceName).substr(0, kPersonNameLength));
        if (!trimText(s.sourceInn).empty())
            person.set("ИННФЛ", s.sourceInn);
    } else {
        income.append("ИстЮЛ").set("Наим", s.sourceName).set("ИННЮЛ", s.sourceInn).set("КПП", s.sourceKpp);
    }
}

void writeSource(xml::Element body, const IncomeSource& s, AsciiText rate, Money income) {
    xml::Element e = body.append("ДоходИстРФ");
    e.set("Ставка", rate).set("ВидДоход", s.incomeKind);
    if (!trimText(s.sourceOktmo).empty())
        e.set("ОКТМО", s.sourceOktmo);
    e.set("Доход", figure(amountText(15, income)))
        .set("НалУдерж", figure(wholeAmountText(13, s.taxWithheld)));
    writePayer(e, s);
}

template <class List> void writeSources(xml::Element body, const List& list, AsciiText rate) {
    for (const auto& s : list)
        writeSource(body, s, rate, s.totalIncome);
}

void writeForeignLine(xml::Element parent, const ForeignIncomeLine& l, int rate) {
    const bool at13 = rate == 13;
    // Rouble amounts of the tax are whole roubles; the form gives them 12 digits at 13%.
    const int wholeWidth = at13 ? 12 : 13;
    xml::Element e = parent.append("РасчДохНалИно");
    e.set("ОКСМ", zeroPadded(l.countryCode, 3))
        .set("НаимИстДох", l.sourceName)
        .set("КодВалют", zeroPadded(l.currencyCode, 3))
        .set("КодВидДох", l.kindCode);
    if (at13 && l.cfcNumber.size() > 2)
        e.set("НомерКИК", l.cfcNumber);
    e.set("ДатаДох", exportDate(l.incomeDate))
        .set("КурсВалютДох", figure(l.incomeRateText))
        .set("ДоходИноВал", decimalPoint(l.incomeInCurrencyText))
        .set("ДоходИноРуб", figure(amountText(14, l.incomeInRubles)));
    if (at13) {
        if (l.exempt60 > Money())
            e.set("ДоходОсв60.217", figure(amountText(14, l.exempt60)));
        if (l.exempt60_1 > Money())
            e.set("ДоходОсв60.1.217", figure(amountText(14, l.exempt60_1)));
        if (l.exemptCfcDividends > Money())
            e.set("ДоходОсв66.217", figure(amountText(14, l.exemptCfcDividends)));
        if (l.cfcProfitMethod != 0)
            e.set("ПорядПрибКИК", l.cfcProfitMethod == 1 ? AsciiText("1") : AsciiText("2"));
    }
    if (l.taxInRubles > Money())
        e.set("ДатаУплНал", exportDate(l.taxPaymentDate))
            .set("КурсВалютНал", figure(l.taxRateText))
            .set("НалУплИноВал", decimalPoint(l.taxInCurrencyText))
            .set("НалУплИноРуб", figure(amountText(14, l.taxInRubles)));
    if (at13 && l.cfcTaxWithheldInRussia > Money())
        e.set("НалИсчКИК", figure(wholeAmountText(12, l.cfcTaxWithheldInRussia)));
    if (l.taxRf > Money())
        e.set("НалЗачРФОбщ", figure(wholeAmountText(wholeWidth, roundToRoubles(l.taxRf))));
    if (l.credit > Money())
        e.set("НалогЗачРФОбщ", figure(wholeAmountText(wholeWidth, roundToRoubles(l.credit))));
}

void writeForeignRate(xml::Element body, const ForeignIncomeSheet& sheet, AsciiText rateText, int rate) {
    xml::Element e = body.append("ДоходИстИно");
    e.set("Ставка", rateText);
    for (const ForeignIncomeLine& line : sheet.lines)
        writeForeignLine(e, line, rate);
}

} // namespace

void writeIncomes(xml::Element body, const Declaration& d, const ReturnComputation& sum) {
    const ReturnKind kind = d.kind();
    if (kind == ReturnKind::Resident) {
        writeSources(body, d.incomes9, "09");
        writeSources(body, d.incomes13, "13");
        writeSources(body, d.investPartnerships, "13");
        writeSources(body, d.incomes30, "13");
    } else if (kind == ReturnKind::NonResident) {
        writeSources(body, d.incomes13NonResident, "13");
        // A non-resident's dividends are declared at their taxable amount.
        for (const ThirtyPercentSource& s : d.incomes30)
            writeSource(body, s, "15", s.taxableAmount);
        writeSources(body, d.incomes13, "30");
        writeSources(body, d.investPartnerships, "30");
    }
    if (kind == ReturnKind::Resident && sum.russian35.totalIncome > Money()) {
        // Exempt material benefit is not an income of Appendix 1.
        for (const ThirtyFivePercentSource& s : d.incomes35)
            if (s.incomeCode != kMaterialBenefitCode)
                writeSource(body, s, "35", s.totalIncome);
    }

    if (d.has(IncomeKind::Foreign)) {
        const Money zero;
        if (sum.foreign9.otherIncome > zero)
            writeForeignRate(body, sum.foreign9, "09", 9);
        const ForeignIncomeSheet& f13 = sum.foreign13;
        if (f13.otherIncome > zero || f13.cfcProfit > zero || f13.dividendIncome > zero)
            writeForeignRate(body, f13, "13", 13);
        if (sum.foreign35.otherIncome > zero)
            writeForeignRate(body, sum.foreign35, "35", 35);
    }
}

} // namespace kv
