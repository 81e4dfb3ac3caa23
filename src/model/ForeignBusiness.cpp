#include "model/ForeignBusiness.h"

#include "model/ListLimit.h"

#include <string_view>

namespace kv {

namespace {

using S = DocumentStorage;

constexpr std::string_view kCurrencyIncomePrefix = "@CurrencyIncome";
constexpr std::string_view kBusinessIncomePrefix = "@BusinessIncome";
constexpr std::string_view kBusinessExpensePrefix = "@BusinessExpense";
constexpr std::int32_t kIndexSize = 3; // digits of the index in every stream name

// The record's roubles: 0 where the product passes the range of money.
Money rublesAt(Money amount, std::int32_t units, Money rate) {
    return rublesAtRate(amount, units, rate).value_or(Money());
}

} // namespace

// The exact product amount × rate / units, half a kopeck up.
std::optional<Money> rublesAtRate(Money amount, std::int32_t units, Money rate) {
    if (units == 0)
        return Money();
    constexpr std::int64_t kToKopecks = 100;
    return productHalfUp(amount, rate.raw, static_cast<std::int64_t>(units) * Money::kScale, kToKopecks);
}

// --- ForeignIncome -------------------------------------------------------

void ForeignIncome::setIncomeInCurrency(Money amount) {
    incomeInCurrency = amount;
    incomeInRubles = rublesAt(amount, incomeDateUnits, incomeDateRate);
}

void ForeignIncome::setTaxInCurrency(Money amount) {
    taxInCurrency = amount;
    taxInRubles = rublesAt(amount, taxDateUnits, taxDateRate);
}

void ForeignIncome::enterIncome(Money rate, std::int32_t units, Money amount) {
    if (rate == incomeDateRate && units == incomeDateUnits && amount == incomeInCurrency)
        return;
    incomeDateRate = rate;
    incomeDateUnits = units;
    setIncomeInCurrency(amount);
}

void ForeignIncome::enterTax(Money rate, std::int32_t units, Money amount) {
    if (rate == taxDateRate && units == taxDateUnits && amount == taxInCurrency)
        return;
    taxDateRate = rate;
    taxDateUnits = units;
    setTaxInCurrency(amount);
}

void ForeignIncome::saveTo(DocumentStorage& storage, int index) const {
    storage.beginStream(indexedStreamName(kCurrencyIncomePrefix, index));
    storage.writeInt32(incomeRate);
    storage.writeInt32(incomeCode);
    storage.writeText(incomeName);
    storage.writeText(sourceName);
    storage.writeText(countryCode);
    storage.writeDate(incomeDate);
    storage.writeDate(taxPaymentDate);
    storage.writeByte(autoRate);
    storage.writeText(currencyCode);
    storage.writeMoney(incomeDateRate);
    storage.writeInt32(incomeDateUnits);
    storage.writeMoney(taxDateRate);
    storage.writeInt32(taxDateUnits);
    storage.writeText(currencyName);
    storage.writeMoney(incomeInCurrency);
    storage.writeMoney(incomeInRubles);
    storage.writeMoney(taxInCurrency);
    storage.writeMoney(taxInRubles);
    storage.writeInt32(deductionCode);
    storage.writeMoney(deductionAmount);
    storage.writeInt32(deductionPercent);
    storage.writeInt16(static_cast<std::uint16_t>(cfcProfitMethod));
    storage.writeText(cfcNumber);
    storage.writeMoney(cfcTaxWithheldInRussia);
}

// The stored rouble amounts are taken as they are: they were derived at the
// rates of their time and are only derived again when an amount is entered.
void ForeignIncome::loadFrom(DocumentStorage& storage, int index) {
    storage.openStream(indexedStreamName(kCurrencyIncomePrefix, index));
    incomeRate = storage.readInt32();
    incomeCode = storage.readInt32();
    incomeName = storage.readText();
    sourceName = storage.readText();
    countryCode = storage.readText();
    incomeDate = storage.readDate();
    taxPaymentDate = storage.readDate();
    autoRate = storage.readByte();
    currencyCode = storage.readText();
    incomeDateRate = storage.readMoney();
    incomeDateUnits = storage.readInt32();
    taxDateRate = storage.readMoney();
    taxDateUnits = storage.readInt32();
    currencyName = storage.readText();
    incomeInCurrency = storage.readMoney();
    incomeInRubles = storage.readMoney();
    taxInCurrency = storage.readMoney();
    taxInRubles = storage.readMoney();
    deductionCode = storage.readInt32();
    deductionAmount = storage.readMoney();
    deductionPercent = storage.readInt32();
    cfcProfitMethod = static_cast<std::int16_t>(storage.readInt16());
    cfcNumber = storage.readText();
    cfcTaxWithheldInRussia = storage.readMoney();
}

std::int32_t ForeignIncome::storedSize() const {
    return S::sizeOfText(kCurrencyIncomePrefix) + kIndexSize + S::sizeOfInt32(incomeRate) +
           S::sizeOfInt32(incomeCode) + S::sizeOfText(incomeName) + S::sizeOfText(sourceName) +
           S::sizeOfText(countryCode) + S::sizeOfDate(incomeDate) + S::sizeOfDate(taxPaymentDate) +
           S::sizeOfByte(autoRate) + S::sizeOfText(currencyCode) + S::sizeOfMoney(incomeDateRate) +
           S::sizeOfInt32(incomeDateUnits) + S::sizeOfMoney(taxDateRate) + S::sizeOfInt32(taxDateUnits) +
           S::sizeOfText(currencyName) + S::sizeOfMoney(incomeInCurrency) + S::sizeOfMoney(incomeInRubles) +
           S::sizeOfMoney(taxInCurrency) + S::sizeOfMoney(taxInRubles) + S::sizeOfInt32(deductionCode) +
           S::sizeOfMoney(deductionAmount) + S::sizeOfInt32(deductionPercent) +
           S::sizeOfInt16(static_cast<std::uint16_t>(cfcProfitMethod)) + S::sizeOfText(cfcNumber) +
           S::sizeOfMoney(cfcTaxWithheldInRussia);
}

// --- BusinessActivity ----------------------------------------------------------

void BusinessActivity::saveTo(DocumentStorage& storage, int index) const {
    storage.beginStream(indexedStreamName(kBusinessIncomePrefix, index));
    storage.writeText(activityKind);
    storage.writeText(okvedCode);
    storage.writeMoney(incomeAmount);
    storage.writeByte(hasDocumentedExpenses);
    if (hasDocumentedExpenses != 0) {
        storage.beginStream(indexedStreamName(kBusinessExpensePrefix, index));
        storage.writeMoney(totalExpenses);
        storage.writeMoney(materialExpenses);
        storage.writeMoney(depreciation);
        storage.writeMoney(labourExpenses);
        storage.writeMoney(otherExpenses);
    } else {
        storage.writeMoney(standardExpenses);
    }
}

void BusinessActivity::loadFrom(DocumentStorage& storage, int index) {
    storage.openStream(indexedStreamName(kBusinessIncomePrefix, index));
    activityKind = storage.readText();
    okvedCode = storage.readText();
    incomeAmount = storage.readMoney();
    hasDocumentedExpenses = storage.readByte();
    if (hasDocumentedExpenses != 0) {
        storage.openStream(indexedStreamName(kBusinessExpensePrefix, index));
        totalExpenses = storage.readMoney();
        materialExpenses = storage.readMoney();
        depreciation = storage.readMoney();
        labourExpenses = storage.readMoney();
        otherExpenses = storage.readMoney();
    } else {
        standardExpenses = storage.readMoney();
    }
}

std::int32_t BusinessActivity::storedSize() const {
    std::int32_t size = S::sizeOfText(kBusinessIncomePrefix) + kIndexSize + S::sizeOfText(activityKind) +
                        S::sizeOfText(okvedCode) + S::sizeOfMoney(incomeAmount) +
                        S::sizeOfByte(hasDocumentedExpenses);
    if (hasDocumentedExpenses != 0)
        size += S::sizeOfText(kBusinessExpensePrefix) + kIndexSize + S::sizeOfMoney(totalExpenses) +
                S::sizeOfMoney(materialExpenses) + S::sizeOfMoney(depreciation) +
                S::sizeOfMoney(labourExpenses) + S::sizeOfMoney(otherExpenses);
    else
        size += S::sizeOfMoney(standardExpenses);
    return size;
}

} // namespace kv
