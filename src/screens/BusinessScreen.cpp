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
    connect(edIncome_, &FieldEdit::changed, this, &BusinessScreen::incomeChanged);
    for (FieldEdit* f :
         {edTotalExpenses_, edMaterialExpenses_, edDepreciation_, edLabourExpenses_, edOtherExpenses_})
        connect(f, &FieldEdit::changed, this, [this] { edited(activityEdited_); });
    for (FieldEdit* f :
         {edAdvancePayments_, edAdjustedBase_, edAdjustedTax_, edPatentPayments_, edTradeFee_, edFarmYear_})
        connect(f, &FieldEdit::changed, this, [this] { edited(wideEdited_); });
    connect(chbDocumented_, &QCheckBox::clicked, this, [this](bool on) {
        edited(activityEdited_);
        showExpenseWay(on);
        if (!on)
            showNorm();
    });
    connect(chbFarm_, &QCheckBox::clicked, this, [this] {
        edited(wideEdited_);
        farmToggled();
    });
    connect(bnFarmYearUp_, &QToolButton::clicked, this, [this] { stepYear(1); });
    connect(bnFarmYearDown_, &QToolButton::clicked, this, [this] { stepYear(-1); });
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

    gbAmounts_ = new QGroupBox(QStringLiteral("Доходы и расходы по выбранному виду деятельности"), this);
    gbAmounts_->setObjectName(QStringLiteral("gbAmounts"));
    edIncome_ = moneyField(gbAmounts_, "edIncome");
    chbDocumented_ = new QCheckBox(QStringLiteral("Имеются документально подтв. расходы"), gbAmounts_);
    chbDocumented_->setObjectName(QStringLiteral("chbDocumentedExpenses"));

    pnlDocumented_ = new QWidget(gbAmounts_);
    pnlDocumented_->setObjectName(QStringLiteral("pnlDocumented"));
    edTotalExpenses_ = moneyField(pnlDocumented_, "edTotalExpenses");
    edMaterialExpenses_ = moneyField(pnlDocumented_, "edMaterialExpenses");
    edDepreciation_ = moneyField(pnlDocumented_, "edDepreciation");
    edLabourExpenses_ = moneyField(pnlDocumented_, "edLabourExpenses");
    edOtherExpenses_ = moneyField(pnlDocumented_, "edOtherExpenses");
    auto* documented = new QGridLayout(pnlDocumented_);
    documented->setContentsMargins(0, 0, 0, 0);
    documented->addWidget(new QLabel(QStringLiteral("Итого расходов"), pnlDocumented_), 0, 0);
    documented->addWidget(edTotalExpenses_, 0, 1);
    documented->addWidget(new QLabel(QStringLiteral("в том числе"), pnlDocumented_), 1, 0, 1, 2);
    int row = 2;
    for (auto [caption, edit] : {std::pair{QStringLiteral("Мат. расходы"), edMaterialExpenses_},
                                 std::pair{QStringLiteral("Амортизац. начисл."), edDepreciation_},
                                 std::pair{QStringLiteral("Оплата труда"), edLabourExpenses_},
                                 std::pair{QStringLiteral("Прочие расходы"), edOtherExpenses_}}) {
        auto* label = new QLabel(caption, pnlDocumented_);
        label->setIndent(16);
        documented->addWidget(label, row, 0);
        documented->addWidget(edit, row++, 1);
    }

    pnlNorm_ = new QWidget(gbAmounts_);
    pnlNorm_->setObjectName(QStringLiteral("pnlNorm"));
    edStandardExpenses_ = totalField(pnlNorm_, "edStandardExpenses");
    edStandardExpenses_->setToolTip(QStringLiteral("Норматив 20% от суммы дохода"));
    auto* norm = new QGridLayout(pnlNorm_);
    norm->setContentsMargins(0, 0, 0, 0);
    norm->addWidget(new QLabel(QStringLiteral("Итого расходов"), pnlNorm_), 0, 0);
    norm->addWidget(edStandardExpenses_, 0, 1);

    auto* amounts = new QGridLayout(gbAmounts_);
    amounts->addWidget(new QLabel(QStringLiteral("Сумма дохода"), gbAmounts_), 0, 0);
    amounts->addWidget(edIncome_, 0, 1);
    amounts->addWidget(chbDocumented_, 1, 0, 1, 2);
    amounts->addWidget(pnlDocumented_, 2, 0, 1, 2);
    amounts->addWidget(pnlNorm_, 3, 0, 1, 2);
    amounts->setRowStretch(4, 1);
    amounts->setColumnStretch(2, 1);

    gbReturnWide_ = new QGroupBox(QStringLiteral("Общие данные по предпринимательской деятельности"), this);
    gbReturnWide_->setObjectName(QStringLiteral("gbReturnWide"));
    edAdvancePayments_ = field(gbReturnWide_, "edAdvancePayments", FieldKind::edtDigital, 12);
    edAdjustedBase_ = moneyField(gbReturnWide_, "edAdjustedBase");
    edAdjustedTax_ = field(gbReturnWide_, "edAdjustedTax", FieldKind::edtDigital, 12);
    edPatentPayments_ = field(gbReturnWide_, "edPatentPayments", FieldKind::edtDigital, 12);
    edTradeFee_ = field(gbReturnWide_, "edTradeFee", FieldKind::edtDigital, 12);
    chbFarm_ = new QCheckBox(QStringLiteral("Крестьянское (фермерское) хозяйство"), gbReturnWide_);
    chbFarm_->setObjectName(QStringLiteral("chbFarm"));
    lblFarmYear_ = new QLabel(QStringLiteral("Год образования"), gbReturnWide_);
    edFarmYear_ = field(gbReturnWide_, "edFarmYear", FieldKind::edtDigital, 4);
    edFarmYear_->setMaximumWidth(60);
    bnFarmYearUp_ = new QToolButton(gbReturnWide_);
    bnFarmYearUp_->setObjectName(QStringLiteral("bnFarmYearUp"));
    bnFarmYearUp_->setArrowType(Qt::UpArrow);
    bnFarmYearDown_ = new QToolButton(gbReturnWide_);
    bnFarmYearDown_->setObjectName(QStringLiteral("bnFarmYearDown"));
    bnFarmYearDown_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {bnFarmYearUp_, bnFarmYearDown_})
        b->setFixedSize(18, 12);
    auto* upDown = new QVBoxLayout;
    upDown->setSpacing(0);
    upDown->addWidget(bnFarmYearUp_);
    upDown->addWidget(bnFarmYearDown_);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(edFarmYear_);
    yearRow->addLayout(upDown);
    yearRow->addStretch(1);

    auto* wide = new QGridLayout(gbReturnWide_);
    int wideRow = 0;
    for (auto [caption, edit] :
         {std::pair{QStringLiteral("Фактические авансовые платежи"), edAdvancePayments_},
          std::pair{QStringLiteral("Скорректированная база"), edAdjustedBase_},
          std::pair{QStringLiteral("Скорректированный налог"), edAdjustedTax_},
          std::pair{QStringLiteral("Платежи по патенту"), edPatentPayments_},
          std::pair{QStringLiteral("Торговый сбор"), edTradeFee_}}) {
        wide->addWidget(new QLabel(caption, gbReturnWide_), wideRow, 0);
        wide->addWidget(edit, wideRow++, 1);
    }
    wide->addWidget(chbFarm_, wideRow++, 0, 1, 2);
    wide->addWidget(lblFarmYear_, wideRow, 0);
    wide->addLayout(yearRow, wideRow++, 1);
    wide->setColumnStretch(2, 1);

    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(260);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(activityBox_.box, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(gbAmounts_, 1);
    right->addWidget(gbReturnWide_);
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
        edAdvancePayments_->setText(wholeRoublesText(d.actualAdvancePayments));
        edAdjustedBase_->setMoney(d.adjustedBase);
        edAdjustedTax_->setText(wholeRoublesText(d.adjustedTax));
        edPatentPayments_->setText(wholeRoublesText(d.patentPayments));
        edTradeFee_->setText(wholeRoublesText(d.tradeFee));
        chbFarm_->setChecked(d.isFarmHousehold != 0);
    } else {
        // Nothing to attach them to: the figures are shown, and left, as none.
        for (FieldEdit* f :
             {edAdvancePayments_, edAdjustedBase_, edAdjustedTax_, edPatentPayments_, edTradeFee_})
            f->setText(QStringLiteral("0"));
        chbFarm_->setChecked(false);
    }
    edFarmYear_->setText(QString::number(d.farmFoundingDate.year()));
    setFieldsEnabled(any, figures);
    showExpenseWay(true);
    chbDocumented_->setVisible(false);
}

