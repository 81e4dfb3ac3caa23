#include "screens/ThirtyFiveDialog.h"

#include "checks/IdentifierChecks.h"
#include "screens/CheckDialogs.h"
#include "screens/EntryFields.h"
#include "screens/FieldEdit.h"
#include "screens/IncomeCodeFields.h"
#include "screens/ScreenWidgets.h"
#include "screens/UiText.h"
#include "screens/rules/RateRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

ThirtyFiveDialog::ThirtyFiveDialog(Asker& asker, const IncomeDict& dict,
                                   const ThirtyFivePercentSource& source, QWidget* parent)
    : QDialog(parent), asker_(asker), source_(source) {
    setObjectName(QStringLiteral("TfmInput35SourseIncome"));
    setWindowTitle(QStringLiteral("Доход"));

    edName_ = field(this, "edSourceName", FieldKind::edtNone, 1000);
    edInn_ = field(this, "edSourceInn", FieldKind::edtDigital, 12);
    edKpp_ = field(this, "edSourceKpp", FieldKind::edtDigital, 9);
    edOktmo_ = field(this, "edSourceOktmo", FieldKind::edtDigital, 11);
    codes_ = new IncomeCodeFields(dict, IncomeCodeFields::Rules::ThirtyFive, this);
    edWithheld_ = field(this, "edTaxWithheld", FieldKind::edtDigital, 12);
    for (FieldEdit* short_ : {edInn_, edKpp_, edOktmo_, edWithheld_})
        short_->setMaximumWidth(160);

    codes_->restore(source_.incomeCode, source_.totalIncome, source_.deductionCode, source_.deductionAmount);
    edName_->setStoredText(fromCp1251(source_.sourceName));
    edInn_->setStoredText(fromCp1251(source_.sourceInn));
    edKpp_->setStoredText(fromCp1251(source_.sourceKpp));
    edOktmo_->setStoredText(fromCp1251(source_.sourceOktmo));
    edWithheld_->setStoredText(wholeRoublesText(source_.taxWithheld));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Наименование источника выплаты"), this), 0, 0, 1, 2);
    grid->addWidget(edName_, 1, 0, 1, 2);
    int row = 2;
    for (const auto& [caption, edit] :
         {std::pair{QStringLiteral("ИНН"), edInn_}, std::pair{QStringLiteral("КПП"), edKpp_},
          std::pair{QStringLiteral("ОКТМО"), edOktmo_}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    row = codes_->addTo(grid, row);
    auto* withheldLabel = new QLabel(QStringLiteral("Сумма удержанного налога"), this);
    withheldLabel->setBuddy(edWithheld_);
    grid->addWidget(withheldLabel, row, 0);
    grid->addWidget(edWithheld_, row, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    setMinimumWidth(560);
}

void ThirtyFiveDialog::accept() {
    ThirtyFiveValues v;
    v.name = toCp1251(edName_->text());
    v.inn = toCp1251(edInn_->text());
    v.kpp = toCp1251(edKpp_->text());
    v.oktmo = toCp1251(edOktmo_->text());
    AskerCheckDialog dialog(asker_, this);
    switch (CheckPayer(dialog, thirtyFivePercentTitle(), v.name, true, v.oktmo, v.kpp, v.inn)) {
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
    state.withheld = wholeRoublesOf(edWithheld_, source_.taxWithheld);
    const IncomeDialogVerdict verdict = CheckThirtyFiveAmounts(state, dialog);
    if (verdict.element != 0)
        goToElement(verdict.element);
    if (!verdict.accept)
        return;

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
    case kRateIncomeCodeElement:
        codes_->incomeButton()->setFocus();
        codes_->chooseIncome();
        break;
    case kRateIncomeAmountElement:
        codes_->incomeField()->setFocus();
        break;
    case kRateDeductionCodeElement:
        codes_->deductionButton()->setFocus();
        codes_->chooseDeduction();
        break;
    case kRateDeductionAmountElement:
        codes_->deductionField()->setFocus();
        break;
    case kRateWithheldElement:
        edWithheld_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
