#include "screens/ForeignIncomePanel.h"

#include "model/ForeignBusiness.h"
#include "reference/Directories.h"
#include "screens/ForeignRateLine.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/CurrencyPicker.h"
#include "screens/pickers/DeductionCodePicker.h"
#include "screens/pickers/IncomeCodePicker.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace kv {

namespace {

const QDate kFirstOf2019(2019, 1, 1);

// Wide enough for this many characters of a code or amount in the field's font.
int codeWidth(const QLineEdit* field, int characters) {
    return field->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 14;
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QString codeText(std::int32_t code) {
    return code == 0 ? QString() : QString::number(code);
}

std::int32_t int32Of(const QString& digits) {
    bool ok = false;
    const qlonglong value = digits.trimmed().toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<std::int32_t>(
        std::clamp<qlonglong>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ForeignIncomePanel::ForeignIncomePanel(ScreenHost& host, const IncomeDict& dict, QWidget* parent)
    : QWidget(parent), host_(host), dict_(dict) {
    setObjectName(QStringLiteral("pnIncome"));
    buildWidgets();
    connectEdits();
}

void ForeignIncomePanel::buildWidgets() {
    // --- Dates, currency and rates ---------------------------------------------
    auto* gbData = new QGroupBox(QStringLiteral("Сведения о полученном доходе"), this);
    gbData->setObjectName(QStringLiteral("gbIncomeData"));
    incomeDateEdit_ = makeDateEdit(gbData, "dtIncomeDate", QDate(2019, 1, 1), QDate(2019, 12, 31));
    taxDateEdit_ = makeDateEdit(gbData, "dtTaxDate", QDate(2018, 1, 1), QDate(2020, 12, 31));
    currencyCodeEdit_ = field(gbData, "edCurrencyCode", FieldKind::Digits, 3);
    currencyCodeEdit_->setFixedWidth(codeWidth(currencyCodeEdit_, 3));
    currencyCodeButton_ = pickButton(gbData, "bnCurrencyCode");
    currencyNameEdit_ = field(gbData, "edCurrencyName", FieldKind::NoDigits, 30);
    autoRateBox_ = new QCheckBox(QStringLiteral("Автоматическое определение курса валюты"), gbData);
    autoRateBox_->setObjectName(QStringLiteral("chbAutoRate"));
    incomeLine_ = new ForeignRateLine(host_, incomeDateEdit_, gbData,
                                      {"edIncomeDateRate", "edIncomeDateUnits", "lblIncomeRateDay"});
    taxLine_ = new ForeignRateLine(host_, taxDateEdit_, gbData,
                                   {"edTaxDateRate", "edTaxDateUnits", "lblTaxRateDay"});

    auto* dataGrid = new QGridLayout(gbData);
    dataGrid->addWidget(label(QStringLiteral("Дата получения дохода"), gbData), 0, 0);
    dataGrid->addWidget(incomeDateEdit_, 0, 1, Qt::AlignLeft);
    dataGrid->addWidget(label(QStringLiteral("Дата уплаты налога"), gbData), 1, 0);
    dataGrid->addWidget(taxDateEdit_, 1, 1, Qt::AlignLeft);
    dataGrid->addWidget(label(QStringLiteral("Код и наименование валюты"), gbData), 2, 0);
    auto* currencyRow = new QHBoxLayout;
    currencyRow->addWidget(currencyCodeEdit_);
    currencyRow->addWidget(currencyCodeButton_);
    currencyRow->addWidget(currencyNameEdit_, 1);
    dataGrid->addLayout(currencyRow, 2, 1);
    dataGrid->addWidget(autoRateBox_, 3, 0, 1, 2);
    dataGrid->addWidget(label(QStringLiteral("На дату дохода"), gbData), 4, 0);
    dataGrid->addLayout(incomeLine_->makeRow(gbData), 4, 1);
    dataGrid->addWidget(label(QStringLiteral("На дату уплаты налога"), gbData), 5, 0);
    dataGrid->addLayout(taxLine_->makeRow(gbData), 5, 1);
    dataGrid->setColumnStretch(1, 1);

    // --- The income and the foreign tax -----------------------------------------
    auto* gbIncome = new QGroupBox(QStringLiteral("Полученный доход"), this);
    gbIncome->setObjectName(QStringLiteral("gbIncome"));
    incomeCodeEdit_ = codeField(gbIncome, "edIncomeCode");
    incomeCodeEdit_->setFixedWidth(codeWidth(incomeCodeEdit_, 4));
    incomeCodeButton_ = pickButton(gbIncome, "bnIncomeCode");
    incomeInCurrencyEdit_ = moneyField(gbIncome, "edIncomeInCurrency");
    incomeInRublesEdit_ = totalField(gbIncome, "edIncomeInRubles");
    auto* incomeGrid = new QGridLayout(gbIncome);
    incomeGrid->addWidget(label(QStringLiteral("Код дохода"), gbIncome), 0, 0);
    incomeGrid->addLayout(inlineRow({incomeCodeEdit_, incomeCodeButton_}), 0, 1);
    incomeGrid->addWidget(label(QStringLiteral("В иностранной валюте"), gbIncome), 1, 0);
    incomeGrid->addWidget(incomeInCurrencyEdit_, 1, 1);
    incomeGrid->addWidget(label(QStringLiteral("В рублях по курсу ЦБ"), gbIncome), 2, 0);
    incomeGrid->addWidget(incomeInRublesEdit_, 2, 1);

    auto* gbTax = new QGroupBox(QStringLiteral("Налог, уплаченный в иностранном государстве"), this);
    gbTax->setObjectName(QStringLiteral("gbForeignTax"));
    taxInCurrencyEdit_ = moneyField(gbTax, "edTaxInCurrency");
    taxInRublesEdit_ = totalField(gbTax, "edTaxInRubles");
    auto* taxGrid = new QGridLayout(gbTax);
    taxGrid->addWidget(label(QStringLiteral("В иностранной валюте"), gbTax), 0, 0);
    taxGrid->addWidget(taxInCurrencyEdit_, 0, 1);
    taxGrid->addWidget(label(QStringLiteral("В рублях по курсу ЦБ"), gbTax), 1, 0);
    taxGrid->addWidget(taxInRublesEdit_, 1, 1);
    taxGrid->setRowStretch(2, 1);

    // --- Deduction ---------------------------------------------------------------
    auto* gbDeduction = new QGroupBox(QStringLiteral("Вычеты"), this);
    gbDeduction->setObjectName(QStringLiteral("gbDeduction"));
    deductionCodeLabel_ = label(QStringLiteral("Код вычета\n(расхода)"), gbDeduction);
    deductionCodeEdit_ = codeField(gbDeduction, "edDeductionCode");
    deductionCodeEdit_->setFixedWidth(codeWidth(deductionCodeEdit_, 4));
    deductionCodeButton_ = pickButton(gbDeduction, "bnDeductionCode");
    deductionAmountLabel_ = label(QStringLiteral("Сумма вычета\n(расхода) в рублях"), gbDeduction);
    deductionAmountEdit_ = moneyField(gbDeduction, "edDeductionAmount");
    auto* deductionGrid = new QGridLayout(gbDeduction);
    deductionGrid->addWidget(deductionCodeLabel_, 0, 0);
    deductionGrid->addLayout(inlineRow({deductionCodeEdit_, deductionCodeButton_}), 0, 1);
    deductionGrid->addWidget(deductionAmountLabel_, 1, 0);
    deductionGrid->addWidget(deductionAmountEdit_, 1, 1);
    deductionGrid->setRowStretch(2, 1);

    // --- Controlled foreign company ------------------------------------------------
    cfcGroup_ = new QGroupBox(QStringLiteral("Информация о контролируемой иностранной компании"), this);
    cfcGroup_->setObjectName(QStringLiteral("gbCfc"));
    cfcNumberEdit_ = new QLineEdit(cfcGroup_);
    cfcNumberEdit_->setObjectName(QStringLiteral("meCfcNumber"));
    cfcNumberEdit_->setMaxLength(8);
    cfcNumberEdit_->setFixedWidth(codeWidth(cfcNumberEdit_, 9));
    cfcNumberEdit_->setPlaceholderText(QStringLiteral("АБ 12345"));
    // Two capital Cyrillic letters, a space and five digits; typed letters become capitals.
    cfcNumberEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[А-ЯЁ]{0,2}|[А-ЯЁ]{2} [0-9]{0,5}")), cfcNumberEdit_));
    cfcAccountsRadio_ = new QRadioButton(QStringLiteral("По данным фин.отчетности КИК"), cfcGroup_);
    cfcAccountsRadio_->setObjectName(QStringLiteral("rbCfcAccounts"));
    cfcRussianRulesRadio_ =
        new QRadioButton(QStringLiteral("По правилам для российских организаций"), cfcGroup_);
    cfcRussianRulesRadio_->setObjectName(QStringLiteral("rbCfcRussianRules"));
    cfcMethod_ = new QButtonGroup(this);
    cfcMethod_->addButton(cfcAccountsRadio_, 1);
    cfcMethod_->addButton(cfcRussianRulesRadio_, 2);
    cfcTaxWithheldEdit_ = field(cfcGroup_, "edCfcTaxWithheld", FieldKind::Digits, 12);
    cfcTaxWithheldEdit_->setFixedWidth(codeWidth(cfcTaxWithheldEdit_, 13));
    appendixSheetsEdit_ = field(cfcGroup_, "edAppendixSheets", FieldKind::Digits, 4);
    appendixSheetsEdit_->setVisible(false);
    auto* cfcGrid = new QGridLayout(cfcGroup_);
    cfcGrid->addWidget(label(QStringLiteral("Номер КИК"), cfcGroup_), 0, 0);
    cfcGrid->addWidget(cfcNumberEdit_, 0, 1, Qt::AlignLeft);
    cfcGrid->addWidget(label(QStringLiteral("Порядок определения прибыли КИК"), cfcGroup_), 1, 0, 1, 2);
    cfcGrid->addWidget(cfcAccountsRadio_, 2, 0, 1, 2);
    cfcGrid->addWidget(cfcRussianRulesRadio_, 3, 0, 1, 2);
    cfcGrid->addWidget(label(QStringLiteral("Налоги с доходов КИК, удержанные в РФ"), cfcGroup_), 4, 0, 1, 2);
    cfcGrid->addWidget(cfcTaxWithheldEdit_, 5, 0, Qt::AlignLeft);

    // The group's long title is the widest thing in its row; it must show whole.
    cfcGroup_->setMinimumWidth(cfcGroup_->fontMetrics().horizontalAdvance(cfcGroup_->title()) + 24);
    auto* middle = new QHBoxLayout;
    middle->addWidget(gbIncome, 1);
    middle->addWidget(gbTax, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(gbDeduction, 4);
    bottom->addWidget(cfcGroup_, 5);
    auto* partLayout = new QVBoxLayout(this);
    partLayout->setContentsMargins(0, 0, 0, 0);
    partLayout->addWidget(gbData);
    partLayout->addLayout(middle);
    partLayout->addLayout(bottom);
    partLayout->addStretch(1);
}

void ForeignIncomePanel::connectEdits() {
    for (DateEdit* date : {incomeDateEdit_, taxDateEdit_}) {
        connect(date, &DateEdit::dateChanged, this, [this] {
            if (!editing())
                return;
            edited();
            refreshRates();
        });
    }
    connect(currencyCodeEdit_, &FieldEdit::changed, this, &ForeignIncomePanel::currencyChanged);
    connect(currencyCodeButton_, &QToolButton::clicked, this, &ForeignIncomePanel::pickCurrency);
    connect(currencyNameEdit_, &FieldEdit::changed, this, [this] {
        if (editing())
            edited();
    });
    connect(autoRateBox_, &QCheckBox::clicked, this, &ForeignIncomePanel::autoRateClicked);
    for (const Line which : {Line::Income, Line::Tax}) {
        connect(&line(which), &ForeignRateLine::typed, this, [this, which] {
            if (!editing())
                return;
            rateTyped_ = true;
            edited();
            rublesChanged(which);
        });
    }
    connect(incomeInCurrencyEdit_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        edited();
        incomeRublesChanged();
    });
    connect(taxInCurrencyEdit_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        edited();
        taxRublesChanged();
    });
    connect(incomeCodeButton_, &QToolButton::clicked, this, &ForeignIncomePanel::pickIncomeCode);
    connect(deductionCodeButton_, &QToolButton::clicked, this, &ForeignIncomePanel::pickDeductionCode);
    connect(deductionAmountEdit_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        edited();
        capTypedDeduction();
    });
    connect(cfcTaxWithheldEdit_, &FieldEdit::changed, this, [this] {
        if (editing())
            edited();
    });
    connect(cfcNumberEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = cfcNumberEdit_->cursorPosition();
            cfcNumberEdit_->setText(upper);
            cfcNumberEdit_->setCursorPosition(cursor);
        }
        if (editing())
            edited();
    });
    connect(cfcMethod_, &QButtonGroup::idClicked, this, [this] {
        if (editing())
            edited();
    });
}

