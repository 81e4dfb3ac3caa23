#include "model/IncomeSources.h"

#include "model/ListLimit.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace kv {

namespace {

using S = DocumentStorage;

constexpr std::string_view kSscDeducts = "@SSCDeducts";

// Stream names keep one length per class (index with three digits), so the
// stored size does not depend on the index.
constexpr int kIndexDigits = 3;

std::string_view thirteenRecordPrefix(int kind) {
    switch (kind) {
    case ResidentSource:
        return "@ThirteenPercent";
    case NonResidentSource:
        return "@ThirteenPerceNR";
    }
    throw std::invalid_argument("unknown kind of 13% source");
}

std::string_view thirteenLinePrefix(int kind) {
    switch (kind) {
    case ResidentSource:
        return "@SourseIncome";
    case NonResidentSource:
        return "@SourseIncoNR";
    }
    throw std::invalid_argument("unknown kind of 13% source");
}

std::string_view thirtyPrefix(int kind) {
    switch (kind) {
    case NinePercentSource:
        return "@NinePercent";
    case DividendSource:
        return "@ThirtyPercent";
    }
    throw std::invalid_argument("unknown kind of dividend or 9% source");
}

std::int32_t sizeOfName(std::string_view prefix, int indexCount) {
    return S::sizeOfText(prefix) + kIndexDigits * indexCount;
}

std::int32_t sizeOfSourceTexts(const IncomeSource& s) {
    return S::sizeOfText(s.sourceInn) + S::sizeOfText(s.sourceKpp) + S::sizeOfText(s.sourceOktmo) +
           S::sizeOfText(s.sourceName);
}

void writeSourceTexts(DocumentStorage& storage, const IncomeSource& s) {
    storage.writeText(s.sourceInn);
    storage.writeText(s.sourceKpp);
    storage.writeText(s.sourceOktmo);
    storage.writeText(s.sourceName);
}

void readSourceTexts(DocumentStorage& storage, IncomeSource& s) {
    s.sourceInn = storage.readText();
    s.sourceKpp = storage.readText();
    s.sourceOktmo = storage.readText();
    s.sourceName = storage.readText();
}

// A slot never set is stored as "a", which reads back as -1.0000.
constexpr AsciiText kAbsentAmount{"a"};
const Money kAbsentValue = Money::fromRaw(-Money::kScale);

template <class List> void checkIndex(const List& list, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= list.size())
        throw std::out_of_range("line index out of range");
}

} // namespace

// --- ThirteenPercentSource ------------------------------------------------------

int ThirteenPercentSource::addItem(ThirteenIncomeItem line) {
    requireRoomInList(items.size());
    items.push_back(std::move(line));
    totalIncome += items.back().amount;
    return itemCount() - 1;
}

void ThirteenPercentSource::insertItem(int i, ThirteenIncomeItem line) {
    if (i < 0 || i > itemCount())
        throw std::out_of_range("ThirteenPercentSource: line position out of range");
    requireRoomInList(items.size());
    totalIncome += line.amount;
    items.insert(items.begin() + i, std::move(line));
}

void ThirteenPercentSource::replaceItem(int i, const ThirteenIncomeItem& line) {
    checkIndex(items, i);
    ThirteenIncomeItem& old = items[static_cast<std::size_t>(i)];
    totalIncome -= old.amount;
    old = line;
    totalIncome += line.amount;
}

void ThirteenPercentSource::deleteItem(int i) {
    checkIndex(items, i);
    totalIncome -= items[static_cast<std::size_t>(i)].amount;
    items.erase(items.begin() + i);
}

int ThirteenPercentSource::addAgentDeduction(const AgentDeductionItem& d) {
    requireRoomInList(agentDeductions.size());
    agentDeductions.push_back(d);
    return agentDeductionCount() - 1;
}

void ThirteenPercentSource::replaceAgentDeduction(int i, const AgentDeductionItem& d) {
    checkIndex(agentDeductions, i);
    agentDeductions[static_cast<std::size_t>(i)] = d;
}

void ThirteenPercentSource::deleteAgentDeduction(int i) {
    checkIndex(agentDeductions, i);
    agentDeductions.erase(agentDeductions.begin() + i);
}

void ThirteenPercentSource::setReservedSum(int slot, Money value) {
    if (slot < 0 || slot >= kReservedSlots)
        throw std::out_of_range("reserved sum slot out of range");
    const auto s = static_cast<std::size_t>(slot);
    const bool present = value != kAbsentValue;
    reservedSums[s] = present ? value : Money();
    reservedSumPresent[s] = present;
}

