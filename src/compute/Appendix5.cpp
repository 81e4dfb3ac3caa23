#include "compute/Appendix5.h"

#include "compute/Arithmetic.h"
#include "compute/ReturnComputation.h"
#include "model/Declaration.h"

namespace kv {

namespace {

// Tax Code art. 218-219 limits of the year, in roubles.
constexpr std::int64_t kSocialLimit = 120000;        // own education, treatment, insurance, pensions...
constexpr std::int64_t kChildEducationLimit = 50000; // per child
constexpr std::int64_t kStd3000Limit = 36000;        // 3 000 a month
constexpr std::int64_t kStd500Limit = 6000;          // 500 a month
constexpr int kCharityPercent = 25;
constexpr int kCultureCharityPercent = 30;

// Pension contract kinds: 1 to 3 non-state pension provision and voluntary pension
// insurance, 4 additional contributions to the funded pension.
constexpr std::int32_t kAdditionalContributions = 4;

Money roubles(std::int64_t r) {
    return Money::fromRoubles(r);
}

} // namespace

// --- pension and insurance contracts --------------------------------------------

void PensionContractsSheet::clearFigures() {
    *this = PensionContractsSheet{};
}

void PensionContractsSheet::compute(const Declaration& doc, ReturnComputation&) {
    clearFigures();
    if (doc.kind() != ReturnKind::Resident || doc.socialDeductions.granted == 0)
        return;
    // One limit for all contracts, taken in the order they were entered.
    Money left = roubles(kSocialLimit);
    for (const PensionContract& p : doc.socialDeductions.pensionContracts) {
        if (p.contractKind >= 1 && p.contractKind <= 3) {
            PensionContractLine c;
            c.contractKind = p.contractKind;
            c.fundName = p.organisationName;
            c.fundInn = p.organisationInn;
            c.fundKpp = p.organisationKpp;
            c.contractNumber = p.contractNumber;
            c.contractDate = p.contractDate;
            c.paid = p.contribution;
            c.deductible = min(left, c.paid);
            left = max(left - c.deductible, Money{});
            npfDeductible += c.deductible;
            contracts.push_back(std::move(c));
        } else if (p.contractKind == kAdditionalContributions) {
            additionalDeductible += min(p.contribution, left);
            left = max(left - p.contribution, Money{});
        }
    }
    contractCount = static_cast<std::int32_t>(contracts.size());
    totalDeductible = npfDeductible + additionalDeductible;
}

// --- Appendix 5 -------------------------------------------------------------------

void Appendix5Sheet::clearFigures() {
    *this = Appendix5Sheet{};
}

void Appendix5Sheet::compute(const Declaration& doc, ReturnComputation& root) {
    clearFigures();
    if (doc.kind() != ReturnKind::Resident)
        return;

    // The exemption of an investment account's income and the deduction of its
    // contributions exclude each other. A return holding both (written elsewhere) is
    // shown with the exemption chosen and the contributions greyed, and is computed
    // as it is shown.
    const InvestmentDeduction& inv = doc.investmentDeductions;
    if (inv.applyP3 == 0) {
        investmentDeduction = inv.invIisContributions;
        investmentRestored = inv.invRefundable;
    }

    // What tax agents granted, by deduction code.
    if (doc.incomes13.count() > 0) {
        for (const ThirteenPercentSource& src : doc.incomes13) {
            for (const AgentDeductionItem& d : src.agentDeductions) {
                const std::int32_t c = d.deductionCode;
                if (c == 105)
                    std3000 += d.amount;
                else if (c == 104)
                    std500 += d.amount;
                else if ((c >= 126 && c <= 128) || (c >= 130 && c <= 132))
                    child += d.amount;
                else if (c == 129 || c == 133)
                    disabledChild += d.amount;
                else if ((c >= 134 && c <= 139) || (c >= 142 && c <= 147))
                    childSingleParent += d.amount;
                else if (c == 140 || c == 141 || c == 148 || c == 149)
                    disabledChildSingleParent += d.amount;
                else if (c == 320)
                    agentCode320 += d.amount;
                else if (c == 321)
                    agentCode321 += d.amount;
                else if (c == 324)
                    agentCode324 += d.amount;
                else if (c == 325)
                    agentCode325 += d.amount;
                else if (c == 326)
                    agentCode326 += d.amount;
                else if (c == 327)
                    agentCode327 += d.amount;
                else if (c == 328)
                    agentCode328 += d.amount;
            }
        }
        std3000 = min(std3000, roubles(kStd3000Limit));
        std500 = min(std500, roubles(kStd500Limit));
    }
    auto standardSum = [this] {
        return std3000 + std500 + child + childSingleParent + disabledChild + disabledChildSingleParent;
    };
    standardByAgents = standardSum();

    // Claimed in the return: the year's standard deductions month by month, of which
    // the agents' part is what they already granted (never more than the year's total).
    if (doc.standardDeductions.granted != 0) {
        const StandardByMonthSheet& m = root.standardByMonth;
        std3000 = m.std3000;
        std500 = m.std500;
        child = m.child;
        childSingleParent = m.childSingleParent;
        disabledChild = m.disabledChild;
        disabledChildSingleParent = m.disabledChildSingleParent;
        standardByAgents = min(standardByAgents, standardSum());
    }

    if (doc.socialDeductions.granted != 0) {
        const SocialDeduction& s = doc.socialDeductions;
        // Income of the year the charity limits are measured against.
        const Money base = root.russian13.totalIncome + root.foreign13.otherIncome +
                           root.business.totalIncome + investmentRestored - root.foreign13.exempt60 -
                           root.foreign13.exempt60_1 - root.exemptIncome.exempt13;
        charity25 = min(percentLimit(base, kCharityPercent), s.charity);
        charityCulture30 = min(percentLimit(base, kCultureCharityPercent), s.charity30);
        charity = min(percentLimit(base, kCultureCharityPercent), charity25 + charityCulture30);
        for (const Money& paid : s.childEducation)
            childEducation += min(roubles(kChildEducationLimit), paid);
        expensiveTreatment = s.expensiveMedical;
        socialUncappedTotal = charity + childEducation + expensiveTreatment;

        ownEducation = s.ownEducation;
        medicalServices = s.medical;
        medicines = s.medicines;
        voluntaryInsurance = s.voluntaryInsurance;
        pensionContributions = root.pensionContracts.totalDeductible;
        qualificationAssessment = s.qualificationAssessment;
        cappedExpensesTotal = min(ownEducation + medicalServices + medicines + voluntaryInsurance +
                                      pensionContributions + qualificationAssessment,
                                  roubles(kSocialLimit));
    }

    // An agent can have granted no more than the expense the return declares.
    const Money limit = roubles(kSocialLimit);
    agentCode320 = min3(agentCode320, ownEducation, limit);
    agentCode321 = min(agentCode321, childEducation);
    agentCode324 = min3(agentCode324, medicalServices + medicines, limit);
    agentCode325 = min3(agentCode325, voluntaryInsurance, limit);
    agentCode326 = min(agentCode326, expensiveTreatment);
    agentCode327 = min3(agentCode327, root.pensionContracts.npfDeductible, limit);
    agentCode328 = min3(agentCode328, root.pensionContracts.additionalDeductible, limit);

    socialByAgents = min(agentCode320 + agentCode321 + agentCode324 + agentCode325 + agentCode326 +
                             agentCode327 + agentCode328,
                         socialUncappedTotal + cappedExpensesTotal);
    standardInReturn = standardSum() - standardByAgents;
    socialInReturn = socialUncappedTotal + cappedExpensesTotal - socialByAgents;
    stdSocialInReturn = socialInReturn + standardInReturn;
}

} // namespace kv
