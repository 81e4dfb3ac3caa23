#include "screens/PartnershipDialogs.h"

#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
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
    : QDialog(parent), asker_(asker), source_(source),
      payer_(this, 12, QStringLiteral("Наименование инвестиционного товарищества")) {
    setObjectName(QStringLiteral("TfmInputSourseInvestTov"));
    setWindowTitle(QStringLiteral("Источник выплаты"));

    payer_.load(source_);

    auto* grid = new QGridLayout;
    payer_.addTo(grid, 0);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    resize(520, sizeHint().height());
    arrangeDialogForKeyboard(this);
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
    AskerCheckDialog dialog(asker_, this);
    if (!payer_.check(dialog, byEnter ? thirteenPercentTitle() : partnershipSourceTitle(), false))
        return;
    payer_.store(source_);
    QDialog::accept();
}

// --- An income of the partnership -------------------------------------------

PartnershipIncomeDialog::PartnershipIncomeDialog(Asker& asker, const PartnershipIncomeItem& item,
                                                 QWidget* parent)
    : QDialog(parent), asker_(asker), item_(item) {
    setObjectName(QStringLiteral("TfmIncomeInvestTov"));
    setWindowTitle(QStringLiteral("Участие в инвестиционных товариществах"));

    kindCombo_ = new QComboBox(this);
    kindCombo_->setObjectName(QStringLiteral("cbOperationKind"));
    for (const Cp1251Text& name : partnershipOperationNames())
        kindCombo_->addItem(fromCp1251(name));
    incomeEdit_ = moneyField(this, "edIncomeAmount");
    expenseShareLabel_ = new QLabel(QStringLiteral("Доля расходов"), this);
    expenseShareLabel_->setObjectName(QStringLiteral("lblExpenseShare"));
    contributionsLabel_ = new QLabel(QStringLiteral("Сумма вкладов"), this);
    contributionsLabel_->setObjectName(QStringLiteral("lblContributions"));
    expenseShareEdit_ = moneyField(this, "edExpenseShare");
    managerLabel_ = new QLabel(QStringLiteral("Расходы на управляющих товарищей"), this);
    managerLabel_->setObjectName(QStringLiteral("lblManagerExpenses"));
    managerEdit_ = moneyField(this, "edManagerExpenses");
    priorLossLabel_ = new QLabel(QStringLiteral("Убыток прошлых лет"), this);
    priorLossLabel_->setObjectName(QStringLiteral("lblPriorYearsLoss"));
    priorLossEdit_ = moneyField(this, "edPriorYearsLoss");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Вид операций"), this), 0, 0);
    grid->addWidget(kindCombo_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Сумма доходов"), this), 1, 0);
    grid->addWidget(incomeEdit_, 1, 1);
    grid->addWidget(expenseShareLabel_, 2, 0);
    grid->addWidget(contributionsLabel_, 2, 0);
    grid->addWidget(expenseShareEdit_, 2, 1);
    grid->addWidget(managerLabel_, 3, 0);
    grid->addWidget(managerEdit_, 3, 1);
    grid->addWidget(priorLossLabel_, 4, 0);
    grid->addWidget(priorLossEdit_, 4, 1);
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
    kindCombo_->setCurrentIndex(kind >= 1 && kind <= kindCombo_->count() ? kind - 1 : -1);
    incomeEdit_->setMoney(item_.incomeAmount);
    expenseShareEdit_->setMoney(item_.expenseShare);
    managerEdit_->setMoney(item_.managerExpenses);
    priorLossEdit_->setMoney(item_.priorYearsLoss);
    kindChosen(false);
    connect(kindCombo_, &QComboBox::activated, this, [this] { kindChosen(true); });
    resize(560, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

void PartnershipIncomeDialog::kindChosen(bool reset) {
    const bool exit = kindCombo_->currentIndex() + 1 == kPartnershipExitKind;
    expenseShareLabel_->setVisible(!exit);
    contributionsLabel_->setVisible(exit);
    for (QWidget* w :
         std::initializer_list<QWidget*>{managerLabel_, managerEdit_, priorLossLabel_, priorLossEdit_})
        w->setVisible(!exit);
    // Leaving a partnership carries no manager expenses and no earlier losses.
    if (exit && reset) {
        managerEdit_->setText(QStringLiteral("0"));
        priorLossEdit_->setText(QStringLiteral("0"));
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
    const std::int32_t kind = kindCombo_->currentIndex() + 1;
    AskerCheckDialog dialog(asker_, this);
    const PartnershipIncomeVerdict verdict = checkPartnershipIncome(kind, dialog);
    if (!verdict.accept) {
        if (verdict.focusKind)
            kindCombo_->setFocus();
        return;
    }
    item_.operationKind = kind;
    item_.incomeAmount = amountOf(incomeEdit_);
    item_.expenseShare = amountOf(expenseShareEdit_);
    item_.managerExpenses = amountOf(managerEdit_);
    item_.priorYearsLoss = amountOf(priorLossEdit_);
    QDialog::accept();
}

} // namespace kv
