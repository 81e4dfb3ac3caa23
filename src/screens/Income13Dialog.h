#pragma once
// "Сведения о доходе": one income of a source at 13% with its code, amount, month,
// the deduction (expense) against it, and for a sold property its cadastral data.
// The deduction amount follows the dictionary's rules for the chosen code: a
// percentage of the income, the income itself up to a cap, or what the user types.
// The dialog edits its own values; the screen takes the item only after "Да".
#include "core/Text.h"
#include "model/IncomeSources.h"
#include "reference/IncomeDict.h"

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kv {

class Asker;
class FieldEdit;

class Income13Dialog : public QDialog {
    Q_OBJECT
public:
    // residentReturn: the return is a resident's ("3-НДФЛ"), which decides the
    // income codes offered, the month and the deductions allowed.
    Income13Dialog(Asker& asker, const IncomeDict& dict, bool residentReturn, bool investmentPartnership,
                   const std::optional<ThirteenIncomeItem>& existing, QWidget* parent);

    bool incomeChosen() const { return !incomeCode_.empty(); }
    // The income with the dialog's values; meaningful after "Да".
    ThirteenIncomeItem item() const;

public slots:
    void accept() override;

private:
    void buildWidgets();
    void restore(const ThirteenIncomeItem& item);

    void chooseIncome();
    bool takeTypedIncome(const Cp1251Text& code);
    void applyIncome(const Cp1251Text& code, const Cp1251Text& name);
    void chooseDeduction();
    bool takeTypedDeduction(const Cp1251Text& code);
    QString shownDeductionCode() const;
    void applyDeduction(const DeductionChoice& choice);
    void clearDeduction();
    void setDeductionControls(bool allowed);

    void incomeChanged();
    void deductionChanged();
    void cadastralToggled(bool checked);
    void cadastralChanged();
    void monthChanged();
    void monthFinished();

    std::optional<Money> incomeAmount() const;
    bool deductionEditable() const;
    void showDeduction(std::optional<Money> amount, bool zeroAsEmpty);
    void goToElement(std::uint16_t element);

    Asker& asker_;
    const IncomeDict& dict_;
    bool resident_;
    bool partnership_;

    Cp1251Text incomeCode_;
    Cp1251Text incomeName_;
    bool deductionAllowed_ = false;
    // Income 2799: deduction 599 equal to the income.
    bool following_ = false;
    std::optional<DeductionChoice> deduction_;
    // The deduction amount is being set by the dialog, not typed.
    bool deriving_ = false;

    QLineEdit* incomeCodeEdit_;
    QToolButton* incomeCodeButton_;
    QLabel* incomeNameLabel_;
    FieldEdit* incomeSumEdit_;
    QFrame* realEstatePanel_;
    QCheckBox* cadastralBox_;
    FieldEdit* cadastralValueEdit_;
    FieldEdit* cadastralNumberEdit_;
    FieldEdit* contractPriceEdit_;
    QLabel* deductCodeLabel_;
    QLineEdit* deductCodeEdit_;
    QToolButton* deductCodeButton_;
    QLabel* deductNameLabel_;
    QLabel* deductSumLabel_;
    FieldEdit* deductSumEdit_;
    QLabel* monthLabel_;
    FieldEdit* monthEdit_;
};

} // namespace kv
