#include "screens/PartnershipDialogs.h"

#include "checks/IdentifierChecks.h"
#include "screens/CheckDialogs.h"
#include "screens/EntryFields.h"
#include "screens/FieldEdit.h"
#include "screens/ScreenWidgets.h"
#include "screens/UiText.h"
#include "screens/rules/BusinessRules.h"
#include "screens/rules/ThirteenRules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

namespace {

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

// --- The partnership ----------------------------------------------------------

PartnershipSourceDialog::PartnershipSourceDialog(Asker& asker, const InvestmentPartnership& source,
                                                 QWidget* parent)
    : QDialog(parent), asker_(asker), source_(source) {
    setObjectName(QStringLiteral("TfmInputSourseInvestTov"));
    setWindowTitle(QStringLiteral("Источник выплаты"));

    edName_ = field(this, "edSourceName", FieldKind::edtNone, 1000);
    edInn_ = field(this, "edSourceInn", FieldKind::edtDigital, 12);
    edKpp_ = field(this, "edSourceKpp", FieldKind::edtDigital, 9);
    edOktmo_ = field(this, "edSourceOktmo", FieldKind::edtDigital, 11);
    edName_->setText(fromCp1251(source_.sourceName));
    edInn_->setText(fromCp1251(source_.sourceInn));
    edKpp_->setText(fromCp1251(source_.sourceKpp));
    edOktmo_->setText(fromCp1251(source_.sourceOktmo));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Наименование инвестиционного товарищества"), this), 0, 0, 1,
                    2);
    grid->addWidget(edName_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("ИНН"), this), 2, 0);
    grid->addWidget(edInn_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("КПП"), this), 3, 0);
    grid->addWidget(edKpp_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("ОКТМО"), this), 4, 0);
    grid->addWidget(edOktmo_, 4, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    resize(520, sizeHint().height());
}

void PartnershipSourceDialog::keyPressEvent(QKeyEvent* event) {
    // Enter confirms under the 13% screen's title, as the payer check of such a
    // source has always been titled when confirmed from the keyboard.
    if (isEnter(event)) {
        confirm(true);
        return;
    }
    QDialog::keyPressEvent(event);
}

void PartnershipSourceDialog::accept() {
    confirm(false);
}

void PartnershipSourceDialog::confirm(bool byEnter) {
    const std::string name = toCp1251(edName_->text());
    const std::string inn = toCp1251(edInn_->text());
    const std::string kpp = toCp1251(edKpp_->text());
    const std::string oktmo = toCp1251(edOktmo_->text());
    AskerCheckDialog dialog(asker_, this);
    const std::string& title = byEnter ? thirteenPercentTitle() : partnershipSourceTitle();
    switch (CheckPayer(dialog, title, name, false, oktmo, kpp, inn)) {
    case PayerField::Name:
        edName_->setFocus();
        return;
    case PayerField::Inn:
        edInn_->setFocus();
        return;
    case PayerField::Kpp:
        edKpp_->setFocus();
        return;
    case PayerField::Oktmo:
        edOktmo_->setFocus();
        return;
    case PayerField::Accept:
        break;
    }
    source_.sourceName = name;
    source_.sourceInn = inn;
    source_.sourceKpp = kpp;
    source_.sourceOktmo = oktmo;
    QDialog::accept();
}

// --- An income of the partnership -------------------------------------------

PartnershipIncomeDialog::PartnershipIncomeDialog(Asker& asker, const PartnershipIncomeItem& item,
                                                 QWidget* parent)
    : QDialog(parent), asker_(asker), item_(item) {
    setObjectName(QStringLiteral("TfmIncomeInvestTov"));
    setWindowTitle(QStringLiteral("Участие в инвестиционных товариществах"));

    cbKind_ = new QComboBox(this);
    cbKind_->setObjectName(QStringLiteral("cbOperationKind"));
    for (const std::string& name : partnershipOperationNames())
        cbKind_->addItem(fromCp1251(name));
    edIncome_ = moneyField(this, "edIncomeAmount");
    lblExpenseShare_ = new QLabel(QStringLiteral("Доля расходов"), this);
    lblExpenseShare_->setObjectName(QStringLiteral("lblExpenseShare"));
    lblContributions_ = new QLabel(QStringLiteral("Сумма вкладов"), this);
    lblContributions_->setObjectName(QStringLiteral("lblContributions"));
    edExpenseShare_ = moneyField(this, "edExpenseShare");
    lblManager_ = new QLabel(QStringLiteral("Расходы на управляющих товарищей"), this);
    lblManager_->setObjectName(QStringLiteral("lblManagerExpenses"));
    edManager_ = moneyField(this, "edManagerExpenses");
    lblPriorLoss_ = new QLabel(QStringLiteral("Убыток прошлых лет"), this);
    lblPriorLoss_->setObjectName(QStringLiteral("lblPriorYearsLoss"));
    edPriorLoss_ = moneyField(this, "edPriorYearsLoss");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Вид операций"), this), 0, 0);
    grid->addWidget(cbKind_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Сумма доходов"), this), 1, 0);
    grid->addWidget(edIncome_, 1, 1);
    grid->addWidget(lblExpenseShare_, 2, 0);
    grid->addWidget(lblContributions_, 2, 0);
    grid->addWidget(edExpenseShare_, 2, 1);
    grid->addWidget(lblManager_, 3, 0);
    grid->addWidget(edManager_, 3, 1);
    grid->addWidget(lblPriorLoss_, 4, 0);
    grid->addWidget(edPriorLoss_, 4, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    // Neither button answers Enter here.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setDefault(false);
        b->setAutoDefault(false);
    }

    const int kind = item_.operationKind;
    cbKind_->setCurrentIndex(kind >= 1 && kind <= cbKind_->count() ? kind - 1 : -1);
    edIncome_->setMoney(item_.incomeAmount);
    edExpenseShare_->setMoney(item_.expenseShare);
    edManager_->setMoney(item_.managerExpenses);
    edPriorLoss_->setMoney(item_.priorYearsLoss);
    kindChosen(false);
    connect(cbKind_, &QComboBox::activated, this, [this] { kindChosen(true); });
    resize(560, sizeHint().height());
}

void PartnershipIncomeDialog::kindChosen(bool reset) {
    const bool exit = cbKind_->currentIndex() + 1 == kPartnershipExitKind;
    lblExpenseShare_->setVisible(!exit);
    lblContributions_->setVisible(exit);
    for (QWidget* w : std::initializer_list<QWidget*>{lblManager_, edManager_, lblPriorLoss_, edPriorLoss_})
        w->setVisible(!exit);
    // Leaving a partnership carries no manager expenses and no earlier losses.
    if (exit && reset) {
        edManager_->setText(QStringLiteral("0"));
        edPriorLoss_->setText(QStringLiteral("0"));
    }
}

void PartnershipIncomeDialog::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PartnershipIncomeDialog::accept() {
    const std::int32_t kind = cbKind_->currentIndex() + 1;
    AskerCheckDialog dialog(asker_, this);
    const PartnershipIncomeVerdict verdict = CheckPartnershipIncome(kind, dialog);
    if (!verdict.accept) {
        if (verdict.focusKind)
            cbKind_->setFocus();
        return;
    }
    item_.operationKind = kind;
    item_.incomeAmount = amountOf(edIncome_);
    item_.expenseShare = amountOf(edExpenseShare_);
    item_.managerExpenses = amountOf(edManager_);
    item_.priorYearsLoss = amountOf(edPriorLoss_);
    QDialog::accept();
}

} // namespace kv
