#include "screens/BusinessScreen.h"

#include "checks/ReturnCheck.h"
#include "model/Declaration.h"
#include "reference/Directories.h"
#include "screens/BusinessActivityDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DataFolders.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/BusinessRules.h"
#include "screens/rules/SourceEntries.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace kv {

namespace {

constexpr int kFirstFarmYear = 1997;
constexpr int kLastFarmYear = 2019;
// Where the up-down starts when the field holds no year in range: the year an empty
// field is stored as.
const int kUpDownStart = Declaration::kDefaultFarmFoundingDate.year();

// Where the picker's import writes the classifier: the user's data folder, searched
// first at the next start; the program's own folder is not the user's to write.
std::filesystem::path okvedDirectoryFile() {
    const QString folder = userDataFolder();
    QDir().mkpath(folder);
    return std::filesystem::path(QFile::encodeName(folder).toStdString()) / kOkvedFile;
}

} // namespace

BusinessScreen::BusinessScreen(QWidget* panel, ScreenHost& host) : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    activities_ = new MasterDetailList(activityBox_.list, this);
    activities_->onStore = [this](int index) { storeActivity(index); };
    activities_->onShow = [this](int index) { showActivity(index); };
    load();

    auto* controller = new RecordListController(activityBox_, host.asker(), this);
    controller->setDetails(activities_);
    controller->onAdd = [this] { addActivity(); };
    controller->onEdit = [this] { editActivity(); };
    controller->holdsEntries = [this] { return activityHoldsEntries(); };
    controller->onRemove = [this] { deleteActivity(); };
    connect(incomeEdit_, &FieldEdit::changed, this, &BusinessScreen::incomeChanged);
    for (FieldEdit* f : {totalExpensesEdit_, materialExpensesEdit_, depreciationEdit_, labourExpensesEdit_,
                         otherExpensesEdit_})
        connect(f, &FieldEdit::changed, this, [this] { edited(activityEdited_); });
    for (FieldEdit* f : {advancePaymentsEdit_, adjustedBaseEdit_, adjustedTaxEdit_, patentPaymentsEdit_,
                         tradeFeeEdit_, farmYearEdit_})
        connect(f, &FieldEdit::changed, this, [this] { edited(wideEdited_); });
    connect(documentedBox_, &QCheckBox::clicked, this, [this](bool on) {
        edited(activityEdited_);
        showExpenseWay(on);
        if (!on)
            showNorm();
    });
    connect(farmBox_, &QCheckBox::clicked, this, [this] {
        edited(wideEdited_);
        farmToggled();
    });
    connect(farmYearUpButton_, &QToolButton::clicked, this, [this] { stepYear(1); });
    connect(farmYearDownButton_, &QToolButton::clicked, this, [this] { stepYear(-1); });
}

