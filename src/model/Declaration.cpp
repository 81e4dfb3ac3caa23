#include "model/Declaration.h"

#include "model/ListLimit.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

namespace kv {

namespace {

using S = DocumentStorage;

constexpr std::string_view kDeclInfo = "@DeclInfo";
constexpr std::string_view kDeclInquiry = "@DeclInquiry";
constexpr std::string_view kDeclForeign = "@DeclForeign";
constexpr std::string_view kDeclPartnerships = "@DeclCBiInvTov";
constexpr std::string_view kDeclBusiness = "@DeclBusiness";

// Records of one list: a count, then each record with its own streams. The
// next value of the enclosing stream follows the last record's last value.
template <class T, class... Kind> void saveList(S& s, const IncomeList<T>& list, Kind... kind) {
    s.writeInt16(static_cast<std::uint16_t>(list.count()));
    for (std::int32_t i = 0; i < list.count(); ++i)
        list.get(i).saveTo(s, i, kind...);
}

template <class T, class... Kind> std::int64_t listSize(const IncomeList<T>& list, Kind... kind) {
    std::int64_t size = S::sizeOfInt16(static_cast<std::uint16_t>(list.count()));
    for (const auto& record : list)
        size += record.storedSize(kind...);
    return size;
}

} // namespace

Declaration::Declaration(const Clock& clock) : documentDate(clock.today()) {}

bool Declaration::hasIncomes() const {
    return has(IncomeKind::Agent) || has(IncomeKind::Foreign) || has(IncomeKind::Business) ||
           has(IncomeKind::Partnership);
}

void Declaration::setIncomeFlags(std::uint8_t newFlags) {
    const std::uint8_t changed = incomeFlags_ ^ newFlags;
    if ((changed & kAgentIncomes) != 0) {
        if ((newFlags & kAgentIncomes) != 0) {
            incomes13.create();
            incomes13NonResident.create();
            incomes35.create();
            incomes30.create();
            incomes9.create();
        } else {
            foreignerFixedAdvance = Money{};
            reservedInt2 = 0;
            incomes13.destroy();
            incomes13NonResident.destroy();
            incomes35.destroy();
            incomes30.destroy();
            incomes9.destroy();
        }
    }
    auto toggle = [&](std::uint8_t bit, auto& list) {
        if ((changed & bit) == 0)
            return;
        if ((newFlags & bit) != 0)
            list.create();
        else
            list.destroy();
    };
    toggle(kForeignIncomes, foreignIncomes);
    toggle(kPartnershipIncomes, investPartnerships);
    toggle(kBusinessIncomes, businessIncomes);
    // The business figures of the whole return go with the activities they belong to:
    // kept, they would still be credited in Section 2 once the box is ticked again,
    // while the business screen, with no activity, has nowhere to show them.
    if ((changed & kBusinessIncomes) != 0 && (newFlags & kBusinessIncomes) == 0)
        clearBusinessFigures();
    // The reserved bit is kept as given; the bits above it mean nothing and are
    // dropped, so a stray high bit never makes the flags "not empty".
    incomeFlags_ =
        newFlags & (kAgentIncomes | kForeignIncomes | kBusinessIncomes | kReservedFlag | kPartnershipIncomes);
}

bool Declaration::holdsEntriesUnder(std::uint8_t flagBits) const {
    const auto held = [flagBits](std::uint8_t bit, auto&... lists) {
        return (flagBits & bit) != 0 && ((lists.count() > 0) || ...);
    };
    return held(kAgentIncomes, incomes13, incomes13NonResident, incomes35, incomes30, incomes9) ||
           ((flagBits & kAgentIncomes) != 0 && !foreignerFixedAdvance.isZero()) ||
           held(kForeignIncomes, foreignIncomes) || held(kBusinessIncomes, businessIncomes) ||
           ((flagBits & kBusinessIncomes) != 0 && holdsBusinessFigures()) ||
           held(kPartnershipIncomes, investPartnerships);
}

bool Declaration::holdsBusinessFigures() const {
    return !actualAdvancePayments.isZero() || !adjustedBase.isZero() || !adjustedTax.isZero() ||
           !patentPayments.isZero() || !tradeFee.isZero() || isFarmHousehold != 0;
}

void Declaration::clearBusinessFigures() {
    actualAdvancePayments = Money{};
    adjustedBase = Money{};
    adjustedTax = Money{};
    patentPayments = Money{};
    tradeFee = Money{};
    isFarmHousehold = 0;
    farmFoundingDate = kDefaultFarmFoundingDate;
}

void Declaration::setSupportingSheets(std::int32_t n) {
    if (sheetCountAutomatic == 1)
        return;
    supportingSheets_ = n;
}

std::int32_t Declaration::storedSize() const {
    std::int64_t size = static_cast<std::int64_t>(S::kHeaderSize);

    size += S::sizeOfText(kDeclInfo) + S::sizeOfText(inspectionCode) + S::sizeOfText(inspectionName) +
            S::sizeOfByte(reservedByte) + S::sizeOfInt32(correctionNumber) + S::sizeOfDate(documentDate) +
            S::sizeOfInt16(submitterKind) + S::sizeOfInt16(taxpayerCategory) +
            S::sizeOfInt16(declarationKind) + S::sizeOfInt16(incomeFlags_) +
            S::sizeOfByte(sheetCountAutomatic) + S::sizeOfInt32(supportingSheets_) +
            S::sizeOfInt32(foreignAppendixSheets);
    for (auto v : {reservedInt1, reservedInt2, reservedInt3, reservedInt4, reservedInt5, reservedInt6,
                   reservedInt7, reservedInt8})
        size += S::sizeOfInt32(v);
    size += S::sizeOfText(representativeDocument) + S::sizeOfMoney(estimatedIncome) +
            S::sizeOfText(representativeName) + S::sizeOfText(representativeOrganisation) +
            S::sizeOfMoney(foreignerFixedAdvance);

    size += person.storedSize();

    if ((incomeFlags_ & kAgentIncomes) != 0) {
        size += S::sizeOfText(kDeclInquiry);
        size += listSize(incomes13, int{ResidentSource});
        size += listSize(incomes13NonResident, int{NonResidentSource});
        size += listSize(incomes35);
        size += listSize(incomes30, int{DividendSource});
        size += listSize(incomes9, int{NinePercentSource});
    }
    if ((incomeFlags_ & kForeignIncomes) != 0)
        size += S::sizeOfText(kDeclForeign) + listSize(foreignIncomes);
    if ((incomeFlags_ & kPartnershipIncomes) != 0)
        size += S::sizeOfText(kDeclPartnerships) + listSize(investPartnerships);
    if ((incomeFlags_ & kBusinessIncomes) != 0) {
        size += S::sizeOfText(kDeclBusiness) + listSize(businessIncomes);
        size += S::sizeOfMoney(actualAdvancePayments) + S::sizeOfMoney(estimatedIncome) +
                S::sizeOfMoney(businessReservedSum) + S::sizeOfText(representativeDocument) +
                S::sizeOfByte(isFarmHousehold) + S::sizeOfDate(farmFoundingDate) +
                S::sizeOfMoney(adjustedBase) + S::sizeOfMoney(adjustedTax) + S::sizeOfMoney(tradeFee) +
                S::sizeOfMoney(patentPayments);
    }
    if (incomeFlags_ != 0) {
        size += standardDeductions.storedSize() + socialDeductions.storedSize() +
                propertyDeductions.storedSize() + securitiesLosses.storedSize() +
                investmentDeductions.storedSize();
    }
    // The file's length is a 32-bit number; a document beyond it cannot be written.
    if (size > std::numeric_limits<std::int32_t>::max())
        throw StorageAllocationError(msg::noMemory());
    return static_cast<std::int32_t>(size);
}

void Declaration::saveTo(DocumentStorage& s) const {
    s.beginStream(kDeclInfo);
    s.writeText(inspectionCode);
    s.writeText(inspectionName);
    s.writeByte(reservedByte);
    s.writeInt32(correctionNumber);
    s.writeDate(documentDate);
    s.writeInt16(submitterKind);
    s.writeInt16(taxpayerCategory);
    s.writeInt16(declarationKind);
    s.writeInt16(incomeFlags_);
    s.writeByte(sheetCountAutomatic);
    s.writeInt32(supportingSheets_);
    s.writeInt32(foreignAppendixSheets);
    for (auto v : {reservedInt1, reservedInt2, reservedInt3, reservedInt4, reservedInt5, reservedInt6,
                   reservedInt7, reservedInt8})
        s.writeInt32(v);
    s.writeText(representativeDocument);
    s.writeMoney(estimatedIncome);
    s.writeText(representativeName);
    s.writeText(representativeOrganisation);
    s.writeMoney(foreignerFixedAdvance);

    person.saveTo(s);

    if ((incomeFlags_ & kAgentIncomes) != 0) {
        s.beginStream(kDeclInquiry);
        saveList(s, incomes13, int{ResidentSource});
        saveList(s, incomes13NonResident, int{NonResidentSource});
        saveList(s, incomes35);
        saveList(s, incomes30, int{DividendSource});
        saveList(s, incomes9, int{NinePercentSource});
    }
    if ((incomeFlags_ & kForeignIncomes) != 0) {
        s.beginStream(kDeclForeign);
        saveList(s, foreignIncomes);
    }
    if ((incomeFlags_ & kPartnershipIncomes) != 0) {
        s.beginStream(kDeclPartnerships);
        saveList(s, investPartnerships);
    }
    if ((incomeFlags_ & kBusinessIncomes) != 0) {
        s.beginStream(kDeclBusiness);
        saveList(s, businessIncomes);
        s.writeMoney(actualAdvancePayments);
        s.writeMoney(estimatedIncome);
        s.writeMoney(businessReservedSum);
        s.writeText(representativeDocument);
        s.writeByte(isFarmHousehold);
        s.writeDate(farmFoundingDate);
        s.writeMoney(adjustedBase);
        s.writeMoney(adjustedTax);
        s.writeMoney(tradeFee);
        s.writeMoney(patentPayments);
    }
    if (incomeFlags_ != 0) {
        standardDeductions.saveTo(s);
        socialDeductions.saveTo(s);
        propertyDeductions.saveTo(s);
        securitiesLosses.saveTo(s);
        investmentDeductions.saveTo(s);
    }
}

void Declaration::saveInto(DocumentFile& loader, std::int32_t size) const {
    DocumentStorage storage(&loader);
    storage.createStorage(kIdentifier);
    saveTo(storage);
    // A shorter write would leave unwritten bytes in the file; never commit that.
    if (storage.position() != size)
        throw std::logic_error("document size differs from the bytes written");
    loader.commit();
}

void Declaration::saveToFile(const std::string& path) const {
    const std::int32_t size = storedSize();
    DocumentFile loader(path, size, false);
    saveInto(loader, size);
}

std::string Declaration::saveToBytes() const {
    const std::int32_t size = storedSize();
    auto loader = DocumentFile::inMemory(size);
    saveInto(*loader, size);
    return std::move(loader->buffer());
}

namespace {

// Reads a count and that many records into a list that exists, each record
// added before it reads itself. A count beyond the list limit means a damaged file.
template <class T, class AddFn, class... Kind> void loadList(S& s, AddFn add, Kind... kind) {
    const std::int32_t n = s.readInt16();
    requireStoredCount(n);
    for (std::int32_t i = 0; i < n; ++i)
        add().loadFrom(s, i, kind...);
}

} // namespace

void Declaration::loadFrom(DocumentStorage& s) {
    try {
        s.openStorage();
    } catch (const ConversionError&) {
        throw BadStorageError(msg::badFormat());
    }

    const std::string marker = s.formatIdentifier();
    s.openStream(kDeclInfo);
    if (marker != kIdentifier) {
        // A document of an earlier program year: only the taxpayer is taken over.
        person.loadFrom(s, marker);
        return;
    }

    inspectionCode = s.readText();
    inspectionName = s.readText();
    reservedByte = s.readByte();
    correctionNumber = s.readInt32();
    documentDate = s.readDate();
    submitterKind = static_cast<std::uint8_t>(s.readInt16());
    taxpayerCategory = static_cast<std::uint8_t>(s.readInt16());
    declarationKind = static_cast<std::uint8_t>(s.readInt16());
    setIncomeFlags(static_cast<std::uint8_t>(s.readInt16()));
    sheetCountAutomatic = s.readByte();
    supportingSheets_ = s.readInt32();
    foreignAppendixSheets = s.readInt32();
    for (auto* v : {&reservedInt1, &reservedInt2, &reservedInt3, &reservedInt4, &reservedInt5, &reservedInt6,
                    &reservedInt7, &reservedInt8})
        *v = s.readInt32();
    representativeDocument = s.readText();
    estimatedIncome = s.readMoney();
    representativeName = s.readText();
    representativeOrganisation = s.readText();
    foreignerFixedAdvance = s.readMoney();

    person.loadFrom(s, marker);

    auto adder = [](auto& list) {
        return [&list]() -> auto& {
            return list.records_.get(list.records_.add());
        };
    };

    // The blocks a flag promises, in the order they are written. Each is read where the
    // file has it: after a block, the one whose stream follows right at the position,
    // otherwise the next in this order. A document read the way it was written is thus
    // read item after item, and one written in another order still has its blocks taken
    // from where its own structure puts them, not from a value that happens to equal a
    // block's name.
    struct Block {
        std::string_view stream;
        std::function<void()> read;
    };
    std::vector<Block> pending;
    if ((incomeFlags_ & kAgentIncomes) != 0) {
        pending.push_back({kDeclInquiry, [&] {
                               s.openStream(kDeclInquiry);
                               loadList<ThirteenPercentSource>(s, adder(incomes13), int{ResidentSource});
                               loadList<ThirteenPercentSource>(s, adder(incomes13NonResident),
                                                               int{NonResidentSource});
                               loadList<ThirtyFivePercentSource>(s, adder(incomes35));
                               loadList<ThirtyPercentSource>(s, adder(incomes30), int{DividendSource});
                               loadList<ThirtyPercentSource>(s, adder(incomes9), int{NinePercentSource});
                           }});
    }
    if ((incomeFlags_ & kForeignIncomes) != 0) {
        pending.push_back({kDeclForeign, [&] {
                               s.openStream(kDeclForeign);
                               loadList<ForeignIncome>(s, adder(foreignIncomes));
                           }});
    }
    if ((incomeFlags_ & kPartnershipIncomes) != 0) {
        pending.push_back({kDeclPartnerships, [&] {
                               s.openStream(kDeclPartnerships);
                               loadList<InvestmentPartnership>(s, adder(investPartnerships));
                           }});
    }
    if ((incomeFlags_ & kBusinessIncomes) != 0) {
        pending.push_back({kDeclBusiness, [&] {
                               s.openStream(kDeclBusiness);
                               loadList<BusinessActivity>(s, adder(businessIncomes));
                               // estimatedIncome and representativeDocument also stand in "@DeclInfo"; these
                               // win.
                               actualAdvancePayments = s.readMoney();
                               estimatedIncome = s.readMoney();
                               businessReservedSum = s.readMoney();
                               representativeDocument = s.readText();
                               isFarmHousehold = s.readByte();
                               farmFoundingDate = s.readDate();
                               adjustedBase = s.readMoney();
                               adjustedTax = s.readMoney();
                               tradeFee = s.readMoney();
                               patentPayments = s.readMoney();
                           }});
    }
    if (incomeFlags_ != 0) {
        pending.push_back({"@StandartDeduct", [&] { standardDeductions.loadFrom(s); }});
        pending.push_back({"@SocialDeduct", [&] { socialDeductions.loadFrom(s); }});
        pending.push_back({"@ConstructionDeduct", [&] { propertyDeductions.loadFrom(s); }});
        pending.push_back({"@CBDeduct", [&] { securitiesLosses.loadFrom(s); }});
        pending.push_back({"@InvDeduct", [&] { investmentDeductions.loadFrom(s); }});
    }
    while (!pending.empty()) {
        auto next = std::find_if(pending.begin(), pending.end(),
                                 [&](const Block& b) { return s.streamAtPosition(b.stream); });
        if (next == pending.end())
            next = pending.begin();
        const Block block = std::move(*next);
        pending.erase(next);
        block.read();
    }
}

namespace {

// Whatever a damaged file holds, the caller sees a storage failure or a conversion failure.
template <class Fn> void asStorageFailure(Fn fn) {
    try {
        fn();
    } catch (const ListFull&) {
        throw BadStorageError(msg::badFormat());
    } catch (const std::out_of_range&) {
        throw BadStorageError(msg::badFormat());
    } catch (const ArithmeticError&) {
        // Lines whose amounts add up beyond the range of money (totalIncome is rebuilt on reading).
        throw BadStorageError(msg::badFormat());
    }
}

} // namespace

void Declaration::loadFromFile(const std::string& path) {
    DocumentFile loader(path, 0, true);
    DocumentStorage storage(&loader);
    asStorageFailure([&] { loadFrom(storage); });
}

void Declaration::loadFromBytes(std::string bytes) {
    auto loader = DocumentFile::fromBytes(std::move(bytes));
    DocumentStorage storage(loader.get());
    asStorageFailure([&] { loadFrom(storage); });
}

} // namespace kv
