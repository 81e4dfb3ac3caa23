#include "screens/ForeignIncomeScreen.h"

#include "checks/CheckRun.h"
#include "model/Declaration.h"
#include "reference/Directories.h"
#include "screens/ForeignSourceDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/CurrencyPicker.h"
#include "screens/pickers/DeductionCodePicker.h"
#include "screens/pickers/IncomeCodePicker.h"
#include "screens/rules/ForeignRules.h"
#include "screens/rules/SourceEntries.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <limits>

namespace kv {

namespace {

const QDate kFirstOf2019(2019, 1, 1);

// Every Bank of Russia rate has four decimals ("61,9057"), so the rate fields take
// four, not two: a rate of the directory must fit whole, as a person could type it.
constexpr int kRateWholeDigits = 5;
constexpr int kRateDecimals = 4;
constexpr int kUnitsDigits = 7;

// Wide enough for this many characters of a code or amount in the field's font.
int codeWidth(const QLineEdit* field, int characters) {
    return field->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 14;
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// Zero rates and units show as empty fields, as a person leaves them.
QString rateText(Money rate) {
    return rate.isZero() ? QString() : amountText(rate);
}

QString unitsText(std::int32_t units) {
    return units == 0 ? QString() : QString::number(units);
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

QString rateDayText(const std::optional<FoundRate>& found) {
    return fromCp1251(rateDateNote(found));
}

} // namespace

ForeignIncomeScreen::ForeignIncomeScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host), dict_(IncomeDict::builtIn()) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    sourceList_ = new MasterDetailList(sourceBox_.list, this);
    sourceList_->onStore = [this](int index) { storeSource(index); };
    sourceList_->onShow = [this](int index) { showSource(index); };
    load();
    connectEdits();
}

void ForeignIncomeScreen::buildWidgets() {
    // --- Sources -------------------------------------------------------------
    // One above the other: the panel of the source needs the width.
    RecordListOptions sourceOptions;
    sourceOptions.buttons = RecordListOptions::Buttons::Column;
    sourceOptions.extras = {
        {"bnCopySource", QStringLiteral("Копировать"), QStringLiteral("Копировать источник выплат")}};
    sourceBox_ = recordListBox(this, sourceOptions);
    bnCopySource_ = sourceBox_.extras.front();

    incomePart_ = new QWidget(this);
    incomePart_->setObjectName(QStringLiteral("pnIncome"));

    // --- Dates, currency and rates ---------------------------------------------
    auto* gbData = new QGroupBox(QStringLiteral("Сведения о полученном доходе"), incomePart_);
    gbData->setObjectName(QStringLiteral("gbIncomeData"));
    dtIncomeDate_ = makeDateEdit(gbData, "dtIncomeDate", QDate(2019, 1, 1), QDate(2019, 12, 31));
    dtTaxDate_ = makeDateEdit(gbData, "dtTaxDate", QDate(2018, 1, 1), QDate(2020, 12, 31));
    edCurrencyCode_ = field(gbData, "edCurrencyCode", FieldKind::edtDigital, 3);
    edCurrencyCode_->setFixedWidth(codeWidth(edCurrencyCode_, 3));
    bnCurrencyCode_ = pickButton(gbData, "bnCurrencyCode");
    edCurrencyName_ = field(gbData, "edCurrencyName", FieldKind::edtChar, 30);
    chbAutoRate_ = new QCheckBox(QStringLiteral("Автоматическое определение курса валюты"), gbData);
    chbAutoRate_->setObjectName(QStringLiteral("chbAutoRate"));
    edIncomeDateRate_ =
        field(gbData, "edIncomeDateRate", FieldKind::edtCurrency, kRateWholeDigits, kRateDecimals);
    edIncomeDateUnits_ = field(gbData, "edIncomeDateUnits", FieldKind::edtDigital, kUnitsDigits);
    lblIncomeRateDay_ = label(QString(), gbData);
    lblIncomeRateDay_->setObjectName(QStringLiteral("lblIncomeRateDay"));
    edTaxDateRate_ = field(gbData, "edTaxDateRate", FieldKind::edtCurrency, kRateWholeDigits, kRateDecimals);
    edTaxDateUnits_ = field(gbData, "edTaxDateUnits", FieldKind::edtDigital, kUnitsDigits);
    lblTaxRateDay_ = label(QString(), gbData);
    lblTaxRateDay_->setObjectName(QStringLiteral("lblTaxRateDay"));
    for (FieldEdit* f : {edIncomeDateRate_, edTaxDateRate_})
        f->setFixedWidth(codeWidth(f, 11));
    for (FieldEdit* f : {edIncomeDateUnits_, edTaxDateUnits_})
        f->setFixedWidth(codeWidth(f, 7));
    for (QLabel* l : {lblIncomeRateDay_, lblTaxRateDay_})
        l->setToolTip(QStringLiteral("На дату дохода курс не установлен: взят последний курс до этой даты"));

    auto* dataGrid = new QGridLayout(gbData);
    dataGrid->addWidget(label(QStringLiteral("Дата получения дохода"), gbData), 0, 0);
    dataGrid->addWidget(dtIncomeDate_, 0, 1, Qt::AlignLeft);
    dataGrid->addWidget(label(QStringLiteral("Дата уплаты налога"), gbData), 1, 0);
    dataGrid->addWidget(dtTaxDate_, 1, 1, Qt::AlignLeft);
    dataGrid->addWidget(label(QStringLiteral("Код и наименование валюты"), gbData), 2, 0);
    auto* currencyRow = new QHBoxLayout;
    currencyRow->addWidget(edCurrencyCode_);
    currencyRow->addWidget(bnCurrencyCode_);
    currencyRow->addWidget(edCurrencyName_, 1);
    dataGrid->addLayout(currencyRow, 2, 1);
    dataGrid->addWidget(chbAutoRate_, 3, 0, 1, 2);
    const auto rateRow = [gbData](FieldEdit* rate, FieldEdit* units, QLabel* day) {
        auto* r = new QHBoxLayout;
        r->addWidget(rate);
        r->addWidget(new QLabel(QStringLiteral("руб. за"), gbData));
        r->addWidget(units);
        r->addWidget(new QLabel(QStringLiteral("у.е."), gbData));
        r->addWidget(day);
        r->addStretch(1);
        return r;
    };
    dataGrid->addWidget(label(QStringLiteral("На дату дохода"), gbData), 4, 0);
    dataGrid->addLayout(rateRow(edIncomeDateRate_, edIncomeDateUnits_, lblIncomeRateDay_), 4, 1);
    dataGrid->addWidget(label(QStringLiteral("На дату уплаты налога"), gbData), 5, 0);
    dataGrid->addLayout(rateRow(edTaxDateRate_, edTaxDateUnits_, lblTaxRateDay_), 5, 1);
    dataGrid->setColumnStretch(1, 1);

    // --- The income and the foreign tax -----------------------------------------
    auto* gbIncome = new QGroupBox(QStringLiteral("Полученный доход"), incomePart_);
    gbIncome->setObjectName(QStringLiteral("gbIncome"));
    edIncomeCode_ = codeField(gbIncome, "edIncomeCode");
    edIncomeCode_->setFixedWidth(codeWidth(edIncomeCode_, 4));
    bnIncomeCode_ = pickButton(gbIncome, "bnIncomeCode");
    edIncomeInCurrency_ = moneyField(gbIncome, "edIncomeInCurrency");
    edIncomeInRubles_ = totalField(gbIncome, "edIncomeInRubles");
    auto* incomeGrid = new QGridLayout(gbIncome);
    incomeGrid->addWidget(label(QStringLiteral("Код дохода"), gbIncome), 0, 0);
    incomeGrid->addLayout(inlineRow({edIncomeCode_, bnIncomeCode_}), 0, 1);
    incomeGrid->addWidget(label(QStringLiteral("В иностранной валюте"), gbIncome), 1, 0);
    incomeGrid->addWidget(edIncomeInCurrency_, 1, 1);
    incomeGrid->addWidget(label(QStringLiteral("В рублях по курсу ЦБ"), gbIncome), 2, 0);
    incomeGrid->addWidget(edIncomeInRubles_, 2, 1);

    auto* gbTax = new QGroupBox(QStringLiteral("Налог, уплаченный в иностранном государстве"), incomePart_);
    gbTax->setObjectName(QStringLiteral("gbForeignTax"));
    edTaxInCurrency_ = moneyField(gbTax, "edTaxInCurrency");
    edTaxInRubles_ = totalField(gbTax, "edTaxInRubles");
    auto* taxGrid = new QGridLayout(gbTax);
    taxGrid->addWidget(label(QStringLiteral("В иностранной валюте"), gbTax), 0, 0);
    taxGrid->addWidget(edTaxInCurrency_, 0, 1);
    taxGrid->addWidget(label(QStringLiteral("В рублях по курсу ЦБ"), gbTax), 1, 0);
    taxGrid->addWidget(edTaxInRubles_, 1, 1);
    taxGrid->setRowStretch(2, 1);

    // --- Deduction ---------------------------------------------------------------
    auto* gbDeduction = new QGroupBox(QStringLiteral("Вычеты"), incomePart_);
    gbDeduction->setObjectName(QStringLiteral("gbDeduction"));
    lblDeductionCode_ = label(QStringLiteral("Код вычета\n(расхода)"), gbDeduction);
    edDeductionCode_ = codeField(gbDeduction, "edDeductionCode");
    edDeductionCode_->setFixedWidth(codeWidth(edDeductionCode_, 4));
    bnDeductionCode_ = pickButton(gbDeduction, "bnDeductionCode");
    lblDeductionAmount_ = label(QStringLiteral("Сумма вычета\n(расхода) в рублях"), gbDeduction);
    edDeductionAmount_ = moneyField(gbDeduction, "edDeductionAmount");
    auto* deductionGrid = new QGridLayout(gbDeduction);
    deductionGrid->addWidget(lblDeductionCode_, 0, 0);
    deductionGrid->addLayout(inlineRow({edDeductionCode_, bnDeductionCode_}), 0, 1);
    deductionGrid->addWidget(lblDeductionAmount_, 1, 0);
    deductionGrid->addWidget(edDeductionAmount_, 1, 1);
    deductionGrid->setRowStretch(2, 1);

    // --- Controlled foreign company ------------------------------------------------
    gbCfc_ = new QGroupBox(QStringLiteral("Информация о контролируемой иностранной компании"), incomePart_);
    gbCfc_->setObjectName(QStringLiteral("gbCfc"));
    meCfcNumber_ = new QLineEdit(gbCfc_);
    meCfcNumber_->setObjectName(QStringLiteral("meCfcNumber"));
    meCfcNumber_->setMaxLength(8);
    meCfcNumber_->setFixedWidth(codeWidth(meCfcNumber_, 9));
    meCfcNumber_->setPlaceholderText(QStringLiteral("АБ 12345"));
    // Two capital Cyrillic letters, a space and five digits; typed letters become capitals.
    meCfcNumber_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[А-ЯЁ]{0,2}|[А-ЯЁ]{2} [0-9]{0,5}")), meCfcNumber_));
    rbCfcAccounts_ = new QRadioButton(QStringLiteral("По данным фин.отчетности КИК"), gbCfc_);
    rbCfcAccounts_->setObjectName(QStringLiteral("rbCfcAccounts"));
    rbCfcRussianRules_ = new QRadioButton(QStringLiteral("По правилам для российских организаций"), gbCfc_);
    rbCfcRussianRules_->setObjectName(QStringLiteral("rbCfcRussianRules"));
    cfcMethod_ = new QButtonGroup(this);
    cfcMethod_->addButton(rbCfcAccounts_, 1);
    cfcMethod_->addButton(rbCfcRussianRules_, 2);
    edCfcTaxWithheld_ = field(gbCfc_, "edCfcTaxWithheld", FieldKind::edtDigital, 12);
    edCfcTaxWithheld_->setFixedWidth(codeWidth(edCfcTaxWithheld_, 13));
    edAppendixSheets_ = field(gbCfc_, "edAppendixSheets", FieldKind::edtDigital, 4);
    edAppendixSheets_->setVisible(false);
    auto* cfcGrid = new QGridLayout(gbCfc_);
    cfcGrid->addWidget(label(QStringLiteral("Номер КИК"), gbCfc_), 0, 0);
    cfcGrid->addWidget(meCfcNumber_, 0, 1, Qt::AlignLeft);
    cfcGrid->addWidget(label(QStringLiteral("Порядок определения прибыли КИК"), gbCfc_), 1, 0, 1, 2);
    cfcGrid->addWidget(rbCfcAccounts_, 2, 0, 1, 2);
    cfcGrid->addWidget(rbCfcRussianRules_, 3, 0, 1, 2);
    cfcGrid->addWidget(label(QStringLiteral("Налоги с доходов КИК, удержанные в РФ"), gbCfc_), 4, 0, 1, 2);
    cfcGrid->addWidget(edCfcTaxWithheld_, 5, 0, Qt::AlignLeft);

    // The group's long title is the widest thing in its row; it must show whole.
    gbCfc_->setMinimumWidth(gbCfc_->fontMetrics().horizontalAdvance(gbCfc_->title()) + 24);
    auto* middle = new QHBoxLayout;
    middle->addWidget(gbIncome, 1);
    middle->addWidget(gbTax, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(gbDeduction, 4);
    bottom->addWidget(gbCfc_, 5);
    auto* partLayout = new QVBoxLayout(incomePart_);
    partLayout->setContentsMargins(0, 0, 0, 0);
    partLayout->addWidget(gbData);
    partLayout->addLayout(middle);
    partLayout->addLayout(bottom);
    partLayout->addStretch(1);

    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(170);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(sourceBox_.box, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftColumn);
    layout->addWidget(incomePart_, 1);
}

void ForeignIncomeScreen::connectEdits() {
    auto* sources = new RecordListController(sourceBox_, host().asker(), this);
    sources->setDetails(sourceList_);
    sources->onAdd = [this] { addSource(); };
    sources->onEdit = [this] { editSource(); };
    sources->holdsEntries = [this] { return holdsEntries(source()); };
    sources->onRemove = [this] { deleteSource(); };
    connect(bnCopySource_, &QPushButton::clicked, this, &ForeignIncomeScreen::copySource);

    for (DateEdit* date : {dtIncomeDate_, dtTaxDate_}) {
        connect(date, &DateEdit::dateChanged, this, [this] {
            if (!editing())
                return;
            DocumentChanged();
            refreshRates();
        });
    }
    connect(edCurrencyCode_, &FieldEdit::changed, this, &ForeignIncomeScreen::currencyChanged);
    connect(bnCurrencyCode_, &QToolButton::clicked, this, &ForeignIncomeScreen::pickCurrency);
    connect(edCurrencyName_, &FieldEdit::changed, this, [this] {
        if (editing())
            DocumentChanged();
    });
    connect(chbAutoRate_, &QCheckBox::clicked, this, &ForeignIncomeScreen::autoRateClicked);
    for (FieldEdit* f : {edIncomeDateRate_, edIncomeDateUnits_}) {
        connect(f, &FieldEdit::changed, this, [this] {
            if (!editing())
                return;
            rateTyped_ = true;
            lblIncomeRateDay_->clear();
            DocumentChanged();
            incomeRublesChanged();
        });
    }
    for (FieldEdit* f : {edTaxDateRate_, edTaxDateUnits_}) {
        connect(f, &FieldEdit::changed, this, [this] {
            if (!editing())
                return;
            rateTyped_ = true;
            lblTaxRateDay_->clear();
            DocumentChanged();
            taxRublesChanged();
        });
    }
    connect(edIncomeInCurrency_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        DocumentChanged();
        incomeRublesChanged();
    });
    connect(edTaxInCurrency_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        DocumentChanged();
        taxRublesChanged();
    });
    connect(bnIncomeCode_, &QToolButton::clicked, this, &ForeignIncomeScreen::pickIncomeCode);
    connect(bnDeductionCode_, &QToolButton::clicked, this, &ForeignIncomeScreen::pickDeductionCode);
    connect(edDeductionAmount_, &FieldEdit::changed, this, [this] {
        if (!editing())
            return;
        DocumentChanged();
        capTypedDeduction();
    });
    connect(edCfcTaxWithheld_, &FieldEdit::changed, this, [this] {
        if (editing())
            DocumentChanged();
    });
    connect(meCfcNumber_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = meCfcNumber_->cursorPosition();
            meCfcNumber_->setText(upper);
            meCfcNumber_->setCursorPosition(cursor);
        }
        if (editing())
            DocumentChanged();
    });
    connect(cfcMethod_, &QButtonGroup::idClicked, this, [this] {
        if (editing())
            DocumentChanged();
    });
}

