#include "screens/IncomeCodeFields.h"

#include "screens/kit/TypedCode.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/DeductionCodePicker.h"
#include "screens/pickers/IncomeCodePicker.h"
#include "screens/rules/RateRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <charconv>

namespace kv {

namespace {

std::int32_t codeNumber(const std::string& code) {
    std::int32_t value = 0;
    std::from_chars(code.data(), code.data() + code.size(), value);
    return value;
}

} // namespace

IncomeCodeFields::IncomeCodeFields(Asker& asker, const IncomeDict& dict, Rules rules, QWidget* dialog)
    : QObject(dialog), dict_(dict), rules_(rules), dialog_(dialog) {
    const bool nonResident = rules == Rules::NonResident;
    lblIncomeCode_ = new QLabel(QStringLiteral("Код дохода"), dialog);
    edIncomeCode_ = codeField(dialog, "edIncomeCode");
    bnIncomeCode_ = pickButton(dialog, "bnIncomeCode");
    lblIncomeName_ = codeNameLabel(dialog, "lblIncomeName");
    lblIncomeSum_ = named(new QLabel(QStringLiteral("Сумма дохода"), dialog), "lblIncomeSum");
    edIncomeSum_ = moneyField(dialog, "edIncomeSum");
    lblDeductCode_ = new QLabel(
        nonResident ? QStringLiteral("Код вычета (расхода)") : QStringLiteral("Код вычета"), dialog);
    lblDeductCode_->setObjectName(QStringLiteral("lblDeductCode"));
    edDeductCode_ = codeField(dialog, "edDeductCode");
    bnDeductCode_ = pickButton(dialog, "bnDeductCode");
    lblDeductName_ = codeNameLabel(dialog, "lblDeductName");
    lblDeductSum_ = new QLabel(
        nonResident ? QStringLiteral("Сумма вычета (расхода)") : QStringLiteral("Сумма вычета"), dialog);
    lblDeductSum_->setObjectName(QStringLiteral("lblDeductSum"));
    edDeductSum_ = moneyField(dialog, "edDeductSum");
    lblIncomeSum_->setBuddy(edIncomeSum_);
    lblDeductSum_->setBuddy(edDeductSum_);

    // Nothing is chosen yet: only the income code can be picked.
    setIncomeEnabled(false);
    clearDeduction();
    setDeductionControls(false);

    connect(bnIncomeCode_, &QToolButton::clicked, this, &IncomeCodeFields::chooseIncome);
    connect(bnDeductCode_, &QToolButton::clicked, this, &IncomeCodeFields::chooseDeduction);
    connect(edIncomeSum_, &FieldEdit::changed, this, &IncomeCodeFields::incomeChanged);
    connect(edDeductSum_, &FieldEdit::changed, this, &IncomeCodeFields::deductionChanged);
    acceptTypedCode(edIncomeCode_, asker,
                    {4, QStringLiteral("incomeCodeNotListed"), IncomeCodePicker::notListedMessage,
                     [this] { return fromCp1251(incomeCode_); },
                     [this](const std::string& code) { return takeTypedIncome(code); }});
    acceptTypedCode(edDeductCode_, asker,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return deduction_.has_value() ? fromCp1251(deduction_->code) : QString(); },
                     [this](const std::string& code) { return takeTypedDeduction(code); }});
}

int IncomeCodeFields::addTo(QGridLayout* grid, int row) {
    grid->addWidget(lblIncomeCode_, row, 0);
    grid->addLayout(inlineRow({edIncomeCode_, bnIncomeCode_}), row++, 1);
    grid->addWidget(lblIncomeName_, row++, 0, 1, 2);
    grid->addWidget(lblIncomeSum_, row, 0);
    grid->addWidget(edIncomeSum_, row++, 1);
    grid->addWidget(lblDeductCode_, row, 0);
    grid->addLayout(inlineRow({edDeductCode_, bnDeductCode_}), row++, 1);
    grid->addWidget(lblDeductName_, row++, 0, 1, 2);
    grid->addWidget(lblDeductSum_, row, 0);
    grid->addWidget(edDeductSum_, row++, 1);
    return row;
}

// --- Choosing codes ------------------------------------------------------------

