#include "compute/ReturnComputation.h"

#include "model/Declaration.h"

#include <string>

namespace kv {

void ReturnComputation::clearFigures() {
    section2Other13.clearFigures();
    section2Cfc13.clearFigures();
    section2Dividends13.clearFigures();
    section2Rate30.clearFigures();
    section2Rate35.clearFigures();
    section2Rate9.clearFigures();
    section2Dividends15.clearFigures();
    section1.clearFigures();
    russian9.clearFigures();
    russian13.clearFigures();
    russian15.clearFigures();
    russian30.clearFigures();
    russian35.clearFigures();
    foreign13.clearFigures();
    foreign9.clearFigures();
    foreign35.clearFigures();
    business.clearFigures();
    profDeductRussia.clearFigures();
    profDeductForeign.clearFigures();
    exemptIncome.clearFigures();
    stdSocialDeductions.clearFigures();
    standardByMonth.clearFigures();
    pensionContracts.clearFigures();
    propertySale.clearFigures();
    propertyPurchase.clearFigures();
    securitiesOrdinary.clearFigures();
    securitiesIia.clearFigures();
    investPartnership.clearFigures();
    securitiesSummary.clearFigures();
}

bool ReturnComputation::compute(Declaration& doc) {
    try {
        clearFigures();
        const ReturnKind kind = doc.kind();
        if (kind == ReturnKind::Estimated) // nothing is computed
            return true;

        if (kind == ReturnKind::Termination) {
            business.compute(doc);
            section2Other13.compute(doc, *this);
            return section1.compute(doc, *this);
        }
        if (kind != ReturnKind::Resident && kind != ReturnKind::NonResident)
            return section1.compute(doc, *this);

        russian9.compute(doc, *this);
        russian13.compute(doc, *this);
        russian15.compute(doc, *this);
        russian30.compute(doc, *this);
        russian35.compute(doc, *this);
        business.compute(doc);

        // Without any income kind in the return there is nothing the appendices could
        // take; Section 2 then reads zeros from them.
        if (doc.incomeFlags() != 0) {
            exemptIncome.compute(doc);
            profDeductRussia.compute(doc);
            profDeductForeign.compute(doc);
            propertySale.compute(doc);
            investPartnership.compute(doc);
            securitiesOrdinary.compute(doc, *this);
            securitiesIia.compute(doc, *this);
            securitiesSummary.compute(doc, *this);
            foreign13.compute(doc, 13);
            foreign9.compute(doc, 9);
            foreign35.compute(doc, 35);
            standardByMonth.compute(doc, *this);
            pensionContracts.compute(doc, *this);
            stdSocialDeductions.compute(doc, *this);
            propertyPurchase.compute(doc, *this);
        }

        section2Other13.compute(doc, *this);
        section2Cfc13.compute(doc, *this);
        section2Dividends13.compute(doc, *this);
        section2Rate30.compute(doc, *this);
        section2Rate35.compute(doc, *this);
        section2Rate9.compute(doc, *this);
        section2Dividends15.compute(doc, *this);

        return section1.compute(doc, *this);
    } catch (const ComputationError&) {
        throw;
    } catch (const ArithmeticError& e) {
        // An amount of a sheet left the 64-bit range.
        throw ComputationError(e.what());
    }
}

} // namespace kv