void ForeignIncomePanel::showAppendixSheets(int sheets) {
    appendixSheetsEdit_->setText(QString::number(sheets));
}

const CurrencyRates* ForeignIncomePanel::rates() const {
    const auto& loaded = host_.directories().currencyRates;
    return loaded ? &*loaded : nullptr;
}

ForeignRateLine& ForeignIncomePanel::line(Line which) const {
    return which == Line::Income ? *incomeLine_ : *taxLine_;
}

bool ForeignIncomePanel::editing() const {
    return !host_.buildingGuard() && shown_;
}

void ForeignIncomePanel::edited() {
    emit changed();
}

void ForeignIncomePanel::clearFields() {
    ScreenBuildGuard guard(host_);
    incomeDateEdit_->setDate(kFirstOf2019);
    taxDateEdit_->setDate(kFirstOf2019);
    for (QLineEdit* f : std::initializer_list<QLineEdit*>{
             currencyCodeEdit_, currencyNameEdit_, incomeCodeEdit_, incomeInCurrencyEdit_,
             incomeInRublesEdit_, taxInCurrencyEdit_, taxInRublesEdit_, deductionCodeEdit_,
             deductionAmountEdit_, cfcNumberEdit_, cfcTaxWithheldEdit_})
        f->clear();
    incomeLine_->clear();
    taxLine_->clear();
    autoRateBox_->setChecked(false);
    cfcMethod_->setExclusive(false);
    cfcAccountsRadio_->setChecked(false);
    cfcRussianRulesRadio_->setChecked(false);
    cfcMethod_->setExclusive(true);
}

