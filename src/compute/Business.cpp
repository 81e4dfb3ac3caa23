#include "compute/Business.h"

#include "model/Declaration.h"

namespace kv {

namespace {

constexpr std::int32_t kCivilContract = 2010;
constexpr std::int32_t kCivilContractExpenses = 403;
constexpr std::int32_t kAuthorActualExpenses = 404;
constexpr std::int32_t kAuthorNormExpenses = 405;

bool isAuthorIncome(std::int32_t c) {
    return c >= 2201 && c <= 2209;
}

// Professional deductions of one income line: the claimed amount never exceeds the
// income it is claimed against; pairs other than those of art. 221 count nothing.
struct ProfessionalTotals {
    Money& civilContract;
    Money& authorActual;
    Money& authorNorm;

    void add(std::int32_t incomeCode, std::int32_t deductionCode, Money income, Money deduction,
             bool civilContractOnly) {
        const Money counted = min(income, deduction);
        if (incomeCode == kCivilContract && deductionCode == kCivilContractExpenses)
            civilContract += counted;
        else if (civilContractOnly)
            return;
        else if (isAuthorIncome(incomeCode) && deductionCode == kAuthorActualExpenses)
            authorActual += counted;
        else if (isAuthorIncome(incomeCode) && deductionCode == kAuthorNormExpenses)
            authorNorm += counted;
    }
};

} // namespace

void BusinessIncomeSheet::clearFigures() {
    *this = BusinessIncomeSheet{};
}

void BusinessIncomeSheet::compute(const Declaration& doc) {
    clearFigures();
    if (!doc.has(IncomeKind::Business))
        return;
    tradeFee = doc.tradeFee;
    patentPayments = doc.patentPayments;
    for (const BusinessActivity& b : doc.businessIncomes) {
        totalIncome += b.incomeAmount;
        professionalDeductions += b.hasDocumentedExpenses != 0 ? b.totalExpenses : b.standardExpenses;
    }
    advancesPaid = doc.actualAdvancePayments;
    professionalDeductions = min(professionalDeductions, totalIncome);
}

void ProfDeductionsRussiaSheet::clearFigures() {
    *this = ProfDeductionsRussiaSheet{};
}

void ProfDeductionsRussiaSheet::compute(const Declaration& doc) {
    clearFigures();
    ProfessionalTotals totals{civilContractExpenses, authorActualExpenses, authorNormExpenses};
    if (doc.kind() == ReturnKind::Resident && doc.incomes13.count() > 0) {
        for (const ThirteenPercentSource& src : doc.incomes13)
            for (const ThirteenIncomeItem& item : src.items)
                totals.add(item.incomeCode, item.deductionCode, item.amount, item.deductionAmount, false);
    } else if (doc.kind() == ReturnKind::NonResident && doc.incomes13NonResident.count() > 0) {
        // Non-residents have only the civil-contract deduction.
        for (const ThirteenPercentSource& src : doc.incomes13NonResident)
            for (const ThirteenIncomeItem& item : src.items)
                totals.add(item.incomeCode, item.deductionCode, item.amount, item.deductionAmount, true);
    }
    total = civilContractExpenses + authorActualExpenses + authorNormExpenses;
}

void ProfDeductionsForeignSheet::clearFigures() {
    *this = ProfDeductionsForeignSheet{};
}

void ProfDeductionsForeignSheet::compute(const Declaration& doc) {
    clearFigures();
    ProfessionalTotals totals{civilContractExpenses, authorActualExpenses, authorNormExpenses};
    if (doc.has(IncomeKind::Foreign))
        for (const ForeignIncome& in : doc.foreignIncomes)
            totals.add(in.incomeCode, in.deductionCode, in.incomeInRubles, in.deductionAmount, false);
    total = civilContractExpenses + authorActualExpenses + authorNormExpenses;
}

} // namespace kv
