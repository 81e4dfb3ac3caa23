#include "imports/CertificateImport.h"

#include "checks/IdentifierChecks.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "model/ListLimit.h"
#include "reference/IncomeDict.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <optional>

namespace kv {
namespace {

constexpr AsciiText kDividendCode{"1010"};
constexpr std::int32_t kNinePercentCode = 1011;
constexpr AsciiText kCancelled{"99"};
constexpr std::int32_t kNonResidentReturn = 1;

Cp1251Text u(std::string_view utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

Cp1251Text n(long long number) {
    return Cp1251Text::fromBytes(std::to_string(number));
}

Cp1251Text lineText(int line) {
    return line > 0 ? u("строка ") + n(line) + ": " : Cp1251Text();
}

std::int32_t codeNumber(const Cp1251Text& text) {
    const std::string& code = text.bytes();
    std::int32_t value = 0;
    std::from_chars(code.data(), code.data() + code.size(), value);
    return value;
}

// Tax at a whole percent: whole roubles, half a rouble up.
Money taxAt(Money base, int rate) {
    return productHalfUp(base, rate, 100, Money::kScale).value_or(Money());
}

// Standard deductions: the agent who grants them is the one they are computed by.
bool isStandardDeduction(std::int32_t code) {
    return code == 104 || code == 105 || (code >= 126 && code <= 149);
}

// The lists the entry screens offer for each income at 13%: a resident's return lists
// the 13% incomes, the other kinds the 13% and 35% ones, a non-resident only those a
// non-resident declares at 13%.
bool offered(AsciiText rateSelector, bool partnership, bool nonResident, const Cp1251Text& code) {
    const auto rows =
        incomePickerRows(IncomeDict::builtIn(), Cp1251Text(rateSelector), partnership, nonResident);
    return std::any_of(rows.begin(), rows.end(), [&](const IncomeEntry* e) { return e->code == code; });
}

// Builds the sources of one certificate; the first refusal stops it.
class Mapper {
public:
    Mapper(const CertificateFile& file, const Certificate& certificate, const Declaration& declaration,
           CertificateImport& out)
        : file_(file), certificate_(certificate), out_(out),
          nonResidentReturn_(declaration.declarationKind == kNonResidentReturn),
          residentKind0_(declaration.declarationKind == 0) {}

    void run() {
        checkIdentifiers();
        for (const CertificateRateBlock& block : certificate_.blocks) {
            if (!out_.fault.empty())
                return;
            mapBlock(block);
            warnAbout(block);
        }
    }

private:
    void refuse(int line, std::string_view utf8Text, const Cp1251Text& cp1251Tail = {}) {
        if (out_.fault.empty())
            out_.fault = lineText(line) + u(utf8Text) + cp1251Tail;
    }

    void checkCertificateInn(const Cp1251Text& inn, int line, std::string_view element,
                             std::string_view attribute) {
        if (inn.empty() || checkInn(inn, InnKind::Any) == InnResult::Valid)
            return;
        refuse(line,
               std::string("элемент «") + std::string(element) + "», атрибут «" + std::string(attribute) +
                   "»: неверное контрольное число ИНН ",
               u("«") + inn + u("»"));
    }

    void checkIdentifiers() {
        const CertificateAgent& a = file_.agent;
        checkCertificateInn(a.inn, a.innLine, a.isPerson ? "СвНАФЛ" : "СвНАЮЛ",
                            a.isPerson ? "ИННФЛ" : "ИННЮЛ");
        for (const auto& [inn, line] : file_.otherInns)
            checkCertificateInn(inn, line, "СвРеоргЮЛ", "ИННЮЛ");
        checkCertificateInn(certificate_.recipient.inn, certificate_.recipient.innLine, "ПолучДох", "ИННФЛ");
        if (certificate_.correction == kCancelled)
            refuse(certificate_.line, "справка аннулирована налоговым агентом (номер корректировки 99)");
    }

    template <class Source> Source payer() const {
        Source s;
        s.sourceName = file_.agent.name;
        s.sourceInn = file_.agent.inn;
        s.sourceKpp = file_.agent.kpp;
        s.sourceOktmo = file_.agent.oktmo;
        return s;
    }

    void requirePayer(const IncomeSource& s, bool organisation, int line) {
        const Cp1251Text* fault = organisation ? organisationPayerFault(s) : payerFault(s);
        if (organisation && file_.agent.isPerson)
            refuse(line,
                   "дивиденды и доходы по ставке 9% выплачивает только организация, а налоговый агент — "
                   "физическое лицо");
        else if (fault != nullptr)
            refuse(line, "налоговый агент: ", *fault);
    }

    // The withheld tax of a block shared by the sources it becomes: each but the last
    // takes the tax at the rate on its base (no more than is left), the last the rest.
    Money share(Money& left, Money base, int rate, bool last) const {
        const Money part = last ? left : min(left, taxAt(base, rate));
        left -= part;
        return part;
    }

    void mapBlock(const CertificateRateBlock& block) {
        std::vector<const CertificateIncome*> dividends;
        std::vector<const CertificateIncome*> others;
        for (const CertificateIncome& i : block.incomes)
            (i.code == kDividendCode ? dividends : others).push_back(&i);
        Money left = block.totals.taxWithheld;
        if (!dividends.empty())
            mapDividends(block, dividends, left, others.empty());
        if (others.empty() || !out_.fault.empty())
            return;
        switch (block.rate) {
        case 13:
            mapThirteen(block, others, left);
            return;
        case 30:
            if (nonResidentReturn_)
                return mapThirteen(block, others, left);
            return refuse(block.line,
                          "доходы по ставке 30% — доходы нерезидента; в декларации резидента их нет. "
                          "Выберите вид декларации «3-НДФЛ нерезидента» или введите доходы вручную");
        case 9:
            return mapNine(block, others, left);
        case 35:
            return mapThirtyFive(block, others, left);
        default:
            return refuse(block.line, "доходы по ставке " + std::to_string(block.rate) + "% (код дохода ",
                          others.front()->code + u(") декларация не принимает"));
        }
    }

    void requireNoDeductions(const std::vector<const CertificateIncome*>& incomes) {
        for (const CertificateIncome* i : incomes)
            if (!i->deductions.empty())
                return refuse(i->deductions.front().line, "вычет с кодом ",
                              i->deductions.front().code + u(" к доходу с кодом ") + i->code +
                                  u(" декларация не принимает"));
    }

    Money sum(const std::vector<const CertificateIncome*>& incomes) const {
        Money total;
        for (const CertificateIncome* i : incomes)
            total += i->amount;
        return total;
    }

    void mapDividends(const CertificateRateBlock& block, const std::vector<const CertificateIncome*>& incomes,
                      Money& left, bool last) {
        if (block.rate != 13 && block.rate != 15)
            return refuse(block.line, "дивиденды (код 1010) по ставке " + std::to_string(block.rate) +
                                          "% декларация не принимает");
        requireNoDeductions(incomes);
        auto s = payer<ThirtyPercentSource>();
        s.incomeCode = codeNumber(kDividendCode);
        s.totalIncome = sum(incomes);
        s.taxableAmount = s.totalIncome;
        s.taxWithheld = share(left, s.totalIncome, block.rate, last);
        requirePayer(s, true, block.line);
        out_.dividends.push_back(std::move(s));
    }

    void mapNine(const CertificateRateBlock& block, const std::vector<const CertificateIncome*>& incomes,
                 Money& left) {
        requireNoDeductions(incomes);
        auto s = payer<ThirtyPercentSource>();
        s.incomeCode = kNinePercentCode;
        s.totalIncome = sum(incomes);
        s.taxableAmount = s.totalIncome;
        s.taxCalculated = taxAt(s.totalIncome, 9);
        s.taxWithheld = left;
        requirePayer(s, true, block.line);
        out_.incomes9.push_back(std::move(s));
    }

    // One 35% source per income code: the record holds one code and one deduction.
    void mapThirtyFive(const CertificateRateBlock& block,
                       const std::vector<const CertificateIncome*>& incomes, Money& left) {
        std::vector<Cp1251Text> codes;
        for (const CertificateIncome* i : incomes)
            if (std::find(codes.begin(), codes.end(), i->code) == codes.end())
                codes.push_back(i->code);
        for (std::size_t c = 0; c < codes.size() && out_.fault.empty(); ++c) {
            std::vector<const CertificateIncome*> group;
            for (const CertificateIncome* i : incomes)
                if (i->code == codes[c])
                    group.push_back(i);
            mapThirtyFiveCode(block, group, left, c + 1 == codes.size());
        }
    }

    void mapThirtyFiveCode(const CertificateRateBlock& block,
                           const std::vector<const CertificateIncome*>& group, Money& left, bool last) {
        const CertificateIncome& first = *group.front();
        if (!offered("35", false, false, first.code))
            return refuse(first.line, "код дохода ",
                          first.code + u(" по ставке 35% декларация не принимает"));
        auto s = payer<ThirtyFivePercentSource>();
        s.incomeCode = codeNumber(first.code);
        s.totalIncome = sum(group);
        for (const CertificateIncome* i : group)
            for (const CertificateDeduction& d : i->deductions) {
                if (s.deductionCode != 0 && s.deductionCode != codeNumber(d.code))
                    return refuse(d.line, "доход по ставке 35% с кодом ",
                                  first.code +
                                      u(" несет вычеты с разными кодами, а декларация принимает один"));
                if (listedDeduction(first.code, d) == nullptr)
                    return;
                s.deductionCode = codeNumber(d.code);
                s.deductionAmount += d.amount;
            }
        if (s.deductionAmount > s.totalIncome)
            return refuse(first.line, "доход с кодом ", first.code + u(": ") + deductionOverIncomeMessage());
        s.taxWithheld = share(left, s.totalIncome - s.deductionAmount, 35, last);
        requirePayer(s, false, block.line);
        out_.incomes35.push_back(std::move(s));
    }

    const DeductionEntry* listedDeduction(const Cp1251Text& incomeCode, const CertificateDeduction& d) {
        const IncomeEntry* income = IncomeDict::builtIn().findIncome(incomeCode);
        const DeductionEntry* entry = income != nullptr ? income->findDeduction(d.code) : nullptr;
        if (entry == nullptr || d.code == "0")
            refuse(d.line, "вычет с кодом ",
                   d.code + u(" к доходу с кодом ") + incomeCode + u(" не предусмотрен справочником кодов"));
        return entry;
    }

    bool incomeOffered(const Cp1251Text& code, bool partnership) const {
        if (nonResidentReturn_)
            return offered("13", false, true, code);
        return offered(residentKind0_ ? AsciiText("13") : AsciiText("100"), partnership, false, code);
    }

    void mapThirteen(const CertificateRateBlock& block, const std::vector<const CertificateIncome*>& incomes,
                     Money& left) {
        auto s = payer<ThirteenPercentSource>();
        s.isInvestmentPartnership = isInvestmentPartnershipCode(incomes.front()->code) ? 1 : 0;
        for (const CertificateIncome* i : incomes) {
            if (!incomeOffered(i->code, s.isInvestmentPartnership != 0))
                return refuse(i->line, "код дохода ",
                              i->code + u(" по ставке ") + n(block.rate) +
                                  u("% декларация этого вида не принимает"));
            addLines(s, *i);
            if (!out_.fault.empty())
                return;
        }
        addAgentDeductions(s, block);
        s.taxWithheld = left;
        requirePayer(s, false, block.line);
        if (!out_.fault.empty())
            return;
        (nonResidentReturn_ ? out_.incomes13NonResident : out_.incomes13).push_back(std::move(s));
    }

    ThirteenIncomeItem lineOf(const CertificateIncome& income) const {
        ThirteenIncomeItem item;
        item.incomeCode = codeNumber(income.code);
        item.month = static_cast<std::int16_t>(income.month);
        item.amount = income.amount;
        // The non-resident's income dialog keeps neither the name nor a percentage.
        if (!nonResidentReturn_)
            if (const IncomeEntry* entry = IncomeDict::builtIn().findIncome(income.code))
                item.incomeName = SharedText(entry->name);
        return item;
    }

    void setDeduction(ThirteenIncomeItem& item, const Cp1251Text& incomeCode, const CertificateDeduction& d,
                      Money amount) {
        const DeductionEntry* entry = listedDeduction(incomeCode, d);
        if (entry == nullptr)
            return;
        item.deductionCode = codeNumber(d.code);
        item.deductionAmount = amount;
        item.deductionPercent = nonResidentReturn_ ? 0 : entry->percent();
    }

    // An income with its deductions as lines of the record, which hold one deduction
    // each: two deductions of one code are one; deductions of two codes split the
    // income so that each part carries one, the totals unchanged.
    void addLines(ThirteenPercentSource& s, const CertificateIncome& income) {
        std::vector<CertificateDeduction> merged;
        for (const CertificateDeduction& d : income.deductions) {
            auto same =
                std::find_if(merged.begin(), merged.end(), [&](const auto& m) { return m.code == d.code; });
            if (same == merged.end())
                merged.push_back(d);
            else
                same->amount += d.amount;
        }
        if (merged.size() > 2)
            return refuse(income.line, "к доходу с кодом ",
                          income.code +
                              u(" указаны вычеты трех и более кодов; декларация принимает не больше двух"));
        std::vector<ThirteenIncomeItem> lines{lineOf(income)};
        if (!merged.empty())
            setDeduction(lines[0], income.code, merged[0], merged[0].amount);
        if (merged.size() == 2 && out_.fault.empty()) {
            ThirteenIncomeItem second = lineOf(income);
            second.amount = min(merged[1].amount, max(Money(), income.amount - merged[0].amount));
            lines[0].amount = income.amount - second.amount;
            setDeduction(second, income.code, merged[1], merged[1].amount);
            lines.push_back(second);
        }
        for (const ThirteenIncomeItem& line : lines) {
            if (!out_.fault.empty())
                return;
            if (deductionExceedsIncome(line))
                return refuse(income.line, "доход с кодом ",
                              income.code + u(": ") + deductionOverIncomeMessage());
            s.addItem(line);
        }
    }

    void addAgentDeductions(ThirteenPercentSource& s, const CertificateRateBlock& block) {
        if (block.agentDeductions.empty())
            return;
        if (nonResidentReturn_ || s.isInvestmentPartnership)
            return refuse(block.agentDeductions.front().line,
                          nonResidentReturn_
                              ? "стандартные, социальные и имущественные вычеты налогового агента "
                                "в декларацию нерезидента не переносятся"
                              : "у инвестиционного товарищества нет вычетов налогового агента");
        const IncomeEntry* pseudo = IncomeDict::builtIn().findIncome(Cp1251Text{"0000"});
        for (const CertificateDeduction& d : block.agentDeductions) {
            const DeductionEntry* entry = pseudo != nullptr ? pseudo->findDeduction(d.code) : nullptr;
            if (entry == nullptr)
                return refuse(d.line, "вычет налогового агента с кодом ",
                              d.code + u(" не предусмотрен справочником кодов"));
            Money amount = d.amount;
            if (!entry->maxSum.isZero() && amount > entry->maxSum) {
                amount = entry->maxSum;
                out_.warnings.push_back(lineText(d.line) + u("вычет с кодом ") + d.code + u(": сумма ") +
                                        certificateAmountText(d.amount) + u(" больше предельной ") +
                                        certificateAmountText(amount) + u("; перенесена предельная"));
            }
            s.addAgentDeduction({codeNumber(d.code), amount});
            if (isStandardDeduction(codeNumber(d.code)))
                s.isPrimaryWorkplace = 1;
        }
    }

    void warn(const CertificateRateBlock& block, std::string_view what, Money stated,
              std::string_view against, Money expected) {
        out_.warnings.push_back(lineText(block.line) + u("ставка ") + n(block.rate) + "%: " + u(what) + " " +
                                certificateAmountText(stated) + " " + u(against) + " " +
                                certificateAmountText(expected));
    }

    void warnAbout(const CertificateRateBlock& block) {
        const CertificateTotals& t = block.totals;
        Money months;
        Money deductions;
        for (const CertificateIncome& i : block.incomes) {
            months += i.amount;
            for (const CertificateDeduction& d : i.deductions)
                deductions += d.amount;
        }
        for (const CertificateDeduction& d : block.agentDeductions)
            deductions += d.amount;
        if (months != t.income)
            warn(block, "общая сумма дохода", t.income, "не равна сумме доходов по месяцам", months);
        const Money base = max(Money(), t.income - deductions);
        if (base != t.base)
            warn(block, "налоговая база", t.base, "не равна доходу за вычетом вычетов", base);
        const Money computed = taxAt(t.base, block.rate);
        if (computed != t.taxComputed)
            warn(block, "исчисленный налог", t.taxComputed, "не равен налоговой базе, умноженной на ставку,",
                 computed);
        if (t.taxWithheld > t.taxComputed + t.taxOverWithheld)
            warn(block, "удержанный налог", t.taxWithheld, "больше исчисленного с учетом излишне удержанного",
                 t.taxComputed + t.taxOverWithheld);
    }

    const CertificateFile& file_;
    const Certificate& certificate_;
    CertificateImport& out_;
    bool nonResidentReturn_;
    bool residentKind0_;
};

template <class List, class Source> void requireRoomFor(const List& list, const std::vector<Source>& added) {
    if (!added.empty())
        requireRoomInList(static_cast<std::size_t>(list.count()) + added.size() - 1);
}

// The sources fit their lists even if none is replaced.
void requireRoom(const Declaration& d, const CertificateImport& import) {
    requireRoomFor(d.incomes13, import.incomes13);
    requireRoomFor(d.incomes13NonResident, import.incomes13NonResident);
    requireRoomFor(d.incomes35, import.incomes35);
    requireRoomFor(d.incomes30, import.dividends);
    requireRoomFor(d.incomes9, import.incomes9);
}

Cp1251Text nameKey(const Cp1251Text& text) {
    return upperCp1251(trimText(text));
}

bool sameAgent(const IncomeSource& s, const CertificateAgent& a) {
    return trimText(s.sourceInn) == a.inn && trimText(s.sourceKpp) == a.kpp &&
           trimText(s.sourceOktmo) == a.oktmo;
}

template <class List>
void findReplaced(const List& list, SourceList which, const CertificateAgent& agent,
                  std::vector<ReplacedSource>& out) {
    for (int i = 0; i < list.count(); ++i)
        if (sameAgent(list.get(i), agent))
            out.push_back({which, i, list.get(i).sourceName});
}

template <class List, class Source> void appendAll(List& list, const std::vector<Source>& sources) {
    for (const Source& s : sources)
        list.add(s);
}

} // namespace

std::vector<int> certificatesWithInn(const CertificateFile& file, const Cp1251Text& inn) {
    std::vector<int> found;
    const Cp1251Text key = trimText(inn);
    for (std::size_t i = 0; i < file.certificates.size(); ++i)
        if (!key.empty() && file.certificates[i].recipient.inn == key)
            found.push_back(static_cast<int>(i));
    return found;
}

std::vector<int> certificatesOfTaxpayer(const CertificateFile& file, const Taxpayer& person) {
    if (!trimText(person.inn).empty())
        return certificatesWithInn(file, person.inn);
    std::vector<int> found;
    if (trimText(person.surname).empty() || trimText(person.firstName).empty())
        return found;
    for (std::size_t i = 0; i < file.certificates.size(); ++i) {
        const CertificateRecipient& r = file.certificates[i].recipient;
        if (nameKey(r.surname) == nameKey(person.surname) &&
            nameKey(r.firstName) == nameKey(person.firstName) && r.birthDate == person.birthDate)
            found.push_back(static_cast<int>(i));
    }
    return found;
}

Cp1251Text recipientLabel(const Certificate& c) {
    const CertificateRecipient& r = c.recipient;
    Cp1251Text text = r.surname + " " + r.firstName;
    if (!r.patronymic.empty())
        text += " " + r.patronymic;
    text += r.inn.empty() ? u(", ИНН не указан") : u(", ИНН ") + r.inn;
    return text + u(", дата рождения ") + r.birthDateText + u(", справка № ") + c.number;
}

Cp1251Text sourceListTitle(SourceList list) {
    static const std::array<Cp1251Text, 5> titles = {u("Доходы по ставке 13%"), u("Доходы нерезидента"),
                                                     u("Доходы по ставке 35%"), u("Дивиденды"),
                                                     u("Доходы по ставке 9%")};
    return titles.at(static_cast<std::size_t>(list));
}

Cp1251Text certificateAmountText(Money amount) {
    const std::int64_t kopecks = productHalfUp(amount, 1, 1, 100).value_or(Money()).raw / 100;
    const std::int64_t whole = (kopecks < 0 ? -kopecks : kopecks);
    std::string cents = std::to_string(whole % 100);
    return Cp1251Text::fromBytes((kopecks < 0 ? "-" : "") + std::to_string(whole / 100) + "," +
                                 (cents.size() < 2 ? "0" : "") + cents);
}

Money CertificateImport::totalIncome() const {
    Money total;
    for (const auto* list : {&incomes13, &incomes13NonResident})
        for (const auto& s : *list)
            total += s.totalIncome;
    for (const auto& s : incomes35)
        total += s.totalIncome;
    for (const auto* list : {&dividends, &incomes9})
        for (const auto& s : *list)
            total += s.totalIncome;
    return total;
}

Money CertificateImport::totalWithheld() const {
    Money total;
    for (const auto* list : {&incomes13, &incomes13NonResident})
        for (const auto& s : *list)
            total += s.taxWithheld;
    for (const auto& s : incomes35)
        total += s.taxWithheld;
    for (const auto* list : {&dividends, &incomes9})
        for (const auto& s : *list)
            total += s.taxWithheld;
    return total;
}

CertificateImport prepareImport(const CertificateFile& file, int index, const Declaration& d) {
    CertificateImport out;
    out.certificate = &file.certificates.at(static_cast<std::size_t>(index));
    out.agent = file.agent;
    try {
        Mapper(file, *out.certificate, d, out).run();
        requireRoom(d, out);
    } catch (const ListFull& full) {
        // More lines than a source holds, or more sources than a list does.
        out.fault = full.message();
    }
    if (!out.accepted()) {
        out.incomes13.clear();
        out.incomes13NonResident.clear();
        out.incomes35.clear();
        out.dividends.clear();
        out.incomes9.clear();
        out.warnings.clear();
        return out;
    }
    findReplaced(d.incomes13, SourceList::Incomes13, file.agent, out.replaced);
    findReplaced(d.incomes13NonResident, SourceList::Incomes13NonResident, file.agent, out.replaced);
    findReplaced(d.incomes35, SourceList::Incomes35, file.agent, out.replaced);
    findReplaced(d.incomes30, SourceList::Dividends, file.agent, out.replaced);
    findReplaced(d.incomes9, SourceList::Incomes9, file.agent, out.replaced);
    return out;
}

void applyImport(Declaration& d, const CertificateImport& import, bool replace) {
    if (!import.accepted())
        return;
    if ((d.incomeFlags() & Declaration::kAgentIncomes) == 0)
        d.setIncomeFlags(d.incomeFlags() | Declaration::kAgentIncomes);
    if (replace) {
        // From the last to the first, so that the indices found stay right.
        for (auto r = import.replaced.rbegin(); r != import.replaced.rend(); ++r) {
            switch (r->list) {
            case SourceList::Incomes13:
                d.incomes13.remove(r->index);
                break;
            case SourceList::Incomes13NonResident:
                d.incomes13NonResident.remove(r->index);
                break;
            case SourceList::Incomes35:
                d.incomes35.remove(r->index);
                break;
            case SourceList::Dividends:
                d.incomes30.remove(r->index);
                break;
            case SourceList::Incomes9:
                d.incomes9.remove(r->index);
                break;
            }
        }
    }
    appendAll(d.incomes13, import.incomes13);
    appendAll(d.incomes13NonResident, import.incomes13NonResident);
    appendAll(d.incomes35, import.incomes35);
    appendAll(d.incomes30, import.dividends);
    appendAll(d.incomes9, import.incomes9);
}

bool sameCertificate(const CertificateImport& a, const CertificateImport& b) {
    return a.agent.inn == b.agent.inn && a.agent.kpp == b.agent.kpp && a.agent.oktmo == b.agent.oktmo &&
           a.certificate != nullptr && b.certificate != nullptr &&
           a.certificate->number == b.certificate->number;
}

} // namespace kv
