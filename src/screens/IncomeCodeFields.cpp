#include "screens/IncomeCodeFields.h"

#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/TypedCode.h"
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

std::int32_t codeNumber(const Cp1251Text& text) {
    const std::string& code = text.bytes();
    std::int32_t value = 0;
    std::from_chars(code.data(), code.data() + code.size(), value);
    return value;
}

} // namespace

IncomeCodeFields::IncomeCodeFields(Asker& asker, const IncomeDict& dict, Rules rules, QWidget* dialog)
    : QObject(dialog), dict_(dict), rules_(rules), dialog_(dialog) {
    const bool nonResident = rules == Rules::NonResident;
    incomeCodeLabel_ = new QLabel(QStringLiteral("Код дохода"), dialog);
    incomeCodeEdit_ = codeField(dialog, "edIncomeCode");
    incomeCodeButton_ = pickButton(dialog, "bnIncomeCode");
    incomeNameLabel_ = codeNameLabel(dialog, "lblIncomeName");
    incomeSumLabel_ = named(new QLabel(QStringLiteral("Сумма дохода"), dialog), "lblIncomeSum");
    incomeSumEdit_ = moneyField(dialog, "edIncomeSum");
    deductCodeLabel_ = new QLabel(
        nonResident ? QStringLiteral("Код вычета (расхода)") : QStringLiteral("Код вычета"), dialog);
    deductCodeLabel_->setObjectName(QStringLiteral("lblDeductCode"));
    deductCodeEdit_ = codeField(dialog, "edDeductCode");
    deductCodeButton_ = pickButton(dialog, "bnDeductCode");
    deductNameLabel_ = codeNameLabel(dialog, "lblDeductName");
    deductSumLabel_ = new QLabel(
        nonResident ? QStringLiteral("Сумма вычета (расхода)") : QStringLiteral("Сумма вычета"), dialog);
    deductSumLabel_->setObjectName(QStringLiteral("lblDeductSum"));
    deductSumEdit_ = moneyField(dialog, "edDeductSum");
    incomeSumLabel_->setBuddy(incomeSumEdit_);
    deductSumLabel_->setBuddy(deductSumEdit_);

    // Nothing is chosen yet: only the income code can be picked.
    setIncomeEnabled(false);
    clearDeduction();
    setDeductionControls(false);

    connect(incomeCodeButton_, &QToolButton::clicked, this, &IncomeCodeFields::chooseIncome);
    connect(deductCodeButton_, &QToolButton::clicked, this, &IncomeCodeFields::chooseDeduction);
    connect(incomeSumEdit_, &FieldEdit::changed, this, &IncomeCodeFields::incomeChanged);
    connect(deductSumEdit_, &FieldEdit::changed, this, &IncomeCodeFields::deductionChanged);
    acceptTypedCode(incomeCodeEdit_, asker,
                    {4, QStringLiteral("incomeCodeNotListed"), IncomeCodePicker::notListedMessage,
                     [this] { return fromCp1251(incomeCode_); },
                     [this](const Cp1251Text& code) { return takeTypedIncome(code); }});
    acceptTypedCode(deductCodeEdit_, asker,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return deduction_.has_value() ? fromCp1251(deduction_->code) : QString(); },
                     [this](const Cp1251Text& code) { return takeTypedDeduction(code); }});
}

int IncomeCodeFields::addTo(QGridLayout* grid, int row) {
    grid->addWidget(incomeCodeLabel_, row, 0);
    grid->addLayout(inlineRow({incomeCodeEdit_, incomeCodeButton_}), row++, 1);
    grid->addWidget(incomeNameLabel_, row++, 0, 1, 2);
    grid->addWidget(incomeSumLabel_, row, 0);
    grid->addWidget(incomeSumEdit_, row++, 1);
    grid->addWidget(deductCodeLabel_, row, 0);
    grid->addLayout(inlineRow({deductCodeEdit_, deductCodeButton_}), row++, 1);
    grid->addWidget(deductNameLabel_, row++, 0, 1, 2);
    grid->addWidget(deductSumLabel_, row, 0);
    grid->addWidget(deductSumEdit_, row++, 1);
    return row;
}

// --- Choosing codes ------------------------------------------------------------

Cp1251Text IncomeCodeFields::rateSelector() const {
    return rules_ == Rules::NonResident ? Cp1251Text{"13"} : Cp1251Text{"35"};
}

void IncomeCodeFields::chooseIncome() {
    IncomeCodePicker picker(dict_, false, rules_ == Rules::NonResident, incomeCode_, rateSelector(), dialog_);
    const std::optional<IncomeChoice> choice = picker.choose();
    if (!choice.has_value() || choice->code == incomeCode_)
        return;
    applyIncome(choice->code, choice->name);
    emit incomePicked();
}

bool IncomeCodeFields::takeTypedIncome(const Cp1251Text& code) {
    const std::optional<IncomeChoice> choice =
        IncomeCodePicker::find(dict_, false, rules_ == Rules::NonResident, code, rateSelector());
    if (choice.has_value() && choice->code != incomeCode_) {
        applyIncome(choice->code, choice->name);
        emit incomePicked();
    }
    return choice.has_value();
}