// --- Showing and storing a record ---------------------------------------------

void ForeignIncomePanel::showNone() {
    ScreenBuildGuard guard(host_);
    shown_ = false;
    clearFields();
    rateTyped_ = false;
    deduction_.reset();
    incomeRate_ = 0;
    incomeName_.clear();
}

void ForeignIncomePanel::storeInto(ForeignIncome& s) const {
    s.incomeDate = storedDate(incomeDateEdit_, s.incomeDate);
    s.taxPaymentDate = storedDate(taxDateEdit_, s.taxPaymentDate);
    s.currencyCode = toCp1251(currencyCodeEdit_->text());
    s.currencyName = toCp1251(currencyNameEdit_->text());
    // Without a rate in the directory the box cannot say how the stored rates came
    // about; they keep their mark until the person types a rate.
    if (autoRateBox_->isEnabled())
        s.autoRate = autoRateBox_->isChecked() ? 1 : 0;
    else if (rateTyped_)
        s.autoRate = 0;
    s.enterIncome(incomeLine_->rate(), incomeLine_->units(), amountOf(incomeInCurrencyEdit_));
    s.enterTax(taxLine_->rate(), taxLine_->units(), amountOf(taxInCurrencyEdit_));

    s.incomeCode = int32Of(incomeCodeEdit_->text());
    s.incomeRate = incomeRate_;
    s.incomeName = incomeName_;
    s.deductionCode = int32Of(deductionCodeEdit_->text());
    s.deductionAmount = amountOf(deductionAmountEdit_);
    if (deduction_)
        s.deductionPercent = deduction_->percent;
    s.cfcNumber = toCp1251(cfcNumberEdit_->text());
    s.cfcTaxWithheldInRussia = wholeRoublesOf(cfcTaxWithheldEdit_, s.cfcTaxWithheldInRussia);
    // A method no choice stands for (written elsewhere) stays until another code clears the group.
    if (const int method = cfcMethod_->checkedId(); method > 0)
        s.cfcProfitMethod = static_cast<std::int16_t>(method);
    else if (s.cfcProfitMethod == 1 || s.cfcProfitMethod == 2)
        s.cfcProfitMethod = 0;
}

