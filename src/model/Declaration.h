#pragma once
// The root document of one return: its conditions, the income lists switched on
// by incomeFlags, the taxpayer and the deductions, and the whole document file.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Storage.h"
#include "model/Deductions.h"
#include "model/ForeignBusiness.h"
#include "model/IncomeSources.h"
#include "model/Person.h"
#include "model/RecordList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class Declaration;

// The kind of return (the document keeps its number as declarationKind).
enum class ReturnKind : std::uint8_t {
    Resident = 0,    // "3-НДФЛ"
    NonResident = 1, // "3-НДФЛ нерезидента"
    Estimated = 2,   // "4-НДФЛ": the estimated income of the year, nothing computed
    Termination = 3, // "3-НДФЛ при завершении деятельности ИП"
};

// Who submits the return (submitterKind).
enum class SubmitterKind : std::uint8_t {
    InPerson = 0,                   // "Лично"
    RepresentativePerson = 1,       // "Представителем - ФЛ"
    RepresentativeOrganisation = 2, // "Представителем - ЮЛ"
};

// The taxpayer's category (taxpayerCategory); 4 is not used.
enum class TaxpayerCategory : std::uint8_t {
    Entrepreneur = 0,
    FarmHead = 1, // head of a peasant (farm) household
    Notary = 2,
    Lawyer = 3,
    Other = 5,
    ArbitrationManager = 6,
};

// The kinds of income a return declares, each a bit of incomeFlags that switches
// its lists on.
enum class IncomeKind : std::uint8_t {
    Agent = 1,        // tax agents' certificates: the five Russian lists
    Foreign = 2,      // foreignIncomes
    Business = 4,     // businessIncomes
    Partnership = 16, // investPartnerships
};

constexpr std::uint8_t flagOf(IncomeKind kind) {
    return static_cast<std::uint8_t>(kind);
}

// An income list of the declaration. It exists only while its bit of incomeFlags
// is set; a list that does not exist counts 0 entries and refuses add() with
// ObjectAccessError. Only the declaration creates and destroys it.
template <class T> class IncomeList {
public:
    bool exists() const { return exists_; }
    std::int32_t count() const { return records_.count(); }
    // A new record with its class's defaults; returns its index (ListFull at 1000 records).
    std::int32_t add() { return add(T{}); }
    std::int32_t add(T record) {
        if (!exists_)
            throw ObjectAccessError(msg::notInitialised());
        return records_.add(std::move(record));
    }
    T& get(std::int32_t i) { return records_.get(i); }
    const T& get(std::int32_t i) const { return records_.get(i); }
    void set(std::int32_t i, T record) { records_.set(i, std::move(record)); }
    void remove(std::int32_t i) { records_.remove(i); }

    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

    friend bool operator==(const IncomeList&, const IncomeList&) = default;

private:
    friend class Declaration;
    void create() { exists_ = true; }
    void destroy() {
        records_.clear();
        exists_ = false;
    }

    bool exists_ = false;
    RecordList<T> records_;
};

class Declaration {
public:
    // Header identifier of documents of this program year.
    static constexpr std::string_view kIdentifier = "Quil2019";
    static constexpr DateValue kDefaultFarmFoundingDate = DateValue::fromDays(36526); // 01.01.2000

    // Bits of incomeFlags.
    static constexpr std::uint8_t kAgentIncomes = flagOf(IncomeKind::Agent);
    static constexpr std::uint8_t kForeignIncomes = flagOf(IncomeKind::Foreign);
    static constexpr std::uint8_t kBusinessIncomes = flagOf(IncomeKind::Business);
    static constexpr std::uint8_t kReservedFlag = 8; // kept as read
    static constexpr std::uint8_t kPartnershipIncomes = flagOf(IncomeKind::Partnership);

    Cp1251Text inspectionCode; // 4 digits
    Cp1251Text inspectionName;
    std::uint8_t reservedByte = 0; // stored, not used
    std::int32_t correctionNumber = 0;
    DateValue documentDate; // today, from the clock given to the constructor
    // The next three keep the numbers of the file, which may hold one of no name;
    // code asks submitter(), category() and kind().
    std::uint8_t submitterKind = 0;    // SubmitterKind
    std::uint8_t taxpayerCategory = 5; // TaxpayerCategory
    std::uint8_t declarationKind = 0;  // ReturnKind
    std::uint8_t sheetCountAutomatic = 0;
    std::int32_t foreignAppendixSheets = 0;
    std::int32_t reservedInt1 = 0;
    std::int32_t reservedInt2 = 0; // also cleared with incomeFlags bit 0
    std::int32_t reservedInt3 = 0;
    std::int32_t reservedInt4 = 0;
    std::int32_t reservedInt5 = 0;
    std::int32_t reservedInt6 = 0;
    std::int32_t reservedInt7 = 0;
    std::int32_t reservedInt8 = 0;
    Money actualAdvancePayments; // business figure: cleared with incomeFlags bit 2
    Money estimatedIncome;       // 4-NDFL
    Money businessReservedSum;   // stored, not used
    Cp1251Text representativeDocument;
    DateValue farmFoundingDate = kDefaultFarmFoundingDate; // business figure
    std::uint8_t isFarmHousehold = 0;                      // business figure
    Cp1251Text representativeName;
    Cp1251Text representativeOrganisation;
    Money foreignerFixedAdvance; // cleared with incomeFlags bit 0
    Money adjustedBase;          // business figure
    Money adjustedTax;           // business figure
    Money patentPayments;        // business figure
    Money tradeFee;              // business figure

