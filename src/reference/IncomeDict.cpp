#include "reference/IncomeDict.h"

#include "core/Text.h"
#include "reference/XmlRead.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>

namespace kv {

namespace embedded {
// Generated at build time from data/IncomeDict.xml (see src/reference/CMakeLists.txt).
extern const unsigned char kIncomeDictXml[];
extern const std::size_t kIncomeDictXmlSize;
} // namespace embedded

namespace {

constexpr std::array<AsciiText, 12> kPartnershipCodes = {"5002", "5005", "5009", "5011", "5013", "5014",
                                                         "5017", "5020", "5024", "5026", "5028", "5029"};

// Entries at the end of the dictionary that only the list without a rate filter offers.
constexpr std::size_t kUnfilteredOnlyTail = 3;

bool flag(xmlNode* node, const char* name) {
    return attribute1251(node, name) == "True";
}

int integerOf(const Cp1251Text& text) {
    const std::string trimmed = trimText(text).bytes();
    int value = 0;
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return 0;
    return value;
}

bool stavIs(const IncomeEntry& e, int rate) {
    return !trimText(e.stav).empty() && integerOf(e.stav) == rate;
}

template <typename Row>
std::optional<std::size_t> preselect(const std::vector<const Row*>& rows, const Cp1251Text& currentCode) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i]->code == currentCode)
            return i;
    return std::nullopt;
}

} // namespace

int DeductionEntry::percent() const {
    return integerOf(stav);
}

const DeductionEntry* IncomeEntry::findDeduction(const Cp1251Text& deductionCode) const {
    for (const auto& d : deductions)
        if (d.code == deductionCode)
            return &d;
    return nullptr;
}

IncomeDict IncomeDict::parse(std::string_view xml) {
    XmlDocPtr doc = parseXmlText(xml);
    xmlNode* root = rootElement(doc.get());
    if (root == nullptr || !hasName(root, "IncomeDict"))
        throw std::runtime_error("income code dictionary: not a dictionary document");
    IncomeDict dict;
    for (xmlNode* inc = firstChildElement(root); inc != nullptr; inc = nextElement(inc)) {
        if (!hasName(inc, "Income"))
            continue;
        IncomeEntry e;
        e.stav = attribute1251(inc, "Stav");
        e.code = attribute1251(inc, "Code");
        e.name = attribute1251(inc, "Name");
        e.saleDate = flag(inc, "SaleDate");
        e.nonResident13 = flag(inc, "NRez13");
        for (xmlNode* ded = firstChildElement(inc); ded != nullptr; ded = nextElement(ded)) {
            if (!hasName(ded, "Deduction"))
                continue;
            DeductionEntry d;
            d.code = attribute1251(ded, "Code");
            d.name = attribute1251(ded, "Name");
            d.stav = attribute1251(ded, "Stav");
            d.visible = flag(ded, "Visible");
            d.enabled = flag(ded, "Enabled");
            d.equivalent = flag(ded, "Equivalent");
            d.maxSumText = attribute1251(ded, "MaxSum");
            // The program's decimal separator is the comma; an unreadable limit counts as none.
            d.maxSum = parseMoney(trimText(d.maxSumText).bytes(), ',').value_or(Money{});
            e.deductions.push_back(std::move(d));
        }
        dict.incomes.push_back(std::move(e));
    }
    return dict;
}

std::string_view IncomeDict::builtInText() {
    return std::string_view(reinterpret_cast<const char*>(embedded::kIncomeDictXml),
                            embedded::kIncomeDictXmlSize);
}

const IncomeDict& IncomeDict::builtIn() {
    // Nothing is ever written back, so one parsed copy serves every dialog.
    static const IncomeDict dict = parse(builtInText());
    return dict;
}

const IncomeEntry* IncomeDict::findIncome(const Cp1251Text& code) const {
    for (const auto& e : incomes)
        if (e.code == code)
            return &e;
    return nullptr;
}