void ForeignIncomePanel::showRecord(ForeignIncome& s) {
    // Showing a record is not an edit: none of the rules for the person's changes run,
    // so stored rates and a typed deduction stay as they are.
    ScreenBuildGuard guard(host_);
    showNone();
    shown_ = true;
    repairIncomeRate(s, dict_);

    showStoredDate(incomeDateEdit_, s.incomeDate);
    showStoredDate(taxDateEdit_, s.taxPaymentDate);
    currencyCodeEdit_->setStoredText(fromCp1251(s.currencyCode));
    const Currency* listed =
        rates() != nullptr && !s.currencyCode.empty() ? rates()->find(s.currencyCode) : nullptr;
    // The name stored with the record stays: showing a return must not rewrite it.
    currencyNameEdit_->setStoredText(
        fromCp1251(listed != nullptr && s.currencyName.empty() ? listed->name : s.currencyName));
    currencyNameEdit_->setReadOnly(listed != nullptr);

    // The stored rates are shown as they are; the box says which lines it fills, as
    // it did when the record was entered.
    const std::optional<FoundRate> incomeFound = findRate(rates(), s.currencyCode, s.incomeDate);
    const std::optional<FoundRate> taxFound = findRate(rates(), s.currencyCode, s.taxPaymentDate);
    const bool any = incomeFound.has_value() || taxFound.has_value();
    autoRateBox_->setEnabled(any);
    autoRateBox_->setChecked(any && s.autoRate != 0);
    const bool automatic = autoRateBox_->isChecked();
    incomeLine_->show(s.incomeDateRate, s.incomeDateUnits, automatic ? incomeFound : std::nullopt);
    taxLine_->show(s.taxDateRate, s.taxDateUnits, automatic ? taxFound : std::nullopt);

    incomeInCurrencyEdit_->setMoney(s.incomeInCurrency);
    incomeInRublesEdit_->setText(groupedAmount(s.incomeInRubles));
    taxInCurrencyEdit_->setMoney(s.taxInCurrency);
    taxInRublesEdit_->setText(groupedAmount(s.taxInRubles));

    incomeCodeEdit_->setText(codeText(s.incomeCode));
    incomeRate_ = s.incomeRate;
    incomeName_ = s.incomeName;
    const IncomeEntry* income =
        s.incomeCode != 0 ? dict_.findIncome(Cp1251Text::number(s.incomeCode)) : nullptr;
    deductionAllowed_ = income != nullptr && income->hasDeductions();
    incomeInCurrencyEdit_->setEnabled(s.incomeCode != 0);
    applyCfcGroup(s.incomeCode, false);
    cfcNumberEdit_->setText(fromCp1251(s.cfcNumber));
    if (QAbstractButton* method = cfcMethod_->button(s.cfcProfitMethod))
        method->setChecked(true);
    cfcTaxWithheldEdit_->setStoredText(wholeRoublesText(s.cfcTaxWithheldInRussia));

    deductionCodeEdit_->setText(s.deductionCode != 0 ? QString::number(s.deductionCode) : QString());
    deductionAmountEdit_->setMoney(s.deductionAmount);
    if (income != nullptr && s.deductionCode != 0)
        if (const DeductionEntry* entry = income->findDeduction(Cp1251Text::number(s.deductionCode)))
            deduction_ = chooseDeduction(*entry);
    if (deduction_)
        deduction_->percent = s.deductionPercent;
    applyDeductionAttributes();
}

