#pragma once
// The income code and amount with the deduction against it, as the 35% source
// dialog and the non-resident's income dialog show them: codes from the
// dictionary's pickers, typed or picked, the amount field of a deduction shown and editable as its
// code says, and the deduction amount kept in step with the income by the rules of
// the dialog that owns the fields.
#include "core/Money.h"
#include "core/Text.h"
#include "reference/IncomeDict.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace kv {

class Asker;
class FieldEdit;

class IncomeCodeFields : public QObject {
    Q_OBJECT
public:
    enum class Rules {
        ThirtyFive,  // rate "35"; an equal-to-income deduction is filled when picked; 2620 takes no amount
        NonResident, // rate "13" of a non-resident; a deduction is only limited by its cap
    };

    IncomeCodeFields(Asker& asker, const IncomeDict& dict, Rules rules, QWidget* dialog);

    // Puts the rows into the grid from row on; returns the next free row.
    int addTo(QGridLayout* grid, int row);

    // Opens on a stored income: the state picking its codes would have left.
    void restore(std::int32_t incomeCode, Money income, std::int32_t deductionCode, Money deduction);

    void chooseIncome();
    void chooseDeduction();

    bool incomeChosen() const { return !incomeCode_.empty(); }
    std::int32_t incomeCode() const;
    bool incomeEmpty() const;
    // The income typed, 0 when empty.
    Money income() const;
    bool incomeHasDeductions() const { return hasDeductions_; }
    bool deductionChosen() const { return deduction_.has_value(); }
    std::int32_t deductionCode() const;
    bool deductionEditable() const;
    bool deductionEmpty() const;
    // The deduction as it is stored: 0 when none is chosen or its amount is hidden.
    Money deduction() const;

    QToolButton* incomeButton() const { return incomeCodeButton_; }
    FieldEdit* incomeField() const { return incomeSumEdit_; }
    QToolButton* deductionButton() const { return deductCodeButton_; }
    FieldEdit* deductionField() const { return deductSumEdit_; }

signals:
    // Another income code was picked.
    void incomePicked();

private:
    Cp1251Text rateSelector() const;
    bool takeTypedIncome(const Cp1251Text& code);
    bool takeTypedDeduction(const Cp1251Text& code);
    void applyIncome(const Cp1251Text& code, const Cp1251Text& name);
    void applyDeduction(const DeductionChoice& choice);
    void clearDeduction();
    void setDeductionControls(bool enabled);
    void setIncomeEnabled(bool enabled);
    std::optional<Money> incomeAmount() const;
    std::optional<Money> typedDeduction() const;
    void showDeduction(std::optional<Money> amount);
    void incomeChanged();
    void deductionChanged();

    const IncomeDict& dict_;
    Rules rules_;
    QWidget* dialog_;
    Cp1251Text incomeCode_;
    bool hasDeductions_ = false;
    std::optional<DeductionChoice> deduction_;
    // The deduction amount is being set here, not typed.
    bool deriving_ = false;

    QLabel* incomeCodeLabel_;
    QLineEdit* incomeCodeEdit_;
    QToolButton* incomeCodeButton_;
    QLabel* incomeNameLabel_;
    QLabel* incomeSumLabel_;
    FieldEdit* incomeSumEdit_;
    QLabel* deductCodeLabel_;
    QLineEdit* deductCodeEdit_;
    QToolButton* deductCodeButton_;
    QLabel* deductNameLabel_;
    QLabel* deductSumLabel_;
    FieldEdit* deductSumEdit_;
};

} // namespace kv
