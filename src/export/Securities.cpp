// Operations with securities ("ДохОперЦБ"), sales of real estate against the
// cadastral value ("ДохПродОНИ") and the pension contribution contracts
// ("ВычСоцИнв219"): the last blocks of the 3-NDFL body.
#include "compute/ReturnComputation.h"
#include "export/ExportText.h"
#include "export/ReturnWriters.h"

#include <string>

namespace kv {
namespace {

void writeOperation(xml::Element body, const Appendix8Operation& op) {
    xml::Element e = body.append("ДохОперЦБ");
    e.set("ВидОпер", op.operationKind).set("ДохСовОпер", figure(amountText(14, op.income)));
    if (op.costs > Money())
        e.set("РасхРеалЦБ", figure(amountText(14, op.costs)));
    if (op.expenses > Money())
        e.set("РасхУмДохОпер", figure(amountText(14, op.expenses)));
    e.set("ПризУчетУбыт", op.lossFlag != 0 ? AsciiText("1") : AsciiText("0"));
    if (op.invDeduction219_1 > Money())
        e.set("ИнвВыч219.1Опер", figure(amountText(14, op.invDeduction219_1)));
    if (op.invDeduction219_3 > Money())
        e.set("ИнвВыч219.3Опер", figure(amountText(14, op.invDeduction219_3)));
    if (op.lossFlag == 0)
        return;
    auto loss = [&e](const Cp1251Text& kind, Money amount) {
        e.append("УчетУбыт").set("ВидОперУбыт", kind).set("УбытУмДохОпер", figure(amountText(14, amount)));
    };
    loss(op.lossKind1, op.lossAmount1);
    if (op.lossKind2.empty())
        return;
    loss(op.lossKind2, op.lossAmount2);
    if (!op.lossKind3.empty())
        loss(op.lossKind3, op.lossAmount3);
}

void writeRealEstateSale(xml::Element body, const RealEstateSale& s) {
    body.append("ДохПродОНИ")
        .set("НомКадОтчуждОНИ", s.cadastralNumber)
        .set("КадСтоимГодРег", figure(amountText(15, s.cadastralValue)))
        .set("ДохПродЦенаДог", figure(amountText(15, s.contractPrice)))
        .set("КадСтоимКоэф", figure(amountText(15, s.cadastralValue70)))
        .set("ДохПродНалОбл", figure(amountText(15, s.saleIncome)));
}

void writePensions(xml::Element body, const PensionContractsSheet& p) {
    if (p.contracts.empty() && p.totalDeductible <= Money())
        return;
    xml::Element calc = body.append("ВычСоцИнв219").append("РасчПенсВзнос");
    calc.set("ОбщВзносВыч", figure(amountText(14, p.totalDeductible)));
    for (const PensionContractLine& c : p.contracts) {
        xml::Element contract = calc.append("РасчПСВВыч");
        contract.set("СумВзносУпл", figure(amountText(14, c.deductible)));
        xml::Element info = contract.append("СведДогНПО");
        info.set("ВидДоговор", figure(std::to_string(c.contractKind)))
            .set("ДатаДогНПО", exportDate(c.contractDate))
            .set("НомДогНПО", c.contractNumber);
        info.append("СведИст").set("Наим", c.fundName).set("ИННЮЛ", c.fundInn).set("КПП", c.fundKpp);
    }
    if (p.additionalDeductible > Money())
        calc.append("РасчДопСВВыч").set("СумВзносУпл", figure(amountText(14, p.additionalDeductible)));
}

} // namespace

void writeSecurities(xml::Element body, const ReturnComputation& sum) {
    for (const Appendix8Operation& op : sum.securitiesSummary.operations)
        writeOperation(body, op);
    for (const RealEstateSale& s : sum.russian13.realEstateSales)
        writeRealEstateSale(body, s);
    for (const RealEstateSale& s : sum.russian30.realEstateSales)
        writeRealEstateSale(body, s);
    writePensions(body, sum.pensionContracts);
}

void writeBody3(xml::Element body, const Declaration& d, const ReturnComputation& sum) {
    writeSections(body, sum);
    writeIncomes(body, d, sum);
    writeBusiness(body, d, sum);
    writeDeductions(body, d, sum);
    writeSecurities(body, sum);
}

} // namespace kv
