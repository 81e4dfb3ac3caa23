#pragma once
// The payer block of a source dialog: the name, INN, KPP and OKTMO fields, their
// rows in the dialog's grid, the texts as the source keeps them, and the payer check
// that sends the user back to the faulty field.
//
// How to use (the fields take their place in the tab order where payer_ is built,
// among the dialog's members):
//   payer_.load(source_);                 // in the dialog's constructor
//   int row = payer_.addTo(grid, 0);      // the name over the whole width, then three rows
//   ...
//   if (!payer_.check(dialog, title, true)) return;   // on "Да"
//   payer_.store(source_);
// The fields are children of the dialog, so their object names ("edSourceName",
// "edSourceInn", "edSourceKpp", "edSourceOktmo") are found on it as before.
#include "checks/IdentifierChecks.h"
#include "core/Text.h"

#include <QString>
#include <string>

class QGridLayout;
class QWidget;

namespace kv {

class CheckDialog;
class FieldEdit;
class IncomeSource;

class PayerFields {
public:
    // innLength: the 9% and dividends lists take an organisation's 10 digits only.
    explicit PayerFields(QWidget* dialog, int innLength = 12,
                         const QString& nameCaption = QStringLiteral("Наименование источника выплаты"));

    // The name's caption and field over both columns, then "ИНН", "КПП" and "ОКТМО"
    // beside their fields; returns the next free row.
    int addTo(QGridLayout* grid, int row);

    void load(const IncomeSource& source);
    void store(IncomeSource& source) const;

    // The texts in the document's encoding.
    Cp1251Text name() const;
    Cp1251Text inn() const;
    Cp1251Text kpp() const;
    Cp1251Text oktmo() const;

    // Runs checkPayer under the section's title; on a fault the user chose to fix,
    // the focus goes to that field and the answer is false.
    bool check(CheckDialog& dialog, const Cp1251Text& sectionTitle, bool skipAllowed);
    // Only the payer's details of from, into to (an edited source keeps its incomes).
    static void copyPayer(const IncomeSource& from, IncomeSource& to);
    // The field a payer check's result names; Accept leaves the focus where it is.
    void focus(PayerField field);

    FieldEdit* nameField() const { return nameEdit_; }
    FieldEdit* innField() const { return innEdit_; }
    FieldEdit* kppField() const { return kppEdit_; }
    FieldEdit* oktmoField() const { return oktmoEdit_; }

private:
    QWidget* dialog_;
    QString nameCaption_;
    FieldEdit* nameEdit_;
    FieldEdit* innEdit_;
    FieldEdit* kppEdit_;
    FieldEdit* oktmoEdit_;
};

} // namespace kv
