#include "screens/IncomeSourceDialog.h"
#include "screens/EntryFields.h"

#include "checks/IdentifierChecks.h"
#include "screens/CheckDialogs.h"
#include "screens/FieldEdit.h"
#include "screens/ScreenWidgets.h"
#include "screens/UiText.h"
#include "screens/rules/ThirteenRules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

IncomeSourceDialog::IncomeSourceDialog(Asker& asker, const ThirteenPercentSource& source,
                                       bool nonResidentReturn, bool partnershipEditable, QWidget* parent)
    : QDialog(parent), asker_(asker), source_(source) {
    setObjectName(QStringLiteral("TfmInput13SourseIncome"));
    setWindowTitle(QStringLiteral("Источник выплаты"));

    edName_ = field(this, "edSourceName", FieldKind::edtNone, 1000);
    edInn_ = field(this, "edSourceInn", FieldKind::edtDigital, 12);
    edKpp_ = field(this, "edSourceKpp", FieldKind::edtDigital, 9);
    edOktmo_ = field(this, "edSourceOktmo", FieldKind::edtDigital, 11);
    chbPrimary_ = new QCheckBox(QStringLiteral("Расчет стандартных вычетов вести по этому источнику"), this);
    chbPrimary_->setObjectName(QStringLiteral("chbPrimaryWorkplace"));
    chbPartnership_ = new QCheckBox(QStringLiteral("Источник является инвестиционным товариществом"), this);
    chbPartnership_->setObjectName(QStringLiteral("chbInvestmentPartnership"));

    edName_->setText(fromCp1251(source_.sourceName));
    edInn_->setText(fromCp1251(source_.sourceInn));
    edKpp_->setText(fromCp1251(source_.sourceKpp));
    edOktmo_->setText(fromCp1251(source_.sourceOktmo));
    chbPrimary_->setChecked(source_.isPrimaryWorkplace != 0);
    chbPrimary_->setVisible(!nonResidentReturn);
    chbPartnership_->setChecked(source_.isInvestmentPartnership != 0);
    chbPartnership_->setEnabled(partnershipEditable);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Наименование источника выплаты"), this), 0, 0, 1, 2);
    grid->addWidget(edName_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("ИНН"), this), 2, 0);
    grid->addWidget(edInn_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("КПП"), this), 3, 0);
    grid->addWidget(edKpp_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("ОКТМО"), this), 4, 0);
    grid->addWidget(edOktmo_, 4, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(chbPrimary_);
    layout->addWidget(chbPartnership_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
}

void IncomeSourceDialog::hideMarks() {
    chbPrimary_->hide();
    chbPartnership_->hide();
}

void IncomeSourceDialog::accept() {
    const std::string name = toCp1251(edName_->text());
    const std::string inn = toCp1251(edInn_->text());
    const std::string kpp = toCp1251(edKpp_->text());
    const std::string oktmo = toCp1251(edOktmo_->text());
    AskerCheckDialog dialog(asker_, this);
    switch (CheckPayer(dialog, thirteenPercentTitle(), name, true, oktmo, kpp, inn)) {
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
    source_.isPrimaryWorkplace = chbPrimary_->isChecked() ? 1 : 0;
    source_.isInvestmentPartnership = chbPartnership_->isChecked() ? 1 : 0;
    QDialog::accept();
}

} // namespace kv