void ForeignIncomeScreen::load() {
    const Declaration& d = document();
    edAppendixSheets_->setText(QString::number(d.foreignAppendixSheets));
    QStringList titles;
    for (const ForeignIncome& s : d.foreignIncomes)
        titles.append(fromCp1251(s.sourceName));
    sourceList_->fill(titles);
    clearPanel();
    const bool any = d.foreignIncomes.count() > 0;
    setIncomePartEnabled(any);
    if (any)
        applyCfcGroup(d.foreignIncomes.get(0).incomeCode, false);
}

const CurrencyRates* ForeignIncomeScreen::rates() const {
    const auto& loaded = host().directories().currencyRates;
    return loaded ? &*loaded : nullptr;
}

ForeignIncome& ForeignIncomeScreen::source() {
    return document().foreignIncomes.get(sourceList_->selected());
}

bool ForeignIncomeScreen::editing() const {
    return !host().buildingGuard() && sourceList_->selected() >= 0;
}

void ForeignIncomeScreen::setIncomePartEnabled(bool on) {
    incomePart_->setEnabled(on);
    sourceBox_.actions->refresh();
}

void ForeignIncomeScreen::clearPanel() {
    ScreenBuildGuard guard(host());
    dtIncomeDate_->setDate(kFirstOf2019);
    dtTaxDate_->setDate(kFirstOf2019);
    for (QLineEdit* f : std::initializer_list<QLineEdit*>{
             edCurrencyCode_, edCurrencyName_, edIncomeDateRate_, edIncomeDateUnits_, edTaxDateRate_,
             edTaxDateUnits_, edIncomeCode_, edIncomeInCurrency_, edIncomeInRubles_, edTaxInCurrency_,
             edTaxInRubles_, edDeductionCode_, edDeductionAmount_, meCfcNumber_, edCfcTaxWithheld_})
        f->clear();
    lblIncomeRateDay_->clear();
    lblTaxRateDay_->clear();
    chbAutoRate_->setChecked(false);
    automaticLine_ = {};
    for (FieldEdit* f : {edIncomeDateRate_, edIncomeDateUnits_, edTaxDateRate_, edTaxDateUnits_})
        f->setEnabled(true);
    cfcMethod_->setExclusive(false);
    rbCfcAccounts_->setChecked(false);
    rbCfcRussianRules_->setChecked(false);
    cfcMethod_->setExclusive(true);
}