void BusinessScreen::buildWidgets() {
    RecordListOptions listOptions;
    listOptions.box = "gbActivities";
    listOptions.title = QStringLiteral("Виды деятельности");
    listOptions.list = "lvActivities";
    listOptions.listHint = QStringLiteral("Список видов деятельности");
    listOptions.column = QStringLiteral("Виды деятельности");
    listOptions.add = "bnAddActivity";
    listOptions.remove = "bnDeleteActivity";
    listOptions.edit = "bnEditActivity";
    activityBox_ = recordListBox(this, listOptions);

    amountsGroup_ = new QGroupBox(QStringLiteral("Доходы и расходы по выбранному виду деятельности"), this);
    amountsGroup_->setObjectName(QStringLiteral("gbAmounts"));
    incomeEdit_ = moneyField(amountsGroup_, "edIncome");
    documentedBox_ = new QCheckBox(QStringLiteral("Имеются документально подтв. расходы"), amountsGroup_);
    documentedBox_->setObjectName(QStringLiteral("chbDocumentedExpenses"));

    documentedPanel_ = new QWidget(amountsGroup_);
    documentedPanel_->setObjectName(QStringLiteral("pnlDocumented"));
    totalExpensesEdit_ = moneyField(documentedPanel_, "edTotalExpenses");
    materialExpensesEdit_ = moneyField(documentedPanel_, "edMaterialExpenses");
    depreciationEdit_ = moneyField(documentedPanel_, "edDepreciation");
    labourExpensesEdit_ = moneyField(documentedPanel_, "edLabourExpenses");
    otherExpensesEdit_ = moneyField(documentedPanel_, "edOtherExpenses");
    auto* documented = new QGridLayout(documentedPanel_);
    documented->setContentsMargins(0, 0, 0, 0);
    documented->addWidget(new QLabel(QStringLiteral("Итого расходов"), documentedPanel_), 0, 0);
    documented->addWidget(totalExpensesEdit_, 0, 1);
    documented->addWidget(new QLabel(QStringLiteral("в том числе"), documentedPanel_), 1, 0, 1, 2);
    int row = 2;
    for (auto [caption, edit] : {std::pair{QStringLiteral("Мат. расходы"), materialExpensesEdit_},
                                 std::pair{QStringLiteral("Амортизац. начисл."), depreciationEdit_},
                                 std::pair{QStringLiteral("Оплата труда"), labourExpensesEdit_},
                                 std::pair{QStringLiteral("Прочие расходы"), otherExpensesEdit_}}) {
        auto* label = new QLabel(caption, documentedPanel_);
        label->setIndent(16);
        documented->addWidget(label, row, 0);
        documented->addWidget(edit, row++, 1);
    }

    normPanel_ = new QWidget(amountsGroup_);
    normPanel_->setObjectName(QStringLiteral("pnlNorm"));
    standardExpensesEdit_ = totalField(normPanel_, "edStandardExpenses");
    standardExpensesEdit_->setToolTip(QStringLiteral("Норматив 20% от суммы дохода"));
    auto* norm = new QGridLayout(normPanel_);
    norm->setContentsMargins(0, 0, 0, 0);
    norm->addWidget(new QLabel(QStringLiteral("Итого расходов"), normPanel_), 0, 0);
    norm->addWidget(standardExpensesEdit_, 0, 1);

    auto* amounts = new QGridLayout(amountsGroup_);
    amounts->addWidget(new QLabel(QStringLiteral("Сумма дохода"), amountsGroup_), 0, 0);
    amounts->addWidget(incomeEdit_, 0, 1);
    amounts->addWidget(documentedBox_, 1, 0, 1, 2);
    amounts->addWidget(documentedPanel_, 2, 0, 1, 2);
    amounts->addWidget(normPanel_, 3, 0, 1, 2);
    amounts->setRowStretch(4, 1);
    amounts->setColumnStretch(2, 1);

    returnWideGroup_ =
        new QGroupBox(QStringLiteral("Общие данные по предпринимательской деятельности"), this);
    returnWideGroup_->setObjectName(QStringLiteral("gbReturnWide"));
    advancePaymentsEdit_ = field(returnWideGroup_, "edAdvancePayments", FieldKind::Digits, 12);
    adjustedBaseEdit_ = moneyField(returnWideGroup_, "edAdjustedBase");
    adjustedTaxEdit_ = field(returnWideGroup_, "edAdjustedTax", FieldKind::Digits, 12);
    patentPaymentsEdit_ = field(returnWideGroup_, "edPatentPayments", FieldKind::Digits, 12);
    tradeFeeEdit_ = field(returnWideGroup_, "edTradeFee", FieldKind::Digits, 12);
    farmBox_ = new QCheckBox(QStringLiteral("Крестьянское (фермерское) хозяйство"), returnWideGroup_);
    farmBox_->setObjectName(QStringLiteral("chbFarm"));
    farmYearLabel_ = new QLabel(QStringLiteral("Год образования"), returnWideGroup_);
    farmYearEdit_ = field(returnWideGroup_, "edFarmYear", FieldKind::Digits, 4);
    farmYearEdit_->setMaximumWidth(60);
    farmYearUpButton_ = new QToolButton(returnWideGroup_);
    farmYearUpButton_->setObjectName(QStringLiteral("bnFarmYearUp"));
    farmYearUpButton_->setArrowType(Qt::UpArrow);
    farmYearDownButton_ = new QToolButton(returnWideGroup_);
    farmYearDownButton_->setObjectName(QStringLiteral("bnFarmYearDown"));
    farmYearDownButton_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {farmYearUpButton_, farmYearDownButton_})
        b->setFixedSize(18, 12);
    auto* upDown = new QVBoxLayout;
    upDown->setSpacing(0);
    upDown->addWidget(farmYearUpButton_);
    upDown->addWidget(farmYearDownButton_);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(farmYearEdit_);
    yearRow->addLayout(upDown);
    yearRow->addStretch(1);

    auto* wide = new QGridLayout(returnWideGroup_);
    int wideRow = 0;
    for (auto [caption, edit] :
         {std::pair{QStringLiteral("Фактические авансовые платежи"), advancePaymentsEdit_},
          std::pair{QStringLiteral("Скорректированная база"), adjustedBaseEdit_},
          std::pair{QStringLiteral("Скорректированный налог"), adjustedTaxEdit_},
          std::pair{QStringLiteral("Платежи по патенту"), patentPaymentsEdit_},
          std::pair{QStringLiteral("Торговый сбор"), tradeFeeEdit_}}) {
        wide->addWidget(new QLabel(caption, returnWideGroup_), wideRow, 0);
        wide->addWidget(edit, wideRow++, 1);
    }
    wide->addWidget(farmBox_, wideRow++, 0, 1, 2);
    wide->addWidget(farmYearLabel_, wideRow, 0);
    wide->addLayout(yearRow, wideRow++, 1);
    wide->setColumnStretch(2, 1);

    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(260);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(activityBox_.box, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(amountsGroup_, 1);
    right->addWidget(returnWideGroup_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftColumn);
    layout->addLayout(right, 1);
}

