#pragma once
// The two entry dialogs of the social deductions: one amount paid for a child's
// education, and one pension or life-insurance contract. Both edit a copy; the
// screen writes it into the document only after "Да".
#include "model/Deductions.h"

#include <QDialog>

class QLabel;
class QRadioButton;

namespace kv {

class DateEdit;

class Asker;
class FieldEdit;

// "Сумма за обучение".
class ChildEducationDialog : public QDialog {
    Q_OBJECT
public:
    ChildEducationDialog(Money amount, QWidget* parent);

    // The amount entered; an empty field is 0.
    Money amount() const;

private:
    FieldEdit* sumEdit_;
};

// "Вид и данные договора".
class PensionContractDialog : public QDialog {
    Q_OBJECT
public:
    // A new contract starts as kind 1 dated 01.01.2019; kind 0 of an old contract shows as 1.
    PensionContractDialog(Asker& asker, const PensionContract& contract, QWidget* parent);

    // The contract with the dialog's values; meaningful after "Да".
    const PensionContract& contract() const { return contract_; }

public slots:
    void accept() override;

private:
    int chosenKind() const;
    void kindChosen();

    Asker& asker_;
    PensionContract contract_;
    QRadioButton* kindRadios_[4];
    QLabel* nameLabel_;
    FieldEdit* nameEdit_;
    QLabel* innLabel_;
    FieldEdit* innEdit_;
    QLabel* kppLabel_;
    FieldEdit* kppEdit_;
    QLabel* numberLabel_;
    FieldEdit* numberEdit_;
    QLabel* dateLabel_;
    DateEdit* dateEdit_;
    FieldEdit* contributionEdit_;
};

// Additional contributions to the funded pension: no organisation, no contract data.
inline constexpr std::int32_t kFundedPensionContributions = PensionContract::kFundedPensionContributions;

// A contract's row in the screen's list.
QString contractTitle(const PensionContract& contract);

} // namespace kv