// --- Showing and storing a source -------------------------------------------

void ForeignIncomeScreen::storeSource(int index) {
    ForeignIncome& s = document().foreignIncomes.get(index);
    s.incomeDate = storedDate(dtIncomeDate_, s.incomeDate);
    s.taxPaymentDate = storedDate(dtTaxDate_, s.taxPaymentDate);
    s.currencyCode = toCp1251(edCurrencyCode_->text());
    s.currencyName = toCp1251(edCurrencyName_->text());
    // Without a rate in the directory the box cannot say how the stored rates came
    // about; they keep their mark until the person types a rate.
    if (chbAutoRate_->isEnabled())
        s.autoRate = chbAutoRate_->isChecked() ? 1 : 0;
    else if (rateTyped_)
        s.autoRate = 0;

    const Money incomeRate = amountOf(edIncomeDateRate_);
    const std::int32_t incomeUnits = int32Of(edIncomeDateUnits_->text());
    const Money income = amountOf(edIncomeInCurrency_);
    const Money taxRate = amountOf(edTaxDateRate_);
    const std::int32_t taxUnits = int32Of(edTaxDateUnits_->text());
    const Money tax = amountOf(edTaxInCurrency_);
    // The roubles are derived again only when what they derive from changed, so a
    // record opened and saved keeps the roubles it was filed with.
    const bool incomeKept =
        incomeRate == s.incomeDateRate && incomeUnits == s.incomeDateUnits && income == s.incomeInCurrency;
    const bool taxKept = taxRate == s.taxDateRate && taxUnits == s.taxDateUnits && tax == s.taxInCurrency;
    s.incomeDateRate = incomeRate;
    s.incomeDateUnits = incomeUnits;
    s.taxDateRate = taxRate;
    s.taxDateUnits = taxUnits;
    if (!incomeKept)
        s.setIncomeInCurrency(income);
    if (!taxKept)
        s.setTaxInCurrency(tax);

    s.incomeCode = int32Of(edIncomeCode_->text());
    s.incomeRate = incomeRate_;
    s.incomeName = incomeName_;
    s.deductionCode = int32Of(edDeductionCode_->text());
    s.deductionAmount = amountOf(edDeductionAmount_);
    if (deduction_)
        s.deductionPercent = deduction_->percent;
    s.cfcNumber = toCp1251(meCfcNumber_->text());
    s.cfcTaxWithheldInRussia = wholeRoublesOf(edCfcTaxWithheld_, s.cfcTaxWithheldInRussia);
    // A method no choice stands for (written elsewhere) stays until another code clears the group.
    if (const int method = cfcMethod_->checkedId(); method > 0)
        s.cfcProfitMethod = static_cast<std::int16_t>(method);
    else if (s.cfcProfitMethod == 1 || s.cfcProfitMethod == 2)
        s.cfcProfitMethod = 0;
}