void BusinessScreen::load() {
    const Declaration& d = document();
    QStringList titles;
    for (const BusinessActivity& a : d.businessIncomes)
        titles.append(fromCp1251(activityRowText(a)));
    activities_->fill(titles);
    const bool any = d.businessIncomes.count() > 0;
    // A figure that counts in the return is shown, and can be corrected, even where no
    // activity is left to attach it to (a return written elsewhere).
    const bool figures = any || d.holdsBusinessFigures();
    if (figures) {
        advancePaymentsEdit_->setText(wholeRoublesText(d.actualAdvancePayments));
        adjustedBaseEdit_->setMoney(d.adjustedBase);
        adjustedTaxEdit_->setText(wholeRoublesText(d.adjustedTax));
        patentPaymentsEdit_->setText(wholeRoublesText(d.patentPayments));
        tradeFeeEdit_->setText(wholeRoublesText(d.tradeFee));
        farmBox_->setChecked(d.isFarmHousehold != 0);
    } else {
        // Nothing to attach them to: the figures are shown, and left, as none.
        for (FieldEdit* f :
             {advancePaymentsEdit_, adjustedBaseEdit_, adjustedTaxEdit_, patentPaymentsEdit_, tradeFeeEdit_})
            f->setText(QStringLiteral("0"));
        farmBox_->setChecked(false);
    }
    farmYearEdit_->setText(QString::number(d.farmFoundingDate.year()));
    setFieldsEnabled(any, figures);
    showExpenseWay(true);
    documentedBox_->setVisible(false);
}

BusinessActivity& BusinessScreen::activity() {
    return document().businessIncomes.get(activities_->selected());
}

void BusinessScreen::setFieldsEnabled(bool amounts, bool returnWide) {
    amountsGroup_->setEnabled(amounts);
    for (QWidget* w :
         std::initializer_list<QWidget*>{advancePaymentsEdit_, adjustedBaseEdit_, adjustedTaxEdit_,
                                         patentPaymentsEdit_, tradeFeeEdit_, farmBox_})
        w->setEnabled(returnWide);
    farmToggled();
}

void BusinessScreen::farmToggled() {
    const bool year = farmBox_->isEnabled() && farmBox_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{farmYearLabel_, farmYearEdit_, farmYearUpButton_,
                                                      farmYearDownButton_})
        w->setEnabled(year);
}

void BusinessScreen::stepYear(int step) {
    const int typed = static_cast<int>(digitsOf(farmYearEdit_));
    const int from = typed >= kFirstFarmYear && typed <= kLastFarmYear ? typed : kUpDownStart - step;
    farmYearEdit_->setText(QString::number(std::clamp(from + step, kFirstFarmYear, kLastFarmYear)));
}