void ThirteenPercentSource::saveTo(DocumentStorage& storage, int index, int kind) const {
    const std::string_view linePrefix = thirteenLinePrefix(kind);
    storage.beginStream(indexedStreamName(thirteenRecordPrefix(kind), index));
    storage.writeByte(isPrimaryWorkplace);
    writeSourceTexts(storage, *this);
    storage.writeMoney(taxWithheld);
    storage.writeMoney(taxableIncome);
    storage.writeMoney(computedTax);
    storage.writeMoney(reservedSum);
    storage.writeByte(isInvestmentPartnership);
    for (int slot = 0; slot < kReservedSlots; ++slot) {
        if (hasReservedSum(slot))
            storage.writeMoney(reservedSums[static_cast<std::size_t>(slot)]);
        else
            storage.writeText(kAbsentAmount);
    }

    storage.writeInt32(itemCount());
    for (int i = 0; i < itemCount(); ++i) {
        const ThirteenIncomeItem& line = item(i);
        storage.beginStream(indexedStreamName(linePrefix, index, i));
        storage.writeInt32(line.incomeCode);
        storage.writeText(line.incomeName);
        storage.writeMoney(line.amount);
        storage.writeInt32(line.deductionCode);
        storage.writeMoney(line.deductionAmount);
        storage.writeInt32(line.deductionPercent);
        storage.writeInt16(static_cast<std::uint16_t>(line.month));
        storage.writeByte(line.hasCadastralData);
        storage.writeText(line.cadastralNumber);
        storage.writeMoney(line.cadastralValue);
        storage.writeMoney(line.contractPrice);
    }

    storage.writeInt32(agentDeductionCount());
    for (int j = 0; j < agentDeductionCount(); ++j) {
        const AgentDeductionItem& d = agentDeduction(j);
        storage.beginStream(indexedStreamName(kSscDeducts, index, j));
        storage.writeInt32(d.deductionCode);
        storage.writeMoney(d.amount);
    }
}

void ThirteenPercentSource::loadFrom(DocumentStorage& storage, int index, int kind) {
    const std::string_view linePrefix = thirteenLinePrefix(kind);
    // totalIncome is not stored: it is rebuilt from the lines as they are added.
    items.clear();
    agentDeductions.clear();
    totalIncome = Money();

    storage.openStream(indexedStreamName(thirteenRecordPrefix(kind), index));
    // Documents of container version 1.0 predate the primary-workplace flag.
    if (storage.formatVersion() >= DocumentStorage::kVersion11)
        isPrimaryWorkplace = storage.readByte();
    readSourceTexts(storage, *this);
    taxWithheld = storage.readMoney();
    taxableIncome = storage.readMoney();
    computedTax = storage.readMoney();
    reservedSum = storage.readMoney();
    isInvestmentPartnership = storage.readByte();
    for (int slot = 0; slot < kReservedSlots; ++slot)
        setReservedSum(slot, storage.readMoney());

    const std::int32_t lineCount = storage.readInt32();
    requireStoredCount(lineCount);
    items.reserve(static_cast<std::size_t>(lineCount));
    // The few names a source's lines carry, each read once and shared by its lines.
    std::array<SharedText, 4> names;
    std::size_t nextName = 0;
    auto sharedName = [&](std::string_view text) {
        if (text.empty())
            return SharedText();
        for (const SharedText& name : names)
            if (name.bytes() == text)
                return name;
        SharedText& slot = names[nextName++ % names.size()];
        slot = SharedText(Cp1251Text::fromBytes(text));
        return slot;
    };
    for (int i = 0; i < lineCount; ++i) {
        storage.openStream(indexedStreamName(linePrefix, index, i));
        ThirteenIncomeItem line;
        line.incomeCode = storage.readInt32();
        line.incomeName = sharedName(storage.readTextView());
        line.amount = storage.readMoney();
        line.deductionCode = storage.readInt32();
        line.deductionAmount = storage.readMoney();
        line.deductionPercent = storage.readInt32();
        line.month = static_cast<std::int16_t>(storage.readInt16());
        line.hasCadastralData = storage.readByte();
        line.cadastralNumber = SharedText(Cp1251Text::fromBytes(storage.readTextView()));
        line.cadastralValue = storage.readMoney();
        line.contractPrice = storage.readMoney();
        addItem(std::move(line));
    }

    // The count follows the last line's values (or the line count).
    const std::int32_t deductionCount = storage.readInt32();
    requireStoredCount(deductionCount);
    for (int j = 0; j < deductionCount; ++j) {
        storage.openStream(indexedStreamName(kSscDeducts, index, j));
        AgentDeductionItem d;
        d.deductionCode = storage.readInt32();
        d.amount = storage.readMoney();
        addAgentDeduction(d);
    }
}

