#include "screens/Income13Dialog.h"

#include "screens/kit/TypedCode.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
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

std::int32_t codeNumber(const std::string& code) {
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
    edMonth_->setEnabled(false);
    lblMonth_->setEnabled(false);
    pnlRealEstate_->hide();
    cadastralToggled(false);
    edCadastralValue_->clear();
    edContractPrice_->clear();
    if (existing.has_value())
        restore(*existing);
    // The code comes first: typed, or picked from the dictionary with "...".
    edIncomeCode_->setFocus();

    connect(bnIncomeCode_, &QToolButton::clicked, this, &Income13Dialog::chooseIncome);
    acceptTypedCode(edIncomeCode_, asker_,
                    {4, QStringLiteral("incomeCodeNotListed"), IncomeCodePicker::notListedMessage,
                     [this] { return fromCp1251(incomeCode_); },
                     [this](const std::string& code) { return takeTypedIncome(code); }});
    acceptTypedCode(edDeductCode_, asker_,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return shownDeductionCode(); },
                     [this](const std::string& code) { return takeTypedDeduction(code); }});
    connect(bnDeductCode_, &QToolButton::clicked, this, &Income13Dialog::chooseDeduction);
    connect(edIncomeSum_, &FieldEdit::changed, this, &Income13Dialog::incomeChanged);
    connect(edDeductSum_, &FieldEdit::changed, this, &Income13Dialog::deductionChanged);
    connect(chbCadastral_, &QCheckBox::toggled, this, &Income13Dialog::cadastralToggled);
    connect(edCadastralValue_, &FieldEdit::changed, this, &Income13Dialog::cadastralChanged);
    connect(edContractPrice_, &FieldEdit::changed, this, &Income13Dialog::cadastralChanged);
    connect(edMonth_, &FieldEdit::changed, this, &Income13Dialog::monthChanged);
    connect(edMonth_, &FieldEdit::editingFinished, this, &Income13Dialog::monthFinished);
    arrangeDialogForKeyboard(this);
}

