#pragma once
// The computation root: builds, from one declaration, every computed sheet of the
// return. A run is a pure batch: construct, Compute once, read the sheets, discard.
//
// Calling conventions of the sheets (the root calls exactly these):
//   void kTSvodSumRazd2::Compute(mTDeclaration&, kTSvodSum&)  - the instance finds its
//        rate and income kind by its position in the root (compare `this` with
//        &root.section2Other13 ... &root.section2Dividends15);
//   bool kTSvodSumR1::Compute(mTDeclaration&, kTSvodSum&);
//   void kTSvodSumPril7::Compute(mTDeclaration&, kTSvodSum&);
//   void kTSvodSumPrilJ::Compute(mTDeclaration&, kTSvodSum&)  - by position, as Razd2
//        (&root.securitiesOrdinary or &root.securitiesIia);
//   void kTSvodSumPrilI::Compute(mTDeclaration&);
//   void kTSvodSumPril8::Compute(mTDeclaration&, kTSvodSum&);
//   void kTSvodSumPrilB::Compute(const mTDeclaration&, int rate);
//   the Russian-source sheets take (mTDeclaration&, kTSvodSum&), the business,
//   professional, exempt and property-sale sheets (declaration) only, the
//   deduction sheets (declaration, root).
// A sheet taking `const mTDeclaration&` is called the same way. Every sheet has Reset().
// Anything that cannot be computed throws ComputationError (compute/Arithmetic.h).
#include "compute/Arithmetic.h"
#include "compute/Business.h"
#include "compute/Pril4.h"
#include "compute/Pril5.h"
#include "compute/Pril6.h"
#include "compute/Pril7.h"
#include "compute/Pril8.h"
#include "compute/PrilA.h"
#include "compute/PrilB.h"
#include "compute/PrilE1.h"
#include "compute/PrilI.h"
#include "compute/PrilJ.h"
#include "compute/R1.h"
#include "compute/Razd2.h"

namespace kv {

class mTDeclaration;

class kTSvodSum {
public:
    kTSvodSumRazd2 section2Other13;     // rate "13", income kind "3"
    kTSvodSumRazd2 section2Cfc13;       // rate "13", income kind "2"
    kTSvodSumRazd2 section2Dividends13; // rate "13", income kind "1"
    kTSvodSumRazd2 section2Rate30;      // rate "30", income kind "3"
    kTSvodSumRazd2 section2Rate35;      // rate "35", income kind "3"
    kTSvodSumRazd2 section2Rate9;       // rate "09", income kind "3"
    kTSvodSumRazd2 section2Dividends15; // rate "15", income kind "1"
    kTSvodSumR1 section1;
    kTSvodSumPrilA9 russian9;
    kTSvodSumPrilA13 russian13;
    kTSvodSumPrilA15 russian15;
    kTSvodSumPrilA30 russian30;
    kTSvodSumPrilA35 russian35;
    kTSvodSumPrilB foreign13;
    kTSvodSumPrilB foreign9;
    kTSvodSumPrilB foreign35;
    kTSvodSumPrilV1 business;
    kTSvodSumPril3 profDeductRussia;
    kTSvodSumPril3_In profDeductForeign;
    kTSvodSumPril4 exemptIncome;
    kTSvodSumPril5 stdSocialDeductions;
    kTSvodSumPrilE1 standardByMonth;
    kTSvodSumPril5Dop pensionContracts;
    kTSvodSumPril6 propertySale;
    kTSvodSumPril7 propertyPurchase;
    kTSvodSumPrilJ securitiesOrdinary;
    kTSvodSumPrilJ securitiesIia;
    kTSvodSumPrilI investPartnership;
    kTSvodSumPril8 securitiesSummary;

    kTSvodSum() = default;
    kTSvodSum(const kTSvodSum&) = delete;
    kTSvodSum& operator=(const kTSvodSum&) = delete;

    void Reset();
    // Resets, computes every sheet the kind of return needs, in the order in which
    // each sheet finds its inputs complete, and returns Section 1's result: true
    // when nothing is payable and there is at least one real Section 1 line.
    // Writes into the document: the sources' income-kind codes, the 13% sources'
    // taxable income and computed tax, the housing objects' deduction of the year,
    // and clears the trade fee and patent payments of a return without business
    // incomes. Throws ComputationError when a figure cannot be computed; any
    // arithmetic failure of a sheet reaches the caller as that one error.
    bool Compute(mTDeclaration& doc);
};

} // namespace kv
