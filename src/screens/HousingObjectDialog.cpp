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

    connect(saleRadio_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            contractChosen();
    });
    connect(investRadio_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            contractChosen();
    });
    connect(objectKindCombo_, &QComboBox::currentIndexChanged, this, &HousingObjectDialog::kindChosen);
    connect(numberKindCombo_, &QComboBox::currentIndexChanged, this, &HousingObjectDialog::numberKindChosen);
    connect(rightDateEdit_, &DateEdit::dateChanged, this, &HousingObjectDialog::datesChanged);
    connect(transferDateEdit_, &DateEdit::dateChanged, this, &HousingObjectDialog::datesChanged);
    connect(pensionerBox_, &QCheckBox::toggled, this, &HousingObjectDialog::pensionerToggled);
    arrangeDialogForKeyboard(this);
}

void HousingObjectDialog::buildWidgets() {
    auto* group = new QGroupBox(QStringLiteral("Сведения об объекте"), this);
    group->setObjectName(QStringLiteral("gbObject"));

    objectKindCombo_ = choice(group, "cbObjectKind", kSaleKinds);
    houseMethodCombo_ = choice(
        group, "cbHouseMethod",
        {QStringLiteral("Новое строительство жилого дома"), QStringLiteral("Приобретение жилого дома")});
    saleRadio_ = new QRadioButton(QStringLiteral("договор купли-продажи"), group);
    saleRadio_->setObjectName(QStringLiteral("rbSale"));
    saleRadio_->setToolTip(QStringLiteral("а также самостоятельное строительство"));
    investRadio_ = new QRadioButton(QStringLiteral("инвестирование"), group);
    investRadio_->setObjectName(QStringLiteral("rbInvest"));
    auto* contractGroup = new QButtonGroup(this);
    contractGroup->addButton(saleRadio_);
    contractGroup->addButton(investRadio_);
    taxpayerSignCombo_ =
        choice(group, "cbTaxpayerSign",
               {QStringLiteral("Собственник объекта"), QStringLiteral("Супруг(а) собственника объекта"),
                QStringLiteral("Родитель несовершеннолетнего собственника объекта"),
                QStringLiteral("Объект в общей долевой собственности заявителя и несовершеннолетнего "
                               "ребенка"),
                QStringLiteral("Объект в общей долевой собственности супруга(и) заявителя и "
                               "несовершеннолетнего ребенка")});
    numberKindCombo_ = choice(group, "cbNumberKind",
                              {QStringLiteral("Кадастровый номер"), QStringLiteral("Условный номер"),
                               QStringLiteral("Инвентарный номер"), QStringLiteral("Номер отсутствует")});
    objectNumberEdit_ = field(group, "edObjectNumber", FieldKind::Any, 100);
    objectAddressEdit_ = field(group, "edObjectAddress", FieldKind::Any, 512);

    const QDate latest(2019, 12, 31);
    rightDateEdit_ = makeDateEdit(group, "deRightDate", kEarliestLandDate, latest);
    landDateEdit_ = makeDateEdit(group, "deLandDate", kEarliestLandDate, latest);
    transferDateEdit_ = makeDateEdit(group, "deTransferDate", kEarliestLandDate, latest);
    const QString saleHint = QStringLiteral("указывается при приобретении по договору купли-продажи");
    auto* lblRight = new QLabel(
        QStringLiteral("Дата регистрации права собственности на жилой дом, квартиру, комнату"), group);
    auto* lblLand =
        new QLabel(QStringLiteral("Дата регистрации права собственности на земельный участок"), group);
    auto* lblTransfer =
        new QLabel(QStringLiteral("Дата акта о передаче квартиры, комнаты или доли в них"), group);
    for (QWidget* w : std::initializer_list<QWidget*>{lblRight, rightDateEdit_, lblLand, landDateEdit_})
        w->setToolTip(saleHint);
    // The names that a fault of the date is reported under.
    rightDateEdit_->setAccessibleName(lblRight->text());
    landDateEdit_->setAccessibleName(lblLand->text());
    transferDateEdit_->setAccessibleName(lblTransfer->text());
    for (QWidget* w : std::initializer_list<QWidget*>{lblTransfer, transferDateEdit_})
        w->setToolTip(QStringLiteral("указывается при приобретении по договору инвестирования"));

    shareLabel_ = new QLabel(QStringLiteral("Доля"), group);
    shareNumeratorEdit_ = field(group, "edShareNum", FieldKind::Digits, 6);
    shareDenominatorEdit_ = field(group, "edShareDen", FieldKind::Digits, 6);
    shareNumeratorEdit_->setMaximumWidth(70);
    shareDenominatorEdit_->setMaximumWidth(70);
    objectCostEdit_ = field(group, "edObjectCost", FieldKind::Money, 8, 2);
    objectCostEdit_->setMaximumWidth(130);
    interestEdit_ = field(group, "edInterest", FieldKind::Money, 8, 2);
    interestEdit_->setMaximumWidth(130);
    auto* lblInterest = new QLabel(QStringLiteral("Проценты по кредитам за все годы"), group);
    lblInterest->setToolTip(QStringLiteral("Заполняются только по одному объекту"));
    interestEdit_->setToolTip(lblInterest->toolTip());
    pensionerBox_ = new QCheckBox(QStringLiteral("Являюсь пенсионером"), group);
    pensionerBox_->setObjectName(QStringLiteral("chbPensioner"));

    FormGrid form(group);
    form.addRow(QStringLiteral("Наименование объекта"), objectKindCombo_);
    form.addRow(QStringLiteral("Способ приобретения дома"), houseMethodCombo_);
    auto* contract = new QWidget(group);
    auto* contractRow = new QHBoxLayout(contract);
    contractRow->setContentsMargins(0, 0, 0, 0);
    contractRow->addWidget(saleRadio_);
    contractRow->addWidget(investRadio_);
    contractRow->addStretch(1);
    form.addRow(QStringLiteral("Способ приобретения"), contract);
    form.addRow(QStringLiteral("Признак налогоплательщика"), taxpayerSignCombo_);
    form.addRow(QStringLiteral("Код номера объекта"), numberKindCombo_);
    form.addRow(QStringLiteral("Номер объекта"), objectNumberEdit_);
    form.addRow(QStringLiteral("Место нахождения"), objectAddressEdit_);
    form.addRow(lblRight, rightDateEdit_);
    form.addRow(lblLand, landDateEdit_);
    form.addRow(lblTransfer, transferDateEdit_);
    auto* share = new QWidget(group);
    auto* shareRow = new QHBoxLayout(share);
    shareRow->setContentsMargins(0, 0, 0, 0);
    shareRow->addWidget(shareNumeratorEdit_);
    shareRow->addWidget(new QLabel(QStringLiteral("/"), share));
    shareRow->addWidget(shareDenominatorEdit_);
    shareRow->addStretch(1);
    form.addRow(shareLabel_, share);
    form.addRow(QStringLiteral("Стоимость объекта (доли)"), objectCostEdit_);
    form.addRow(lblInterest, interestEdit_);
    form.layout()->addWidget(pensionerBox_, form.nextRow(), 1);
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
    rightDateEdit_->setDateRange(earliest, latest);
    transferDateEdit_->setDateRange(earliest, latest);
    landDateEdit_->setDateRange(kEarliestLandDate, latest);

    const HousingObject& o = object_;
    (o.byInvestmentContract ? investRadio_ : saleRadio_)->setChecked(true);
    if (o.byInvestmentContract) {
        objectKindCombo_->clear();
        objectKindCombo_->addItems(kInvestmentKinds);
    }
    choose(objectKindCombo_, o.objectKind);
    choose(houseMethodCombo_, o.houseAcquisitionMethod);
    choose(taxpayerSignCombo_, o.taxpayerSign);
    choose(numberKindCombo_, o.numberKind);
    objectNumberEdit_->setText(fromCp1251(o.objectNumber));
    objectAddressEdit_->setText(fromCp1251(o.objectAddress));
    showStoredDate(rightDateEdit_, o.rightRegistrationDate);
    showStoredDate(landDateEdit_, o.landRegistrationDate);
    showStoredDate(transferDateEdit_, o.transferActDate);
    shareNumeratorEdit_->setText(shareText(o.shareNumerator));
    shareDenominatorEdit_->setText(shareText(o.shareDenominator));
    if (!o.objectCost.isZero())
        objectCostEdit_->setMoney(o.objectCost);
    if (!o.mortgageInterest.isZero())
        interestEdit_->setMoney(o.mortgageInterest);
    pensionerBox_->setChecked(setup.pensioner);

    contractChosen();
    numberKindChosen();
    datesChanged();
    objectCostEdit_->setEnabled(setup.costEnabled);
    interestEdit_->setEnabled(setup.interestEnabled);
}

