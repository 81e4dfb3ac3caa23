#include "compute/PartnershipSheet.h"

#include "model/Declaration.h"

#include <array>

namespace kv {

namespace {

struct Category {
    std::int32_t incomeCode;
    Money PartnershipSheet::*income;
    Money PartnershipSheet::*costs;
    Money PartnershipSheet::*expenses;
};

using P = PartnershipSheet;

// clang-format off
constexpr std::array<Category, 12> kCategories{{
    {5002, &P::p5002Income, &P::p5002Costs, &P::p5002Expenses},
    {5005, &P::p5005Income, &P::p5005Costs, &P::p5005Expenses},
    {5009, &P::p5009Income, &P::p5009Costs, &P::p5009Expenses},
    {5011, &P::p5011Income, &P::p5011Costs, &P::p5011Expenses},
    {5014, &P::p5014Income, &P::p5014Costs, &P::p5014Expenses},
    {5013, &P::p5013Income, &P::p5013Costs, &P::p5013Expenses},
    {5017, &P::p5017Income, &P::p5017Costs, &P::p5017Expenses},
    {5020, &P::p5020Income, &P::p5020Costs, &P::p5020Expenses},
    {5024, &P::p5024Income, &P::p5024Costs, &P::p5024Expenses},
    {5026, &P::p5026Income, &P::p5026Costs, &P::p5026Expenses},
    {5029, &P::p5029Income, &P::p5029Costs, &P::p5029Expenses},
    {5028, &P::p5028Income, &P::p5028Costs, &P::p5028Expenses},
}};
// clang-format on

const Category* categoryOf(std::int32_t incomeCode) {
    for (const auto& c : kCategories)
        if (c.incomeCode == incomeCode)
            return &c;
    return nullptr;
}

// Sets an earlier years' loss against net results in order: each category takes
// what it can and the rest passes on; the last one takes its part without
// reducing what is left (nothing follows it).
void spendLoss(Money& left, std::initializer_list<std::pair<Money, Money*>> netAndTarget) {
    const auto last = netAndTarget.end() - 1;
    for (auto it = netAndTarget.begin(); it != netAndTarget.end(); ++it) {
        *it->second = min(it->first, left);
        if (it != last)
            left -= *it->second;
    }
}

} // namespace

void PartnershipSheet::clearFigures() {
    *this = PartnershipSheet();
}

void PartnershipSheet::compute(const Declaration& declaration) {
    clearFigures();

    for (const auto& source : declaration.incomes13) {
        for (const auto& item : source.items) {
            if (item.deductionCode == 0)
                continue;
            if (const Category* c = categoryOf(item.incomeCode)) {
                this->*(c->income) += item.amount;
                this->*(c->costs) += item.deductionAmount;
            }
        }
    }
    for (const auto& c : kCategories)
        this->*(c.expenses) = min(this->*(c.costs), this->*(c.income));

    invDeduction5002 = min(declaration.investmentDeductions.invPartnership, p5002Income - p5002Expenses);
    exitLoss = max(Money{}, p5013Costs - p5013Income);
    iisExitLoss = max(Money{}, p5028Costs - p5028Income);

    priorLossLeft = declaration.securitiesLosses.partnershipLoss;
    if (priorLossLeft > Money{}) {
        spendLoss(priorLossLeft, {
                                     {p5002Income - p5002Expenses - invDeduction5002, &priorLoss5002},
                                     {p5005Income - p5005Expenses, &priorLoss5005},
                                     {p5009Income - p5009Expenses, &priorLoss5009},
                                     {p5011Income - p5011Expenses, &priorLoss5011},
                                     {p5014Income - p5014Expenses, &priorLoss5014},
                                 });
    }

    if (declaration.investmentDeductions.applyP3 != 0) {
        // The exemption covers the whole result of the account, so no loss is spent on it.
        exempt5017 = p5017Income - p5017Expenses;
        exempt5020 = p5020Income - p5020Expenses;
        exempt5024 = p5024Income - p5024Expenses;
        exempt5026 = p5026Income - p5026Expenses;
        exempt5029 = p5029Income - p5029Expenses;
        exempt5028 = p5028Income - p5028Expenses;
    } else {
        priorLossLeftIis = declaration.securitiesLosses.partnershipLossIis;
        if (priorLossLeftIis > Money{}) {
            spendLoss(priorLossLeftIis, {
                                            {p5017Income - p5017Expenses, &priorLoss5017},
                                            {p5020Income - p5020Expenses, &priorLoss5020},
                                            {p5024Income - p5024Expenses, &priorLoss5024},
                                            {p5026Income - p5026Expenses, &priorLoss5026},
                                            {p5029Income - p5029Expenses, &priorLoss5029},
                                        });
        }
    }
}

} // namespace kv
