#pragma once
// The two entry dialogs of the investment-partnership screen: the partnership as a
// payer ("Источник выплаты") and one of its incomes by kind of operation
// ("Участие в инвестиционных товариществах"). Each edits a copy; the screen takes it
// only when the dialog is accepted.
#include "model/IncomeSources.h"
#include "screens/kit/PayerFields.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace kv {

class Asker;
class FieldEdit;

class PartnershipSourceDialog : public QDialog {
    Q_OBJECT
public:
    PartnershipSourceDialog(Asker& asker, const InvestmentPartnership& source, QWidget* parent);

    // The partnership with the dialog's values; meaningful after acceptance.
    const InvestmentPartnership& source() const { return source_; }

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void confirm(bool byEnter);

    Asker& asker_;
    InvestmentPartnership source_;
    PayerFields payer_;
};

class PartnershipIncomeDialog : public QDialog {
    Q_OBJECT
public:
    PartnershipIncomeDialog(Asker& asker, const PartnershipIncomeItem& item, QWidget* parent);

    // The item with the dialog's values (contributions as they were); meaningful after acceptance.
    const PartnershipIncomeItem& item() const { return item_; }

public slots:
    void accept() override;

protected:
    // Enter and Escape do nothing here: only the buttons close the dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void kindChosen(bool reset);

    Asker& asker_;
    PartnershipIncomeItem item_;
    QComboBox* kindCombo_;
    FieldEdit* incomeEdit_;
    QLabel* expenseShareLabel_;
    QLabel* contributionsLabel_;
    FieldEdit* expenseShareEdit_;
    QLabel* managerLabel_;
    FieldEdit* managerEdit_;
    QLabel* priorLossLabel_;
    FieldEdit* priorLossEdit_;
};

} // namespace kv
