#include "screens/ThirtyFiveDialog.h"

#include "screens/IncomeCodeFields.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/rules/RateRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

ThirtyFiveDialog::ThirtyFiveDialog(Asker& asker, const IncomeDict& dict,
                                   const ThirtyFivePercentSource& source, QWidget* parent)
    : QDialog(parent), asker_(asker), source_(source), payer_(this) {
    setObjectName(QStringLiteral("TfmInput35SourseIncome"));
    setWindowTitle(QStringLiteral("Доход"));

    codes_ = new IncomeCodeFields(asker, dict, IncomeCodeFields::Rules::ThirtyFive, this);
    withheldEdit_ = field(this, "edTaxWithheld", FieldKind::Digits, 12);
    for (FieldEdit* short_ : {payer_.innField(), payer_.kppField(), payer_.oktmoField(), withheldEdit_})
        short_->setMaximumWidth(160);

    codes_->restore(source_.incomeCode, source_.totalIncome, source_.deductionCode, source_.deductionAmount);
    payer_.load(source_);
    withheldEdit_->setStoredText(wholeRoublesText(source_.taxWithheld));

    auto* grid = new QGridLayout;
    int row = payer_.addTo(grid, 0);
    row = codes_->addTo(grid, row);
    auto* withheldLabel = new QLabel(QStringLiteral("Сумма удержанного налога"), this);
    withheldLabel->setBuddy(withheldEdit_);
    grid->addWidget(withheldLabel, row, 0);
    grid->addWidget(withheldEdit_, row, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    setMinimumWidth(560);
    arrangeDialogForKeyboard(this);
}

void ThirtyFiveDialog::accept() {
    AskerCheckDialog dialog(asker_, this);
    if (!payer_.check(dialog, thirtyFivePercentTitle(), true))
        return;

    ThirtyFiveDialogState state;
    state.incomeChosen = codes_->incomeChosen();
    state.incomeCode = codes_->incomeCode();
    state.incomeEmpty = codes_->incomeEmpty();
    state.income = codes_->income();
    state.incomeHasDeductions = codes_->incomeHasDeductions();
    state.deductionChosen = codes_->deductionChosen();
    state.deductionEditable = codes_->deductionEditable();
    state.deductionEmpty = codes_->deductionEmpty();
    state.deduction = codes_->deduction();
    state.withheld = wholeRoublesOf(withheldEdit_, source_.taxWithheld);
    const IncomeDialogVerdict verdict = checkThirtyFiveAmounts(state, dialog);
    if (verdict.element != 0)
        goToElement(verdict.element);
    if (!verdict.accept)
        return;

    ThirtyFiveValues v;
    v.name = payer_.name();
    v.inn = payer_.inn();
    v.kpp = payer_.kpp();
    v.oktmo = payer_.oktmo();
    v.incomeCode = state.incomeCode;
    v.income = state.income;
    v.deductionCode = codes_->deductionCode();
    v.deduction = state.deduction;
    v.withheld = state.withheld;
    storeThirtyFive(v, source_);
    QDialog::accept();
}

void ThirtyFiveDialog::goToElement(std::uint16_t element) {
    switch (element) {
    case RateIncomeCodeElement:
        codes_->incomeButton()->setFocus();
        codes_->chooseIncome();
        break;
    case RateIncomeAmountElement:
        codes_->incomeField()->setFocus();
        break;
    case RateDeductionCodeElement:
        codes_->deductionButton()->setFocus();
        codes_->chooseDeduction();
        break;
    case RateDeductionAmountElement:
        codes_->deductionField()->setFocus();
        break;
    case RateWithheldElement:
        withheldEdit_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
