#include "screens/HousingObjectDialog.h"

#include "checks/CheckRun.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

namespace {

const QStringList kSaleKinds = {
    QStringLiteral("Жилой дом"),
    QStringLiteral("Квартира"),
    QStringLiteral("Комната"),
    QStringLiteral("Доля (доли) в жилом доме, квартире, комнате"),
    QStringLiteral("Земельный участок для индивидуального жилищного строительства"),
    QStringLiteral("Земельный участок, на котором расположен приобретенный жилой дом"),
    QStringLiteral("Жилой дом с земельным участком"),
    QStringLiteral("Доля (доли) в земле"),
};
// An investment contract buys a dwelling, never land.
const QStringList kInvestmentKinds = {
    QStringLiteral("Жилой дом"),
    QStringLiteral("Квартира"),
    QStringLiteral("Комната"),
    QStringLiteral("Доля (доли) в доме, квартире, комнате"),
};
constexpr int kHouse = 1;
constexpr int kFirstLandKind = 5;
constexpr int kNoNumber = 4;

const QDate kUnusedDate(2019, 1, 1);
const QDate kEarliestLandDate(1990, 1, 1);

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = named(new QComboBox(parent), name);
    box->addItems(items);
    box->setPlaceholderText(QStringLiteral(" "));
    box->setCurrentIndex(-1);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(20);
    return box;
}

// A 1-based choice of a list, 0 for none.
std::int32_t chosen(const QComboBox* box) {
    return box->currentIndex() + 1;
}

void choose(QComboBox* box, std::int32_t position) {
    box->setCurrentIndex(position >= 1 && position <= box->count() ? position - 1 : -1);
}

QString shareText(std::int32_t part) {
    return QString::number(part > 0 ? part : 1);
}

} // namespace

HousingObjectDialog::HousingObjectDialog(Asker& asker, const HousingObject& object,
                                         const ObjectDialogSetup& setup, QWidget* parent)
    : QDialog(parent), asker_(asker), object_(object), furtherObject_(setup.furtherObject) {
    setObjectName(QStringLiteral("TfmInputConstruction"));
    setWindowTitle(QStringLiteral("Данные объекта"));
    buildWidgets();
    load(setup);

    connect(rbSale_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            contractChosen();
    });
    connect(rbInvest_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            contractChosen();
    });
    connect(cbObjectKind_, &QComboBox::currentIndexChanged, this, &HousingObjectDialog::kindChosen);
    connect(cbNumberKind_, &QComboBox::currentIndexChanged, this, &HousingObjectDialog::numberKindChosen);
    connect(deRightDate_, &DateEdit::dateChanged, this, &HousingObjectDialog::datesChanged);
    connect(deTransferDate_, &DateEdit::dateChanged, this, &HousingObjectDialog::datesChanged);
    connect(chbPensioner_, &QCheckBox::toggled, this, &HousingObjectDialog::pensionerToggled);
    arrangeDialogForKeyboard(this);
}

