#include "screens/FlatIncomeDialog.h"

#include "screens/CheckDialogs.h"
#include "screens/EntryFields.h"
#include "screens/FieldEdit.h"
#include "screens/ScreenWidgets.h"
#include "screens/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv {

FlatIncomeDialog::FlatIncomeDialog(Asker& asker, FlatIncomeKind kind, const ThirtyPercentSource& source,
                                   bool newSource, QWidget* parent)
    : QDialog(parent), asker_(asker), kind_(kind), source_(source), newSource_(newSource) {
    const bool nine = kind == FlatIncomeKind::NinePercent;
    setObjectName(nine ? QStringLiteral("TfmInput9SourseIncome") : QStringLiteral("TfmInput30SourseIncome"));
    setWindowTitle(nine ? QStringLiteral("Доход, облагаемый по ставке 9%")
                        : QStringLiteral("Доход в виде дивидендов"));

    edName_ = field(this, "edSourceName", FieldKind::edtNone, 1000);
    edInn_ = field(this, "edSourceInn", FieldKind::edtDigital, flatIncomeSetup(kind).innLength);
    edKpp_ = field(this, "edSourceKpp", FieldKind::edtDigital, 9);
    edOktmo_ = field(this, "edSourceOktmo", FieldKind::edtDigital, 11);
    edIncome_ = moneyField(this, "edIncomeSum");
    edWithheld_ = field(this, "edTaxWithheld", FieldKind::edtDigital, 12);
    for (FieldEdit* short_ : {edInn_, edKpp_, edOktmo_, edIncome_, edWithheld_})
        short_->setMaximumWidth(160);

    edName_->setStoredText(fromCp1251(source_.sourceName));
    edInn_->setStoredText(fromCp1251(source_.sourceInn));
    edKpp_->setStoredText(fromCp1251(source_.sourceKpp));
    edOktmo_->setStoredText(fromCp1251(source_.sourceOktmo));
    // Dividends show what is taxed; the 9% list the income itself (the two are kept equal).
    const Money income = nine ? source_.totalIncome : source_.taxableAmount;
    if (!income.isZero())
        edIncome_->setMoney(income);
    edWithheld_->setStoredText(wholeRoublesText(source_.taxWithheld));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Наименование источника выплаты"), this), 0, 0, 1, 2);
    grid->addWidget(edName_, 1, 0, 1, 2);
    const QList<std::pair<QString, FieldEdit*>> rows = {
        {QStringLiteral("ИНН"), edInn_},
        {QStringLiteral("КПП"), edKpp_},
        {QStringLiteral("ОКТМО"), edOktmo_},
        {nine ? QStringLiteral("Сумма дохода") : QStringLiteral("Облагаемая сумма дивидендов"), edIncome_},
        {QStringLiteral("Удержанный налог"), edWithheld_},
    };
    int row = 2;
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
}

FlatIncomeValues FlatIncomeDialog::values() const {
    FlatIncomeValues v;
    v.name = toCp1251(edName_->text());
    v.inn = toCp1251(edInn_->text());
    v.kpp = toCp1251(edKpp_->text());
    v.oktmo = toCp1251(edOktmo_->text());
    if (!edIncome_->text().isEmpty())
        v.income = amountOf(edIncome_);
    v.withheld = wholeRoublesOf(edWithheld_, source_.taxWithheld);
    return v;
}

void FlatIncomeDialog::accept() {
    const FlatIncomeValues v = values();
    AskerCheckDialog dialog(asker_, this);
    const std::uint16_t element = CheckFlatIncomeDialog(kind_, v, dialog);
    if (element != 0) {
        goToElement(element);
        return;
    }
    storeFlatIncome(kind_, v, newSource_, source_);
    QDialog::accept();
}

void FlatIncomeDialog::goToElement(std::uint16_t element) {
    switch (element) {
    case kFlatNameElement:
        edName_->setFocus();
        break;
    case kFlatInnElement:
        edInn_->setFocus();
        break;
    case kFlatKppElement:
        edKpp_->setFocus();
        break;
    case kFlatOktmoElement:
        edOktmo_->setFocus();
        break;
    case kFlatIncomeElement:
        edIncome_->setFocus();
        break;
    case kFlatWithheldElement:
        edWithheld_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