void ForeignIncomeScreen::showSource(int index) {
    // Showing a source is not an edit: none of the rules for the person's changes run,
    // so stored rates and a typed deduction stay as they are.
    ScreenBuildGuard guard(host());
    clearPanel();
    rateTyped_ = false;
    deduction_.reset();
    if (index < 0) {
        incomeRate_ = 0;
        incomeName_.clear();
        return;
    }
    ForeignIncome& s = document().foreignIncomes.get(index);
    repairIncomeRate(s, dict_);

    showStoredDate(dtIncomeDate_, s.incomeDate);
    showStoredDate(dtTaxDate_, s.taxPaymentDate);
    edCurrencyCode_->setStoredText(fromCp1251(s.currencyCode));
    const Currency* listed = nullptr;
    if (const CurrencyRates* r = rates(); r != nullptr && !s.currencyCode.empty())
        for (const Currency& c : r->currencies)
            if (c.code == s.currencyCode) {
                listed = &c;
                break;
            }
    // The name stored with the source stays: showing a return must not rewrite it.
    edCurrencyName_->setStoredText(
        fromCp1251(listed != nullptr && s.currencyName.empty() ? listed->name : s.currencyName));
    edCurrencyName_->setReadOnly(listed != nullptr);

    // The stored rates are shown as they are; the box says which lines it fills, as
    // it did when the source was entered.
    const std::array<std::optional<FoundRate>, 2> found = {
        findRate(rates(), s.currencyCode, s.incomeDate), findRate(rates(), s.currencyCode, s.taxPaymentDate)};
    const bool any = found[0].has_value() || found[1].has_value();
    chbAutoRate_->setEnabled(any);
    chbAutoRate_->setChecked(any && s.autoRate != 0);
    edIncomeDateRate_->setStoredText(rateText(s.incomeDateRate));
    edIncomeDateUnits_->setStoredText(unitsText(s.incomeDateUnits));
    edTaxDateRate_->setStoredText(rateText(s.taxDateRate));
    edTaxDateUnits_->setStoredText(unitsText(s.taxDateUnits));
    for (const RateLine line : {RateLine::Income, RateLine::Tax}) {
        const std::size_t i = lineIndex(line);
        automaticLine_[i] = chbAutoRate_->isChecked() && found[i].has_value();
        const RateLineFields f = lineFields(line);
        f.rate->setEnabled(!automaticLine_[i]);
        f.units->setEnabled(!automaticLine_[i]);
        if (automaticLine_[i])
            f.day->setText(rateDayText(found[i]));
    }

    edIncomeInCurrency_->setMoney(s.incomeInCurrency);
    edIncomeInRubles_->setText(groupedAmount(s.incomeInRubles));
    edTaxInCurrency_->setMoney(s.taxInCurrency);
    edTaxInRubles_->setText(groupedAmount(s.taxInRubles));

    edIncomeCode_->setText(codeText(s.incomeCode));
    incomeRate_ = s.incomeRate;
    incomeName_ = s.incomeName;
    const IncomeEntry* income = s.incomeCode != 0 ? dict_.findIncome(std::to_string(s.incomeCode)) : nullptr;
    deductionAllowed_ = income != nullptr && income->hasDeductions();
    edIncomeInCurrency_->setEnabled(s.incomeCode != 0);
    applyCfcGroup(s.incomeCode, false);
    meCfcNumber_->setText(fromCp1251(s.cfcNumber));
    if (QAbstractButton* method = cfcMethod_->button(s.cfcProfitMethod))
        method->setChecked(true);
    edCfcTaxWithheld_->setStoredText(wholeRoublesText(s.cfcTaxWithheldInRussia));

    edDeductionCode_->setText(s.deductionCode != 0 ? QString::number(s.deductionCode) : QString());
    edDeductionAmount_->setMoney(s.deductionAmount);
    if (income != nullptr && s.deductionCode != 0)
        if (const DeductionEntry* entry = income->findDeduction(std::to_string(s.deductionCode)))
            deduction_ = chooseDeduction(*entry);
    if (deduction_)
        deduction_->percent = s.deductionPercent;
    applyDeductionAttributes();
}