BusinessActivity& BusinessScreen::activity() {
    return document().businessIncomes.get(activities_->selected());
}

void BusinessScreen::setFieldsEnabled(bool amounts, bool returnWide) {
    gbAmounts_->setEnabled(amounts);
    for (QWidget* w : std::initializer_list<QWidget*>{edAdvancePayments_, edAdjustedBase_, edAdjustedTax_,
                                                      edPatentPayments_, edTradeFee_, chbFarm_})
        w->setEnabled(returnWide);
    farmToggled();
}

void BusinessScreen::farmToggled() {
    const bool year = chbFarm_->isEnabled() && chbFarm_->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblFarmYear_, edFarmYear_, bnFarmYearUp_, bnFarmYearDown_})
        w->setEnabled(year);
}

void BusinessScreen::stepYear(int step) {
    const int typed = static_cast<int>(digitsOf(edFarmYear_));
    const int from = typed >= kFirstFarmYear && typed <= kLastFarmYear ? typed : kUpDownStart - step;
    edFarmYear_->setText(QString::number(std::clamp(from + step, kFirstFarmYear, kLastFarmYear)));
}

void BusinessScreen::showExpenseWay(bool documented) {
    pnlDocumented_->setVisible(documented);
    pnlNorm_->setVisible(!documented);
}

