#include "cli/ComputeJson.h"

#include "compute/ReturnComputation.h"
#include "core/Text.h"
#include "model/Declaration.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kv::cli {

namespace {

using Json = nlohmann::ordered_json;

// One JSON object filled field by field, in the sheet's declared order.
class Obj {
public:
    Obj& operator()(std::string_view name, Money m) { return put(name, moneyText(m, '.')); }
    Obj& operator()(std::string_view name, const Cp1251Text& text) { return put(name, text.utf8()); }
    // Figures the sheets hold as text (rates, amounts in a currency): ASCII.
    Obj& operator()(std::string_view name, const std::string& figure) { return put(name, figure); }
    Obj& operator()(std::string_view name, std::int32_t n) { return put(name, n); }
    Obj& operator()(std::string_view name, std::uint8_t n) { return put(name, static_cast<int>(n)); }
    Obj& operator()(std::string_view name, std::int16_t n) { return put(name, static_cast<int>(n)); }
    Obj& operator()(std::string_view name, bool b) { return put(name, b); }
    Obj& operator()(std::string_view name, long double x) { return put(name, static_cast<double>(x)); }
    Obj& operator()(std::string_view name, DateValue d) { return put(name, d.days == 0 ? "" : d.text('.')); }
    template <std::size_t N> Obj& operator()(std::string_view name, const std::array<Money, N>& amounts) {
        Json list = Json::array();
        for (Money m : amounts)
            list.push_back(moneyText(m, '.'));
        return put(name, std::move(list));
    }
    template <class T, class F> Obj& list(std::string_view name, const std::vector<T>& items, F&& describe) {
        Json list = Json::array();
        for (const T& item : items)
            list.push_back(describe(item));
        return put(name, std::move(list));
    }
    Json take() { return std::move(json_); }

private:
    template <class V> Obj& put(std::string_view name, V&& value) {
        json_[std::string(name)] = std::forward<V>(value);
        return *this;
    }
    Json json_ = Json::object();
};

Json razd2(const Section2Sheet& s) {
    return Obj()("rateCode", s.rateCode)("totalIncome", s.totalIncome)(
               "nonTaxableIncome", s.nonTaxableIncome)("taxableIncome", s.taxableIncome)(
               "deductions", s.deductions)("expensesReducingIncome", s.expensesReducingIncome)(
               "cfcProfit", s.cfcProfit)("taxBase", s.taxBase)("taxCalculated", s.taxCalculated)(
               "taxWithheld", s.taxWithheld)("taxWithheldMaterialBenefit", s.taxWithheldMaterialBenefit)(
               "tradeFeeCredited", s.tradeFeeCredited)("advancesPaid", s.advancesPaid)(
               "fixedAdvancesPaid", s.fixedAdvancesPaid)("foreignTaxCredited", s.foreignTaxCredited)(
               "patentCredited", s.patentCredited)("taxToPay", s.taxToPay)("taxToRefund", s.taxToRefund)
        .take();
}

Json r1(const Section1Sheet& s) {
    return Obj()("lineCount", s.lineCount)
        .list("lines", s.lines,
              [](const Section1Line& l) {
                  return Obj()("kbk", l.kbk)("oktmo", l.oktmo)("direction", l.direction)("amount", l.amount)
                      .take();
              })
        .take();
}

Json realEstate(const RealEstateSale& r) {
    return Obj()("cadastralNumber", r.cadastralNumber)("cadastralValue", r.cadastralValue)(
               "contractPrice", r.contractPrice)("cadastralValue70", r.cadastralValue70)("saleIncome",
                                                                                         r.saleIncome)
        .take();
}

Json totalAndWithheld(Money totalIncome, Money taxWithheld) {
    return Obj()("totalIncome", totalIncome)("taxWithheld", taxWithheld).take();
}

Json prilA13(const RussianIncome13Sheet& s) {
    return Obj()("totalIncome", s.totalIncome)("taxWithheld", s.taxWithheld)("dividendTaxWithheld",
                                                                             s.dividendTaxWithheld)(
               "dividendIncome", s.dividendIncome)("fixedAdvancesPaid", s.fixedAdvancesPaid)
        .list("realEstateSales", s.realEstateSales, realEstate)("realEstateSaleCount", s.realEstateSaleCount)
        .take();
}

Json prilA30(const RussianIncome30Sheet& s) {
    return Obj()("totalIncome", s.totalIncome)("taxWithheld", s.taxWithheld)
        .list("realEstateSales", s.realEstateSales, realEstate)("realEstateSaleCount", s.realEstateSaleCount)
        .take();
}

Json prilA35(const RussianIncome35Sheet& s) {
    return Obj()("totalIncome", s.totalIncome)("taxWithheld", s.taxWithheld)("materialBenefitWithheld",
                                                                             s.materialBenefitWithheld)
        .take();
}

Json dohodCur(const ForeignIncomeLine& d) {
    return Obj()("countryCode", d.countryCode)("currencyName", d.currencyName)(
               "currencyCode", d.currencyCode)("sourceName", d.sourceName)("incomeDate", d.incomeDate)(
               "incomeRateText", d.incomeRateText)("incomeInCurrencyText", d.incomeInCurrencyText)(
               "incomeInRubles", d.incomeInRubles)("incomeCode", d.incomeCode)(
               "profDeduction", d.profDeduction)("deductionCode", d.deductionCode)(
               "taxPaymentDate", d.taxPaymentDate)("taxRateText", d.taxRateText)(
               "taxInCurrencyText", d.taxInCurrencyText)("taxInRubles", d.taxInRubles)("taxRf", d.taxRf)(
               "cfcTaxWithheldInRussia", d.cfcTaxWithheldInRussia)("credit", d.credit)(
               "kindCode", d.kindCode)("cfcNumber", d.cfcNumber)("cfcProfitMethod", d.cfcProfitMethod)(
               "exempt60", d.exempt60)("exempt60_1", d.exempt60_1)("exemptCfcDividends", d.exemptCfcDividends)
        .take();
}

Json prilB(const ForeignIncomeSheet& s) {
    return Obj()("otherIncome", s.otherIncome)("cfcProfit", s.cfcProfit)("dividendIncome", s.dividendIncome)(
               "otherTaxCredit", s.otherTaxCredit)("cfcTaxCredit", s.cfcTaxCredit)(
               "dividendTaxCredit", s.dividendTaxCredit)("incomeNotCoveredByCredit",
                                                         s.incomeNotCoveredByCredit)("exempt60", s.exempt60)(
               "exempt60_1", s.exempt60_1)("exemptCfcDividends", s.exemptCfcDividends)
        .list("lines", s.lines, dohodCur)
        .list("cfcProfits", s.cfcProfits,
              [](const CfcProfit& k) {
                  return Obj()("cfcNumber", k.cfcNumber)("remainingProfit", k.remainingProfit).take();
              })("cfcCount", s.cfcCount)("lineCount", s.lineCount)
        .take();
}

Json business(const BusinessIncomeSheet& s) {
    return Obj()("totalIncome", s.totalIncome)("professionalDeductions", s.professionalDeductions)(
               "advancesPaid", s.advancesPaid)("tradeFee", s.tradeFee)("patentPayments", s.patentPayments)
        .take();
}

template <class Sheet> Json professional(const Sheet& s) {
    return Obj()("civilContractExpenses", s.civilContractExpenses)(
               "authorActualExpenses", s.authorActualExpenses)("authorNormExpenses",
                                                               s.authorNormExpenses)("total", s.total)
        .take();
}

Json pril4(const Appendix4Sheet& s) {
    return Obj()("maternityAid", s.maternityAid)("gifts", s.gifts)("employerAid", s.employerAid)(
               "prizes", s.prizes)("medicineRefund", s.medicineRefund)("advertisingPrizes",
                                                                       s.advertisingPrizes)(
               "disabledAid", s.disabledAid)("winnings", s.winnings)("victimsAid", s.victimsAid)(
               "employerPensionContrib", s.employerPensionContrib)("otherExempt", s.otherExempt)(
               "totalExempt", s.totalExempt)("exempt13", s.exempt13)("exempt35", s.exempt35)
        .take();
}

Json pril5(const Appendix5Sheet& s) {
    return Obj()("std3000", s.std3000)("std500", s.std500)("childSingleParent", s.childSingleParent)(
               "child", s.child)("disabledChild", s.disabledChild)("disabledChildSingleParent",
                                                                   s.disabledChildSingleParent)(
               "standardByAgents", s.standardByAgents)("standardInReturn", s.standardInReturn)(
               "charity", s.charity)("charity25", s.charity25)("charityCulture30", s.charityCulture30)(
               "childEducation", s.childEducation)("expensiveTreatment", s.expensiveTreatment)(
               "socialUncappedTotal", s.socialUncappedTotal)("ownEducation", s.ownEducation)(
               "medicalServices", s.medicalServices)("medicines", s.medicines)(
               "voluntaryInsurance", s.voluntaryInsurance)("pensionContributions", s.pensionContributions)(
               "qualificationAssessment", s.qualificationAssessment)(
               "cappedExpensesTotal", s.cappedExpensesTotal)("socialByAgents", s.socialByAgents)(
               "socialInReturn", s.socialInReturn)("stdSocialInReturn", s.stdSocialInReturn)(
               "investmentDeduction", s.investmentDeduction)("investmentRestored", s.investmentRestored)(
               "agentCode320", s.agentCode320)("agentCode321", s.agentCode321)(
               "agentCode324", s.agentCode324)("agentCode325", s.agentCode325)(
               "agentCode326", s.agentCode326)("agentCode327", s.agentCode327)("agentCode328", s.agentCode328)
        .take();
}

Json prilE1(const StandardByMonthSheet& s) {
    return Obj()("childMonths", s.childMonths)("monthlyNet", s.monthlyNet)("monthlyExpense",
                                                                           s.monthlyExpense)(
               "cumulativeIncome", s.cumulativeIncome)("std3000", s.std3000)("std500", s.std500)(
               "child", s.child)("childSingleParent", s.childSingleParent)("disabledChild", s.disabledChild)(
               "disabledChildSingleParent", s.disabledChildSingleParent)
        .take();
}

Json pril5Dop(const PensionContractsSheet& s) {
    return Obj()
        .list("contracts", s.contracts,
              [](const PensionContractLine& c) {
                  return Obj()("contractKind", c.contractKind)("fundName", c.fundName)("fundInn", c.fundInn)(
                             "fundKpp", c.fundKpp)("contractNumber", c.contractNumber)(
                             "contractDate", c.contractDate)("paid", c.paid)("deductible", c.deductible)
                      .take();
              })("contractCount", s.contractCount)("npfDeductible", s.npfDeductible)(
            "additionalDeductible", s.additionalDeductible)("totalDeductible", s.totalDeductible)
        .take();
}

Json pril6(const Appendix6Sheet& s) {
    return Obj()("housingSaleDeduction", s.housingSaleDeduction)("housingCosts", s.housingCosts)(
               "housingShareCosts", s.housingShareCosts)("housingShareDeduction", s.housingShareDeduction)(
               "otherRealDeduction", s.otherRealDeduction)("otherRealCosts", s.otherRealCosts)(
               "otherPropertyDeduction", s.otherPropertyDeduction)("otherPropertyCosts",
                                                                   s.otherPropertyCosts)(
               "seizureIncome", s.seizureIncome)("liquidationIncome", s.liquidationIncome)(
               "cfcRightsIncome", s.cfcRightsIncome)("shareSaleCosts", s.shareSaleCosts)(
               "shareSaleDeduction", s.shareSaleDeduction)("rightsAssignmentCosts", s.rightsAssignmentCosts)(
               "capitalReductionCosts", s.capitalReductionCosts)("claimRightsCosts", s.claimRightsCosts)(
               "totalPropertySale", s.totalPropertySale)
        .take();
}

Json pril7(const Appendix7Sheet& s) {
    return Obj()("ownershipShare", s.ownershipShare)("purchaseCosts", s.purchaseCosts)(
               "interestCosts", s.interestCosts)("purchaseCreditedBefore", s.purchaseCreditedBefore)(
               "interestCreditedBefore", s.interestCreditedBefore)("purchaseByAgent", s.purchaseByAgent)(
               "interestByAgent", s.interestByAgent)("base13WithoutDeduction", s.base13WithoutDeduction)(
               "baseAvailable", s.baseAvailable)("purchaseThisReturn", s.purchaseThisReturn)(
               "interestThisReturn", s.interestThisReturn)("purchaseCarriedForward",
                                                           s.purchaseCarriedForward)("interestCarriedForward",
                                                                                     s.interestCarriedForward)
        .take();
}

Json prilJ(const SecuritiesSheet& s) {
    Obj o;
    // clang-format off
    o("tradedIncome", s.tradedIncome)("tradedCosts", s.tradedCosts)("tradedShortInterest", s.tradedShortInterest)
     ("onceTradedIncome", s.onceTradedIncome)("onceTradedCosts", s.onceTradedCosts)
     ("untradedIncome", s.untradedIncome)("untradedCosts", s.untradedCosts)("untradedShortInterest", s.untradedShortInterest)
     ("derivSecIncome", s.derivSecIncome)("derivSecCosts", s.derivSecCosts)
     ("derivOtherIncome", s.derivOtherIncome)("derivOtherCosts", s.derivOtherCosts)
     ("derivUntradedIncome", s.derivUntradedIncome)("derivUntradedCosts", s.derivUntradedCosts)
     ("repoIncome", s.repoIncome)("repoCosts", s.repoCosts)
     ("repoTradedIncome", s.repoTradedIncome)("repoTradedCosts", s.repoTradedCosts)
     ("repoUntradedIncome", s.repoUntradedIncome)("repoUntradedCosts", s.repoUntradedCosts)
     ("lendingIncome", s.lendingIncome)("lendingCosts", s.lendingCosts)
     ("lendingTradedIncome", s.lendingTradedIncome)("lendingTradedCosts", s.lendingTradedCosts)
     ("lendingUntradedIncome", s.lendingUntradedIncome)("lendingUntradedCosts", s.lendingUntradedCosts)
     ("priorSecuritiesLoss", s.priorSecuritiesLoss)("priorDerivativesLoss", s.priorDerivativesLoss)
     ("repoLossOnTraded", s.repoLossOnTraded)("lendingLossOnTraded", s.lendingLossOnTraded)
     ("tradedDeductionsTotal", s.tradedDeductionsTotal)
     ("tradedResult", s.tradedResult)("tradedLoss", s.tradedLoss)
     ("invDeduction", s.invDeduction)
     ("derivSecLossOnTraded", s.derivSecLossOnTraded)
     ("priorLossOnTraded", s.priorLossOnTraded)
     ("tradedLossOnOnceTraded", s.tradedLossOnOnceTraded)
     ("tradedLossOnDerivSec", s.tradedLossOnDerivSec)
     ("repoLossOnUntraded", s.repoLossOnUntraded)("lendingLossOnUntraded", s.lendingLossOnUntraded)
     ("partnershipLossOnUntraded", s.partnershipLossOnUntraded)
     ("derivSecResult", s.derivSecResult)("derivSecLoss", s.derivSecLoss)
     ("priorLossOnDerivSec", s.priorLossOnDerivSec)
     ("derivOtherLossOnDerivSec", s.derivOtherLossOnDerivSec)
     ("derivSecLossOnDerivOther", s.derivSecLossOnDerivOther)
     ("derivOtherResult", s.derivOtherResult)("derivOtherLoss", s.derivOtherLoss)
     ("priorLossOnDerivOther", s.priorLossOnDerivOther)
     ("repoLossForTraded", s.repoLossForTraded)("repoLossForUntraded", s.repoLossForUntraded)
     ("lendingLossForTraded", s.lendingLossForTraded)("lendingLossForUntraded", s.lendingLossForUntraded)
     ("priorDerivLossUsed", s.priorDerivLossUsed)
     ("tradedCostsCapped", s.tradedCostsCapped)("onceTradedCostsCapped", s.onceTradedCostsCapped)
     ("untradedCostsCapped", s.untradedCostsCapped)("derivSecCostsCapped", s.derivSecCostsCapped)
     ("derivOtherCostsCapped", s.derivOtherCostsCapped)("derivUntradedCostsCapped", s.derivUntradedCostsCapped)
     ("repoCostsCapped", s.repoCostsCapped)("lendingCostsCapped", s.lendingCostsCapped)
     ("tradedWork", s.tradedWork)("onceTradedWork", s.onceTradedWork)("untradedWork", s.untradedWork)
     ("derivSecWork", s.derivSecWork)("derivOtherWork", s.derivOtherWork)
     ("exemptTraded", s.exemptTraded)("exemptOnceTraded", s.exemptOnceTraded)("exemptUntraded", s.exemptUntraded)
     ("exemptDerivSec", s.exemptDerivSec)("exemptDerivOther", s.exemptDerivOther)
     ("exemptDerivUntraded", s.exemptDerivUntraded)("exemptRepo", s.exemptRepo)("exemptLending", s.exemptLending);
    // clang-format on
    return o.take();
}

Json prilI(const PartnershipSheet& s) {
    Obj o;
    // clang-format off
    o("p5002Income", s.p5002Income)("p5002Costs", s.p5002Costs)("p5002Expenses", s.p5002Expenses)
     ("p5005Income", s.p5005Income)("p5005Costs", s.p5005Costs)("p5005Expenses", s.p5005Expenses)
     ("p5009Income", s.p5009Income)("p5009Costs", s.p5009Costs)("p5009Expenses", s.p5009Expenses)
     ("p5011Income", s.p5011Income)("p5011Costs", s.p5011Costs)("p5011Expenses", s.p5011Expenses)
     ("p5014Income", s.p5014Income)("p5014Costs", s.p5014Costs)("p5014Expenses", s.p5014Expenses)
     ("p5013Income", s.p5013Income)("p5013Costs", s.p5013Costs)("p5013Expenses", s.p5013Expenses)
     ("p5017Income", s.p5017Income)("p5017Costs", s.p5017Costs)("p5017Expenses", s.p5017Expenses)
     ("p5020Income", s.p5020Income)("p5020Costs", s.p5020Costs)("p5020Expenses", s.p5020Expenses)
     ("p5024Income", s.p5024Income)("p5024Costs", s.p5024Costs)("p5024Expenses", s.p5024Expenses)
     ("p5026Income", s.p5026Income)("p5026Costs", s.p5026Costs)("p5026Expenses", s.p5026Expenses)
     ("p5029Income", s.p5029Income)("p5029Costs", s.p5029Costs)("p5029Expenses", s.p5029Expenses)
     ("p5028Income", s.p5028Income)("p5028Costs", s.p5028Costs)("p5028Expenses", s.p5028Expenses)
     ("invDeduction5002", s.invDeduction5002)
     ("exempt5017", s.exempt5017)("exempt5020", s.exempt5020)("exempt5024", s.exempt5024)
     ("exempt5026", s.exempt5026)("exempt5029", s.exempt5029)("exempt5028", s.exempt5028)
     ("exitLoss", s.exitLoss)("iisExitLoss", s.iisExitLoss)
     ("priorLossLeft", s.priorLossLeft)("priorLossLeftIis", s.priorLossLeftIis)
     ("priorLoss5002", s.priorLoss5002)("priorLoss5005", s.priorLoss5005)("priorLoss5009", s.priorLoss5009)
     ("priorLoss5011", s.priorLoss5011)("priorLoss5014", s.priorLoss5014)
     ("priorLoss5017", s.priorLoss5017)("priorLoss5020", s.priorLoss5020)("priorLoss5024", s.priorLoss5024)
     ("priorLoss5026", s.priorLoss5026)("priorLoss5029", s.priorLoss5029);
    // clang-format on
    return o.take();
}

Json pril8(const Appendix8Sheet& s) {
    return Obj()("investmentDeductionsTotal", s.investmentDeductionsTotal)("expensesTotal", s.expensesTotal)
        .list("operations", s.operations,
              [](const Appendix8Operation& r) {
                  return Obj()("operationKind", r.operationKind)("income", r.income)("costs", r.costs)(
                             "expenses", r.expenses)("lossFlag", r.lossFlag)("lossKind1", r.lossKind1)(
                             "lossKind2", r.lossKind2)("lossKind3", r.lossKind3)(
                             "lossAmount1", r.lossAmount1)("lossAmount2", r.lossAmount2)(
                             "lossAmount3", r.lossAmount3)("invDeduction219_1", r.invDeduction219_1)(
                             "invDeduction219_3", r.invDeduction219_3)
                      .list("losses", std::vector<Appendix8Loss>(r.losses.begin(), r.losses.end()),
                            [](const Appendix8Loss& u) {
                                return Obj()("lossKind", u.lossKind)("amount", u.amount).take();
                            })
                      .take();
              })("operationCount", s.operationCount)
        .take();
}

// What the run wrote into the document, which the export reads beside the sheets.
Json documentWrites(const Declaration& doc) {
    auto sources = [](const auto& list) {
        Json out = Json::array();
        for (const auto& s : list)
            out.push_back(Obj()("sourceOktmo", s.sourceOktmo)("incomeKind", s.incomeKind).take());
        return out;
    };
    Json incomes13 = Json::array();
    for (const auto* list : {&doc.incomes13, &doc.incomes13NonResident}) {
        Json part = Json::array();
        for (const auto& s : *list)
            part.push_back(Obj()("sourceOktmo", s.sourceOktmo)("incomeKind", s.incomeKind)(
                               "taxableIncome", s.taxableIncome)("computedTax", s.computedTax)
                               .take());
        incomes13.push_back(std::move(part));
    }
    Json objects = Json::array();
    for (const auto& o : doc.propertyDeductions.objects)
        objects.push_back(Obj()("yearDeduction", o.yearDeduction)("before2014", o.before2014).take());
    Json out = Json::object();
    out["incomes13"] = std::move(incomes13[0]);
    out["incomes13NonResident"] = std::move(incomes13[1]);
    out["incomes35"] = sources(doc.incomes35);
    out["incomes30"] = sources(doc.incomes30);
    out["incomes9"] = sources(doc.incomes9);
    out["investPartnerships"] = sources(doc.investPartnerships);
    out["propertyObjects"] = std::move(objects);
    out["tradeFee"] = moneyText(doc.tradeFee, '.');
    out["patentPayments"] = moneyText(doc.patentPayments, '.');
    return out;
}

} // namespace

