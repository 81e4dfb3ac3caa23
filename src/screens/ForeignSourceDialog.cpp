#include "screens/ForeignSourceDialog.h"

#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/CitizenshipPicker.h"
#include "screens/rules/ForeignRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

ForeignSourceDialog::ForeignSourceDialog(Asker& asker, const std::optional<CodeNameRows>& countries,
                                         const ForeignIncome& source, QWidget* parent)
    : QDialog(parent), asker_(asker), countries_(countries), source_(source) {
    setObjectName(QStringLiteral("TfmInputCurrencySourseIncome"));
    setWindowTitle(QStringLiteral("Доход"));

    nameEdit_ = field(this, "edSourceName", FieldKind::Any, 1000);
    countryEdit_ = field(this, "edCountryCode", FieldKind::Digits, 3);
    countryEdit_->setMaximumWidth(60);
    countryButton_ = pickButton(this, "bnCountryCode");
    countryButton_->setEnabled(countries_.has_value());
    connect(countryButton_, &QToolButton::clicked, this, &ForeignSourceDialog::pickCountry);

    nameEdit_->setStoredText(fromCp1251(source_.sourceName));
    countryEdit_->setStoredText(fromCp1251(source_.countryCode));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Наименование источника выплаты"), this), 0, 0, 1, 3);
    grid->addWidget(nameEdit_, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Код страны"), this), 2, 0);
    grid->addWidget(countryEdit_, 2, 1);
    grid->addWidget(countryButton_, 2, 2, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    resize(520, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

void ForeignSourceDialog::pickCountry() {
    if (!countries_.has_value())
        return;
    const std::optional<CodeName> picked =
        CitizenshipPicker::of(parentWidget() != nullptr ? parentWidget()->window() : this, *countries_)
            .choose(toCp1251(countryEdit_->text()));
    if (!picked.has_value() || fromCp1251(picked->code) == countryEdit_->text())
        return;
    countryEdit_->setText(fromCp1251(picked->code));
    emit countryPicked();
}

void ForeignSourceDialog::accept() {
    const Cp1251Text country = toCp1251(countryEdit_->text());
    AskerCheckDialog dialog(asker_, this);
    if (!checkForeignSourceCountry(country, dialog)) {
        countryEdit_->setFocus();
        pickCountry();
        return;
    }
    source_.sourceName = toCp1251(nameEdit_->text());
    source_.countryCode = country;
    QDialog::accept();
}

} // namespace kv