void BusinessScreen::edited(bool& which) {
    if (host().buildingGuard())
        return;
    which = true;
    DocumentChanged();
}

void BusinessScreen::incomeChanged() {
    if (host().buildingGuard())
        return;
    edited(activityEdited_);
    if (!chbDocumented_->isChecked())
        showNorm();
}

void BusinessScreen::showNorm() {
    edStandardExpenses_->setText(groupedAmount(standardExpensesOf(amountOf(edIncome_))));
}

void BusinessScreen::storeActivity(int index) {
    // An activity only looked at keeps what the file holds, whatever the panel would
    // make of it (a lawyer's norm from an older file, say).
    if (!activityEdited_)
        return;
    activityEdited_ = false;
    BusinessActivity& a = document().businessIncomes.get(index);
    a.incomeAmount = amountOf(edIncome_);
    if (chbDocumented_->isChecked()) {
        a.hasDocumentedExpenses = 1;
        a.totalExpenses = amountOf(edTotalExpenses_);
        a.materialExpenses = amountOf(edMaterialExpenses_);
        a.depreciation = amountOf(edDepreciation_);
        a.labourExpenses = amountOf(edLabourExpenses_);
        a.otherExpenses = amountOf(edOtherExpenses_);
    } else {
        a.hasDocumentedExpenses = 0;
        a.standardExpenses = groupedAmountValue(edStandardExpenses_->text());
    }
}

void BusinessScreen::showActivity(int index) {
    ScreenBuildGuard guard(host());
    activityEdited_ = false;
    if (index < 0) {
        for (FieldEdit* f : {edIncome_, edTotalExpenses_, edMaterialExpenses_, edDepreciation_,
                             edLabourExpenses_, edOtherExpenses_})
            f->clear();
        edStandardExpenses_->clear();
        chbDocumented_->setVisible(false);
        showExpenseWay(true);
        return;
    }
    const BusinessActivity& a = document().businessIncomes.get(index);
    const bool choice = mayUseNorm(a.activityKind);
    // Only entrepreneurs and farm heads may take the norm; the others always have
    // documented expenses, whatever an older file says.
    const bool documented = !choice || a.hasDocumentedExpenses != 0;
    chbDocumented_->setChecked(documented);
    chbDocumented_->setVisible(choice);
    showExpenseWay(documented);
    edIncome_->setMoney(a.incomeAmount);
    edTotalExpenses_->setMoney(a.totalExpenses);
    edMaterialExpenses_->setMoney(a.materialExpenses);
    edDepreciation_->setMoney(a.depreciation);
    edLabourExpenses_->setMoney(a.labourExpenses);
    edOtherExpenses_->setMoney(a.otherExpenses);
    edStandardExpenses_->setText(groupedAmount(a.standardExpenses));
}

