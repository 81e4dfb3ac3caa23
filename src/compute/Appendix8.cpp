#include "compute/Appendix8.h"

#include "compute/ReturnComputation.h"

#include <initializer_list>
#include <string_view>

namespace kv {

namespace {

struct Loss {
    std::string_view kind;
    Money amount;
};

struct LineInput {
    std::string_view kind;
    Money income;
    Money costs;
    Money expenses;
    Money invDeduction219_1;
    Money invDeduction219_3;
};

// A line of the individual investment account carries its own code for the
// kind of operation and for each kind of loss set against it.
std::string_view iisKind(std::string_view ordinary) {
    struct Pair {
        std::string_view ordinary, iis;
    };
    static constexpr Pair kPairs[] = {
        {"01", "16"}, {"03", "18"}, {"04", "19"}, {"06", "21"}, {"07", "22"}, {"08", "23"},
        {"10", "25"}, {"12", "27"}, {"15", "30"}, {"31", "34"}, {"13", "28"}, {"32", "35"},
    };
    for (const auto& p : kPairs)
        if (p.ordinary == ordinary)
            return p.iis;
    return ordinary;
}

void copyExportedLosses(Appendix8Operation& line, const Appendix8Loss* first, std::size_t count) {
    Cp1251Text* kinds[] = {&line.lossKind1, &line.lossKind2, &line.lossKind3};
    Money* amounts[] = {&line.lossAmount1, &line.lossAmount2, &line.lossAmount3};
    for (std::size_t i = 0; i < count && i < 3; ++i) {
        *kinds[i] = first[i].lossKind;
        *amounts[i] = first[i].amount;
    }
}

} // namespace

void Appendix8Sheet::clearFigures() {
    *this = Appendix8Sheet();
}

void Appendix8Sheet::compute(const Declaration& /*declaration*/, const ReturnComputation& root) {
    clearFigures();

    auto addLine = [this](const LineInput& in, std::initializer_list<Loss> candidates) {
        if (in.income + in.costs <= Money{})
            return;
        Appendix8Operation line;
        line.operationKind = Cp1251Text::fromBytes(in.kind);
        line.income = in.income;
        line.costs = in.costs;
        line.expenses = in.expenses;
        line.invDeduction219_1 = in.invDeduction219_1;
        line.invDeduction219_3 = in.invDeduction219_3;
        std::size_t lossCount = 0;
        Money lossesSum;
        for (const Loss& loss : candidates) {
            if (loss.amount <= Money{})
                continue;
            line.losses[lossCount++] = Appendix8Loss{Cp1251Text::fromBytes(loss.kind), loss.amount};
            lossesSum += loss.amount;
        }
        line.lossFlag = lossCount > 0 ? 1 : 0;
        copyExportedLosses(line, line.losses.data(), lossCount);

        expensesTotal += line.expenses + lossesSum;
        investmentDeductionsTotal += line.invDeduction219_1 + line.invDeduction219_3;

        if (lossCount <= 3) {
            operations.push_back(std::move(line));
            return;
        }
        // A line shows at most three losses; the others go to a second line of the
        // same kind that carries the part of the income they reduce.
        Money firstThree;
        for (std::size_t i = 0; i < 3; ++i)
            firstThree += line.losses[i].amount;
        Appendix8Operation rest;
        rest.operationKind = line.operationKind;
        rest.income = line.income - line.expenses - line.invDeduction219_1 - firstThree;
        rest.lossFlag = 1;
        for (std::size_t i = 3; i < lossCount; ++i)
            rest.losses[i - 3] = line.losses[i];
        copyExportedLosses(rest, rest.losses.data(), lossCount - 3);
        line.income = line.expenses + line.invDeduction219_1 + firstThree;
        operations.push_back(std::move(line));
        operations.push_back(std::move(rest));
    };

    for (const SecuritiesSheet* sheet : {&root.securitiesOrdinary, &root.securitiesIia}) {
        const SecuritiesSheet& j = *sheet;
        const bool iis = sheet == &root.securitiesIia;
        auto k = [iis](std::string_view kind) { return iis ? iisKind(kind) : kind; };
        // On the ordinary account the investment deduction is the one for holding
        // securities over three years; on the investment account it is the exempt result.
        auto line = [&](std::string_view kind, Money income, Money costs, Money expenses, Money inv219_1,
                        Money exempt) {
            return LineInput{
                k(kind), income, costs, expenses, iis ? Money{} : inv219_1, iis ? exempt : Money{}};
        };
        addLine(
            line("01", j.tradedIncome, j.tradedCosts, j.tradedCostsCapped, j.invDeduction, j.exemptTraded),
            {{k("10"), j.repoLossOnTraded},
             {k("12"), j.lendingLossOnTraded},
             {k("15"), j.tradedShortInterest},
             {k("31"), j.priorLossOnTraded},
             {k("06"), j.derivSecLossOnTraded}});
        addLine(line("03", j.onceTradedIncome, j.onceTradedCosts, j.onceTradedCostsCapped, {},
                     j.exemptOnceTraded),
                {{k("01"), j.tradedLossOnOnceTraded}});
        addLine(line("04", j.untradedIncome, j.untradedCosts, j.untradedCostsCapped, {}, j.exemptUntraded),
                {{k("10"), j.repoLossOnUntraded},
                 {k("12"), j.lendingLossOnUntraded},
                 {k("15"), j.untradedShortInterest},
                 {k("13"), j.partnershipLossOnUntraded}});
        addLine(line("06", j.derivSecIncome, j.derivSecCosts, j.derivSecCostsCapped, {}, j.exemptDerivSec),
                {{k("32"), j.priorLossOnDerivSec},
                 {k("01"), j.tradedLossOnDerivSec},
                 {k("07"), j.derivOtherLossOnDerivSec}});
        addLine(line("07", j.derivOtherIncome, j.derivOtherCosts, j.derivOtherCostsCapped, {},
                     j.exemptDerivOther),
                {{k("32"), j.priorLossOnDerivOther}, {k("06"), j.derivSecLossOnDerivOther}});
        addLine(line("08", j.derivUntradedIncome, j.derivUntradedCosts, j.derivUntradedCostsCapped, {},
                     j.exemptDerivUntraded),
                {});
        addLine(line("10", j.repoIncome, j.repoCosts, j.repoCostsCapped, {}, j.exemptRepo), {});
        addLine(line("12", j.lendingIncome, j.lendingCosts, j.lendingCostsCapped, {}, j.exemptLending), {});
    }

    const PartnershipSheet& p = root.investPartnership;
    // clang-format off
    addLine({"02", p.p5002Income, p.p5002Costs, p.p5002Expenses, p.invDeduction5002, {}}, {{"33", p.priorLoss5002}});
    addLine({"05", p.p5005Income, p.p5005Costs, p.p5005Expenses, {}, {}}, {{"33", p.priorLoss5005}});
    addLine({"09", p.p5009Income, p.p5009Costs, p.p5009Expenses, {}, {}}, {{"33", p.priorLoss5009}});
    addLine({"11", p.p5011Income, p.p5011Costs, p.p5011Expenses, {}, {}}, {{"33", p.priorLoss5011}});
    addLine({"14", p.p5014Income, p.p5014Costs, p.p5014Expenses, {}, {}}, {{"33", p.priorLoss5014}});
    addLine({"13", p.p5013Income, p.p5013Costs, p.p5013Expenses, {}, {}}, {});
    addLine({"17", p.p5017Income, p.p5017Costs, p.p5017Expenses, {}, p.exempt5017}, {{"36", p.priorLoss5017}});
    addLine({"20", p.p5020Income, p.p5020Costs, p.p5020Expenses, {}, p.exempt5020}, {{"36", p.priorLoss5020}});
    addLine({"24", p.p5024Income, p.p5024Costs, p.p5024Expenses, {}, p.exempt5024}, {{"36", p.priorLoss5024}});
    addLine({"26", p.p5026Income, p.p5026Costs, p.p5026Expenses, {}, p.exempt5026}, {{"36", p.priorLoss5026}});
    addLine({"29", p.p5029Income, p.p5029Costs, p.p5029Expenses, {}, p.exempt5029}, {{"36", p.priorLoss5029}});
    addLine({"28", p.p5028Income, p.p5028Costs, p.p5028Expenses, {}, p.exempt5028}, {});
    // clang-format on

    operationCount = static_cast<std::int32_t>(operations.size());
}

} // namespace kv
