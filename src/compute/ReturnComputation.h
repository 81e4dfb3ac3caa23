#pragma once
// The computation root: builds, from one declaration, every computed sheet of the
// return. A run is a pure batch: construct, compute once, read the sheets, discard.
//
// Calling conventions of the sheets (the root calls exactly these):
//   void Section2Sheet::compute(Declaration&, ReturnComputation&)  - the instance finds its
//        rate and income kind by its position in the root (compare `this` with
//        &root.section2Other13 ... &root.section2Dividends15);
//   bool Section1Sheet::compute(Declaration&, ReturnComputation&);
//   void Appendix7Sheet::compute(Declaration&, ReturnComputation&);
//   void SecuritiesSheet::compute(Declaration&, ReturnComputation&)  - by position, as Section2Sheet
//        (&root.securitiesOrdinary or &root.securitiesIia);
//   void PartnershipSheet::compute(Declaration&);
//   void Appendix8Sheet::compute(Declaration&, ReturnComputation&);
//   void ForeignIncomeSheet::compute(const Declaration&, int rate);
//   the Russian-source sheets take (Declaration&, ReturnComputation&), the business,
//   professional, exempt and property-sale sheets (declaration) only, the
//   deduction sheets (declaration, root).
// A sheet taking `const Declaration&` is called the same way. Every sheet has clearFigures().
// Anything that cannot be computed throws ComputationError (compute/Arithmetic.h).
#include "compute/Appendix4.h"
#include "compute/Appendix5.h"
#include "compute/Appendix6.h"
#include "compute/Appendix7.h"
#include "compute/Appendix8.h"
#include "compute/Arithmetic.h"
#include "compute/Business.h"
#include "compute/ForeignIncomeSheet.h"
#include "compute/PartnershipSheet.h"
#include "compute/RussianIncomeSheets.h"
#include "compute/Section1.h"
#include "compute/Section2.h"
#include "compute/SecuritiesSheet.h"
#include "compute/StandardByMonth.h"

namespace kv {

class Declaration;

class ReturnComputation {
public:
    Section2Sheet section2Other13;     // rate "13", income kind "3"
    Section2Sheet section2Cfc13;       // rate "13", income kind "2"
    Section2Sheet section2Dividends13; // rate "13", income kind "1"
    Section2Sheet section2Rate30;      // rate "30", income kind "3"
    Section2Sheet section2Rate35;      // rate "35", income kind "3"
    Section2Sheet section2Rate9;       // rate "09", income kind "3"
    Section2Sheet section2Dividends15; // rate "15", income kind "1"
    Section1Sheet section1;
    RussianIncome9Sheet russian9;
    RussianIncome13Sheet russian13;
    RussianIncome15Sheet russian15;
    RussianIncome30Sheet russian30;
    RussianIncome35Sheet russian35;
    ForeignIncomeSheet foreign13;
    ForeignIncomeSheet foreign9;
    ForeignIncomeSheet foreign35;
    BusinessIncomeSheet business;
    ProfDeductionsRussiaSheet profDeductRussia;
    ProfDeductionsForeignSheet profDeductForeign;
    Appendix4Sheet exemptIncome;
    Appendix5Sheet stdSocialDeductions;
    StandardByMonthSheet standardByMonth;
    PensionContractsSheet pensionContracts;
    Appendix6Sheet propertySale;
    Appendix7Sheet propertyPurchase;
    SecuritiesSheet securitiesOrdinary;
    SecuritiesSheet securitiesIia;
    PartnershipSheet investPartnership;
    Appendix8Sheet securitiesSummary;

    ReturnComputation() = default;
    ReturnComputation(const ReturnComputation&) = delete;
    ReturnComputation& operator=(const ReturnComputation&) = delete;

    void clearFigures();
    // Resets, computes every sheet the kind of return needs, in the order in which
    // each sheet finds its inputs complete, and returns Section 1's result: true
    // when nothing is payable and there is at least one real Section 1 line.
    // Writes into the document: the sources' income-kind codes, the 13% sources'
    // taxable income and computed tax, the housing objects' deduction of the year,
    // and clears the trade fee and patent payments of a return without business
    // incomes. Throws ComputationError when a figure cannot be computed; any
    // arithmetic failure of a sheet reaches the caller as that one error.
    bool compute(Declaration& doc);
};

} // namespace kv