// --- Rules of the person's edits ---------------------------------------------

void ForeignIncomeScreen::currencyChanged() {
    if (!editing())
        return;
    DocumentChanged();
    const std::string code = toCp1251(edCurrencyCode_->text());
    const Currency* listed = nullptr;
    if (const CurrencyRates* r = rates(); r != nullptr)
        for (const Currency& c : r->currencies)
            if (c.code == code) {
                listed = &c;
                break;
            }
    {
        ScreenBuildGuard guard(host());
        edCurrencyName_->setText(listed != nullptr ? fromCp1251(listed->name) : QString());
    }
    edCurrencyName_->setReadOnly(listed != nullptr);
    refreshRates();
}

std::size_t ForeignIncomeScreen::lineIndex(RateLine line) {
    return line == RateLine::Income ? 0 : 1;
}

ForeignIncomeScreen::RateLineFields ForeignIncomeScreen::lineFields(RateLine line) const {
    if (line == RateLine::Income)
        return {dtIncomeDate_, edIncomeDateRate_, edIncomeDateUnits_, lblIncomeRateDay_};
    return {dtTaxDate_, edTaxDateRate_, edTaxDateUnits_, lblTaxRateDay_};
}

std::optional<FoundRate> ForeignIncomeScreen::directoryRate(RateLine line) const {
    return findRate(rates(), toCp1251(edCurrencyCode_->text()), toDateValue(lineFields(line).date->date()));
}

