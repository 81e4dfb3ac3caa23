#include "compute/Section2.h"

#include "compute/Arithmetic.h"
#include "compute/ReturnComputation.h"
#include "model/Declaration.h"

namespace kv {

namespace {

Money positive(Money m) {
    return max(Money{}, m);
}

} // namespace

void Section2Sheet::clearFigures() {
    *this = Section2Sheet();
}

void Section2Sheet::compute(const Declaration& declaration, const ReturnComputation& root) {
    clearFigures();
    const ReturnKind kind = declaration.kind();
    const auto& r13 = root.russian13;
    const auto& f13 = root.foreign13;
    const auto& social = root.stdSocialDeductions;
    const auto& purchase = root.propertyPurchase;
    const auto& securities = root.securitiesSummary;

    int ratePercent = 13;
    bool capDeductions = false; // deductions and expenses may not exceed the income
    bool clampTaxable = false;  // the taxable income is never negative
    bool refunds = true;

    if (this == &root.section2Other13) {
        rateCode = "13";
        if (kind == ReturnKind::Resident) {
            totalIncome =
                r13.totalIncome + root.business.totalIncome + f13.otherIncome + social.investmentRestored;
            nonTaxableIncome = root.exemptIncome.exempt13 + f13.exempt60 + f13.exempt60_1;
            deductions = social.stdSocialInReturn + social.investmentDeduction + social.socialByAgents +
                         social.standardByAgents + root.propertySale.totalPropertySale +
                         purchase.purchaseThisReturn + purchase.interestThisReturn +
                         purchase.purchaseByAgent + purchase.interestByAgent +
                         root.business.professionalDeductions + root.profDeductRussia.total +
                         root.profDeductForeign.total + securities.investmentDeductionsTotal;
            expensesReducingIncome = securities.expensesTotal;
            capDeductions = true;
            taxWithheld = r13.taxWithheld;
            tradeFeeCredited = root.business.tradeFee;
            advancesPaid = root.business.advancesPaid;
            fixedAdvancesPaid = r13.fixedAdvancesPaid;
            foreignTaxCredited = roundToRoubles(f13.otherTaxCredit);
            patentCredited = root.business.patentPayments;
        } else if (kind == ReturnKind::NonResident) {
            totalIncome = r13.totalIncome;
            // A non-resident's deductions stop at the income itself, never below zero.
            deductions = min(root.propertySale.totalPropertySale + root.profDeductRussia.total,
                             totalIncome - nonTaxableIncome);
            taxWithheld = r13.taxWithheld;
            fixedAdvancesPaid = r13.fixedAdvancesPaid;
        } else if (kind == ReturnKind::Termination) {
            totalIncome = root.business.totalIncome;
            deductions = min(root.business.professionalDeductions, totalIncome - nonTaxableIncome);
            tradeFeeCredited = root.business.tradeFee;
            advancesPaid = root.business.advancesPaid;
            patentCredited = root.business.patentPayments;
        }
    } else if (this == &root.section2Cfc13) {
        rateCode = "13";
        if (kind == ReturnKind::Resident) {
            cfcProfit = f13.cfcProfit;
            foreignTaxCredited = roundToRoubles(f13.cfcTaxCredit);
        }
        refunds = false;
    } else if (this == &root.section2Dividends13) {
        rateCode = "13";
        if (kind == ReturnKind::Resident) {
            totalIncome = r13.dividendIncome + f13.dividendIncome;
            nonTaxableIncome = f13.exemptCfcDividends;
            taxWithheld = r13.dividendTaxWithheld;
            foreignTaxCredited = roundToRoubles(f13.dividendTaxCredit);
        }
    } else if (this == &root.section2Rate30) {
        rateCode = "30";
        ratePercent = 30;
        if (kind == ReturnKind::NonResident) {
            totalIncome = root.russian30.totalIncome;
            nonTaxableIncome = root.exemptIncome.totalExempt;
            expensesReducingIncome = securities.expensesTotal;
            capDeductions = true;
            taxWithheld = root.russian30.taxWithheld;
        }
    } else if (this == &root.section2Rate35) {
        ratePercent = 35;
        clampTaxable = true;
        if (kind == ReturnKind::Resident) {
            rateCode = "35";
            totalIncome = root.russian35.totalIncome + root.foreign35.otherIncome;
            nonTaxableIncome = root.exemptIncome.exempt35;
            taxWithheld = root.russian35.taxWithheld;
            taxWithheldMaterialBenefit = root.russian35.materialBenefitWithheld;
            foreignTaxCredited = roundToRoubles(root.foreign35.otherTaxCredit);
        }
    } else if (this == &root.section2Rate9) {
        ratePercent = 9;
        if (kind == ReturnKind::Resident) {
            rateCode = "09";
            totalIncome = root.russian9.totalIncome + root.foreign9.otherIncome;
            taxWithheld = root.russian9.taxWithheld;
            foreignTaxCredited = roundToRoubles(root.foreign9.otherTaxCredit);
        }
    } else if (this == &root.section2Dividends15) {
        ratePercent = 15;
        if (kind == ReturnKind::NonResident) {
            rateCode = "15";
            totalIncome = root.russian15.totalIncome;
            taxWithheld = root.russian15.taxWithheld;
        }
    } else {
        throw ComputationError("section 2: sheet is not a member of the computation");
    }

    taxableIncome = totalIncome - nonTaxableIncome;
    if (clampTaxable)
        taxableIncome = positive(taxableIncome);
    // The cap holds even when the income less expenses is negative: the deductions
    // then turn negative so that the base comes out zero.
    if (capDeductions && deductions > taxableIncome - expensesReducingIncome)
        deductions = taxableIncome - expensesReducingIncome;
    taxBase = taxableIncome - expensesReducingIncome - deductions + cfcProfit;
    taxCalculated = taxAtRate(taxBase, ratePercent);

    const Money creditsForPayment = taxWithheld + taxWithheldMaterialBenefit + advancesPaid +
                                    fixedAdvancesPaid + foreignTaxCredited + tradeFeeCredited +
                                    patentCredited;
    taxToPay = positive(taxCalculated - creditsForPayment);
    // The patent is credited but never refunded; foreign tax, fixed advances and the
    // trade fee are credited but only tax actually withheld or advanced comes back.
    if (refunds) {
        const Money creditsForRefund = creditsForPayment - patentCredited;
        taxToRefund = min(positive(creditsForRefund - taxCalculated),
                          taxWithheld + taxWithheldMaterialBenefit + advancesPaid);
    }
}

} // namespace kv