void BusinessScreen::showExpenseWay(bool documented) {
    documentedPanel_->setVisible(documented);
    normPanel_->setVisible(!documented);
}

void BusinessScreen::edited(bool& which) {
    if (host().buildingGuard())
        return;
    which = true;
    markDocumentChanged();
}

void BusinessScreen::incomeChanged() {
    if (host().buildingGuard())
        return;
    edited(activityEdited_);
    if (!documentedBox_->isChecked())
        showNorm();
}

void BusinessScreen::showNorm() {
    standardExpensesEdit_->setText(groupedAmount(standardExpensesOf(amountOf(incomeEdit_))));
}

void BusinessScreen::storeActivity(int index) {
    // An activity only looked at keeps what the file holds, whatever the panel would
    // make of it (a lawyer's norm from an older file, say).
    if (!activityEdited_)
        return;
    activityEdited_ = false;
    BusinessActivity& a = document().businessIncomes.get(index);
    a.incomeAmount = amountOf(incomeEdit_);
    if (documentedBox_->isChecked()) {
        a.hasDocumentedExpenses = 1;
        a.totalExpenses = amountOf(totalExpensesEdit_);
        a.materialExpenses = amountOf(materialExpensesEdit_);
        a.depreciation = amountOf(depreciationEdit_);
        a.labourExpenses = amountOf(labourExpensesEdit_);
        a.otherExpenses = amountOf(otherExpensesEdit_);
    } else {
        a.hasDocumentedExpenses = 0;
        a.standardExpenses = groupedAmountValue(standardExpensesEdit_->text());
    }
}

void BusinessScreen::showActivity(int index) {
    ScreenBuildGuard guard(host());
    activityEdited_ = false;
    if (index < 0) {
        for (FieldEdit* f : {incomeEdit_, totalExpensesEdit_, materialExpensesEdit_, depreciationEdit_,
                             labourExpensesEdit_, otherExpensesEdit_})
            f->clear();
        standardExpensesEdit_->clear();
        documentedBox_->setVisible(false);
        showExpenseWay(true);
        return;
    }
    const BusinessActivity& a = document().businessIncomes.get(index);
    const bool choice = mayUseNorm(a.activityKind);
    // Only entrepreneurs and farm heads may take the norm; the others always have
    // documented expenses, whatever an older file says.
    const bool documented = !choice || a.hasDocumentedExpenses != 0;
    documentedBox_->setChecked(documented);
    documentedBox_->setVisible(choice);
    showExpenseWay(documented);
    incomeEdit_->setMoney(a.incomeAmount);
    totalExpensesEdit_->setMoney(a.totalExpenses);
    materialExpensesEdit_->setMoney(a.materialExpenses);
    depreciationEdit_->setMoney(a.depreciation);
    labourExpensesEdit_->setMoney(a.labourExpenses);
    otherExpensesEdit_->setMoney(a.otherExpenses);
    standardExpensesEdit_->setText(groupedAmount(a.standardExpenses));
}

