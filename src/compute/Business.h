#pragma once
// Business and private-practice incomes (Appendix 3) and the professional
// deductions on civil-law contract and author's incomes (Tax Code art. 221).
#include "core/Money.h"

namespace kv {

class Declaration;

class BusinessIncomeSheet {
public:
    Money totalIncome;            // "ДоходИт"
    Money professionalDeductions; // "ВычПрофИт"
    Money advancesPaid;           // "УплФактАвИт"
    // The document's trade fee and patent payments as the return credits them: zero
    // while the return declares no business, since they would otherwise reduce the
    // tax of a return without it. The document keeps what the user typed, so turning
    // the business box back on finds the figures again.
    Money tradeFee;
    Money patentPayments;

    void clearFigures();
    void compute(const Declaration& doc);

    friend bool operator==(const BusinessIncomeSheet&, const BusinessIncomeSheet&) = default;
};

// Professional deductions, Russian sources ("ИстДоход" "1").
class ProfDeductionsRussiaSheet {
public:
    Money civilContractExpenses; // "РасхФактДогГПХ"
    Money authorActualExpenses;  // "РасхФактАвтВозн"
    Money authorNormExpenses;    // "РасхНормАвтВозн"
    Money total;                 // "ОбщРасхВыч"

    void clearFigures();
    void compute(const Declaration& doc);

    friend bool operator==(const ProfDeductionsRussiaSheet&, const ProfDeductionsRussiaSheet&) = default;
};

// The same for foreign sources ("ИстДоход" "2").
class ProfDeductionsForeignSheet {
public:
    Money civilContractExpenses;
    Money authorActualExpenses;
    Money authorNormExpenses;
    Money total;

    void clearFigures();
    void compute(const Declaration& doc);

    friend bool operator==(const ProfDeductionsForeignSheet&, const ProfDeductionsForeignSheet&) = default;
};

} // namespace kv