Json computationJson(const ReturnComputation& root, const Declaration& doc, std::optional<bool> result,
                     const Cp1251Text& error) {
    Json j = Json::object();
    j["result"] = result.has_value() ? Json(*result) : Json(nullptr);
    if (!error.empty())
        j["error"] = error.utf8();
    j["section2Other13"] = razd2(root.section2Other13);
    j["section2Cfc13"] = razd2(root.section2Cfc13);
    j["section2Dividends13"] = razd2(root.section2Dividends13);
    j["section2Rate30"] = razd2(root.section2Rate30);
    j["section2Rate35"] = razd2(root.section2Rate35);
    j["section2Rate9"] = razd2(root.section2Rate9);
    j["section2Dividends15"] = razd2(root.section2Dividends15);
    j["section1"] = r1(root.section1);
    j["russian9"] = totalAndWithheld(root.russian9.totalIncome, root.russian9.taxWithheld);
    j["russian13"] = prilA13(root.russian13);
    j["russian15"] = totalAndWithheld(root.russian15.totalIncome, root.russian15.taxWithheld);
    j["russian30"] = prilA30(root.russian30);
    j["russian35"] = prilA35(root.russian35);
    j["foreign13"] = prilB(root.foreign13);
    j["foreign9"] = prilB(root.foreign9);
    j["foreign35"] = prilB(root.foreign35);
    j["business"] = business(root.business);
    j["profDeductRussia"] = professional(root.profDeductRussia);
    j["profDeductForeign"] = professional(root.profDeductForeign);
    j["exemptIncome"] = pril4(root.exemptIncome);
    j["stdSocialDeductions"] = pril5(root.stdSocialDeductions);
    j["standardByMonth"] = prilE1(root.standardByMonth);
    j["pensionContracts"] = pril5Dop(root.pensionContracts);
    j["propertySale"] = pril6(root.propertySale);
    j["propertyPurchase"] = pril7(root.propertyPurchase);
    j["securitiesOrdinary"] = prilJ(root.securitiesOrdinary);
    j["securitiesIia"] = prilJ(root.securitiesIia);
    j["investPartnership"] = prilI(root.investPartnership);
    j["securitiesSummary"] = pril8(root.securitiesSummary);
    j["document"] = documentWrites(doc);
    return j;
}

} // namespace kv::cli