    IncomeList<ThirteenPercentSource> incomes13;            // bit 0
    IncomeList<ThirteenPercentSource> incomes13NonResident; // bit 0
    IncomeList<ThirtyFivePercentSource> incomes35;          // bit 0
    IncomeList<ThirtyPercentSource> incomes30;              // bit 0, dividends (1010)
    IncomeList<ThirtyPercentSource> incomes9;               // bit 0, 9% (1011)
    IncomeList<ForeignIncome> foreignIncomes;               // bit 1
    IncomeList<BusinessActivity> businessIncomes;           // bit 2
    IncomeList<InvestmentPartnership> investPartnerships;   // bit 4

    Taxpayer person;
    StandardDeduction standardDeductions;
    SocialDeduction socialDeductions;
    PropertyDeduction propertyDeductions;
    SecuritiesLossDeduction securitiesLosses;
    InvestmentDeduction investmentDeductions;

    // A new return dated clock.today(), no income list existing.
    explicit Declaration(const Clock& clock);

    ReturnKind kind() const { return ReturnKind{declarationKind}; }
    void setKind(ReturnKind kind) { declarationKind = static_cast<std::uint8_t>(kind); }
    SubmitterKind submitter() const { return SubmitterKind{submitterKind}; }
    // A representative, person or organisation, signs the return.
    bool byRepresentative() const { return submitter() != SubmitterKind::InPerson; }
    TaxpayerCategory category() const { return TaxpayerCategory{taxpayerCategory}; }

    // Whether the return declares incomes of this kind (its lists exist).
    bool has(IncomeKind kind) const { return (incomeFlags_ & flagOf(kind)) != 0; }
    // Whether it declares any kind of income; the reserved bit is none.
    bool hasIncomes() const;
    // The reserved bit of incomeFlags, set only by another program.
    bool hasReservedFlag() const { return (incomeFlags_ & kReservedFlag) != 0; }
    std::uint8_t incomeFlags() const { return incomeFlags_; }
    // The only way to change incomeFlags: a bit that is set creates its empty
    // list(s), a bit that is cleared destroys them with every record in them.
    // Bits 5 to 7 are not kept.
    void setIncomeFlags(std::uint8_t newFlags);
    // Clears one kind of income, with its lists and everything in them.
    void drop(IncomeKind kind) { setIncomeFlags(incomeFlags_ & static_cast<std::uint8_t>(~flagOf(kind))); }
    // Whether clearing these bits would destroy something the person entered: a record
    // in one of their lists, the foreigner's fixed advance that goes with bit 0, or a
    // business figure of the whole return that goes with bit 2.
    bool holdsEntriesUnder(std::uint8_t flagBits) const;
    // The business figures of the whole return (advances, adjusted base and tax, patent,
    // trade fee, the farm): whether any is entered, and back to none.
    bool holdsBusinessFigures() const;
    void clearBusinessFigures();

    std::int32_t supportingSheets() const { return supportingSheets_; }
    // Ignored while sheetCountAutomatic is 1.
    void setSupportingSheets(std::int32_t n);

    // Exact length of the document file saveToFile writes.
    std::int32_t storedSize() const;
    // Replaces the file at path whole; on a failure the old file stays as it was.
    void saveToFile(const std::string& path) const;
    // The bytes saveToFile would write.
    std::string saveToBytes() const;
    // Fills this newly constructed declaration from a file. Failures are the
    // StorageError family or ConversionError; what was read before a failure stays.
    void loadFromFile(const std::string& path);
    // The same from bytes in memory.
    void loadFromBytes(std::string bytes);

    friend bool operator==(const Declaration&, const Declaration&) = default;

private:
    void saveTo(DocumentStorage& storage) const;
    void saveInto(DocumentFile& loader, std::int32_t size) const;
    void loadFrom(DocumentStorage& storage);

    std::uint8_t incomeFlags_ = 0;
    std::int32_t supportingSheets_ = 0;
};

} // namespace kv