std::int32_t ThirteenPercentSource::storedSize(int kind) const {
    std::int32_t size = sizeOfName(thirteenRecordPrefix(kind), 1);
    size += S::sizeOfByte(isPrimaryWorkplace) + sizeOfSourceTexts(*this);
    size += S::sizeOfMoney(taxWithheld) + S::sizeOfMoney(taxableIncome) + S::sizeOfMoney(computedTax) +
            S::sizeOfMoney(reservedSum) + S::sizeOfByte(isInvestmentPartnership);
    for (int slot = 0; slot < kReservedSlots; ++slot)
        size += hasReservedSum(slot) ? S::sizeOfMoney(reservedSums[static_cast<std::size_t>(slot)])
                                     : S::sizeOfText(kAbsentAmount);

    size += S::sizeOfInt32(itemCount());
    const std::int32_t lineName = sizeOfName(thirteenLinePrefix(kind), 2);
    for (const ThirteenIncomeItem& line : items) {
        size += lineName + S::sizeOfInt32(line.incomeCode) + S::sizeOfText(line.incomeName) +
                S::sizeOfMoney(line.amount) + S::sizeOfInt32(line.deductionCode) +
                S::sizeOfMoney(line.deductionAmount) + S::sizeOfInt32(line.deductionPercent) +
                S::sizeOfInt16(static_cast<std::uint16_t>(line.month)) +
                S::sizeOfByte(line.hasCadastralData) + S::sizeOfText(line.cadastralNumber) +
                S::sizeOfMoney(line.cadastralValue) + S::sizeOfMoney(line.contractPrice);
    }

    size += S::sizeOfInt32(agentDeductionCount());
    const std::int32_t deductionName = sizeOfName(kSscDeducts, 2);
    for (const AgentDeductionItem& d : agentDeductions)
        size += deductionName + S::sizeOfInt32(d.deductionCode) + S::sizeOfMoney(d.amount);
    return size;
}

// --- ThirtyFivePercentSource ----------------------------------------------------

namespace {
constexpr std::string_view kThirtyFivePrefix = "@ThirtyFivePercent";
}

void ThirtyFivePercentSource::saveTo(DocumentStorage& storage, int index, int /*kind*/) const {
    storage.beginStream(indexedStreamName(kThirtyFivePrefix, index));
    storage.writeInt32(incomeCode);
    writeSourceTexts(storage, *this);
    storage.writeMoney(totalIncome);
    storage.writeInt32(deductionCode);
    storage.writeMoney(deductionAmount);
    storage.writeMoney(taxWithheld);
}

void ThirtyFivePercentSource::loadFrom(DocumentStorage& storage, int index, int /*kind*/) {
    storage.openStream(indexedStreamName(kThirtyFivePrefix, index));
    incomeCode = storage.readInt32();
    readSourceTexts(storage, *this);
    totalIncome = storage.readMoney();
    deductionCode = storage.readInt32();
    deductionAmount = storage.readMoney();
    taxWithheld = storage.readMoney();
}

std::int32_t ThirtyFivePercentSource::storedSize(int /*kind*/) const {
    return sizeOfName(kThirtyFivePrefix, 1) + S::sizeOfInt32(incomeCode) + sizeOfSourceTexts(*this) +
           S::sizeOfMoney(totalIncome) + S::sizeOfInt32(deductionCode) + S::sizeOfMoney(deductionAmount) +
           S::sizeOfMoney(taxWithheld);
}

// --- ThirtyPercentSource --------------------------------------------------------

void ThirtyPercentSource::saveTo(DocumentStorage& storage, int index, int kind) const {
    storage.beginStream(indexedStreamName(thirtyPrefix(kind), index));
    storage.writeInt32(incomeCode);
    writeSourceTexts(storage, *this);
    storage.writeMoney(totalIncome);
    storage.writeMoney(taxCalculated);
    storage.writeMoney(taxableAmount);
    storage.writeMoney(taxWithheld);
}

