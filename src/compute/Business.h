#pragma once
// Business and private-practice incomes (Appendix 3) and the professional
// deductions on civil-law contract and author's incomes (Tax Code art. 221).
#include "core/Money.h"

namespace kv {

class mTDeclaration;

class kTSvodSumPrilV1 {
public:
    Money totalIncome;            // "ДоходИт"
    Money professionalDeductions; // "ВычПрофИт"
    Money advancesPaid;           // "УплФактАвИт"

    void Reset();
    // Without business incomes in the return the trade fee and patent payments of
    // the document are cleared: they would otherwise reduce the tax of a return
    // that declares no business.
    void Compute(mTDeclaration& doc);

    friend bool operator==(const kTSvodSumPrilV1&, const kTSvodSumPrilV1&) = default;
};

// Professional deductions, Russian sources ("ИстДоход" "1").
class kTSvodSumPril3 {
public:
    Money civilContractExpenses; // "РасхФактДогГПХ"
    Money authorActualExpenses;  // "РасхФактАвтВозн"
    Money authorNormExpenses;    // "РасхНормАвтВозн"
    Money total;                 // "ОбщРасхВыч"

    void Reset();
    void Compute(const mTDeclaration& doc);

    friend bool operator==(const kTSvodSumPril3&, const kTSvodSumPril3&) = default;
};

// The same for foreign sources ("ИстДоход" "2").
class kTSvodSumPril3_In {
public:
    Money civilContractExpenses;
    Money authorActualExpenses;
    Money authorNormExpenses;
    Money total;

    void Reset();
    void Compute(const mTDeclaration& doc);

    friend bool operator==(const kTSvodSumPril3_In&, const kTSvodSumPril3_In&) = default;
};

} // namespace kv