void IncomeCodeFields::applyIncome(const Cp1251Text& code, const Cp1251Text& name) {
    incomeCode_ = code;
    incomeCodeEdit_->setText(fromCp1251(code));
    incomeNameLabel_->setText(fromCp1251(name));
    incomeNameLabel_->setToolTip(incomeNameLabel_->text());
    deriving_ = true;
    if (rules_ == Rules::NonResident)
        incomeSumEdit_->clear();
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
    DeductionCodePicker picker(dict_, true, deduction_ ? deduction_->code : Cp1251Text(), incomeCode_,
                               dialog_);
    const std::optional<DeductionChoice> choice = picker.choose();
    if (!choice.has_value() || (deduction_.has_value() && choice->code == deduction_->code))
        return;
    applyDeduction(*choice);
    if (rules_ == Rules::ThirtyFive)
        showDeduction(thirtyFiveDeductionOnPick(*choice, incomeAmount()));
}

bool IncomeCodeFields::takeTypedDeduction(const Cp1251Text& code) {
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
    deductCodeEdit_->setText(fromCp1251(choice.code));
    deductNameLabel_->setText(fromCp1251(choice.name));
    deductNameLabel_->setToolTip(deductNameLabel_->text());
    showDeduction(std::nullopt);
    deductSumLabel_->setEnabled(choice.visible);
    deductSumEdit_->setVisible(choice.visible);
    deductSumEdit_->setEnabled(choice.enabled);
}

void IncomeCodeFields::clearDeduction() {
    deduction_.reset();
    deductCodeEdit_->clear();
    deductNameLabel_->clear();
    showDeduction(std::nullopt);
    deductSumEdit_->setVisible(true);
    deductSumEdit_->setEnabled(false);
}

void IncomeCodeFields::setDeductionControls(bool enabled) {
    deductCodeLabel_->setEnabled(enabled);
    deductCodeEdit_->setEnabled(enabled);
    deductCodeButton_->setEnabled(enabled);
    deductSumLabel_->setEnabled(enabled);
    // The amount waits for a deduction code.
    deductSumEdit_->setEnabled(false);
}

void IncomeCodeFields::setIncomeEnabled(bool enabled) {
    incomeSumLabel_->setEnabled(enabled);
    incomeSumEdit_->setEnabled(enabled);
}

// --- Opening on a stored income ------------------------------------------------

void IncomeCodeFields::restore(std::int32_t incomeCode, Money income, std::int32_t deductionCode,
                               Money deduction) {
    deriving_ = true;
    if (incomeCode == 0) {
        incomeCode_.clear();
        incomeCodeEdit_->clear();
        incomeSumEdit_->clear();
        setIncomeEnabled(false);
        clearDeduction();
        setDeductionControls(false);
        deriving_ = false;
        return;
    }
    incomeCode_ = Cp1251Text::number(incomeCode);
    incomeCodeEdit_->setText(fromCp1251(incomeCode_));
    setIncomeEnabled(rules_ == Rules::NonResident || incomeCode != kUnstatedIncomeCode);
    if (income.isZero())
        incomeSumEdit_->clear();
    else
        incomeSumEdit_->setMoney(income);

    clearDeduction();
    const IncomeEntry* entry = dict_.findIncome(incomeCode_);
    incomeNameLabel_->setText(entry != nullptr ? fromCp1251(entry->name) : QString());
    incomeNameLabel_->setToolTip(incomeNameLabel_->text());
    hasDeductions_ = entry != nullptr && entry->hasDeductions();
    setDeductionControls(hasDeductions_);
    deriving_ = false;
    if (!hasDeductions_)
        return;
    // A deduction the dictionary no longer lists under the income is dropped.
    const DeductionEntry* listed = entry->findDeduction(Cp1251Text::number(deductionCode));
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
    if (incomeSumEdit_->text().isEmpty())
        return std::nullopt;
    return income();
}

std::optional<Money> IncomeCodeFields::typedDeduction() const {
    if (deductSumEdit_->text().isEmpty())
        return std::nullopt;
    return amountOf(deductSumEdit_);
}

void IncomeCodeFields::showDeduction(std::optional<Money> amount) {
    const bool was = deriving_;
    deriving_ = true;
    if (amount.has_value())
        deductSumEdit_->setMoney(*amount);
    else
        deductSumEdit_->clear();
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
    if (deriving_ || !deduction_.has_value() || !deductionEditable() || deductSumEdit_->text().isEmpty())
        return;
    const Money amount = amountOf(deductSumEdit_);
    const Money capped = cappedDeductionAmount(*deduction_, amount);
    if (capped != amount)
        showDeduction(capped);
}

std::int32_t IncomeCodeFields::incomeCode() const {
    return codeNumber(incomeCode_);
}

bool IncomeCodeFields::incomeEmpty() const {
    return incomeSumEdit_->text().isEmpty();
}

Money IncomeCodeFields::income() const {
    return amountOf(incomeSumEdit_);
}

std::int32_t IncomeCodeFields::deductionCode() const {
    return deduction_.has_value() ? codeNumber(deduction_->code) : 0;
}

bool IncomeCodeFields::deductionEditable() const {
    return deductSumEdit_->isVisibleTo(dialog_) && deductSumEdit_->isEnabledTo(dialog_);
}

bool IncomeCodeFields::deductionEmpty() const {
    return deductSumEdit_->text().isEmpty();
}

Money IncomeCodeFields::deduction() const {
    if (!deduction_.has_value() || !deduction_->visible)
        return Money{};
    return typedDeduction().value_or(Money{});
}

} // namespace kv