// The box is offered while the directory has a rate for either date, and ticked it
// fills each line it has a rate for. A rate it filled for another day or currency
// goes; a rate the person typed stays until the person changes it.
void ForeignIncomeScreen::refreshRates() {
    const std::array<std::optional<FoundRate>, 2> found = {directoryRate(RateLine::Income),
                                                           directoryRate(RateLine::Tax)};
    const bool any = found[0].has_value() || found[1].has_value();
    if (!any)
        chbAutoRate_->setChecked(false);
    chbAutoRate_->setEnabled(any);
    for (const RateLine line : {RateLine::Income, RateLine::Tax}) {
        const std::size_t i = lineIndex(line);
        if (chbAutoRate_->isChecked() && found[i].has_value())
            fillRateLine(line, *found[i]);
        else if (automaticLine_[i])
            releaseRateLine(line);
    }
}

void ForeignIncomeScreen::autoRateClicked(bool checked) {
    if (!editing())
        return;
    DocumentChanged();
    rateTyped_ = !checked;
    for (const RateLine line : {RateLine::Income, RateLine::Tax}) {
        if (!checked) {
            if (automaticLine_[lineIndex(line)])
                releaseRateLine(line);
        } else if (const std::optional<FoundRate> found = directoryRate(line)) {
            fillRateLine(line, *found);
        }
    }
}

void ForeignIncomeScreen::fillRateLine(RateLine line, const FoundRate& found) {
    const RateLineFields f = lineFields(line);
    {
        ScreenBuildGuard guard(host());
        f.rate->setText(fromCp1251(found.rateText));
        f.units->setText(fromCp1251(found.unitsText));
    }
    f.rate->setEnabled(false);
    f.units->setEnabled(false);
    f.day->setText(rateDayText(found));
    automaticLine_[lineIndex(line)] = true;
    rateLineChanged(line);
}

