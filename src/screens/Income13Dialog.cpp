#include "screens/Income13Dialog.h"

#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/TypedCode.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/DeductionCodePicker.h"
#include "screens/pickers/IncomeCodePicker.h"
#include "screens/rules/ThirteenRules.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>

namespace kv {

namespace {

std::int32_t codeNumber(const Cp1251Text& text) {
    const std::string& code = text.bytes();
    std::int32_t value = 0;
    std::from_chars(code.data(), code.data() + code.size(), value);
    return value;
}

// A code's name from the dictionary: up to three lines under its code; the dialog
// keeps its height whatever name is picked.
void nameLabel(QLabel* label) {
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(label->fontMetrics().lineSpacing() * 3 + 2);
    label->setMinimumWidth(520);
}

} // namespace

Income13Dialog::Income13Dialog(Asker& asker, const IncomeDict& dict, bool residentReturn,
                               bool investmentPartnership, const std::optional<ThirteenIncomeItem>& existing,
                               QWidget* parent)
    : QDialog(parent), asker_(asker), dict_(dict), resident_(residentReturn),
      partnership_(investmentPartnership) {
    setObjectName(QStringLiteral("TfmInput13Income"));
    setWindowTitle(QStringLiteral("Сведения о доходе"));
    buildWidgets();

    // Nothing is chosen yet: only the income code can be picked.
    setDeductionControls(false);
    monthEdit_->setEnabled(false);
    monthLabel_->setEnabled(false);
    realEstatePanel_->hide();
    cadastralToggled(false);
    cadastralValueEdit_->clear();
    contractPriceEdit_->clear();
    if (existing.has_value())
        restore(*existing);
    // The code comes first: typed, or picked from the dictionary with "...".
    incomeCodeEdit_->setFocus();

    connect(incomeCodeButton_, &QToolButton::clicked, this, &Income13Dialog::chooseIncome);
    acceptTypedCode(incomeCodeEdit_, asker_,
                    {4, QStringLiteral("incomeCodeNotListed"), IncomeCodePicker::notListedMessage,
                     [this] { return fromCp1251(incomeCode_); },
                     [this](const Cp1251Text& code) { return takeTypedIncome(code); }});
    acceptTypedCode(deductCodeEdit_, asker_,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return shownDeductionCode(); },
                     [this](const Cp1251Text& code) { return takeTypedDeduction(code); }});
    connect(deductCodeButton_, &QToolButton::clicked, this, &Income13Dialog::chooseDeduction);
    connect(incomeSumEdit_, &FieldEdit::changed, this, &Income13Dialog::incomeChanged);
    connect(deductSumEdit_, &FieldEdit::changed, this, &Income13Dialog::deductionChanged);
    connect(cadastralBox_, &QCheckBox::toggled, this, &Income13Dialog::cadastralToggled);
    connect(cadastralValueEdit_, &FieldEdit::changed, this, &Income13Dialog::cadastralChanged);
    connect(contractPriceEdit_, &FieldEdit::changed, this, &Income13Dialog::cadastralChanged);
    connect(monthEdit_, &FieldEdit::changed, this, &Income13Dialog::monthChanged);
    connect(monthEdit_, &FieldEdit::editingFinished, this, &Income13Dialog::monthFinished);
    arrangeDialogForKeyboard(this);
}

