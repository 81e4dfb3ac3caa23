#include "compute/ReturnComputation.h"

#include "model/Declaration.h"

#include <string>

namespace kv {

void ReturnComputation::Reset() {
    section2Other13.Reset();
    section2Cfc13.Reset();
    section2Dividends13.Reset();
    section2Rate30.Reset();
    section2Rate35.Reset();
    section2Rate9.Reset();
    section2Dividends15.Reset();
    section1.Reset();
    russian9.Reset();
    russian13.Reset();
    russian15.Reset();
    russian30.Reset();
    russian35.Reset();
    foreign13.Reset();
    foreign9.Reset();
    foreign35.Reset();
    business.Reset();
    profDeductRussia.Reset();
    profDeductForeign.Reset();
    exemptIncome.Reset();
    stdSocialDeductions.Reset();
    standardByMonth.Reset();
    pensionContracts.Reset();
    propertySale.Reset();
    propertyPurchase.Reset();
    securitiesOrdinary.Reset();
    securitiesIia.Reset();
    investPartnership.Reset();
    securitiesSummary.Reset();
}

bool ReturnComputation::Compute(Declaration& doc) {
    try {
        Reset();
        const ReturnKind kind = doc.kind();
        if (kind == ReturnKind::Estimated) // nothing is computed
            return true;

        if (kind == ReturnKind::Termination) {
            business.Compute(doc);
            section2Other13.Compute(doc, *this);
            return section1.Compute(doc, *this);
        }
        if (kind != ReturnKind::Resident && kind != ReturnKind::NonResident)
            return section1.Compute(doc, *this);

        russian9.Compute(doc, *this);
        russian13.Compute(doc, *this);
        russian15.Compute(doc, *this);
        russian30.Compute(doc, *this);
        russian35.Compute(doc, *this);
        business.Compute(doc);

        // Without any income kind in the return there is nothing the appendices could
        // take; Section 2 then reads zeros from them.
        if (doc.incomeFlags() != 0) {
            exemptIncome.Compute(doc);
            profDeductRussia.Compute(doc);
            profDeductForeign.Compute(doc);
            propertySale.Compute(doc);
            investPartnership.Compute(doc);
            securitiesOrdinary.Compute(doc, *this);
            securitiesIia.Compute(doc, *this);
            securitiesSummary.Compute(doc, *this);
            foreign13.Compute(doc, 13);
            foreign9.Compute(doc, 9);
            foreign35.Compute(doc, 35);
            standardByMonth.Compute(doc, *this);
            pensionContracts.Compute(doc, *this);
            stdSocialDeductions.Compute(doc, *this);
            propertyPurchase.Compute(doc, *this);
        }

        section2Other13.Compute(doc, *this);
        section2Cfc13.Compute(doc, *this);
        section2Dividends13.Compute(doc, *this);
        section2Rate30.Compute(doc, *this);
        section2Rate35.Compute(doc, *this);
        section2Rate9.Compute(doc, *this);
        section2Dividends15.Compute(doc, *this);

        return section1.Compute(doc, *this);
    } catch (const ComputationError&) {
        throw;
    } catch (const ArithmeticError& e) {
        // An amount of a sheet left the 64-bit range.
        throw ComputationError(e.what());
    }
}

} // namespace kv
