#include "screens/PropertyDeductionScreen.h"

#include "model/Declaration.h"
#include "screens/HousingObjectDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/PropertyRules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

// Amounts of the deduction are limited to 8 whole digits.
FieldEdit* priorField(QWidget* parent, const char* name) {
    FieldEdit* edit = field(parent, name, FieldKind::Money, 8, 2);
    edit->setMaximumWidth(150);
    return edit;
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// The same whether the object was just entered or read from a file.
QString rowTitle(const HousingObject& o) {
    return fromCp1251(objectShortName(o.objectKind)) + QLatin1Char(' ') + fromCp1251(o.objectNumber);
}

} // namespace

PropertyDeductionScreen::PropertyDeductionScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    load();
    connect(grantedBox_, &QCheckBox::clicked, this, &PropertyDeductionScreen::grantedClicked);
    auto* objects = new RecordListController(objectsList_, addObjectButton_, deleteObjectButton_,
                                             editObjectButton_, host.asker(), this);
    objects->enterEdits = false;
    objects->onAdd = [this] { addObject(); };
    objects->onEdit = [this] { editObject(); };
    objects->onRemove = [this] { deleteObject(); };
    connect(priorYearsEdit_, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    connect(priorInterestEdit_, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
}

void PropertyDeductionScreen::buildWidgets() {
    grantedBox_ = new QCheckBox(QStringLiteral("Предоставить имущественный налоговый вычет"), this);
    grantedBox_->setObjectName(QStringLiteral("chbConstructionDeduct"));

    objectsGroup_ = new QGroupBox(QStringLiteral("Сведения об объектах"), this);
    objectsGroup_->setObjectName(QStringLiteral("gbObjects"));
    objectsList_ = makeList(objectsGroup_, "lvObjects", QStringLiteral("Список объектов"),
                            {QStringLiteral("Список объектов")});
    addObjectButton_ =
        button(objectsGroup_, "bnAddObject", QStringLiteral("Добавить"), QStringLiteral("Добавить объект"));
    deleteObjectButton_ =
        button(objectsGroup_, "bnDeleteObject", QStringLiteral("Удалить"), QStringLiteral("Удалить объект"));
    editObjectButton_ = button(objectsGroup_, "bnEditObject", QStringLiteral("Редактировать"),
                               QStringLiteral("Редактировать объект"));
    objectActions_ = new ListActions(objectsList_, deleteObjectButton_, {editObjectButton_});
    objectActions_->allowed = [this] { return grantedBox_->isChecked(); };
    auto* objectButtons = new QVBoxLayout;
    objectButtons->addWidget(addObjectButton_);
    objectButtons->addWidget(deleteObjectButton_);
    objectButtons->addWidget(editObjectButton_);
    objectButtons->addStretch(1);
    auto* objectLayout = new QHBoxLayout(objectsGroup_);
    objectLayout->addWidget(objectsList_, 1);
    objectLayout->addLayout(objectButtons);

    calculationGroup_ = new QGroupBox(QStringLiteral("Расчет имущественного вычета"), this);
    calculationGroup_->setObjectName(QStringLiteral("gbCalc"));
    auto* purchase =
        new QGroupBox(QStringLiteral("Данные о покупке (строительстве) объектов"), calculationGroup_);
    purchase->setObjectName(QStringLiteral("gbPurchase"));
    totalCostEdit_ = totalField(purchase, "edTotalCost");
    priorYearsLabel_ = new QLabel(QStringLiteral("Вычет за предыдущие годы"), purchase);
    priorYearsEdit_ = priorField(purchase, "edPriorYears");
    auto* purchaseLayout = new QGridLayout(purchase);
    purchaseLayout->addWidget(
        wrapped(QStringLiteral("Общая стоимость всех объектов (с учетом ограничений вычета)"), purchase), 0,
        0);
    purchaseLayout->addWidget(totalCostEdit_, 0, 1);
    purchaseLayout->addWidget(priorYearsLabel_, 1, 0);
    purchaseLayout->addWidget(priorYearsEdit_, 1, 1);
    purchaseLayout->setColumnStretch(0, 1);

    auto* interest = new QGroupBox(QStringLiteral("Данные о процентах по кредитам"), calculationGroup_);
    interest->setObjectName(QStringLiteral("gbInterest"));
    totalInterestEdit_ = totalField(interest, "edTotalInterest");
    priorInterestLabel_ = new QLabel(QStringLiteral("Вычет за предыдущие годы"), interest);
    priorInterestEdit_ = priorField(interest, "edPriorInterest");
    auto* interestLayout = new QGridLayout(interest);
    interestLayout->addWidget(wrapped(QStringLiteral("Проценты по кредитам за все годы"), interest), 0, 0);
    interestLayout->addWidget(totalInterestEdit_, 0, 1);
    interestLayout->addWidget(priorInterestLabel_, 1, 0);
    interestLayout->addWidget(priorInterestEdit_, 1, 1);
    interestLayout->setColumnStretch(0, 1);

    // Granted by the employer this year: the computation takes these from the
    // agents' deductions of the 13% sources, so the fields stay hidden.
    auto* agent = new QWidget(calculationGroup_);
    agent->setObjectName(QStringLiteral("pnlAgentDeductions"));
    auto* agentLayout = new QGridLayout(agent);
    auto* agent311 = priorField(agent, "edAgent311");
    auto* agent312 = priorField(agent, "edAgent312");
    agentLayout->addWidget(
        new QLabel(QStringLiteral("Вычет у налогового агента в отчетном году (код 311)"), agent), 0, 0);
    agentLayout->addWidget(agent311, 0, 1);
    agentLayout->addWidget(
        new QLabel(QStringLiteral("Вычет у налогового агента в отчетном году (код 312)"), agent), 1, 0);
    agentLayout->addWidget(agent312, 1, 1);
    agent311->setToolTip(QStringLiteral("т.е. у работодателя"));
    agent312->setToolTip(QStringLiteral("т.е. у работодателя"));
    agent->hide();

    auto* calcLayout = new QGridLayout(calculationGroup_);
    calcLayout->addWidget(purchase, 0, 0);
    calcLayout->addWidget(interest, 0, 1);
    calcLayout->addWidget(agent, 1, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grantedBox_);
    layout->addWidget(objectsGroup_, 1);
    layout->addWidget(calculationGroup_);
    layout->addStretch(0);
}

PropertyDeduction& PropertyDeductionScreen::deduction() {
    return document().propertyDeductions;
}

void PropertyDeductionScreen::load() {
    const PropertyDeduction& d = deduction();
    const bool granted = d.granted != 0;
    grantedBox_->setChecked(granted);
    if (granted) {
        for (const HousingObject& o : d.objects)
            objectsList_->addTopLevelItem(new QTreeWidgetItem(QStringList{rowTitle(o)}));
    }
    setObjectControls(granted);
    const bool listed = granted && !d.objects.empty();
    calculationGroup_->setEnabled(listed);
    if (listed) {
        showTotals();
        const PriorYearsFields prior = priorYearsFields(d.objects);
        if (prior.purchase && !d.priorYearsDeduction.isZero())
            priorYearsEdit_->setMoney(d.priorYearsDeduction);
        if (prior.interest && !d.priorYearsInterestDeduction.isZero())
            priorInterestEdit_->setMoney(d.priorYearsInterestDeduction);
    }
    addObjectButton_->setEnabled(granted && objectAddEnabled(d.objects));
    applyPriorYearsRule();
}

void PropertyDeductionScreen::setObjectControls(bool on) {
    objectsGroup_->setEnabled(on);
    objectsList_->setEnabled(on);
    addObjectButton_->setEnabled(on);
    objectActions_->refresh();
}

void PropertyDeductionScreen::grantedClicked(bool checked) {
    const bool entered = !deduction().objects.empty() || !priorYearsEdit_->text().isEmpty() ||
                         !priorInterestEdit_->text().isEmpty();
    if (!checked && !untickConfirmed(host().asker(), this, grantedBox_, entered))
        return;
    markDocumentChanged();
    setObjectControls(checked);
    if (checked) {
        calculationGroup_->setEnabled(objectsList_->topLevelItemCount() > 0);
        applyAddRule();
        return;
    }
    calculationGroup_->setEnabled(false);
    deduction().objects.clear();
    objectsList_->clear();
    showTotals();
    applyPriorYearsRule(); // with no object there is no earlier year to state
}

void PropertyDeductionScreen::showTotals() {
    const PropertyTotals totals = propertyTotals(deduction().objects);
    totalCostEdit_->setText(groupedAmount(totals.cost));
    totalInterestEdit_->setText(groupedAmount(totals.interest));
}

void PropertyDeductionScreen::applyAddRule() {
    addObjectButton_->setEnabled(objectAddEnabled(deduction().objects));
}

void PropertyDeductionScreen::applyPriorYearsRule() {
    const PriorYearsFields prior = priorYearsFields(deduction().objects);
    const auto apply = [](QLabel* label, FieldEdit* edit, bool on) {
        label->setEnabled(on);
        edit->setEnabled(on);
        if (!on)
            edit->clear();
    };
    apply(priorYearsLabel_, priorYearsEdit_, prior.purchase);
    apply(priorInterestLabel_, priorInterestEdit_, prior.interest);
}

void PropertyDeductionScreen::addObject() {
    if (!addObjectButton_->isEnabled())
        return;
    RecordList<HousingObject>& objects = deduction().objects;
    HousingObjectDialog dialog(host().asker(), HousingObject{}, setupForNewObject(objects), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const HousingObject& entered = dialog.object();
    try {
        objects.add(entered);
    } catch (const std::exception& failure) {
        host().asker().ask(this, messageQuestion(QStringLiteral("listFailure"), failureText(failure),
                                                 QuestionIcon::Critical));
        return;
    }
    markDocumentChanged();
    for (HousingObject& o : objects)
        o.isPensioner = entered.isPensioner;
    showTotals();
    objectsList_->addTopLevelItem(new QTreeWidgetItem(QStringList{rowTitle(entered)}));
    selectRow(objectsList_, objectsList_->topLevelItemCount() - 1);
    calculationGroup_->setEnabled(true);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::editObject() {
    const int index = currentRow(objectsList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    RecordList<HousingObject>& objects = deduction().objects;
    HousingObjectDialog dialog(host().asker(), objects.get(index), setupForObject(objects, index), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const HousingObject& edited = dialog.object();
    for (HousingObject& o : objects)
        o.isPensioner = edited.isPensioner;
    objects.set(index, edited);
    // A changed object changes the return, so the return must be saved again.
    markDocumentChanged();
    showTotals();
    objectsList_->topLevelItem(index)->setText(0, rowTitle(edited));
    selectRow(objectsList_, index);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::deleteObject() {
    const int index = currentRow(objectsList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    markDocumentChanged();
    deduction().objects.remove(index);
    delete objectsList_->takeTopLevelItem(index);
    showTotals();
    const int next = rowAfterRemoval(index, objectsList_->topLevelItemCount());
    if (next >= 0)
        selectRow(objectsList_, next);
    else
        calculationGroup_->setEnabled(false);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::saveData() {
    PropertyDeduction& d = deduction();
    d.granted = grantedBox_->isChecked() ? 1 : 0;
    if (d.granted) {
        d.priorYearsDeduction = amountOf(priorYearsEdit_);
        d.priorYearsInterestDeduction = amountOf(priorInterestEdit_);
    }
}

std::uint16_t PropertyDeductionScreen::checkData() {
    return 0;
}

void PropertyDeductionScreen::setFocusToElement(std::uint16_t) {}

} // namespace kv