void BusinessScreen::showFailure(const std::exception& failure) {
    host().asker().ask(
        this, messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

void BusinessScreen::addActivity() {
    const Directories& dirs = host().directories();
    BusinessActivityDialog dialog(host().asker(), dirs.okved ? &*dirs.okved : nullptr, okvedDirectoryFile(),
                                  {}, {}, this);
    if (dialog.exec() != QDialog::Accepted || !activityDialogAccepts(dialog.kind(), dialog.okvedCode()))
        return;
    BusinessActivity added;
    applyActivityKind(added, dialog.kind(), dialog.okvedCode(), true);
    try {
        document().businessIncomes.add(added);
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    if (activities_->count() == 0)
        setFieldsEnabled(true, true);
    activities_->append(fromCp1251(activityRowText(added)));
    activityBox_.list->setFocus();
    activities_->select(activities_->count() - 1);
}

void BusinessScreen::editActivity() {
    if (activities_->selected() < 0)
        return;
    activities_->storeSelected();
    const Directories& dirs = host().directories();
    BusinessActivityDialog dialog(host().asker(), dirs.okved ? &*dirs.okved : nullptr, okvedDirectoryFile(),
                                  activity().activityKind, activity().okvedCode, this);
    if (dialog.exec() != QDialog::Accepted || dialog.kind().empty())
        return;
    BusinessActivity& a = activity();
    applyActivityKind(a, dialog.kind(), dialog.okvedCode(), false);
    markDocumentChanged();
    activities_->setTitle(activities_->selected(), fromCp1251(activityRowText(a)));
    activityBox_.list->setFocus();
    showActivity(activities_->selected());
}

bool BusinessScreen::activityHoldsEntries() {
    // The last activity takes the return-wide figures with it.
    const auto wideFigures = [this] {
        const std::initializer_list<const FieldEdit*> wide{
            advancePaymentsEdit_, adjustedBaseEdit_, adjustedTaxEdit_, patentPaymentsEdit_, tradeFeeEdit_};
        return std::any_of(wide.begin(), wide.end(),
                           [](const FieldEdit* f) { return !amountOf(f).isZero(); });
    };
    return holdsEntries(activity()) || (activities_->count() == 1 && wideFigures());
}

void BusinessScreen::deleteActivity() {
    markDocumentChanged();
    activities_->removeSelected([this](int index) { document().businessIncomes.remove(index); });
    if (activities_->count() > 0)
        return;
    // With no activity the return-wide figures mean nothing: they go back to none.
    {
        ScreenBuildGuard guard(host());
        for (FieldEdit* f :
             {advancePaymentsEdit_, adjustedBaseEdit_, adjustedTaxEdit_, patentPaymentsEdit_, tradeFeeEdit_})
            f->setText(QStringLiteral("0"));
        farmBox_->setChecked(false);
    }
    wideEdited_ = true;
    setFieldsEnabled(false, false);
}

void BusinessScreen::saveData() {
    activities_->storeSelected();
    if (!wideEdited_)
        return;
    Declaration& d = document();
    d.actualAdvancePayments = wholeRoublesOf(advancePaymentsEdit_, d.actualAdvancePayments);
    d.adjustedBase = amountOf(adjustedBaseEdit_);
    d.adjustedTax = wholeRoublesOf(adjustedTaxEdit_, d.adjustedTax);
    d.patentPayments = wholeRoublesOf(patentPaymentsEdit_, d.patentPayments);
    d.tradeFee = wholeRoublesOf(tradeFeeEdit_, d.tradeFee);
    d.isFarmHousehold = farmBox_->isChecked() ? 1 : 0;
    const int year = static_cast<int>(digitsOf(farmYearEdit_));
    const auto founded = farmYearEdit_->text().isEmpty() ? std::nullopt : DateValue::fromYmd(year, 1, 1);
    if (founded)
        d.farmFoundingDate = *founded;
    else if (farmYearEdit_->text().isEmpty())
        d.farmFoundingDate = Declaration::kDefaultFarmFoundingDate;
}

std::uint16_t BusinessScreen::checkData() {
    AskerCheckDialog dialog(host().asker(), this);
    return checkBusinessIncomes(document(), dialog);
}

void BusinessScreen::setFocusToElement(std::uint16_t code) {
    static const std::map<std::uint16_t, FieldEdit* BusinessScreen::*> kFigureFields = {
        {FieldCode::kActualAdvances, &BusinessScreen::advancePaymentsEdit_},
        {FieldCode::kAdjustedTax, &BusinessScreen::adjustedTaxEdit_},
        {FieldCode::kPatentPayments, &BusinessScreen::patentPaymentsEdit_},
        {FieldCode::kTradeFee, &BusinessScreen::tradeFeeEdit_},
    };
    if (const auto figure = kFigureFields.find(code); figure != kFigureFields.end()) {
        FieldEdit* field = this->*(figure->second);
        field->setFocus();
        field->selectAll();
        return;
    }
    if (code == 0 || code > activities_->count())
        return;
    activityBox_.list->setFocus();
    activities_->select(code - 1);
}

void BusinessScreen::selectFirstEntry() {
    setFocusToElement(1);
}

} // namespace kv