// --- Rules of the person's edits ---------------------------------------------

void ForeignIncomePanel::currencyChanged() {
    if (!editing())
        return;
    edited();
    const Currency* listed =
        rates() != nullptr ? rates()->find(toCp1251(currencyCodeEdit_->text())) : nullptr;
    {
        ScreenBuildGuard guard(host_);
        currencyNameEdit_->setText(listed != nullptr ? fromCp1251(listed->name) : QString());
    }
    currencyNameEdit_->setReadOnly(listed != nullptr);
    refreshRates();
}

// The box is offered while the directory has a rate for either date, and ticked it
// fills each line it has a rate for. A rate it filled for another day or currency
// goes; a rate the person typed stays until the person changes it.
void ForeignIncomePanel::refreshRates() {
    const Cp1251Text currency = toCp1251(currencyCodeEdit_->text());
    const std::optional<FoundRate> incomeFound = incomeLine_->lookUp(rates(), currency);
    const std::optional<FoundRate> taxFound = taxLine_->lookUp(rates(), currency);
    const bool any = incomeFound.has_value() || taxFound.has_value();
    if (!any)
        autoRateBox_->setChecked(false);
    autoRateBox_->setEnabled(any);
    for (const auto& [which, found] :
         {std::pair{Line::Income, incomeFound}, std::pair{Line::Tax, taxFound}}) {
        ForeignRateLine& l = line(which);
        if (autoRateBox_->isChecked() && found.has_value())
            l.fill(*found);
        else if (l.automatic())
            l.release();
        else
            continue;
        rublesChanged(which);
    }
}

