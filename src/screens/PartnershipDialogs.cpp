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
    arrangeDialogForKeyboard(this);
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