void Income13Dialog::buildWidgets() {
    auto* group = new QGroupBox(QStringLiteral("Сведения о полученном доходе"), this);
    group->setObjectName(QStringLiteral("gbIncome"));

    edIncomeCode_ = codeField(group, "edIncomeCode");
    bnIncomeCode_ = pickButton(group, "bnIncomeCode");
    lblIncomeName_ = new QLabel(group);
    lblIncomeName_->setObjectName(QStringLiteral("lblIncomeName"));
    nameLabel(lblIncomeName_);
    edIncomeSum_ = moneyField(group, "edIncomeSum");

    pnlRealEstate_ = new QFrame(group);
    pnlRealEstate_->setObjectName(QStringLiteral("pnlRealEstate"));
    pnlRealEstate_->setFrameShape(QFrame::StyledPanel);
    chbCadastral_ =
        new QCheckBox(QStringLiteral("Имущество было приобретено после 01.01.2016"), pnlRealEstate_);
    chbCadastral_->setObjectName(QStringLiteral("chbCadastral"));
    edCadastralValue_ = moneyField(pnlRealEstate_, "edCadastralValue");
    edCadastralNumber_ = field(pnlRealEstate_, "edCadastralNumber", FieldKind::edtNone, 100);
    edContractPrice_ = moneyField(pnlRealEstate_, "edContractPrice");
    auto* estate = new QGridLayout(pnlRealEstate_);
    estate->addWidget(chbCadastral_, 0, 0, 1, 2);
    estate->addWidget(new QLabel(QStringLiteral("Кадастровая стоимость"), pnlRealEstate_), 1, 0);
    estate->addWidget(edCadastralValue_, 1, 1);
    estate->addWidget(new QLabel(QStringLiteral("Кадастровый номер"), pnlRealEstate_), 2, 0);
    estate->addWidget(edCadastralNumber_, 2, 1);
    estate->addWidget(new QLabel(QStringLiteral("Цена объекта по договору продажи"), pnlRealEstate_), 3, 0);
    estate->addWidget(edContractPrice_, 3, 1);
    estate->setColumnStretch(1, 1);

    lblDeductCode_ = new QLabel(QStringLiteral("Код вычета (расхода)"), group);
    edDeductCode_ = codeField(group, "edDeductCode");
    bnDeductCode_ = pickButton(group, "bnDeductCode");
    lblDeductName_ = new QLabel(group);
    lblDeductName_->setObjectName(QStringLiteral("lblDeductName"));
    nameLabel(lblDeductName_);
    lblDeductSum_ = new QLabel(QStringLiteral("Сумма вычета (расхода)"), group);
    lblDeductSum_->setObjectName(QStringLiteral("lblDeductSum"));
    edDeductSum_ = moneyField(group, "edDeductSum");
    lblMonth_ = new QLabel(QStringLiteral("Месяц получения дохода"), group);
    edMonth_ = field(group, "edMonth", FieldKind::edtDigital, 2);
    edMonth_->setMaximumWidth(40);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Код дохода"), group), 0, 0);
    auto* incomeRow = new QHBoxLayout;
    incomeRow->addWidget(edIncomeCode_);
    incomeRow->addWidget(bnIncomeCode_);
    incomeRow->addStretch(1);
    grid->addLayout(incomeRow, 0, 1);
    grid->addWidget(lblIncomeName_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Сумма дохода"), group), 2, 0);
    grid->addWidget(edIncomeSum_, 2, 1);
    grid->addWidget(pnlRealEstate_, 3, 0, 1, 2);
    grid->addWidget(lblDeductCode_, 4, 0);
    auto* deductionRow = new QHBoxLayout;
    deductionRow->addWidget(edDeductCode_);
    deductionRow->addWidget(bnDeductCode_);
    deductionRow->addStretch(1);
    grid->addLayout(deductionRow, 4, 1);
    grid->addWidget(lblDeductName_, 5, 0, 1, 2);
    grid->addWidget(lblDeductSum_, 6, 0);
    grid->addWidget(edDeductSum_, 6, 1);
    grid->addWidget(lblMonth_, 7, 0);
    grid->addWidget(edMonth_, 7, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(600);
}

void Income13Dialog::restore(const ThirteenIncomeItem& item) {
    incomeCode_ = item.incomeCode != 0 ? std::to_string(item.incomeCode) : std::string();
    const IncomeEntry* entry = incomeCode_.empty() ? nullptr : dict_.findIncome(incomeCode_);
    incomeName_ = entry != nullptr ? entry->name : item.incomeName.str();
    edIncomeCode_->setText(fromCp1251(incomeCode_));
    lblIncomeName_->setText(fromCp1251(incomeName_));
    lblIncomeName_->setToolTip(lblIncomeName_->text());
    edIncomeSum_->setMoney(item.amount);
    following_ = item.incomeCode == kFollowingIncomeCode;
    if (resident_) {
        lblMonth_->setEnabled(true);
        edMonth_->setEnabled(true);
        edMonth_->setText(QString::number(item.month));
    }

    clearDeduction();
    deductionAllowed_ = entry != nullptr && incomeMayHaveDeduction(*entry, resident_);
    setDeductionControls(deductionAllowed_);
    if (following_) {
        edDeductCode_->setText(QString::number(kFollowingDeductionCode));
        showDeduction(incomeAmount(), true);
    } else if (entry != nullptr && deductionAllowed_) {
        // A deduction the dictionary no longer lists under the income is dropped.
        if (const DeductionEntry* listed = entry->findDeduction(std::to_string(item.deductionCode))) {
            applyDeduction(kv::chooseDeduction(*listed));
            if (deduction_->percent == 0 && !deduction_->equivalent)
                showDeduction(item.deductionAmount, false);
        }
    }

    const bool estate = entry != nullptr && isRealEstateSale(item.incomeCode);
    pnlRealEstate_->setVisible(estate);
    if (estate && item.hasCadastralData) {
        chbCadastral_->setChecked(true);
        cadastralToggled(true);
        edCadastralValue_->setMoney(item.cadastralValue);
        edCadastralNumber_->setText(fromCp1251(item.cadastralNumber));
        edContractPrice_->setMoney(item.contractPrice);
    }
}

void Income13Dialog::chooseIncome() {
    IncomeCodePicker picker(dict_, partnership_, false, incomeCode_, resident_ ? "13" : "100", this);
    const std::optional<IncomeChoice> choice = picker.choose();
    if (!choice.has_value() || choice->code == incomeCode_)
        return;
    applyIncome(choice->code, choice->name);
}

bool Income13Dialog::takeTypedIncome(const std::string& code) {
    const std::optional<IncomeChoice> choice =
        IncomeCodePicker::find(dict_, partnership_, false, code, resident_ ? "13" : "100");
    if (choice.has_value() && choice->code != incomeCode_)
        applyIncome(choice->code, choice->name);
    return choice.has_value();
}

void Income13Dialog::applyIncome(const std::string& code, const std::string& name) {
    incomeCode_ = code;
    incomeName_ = name;
    edIncomeCode_->setText(fromCp1251(code));
    lblIncomeName_->setText(fromCp1251(name));
    lblIncomeName_->setToolTip(lblIncomeName_->text());

    deriving_ = true;
    edIncomeSum_->clear();
    edIncomeSum_->setEnabled(true);
    edIncomeSum_->setReadOnly(false);
    clearDeduction();
    chbCadastral_->setChecked(false);
    edCadastralValue_->clear();
    edCadastralNumber_->clear();
    edContractPrice_->clear();
    deriving_ = false;

    const std::int32_t number = codeNumber(code);
    following_ = number == kFollowingIncomeCode;
    const IncomeEntry* entry = dict_.findIncome(code);
    deductionAllowed_ = entry != nullptr && incomeMayHaveDeduction(*entry, resident_);
    setDeductionControls(deductionAllowed_);
    if (following_)
        edDeductCode_->setText(QString::number(kFollowingDeductionCode));

    // A non-resident's income is not split by month: it counts as January.
    lblMonth_->setEnabled(resident_);
    edMonth_->setEnabled(resident_);
    if (!resident_)
        edMonth_->clear();

    pnlRealEstate_->setVisible(isRealEstateSale(number));
}

void Income13Dialog::chooseDeduction() {
    if (incomeCode_.empty())
        return;
    DeductionCodePicker picker(dict_, resident_, deduction_ ? deduction_->code : std::string(), incomeCode_,
                               this);
    const std::optional<DeductionChoice> choice = picker.choose();
    if (!choice.has_value() || (deduction_.has_value() && choice->code == deduction_->code))
        return;
    applyDeduction(*choice);
}

bool Income13Dialog::takeTypedDeduction(const std::string& code) {
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
    edDeductCode_->setText(fromCp1251(choice.code));
    lblDeductName_->setText(fromCp1251(choice.name));
    lblDeductName_->setToolTip(lblDeductName_->text());
    showDeduction(std::nullopt, true);
    lblDeductSum_->setVisible(choice.visible);
    edDeductSum_->setVisible(choice.visible);
    edDeductSum_->setEnabled(choice.enabled);
    if (choice.percent != 0 || choice.equivalent)
        showDeduction(derivedDeductionAmount(choice, incomeAmount(), std::nullopt), false);
}

void Income13Dialog::clearDeduction() {
    deduction_.reset();
    edDeductCode_->clear();
    lblDeductName_->clear();
    showDeduction(std::nullopt, true);
    lblDeductSum_->setVisible(true);
    edDeductSum_->setVisible(true);
    edDeductSum_->setEnabled(false);
}

void Income13Dialog::setDeductionControls(bool allowed) {
    lblDeductCode_->setEnabled(allowed);
    edDeductCode_->setEnabled(allowed);
    bnDeductCode_->setEnabled(allowed);
    lblDeductSum_->setEnabled(allowed);
    // The amount waits for a deduction code.
    edDeductSum_->setEnabled(false);
}

std::optional<Money> Income13Dialog::incomeAmount() const {
    if (edIncomeSum_->text().isEmpty())
        return std::nullopt;
    return amountOf(edIncomeSum_);
}

bool Income13Dialog::deductionEditable() const {
    return edDeductSum_->isVisibleTo(this) && edDeductSum_->isEnabledTo(this);
}

void Income13Dialog::showDeduction(std::optional<Money> amount, bool zeroAsEmpty) {
    deriving_ = true;
    if (!amount.has_value() || (zeroAsEmpty && amount->isZero()))
        edDeductSum_->clear();
    else
        edDeductSum_->setMoney(*amount);
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
        edDeductSum_->text().isEmpty() ? std::nullopt : std::optional<Money>(amountOf(edDeductSum_));
    showDeduction(derivedDeductionAmount(*deduction_, incomeAmount(), entered), true);
}

void Income13Dialog::deductionChanged() {
    if (deriving_ || !deduction_.has_value() || !deductionEditable() || edDeductSum_->text().isEmpty())
        return;
    const Money amount = amountOf(edDeductSum_);
    const Money capped = cappedDeductionAmount(*deduction_, amount);
    if (capped != amount)
        showDeduction(capped, false);
}

void Income13Dialog::cadastralToggled(bool checked) {
    edCadastralValue_->setEnabled(checked);
    edCadastralNumber_->setEnabled(checked);
    edContractPrice_->setEnabled(checked);
    // The income of such a sale is derived from the cadastral value and the price.
    edIncomeSum_->setReadOnly(checked);
    if (!checked) {
        edCadastralValue_->setText(QStringLiteral("0"));
        edContractPrice_->setText(QStringLiteral("0"));
        edCadastralNumber_->clear();
    }
}

void Income13Dialog::cadastralChanged() {
    if (!chbCadastral_->isChecked())
        return;
    edIncomeSum_->setMoney(cadastralIncome(amountOf(edCadastralValue_), amountOf(edContractPrice_)));
}

void Income13Dialog::monthChanged() {
    if (codeNumber(edMonth_->text().toStdString()) > 12)
        edMonth_->setText(QStringLiteral("12"));
}

void Income13Dialog::monthFinished() {
    if (!edMonth_->text().isEmpty() && codeNumber(edMonth_->text().toStdString()) == 0)
        edMonth_->setText(QStringLiteral("1"));
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
        it.deductionAmount = deduction_->visible ? amountOf(edDeductSum_) : Money{};
        it.deductionPercent = deduction_->percent;
    }
    it.month = resident_ ? monthFromText(edMonth_->text().toStdString()) : 1;
    if (isRealEstateSale(it.incomeCode) && pnlRealEstate_->isVisibleTo(this) && chbCadastral_->isChecked()) {
        it.hasCadastralData = 1;
        it.cadastralNumber = toCp1251(edCadastralNumber_->text());
        it.cadastralValue = amountOf(edCadastralValue_);
        it.contractPrice = amountOf(edContractPrice_);
    }
    return it;
}

void Income13Dialog::accept() {
    monthFinished();
    IncomeDialogState state;
    state.incomeChosen = !incomeCode_.empty();
    state.incomeCode = codeNumber(incomeCode_);
    state.incomeEmpty = edIncomeSum_->text().isEmpty();
    state.income = amountOf(edIncomeSum_);
    state.deductionAllowed = deductionAllowed_;
    state.deductionChosen = deduction_.has_value();
    state.deductionCode = deduction_.has_value() ? codeNumber(deduction_->code) : 0;
    state.deductionEditable = deductionEditable();
    state.deductionEmpty = edDeductSum_->text().isEmpty();
    state.deduction = amountOf(edDeductSum_);
    AskerCheckDialog dialog(asker_, this);
    const IncomeDialogVerdict verdict = CheckIncomeDialog(state, dialog);
    if (verdict.element != 0)
        goToElement(verdict.element);
    if (verdict.accept)
        QDialog::accept();
}

void Income13Dialog::goToElement(std::uint16_t element) {
    switch (element) {
    case kIncomeCodeElement:
        bnIncomeCode_->setFocus();
        chooseIncome();
        break;
    case kIncomeAmountElement:
        edIncomeSum_->setFocus();
        break;
    case kDeductionCodeElement:
        bnDeductCode_->setFocus();
        chooseDeduction();
        break;
    case kDeductionAmountElement:
        edDeductSum_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