void HousingObjectDialog::buildWidgets() {
    auto* group = new QGroupBox(QStringLiteral("Сведения об объекте"), this);
    group->setObjectName(QStringLiteral("gbObject"));

    cbObjectKind_ = choice(group, "cbObjectKind", kSaleKinds);
    cbHouseMethod_ = choice(
        group, "cbHouseMethod",
        {QStringLiteral("Новое строительство жилого дома"), QStringLiteral("Приобретение жилого дома")});
    rbSale_ = new QRadioButton(QStringLiteral("договор купли-продажи"), group);
    rbSale_->setObjectName(QStringLiteral("rbSale"));
    rbSale_->setToolTip(QStringLiteral("а также самостоятельное строительство"));
    rbInvest_ = new QRadioButton(QStringLiteral("инвестирование"), group);
    rbInvest_->setObjectName(QStringLiteral("rbInvest"));
    auto* contractGroup = new QButtonGroup(this);
    contractGroup->addButton(rbSale_);
    contractGroup->addButton(rbInvest_);
    cbTaxpayerSign_ =
        choice(group, "cbTaxpayerSign",
               {QStringLiteral("Собственник объекта"), QStringLiteral("Супруг(а) собственника объекта"),
                QStringLiteral("Родитель несовершеннолетнего собственника объекта"),
                QStringLiteral("Объект в общей долевой собственности заявителя и несовершеннолетнего "
                               "ребенка"),
                QStringLiteral("Объект в общей долевой собственности супруга(и) заявителя и "
                               "несовершеннолетнего ребенка")});
    cbNumberKind_ = choice(group, "cbNumberKind",
                           {QStringLiteral("Кадастровый номер"), QStringLiteral("Условный номер"),
                            QStringLiteral("Инвентарный номер"), QStringLiteral("Номер отсутствует")});
    edObjectNumber_ = field(group, "edObjectNumber", FieldKind::edtNone, 100);
    edObjectAddress_ = field(group, "edObjectAddress", FieldKind::edtNone, 512);

    const QDate latest(2019, 12, 31);
    deRightDate_ = makeDateEdit(group, "deRightDate", kEarliestLandDate, latest);
    deLandDate_ = makeDateEdit(group, "deLandDate", kEarliestLandDate, latest);
    deTransferDate_ = makeDateEdit(group, "deTransferDate", kEarliestLandDate, latest);
    const QString saleHint = QStringLiteral("указывается при приобретении по договору купли-продажи");
    auto* lblRight = new QLabel(
        QStringLiteral("Дата регистрации права собственности на жилой дом, квартиру, комнату"), group);
    auto* lblLand =
        new QLabel(QStringLiteral("Дата регистрации права собственности на земельный участок"), group);
    auto* lblTransfer =
        new QLabel(QStringLiteral("Дата акта о передаче квартиры, комнаты или доли в них"), group);
    for (QWidget* w : std::initializer_list<QWidget*>{lblRight, deRightDate_, lblLand, deLandDate_})
        w->setToolTip(saleHint);
    // The names that a fault of the date is reported under.
    deRightDate_->setAccessibleName(lblRight->text());
    deLandDate_->setAccessibleName(lblLand->text());
    deTransferDate_->setAccessibleName(lblTransfer->text());
    for (QWidget* w : std::initializer_list<QWidget*>{lblTransfer, deTransferDate_})
        w->setToolTip(QStringLiteral("указывается при приобретении по договору инвестирования"));

    lblShare_ = new QLabel(QStringLiteral("Доля"), group);
    edShareNum_ = field(group, "edShareNum", FieldKind::edtDigital, 6);
    edShareDen_ = field(group, "edShareDen", FieldKind::edtDigital, 6);
    edShareNum_->setMaximumWidth(70);
    edShareDen_->setMaximumWidth(70);
    edObjectCost_ = field(group, "edObjectCost", FieldKind::edtCurrency, 8, 2);
    edObjectCost_->setMaximumWidth(130);
    edInterest_ = field(group, "edInterest", FieldKind::edtCurrency, 8, 2);
    edInterest_->setMaximumWidth(130);
    auto* lblInterest = new QLabel(QStringLiteral("Проценты по кредитам за все годы"), group);
    lblInterest->setToolTip(QStringLiteral("Заполняются только по одному объекту"));
    edInterest_->setToolTip(lblInterest->toolTip());
    chbPensioner_ = new QCheckBox(QStringLiteral("Являюсь пенсионером"), group);
    chbPensioner_->setObjectName(QStringLiteral("chbPensioner"));

    FormGrid form(group);
    form.addRow(QStringLiteral("Наименование объекта"), cbObjectKind_);
    form.addRow(QStringLiteral("Способ приобретения дома"), cbHouseMethod_);
    auto* contract = new QWidget(group);
    auto* contractRow = new QHBoxLayout(contract);
    contractRow->setContentsMargins(0, 0, 0, 0);
    contractRow->addWidget(rbSale_);
    contractRow->addWidget(rbInvest_);
    contractRow->addStretch(1);
    form.addRow(QStringLiteral("Способ приобретения"), contract);
    form.addRow(QStringLiteral("Признак налогоплательщика"), cbTaxpayerSign_);
    form.addRow(QStringLiteral("Код номера объекта"), cbNumberKind_);
    form.addRow(QStringLiteral("Номер объекта"), edObjectNumber_);
    form.addRow(QStringLiteral("Место нахождения"), edObjectAddress_);
    form.addRow(lblRight, deRightDate_);
    form.addRow(lblLand, deLandDate_);
    form.addRow(lblTransfer, deTransferDate_);
    auto* share = new QWidget(group);
    auto* shareRow = new QHBoxLayout(share);
    shareRow->setContentsMargins(0, 0, 0, 0);
    shareRow->addWidget(edShareNum_);
    shareRow->addWidget(new QLabel(QStringLiteral("/"), share));
    shareRow->addWidget(edShareDen_);
    shareRow->addStretch(1);
    form.addRow(lblShare_, share);
    form.addRow(QStringLiteral("Стоимость объекта (доли)"), edObjectCost_);
    form.addRow(lblInterest, edInterest_);
    form.layout()->addWidget(chbPensioner_, form.nextRow(), 1);
    form.layout()->setColumnStretch(1, 1);
    form.layout()->setColumnMinimumWidth(1, 320);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void HousingObjectDialog::load(const ObjectDialogSetup& setup) {
    const QDate earliest = toQDate(earliestObjectDate(furtherObject_));
    const QDate latest = toQDate(latestObjectDate(setup.pensioner));
    deRightDate_->setDateRange(earliest, latest);
    deTransferDate_->setDateRange(earliest, latest);
    deLandDate_->setDateRange(kEarliestLandDate, latest);

    const HousingObject& o = object_;
    (o.byInvestmentContract ? rbInvest_ : rbSale_)->setChecked(true);
    if (o.byInvestmentContract) {
        cbObjectKind_->clear();
        cbObjectKind_->addItems(kInvestmentKinds);
    }
    choose(cbObjectKind_, o.objectKind);
    choose(cbHouseMethod_, o.houseAcquisitionMethod);
    choose(cbTaxpayerSign_, o.taxpayerSign);
    choose(cbNumberKind_, o.numberKind);
    edObjectNumber_->setText(fromCp1251(o.objectNumber));
    edObjectAddress_->setText(fromCp1251(o.objectAddress));
    showStoredDate(deRightDate_, o.rightRegistrationDate);
    showStoredDate(deLandDate_, o.landRegistrationDate);
    showStoredDate(deTransferDate_, o.transferActDate);
    edShareNum_->setText(shareText(o.shareNumerator));
    edShareDen_->setText(shareText(o.shareDenominator));
    if (!o.objectCost.isZero())
        edObjectCost_->setMoney(o.objectCost);
    if (!o.mortgageInterest.isZero())
        edInterest_->setMoney(o.mortgageInterest);
    chbPensioner_->setChecked(setup.pensioner);

    contractChosen();
    numberKindChosen();
    datesChanged();
    edObjectCost_->setEnabled(setup.costEnabled);
    edInterest_->setEnabled(setup.interestEnabled);
}

void HousingObjectDialog::contractChosen() {
    const bool sale = rbSale_->isChecked();
    const int kind = chosen(cbObjectKind_);
    {
        // The list is rebuilt for the contract; the chosen position is kept where it still exists.
        QSignalBlocker block(cbObjectKind_);
        cbObjectKind_->clear();
        cbObjectKind_->addItems(sale ? kSaleKinds : kInvestmentKinds);
        choose(cbObjectKind_, kind);
    }
    if (sale) {
        deRightDate_->setEnabled(true);
        deTransferDate_->setEnabled(false);
        deTransferDate_->setDate(kUnusedDate);
    } else {
        deRightDate_->setEnabled(false);
        deRightDate_->setDate(kUnusedDate);
        deLandDate_->setDate(kUnusedDate);
        landDateSet_ = true;
        deTransferDate_->setEnabled(true);
    }
    kindChosen();
    datesChanged();
}

void HousingObjectDialog::kindChosen() {
    const int kind = chosen(cbObjectKind_);
    const bool land = rbSale_->isChecked() && kind >= kFirstLandKind;
    deLandDate_->setEnabled(land);
    if (land)
        landDateSet_ = true;
    if (kind == kHouse) {
        cbHouseMethod_->setEnabled(true);
    } else {
        cbHouseMethod_->setCurrentIndex(-1);
        cbHouseMethod_->setEnabled(false);
    }
}

void HousingObjectDialog::numberKindChosen() {
    const int kind = chosen(cbNumberKind_);
    const bool number = kind != 0 && kind != kNoNumber;
    const bool address = kind != 0;
    edObjectNumber_->setEnabled(number);
    if (!number)
        edObjectNumber_->clear();
    edObjectAddress_->setEnabled(address);
    if (!address)
        edObjectAddress_->clear();
}

void HousingObjectDialog::datesChanged() {
    const bool share = shareApplies(toDateValue(deRightDate_->date()), toDateValue(deTransferDate_->date()));
    lblShare_->setEnabled(share);
    edShareNum_->setEnabled(share);
    edShareDen_->setEnabled(share);
    // The share limits the deduction only for purchases before 2014.
    if (!share) {
        edShareNum_->setText(QStringLiteral("1"));
        edShareDen_->setText(QStringLiteral("1"));
    }
}

void HousingObjectDialog::pensionerToggled(bool checked) {
    // A pensioner may claim the deduction for purchases up to three years later.
    const QDate latest = toQDate(latestObjectDate(checked));
    deRightDate_->setMaximumDate(latest);
    deTransferDate_->setMaximumDate(latest);
    deLandDate_->setMaximumDate(latest);
}

void HousingObjectDialog::goToElement(ObjectElement element) {
    switch (element) {
    case kObjectKindElement:
        cbObjectKind_->setFocus();
        break;
    case kObjectHouseMethodElement:
        cbHouseMethod_->setFocus();
        break;
    case kObjectTaxpayerSignElement:
        cbTaxpayerSign_->setFocus();
        break;
    case kObjectNumberKindElement:
        cbNumberKind_->setFocus();
        break;
    case kObjectNumberElement:
        edObjectNumber_->setFocus();
        break;
    case kObjectAddressElement:
        edObjectAddress_->setFocus();
        break;
    }
}

void HousingObjectDialog::accept() {
    // An impossible or out-of-range date in use is not stored: the person corrects it first.
    for (DateEdit* date : {deRightDate_, deLandDate_, deTransferDate_}) {
        if (!date->isEnabled() || date->problem().isEmpty())
            continue;
        CheckQuestion check;
        check.message = toCp1251(date->accessibleName() + QStringLiteral(": ") + date->problem());
        check.skipEnabled = false;
        check.skipAllEnabled = false;
        Question question = checkQuestion(check);
        question.title = fromCp1251(objectCheckTitle());
        asker_.ask(this, question);
        date->setFocus();
        return;
    }
    ObjectDialogState state;
    state.kind = chosen(cbObjectKind_);
    state.houseMethodEnabled = cbHouseMethod_->isEnabled();
    state.houseMethod = chosen(cbHouseMethod_);
    state.taxpayerSign = chosen(cbTaxpayerSign_);
    state.numberKind = chosen(cbNumberKind_);
    state.number = toCp1251(edObjectNumber_->text());
    state.address = toCp1251(edObjectAddress_->text());
    // None of these faults may be skipped: an object without them cannot be filed.
    AskerCheckDialog dialog(asker_, this);
    CheckRun run(dialog, {});
    run.windowTitle(objectCheckTitle()).offerSkip(false).offerSkipAll(false);
    for (const ObjectFault& fault : objectDialogFaults(state))
        run.fault(fault.message, fault.element);
    if (run.result() != 0)
        goToElement(static_cast<ObjectElement>(run.result()));
    if (run.shown())
        return;

    HousingObject& o = object_;
    o.objectKind = state.kind;
    o.houseAcquisitionMethod = state.houseMethod;
    o.byInvestmentContract = rbInvest_->isChecked() ? 1 : 0;
    o.taxpayerSign = state.taxpayerSign;
    o.numberKind = state.numberKind;
    o.objectNumber = state.number;
    o.objectAddress = state.address;
    o.rightRegistrationDate = storedDate(deRightDate_, o.rightRegistrationDate);
    o.transferActDate = storedDate(deTransferDate_, o.transferActDate);
    if (landDateSet_)
        o.landRegistrationDate = storedDate(deLandDate_, o.landRegistrationDate);
    o.shareNumerator = static_cast<std::int32_t>(digitsOf(edShareNum_));
    o.shareDenominator = static_cast<std::int32_t>(digitsOf(edShareDen_));
    normaliseShare(o);
    o.objectCost = amountOf(edObjectCost_);
    o.mortgageInterest = amountOf(edInterest_);
    o.isPensioner = chbPensioner_->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace kv
