#include "screens/rules/SourceEntries.h"

#include <initializer_list>

namespace kv {

namespace {

bool anyAmount(std::initializer_list<Money> amounts) {
    for (Money m : amounts) {
        if (!m.isZero())
            return true;
    }
    return false;
}

} // namespace

bool holdsEntries(const ThirteenPercentSource& s) {
    return s.itemCount() > 0 || s.agentDeductionCount() > 0 || !s.taxWithheld.isZero();
}

bool holdsEntries(const ThirtyPercentSource& s) {
    return anyAmount({s.totalIncome, s.taxWithheld, s.taxCalculated, s.taxableAmount});
}

bool holdsEntries(const ThirtyFivePercentSource& s) {
    return anyAmount({s.totalIncome, s.taxWithheld, s.deductionAmount});
}

bool holdsEntries(const InvestmentPartnership& p) {
    return p.itemCount() > 0 || anyAmount({p.taxWithheld, p.taxCalculated, p.taxableAmount});
}

bool holdsEntries(const ForeignIncome& f) {
    return anyAmount({f.incomeInCurrency, f.incomeInRubles, f.taxInCurrency, f.taxInRubles, f.deductionAmount,
                      f.cfcTaxWithheldInRussia});
}

bool holdsEntries(const BusinessActivity& a) {
    return anyAmount({a.incomeAmount, a.totalExpenses, a.materialExpenses, a.depreciation, a.labourExpenses,
                      a.otherExpenses, a.standardExpenses});
}

} // namespace kv