const char* IncomeCodeFields::rateSelector() const {
    return rules_ == Rules::NonResident ? "13" : "35";
}

void IncomeCodeFields::chooseIncome() {
    IncomeCodePicker picker(dict_, false, rules_ == Rules::NonResident, incomeCode_, rateSelector(), dialog_);
    const std::optional<IncomeChoice> choice = picker.choose();
    if (!choice.has_value() || choice->code == incomeCode_)
        return;
    applyIncome(choice->code, choice->name);
    emit incomePicked();
}

bool IncomeCodeFields::takeTypedIncome(const std::string& code) {
    const std::optional<IncomeChoice> choice =
        IncomeCodePicker::find(dict_, false, rules_ == Rules::NonResident, code, rateSelector());
    if (choice.has_value() && choice->code != incomeCode_) {
        applyIncome(choice->code, choice->name);
        emit incomePicked();
    }
    return choice.has_value();
}

void IncomeCodeFields::applyIncome(const std::string& code, const std::string& name) {
    incomeCode_ = code;
    edIncomeCode_->setText(fromCp1251(code));
    lblIncomeName_->setText(fromCp1251(name));
    lblIncomeName_->setToolTip(lblIncomeName_->text());
    deriving_ = true;
    if (rules_ == Rules::NonResident)
        edIncomeSum_->clear();
    clearDeduction();
    deriving_ = false;
    // A prize whose amount only its payer states takes no amount here; what was typed stays.
    setIncomeEnabled(rules_ == Rules::NonResident || codeNumber(code) != kUnstatedIncomeCode);
    const IncomeEntry* entry = dict_.findIncome(code);
    hasDeductions_ = entry != nullptr && entry->hasDeductions();
    setDeductionControls(hasDeductions_);
}

void IncomeCodeFields::chooseDeduction() {
    if (incomeCode_.empty())
        return;
    DeductionCodePicker picker(dict_, true, deduction_ ? deduction_->code : std::string(), incomeCode_,
                               dialog_);
    const std::optional<DeductionChoice> choice = picker.choose();
    if (!choice.has_value() || (deduction_.has_value() && choice->code == deduction_->code))
        return;
    applyDeduction(*choice);
    if (rules_ == Rules::ThirtyFive)
        showDeduction(thirtyFiveDeductionOnPick(*choice, incomeAmount()));
}

bool IncomeCodeFields::takeTypedDeduction(const std::string& code) {
    const std::optional<DeductionChoice> choice = DeductionCodePicker::find(dict_, true, incomeCode_, code);
    if (choice.has_value() && (!deduction_.has_value() || choice->code != deduction_->code)) {
        applyDeduction(*choice);
        if (rules_ == Rules::ThirtyFive)
            showDeduction(thirtyFiveDeductionOnPick(*choice, incomeAmount()));
    }
    return choice.has_value();
}

void IncomeCodeFields::applyDeduction(const DeductionChoice& choice) {
    deduction_ = choice;
    edDeductCode_->setText(fromCp1251(choice.code));
    lblDeductName_->setText(fromCp1251(choice.name));
    lblDeductName_->setToolTip(lblDeductName_->text());
    showDeduction(std::nullopt);
    lblDeductSum_->setEnabled(choice.visible);
    edDeductSum_->setVisible(choice.visible);
    edDeductSum_->setEnabled(choice.enabled);
}

void IncomeCodeFields::clearDeduction() {
    deduction_.reset();
    edDeductCode_->clear();
    lblDeductName_->clear();
    showDeduction(std::nullopt);
    edDeductSum_->setVisible(true);
    edDeductSum_->setEnabled(false);
}

void IncomeCodeFields::setDeductionControls(bool enabled) {
    lblDeductCode_->setEnabled(enabled);
    edDeductCode_->setEnabled(enabled);
    bnDeductCode_->setEnabled(enabled);
    lblDeductSum_->setEnabled(enabled);
    // The amount waits for a deduction code.
    edDeductSum_->setEnabled(false);
}

void IncomeCodeFields::setIncomeEnabled(bool enabled) {
    lblIncomeSum_->setEnabled(enabled);
    edIncomeSum_->setEnabled(enabled);
}

// --- Opening on a stored income ------------------------------------------------