bool isInvestmentPartnershipCode(const Cp1251Text& code) {
    return std::any_of(kPartnershipCodes.begin(), kPartnershipCodes.end(),
                       [&code](AsciiText partnership) { return code == partnership; });
}

std::vector<const IncomeEntry*> incomePickerRows(const IncomeDict& dict, const Cp1251Text& rateSelector,
                                                 bool investmentPartnership, bool nonResident) {
    std::vector<const IncomeEntry*> rows;
    const auto& all = dict.incomes;
    if (rateSelector.empty()) {
        for (std::size_t i = 1; i < all.size(); ++i)
            if (!isInvestmentPartnershipCode(all[i].code))
                rows.push_back(&all[i]);
        return rows;
    }
    const std::size_t filtered = all.size() > kUnfilteredOnlyTail ? all.size() - kUnfilteredOnlyTail : 0;
    const bool allRussian = rateSelector.size() == 3;
    for (std::size_t i = 0; i < filtered; ++i) {
        const IncomeEntry& e = all[i];
        if (allRussian) {
            if (!(stavIs(e, 13) || stavIs(e, 35)) || e.code == "2620")
                continue;
        } else {
            if (e.stav != rateSelector)
                continue;
            if (nonResident && !e.nonResident13)
                continue;
        }
        if (isInvestmentPartnershipCode(e.code) != investmentPartnership)
            continue;
        rows.push_back(&e);
    }
    return rows;
}

IncomeChoice chooseIncome(const IncomeDict& dict, const IncomeEntry& row, const Cp1251Text& rateSelector) {
    IncomeChoice c;
    c.code = row.code;
    c.name = row.name;
    const IncomeEntry* entry = dict.findIncome(row.code);
    if (entry == nullptr)
        entry = &row;
    c.hasDeductions = entry->hasDeductions();
    const Cp1251Text selector = trimText(rateSelector);
    c.rate = selector.empty() ? integerOf(entry->stav) : integerOf(selector);
    return c;
}

std::vector<const DeductionEntry*> deductionPickerRows(const IncomeDict& dict, const Cp1251Text& incomeCode,
                                                       bool fullList) {
    std::vector<const DeductionEntry*> rows;
    const IncomeEntry* income = dict.findIncome(incomeCode);
    if (income == nullptr)
        return rows;
    for (const auto& d : income->deductions) {
        const bool listed = fullList || d.code == "0" ||
                            (!d.code.empty() && (d.code[0] == '2' || d.code[0] == '5' || d.code[0] == '8'));
        if (listed)
            rows.push_back(&d);
    }
    return rows;
}

DeductionChoice chooseDeduction(const DeductionEntry& row) {
    DeductionChoice c;
    c.code = row.code;
    c.name = row.name;
    c.maxSum = row.maxSum;
    c.enabled = row.enabled;
    c.equivalent = row.equivalent;
    c.visible = row.visible;
    c.percent = row.percent();
    return c;
}

std::optional<std::size_t> preselectedRow(const std::vector<const IncomeEntry*>& rows,
                                          const Cp1251Text& currentCode) {
    return preselect(rows, currentCode);
}

std::optional<std::size_t> preselectedRow(const std::vector<const DeductionEntry*>& rows,
                                          const Cp1251Text& currentCode) {
    return preselect(rows, currentCode);
}

Money cappedDeductionAmount(const DeductionChoice& deduction, Money amount) {
    if (!deduction.maxSum.isZero() && amount > deduction.maxSum)
        return deduction.maxSum;
    return amount;
}

std::optional<Money> derivedDeductionAmount(const DeductionChoice& deduction, std::optional<Money> income,
                                            std::optional<Money> entered) {
    std::optional<Money> amount;
    if (deduction.percent != 0) {
        amount = income ? productToKopecks(*income, deduction.percent, 100) : Money{};
    } else if (deduction.equivalent) {
        amount = income.value_or(Money{});
    } else {
        amount = entered;
    }
    if (amount)
        amount = cappedDeductionAmount(deduction, *amount);
    return amount;
}

} // namespace kv