void BusinessScreen::showFailure(const std::exception& failure) {
    host().asker().ask(this, messageQuestion(QStringLiteral("listFailure"), fromCp1251(failure.what()),
                                             QuestionIcon::Critical));
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
    DocumentChanged();
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
    DocumentChanged();
    activities_->setTitle(activities_->selected(), fromCp1251(activityRowText(a)));
    activityBox_.list->setFocus();
    showActivity(activities_->selected());
}

bool BusinessScreen::activityHoldsEntries() {
    // The last activity takes the return-wide figures with it.
    const auto wideFigures = [this] {
        const std::initializer_list<const FieldEdit*> wide{edAdvancePayments_, edAdjustedBase_,
                                                           edAdjustedTax_, edPatentPayments_, edTradeFee_};
        return std::any_of(wide.begin(), wide.end(),
                           [](const FieldEdit* f) { return !amountOf(f).isZero(); });
    };
    return holdsEntries(activity()) || (activities_->count() == 1 && wideFigures());
}

void BusinessScreen::deleteActivity() {
    DocumentChanged();
    activities_->removeSelected([this](int index) { document().businessIncomes.remove(index); });
    if (activities_->count() > 0)
        return;
    // With no activity the return-wide figures mean nothing: they go back to none.
    {
        ScreenBuildGuard guard(host());
        for (FieldEdit* f :
             {edAdvancePayments_, edAdjustedBase_, edAdjustedTax_, edPatentPayments_, edTradeFee_})
            f->setText(QStringLiteral("0"));
        chbFarm_->setChecked(false);
    }
    wideEdited_ = true;
    setFieldsEnabled(false, false);
}

void BusinessScreen::SaveData() {
    activities_->storeSelected();
    if (!wideEdited_)
        return;
    Declaration& d = document();
    d.actualAdvancePayments = wholeRoublesOf(edAdvancePayments_, d.actualAdvancePayments);
    d.adjustedBase = amountOf(edAdjustedBase_);
    d.adjustedTax = wholeRoublesOf(edAdjustedTax_, d.adjustedTax);
    d.patentPayments = wholeRoublesOf(edPatentPayments_, d.patentPayments);
    d.tradeFee = wholeRoublesOf(edTradeFee_, d.tradeFee);
    d.isFarmHousehold = chbFarm_->isChecked() ? 1 : 0;
    const int year = static_cast<int>(digitsOf(edFarmYear_));
    const auto founded = edFarmYear_->text().isEmpty() ? std::nullopt : DateValue::fromYmd(year, 1, 1);
    if (founded)
        d.farmFoundingDate = *founded;
    else if (edFarmYear_->text().isEmpty())
        d.farmFoundingDate = Declaration::kDefaultFarmFoundingDate;
}

std::uint16_t BusinessScreen::CheckData() {
    AskerCheckDialog dialog(host().asker(), this);
    return CheckBusinessIncomes(document(), dialog);
}

void BusinessScreen::SetFocusToElement(std::uint16_t code) {
    static const std::map<std::uint16_t, FieldEdit* BusinessScreen::*> kFigureFields = {
        {FieldCode::kActualAdvances, &BusinessScreen::edAdvancePayments_},
        {FieldCode::kAdjustedTax, &BusinessScreen::edAdjustedTax_},
        {FieldCode::kPatentPayments, &BusinessScreen::edPatentPayments_},
        {FieldCode::kTradeFee, &BusinessScreen::edTradeFee_},
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

void BusinessScreen::SelectFirstEntry() {
    SetFocusToElement(1);
}

} // namespace kv