void ForeignIncomePanel::autoRateClicked(bool checked) {
    if (!editing())
        return;
    edited();
    rateTyped_ = !checked;
    const Cp1251Text currency = toCp1251(currencyCodeEdit_->text());
    for (const Line which : {Line::Income, Line::Tax}) {
        ForeignRateLine& l = line(which);
        if (!checked) {
            if (!l.automatic())
                continue;
            l.release();
        } else if (const std::optional<FoundRate> found = l.lookUp(rates(), currency)) {
            l.fill(*found);
        } else {
            continue;
        }
        rublesChanged(which);
    }
}

void ForeignIncomePanel::rublesChanged(Line which) {
    if (which == Line::Income)
        incomeRublesChanged();
    else
        taxRublesChanged();
}

void ForeignIncomePanel::incomeRublesChanged() {
    const std::optional<Money> rubles =
        rublesAtRate(amountOf(incomeInCurrencyEdit_), incomeLine_->units(), incomeLine_->rate());
    incomeInRublesEdit_->setText(rubles ? groupedAmount(*rubles) : QString());
    if (!rubles)
        return;
    if (!deductionAllowed_ || !deduction_)
        return;
    const Money typed = amountOf(deductionAmountEdit_);
    ScreenBuildGuard guard(host_);
    deductionAmountEdit_->setText(fieldAmountText(deductionFollowingRubles(*deduction_, *rubles, typed)));
}

void ForeignIncomePanel::capTypedDeduction() {
    const std::optional<Money> typed = deductionAmountEdit_->money();
    if (!deduction_ || !typed)
        return;
    if (const Money capped = cappedDeductionAmount(*deduction_, *typed); capped != *typed) {
        ScreenBuildGuard guard(host_);
        deductionAmountEdit_->setText(fieldAmountText(capped));
    }
}

void ForeignIncomePanel::taxRublesChanged() {
    const std::optional<Money> rubles =
        rublesAtRate(amountOf(taxInCurrencyEdit_), taxLine_->units(), taxLine_->rate());
    taxInRublesEdit_->setText(rubles ? groupedAmount(*rubles) : QString());
}

