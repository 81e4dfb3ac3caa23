#include "screens/NonResidentIncomeDialog.h"

#include "screens/IncomeCodeFields.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/RateRules.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

NonResidentIncomeDialog::NonResidentIncomeDialog(Asker& asker, const IncomeDict& dict,
                                                 const std::optional<ThirteenIncomeItem>& existing,
                                                 QWidget* parent)
    : QDialog(parent), asker_(asker) {
    setObjectName(QStringLiteral("TfmInput13NRIncome"));
    setWindowTitle(QStringLiteral("Сведения о доходе"));

    auto* group = new QGroupBox(QStringLiteral("Сведения о полученном доходе"), this);
    group->setObjectName(QStringLiteral("gbIncome"));
    codes_ = new IncomeCodeFields(asker, dict, IncomeCodeFields::Rules::NonResident, group);
    monthLabel_ = new QLabel(QStringLiteral("Месяц получения дохода"), group);
    monthEdit_ = field(group, "edMonth", FieldKind::Digits, 2);
    monthEdit_->setMaximumWidth(40);
    monthLabel_->setBuddy(monthEdit_);

    auto* grid = new QGridLayout(group);
    const int row = codes_->addTo(grid, 0);
    grid->addWidget(monthLabel_, row, 0);
    grid->addWidget(monthEdit_, row, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    setMinimumWidth(560);

    setMonthEnabled(false);
    if (existing.has_value()) {
        codes_->restore(existing->incomeCode, existing->amount, existing->deductionCode,
                        existing->deductionAmount);
        if (existing->incomeCode != 0) {
            // A code the dictionary lacks still keeps the month it was stored with.
            setMonthEnabled(dict.findIncome(Cp1251Text::number(existing->incomeCode)) != nullptr);
            monthEdit_->setStoredText(QString::number(existing->month));
        }
    }
    codes_->incomeButton()->setFocus();

    connect(codes_, &IncomeCodeFields::incomePicked, this, [this] { setMonthEnabled(true); });
    connect(monthEdit_, &FieldEdit::changed, this, &NonResidentIncomeDialog::monthChanged);
    connect(monthEdit_, &FieldEdit::editingFinished, this, &NonResidentIncomeDialog::monthFinished);
    arrangeDialogForKeyboard(this);
}

void NonResidentIncomeDialog::setMonthEnabled(bool enabled) {
    monthLabel_->setEnabled(enabled);
    monthEdit_->setEnabled(enabled);
}

void NonResidentIncomeDialog::monthChanged() {
    if (monthEdit_->text().toInt() > 12)
        monthEdit_->setText(QStringLiteral("12"));
}

void NonResidentIncomeDialog::monthFinished() {
    if (!monthEdit_->text().isEmpty() && monthEdit_->text().toInt() == 0)
        monthEdit_->setText(QStringLiteral("1"));
}

bool NonResidentIncomeDialog::incomeChosen() const {
    return codes_->incomeChosen();
}

ThirteenIncomeItem NonResidentIncomeDialog::item() const {
    ThirteenIncomeItem it;
    it.incomeCode = codes_->incomeCode();
    it.amount = codes_->income();
    it.deductionCode = codes_->deductionCode();
    it.deductionAmount = codes_->deduction();
    it.month = monthFromText(monthEdit_->text().toStdString());
    return it;
}

void NonResidentIncomeDialog::accept() {
    monthFinished();
    IncomeDialogState state;
    state.incomeChosen = codes_->incomeChosen();
    state.incomeCode = codes_->incomeCode();
    state.incomeEmpty = codes_->incomeEmpty();
    state.income = codes_->income();
    state.deductionAllowed = codes_->incomeHasDeductions();
    state.deductionChosen = codes_->deductionChosen();
    state.deductionCode = codes_->deductionCode();
    state.deductionEditable = codes_->deductionEditable();
    state.deductionEmpty = codes_->deductionEmpty();
    state.deduction = codes_->deduction();
    AskerCheckDialog dialog(asker_, this);
    const IncomeDialogVerdict verdict = checkNonResidentIncome(state, dialog);
    if (verdict.element != 0)
        goToElement(verdict.element);
    if (verdict.accept)
        QDialog::accept();
}

void NonResidentIncomeDialog::goToElement(std::uint16_t element) {
    switch (element) {
    case IncomeCodeElement:
        codes_->incomeButton()->setFocus();
        codes_->chooseIncome();
        break;
    case IncomeAmountElement:
        codes_->incomeField()->setFocus();
        break;
    case DeductionCodeElement:
        codes_->deductionButton()->setFocus();
        codes_->chooseDeduction();
        break;
    case DeductionAmountElement:
        // No deduction code yet: the code comes first.
        if (!codes_->deductionChosen()) {
            codes_->deductionButton()->setFocus();
            codes_->chooseDeduction();
        } else {
            codes_->deductionField()->setFocus();
        }
        break;
    default:
        break;
    }
}

} // namespace kv
