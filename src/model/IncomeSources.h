#pragma once
// Incomes received in Russia, one record per paying source, one list per kind of
// income. A 13% source and an investment partnership keep totalIncome equal to the
// sum of their lines: change lines only through addItem/replaceItem/deleteItem.
#include "core/Money.h"
#include "core/SharedText.h"
#include "core/Storage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// Selects the stream names where one class serves two lists.
enum SourceKind : int {
    ResidentSource = 0,    // ThirteenPercentSource in incomes13
    NonResidentSource = 1, // ThirteenPercentSource in incomes13NonResident
    NinePercentSource = 0, // ThirtyPercentSource in incomes9
    DividendSource = 1,    // ThirtyPercentSource in incomes30
};

class IncomeSource {
public:
    Cp1251Text sourceInn;
    Cp1251Text sourceKpp;
    Cp1251Text sourceOktmo;
    Cp1251Text sourceName;
    Money totalIncome;
    Money taxWithheld;
    // Appendix 1 income-kind code, rewritten by every computation run; not stored.
    Cp1251Text incomeKind;

    friend bool operator==(const IncomeSource&, const IncomeSource&) = default;
};

// The fields every sheet of the computation reads come first, within 32 bytes, and the
// whole line takes 64: a walk over a hundred thousand lines reads one cache line a line.
struct ThirteenIncomeItem {
    std::int32_t incomeCode = 0;
    std::int32_t deductionCode = 0;    // 0: none
    std::int32_t deductionPercent = 0; // 0: none
    std::int16_t month = 1;            // 1..12
    std::uint8_t hasCadastralData = 0; // income codes 1510, 1511, 1512 only
    Money amount;
    Money deductionAmount;
    Money contractPrice;
    Money cadastralValue;
    SharedText incomeName; // lines of a source share their name
    SharedText cadastralNumber;

    friend bool operator==(const ThirteenIncomeItem&, const ThirteenIncomeItem&) = default;
};
static_assert(sizeof(ThirteenIncomeItem) <= 64, "a 13% line fits one cache line");

struct AgentDeductionItem {
    std::int32_t deductionCode = 0;
    Money amount;

    friend bool operator==(const AgentDeductionItem&, const AgentDeductionItem&) = default;
};

class ThirteenPercentSource : public IncomeSource {
public:
    static constexpr int kReservedSlots = 12;

    std::vector<ThirteenIncomeItem> items;
    std::vector<AgentDeductionItem> agentDeductions; // resident sources only
    // Kept from the file and written back; an absent slot holds 0.
    std::array<Money, kReservedSlots> reservedSums{};
    std::array<bool, kReservedSlots> reservedSumPresent{};
    std::uint8_t isPrimaryWorkplace = 0;
    Money computedTax;   // written by the computation, stored
    Money taxableIncome; // written by the computation, stored
    Money reservedSum;   // carried over, not used
    std::uint8_t isInvestmentPartnership = 0;

    // Lines; each keeps totalIncome the sum of the amounts. Adding to a full list throws ListFull.
    int addItem(ThirteenIncomeItem item);
    // Puts the line before line i (i == itemCount() appends).
    void insertItem(int i, ThirteenIncomeItem item);
    void replaceItem(int i, const ThirteenIncomeItem& item);
    void deleteItem(int i);
    const ThirteenIncomeItem& item(int i) const { return items.at(static_cast<std::size_t>(i)); }
    int itemCount() const { return static_cast<int>(items.size()); }

    int addAgentDeduction(const AgentDeductionItem& d);
    void replaceAgentDeduction(int i, const AgentDeductionItem& d);
    void deleteAgentDeduction(int i);
    const AgentDeductionItem& agentDeduction(int i) const {
        return agentDeductions.at(static_cast<std::size_t>(i));
    }
    int agentDeductionCount() const { return static_cast<int>(agentDeductions.size()); }

    // slot 0..11; -1.0000 marks the slot absent (and stores 0).
    void setReservedSum(int slot, Money value);
    bool hasReservedSum(int slot) const { return reservedSumPresent.at(static_cast<std::size_t>(slot)); }

    void saveTo(DocumentStorage& storage, int index, int kind = ResidentSource) const;
    void loadFrom(DocumentStorage& storage, int index, int kind = ResidentSource);
    std::int32_t storedSize(int kind = ResidentSource) const;

    friend bool operator==(const ThirteenPercentSource&, const ThirteenPercentSource&) = default;
};

class ThirtyFivePercentSource : public IncomeSource {
public:
    std::int32_t incomeCode = 0;
    std::int32_t deductionCode = 0;
    Money deductionAmount;

    void saveTo(DocumentStorage& storage, int index, int kind = 0) const;
    void loadFrom(DocumentStorage& storage, int index, int kind = 0);
    std::int32_t storedSize(int kind = 0) const;

    friend bool operator==(const ThirtyFivePercentSource&, const ThirtyFivePercentSource&) = default;
};

// Dividends (incomes30, kind DividendSource) and incomes at 9% (incomes9, kind NinePercentSource).
class ThirtyPercentSource : public IncomeSource {
public:
    std::int32_t incomeCode = 0; // 1010 dividends, 1011 incomes at 9%
    Money taxCalculated;
    Money taxableAmount;

    void saveTo(DocumentStorage& storage, int index, int kind) const;
    void loadFrom(DocumentStorage& storage, int index, int kind);
    std::int32_t storedSize(int kind) const;

    friend bool operator==(const ThirtyPercentSource&, const ThirtyPercentSource&) = default;
};

struct PartnershipIncomeItem {
    std::int32_t operationKind = 0; // 1-based position in the screen's list of operations
    Money incomeAmount;
    Money expenseShare;
    Money managerExpenses;
    Money priorYearsLoss;
    Money contributions; // carried over, not entered

    friend bool operator==(const PartnershipIncomeItem&, const PartnershipIncomeItem&) = default;
};

class InvestmentPartnership : public IncomeSource {
public:
    std::vector<PartnershipIncomeItem> items;
    Money taxCalculated;
    Money taxableAmount;

    // Lines; each keeps totalIncome the sum of incomeAmount. Adding to a full list throws ListFull.
    int addItem(const PartnershipIncomeItem& item);
    void replaceItem(int i, const PartnershipIncomeItem& item);
    void deleteItem(int i);
    const PartnershipIncomeItem& item(int i) const { return items.at(static_cast<std::size_t>(i)); }
    int itemCount() const { return static_cast<int>(items.size()); }

    void saveTo(DocumentStorage& storage, int index, int kind = 0) const;
    void loadFrom(DocumentStorage& storage, int index, int kind = 0);
    std::int32_t storedSize(int kind = 0) const;

    friend bool operator==(const InvestmentPartnership&, const InvestmentPartnership&) = default;
};

} // namespace kv