// An automatic rate no longer the box's: emptied and given to the person to type.
void ForeignIncomeScreen::releaseRateLine(RateLine line) {
    const RateLineFields f = lineFields(line);
    {
        ScreenBuildGuard guard(host());
        f.rate->clear();
        f.units->clear();
    }
    f.rate->setEnabled(true);
    f.units->setEnabled(true);
    f.day->clear();
    automaticLine_[lineIndex(line)] = false;
    rateLineChanged(line);
}

void ForeignIncomeScreen::rateLineChanged(RateLine line) {
    if (line == RateLine::Income)
        incomeRublesChanged();
    else
        taxRublesChanged();
}

void ForeignIncomeScreen::incomeRublesChanged() {
    const std::optional<Money> rubles = rublesAtRate(
        amountOf(edIncomeInCurrency_), int32Of(edIncomeDateUnits_->text()), amountOf(edIncomeDateRate_));
    edIncomeInRubles_->setText(rubles ? groupedAmount(*rubles) : QString());
    if (!rubles)
        return;
    if (!deductionAllowed_ || !deduction_)
        return;
    const Money typed = amountOf(edDeductionAmount_);
    ScreenBuildGuard guard(host());
    edDeductionAmount_->setText(amountText(deductionFollowingRubles(*deduction_, *rubles, typed)));
}

void ForeignIncomeScreen::capTypedDeduction() {
    const std::optional<Money> typed = edDeductionAmount_->money();
    if (!deduction_ || !typed)
        return;
    if (const Money capped = cappedDeductionAmount(*deduction_, *typed); capped != *typed) {
        ScreenBuildGuard guard(host());
        edDeductionAmount_->setText(amountText(capped));
    }
}

void ForeignIncomeScreen::taxRublesChanged() {
    const std::optional<Money> rubles =
        rublesAtRate(amountOf(edTaxInCurrency_), int32Of(edTaxDateUnits_->text()), amountOf(edTaxDateRate_));
    edTaxInRubles_->setText(rubles ? groupedAmount(*rubles) : QString());
}

void ForeignIncomeScreen::applyCfcGroup(std::int32_t incomeCode, bool clearDisabled) {
    const CfcGroupState state = cfcGroupFor(incomeCode);
    meCfcNumber_->setEnabled(state.number);
    rbCfcAccounts_->setEnabled(state.profitMethod);
    rbCfcRussianRules_->setEnabled(state.profitMethod);
    edCfcTaxWithheld_->setEnabled(state.taxWithheld);
    if (!clearDisabled)
        return;
    ScreenBuildGuard guard(host());
    if (!state.number)
        meCfcNumber_->clear();
    if (!state.profitMethod) {
        cfcMethod_->setExclusive(false);
        rbCfcAccounts_->setChecked(false);
        rbCfcRussianRules_->setChecked(false);
        cfcMethod_->setExclusive(true);
    }
    if (!state.taxWithheld)
        edCfcTaxWithheld_->clear();
}

void ForeignIncomeScreen::applyDeductionAttributes() {
    lblDeductionCode_->setEnabled(deductionAllowed_);
    edDeductionCode_->setEnabled(deductionAllowed_);
    bnDeductionCode_->setEnabled(deductionAllowed_);
    lblDeductionAmount_->setEnabled(deductionAllowed_);
    const bool visible = !deduction_ || deduction_->visible;
    lblDeductionAmount_->setVisible(visible);
    edDeductionAmount_->setVisible(visible);
    edDeductionAmount_->setEnabled(deductionAllowed_ && deduction_ && deduction_->enabled);
}

void ForeignIncomeScreen::pickCurrency() {
    if (sourceList_->selected() < 0)
        return;
    CurrencyPicker picker(host(), this);
    const std::optional<CodeName> picked = picker.choose(toCp1251(edCurrencyCode_->text()));
    if (!picked.has_value())
        return;
    if (fromCp1251(picked->code) == edCurrencyCode_->text()) {
        // The same currency again, perhaps with rates just imported: look them up anew.
        currencyChanged();
        return;
    }
    edCurrencyCode_->setText(fromCp1251(picked->code));
}

void ForeignIncomeScreen::pickIncomeCode() {
    if (sourceList_->selected() < 0)
        return;
    IncomeCodePicker picker(dict_, false, false, toCp1251(edIncomeCode_->text()), "", this);
    const std::optional<IncomeChoice> chosen = picker.choose();
    if (!chosen.has_value() || fromCp1251(chosen->code) == edIncomeCode_->text())
        return;
    DocumentChanged();
    ScreenBuildGuard guard(host());
    deduction_.reset();
    incomeRate_ = chosen->rate;
    incomeName_ = chosen->name;
    edIncomeCode_->setText(fromCp1251(chosen->code));
    edIncomeInCurrency_->setEnabled(true);
    edDeductionCode_->clear();
    edDeductionAmount_->clear();
    applyCfcGroup(int32Of(edIncomeCode_->text()), true);
    deductionAllowed_ = chosen->hasDeductions;
    applyDeductionAttributes();
}