void ForeignIncomePanel::applyCfcGroup(std::int32_t incomeCode, bool clearDisabled) {
    const CfcGroupState state = cfcGroupFor(incomeCode);
    cfcNumberEdit_->setEnabled(state.number);
    cfcAccountsRadio_->setEnabled(state.profitMethod);
    cfcRussianRulesRadio_->setEnabled(state.profitMethod);
    cfcTaxWithheldEdit_->setEnabled(state.taxWithheld);
    if (!clearDisabled)
        return;
    ScreenBuildGuard guard(host_);
    if (!state.number)
        cfcNumberEdit_->clear();
    if (!state.profitMethod) {
        cfcMethod_->setExclusive(false);
        cfcAccountsRadio_->setChecked(false);
        cfcRussianRulesRadio_->setChecked(false);
        cfcMethod_->setExclusive(true);
    }
    if (!state.taxWithheld)
        cfcTaxWithheldEdit_->clear();
}

void ForeignIncomePanel::applyDeductionAttributes() {
    deductionCodeLabel_->setEnabled(deductionAllowed_);
    deductionCodeEdit_->setEnabled(deductionAllowed_);
    deductionCodeButton_->setEnabled(deductionAllowed_);
    deductionAmountLabel_->setEnabled(deductionAllowed_);
    const bool visible = !deduction_ || deduction_->visible;
    deductionAmountLabel_->setVisible(visible);
    deductionAmountEdit_->setVisible(visible);
    deductionAmountEdit_->setEnabled(deductionAllowed_ && deduction_ && deduction_->enabled);
}

void ForeignIncomePanel::pickCurrency() {
    if (!shown_)
        return;
    CurrencyPicker picker(host_, this);
    const std::optional<CodeName> picked = picker.choose(toCp1251(currencyCodeEdit_->text()));
    if (!picked.has_value())
        return;
    if (fromCp1251(picked->code) == currencyCodeEdit_->text()) {
        // The same currency again, perhaps with rates just imported: look them up anew.
        currencyChanged();
        return;
    }
    currencyCodeEdit_->setText(fromCp1251(picked->code));
}

void ForeignIncomePanel::pickIncomeCode() {
    if (!shown_)
        return;
    IncomeCodePicker picker(dict_, false, false, toCp1251(incomeCodeEdit_->text()), Cp1251Text(), this);
    const std::optional<IncomeChoice> chosen = picker.choose();
    if (!chosen.has_value() || fromCp1251(chosen->code) == incomeCodeEdit_->text())
        return;
    edited();
    ScreenBuildGuard guard(host_);
    deduction_.reset();
    incomeRate_ = chosen->rate;
    incomeName_ = chosen->name;
    incomeCodeEdit_->setText(fromCp1251(chosen->code));
    incomeInCurrencyEdit_->setEnabled(true);
    deductionCodeEdit_->clear();
    deductionAmountEdit_->clear();
    applyCfcGroup(int32Of(incomeCodeEdit_->text()), true);
    deductionAllowed_ = chosen->hasDeductions;
    applyDeductionAttributes();
}

void ForeignIncomePanel::pickDeductionCode() {
    if (!shown_ || !deductionAllowed_)
        return;
    DeductionCodePicker picker(dict_, true, toCp1251(deductionCodeEdit_->text()),
                               toCp1251(incomeCodeEdit_->text()), this);
    const std::optional<DeductionChoice> chosen = picker.choose();
    if (!chosen.has_value() || fromCp1251(chosen->code) == deductionCodeEdit_->text())
        return;
    edited();
    ScreenBuildGuard guard(host_);
    deduction_ = chosen;
    deductionCodeEdit_->setText(fromCp1251(chosen->code));
    // The roubles shown, which are the roubles the record keeps.
    const Money rubles = groupedAmountValue(incomeInRublesEdit_->text());
    const std::optional<Money> derived = derivedDeductionAmount(*chosen, rubles, std::nullopt);
    deductionAmountEdit_->setText(derived ? fieldAmountText(*derived) : QString());
    applyDeductionAttributes();
}

} // namespace kv