void IncomeCodeFields::restore(std::int32_t incomeCode, Money income, std::int32_t deductionCode,
                               Money deduction) {
    deriving_ = true;
    if (incomeCode == 0) {
        incomeCode_.clear();
        edIncomeCode_->clear();
        edIncomeSum_->clear();
        setIncomeEnabled(false);
        clearDeduction();
        setDeductionControls(false);
        deriving_ = false;
        return;
    }
    incomeCode_ = std::to_string(incomeCode);
    edIncomeCode_->setText(fromCp1251(incomeCode_));
    setIncomeEnabled(rules_ == Rules::NonResident || incomeCode != kUnstatedIncomeCode);
    if (income.isZero())
        edIncomeSum_->clear();
    else
        edIncomeSum_->setMoney(income);

    clearDeduction();
    const IncomeEntry* entry = dict_.findIncome(incomeCode_);
    lblIncomeName_->setText(entry != nullptr ? fromCp1251(entry->name) : QString());
    lblIncomeName_->setToolTip(lblIncomeName_->text());
    hasDeductions_ = entry != nullptr && entry->hasDeductions();
    setDeductionControls(hasDeductions_);
    deriving_ = false;
    if (!hasDeductions_)
        return;
    // A deduction the dictionary no longer lists under the income is dropped.
    const DeductionEntry* listed = entry->findDeduction(std::to_string(deductionCode));
    if (listed == nullptr)
        return;
    applyDeduction(kv::chooseDeduction(*listed));
    if (deduction_->equivalent) {
        showDeduction(thirtyFiveDeductionOnIncome(*deduction_, incomeAmount(), std::nullopt));
    } else if (!deduction.isZero()) {
        showDeduction(deduction);
    }
}

// --- Amounts -------------------------------------------------------------------

std::optional<Money> IncomeCodeFields::incomeAmount() const {
    if (edIncomeSum_->text().isEmpty())
        return std::nullopt;
    return income();
}

std::optional<Money> IncomeCodeFields::typedDeduction() const {
    if (edDeductSum_->text().isEmpty())
        return std::nullopt;
    return amountOf(edDeductSum_);
}

void IncomeCodeFields::showDeduction(std::optional<Money> amount) {
    const bool was = deriving_;
    deriving_ = true;
    if (amount.has_value())
        edDeductSum_->setMoney(*amount);
    else
        edDeductSum_->clear();
    deriving_ = was;
}

void IncomeCodeFields::incomeChanged() {
    if (deriving_ || !hasDeductions_ || !deduction_.has_value())
        return;
    const std::optional<Money> typed = typedDeduction();
    const std::optional<Money> amount = rules_ == Rules::ThirtyFive
                                            ? thirtyFiveDeductionOnIncome(*deduction_, incomeAmount(), typed)
                                            : nonResidentDeductionOnIncome(*deduction_, typed);
    // A typed amount left alone keeps its text as the user wrote it.
    if (amount != typed)
        showDeduction(amount);
}

void IncomeCodeFields::deductionChanged() {
    if (deriving_ || !deduction_.has_value() || !deductionEditable() || edDeductSum_->text().isEmpty())
        return;
    const Money amount = amountOf(edDeductSum_);
    const Money capped = cappedDeductionAmount(*deduction_, amount);
    if (capped != amount)
        showDeduction(capped);
}

std::int32_t IncomeCodeFields::incomeCode() const {
    return codeNumber(incomeCode_);
}

bool IncomeCodeFields::incomeEmpty() const {
    return edIncomeSum_->text().isEmpty();
}

Money IncomeCodeFields::income() const {
    return amountOf(edIncomeSum_);
}

std::int32_t IncomeCodeFields::deductionCode() const {
    return deduction_.has_value() ? codeNumber(deduction_->code) : 0;
}

bool IncomeCodeFields::deductionEditable() const {
    return edDeductSum_->isVisibleTo(dialog_) && edDeductSum_->isEnabledTo(dialog_);
}

bool IncomeCodeFields::deductionEmpty() const {
    return edDeductSum_->text().isEmpty();
}

Money IncomeCodeFields::deduction() const {
    if (!deduction_.has_value() || !deduction_->visible)
        return Money{};
    return typedDeduction().value_or(Money{});
}

} // namespace kv