void ForeignIncomeScreen::pickDeductionCode() {
    if (sourceList_->selected() < 0 || !deductionAllowed_)
        return;
    DeductionCodePicker picker(dict_, true, toCp1251(edDeductionCode_->text()),
                               toCp1251(edIncomeCode_->text()), this);
    const std::optional<DeductionChoice> chosen = picker.choose();
    if (!chosen.has_value() || fromCp1251(chosen->code) == edDeductionCode_->text())
        return;
    DocumentChanged();
    ScreenBuildGuard guard(host());
    deduction_ = chosen;
    edDeductionCode_->setText(fromCp1251(chosen->code));
    // The roubles shown, which are the roubles the record keeps.
    const Money rubles = groupedAmountValue(edIncomeInRubles_->text());
    const std::optional<Money> derived = derivedDeductionAmount(*chosen, rubles, std::nullopt);
    edDeductionAmount_->setText(derived ? amountText(*derived) : QString());
    applyDeductionAttributes();
}

// --- Sources -------------------------------------------------------------------

void ForeignIncomeScreen::showFailure(const std::exception& failure) {
    host().asker().ask(this, messageQuestion(QStringLiteral("listFailure"), fromCp1251(failure.what()),
                                             QuestionIcon::Critical));
}

void ForeignIncomeScreen::appendSource(const ForeignIncome& record) {
    const bool first = document().foreignIncomes.count() == 0;
    try {
        document().foreignIncomes.add(record);
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    DocumentChanged();
    if (first)
        setIncomePartEnabled(true);
    sourceList_->append(fromCp1251(record.sourceName));
    sourceBox_.list->setFocus();
    sourceList_->select(sourceList_->count() - 1);
}

void ForeignIncomeScreen::addSource() {
    ForeignSourceDialog dialog(host().asker(), host().directories().countries, ForeignIncome{}, this);
    connect(&dialog, &ForeignSourceDialog::countryPicked, this, [this] { DocumentChanged(); });
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    ForeignIncome record;
    record.sourceName = dialog.source().sourceName;
    record.countryCode = dialog.source().countryCode;
    appendSource(record);
}

void ForeignIncomeScreen::editSource() {
    if (sourceList_->selected() < 0)
        return;
    ForeignSourceDialog dialog(host().asker(), host().directories().countries, source(), this);
    connect(&dialog, &ForeignSourceDialog::countryPicked, this, [this] { DocumentChanged(); });
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    ForeignIncome& s = source();
    if (s.sourceName == dialog.source().sourceName && s.countryCode == dialog.source().countryCode)
        return;
    s.sourceName = dialog.source().sourceName;
    s.countryCode = dialog.source().countryCode;
    DocumentChanged();
    sourceList_->setTitle(sourceList_->selected(), fromCp1251(s.sourceName));
    sourceBox_.list->setFocus();
}

void ForeignIncomeScreen::deleteSource() {
    DocumentChanged();
    sourceList_->removeSelected([this](int index) { document().foreignIncomes.remove(index); });
    if (sourceList_->count() == 0)
        setIncomePartEnabled(false);
}

void ForeignIncomeScreen::copySource() {
    if (sourceList_->selected() < 0)
        return;
    sourceList_->storeSelected();
    appendSource(copiedSource(source()));
}

// --- Screen operations -----------------------------------------------------------

void ForeignIncomeScreen::SaveData() {
    sourceList_->storeSelected();
}

std::uint16_t ForeignIncomeScreen::CheckData() {
    SaveData();
    AskerCheckDialog dialog(host().asker(), this);
    // A date the field cannot take (outside its range, not finished) is named first,
    // in the field's own words: the record's checks below see only its last real date.
    if (const int selected = sourceList_->selected(); selected >= 0) {
        CheckRun dates(dialog, foreignIncomeTitle(), CheckStop::AtFirstFault);
        for (const auto& [field, label] : {std::pair{dtIncomeDate_, "Дата получения дохода"},
                                           std::pair{dtTaxDate_, "Дата уплаты налога"}}) {
            if (!field->problem().isEmpty())
                dates.fault(toCp1251(QString::fromUtf8(label) + QStringLiteral(": ") + field->problem()),
                            static_cast<std::uint16_t>(selected + 1));
        }
        if (dates.shown())
            return dates.result();
    }
    return CheckForeignIncomes(document(), dialog);
}

void ForeignIncomeScreen::SetFocusToElement(std::uint16_t code) {
    if (code == 0 || code > sourceList_->count())
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(code - 1);
}

void ForeignIncomeScreen::SelectFirstEntry() {
    if (sourceList_->count() == 0)
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(0);
}

} // namespace kv