void Income13Dialog::buildWidgets() {
    auto* group = new QGroupBox(QStringLiteral("Сведения о полученном доходе"), this);
    group->setObjectName(QStringLiteral("gbIncome"));

    incomeCodeEdit_ = codeField(group, "edIncomeCode");
    incomeCodeButton_ = pickButton(group, "bnIncomeCode");
    incomeNameLabel_ = new QLabel(group);
    incomeNameLabel_->setObjectName(QStringLiteral("lblIncomeName"));
    nameLabel(incomeNameLabel_);
    incomeSumEdit_ = moneyField(group, "edIncomeSum");

    realEstatePanel_ = new QFrame(group);
    realEstatePanel_->setObjectName(QStringLiteral("pnlRealEstate"));
    realEstatePanel_->setFrameShape(QFrame::StyledPanel);
    cadastralBox_ =
        new QCheckBox(QStringLiteral("Имущество было приобретено после 01.01.2016"), realEstatePanel_);
    cadastralBox_->setObjectName(QStringLiteral("chbCadastral"));
    cadastralValueEdit_ = moneyField(realEstatePanel_, "edCadastralValue");
    cadastralNumberEdit_ = field(realEstatePanel_, "edCadastralNumber", FieldKind::Any, 100);
    contractPriceEdit_ = moneyField(realEstatePanel_, "edContractPrice");
    auto* estate = new QGridLayout(realEstatePanel_);
    estate->addWidget(cadastralBox_, 0, 0, 1, 2);
    estate->addWidget(new QLabel(QStringLiteral("Кадастровая стоимость"), realEstatePanel_), 1, 0);
    estate->addWidget(cadastralValueEdit_, 1, 1);
    estate->addWidget(new QLabel(QStringLiteral("Кадастровый номер"), realEstatePanel_), 2, 0);
    estate->addWidget(cadastralNumberEdit_, 2, 1);
    estate->addWidget(new QLabel(QStringLiteral("Цена объекта по договору продажи"), realEstatePanel_), 3, 0);
    estate->addWidget(contractPriceEdit_, 3, 1);
    estate->setColumnStretch(1, 1);

    deductCodeLabel_ = new QLabel(QStringLiteral("Код вычета (расхода)"), group);
    deductCodeEdit_ = codeField(group, "edDeductCode");
    deductCodeButton_ = pickButton(group, "bnDeductCode");
    deductNameLabel_ = new QLabel(group);
    deductNameLabel_->setObjectName(QStringLiteral("lblDeductName"));
    nameLabel(deductNameLabel_);
    deductSumLabel_ = new QLabel(QStringLiteral("Сумма вычета (расхода)"), group);
    deductSumLabel_->setObjectName(QStringLiteral("lblDeductSum"));
    deductSumEdit_ = moneyField(group, "edDeductSum");
    monthLabel_ = new QLabel(QStringLiteral("Месяц получения дохода"), group);
    monthEdit_ = field(group, "edMonth", FieldKind::Digits, 2);
    monthEdit_->setMaximumWidth(40);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Код дохода"), group), 0, 0);
    auto* incomeRow = new QHBoxLayout;
    incomeRow->addWidget(incomeCodeEdit_);
    incomeRow->addWidget(incomeCodeButton_);
    incomeRow->addStretch(1);
    grid->addLayout(incomeRow, 0, 1);
    grid->addWidget(incomeNameLabel_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Сумма дохода"), group), 2, 0);
    grid->addWidget(incomeSumEdit_, 2, 1);
    grid->addWidget(realEstatePanel_, 3, 0, 1, 2);
    grid->addWidget(deductCodeLabel_, 4, 0);
    auto* deductionRow = new QHBoxLayout;
    deductionRow->addWidget(deductCodeEdit_);
    deductionRow->addWidget(deductCodeButton_);
    deductionRow->addStretch(1);
    grid->addLayout(deductionRow, 4, 1);
    grid->addWidget(deductNameLabel_, 5, 0, 1, 2);
    grid->addWidget(deductSumLabel_, 6, 0);
    grid->addWidget(deductSumEdit_, 6, 1);
    grid->addWidget(monthLabel_, 7, 0);
    grid->addWidget(monthEdit_, 7, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(600);
}

void Income13Dialog::restore(const ThirteenIncomeItem& item) {
    incomeCode_ = item.incomeCode != 0 ? Cp1251Text::number(item.incomeCode) : Cp1251Text();
    const IncomeEntry* entry = incomeCode_.empty() ? nullptr : dict_.findIncome(incomeCode_);
    incomeName_ = entry != nullptr ? entry->name : item.incomeName.str();
    incomeCodeEdit_->setText(fromCp1251(incomeCode_));
    incomeNameLabel_->setText(fromCp1251(incomeName_));
    incomeNameLabel_->setToolTip(incomeNameLabel_->text());
    incomeSumEdit_->setMoney(item.amount);
    following_ = item.incomeCode == kFollowingIncomeCode;
    if (resident_) {
        monthLabel_->setEnabled(true);
        monthEdit_->setEnabled(true);
        monthEdit_->setText(QString::number(item.month));
    }

    clearDeduction();
    deductionAllowed_ = entry != nullptr && incomeMayHaveDeduction(*entry, resident_);
    setDeductionControls(deductionAllowed_);
    if (following_) {
        deductCodeEdit_->setText(QString::number(kFollowingDeductionCode));
        showDeduction(incomeAmount(), true);
    } else if (entry != nullptr && deductionAllowed_) {
        // A deduction the dictionary no longer lists under the income is dropped.
        if (const DeductionEntry* listed = entry->findDeduction(Cp1251Text::number(item.deductionCode))) {
            applyDeduction(kv::chooseDeduction(*listed));
            if (deduction_->percent == 0 && !deduction_->equivalent)
                showDeduction(item.deductionAmount, false);
        }
    }

    const bool estate = entry != nullptr && isRealEstateSale(item.incomeCode);
    realEstatePanel_->setVisible(estate);
    if (estate && item.hasCadastralData) {
        cadastralBox_->setChecked(true);
        cadastralToggled(true);
        cadastralValueEdit_->setMoney(item.cadastralValue);
        cadastralNumberEdit_->setText(fromCp1251(item.cadastralNumber));
        contractPriceEdit_->setMoney(item.contractPrice);
    }
}

void Income13Dialog::chooseIncome() {
    IncomeCodePicker picker(dict_, partnership_, false, incomeCode_,
                            resident_ ? Cp1251Text{"13"} : Cp1251Text{"100"}, this);
    const std::optional<IncomeChoice> choice = picker.choose();
    if (!choice.has_value() || choice->code == incomeCode_)
        return;
    applyIncome(choice->code, choice->name);
}

bool Income13Dialog::takeTypedIncome(const Cp1251Text& code) {
    const std::optional<IncomeChoice> choice = IncomeCodePicker::find(
        dict_, partnership_, false, code, resident_ ? Cp1251Text{"13"} : Cp1251Text{"100"});
    if (choice.has_value() && choice->code != incomeCode_)
        applyIncome(choice->code, choice->name);
    return choice.has_value();
}

void Income13Dialog::applyIncome(const Cp1251Text& code, const Cp1251Text& name) {
    incomeCode_ = code;
    incomeName_ = name;
    incomeCodeEdit_->setText(fromCp1251(code));
    incomeNameLabel_->setText(fromCp1251(name));
    incomeNameLabel_->setToolTip(incomeNameLabel_->text());

    deriving_ = true;
    incomeSumEdit_->clear();
    incomeSumEdit_->setEnabled(true);
    incomeSumEdit_->setReadOnly(false);
    clearDeduction();
    cadastralBox_->setChecked(false);
    cadastralValueEdit_->clear();
    cadastralNumberEdit_->clear();
    contractPriceEdit_->clear();
    deriving_ = false;

    const std::int32_t number = codeNumber(code);
    following_ = number == kFollowingIncomeCode;
    const IncomeEntry* entry = dict_.findIncome(code);
    deductionAllowed_ = entry != nullptr && incomeMayHaveDeduction(*entry, resident_);
    setDeductionControls(deductionAllowed_);
    if (following_)
        deductCodeEdit_->setText(QString::number(kFollowingDeductionCode));

    // A non-resident's income is not split by month: it counts as January.
    monthLabel_->setEnabled(resident_);
    monthEdit_->setEnabled(resident_);
    if (!resident_)
        monthEdit_->clear();

    realEstatePanel_->setVisible(isRealEstateSale(number));
}

void Income13Dialog::chooseDeduction() {
    if (incomeCode_.empty())
        return;
    DeductionCodePicker picker(dict_, resident_, deduction_ ? deduction_->code : Cp1251Text(), incomeCode_,
                               this);
    const std::optional<DeductionChoice> choice = picker.choose();
    if (!choice.has_value() || (deduction_.has_value() && choice->code == deduction_->code))
        return;
    applyDeduction(*choice);
}

bool Income13Dialog::takeTypedDeduction(const Cp1251Text& code) {
    const std::optional<DeductionChoice> choice =
        DeductionCodePicker::find(dict_, resident_, incomeCode_, code);
    if (choice.has_value() && (!deduction_.has_value() || choice->code != deduction_->code))
        applyDeduction(*choice);
    return choice.has_value();
}

QString Income13Dialog::shownDeductionCode() const {
    if (deduction_.has_value())
        return fromCp1251(deduction_->code);
    return following_ ? QString::number(kFollowingDeductionCode) : QString();
}

void Income13Dialog::applyDeduction(const DeductionChoice& choice) {
    deduction_ = choice;
    deductCodeEdit_->setText(fromCp1251(choice.code));
    deductNameLabel_->setText(fromCp1251(choice.name));
    deductNameLabel_->setToolTip(deductNameLabel_->text());
    showDeduction(std::nullopt, true);
    deductSumLabel_->setVisible(choice.visible);
    deductSumEdit_->setVisible(choice.visible);
    deductSumEdit_->setEnabled(choice.enabled);
    if (choice.percent != 0 || choice.equivalent)
        showDeduction(derivedDeductionAmount(choice, incomeAmount(), std::nullopt), false);
}

void Income13Dialog::clearDeduction() {
    deduction_.reset();
    deductCodeEdit_->clear();
    deductNameLabel_->clear();
    showDeduction(std::nullopt, true);
    deductSumLabel_->setVisible(true);
    deductSumEdit_->setVisible(true);
    deductSumEdit_->setEnabled(false);
}

void Income13Dialog::setDeductionControls(bool allowed) {
    deductCodeLabel_->setEnabled(allowed);
    deductCodeEdit_->setEnabled(allowed);
    deductCodeButton_->setEnabled(allowed);
    deductSumLabel_->setEnabled(allowed);
    // The amount waits for a deduction code.
    deductSumEdit_->setEnabled(false);
}

std::optional<Money> Income13Dialog::incomeAmount() const {
    if (incomeSumEdit_->text().isEmpty())
        return std::nullopt;
    return amountOf(incomeSumEdit_);
}

bool Income13Dialog::deductionEditable() const {
    return deductSumEdit_->isVisibleTo(this) && deductSumEdit_->isEnabledTo(this);
}

void Income13Dialog::showDeduction(std::optional<Money> amount, bool zeroAsEmpty) {
    deriving_ = true;
    if (!amount.has_value() || (zeroAsEmpty && amount->isZero()))
        deductSumEdit_->clear();
    else
        deductSumEdit_->setMoney(*amount);
    deriving_ = false;
}

void Income13Dialog::incomeChanged() {
    if (deriving_)
        return;
    if (following_) {
        showDeduction(incomeAmount(), true);
        return;
    }
    if (!deductionAllowed_ || !deduction_.has_value())
        return;
    const std::optional<Money> entered =
        deductSumEdit_->text().isEmpty() ? std::nullopt : std::optional<Money>(amountOf(deductSumEdit_));
    showDeduction(derivedDeductionAmount(*deduction_, incomeAmount(), entered), true);
}

void Income13Dialog::deductionChanged() {
    if (deriving_ || !deduction_.has_value() || !deductionEditable() || deductSumEdit_->text().isEmpty())
        return;
    const Money amount = amountOf(deductSumEdit_);
    const Money capped = cappedDeductionAmount(*deduction_, amount);
    if (capped != amount)
        showDeduction(capped, false);
}

void Income13Dialog::cadastralToggled(bool checked) {
    cadastralValueEdit_->setEnabled(checked);
    cadastralNumberEdit_->setEnabled(checked);
    contractPriceEdit_->setEnabled(checked);
    // The income of such a sale is derived from the cadastral value and the price.
    incomeSumEdit_->setReadOnly(checked);
    if (!checked) {
        cadastralValueEdit_->setText(QStringLiteral("0"));
        contractPriceEdit_->setText(QStringLiteral("0"));
        cadastralNumberEdit_->clear();
    }
}

void Income13Dialog::cadastralChanged() {
    if (!cadastralBox_->isChecked())
        return;
    incomeSumEdit_->setMoney(cadastralIncome(amountOf(cadastralValueEdit_), amountOf(contractPriceEdit_)));
}

void Income13Dialog::monthChanged() {
    if (codeNumber(toCp1251(monthEdit_->text())) > 12)
        monthEdit_->setText(QStringLiteral("12"));
}

void Income13Dialog::monthFinished() {
    if (!monthEdit_->text().isEmpty() && codeNumber(toCp1251(monthEdit_->text())) == 0)
        monthEdit_->setText(QStringLiteral("1"));
}

ThirteenIncomeItem Income13Dialog::item() const {
    ThirteenIncomeItem it;
    it.incomeCode = codeNumber(incomeCode_);
    it.incomeName = incomeName_;
    it.amount = incomeAmount().value_or(Money{});
    if (following_) {
        it.deductionCode = kFollowingDeductionCode;
        it.deductionAmount = it.amount;
    } else if (deduction_.has_value()) {
        it.deductionCode = codeNumber(deduction_->code);
        it.deductionAmount = deduction_->visible ? amountOf(deductSumEdit_) : Money{};
        it.deductionPercent = deduction_->percent;
    }
    it.month = resident_ ? monthFromText(monthEdit_->text().toStdString()) : 1;
    if (isRealEstateSale(it.incomeCode) && realEstatePanel_->isVisibleTo(this) &&
        cadastralBox_->isChecked()) {
        it.hasCadastralData = 1;
        it.cadastralNumber = toCp1251(cadastralNumberEdit_->text());
        it.cadastralValue = amountOf(cadastralValueEdit_);
        it.contractPrice = amountOf(contractPriceEdit_);
    }
    return it;
}

void Income13Dialog::accept() {
    monthFinished();
    IncomeDialogState state;
    state.incomeChosen = !incomeCode_.empty();
    state.incomeCode = codeNumber(incomeCode_);
    state.incomeEmpty = incomeSumEdit_->text().isEmpty();
    state.income = amountOf(incomeSumEdit_);
    state.deductionAllowed = deductionAllowed_;
    state.deductionChosen = deduction_.has_value();
    state.deductionCode = deduction_.has_value() ? codeNumber(deduction_->code) : 0;
    state.deductionEditable = deductionEditable();
    state.deductionEmpty = deductSumEdit_->text().isEmpty();
    state.deduction = amountOf(deductSumEdit_);
    AskerCheckDialog dialog(asker_, this);
    const IncomeDialogVerdict verdict = checkIncomeDialog(state, dialog);
    if (verdict.element != 0)
        goToElement(verdict.element);
    if (verdict.accept)
        QDialog::accept();
}

void Income13Dialog::goToElement(std::uint16_t element) {
    switch (element) {
    case IncomeCodeElement:
        incomeCodeButton_->setFocus();
        chooseIncome();
        break;
    case IncomeAmountElement:
        incomeSumEdit_->setFocus();
        break;
    case DeductionCodeElement:
        deductCodeButton_->setFocus();
        chooseDeduction();
        break;
    case DeductionAmountElement:
        deductSumEdit_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
