#include "screens/kit/PayerFields.h"

#include "model/IncomeSources.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <utility>

namespace kv {

PayerFields::PayerFields(QWidget* dialog, int innLength, const QString& nameCaption)
    : dialog_(dialog), nameCaption_(nameCaption),
      nameEdit_(field(dialog, "edSourceName", FieldKind::Any, 1000)),
      innEdit_(field(dialog, "edSourceInn", FieldKind::Digits, innLength)),
      kppEdit_(field(dialog, "edSourceKpp", FieldKind::Digits, 9)),
      oktmoEdit_(field(dialog, "edSourceOktmo", FieldKind::Digits, 11)) {}

int PayerFields::addTo(QGridLayout* grid, int row) {
    // The grid may not be installed yet, so the captions take the dialog as parent.
    grid->addWidget(new QLabel(nameCaption_, dialog_), row++, 0, 1, 2);
    grid->addWidget(nameEdit_, row++, 0, 1, 2);
    for (const auto& [caption, edit] :
         {std::pair{QStringLiteral("ИНН"), innEdit_}, std::pair{QStringLiteral("КПП"), kppEdit_},
          std::pair{QStringLiteral("ОКТМО"), oktmoEdit_}}) {
        auto* label = new QLabel(caption, dialog_);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    return row;
}

void PayerFields::load(const IncomeSource& source) {
    nameEdit_->setStoredText(fromCp1251(source.sourceName));
    innEdit_->setStoredText(fromCp1251(source.sourceInn));
    kppEdit_->setStoredText(fromCp1251(source.sourceKpp));
    oktmoEdit_->setStoredText(fromCp1251(source.sourceOktmo));
}

void PayerFields::store(IncomeSource& source) const {
    source.sourceName = name();
    source.sourceInn = inn();
    source.sourceKpp = kpp();
    source.sourceOktmo = oktmo();
}

Cp1251Text PayerFields::name() const {
    return toCp1251(nameEdit_->text());
}

Cp1251Text PayerFields::inn() const {
    return toCp1251(innEdit_->text());
}

Cp1251Text PayerFields::kpp() const {
    return toCp1251(kppEdit_->text());
}

Cp1251Text PayerFields::oktmo() const {
    return toCp1251(oktmoEdit_->text());
}

bool PayerFields::check(CheckDialog& dialog, const Cp1251Text& sectionTitle, bool skipAllowed) {
    const PayerField fault = checkPayer(dialog, sectionTitle, name(), skipAllowed, oktmo(), kpp(), inn());
    focus(fault);
    return fault == PayerField::Accept;
}

void PayerFields::focus(PayerField field) {
    switch (field) {
    case PayerField::Name:
        nameEdit_->setFocus();
        break;
    case PayerField::Inn:
        innEdit_->setFocus();
        break;
    case PayerField::Kpp:
        kppEdit_->setFocus();
        break;
    case PayerField::Oktmo:
        oktmoEdit_->setFocus();
        break;
    case PayerField::Accept:
        break;
    }
}

void PayerFields::copyPayer(const IncomeSource& from, IncomeSource& to) {
    to.sourceName = from.sourceName;
    to.sourceInn = from.sourceInn;
    to.sourceKpp = from.sourceKpp;
    to.sourceOktmo = from.sourceOktmo;
}

} // namespace kv