void HousingObjectDialog::contractChosen() {
    const bool sale = saleRadio_->isChecked();
    const int kind = chosen(objectKindCombo_);
    {
        // The list is rebuilt for the contract; the chosen position is kept where it still exists.
        QSignalBlocker block(objectKindCombo_);
        objectKindCombo_->clear();
        objectKindCombo_->addItems(sale ? kSaleKinds : kInvestmentKinds);
        choose(objectKindCombo_, kind);
    }
    if (sale) {
        rightDateEdit_->setEnabled(true);
        transferDateEdit_->setEnabled(false);
        transferDateEdit_->setDate(kUnusedDate);
    } else {
        rightDateEdit_->setEnabled(false);
        rightDateEdit_->setDate(kUnusedDate);
        landDateEdit_->setDate(kUnusedDate);
        landDateSet_ = true;
        transferDateEdit_->setEnabled(true);
    }
    kindChosen();
    datesChanged();
}

void HousingObjectDialog::kindChosen() {
    const int kind = chosen(objectKindCombo_);
    const bool land = saleRadio_->isChecked() && kind >= kFirstLandKind;
    landDateEdit_->setEnabled(land);
    if (land)
        landDateSet_ = true;
    if (kind == kHouse) {
        houseMethodCombo_->setEnabled(true);
    } else {
        houseMethodCombo_->setCurrentIndex(-1);
        houseMethodCombo_->setEnabled(false);
    }
}

