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
    FieldEdit* edit = field(parent, name, FieldKind::edtCurrency, 8, 2);
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
    connect(chbGranted_, &QCheckBox::clicked, this, &PropertyDeductionScreen::grantedClicked);
    auto* objects = new RecordListController(lvObjects_, bnAddObject_, bnDeleteObject_, bnEditObject_,
                                             host.asker(), this);
    objects->enterEdits = false;
    objects->onAdd = [this] { addObject(); };
    objects->onEdit = [this] { editObject(); };
    objects->onRemove = [this] { deleteObject(); };
    connect(edPriorYears_, &FieldEdit::changed, this, [this] { DocumentChanged(); });
    connect(edPriorInterest_, &FieldEdit::changed, this, [this] { DocumentChanged(); });
}

void PropertyDeductionScreen::buildWidgets() {
    chbGranted_ = new QCheckBox(QStringLiteral("Предоставить имущественный налоговый вычет"), this);
    chbGranted_->setObjectName(QStringLiteral("chbConstructionDeduct"));

    gbObjects_ = new QGroupBox(QStringLiteral("Сведения об объектах"), this);
    gbObjects_->setObjectName(QStringLiteral("gbObjects"));
    lvObjects_ = makeList(gbObjects_, "lvObjects", QStringLiteral("Список объектов"),
                          {QStringLiteral("Список объектов")});
    bnAddObject_ =
        button(gbObjects_, "bnAddObject", QStringLiteral("Добавить"), QStringLiteral("Добавить объект"));
    bnDeleteObject_ =
        button(gbObjects_, "bnDeleteObject", QStringLiteral("Удалить"), QStringLiteral("Удалить объект"));
    bnEditObject_ = button(gbObjects_, "bnEditObject", QStringLiteral("Редактировать"),
                           QStringLiteral("Редактировать объект"));
    objectActions_ = new ListActions(lvObjects_, bnDeleteObject_, {bnEditObject_});
    objectActions_->allowed = [this] { return chbGranted_->isChecked(); };
    auto* objectButtons = new QVBoxLayout;
    objectButtons->addWidget(bnAddObject_);
    objectButtons->addWidget(bnDeleteObject_);
    objectButtons->addWidget(bnEditObject_);
    objectButtons->addStretch(1);
    auto* objectLayout = new QHBoxLayout(gbObjects_);
    objectLayout->addWidget(lvObjects_, 1);
    objectLayout->addLayout(objectButtons);

    gbCalc_ = new QGroupBox(QStringLiteral("Расчет имущественного вычета"), this);
    gbCalc_->setObjectName(QStringLiteral("gbCalc"));
    auto* purchase = new QGroupBox(QStringLiteral("Данные о покупке (строительстве) объектов"), gbCalc_);
    purchase->setObjectName(QStringLiteral("gbPurchase"));
    edTotalCost_ = totalField(purchase, "edTotalCost");
    lblPriorYears_ = new QLabel(QStringLiteral("Вычет за предыдущие годы"), purchase);
    edPriorYears_ = priorField(purchase, "edPriorYears");
    auto* purchaseLayout = new QGridLayout(purchase);
    purchaseLayout->addWidget(
        wrapped(QStringLiteral("Общая стоимость всех объектов (с учетом ограничений вычета)"), purchase), 0,
        0);
    purchaseLayout->addWidget(edTotalCost_, 0, 1);
    purchaseLayout->addWidget(lblPriorYears_, 1, 0);
    purchaseLayout->addWidget(edPriorYears_, 1, 1);
    purchaseLayout->setColumnStretch(0, 1);

    auto* interest = new QGroupBox(QStringLiteral("Данные о процентах по кредитам"), gbCalc_);
    interest->setObjectName(QStringLiteral("gbInterest"));
    edTotalInterest_ = totalField(interest, "edTotalInterest");
    lblPriorInterest_ = new QLabel(QStringLiteral("Вычет за предыдущие годы"), interest);
    edPriorInterest_ = priorField(interest, "edPriorInterest");
    auto* interestLayout = new QGridLayout(interest);
    interestLayout->addWidget(wrapped(QStringLiteral("Проценты по кредитам за все годы"), interest), 0, 0);
    interestLayout->addWidget(edTotalInterest_, 0, 1);
    interestLayout->addWidget(lblPriorInterest_, 1, 0);
    interestLayout->addWidget(edPriorInterest_, 1, 1);
    interestLayout->setColumnStretch(0, 1);

    // Granted by the employer this year: the computation takes these from the
    // agents' deductions of the 13% sources, so the fields stay hidden.
    auto* agent = new QWidget(gbCalc_);
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

    auto* calcLayout = new QGridLayout(gbCalc_);
    calcLayout->addWidget(purchase, 0, 0);
    calcLayout->addWidget(interest, 0, 1);
    calcLayout->addWidget(agent, 1, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chbGranted_);
    layout->addWidget(gbObjects_, 1);
    layout->addWidget(gbCalc_);
    layout->addStretch(0);
}

PropertyDeduction& PropertyDeductionScreen::deduction() {
    return document().propertyDeductions;
}