void ThirtyPercentSource::loadFrom(DocumentStorage& storage, int index, int kind) {
    storage.openStream(indexedStreamName(thirtyPrefix(kind), index));
    incomeCode = storage.readInt32();
    readSourceTexts(storage, *this);
    totalIncome = storage.readMoney();
    taxCalculated = storage.readMoney();
    taxableAmount = storage.readMoney();
    taxWithheld = storage.readMoney();
}

std::int32_t ThirtyPercentSource::storedSize(int kind) const {
    return sizeOfName(thirtyPrefix(kind), 1) + S::sizeOfInt32(incomeCode) + sizeOfSourceTexts(*this) +
           S::sizeOfMoney(totalIncome) + S::sizeOfMoney(taxCalculated) + S::sizeOfMoney(taxableAmount) +
           S::sizeOfMoney(taxWithheld);
}

// --- InvestmentPartnership ------------------------------------------------------------

namespace {
constexpr std::string_view kInvestTovPrefix = "@InvestTov";
constexpr std::string_view kInvestTovLinePrefix = "@InvestTovIncome";
} // namespace

int InvestmentPartnership::addItem(const PartnershipIncomeItem& line) {
    requireRoomInList(items.size());
    items.push_back(line);
    totalIncome += line.incomeAmount;
    return itemCount() - 1;
}

void InvestmentPartnership::replaceItem(int i, const PartnershipIncomeItem& line) {
    checkIndex(items, i);
    PartnershipIncomeItem& old = items[static_cast<std::size_t>(i)];
    totalIncome -= old.incomeAmount;
    old = line;
    totalIncome += line.incomeAmount;
}

void InvestmentPartnership::deleteItem(int i) {
    checkIndex(items, i);
    totalIncome -= items[static_cast<std::size_t>(i)].incomeAmount;
    items.erase(items.begin() + i);
}

void InvestmentPartnership::saveTo(DocumentStorage& storage, int index, int /*kind*/) const {
    storage.beginStream(indexedStreamName(kInvestTovPrefix, index));
    writeSourceTexts(storage, *this);
    storage.writeMoney(taxWithheld);
    storage.writeMoney(taxableAmount);
    storage.writeMoney(taxCalculated);
    storage.writeInt32(itemCount());
    for (int i = 0; i < itemCount(); ++i) {
        const PartnershipIncomeItem& line = item(i);
        storage.beginStream(indexedStreamName(kInvestTovLinePrefix, index, i));
        storage.writeInt32(line.operationKind);
        storage.writeMoney(line.incomeAmount);
        storage.writeMoney(line.expenseShare);
        storage.writeMoney(line.managerExpenses);
        storage.writeMoney(line.priorYearsLoss);
        storage.writeMoney(line.contributions);
    }
}

void InvestmentPartnership::loadFrom(DocumentStorage& storage, int index, int /*kind*/) {
    items.clear();
    totalIncome = Money();

    storage.openStream(indexedStreamName(kInvestTovPrefix, index));
    readSourceTexts(storage, *this);
    taxWithheld = storage.readMoney();
    taxableAmount = storage.readMoney();
    taxCalculated = storage.readMoney();
    const std::int32_t lineCount = storage.readInt32();
    requireStoredCount(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        storage.openStream(indexedStreamName(kInvestTovLinePrefix, index, i));
        PartnershipIncomeItem line;
        line.operationKind = storage.readInt32();
        line.incomeAmount = storage.readMoney();
        line.expenseShare = storage.readMoney();
        line.managerExpenses = storage.readMoney();
        line.priorYearsLoss = storage.readMoney();
        line.contributions = storage.readMoney();
        addItem(line);
    }
}

std::int32_t InvestmentPartnership::storedSize(int /*kind*/) const {
    std::int32_t size = sizeOfName(kInvestTovPrefix, 1) + sizeOfSourceTexts(*this) +
                        S::sizeOfMoney(taxWithheld) + S::sizeOfMoney(taxableAmount) +
                        S::sizeOfMoney(taxCalculated) + S::sizeOfInt32(itemCount());
    const std::int32_t lineName = sizeOfName(kInvestTovLinePrefix, 2);
    for (const PartnershipIncomeItem& line : items)
        size += lineName + S::sizeOfInt32(line.operationKind) + S::sizeOfMoney(line.incomeAmount) +
                S::sizeOfMoney(line.expenseShare) + S::sizeOfMoney(line.managerExpenses) +
                S::sizeOfMoney(line.priorYearsLoss) + S::sizeOfMoney(line.contributions);
    return size;
}

} // namespace kv
