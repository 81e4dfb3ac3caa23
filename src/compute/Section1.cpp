#include "compute/Section1.h"

#include "compute/Arithmetic.h"
#include "compute/ReturnComputation.h"
#include "model/Declaration.h"

#include <array>

namespace kv {

namespace {

// Budget classification codes of the personal income tax.
const Cp1251Text kKbkAgents{"18210102010011000110"};   // tax withheld by tax agents
const Cp1251Text kKbkBusiness{"18210102020011000110"}; // entrepreneurs and private practice
const Cp1251Text kKbkOther{"18210102030011000110"};    // tax declared by the taxpayer
const Cp1251Text kKbkCfc{"18210102050011000110"};      // profit of controlled foreign companies

const Cp1251Text kPay{"1"};
const Cp1251Text kRefund{"2"};
const Cp1251Text kNeither{"3"};

bool inBusinessOrPractice(TaxpayerCategory category) {
    using enum TaxpayerCategory;
    switch (category) {
    case Entrepreneur:
    case FarmHead:
    case Notary:
    case Lawyer:
    case ArbitrationManager:
        return true;
    case Other:
        break;
    }
    return false;
}

class LineWriter {
public:
    explicit LineWriter(std::vector<Section1Line>& lines) : lines_(lines) {}

    void append(const Cp1251Text& kbk, const Cp1251Text& oktmo, const Cp1251Text& direction, Money amount,
                OktmoSource from = {}) {
        lines_.push_back(Section1Line{kbk, oktmo, direction, amount, from});
    }

    // One line per code and OKTMO: a second amount for the same pair is added to it.
    void merge(const Cp1251Text& kbk, const Cp1251Text& oktmo, const Cp1251Text& direction, Money amount,
               OktmoSource from = {}) {
        for (auto& line : lines_) {
            if (line.kbk == kbk && line.oktmo == oktmo) {
                line.amount += amount;
                return;
            }
        }
        append(kbk, oktmo, direction, amount, from);
    }

    // Gives a refund back to the agents that withheld the tax, in the order the
    // user entered them, each at most what it withheld; returns what is left.
    template <class List> Money distribute(Money refund, const List& sources, OktmoSource::List list) {
        std::int32_t index = -1;
        for (const auto& source : sources) {
            ++index;
            if (refund <= Money{})
                break;
            const Money withheld = source.taxWithheld;
            if (withheld <= Money{})
                continue;
            const Money part = min(refund, withheld);
            merge(kKbkAgents, source.sourceOktmo, kRefund, part, OktmoSource{list, index});
            refund -= part;
        }
        return refund;
    }

private:
    std::vector<Section1Line>& lines_;
};

} // namespace

void Section1Sheet::clearFigures() {}

bool Section1Sheet::compute(const Declaration& declaration, const ReturnComputation& root) {
    const ReturnKind kind = declaration.kind();
    if (kind == ReturnKind::Estimated)
        return true;

    using L = OktmoSource::List;
    LineWriter out(lines);
    const Cp1251Text& taxpayerOktmo = declaration.person.oktmo;
    auto net = [](const Section2Sheet& s) { return s.taxToPay - s.taxToRefund; };
    const bool business = declaration.has(IncomeKind::Business);

    if (kind == ReturnKind::NonResident) {
        Money n = net(root.section2Other13);
        if (n > Money{}) {
            out.append(kKbkOther, taxpayerOktmo, kPay, n);
        } else if (n < Money{}) {
            Money left = out.distribute(-n, declaration.incomes13NonResident, L::Incomes13NonResident);
            left = out.distribute(left, declaration.investPartnerships, L::InvestPartnerships);
            if (left > Money{})
                out.merge(kKbkAgents, taxpayerOktmo, kRefund, left);
        }
        n = net(root.section2Dividends15);
        if (n > Money{})
            out.merge(kKbkOther, taxpayerOktmo, kPay, n);
        else if (n < Money{})
            out.distribute(-n, declaration.incomes30, L::Incomes30);
        n = net(root.section2Rate30);
        // A non-resident's incomes entered with the 13% sources are taxed at 30%.
        if (n > Money{})
            out.merge(kKbkOther, taxpayerOktmo, kPay, n);
        else if (n < Money{})
            out.distribute(-n, declaration.incomes13, L::Incomes13);
    } else {
        Money n = net(root.section2Other13);
        if (n > Money{}) {
            if (business) {
                const Money businessTax =
                    taxAtRate(root.business.totalIncome - root.business.professionalDeductions, 13) -
                    root.business.advancesPaid;
                if (businessTax > Money{}) {
                    const Money part = min(n, businessTax);
                    out.append(kKbkBusiness, taxpayerOktmo, kPay, part);
                    n -= part;
                }
            }
            if (n > Money{})
                out.append(kKbkOther, taxpayerOktmo, kPay, n);
        } else if (n < Money{}) {
            Money left = -n;
            const Money advances = declaration.actualAdvancePayments;
            if (business && declaration.businessIncomes.count() > 0 && advances > Money{}) {
                const Money part = min(left, advances);
                out.append(kKbkBusiness, taxpayerOktmo, kRefund, part);
                left -= part;
            }
            left = out.distribute(left, declaration.incomes13, L::Incomes13);
            left = out.distribute(left, declaration.investPartnerships, L::InvestPartnerships);
            if (left > Money{})
                out.merge(kKbkAgents, taxpayerOktmo, kRefund, left);
        }

        // A refund of dividend, 9% or 35% tax goes back only to the agents that
        // withheld it; what they did not withhold is not placed on any line.
        n = net(root.section2Dividends13);
        if (n > Money{})
            out.merge(kKbkOther, taxpayerOktmo, kPay, n);
        else if (n < Money{})
            out.distribute(-n, declaration.incomes30, L::Incomes30);
        n = net(root.section2Cfc13);
        if (n > Money{})
            out.merge(kKbkCfc, taxpayerOktmo, kPay, n);
        n = net(root.section2Rate9);
        if (n > Money{})
            out.merge(kKbkOther, taxpayerOktmo, kPay, n);
        else if (n < Money{})
            out.distribute(-n, declaration.incomes9, L::Incomes9);
        n = net(root.section2Rate35);
        if (n > Money{})
            out.merge(kKbkOther, taxpayerOktmo, kPay, n);
        else if (n < Money{})
            out.distribute(-n, declaration.incomes35, L::Incomes35);
    }

    bool result = true;
    if (lines.empty()) {
        out.append(inBusinessOrPractice(declaration.category()) ? kKbkBusiness : kKbkOther, taxpayerOktmo,
                   kNeither, Money{});
        result = false;
    }
    lineCount = static_cast<std::int32_t>(lines.size());

    const std::array<const Section2Sheet*, 7> sections = {
        &root.section2Other13, &root.section2Cfc13, &root.section2Dividends13, &root.section2Rate30,
        &root.section2Rate35,  &root.section2Rate9, &root.section2Dividends15};
    for (const auto* s : sections)
        if (s->taxToRefund < s->taxToPay)
            result = false;
    return result;
}

} // namespace kv
