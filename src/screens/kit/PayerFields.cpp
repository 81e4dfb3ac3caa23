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
      edName_(field(dialog, "edSourceName", FieldKind::edtNone, 1000)),
      edInn_(field(dialog, "edSourceInn", FieldKind::edtDigital, innLength)),
      edKpp_(field(dialog, "edSourceKpp", FieldKind::edtDigital, 9)),
      edOktmo_(field(dialog, "edSourceOktmo", FieldKind::edtDigital, 11)) {}

int PayerFields::addTo(QGridLayout* grid, int row) {
    // The grid may not be installed yet, so the captions take the dialog as parent.
    grid->addWidget(new QLabel(nameCaption_, dialog_), row++, 0, 1, 2);
    grid->addWidget(edName_, row++, 0, 1, 2);
    for (const auto& [caption, edit] :
         {std::pair{QStringLiteral("ИНН"), edInn_}, std::pair{QStringLiteral("КПП"), edKpp_},
          std::pair{QStringLiteral("ОКТМО"), edOktmo_}}) {
        auto* label = new QLabel(caption, dialog_);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    return row;
}

void PayerFields::load(const IncomeSource& source) {
    edName_->setStoredText(fromCp1251(source.sourceName));
    edInn_->setStoredText(fromCp1251(source.sourceInn));
    edKpp_->setStoredText(fromCp1251(source.sourceKpp));
    edOktmo_->setStoredText(fromCp1251(source.sourceOktmo));
}

void PayerFields::store(IncomeSource& source) const {
    source.sourceName = name();
    source.sourceInn = inn();
    source.sourceKpp = kpp();
    source.sourceOktmo = oktmo();
}

std::string PayerFields::name() const {
    return toCp1251(edName_->text());
}

std::string PayerFields::inn() const {
    return toCp1251(edInn_->text());
}

std::string PayerFields::kpp() const {
    return toCp1251(edKpp_->text());
}

std::string PayerFields::oktmo() const {
    return toCp1251(edOktmo_->text());
}

bool PayerFields::check(CheckDialog& dialog, std::string_view sectionTitle, bool skipAllowed) {
    const PayerField fault = CheckPayer(dialog, sectionTitle, name(), skipAllowed, oktmo(), kpp(), inn());
    focus(fault);
    return fault == PayerField::Accept;
}

void PayerFields::focus(PayerField field) {
    switch (field) {
    case PayerField::Name:
        edName_->setFocus();
        break;
    case PayerField::Inn:
        edInn_->setFocus();
        break;
    case PayerField::Kpp:
        edKpp_->setFocus();
        break;
    case PayerField::Oktmo:
        edOktmo_->setFocus();
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