void PropertyDeductionScreen::load() {
    const PropertyDeduction& d = deduction();
    const bool granted = d.granted != 0;
    chbGranted_->setChecked(granted);
    if (granted) {
        for (const HousingObject& o : d.objects)
            lvObjects_->addTopLevelItem(new QTreeWidgetItem(QStringList{rowTitle(o)}));
    }
    setObjectControls(granted);
    const bool listed = granted && !d.objects.empty();
    gbCalc_->setEnabled(listed);
    if (listed) {
        showTotals();
        const PriorYearsFields prior = priorYearsFields(d.objects);
        if (prior.purchase && !d.priorYearsDeduction.isZero())
            edPriorYears_->setMoney(d.priorYearsDeduction);
        if (prior.interest && !d.priorYearsInterestDeduction.isZero())
            edPriorInterest_->setMoney(d.priorYearsInterestDeduction);
    }
    bnAddObject_->setEnabled(granted && objectAddEnabled(d.objects));
    applyPriorYearsRule();
}

void PropertyDeductionScreen::setObjectControls(bool on) {
    gbObjects_->setEnabled(on);
    lvObjects_->setEnabled(on);
    bnAddObject_->setEnabled(on);
    objectActions_->refresh();
}

void PropertyDeductionScreen::grantedClicked(bool checked) {
    const bool entered = !deduction().objects.empty() || !edPriorYears_->text().isEmpty() ||
                         !edPriorInterest_->text().isEmpty();
    if (!checked && !untickConfirmed(host().asker(), this, chbGranted_, entered))
        return;
    DocumentChanged();
    setObjectControls(checked);
    if (checked) {
        gbCalc_->setEnabled(lvObjects_->topLevelItemCount() > 0);
        applyAddRule();
        return;
    }
    gbCalc_->setEnabled(false);
    deduction().objects.clear();
    lvObjects_->clear();
    showTotals();
    applyPriorYearsRule(); // with no object there is no earlier year to state
}

void PropertyDeductionScreen::showTotals() {
    const PropertyTotals totals = propertyTotals(deduction().objects);
    edTotalCost_->setText(groupedAmount(totals.cost));
    edTotalInterest_->setText(groupedAmount(totals.interest));
}

void PropertyDeductionScreen::applyAddRule() {
    bnAddObject_->setEnabled(objectAddEnabled(deduction().objects));
}

void PropertyDeductionScreen::applyPriorYearsRule() {
    const PriorYearsFields prior = priorYearsFields(deduction().objects);
    const auto apply = [](QLabel* label, FieldEdit* edit, bool on) {
        label->setEnabled(on);
        edit->setEnabled(on);
        if (!on)
            edit->clear();
    };
    apply(lblPriorYears_, edPriorYears_, prior.purchase);
    apply(lblPriorInterest_, edPriorInterest_, prior.interest);
}

void PropertyDeductionScreen::addObject() {
    if (!bnAddObject_->isEnabled())
        return;
    RecordList<HousingObject>& objects = deduction().objects;
    HousingObjectDialog dialog(host().asker(), HousingObject{}, setupForNewObject(objects), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const HousingObject& entered = dialog.object();
    try {
        objects.add(entered);
    } catch (const std::exception& failure) {
        host().asker().ask(this, messageQuestion(QStringLiteral("listFailure"), fromCp1251(failure.what()),
                                                 QuestionIcon::Critical));
        return;
    }
    DocumentChanged();
    for (HousingObject& o : objects)
        o.isPensioner = entered.isPensioner;
    showTotals();
    lvObjects_->addTopLevelItem(new QTreeWidgetItem(QStringList{rowTitle(entered)}));
    selectRow(lvObjects_, lvObjects_->topLevelItemCount() - 1);
    gbCalc_->setEnabled(true);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::editObject() {
    const int index = currentRow(lvObjects_);
    if (index < 0 || !chbGranted_->isChecked())
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
    DocumentChanged();
    showTotals();
    lvObjects_->topLevelItem(index)->setText(0, rowTitle(edited));
    selectRow(lvObjects_, index);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::deleteObject() {
    const int index = currentRow(lvObjects_);
    if (index < 0 || !chbGranted_->isChecked())
        return;
    DocumentChanged();
    deduction().objects.remove(index);
    delete lvObjects_->takeTopLevelItem(index);
    showTotals();
    const int next = rowAfterRemoval(index, lvObjects_->topLevelItemCount());
    if (next >= 0)
        selectRow(lvObjects_, next);
    else
        gbCalc_->setEnabled(false);
    applyAddRule();
    applyPriorYearsRule();
}

void PropertyDeductionScreen::SaveData() {
    PropertyDeduction& d = deduction();
    d.granted = chbGranted_->isChecked() ? 1 : 0;
    if (d.granted) {
        d.priorYearsDeduction = amountOf(edPriorYears_);
        d.priorYearsInterestDeduction = amountOf(edPriorInterest_);
    }
}

std::uint16_t PropertyDeductionScreen::CheckData() {
    return 0;
}

void PropertyDeductionScreen::SetFocusToElement(std::uint16_t) {}

} // namespace kv
