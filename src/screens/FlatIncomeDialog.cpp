#include "screens/FlatIncomeDialog.h"

#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv {

FlatIncomeDialog::FlatIncomeDialog(Asker& asker, FlatIncomeKind kind, const ThirtyPercentSource& source,
                                   bool newSource, QWidget* parent)
    : QDialog(parent), asker_(asker), kind_(kind), source_(source), newSource_(newSource),
      payer_(this, flatIncomeSetup(kind).innLength) {
    const bool nine = kind == FlatIncomeKind::NinePercent;
    setObjectName(nine ? QStringLiteral("TfmInput9SourseIncome") : QStringLiteral("TfmInput30SourseIncome"));
    setWindowTitle(nine ? QStringLiteral("Доход, облагаемый по ставке 9%")
                        : QStringLiteral("Доход в виде дивидендов"));

    incomeEdit_ = moneyField(this, "edIncomeSum");
    withheldEdit_ = field(this, "edTaxWithheld", FieldKind::Digits, 12);
    for (FieldEdit* short_ :
         {payer_.innField(), payer_.kppField(), payer_.oktmoField(), incomeEdit_, withheldEdit_})
        short_->setMaximumWidth(160);

    payer_.load(source_);
    // Dividends show what is taxed; the 9% list the income itself (the two are kept equal).
    const Money income = nine ? source_.totalIncome : source_.taxableAmount;
    if (!income.isZero())
        incomeEdit_->setMoney(income);
    withheldEdit_->setStoredText(wholeRoublesText(source_.taxWithheld));

    auto* grid = new QGridLayout;
    int row = payer_.addTo(grid, 0);
    const QList<std::pair<QString, FieldEdit*>> rows = {
        {nine ? QStringLiteral("Сумма дохода") : QStringLiteral("Облагаемая сумма дивидендов"), incomeEdit_},
        {QStringLiteral("Удержанный налог"), withheldEdit_},
    };
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    resize(520, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

FlatIncomeValues FlatIncomeDialog::values() const {
    FlatIncomeValues v;
    v.name = payer_.name();
    v.inn = payer_.inn();
    v.kpp = payer_.kpp();
    v.oktmo = payer_.oktmo();
    if (!incomeEdit_->text().isEmpty())
        v.income = amountOf(incomeEdit_);
    v.withheld = wholeRoublesOf(withheldEdit_, source_.taxWithheld);
    return v;
}

void FlatIncomeDialog::accept() {
    const FlatIncomeValues v = values();
    AskerCheckDialog dialog(asker_, this);
    const std::uint16_t element = checkFlatIncomeDialog(kind_, v, dialog);
    if (element != 0) {
        goToElement(element);
        return;
    }
    storeFlatIncome(kind_, v, newSource_, source_);
    QDialog::accept();
}

void FlatIncomeDialog::goToElement(std::uint16_t element) {
    switch (element) {
    case FlatNameElement:
    case FlatInnElement:
    case FlatKppElement:
    case FlatOktmoElement:
        payer_.focus(static_cast<PayerField>(element));
        break;
    case FlatIncomeAmountElement:
        incomeEdit_->setFocus();
        break;
    case FlatWithheldElement:
        withheldEdit_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
