#include "cli/DocumentJson.h"

#include "core/Text.h"
#include "model/Declaration.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::cli {

namespace {

using Json = nlohmann::ordered_json;

Json value(Money m) {
    return moneyText(m, '.');
}
Json value(const Cp1251Text& text) {
    return text.utf8();
}
Json value(std::int32_t n) {
    return n;
}
Json value(std::int16_t n) {
    return n;
}
Json value(std::uint8_t n) {
    return static_cast<int>(n);
}
Json value(DateValue d) {
    return d.days == 0 ? std::string() : d.text('.');
}
template <class T, std::size_t N> Json value(const std::array<T, N>& values) {
    Json list = Json::array();
    for (const auto& v : values)
        list.push_back(value(v));
    return list;
}

// One JSON object filled field by field, in the record's declared order.
class Obj {
public:
    template <class V> Obj& operator()(std::string_view name, const V& v) {
        json_[std::string(name)] = value(v);
        return *this;
    }
    Obj& raw(std::string_view name, Json j) {
        json_[std::string(name)] = std::move(j);
        return *this;
    }
    Json take() { return std::move(json_); }

private:
    Json json_ = Json::object();
};

template <class Range, class F> Json listOf(const Range& range, F&& describe) {
    Json list = Json::array();
    for (const auto& entry : range)
        list.push_back(describe(entry));
    return list;
}

template <class T, class F> Json incomeList(const IncomeList<T>& list, F&& describe) {
    if (!list.exists())
        return nullptr;
    return listOf(list, describe);
}

Obj source(const IncomeSource& s) {
    Obj o;
    o("sourceInn", s.sourceInn)("sourceKpp", s.sourceKpp)("sourceOktmo", s.sourceOktmo)(
        "sourceName", s.sourceName)("totalIncome", s.totalIncome)("taxWithheld", s.taxWithheld);
    return o;
}

Json thirteen(const ThirteenPercentSource& s) {
    Json reserved = Json::array();
    for (int slot = 0; slot < ThirteenPercentSource::kReservedSlots; ++slot)
        reserved.push_back(s.hasReservedSum(slot) ? value(s.reservedSums[static_cast<std::size_t>(slot)])
                                                  : nullptr);
    return source(s)
        .raw("items",
             listOf(s.items,
                    [](const ThirteenIncomeItem& i) {
                        return Obj()("incomeCode", i.incomeCode)("incomeName", i.incomeName.str())(
                                   "amount", i.amount)("deductionCode", i.deductionCode)("deductionAmount",
                                                                                         i.deductionAmount)(
                                   "deductionPercent", i.deductionPercent)("month", i.month)(
                                   "hasCadastralData", i.hasCadastralData)("cadastralNumber",
                                                                           i.cadastralNumber.str())(
                                   "cadastralValue", i.cadastralValue)("contractPrice", i.contractPrice)
                            .take();
                    }))
        .raw("agentDeductions",
             listOf(s.agentDeductions,
                    [](const AgentDeductionItem& d) {
                        return Obj()("deductionCode", d.deductionCode)("amount", d.amount).take();
                    }))
        .raw("reservedSums", std::move(reserved))("isPrimaryWorkplace", s.isPrimaryWorkplace)(
            "computedTax", s.computedTax)("taxableIncome", s.taxableIncome)("reservedSum", s.reservedSum)(
            "isInvestmentPartnership", s.isInvestmentPartnership)
        .take();
}

Json thirtyFive(const ThirtyFivePercentSource& s) {
    return source(s)("incomeCode", s.incomeCode)("deductionCode", s.deductionCode)("deductionAmount",
                                                                                   s.deductionAmount)
        .take();
}

Json thirty(const ThirtyPercentSource& s) {
    return source(s)("incomeCode", s.incomeCode)("taxCalculated", s.taxCalculated)("taxableAmount",
                                                                                   s.taxableAmount)
        .take();
}

Json partnership(const InvestmentPartnership& s) {
    return source(s)
        .raw("items",
             listOf(s.items,
                    [](const PartnershipIncomeItem& i) {
                        return Obj()("operationKind", i.operationKind)("incomeAmount", i.incomeAmount)(
                                   "expenseShare", i.expenseShare)("managerExpenses", i.managerExpenses)(
                                   "priorYearsLoss", i.priorYearsLoss)("contributions", i.contributions)
                            .take();
                    }))("taxCalculated", s.taxCalculated)("taxableAmount", s.taxableAmount)
        .take();
}

Json foreign(const ForeignIncome& f) {
    return Obj()("incomeRate", f.incomeRate)("incomeCode", f.incomeCode)("incomeName", f.incomeName)(
               "sourceName", f.sourceName)("countryCode", f.countryCode)("incomeDate", f.incomeDate)(
               "taxPaymentDate", f.taxPaymentDate)("currencyCode", f.currencyCode)(
               "incomeDateRate", f.incomeDateRate)("incomeDateUnits", f.incomeDateUnits)(
               "taxDateRate", f.taxDateRate)("taxDateUnits", f.taxDateUnits)("currencyName", f.currencyName)(
               "incomeInCurrency", f.incomeInCurrency)("incomeInRubles", f.incomeInRubles)(
               "taxInCurrency", f.taxInCurrency)("taxInRubles", f.taxInRubles)("autoRate", f.autoRate)(
               "deductionCode", f.deductionCode)("deductionAmount", f.deductionAmount)(
               "deductionPercent", f.deductionPercent)("cfcProfitMethod", f.cfcProfitMethod)(
               "cfcNumber", f.cfcNumber)("cfcTaxWithheldInRussia", f.cfcTaxWithheldInRussia)
        .take();
}

Json business(const BusinessActivity& b) {
    return Obj()("activityKind", b.activityKind)("okvedCode", b.okvedCode)(
               "hasDocumentedExpenses", b.hasDocumentedExpenses)("incomeAmount", b.incomeAmount)(
               "totalExpenses", b.totalExpenses)("materialExpenses", b.materialExpenses)(
               "depreciation", b.depreciation)("labourExpenses", b.labourExpenses)(
               "otherExpenses", b.otherExpenses)("standardExpenses", b.standardExpenses)
        .take();
}

Json person(const Taxpayer& p) {
    return Obj()("surname", p.surname)("firstName", p.firstName)("patronymic", p.patronymic)("inn", p.inn)(
               "nameExtra", p.nameExtra)("nameSign", p.nameSign)("identityDocCode", p.identityDocCode)(
               "identityDocName", p.identityDocName)("identityDocNumber", p.identityDocNumber)(
               "identityDocDate", p.identityDocDate)("birthDate", p.birthDate)(
               "identityDocIssuer", p.identityDocIssuer)("birthPlace", p.birthPlace)(
               "citizenshipStatus", p.citizenshipStatus)("citizenshipCountryName", p.citizenshipCountryName)(
               "citizenshipExtra", p.citizenshipExtra)("citizenshipCountryCode", p.citizenshipCountryCode)(
               "addressKind", p.addressKind)("addressRegionName", p.addressRegionName)(
               "addressRegionCode", p.addressRegionCode)("addressPostIndex", p.addressPostIndex)(
               "addressDistrict", p.addressDistrict)("addressCity", p.addressCity)(
               "addressLocality", p.addressLocality)("addressStreet", p.addressStreet)(
               "addressHouse", p.addressHouse)("addressBuilding", p.addressBuilding)(
               "addressFlat", p.addressFlat)("oktmo", p.oktmo)("homePhoneCode", p.homePhoneCode)(
               "contactPhone", p.contactPhone)("workPhoneCode", p.workPhoneCode)("workPhone", p.workPhone)(
               "foreignHomePhoneCode", p.foreignHomePhoneCode)("foreignHomePhone", p.foreignHomePhone)(
               "foreignWorkPhoneCode",
               p.foreignWorkPhoneCode)("foreignWorkPhone", p.foreignWorkPhone)("docExtraByte", p.docExtraByte)
        .take();
}

Json standard(const StandardDeduction& s) {
    return Obj()("granted", s.granted)("selfCode", s.selfCode)("childStatus", s.childStatus)(
               "childrenConstant", s.childrenConstant)("childrenCount", s.childrenCount)(
               "childrenByMonth", s.childrenByMonth)("disabledConstant", s.disabledConstant)(
               "disabledCount", s.disabledCount)("disabledByMonth", s.disabledByMonth)("thirdPlusConstant",
                                                                                       s.thirdPlusConstant)(
               "thirdPlusCount", s.thirdPlusCount)("thirdPlusByMonth", s.thirdPlusByMonth)(
               "monthlyBusinessSet", s.monthlyBusinessSet)("monthlyBusinessIncome", s.monthlyBusinessIncome)(
               "monthlyBusinessExpense", s.monthlyBusinessExpense)("monthlyMarks", s.monthlyMarks)(
               "monthlySelfCodesSet", s.monthlySelfCodesSet)("monthlySelfCodes", s.monthlySelfCodes)(
               "monthlyChildStatusSet", s.monthlyChildStatusSet)("monthlyChildStatus", s.monthlyChildStatus)(
               "isGuardian", s.isGuardian)
        .take();
}

Json social(const SocialDeduction& s) {
    return Obj()("granted", s.granted)("charity", s.charity)("charity30", s.charity30)("ownEducation",
                                                                                       s.ownEducation)
        .raw("childEducation", listOf(s.childEducation, [](Money m) { return value(m); }))(
            "medical", s.medical)("medicines", s.medicines)("expensiveMedical", s.expensiveMedical)(
            "voluntaryInsurance", s.voluntaryInsurance)("reservedSum1", s.reservedSum1)(
            "reservedSum2", s.reservedSum2)("qualificationAssessment", s.qualificationAssessment)
        .raw("pensionContracts",
             listOf(s.pensionContracts,
                    [](const PensionContract& p) {
                        return Obj()("contractKind", p.contractKind)("organisationName", p.organisationName)(
                                   "organisationInn", p.organisationInn)(
                                   "organisationKpp", p.organisationKpp)("contractNumber", p.contractNumber)(
                                   "contractDate", p.contractDate)("contribution", p.contribution)
                            .take();
                    }))
        .take();
}

Json property(const PropertyDeduction& c) {
    return Obj()("granted", c.granted)("reservedSum1", c.reservedSum1)("reservedSum2", c.reservedSum2)(
               "priorYearsDeduction", c.priorYearsDeduction)("priorYearsInterestDeduction",
                                                             c.priorYearsInterestDeduction)
        .raw("objects",
             listOf(c.objects,
                    [](const HousingObject& o) {
                        return Obj()("objectKind", o.objectKind)("objectNumber", o.objectNumber)(
                                   "objectAddress", o.objectAddress)("numberKind", o.numberKind)(
                                   "taxpayerSign", o.taxpayerSign)("houseAcquisitionMethod",
                                                                   o.houseAcquisitionMethod)(
                                   "rightRegistrationDate", o.rightRegistrationDate)("landRegistrationDate",
                                                                                     o.landRegistrationDate)(
                                   "transferActDate", o.transferActDate)("shareNumerator", o.shareNumerator)(
                                   "shareDenominator", o.shareDenominator)("objectCost", o.objectCost)(
                                   "mortgageInterest",
                                   o.mortgageInterest)("byInvestmentContract",
                                                       o.byInvestmentContract)("isPensioner", o.isPensioner)
                            .take();
                    }))
        .take();
}

Json losses(const SecuritiesLossDeduction& c) {
    return Obj()("granted", c.granted)("securitiesLoss", c.securitiesLoss)("securitiesLossIis",
                                                                           c.securitiesLossIis)(
               "derivativesLoss", c.derivativesLoss)("derivativesLossIis", c.derivativesLossIis)(
               "partnershipLoss", c.partnershipLoss)("partnershipLossIis", c.partnershipLossIis)
        .take();
}

Json investment(const InvestmentDeduction& i) {
    return Obj()("invSecurities", i.invSecurities)("invPartnership", i.invPartnership)("invIisContributions",
                                                                                       i.invIisContributions)(
               "invRefundable", i.invRefundable)("applyP3", i.applyP3)("granted", i.granted)
        .take();
}

} // namespace

