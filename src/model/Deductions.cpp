#include "model/Deductions.h"

#include "model/ListLimit.h"

namespace kv {

namespace {

using S = DocumentStorage;

constexpr std::string_view kStandardStream = "@StandartDeduct";
constexpr std::string_view kSocialStream = "@SocialDeduct";
constexpr std::string_view kPensStream = "@Pens";
constexpr std::string_view kPensSubPrefix = "@PensSub";
constexpr std::string_view kConstructionStream = "@ConstructionDeduct";
constexpr std::string_view kConstructionObjPrefix = "@ConstructionDeductObj";
constexpr std::string_view kCBStream = "@CBDeduct";
constexpr std::string_view kInvStream = "@InvDeduct";

std::size_t monthIndex(int month) {
    if (month < 0 || month >= 12)
        throw StorageAllocationError(msg::notAllocated());
    return static_cast<std::size_t>(month);
}

// A count block: the count for the whole year while constant, otherwise twelve monthly counts.
void saveCountBlock(S& s, std::uint8_t constant, std::int32_t count, const MonthInts& byMonth) {
    s.writeByte(constant);
    if (constant == 1) {
        s.writeInt32(count);
    } else {
        for (auto v : byMonth)
            s.writeInt32(v);
    }
}

void loadCountBlock(S& s, std::uint8_t& constant, std::int32_t& count, MonthInts& byMonth) {
    constant = s.readByte();
    if (constant == 1) {
        count = s.readInt32();
    } else {
        for (auto& v : byMonth)
            v = s.readInt32();
    }
}

std::int32_t countBlockSize(std::uint8_t constant, std::int32_t count, const MonthInts& byMonth) {
    std::int32_t size = S::sizeOfByte(constant);
    if (constant == 1) {
        size += S::sizeOfInt32(count);
    } else {
        for (auto v : byMonth)
            size += S::sizeOfInt32(v);
    }
    return size;
}

std::int32_t monthIntsSize(const MonthInts& values) {
    std::int32_t size = 0;
    for (auto v : values)
        size += S::sizeOfInt32(v);
    return size;
}

// Documents written while the monthly areas were being introduced may lack or
// garble these flags; such a flag counts as clear and reading goes on.
std::uint8_t readTolerantFlag(S& s) {
    try {
        return s.readByte();
    } catch (const StorageError&) {
        return 0;
    } catch (const ConversionError&) {
        return 0;
    }
}

} // namespace

// --- StandardDeduction ---------------------------------------------------------

void StandardDeduction::setChildrenCount(std::int32_t n) {
    childrenCount = n;
    childrenConstant = 1;
}
void StandardDeduction::setChildrenInMonth(int month, std::int32_t n) {
    childrenByMonth[monthIndex(month)] = n;
    childrenConstant = 0;
}
void StandardDeduction::setDisabledCount(std::int32_t n) {
    disabledCount = n;
    disabledConstant = 1;
}
void StandardDeduction::setDisabledInMonth(int month, std::int32_t n) {
    disabledByMonth[monthIndex(month)] = n;
    disabledConstant = 0;
}
void StandardDeduction::setThirdPlusCount(std::int32_t n) {
    thirdPlusCount = n;
    thirdPlusConstant = 1;
}
void StandardDeduction::setThirdPlusInMonth(int month, std::int32_t n) {
    thirdPlusByMonth[monthIndex(month)] = n;
    thirdPlusConstant = 0;
}

void StandardDeduction::saveTo(DocumentStorage& s) const {
    s.beginStream(kStandardStream);
    s.writeByte(granted);
    if (granted == 0)
        return;
    s.writeInt32(selfCode);
    s.writeInt32(childStatus);
    saveCountBlock(s, childrenConstant, childrenCount, childrenByMonth);
    saveCountBlock(s, disabledConstant, disabledCount, disabledByMonth);
    s.writeByte(monthlyBusinessSet);
    if (monthlyBusinessSet != 0) {
        for (auto v : monthlyBusinessIncome)
            s.writeMoney(v);
        for (auto v : monthlyBusinessExpense)
            s.writeMoney(v);
        for (auto v : monthlyMarks)
            s.writeByte(v);
    }
    s.writeByte(monthlySelfCodesSet);
    if (monthlySelfCodesSet != 0) {
        for (auto v : monthlySelfCodes)
            s.writeInt32(v);
    }
    s.writeByte(monthlyChildStatusSet);
    if (monthlyChildStatusSet != 0) {
        for (auto v : monthlyChildStatus)
            s.writeInt32(v);
    }
    saveCountBlock(s, thirdPlusConstant, thirdPlusCount, thirdPlusByMonth);
    s.writeByte(isGuardian);
}

void StandardDeduction::loadFrom(DocumentStorage& s) {
    s.openStream(kStandardStream);
    granted = s.readByte();
    if (granted == 0)
        return;
    selfCode = s.readInt32();
    childStatus = s.readInt32();
    loadCountBlock(s, childrenConstant, childrenCount, childrenByMonth);
    loadCountBlock(s, disabledConstant, disabledCount, disabledByMonth);
    monthlyBusinessSet = readTolerantFlag(s);
    if (monthlyBusinessSet != 0) {
        for (auto& v : monthlyBusinessIncome)
            v = s.readMoney();
        for (auto& v : monthlyBusinessExpense)
            v = s.readMoney();
        for (auto& v : monthlyMarks)
            v = s.readByte();
    }
    monthlySelfCodesSet = readTolerantFlag(s);
    if (monthlySelfCodesSet != 0) {
        for (auto& v : monthlySelfCodes)
            v = s.readInt32();
    }
    monthlyChildStatusSet = readTolerantFlag(s);
    if (monthlyChildStatusSet != 0) {
        for (auto& v : monthlyChildStatus)
            v = s.readInt32();
    }
    loadCountBlock(s, thirdPlusConstant, thirdPlusCount, thirdPlusByMonth);
    isGuardian = s.readByte();
}

std::int32_t StandardDeduction::storedSize() const {
    std::int32_t size = S::sizeOfText(kStandardStream) + S::sizeOfByte(granted);
    if (granted == 0)
        return size;
    size += S::sizeOfInt32(selfCode) + S::sizeOfInt32(childStatus);
    size += countBlockSize(childrenConstant, childrenCount, childrenByMonth);
    size += countBlockSize(disabledConstant, disabledCount, disabledByMonth);
    size += S::sizeOfByte(monthlyBusinessSet);
    if (monthlyBusinessSet != 0) {
        for (auto v : monthlyBusinessIncome)
            size += S::sizeOfMoney(v);
        for (auto v : monthlyBusinessExpense)
            size += S::sizeOfMoney(v);
        for (auto v : monthlyMarks)
            size += S::sizeOfByte(v);
    }
    size += S::sizeOfByte(monthlySelfCodesSet);
    if (monthlySelfCodesSet != 0)
        size += monthIntsSize(monthlySelfCodes);
    size += S::sizeOfByte(monthlyChildStatusSet);
    if (monthlyChildStatusSet != 0)
        size += monthIntsSize(monthlyChildStatus);
    size += countBlockSize(thirdPlusConstant, thirdPlusCount, thirdPlusByMonth);
    size += S::sizeOfByte(isGuardian);
    return size;
}

// --- PensionContract -------------------------------------------------------------------

void PensionContract::saveTo(DocumentStorage& s, std::int32_t index) const {
    s.beginStream(indexedStreamName(kPensSubPrefix, index));
    s.writeInt32(contractKind);
    s.writeText(organisationName);
    s.writeText(organisationInn);
    s.writeText(organisationKpp);
    s.writeText(contractNumber);
    s.writeDate(contractDate);
    s.writeMoney(contribution);
}

void PensionContract::loadFrom(DocumentStorage& s, std::int32_t index) {
    s.openStream(indexedStreamName(kPensSubPrefix, index));
    contractKind = s.readInt32();
    organisationName = s.readText();
    organisationInn = s.readText();
    organisationKpp = s.readText();
    contractNumber = s.readText();
    contractDate = s.readDate();
    contribution = s.readMoney();
}

std::int32_t PensionContract::storedSize(std::int32_t index) const {
    return S::sizeOfText(indexedStreamName(kPensSubPrefix, index)) + S::sizeOfInt32(contractKind) +
           S::sizeOfText(organisationName) + S::sizeOfText(organisationInn) + S::sizeOfText(organisationKpp) +
           S::sizeOfText(contractNumber) + S::sizeOfDate(contractDate) + S::sizeOfMoney(contribution);
}

// --- SocialDeduction -----------------------------------------------------------

void SocialDeduction::saveTo(DocumentStorage& s) const {
    s.beginStream(kSocialStream);
    s.writeByte(granted);
    if (granted == 0)
        return;
    s.writeMoney(charity);
    s.writeMoney(charity30);
    s.writeMoney(ownEducation);
    s.writeInt32(childEducation.count());
    for (auto amount : childEducation)
        s.writeMoney(amount);
    s.writeMoney(medical);
    s.writeMoney(medicines);
    s.writeMoney(expensiveMedical);
    s.writeMoney(voluntaryInsurance);
    s.writeMoney(reservedSum1);
    s.writeMoney(reservedSum2);
    s.writeMoney(qualificationAssessment);
    s.beginStream(kPensStream);
    s.writeInt16(static_cast<std::uint16_t>(pensionContracts.count()));
    for (std::int32_t i = 0; i < pensionContracts.count(); ++i)
        pensionContracts.get(i).saveTo(s, i);
}

void SocialDeduction::loadFrom(DocumentStorage& s) {
    s.openStream(kSocialStream);
    granted = s.readByte();
    if (granted == 0)
        return;
    charity = s.readMoney();
    charity30 = s.readMoney();
    ownEducation = s.readMoney();
    const std::int32_t educationCount = s.readInt32();
    requireStoredCount(educationCount);
    for (std::int32_t i = 0; i < educationCount; ++i)
        childEducation.add(s.readMoney());
    medical = s.readMoney();
    medicines = s.readMoney();
    expensiveMedical = s.readMoney();
    voluntaryInsurance = s.readMoney();
    reservedSum1 = s.readMoney();
    reservedSum2 = s.readMoney();
    qualificationAssessment = s.readMoney();
    s.openStream(kPensStream);
    const std::int32_t contracts = s.readInt16();
    requireStoredCount(contracts);
    for (std::int32_t i = 0; i < contracts; ++i)
        pensionContracts.get(pensionContracts.add()).loadFrom(s, i);
}

std::int32_t SocialDeduction::storedSize() const {
    std::int32_t size = S::sizeOfText(kSocialStream) + S::sizeOfByte(granted);
    if (granted == 0)
        return size;
    size += S::sizeOfMoney(charity) + S::sizeOfMoney(charity30) + S::sizeOfMoney(ownEducation);
    size += S::sizeOfInt32(childEducation.count());
    for (auto amount : childEducation)
        size += S::sizeOfMoney(amount);
    size += S::sizeOfMoney(medical) + S::sizeOfMoney(medicines) + S::sizeOfMoney(expensiveMedical) +
            S::sizeOfMoney(voluntaryInsurance) + S::sizeOfMoney(reservedSum1) + S::sizeOfMoney(reservedSum2) +
            S::sizeOfMoney(qualificationAssessment);
    size += S::sizeOfText(kPensStream) + S::sizeOfInt16(static_cast<std::uint16_t>(pensionContracts.count()));
    for (std::int32_t i = 0; i < pensionContracts.count(); ++i)
        size += pensionContracts.get(i).storedSize(i);
    return size;
}

// --- HousingObject --------------------------------------------------

void HousingObject::saveTo(DocumentStorage& s, std::int32_t index) const {
    s.beginStream(indexedStreamName(kConstructionObjPrefix, index));
    s.writeInt32(objectKind);
    s.writeInt32(houseAcquisitionMethod);
    s.writeInt32(taxpayerSign);
    s.writeDate(rightRegistrationDate);
    s.writeDate(transferActDate);
    s.writeDate(landRegistrationDate);
    s.writeInt32(shareNumerator);
    s.writeInt32(shareDenominator);
    s.writeByte(byInvestmentContract);
    s.writeByte(isPensioner);
    s.writeMoney(objectCost);
    s.writeMoney(mortgageInterest);
    s.writeInt32(numberKind);
    s.writeText(objectNumber);
    s.writeText(objectAddress);
}

void HousingObject::loadFrom(DocumentStorage& s, std::int32_t index) {
    s.openStream(indexedStreamName(kConstructionObjPrefix, index));
    objectKind = s.readInt32();
    houseAcquisitionMethod = s.readInt32();
    taxpayerSign = s.readInt32();
    rightRegistrationDate = s.readDate();
    transferActDate = s.readDate();
    landRegistrationDate = s.readDate();
    shareNumerator = s.readInt32();
    shareDenominator = s.readInt32();
    byInvestmentContract = s.readByte();
    isPensioner = s.readByte();
    objectCost = s.readMoney();
    mortgageInterest = s.readMoney();
    numberKind = s.readInt32();
    objectNumber = s.readText();
    objectAddress = s.readText();
}

std::int32_t HousingObject::storedSize(std::int32_t index) const {
    return S::sizeOfText(indexedStreamName(kConstructionObjPrefix, index)) + S::sizeOfInt32(objectKind) +
           S::sizeOfInt32(houseAcquisitionMethod) + S::sizeOfInt32(taxpayerSign) +
           S::sizeOfDate(rightRegistrationDate) + S::sizeOfDate(transferActDate) +
           S::sizeOfDate(landRegistrationDate) + S::sizeOfInt32(shareNumerator) +
           S::sizeOfInt32(shareDenominator) + S::sizeOfByte(byInvestmentContract) +
           S::sizeOfByte(isPensioner) + S::sizeOfMoney(objectCost) + S::sizeOfMoney(mortgageInterest) +
           S::sizeOfInt32(numberKind) + S::sizeOfText(objectNumber) + S::sizeOfText(objectAddress);
}

// --- PropertyDeduction -----------------------------------------------------

void PropertyDeduction::saveTo(DocumentStorage& s) const {
    s.beginStream(kConstructionStream);
    s.writeByte(granted);
    if (granted == 0)
        return;
    s.writeMoney(reservedSum1);
    s.writeMoney(reservedSum2);
    s.writeMoney(priorYearsDeduction);
    s.writeMoney(priorYearsInterestDeduction);
    s.writeInt32(objects.count());
    for (std::int32_t i = 0; i < objects.count(); ++i)
        objects.get(i).saveTo(s, i);
}

void PropertyDeduction::loadFrom(DocumentStorage& s) {
    s.openStream(kConstructionStream);
    granted = s.readByte();
    if (granted == 0)
        return;
    reservedSum1 = s.readMoney();
    reservedSum2 = s.readMoney();
    priorYearsDeduction = s.readMoney();
    priorYearsInterestDeduction = s.readMoney();
    // Written as Int32 but always read as Int16.
    const std::int32_t count = s.readInt16();
    requireStoredCount(count);
    for (std::int32_t i = 0; i < count; ++i)
        objects.get(objects.add()).loadFrom(s, i);
}

std::int32_t PropertyDeduction::storedSize() const {
    std::int32_t size = S::sizeOfText(kConstructionStream) + S::sizeOfByte(granted);
    if (granted == 0)
        return size;
    size += S::sizeOfMoney(reservedSum1) + S::sizeOfMoney(reservedSum2) +
            S::sizeOfMoney(priorYearsDeduction) + S::sizeOfMoney(priorYearsInterestDeduction) +
            S::sizeOfInt32(objects.count());
    for (std::int32_t i = 0; i < objects.count(); ++i)
        size += objects.get(i).storedSize(i);
    return size;
}

// --- SecuritiesLossDeduction ---------------------------------------------------------------

void SecuritiesLossDeduction::saveTo(DocumentStorage& s) const {
    s.beginStream(kCBStream);
    s.writeByte(granted);
    if (granted == 0)
        return;
    s.writeMoney(securitiesLoss);
    s.writeMoney(derivativesLoss);
    s.writeMoney(partnershipLoss);
    s.writeMoney(securitiesLossIis);
    s.writeMoney(derivativesLossIis);
    s.writeMoney(partnershipLossIis);
}

void SecuritiesLossDeduction::loadFrom(DocumentStorage& s) {
    s.openStream(kCBStream);
    granted = s.readByte();
    if (granted == 0)
        return;
    securitiesLoss = s.readMoney();
    derivativesLoss = s.readMoney();
    partnershipLoss = s.readMoney();
    securitiesLossIis = s.readMoney();
    derivativesLossIis = s.readMoney();
    partnershipLossIis = s.readMoney();
}

std::int32_t SecuritiesLossDeduction::storedSize() const {
    std::int32_t size = S::sizeOfText(kCBStream) + S::sizeOfByte(granted);
    if (granted == 0)
        return size;
    return size + S::sizeOfMoney(securitiesLoss) + S::sizeOfMoney(derivativesLoss) +
           S::sizeOfMoney(partnershipLoss) + S::sizeOfMoney(securitiesLossIis) +
           S::sizeOfMoney(derivativesLossIis) + S::sizeOfMoney(partnershipLossIis);
}

// --- InvestmentDeduction --------------------------------------------------------------

void InvestmentDeduction::saveTo(DocumentStorage& s) const {
    s.beginStream(kInvStream);
    s.writeByte(granted);
    if (granted == 0)
        return;
    s.writeMoney(invSecurities);
    s.writeMoney(invPartnership);
    s.writeMoney(invIisContributions);
    s.writeMoney(invRefundable);
    s.writeByte(applyP3);
}

void InvestmentDeduction::loadFrom(DocumentStorage& s) {
    s.openStream(kInvStream);
    granted = s.readByte();
    if (granted == 0)
        return;
    invSecurities = s.readMoney();
    invPartnership = s.readMoney();
    invIisContributions = s.readMoney();
    invRefundable = s.readMoney();
    applyP3 = s.readByte();
}

std::int32_t InvestmentDeduction::storedSize() const {
    std::int32_t size = S::sizeOfText(kInvStream) + S::sizeOfByte(granted);
    if (granted == 0)
        return size;
    return size + S::sizeOfMoney(invSecurities) + S::sizeOfMoney(invPartnership) +
           S::sizeOfMoney(invIisContributions) + S::sizeOfMoney(invRefundable) + S::sizeOfByte(applyP3);
}

} // namespace kv