void HousingObjectDialog::numberKindChosen() {
    const int kind = chosen(numberKindCombo_);
    const bool number = kind != 0 && kind != kNoNumber;
    const bool address = kind != 0;
    objectNumberEdit_->setEnabled(number);
    if (!number)
        objectNumberEdit_->clear();
    objectAddressEdit_->setEnabled(address);
    if (!address)
        objectAddressEdit_->clear();
}

void HousingObjectDialog::datesChanged() {
    const bool share =
        shareApplies(toDateValue(rightDateEdit_->date()), toDateValue(transferDateEdit_->date()));
    shareLabel_->setEnabled(share);
    shareNumeratorEdit_->setEnabled(share);
    shareDenominatorEdit_->setEnabled(share);
    // The share limits the deduction only for purchases before 2014.
    if (!share) {
        shareNumeratorEdit_->setText(QStringLiteral("1"));
        shareDenominatorEdit_->setText(QStringLiteral("1"));
    }
}

void HousingObjectDialog::pensionerToggled(bool checked) {
    // A pensioner may claim the deduction for purchases up to three years later.
    const QDate latest = toQDate(latestObjectDate(checked));
    rightDateEdit_->setMaximumDate(latest);
    transferDateEdit_->setMaximumDate(latest);
    landDateEdit_->setMaximumDate(latest);
}

void HousingObjectDialog::goToElement(ObjectElement element) {
    switch (element) {
    case ObjectKindElement:
        objectKindCombo_->setFocus();
        break;
    case ObjectHouseMethodElement:
        houseMethodCombo_->setFocus();
        break;
    case ObjectTaxpayerSignElement:
        taxpayerSignCombo_->setFocus();
        break;
    case ObjectNumberKindElement:
        numberKindCombo_->setFocus();
        break;
    case ObjectNumberElement:
        objectNumberEdit_->setFocus();
        break;
    case ObjectAddressElement:
        objectAddressEdit_->setFocus();
        break;
    }
}

void HousingObjectDialog::accept() {
    // An impossible or out-of-range date in use is not stored: the person corrects it first.
    for (DateEdit* date : {rightDateEdit_, landDateEdit_, transferDateEdit_}) {
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
    state.kind = chosen(objectKindCombo_);
    state.houseMethodEnabled = houseMethodCombo_->isEnabled();
    state.houseMethod = chosen(houseMethodCombo_);
    state.taxpayerSign = chosen(taxpayerSignCombo_);
    state.numberKind = chosen(numberKindCombo_);
    state.number = toCp1251(objectNumberEdit_->text());
    state.address = toCp1251(objectAddressEdit_->text());
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
    o.byInvestmentContract = investRadio_->isChecked() ? 1 : 0;
    o.taxpayerSign = state.taxpayerSign;
    o.numberKind = state.numberKind;
    o.objectNumber = state.number;
    o.objectAddress = state.address;
    o.rightRegistrationDate = storedDate(rightDateEdit_, o.rightRegistrationDate);
    o.transferActDate = storedDate(transferDateEdit_, o.transferActDate);
    if (landDateSet_)
        o.landRegistrationDate = storedDate(landDateEdit_, o.landRegistrationDate);
    o.shareNumerator = static_cast<std::int32_t>(digitsOf(shareNumeratorEdit_));
    o.shareDenominator = static_cast<std::int32_t>(digitsOf(shareDenominatorEdit_));
    normaliseShare(o);
    o.objectCost = amountOf(objectCostEdit_);
    o.mortgageInterest = amountOf(interestEdit_);
    o.isPensioner = pensionerBox_->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace kv
