#pragma once
// "Источник выплаты": the payer of incomes at 13%. The dialog edits a copy of the
// source; the payer check runs on "Да" and the screen takes the copy only then.
#include "model/IncomeSources.h"
#include "screens/kit/PayerFields.h"

#include <QDialog>

class QCheckBox;

namespace kv {

class Asker;

class IncomeSourceDialog : public QDialog {
    Q_OBJECT
public:
    // nonResidentReturn hides the standard-deductions box; the partnership mark can be
    // changed only while the source has no incomes and no agent deductions.
    IncomeSourceDialog(Asker& asker, const ThirteenPercentSource& source, bool nonResidentReturn,
                       bool partnershipEditable, QWidget* parent);

    // The source with the dialog's values; meaningful after "Да".
    const ThirteenPercentSource& source() const { return source_; }
    // Hides both marks (the standard-deductions box and the partnership box): the
    // dialog then edits the payer's name and codes only.
    void hideMarks();

public slots:
    void accept() override;

private:
    Asker& asker_;
    ThirteenPercentSource source_;
    PayerFields payer_;
    QCheckBox* primaryBox_;
    QCheckBox* partnershipBox_;
};

} // namespace kv
