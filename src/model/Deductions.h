#pragma once
// The five deduction records of a return. Each has a granted flag (the master
// check box of its screen); while the flag is clear only the flag is stored, so
// the details entered before un-granting are gone after the next save and load.
#include "core/Date.h"
#include "core/Money.h"
#include "core/Storage.h"
#include "model/RecordList.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv {

using MonthInts = std::array<std::int32_t, 12>; // January first

// Standard deductions.
class StandardDeduction {
public:
    std::uint8_t granted = 0;
    // 103 none, 104 (500 a month), 105 (3000 a month), 110 changed in the year (monthlySelfCodes).
    std::int32_t selfCode = 103;
    // 101 for children, 102 single parent, 103 changed in the year (monthlyChildStatus).
    std::int32_t childStatus = 101;
    std::uint8_t childrenConstant = 1;
    std::int32_t childrenCount = 0;
    MonthInts childrenByMonth{};
    std::uint8_t disabledConstant = 1; // children disabled in groups I and II
    std::int32_t disabledCount = 0;
    MonthInts disabledByMonth{};
    std::uint8_t thirdPlusConstant = 1; // children from the third on
    std::int32_t thirdPlusCount = 0;
    MonthInts thirdPlusByMonth{};
    std::uint8_t monthlyBusinessSet = 0;
    std::array<Money, 12> monthlyBusinessIncome{};
    std::array<Money, 12> monthlyBusinessExpense{};
    std::array<std::uint8_t, 12> monthlyMarks{};
    std::uint8_t monthlySelfCodesSet = 0;
    MonthInts monthlySelfCodes{}; // 0 "----", 1 "104", 2 "105"
    std::uint8_t monthlyChildStatusSet = 0;
    MonthInts monthlyChildStatus{}; // 0 "да", 1 "нет"
    std::uint8_t isGuardian = 0;

    // A count for the whole year makes its block constant; a count for one month
    // (0 = January) makes it vary by month. A month outside 0..11 throws StorageAllocationError.
    void setChildrenCount(std::int32_t n);
    void setChildrenInMonth(int month, std::int32_t n);
    void setDisabledCount(std::int32_t n);
    void setDisabledInMonth(int month, std::int32_t n);
    void setThirdPlusCount(std::int32_t n);
    void setThirdPlusInMonth(int month, std::int32_t n);

    void saveTo(DocumentStorage& storage) const;
    void loadFrom(DocumentStorage& storage);
    std::int32_t storedSize() const;

    friend bool operator==(const StandardDeduction&, const StandardDeduction&) = default;
};

// One contract of non-state pension provision or voluntary pension insurance.
class PensionContract {
public:
    // 1..3 non-state pension provision and voluntary pension insurance,
    // 4 additional contributions to the funded part of the labour pension.
    static constexpr std::int32_t kFundedPensionContributions = 4;
    std::int32_t contractKind = 0;
    Cp1251Text organisationName;
    Cp1251Text organisationInn;
    Cp1251Text organisationKpp;
    Cp1251Text contractNumber;
    DateValue contractDate;
    Money contribution;

    // Stream "@PensSub" + index.
    void saveTo(DocumentStorage& storage, std::int32_t index) const;
    void loadFrom(DocumentStorage& storage, std::int32_t index);
    std::int32_t storedSize(std::int32_t index) const;

    friend bool operator==(const PensionContract&, const PensionContract&) = default;
};

// Social deductions (amounts in rubles).
class SocialDeduction {
public:
    std::uint8_t granted = 0;
    Money charity;
    Money charity30;
    Money ownEducation;
    RecordList<Money> childEducation; // one amount per payment or child, in entry order
    Money medical;
    Money medicines;
    Money expensiveMedical;
    Money voluntaryInsurance;
    Money reservedSum1; // stored, not used
    Money reservedSum2; // stored, not used
    Money qualificationAssessment;
    RecordList<PensionContract> pensionContracts;

    void saveTo(DocumentStorage& storage) const;
    void loadFrom(DocumentStorage& storage);
    std::int32_t storedSize() const;

    friend bool operator==(const SocialDeduction&, const SocialDeduction&) = default;
};

// One housing object of the property deduction.
class HousingObject {
public:
    static constexpr DateValue kDefaultDate = DateValue::fromDays(37622); // 01.01.2003

    std::int32_t objectKind = 0; // 1 house .. 8 share in house and land
    Cp1251Text objectNumber;
    Cp1251Text objectAddress;
    std::int32_t numberKind = 0;             // 1 cadastral, 2 conventional, 3 inventory, 4 none
    std::int32_t taxpayerSign = 0;           // 1 owner .. 5 shared with spouse and minor child
    std::int32_t houseAcquisitionMethod = 0; // 1 new construction, 2 purchase
    DateValue rightRegistrationDate = kDefaultDate;
    DateValue landRegistrationDate; // 0: no date
    DateValue transferActDate = kDefaultDate;
    std::int32_t shareNumerator = 0;
    std::int32_t shareDenominator = 0;
    Money objectCost;
    Money mortgageInterest;
    Money yearDeduction; // written by the computation, read by the export; not stored
    std::uint8_t byInvestmentContract = 0;
    std::uint8_t isPensioner = 0;
    std::int32_t before2014 = 0; // working value of the computation; not stored

    // Stream "@ConstructionDeductObj" + index.
    void saveTo(DocumentStorage& storage, std::int32_t index) const;
    void loadFrom(DocumentStorage& storage, std::int32_t index);
    std::int32_t storedSize(std::int32_t index) const;

    friend bool operator==(const HousingObject&, const HousingObject&) = default;
};

// Property deduction for housing.
class PropertyDeduction {
public:
    std::uint8_t granted = 0;
    Money reservedSum1; // stored, not used
    Money reservedSum2; // stored, not used
    Money priorYearsDeduction;
    Money priorYearsInterestDeduction;
    RecordList<HousingObject> objects;

    void saveTo(DocumentStorage& storage) const;
    void loadFrom(DocumentStorage& storage);
    std::int32_t storedSize() const;

    friend bool operator==(const PropertyDeduction&, const PropertyDeduction&) = default;
};

// Losses of earlier years on securities, derivatives and investment partnerships.
class SecuritiesLossDeduction {
public:
    std::uint8_t granted = 0;
    Money securitiesLoss;
    Money securitiesLossIis; // on an individual investment account
    Money derivativesLoss;
    Money derivativesLossIis;
    Money partnershipLoss;
    Money partnershipLossIis;

    void saveTo(DocumentStorage& storage) const;
    void loadFrom(DocumentStorage& storage);
    std::int32_t storedSize() const;

    friend bool operator==(const SecuritiesLossDeduction&, const SecuritiesLossDeduction&) = default;
};

// Investment deductions.
class InvestmentDeduction {
public:
    Money invSecurities;       // sheet З
    Money invPartnership;      // sheet И
    Money invIisContributions; // sheet Е2
    Money invRefundable;
    std::uint8_t applyP3 = 0;
    std::uint8_t granted = 0;

    void saveTo(DocumentStorage& storage) const;
    void loadFrom(DocumentStorage& storage);
    std::int32_t storedSize() const;

    friend bool operator==(const InvestmentDeduction&, const InvestmentDeduction&) = default;
};

} // namespace kv
