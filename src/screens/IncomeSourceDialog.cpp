#include "screens/IncomeSourceDialog.h"

#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/rules/ThirteenRules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

IncomeSourceDialog::IncomeSourceDialog(Asker& asker, const ThirteenPercentSource& source,
                                       bool nonResidentReturn, bool partnershipEditable, QWidget* parent)
    : QDialog(parent), asker_(asker), source_(source), payer_(this) {
    setObjectName(QStringLiteral("TfmInput13SourseIncome"));
    setWindowTitle(QStringLiteral("Источник выплаты"));

    primaryBox_ = new QCheckBox(QStringLiteral("Расчет стандартных вычетов вести по этому источнику"), this);
    primaryBox_->setObjectName(QStringLiteral("chbPrimaryWorkplace"));
    partnershipBox_ = new QCheckBox(QStringLiteral("Источник является инвестиционным товариществом"), this);
    partnershipBox_->setObjectName(QStringLiteral("chbInvestmentPartnership"));

    payer_.load(source_);
    primaryBox_->setChecked(source_.isPrimaryWorkplace != 0);
    primaryBox_->setVisible(!nonResidentReturn);
    partnershipBox_->setChecked(source_.isInvestmentPartnership != 0);
    partnershipBox_->setEnabled(partnershipEditable);

    auto* grid = new QGridLayout;
    payer_.addTo(grid, 0);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(primaryBox_);
    layout->addWidget(partnershipBox_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

void IncomeSourceDialog::hideMarks() {
    primaryBox_->hide();
    partnershipBox_->hide();
}

void IncomeSourceDialog::accept() {
    AskerCheckDialog dialog(asker_, this);
    if (!payer_.check(dialog, thirteenPercentTitle(), true))
        return;
    payer_.store(source_);
    source_.isPrimaryWorkplace = primaryBox_->isChecked() ? 1 : 0;
    source_.isInvestmentPartnership = partnershipBox_->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace kv