nlohmann::ordered_json documentJson(const Declaration& d) {
    return Obj()("inspectionCode", d.inspectionCode)("inspectionName", d.inspectionName)(
               "reservedByte", d.reservedByte)("correctionNumber", d.correctionNumber)(
               "documentDate", d.documentDate)("submitterKind", d.submitterKind)(
               "taxpayerCategory", d.taxpayerCategory)("declarationKind", d.declarationKind)(
               "incomeFlags", d.incomeFlags())("sheetCountAutomatic", d.sheetCountAutomatic)(
               "supportingSheets", d.supportingSheets())("foreignAppendixSheets", d.foreignAppendixSheets)(
               "reservedInt1", d.reservedInt1)("reservedInt2", d.reservedInt2)(
               "reservedInt3", d.reservedInt3)("reservedInt4", d.reservedInt4)(
               "reservedInt5", d.reservedInt5)("reservedInt6", d.reservedInt6)(
               "reservedInt7", d.reservedInt7)("reservedInt8", d.reservedInt8)("actualAdvancePayments",
                                                                               d.actualAdvancePayments)(
               "estimatedIncome", d.estimatedIncome)("businessReservedSum", d.businessReservedSum)(
               "representativeDocument", d.representativeDocument)("farmFoundingDate", d.farmFoundingDate)(
               "isFarmHousehold", d.isFarmHousehold)("representativeName", d.representativeName)(
               "representativeOrganisation", d.representativeOrganisation)(
               "foreignerFixedAdvance", d.foreignerFixedAdvance)("adjustedBase", d.adjustedBase)(
               "adjustedTax", d.adjustedTax)("patentPayments", d.patentPayments)("tradeFee", d.tradeFee)
        .raw("incomes13", incomeList(d.incomes13, thirteen))
        .raw("incomes13NonResident", incomeList(d.incomes13NonResident, thirteen))
        .raw("incomes35", incomeList(d.incomes35, thirtyFive))
        .raw("incomes30", incomeList(d.incomes30, thirty))
        .raw("incomes9", incomeList(d.incomes9, thirty))
        .raw("foreignIncomes", incomeList(d.foreignIncomes, foreign))
        .raw("businessIncomes", incomeList(d.businessIncomes, business))
        .raw("investPartnerships", incomeList(d.investPartnerships, partnership))
        .raw("person", person(d.person))
        .raw("standardDeductions", standard(d.standardDeductions))
        .raw("socialDeductions", social(d.socialDeductions))
        .raw("propertyDeductions", property(d.propertyDeductions))
        .raw("securitiesLosses", losses(d.securitiesLosses))
        .raw("investmentDeductions", investment(d.investmentDeductions))
        .take();
}

} // namespace kv::cli
