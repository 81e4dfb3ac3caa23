#pragma once
// "Вычеты, указанные в разделе 3 справки 2-ндфл": a standard, social or property
// deduction the tax agent already granted. The amount is limited to the code's cap.
#include "core/Text.h"
#include "model/IncomeSources.h"
#include "reference/IncomeDict.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kv {

class Asker;
class FieldEdit;

class AgentDeductionDialog : public QDialog {
    Q_OBJECT
public:
    // existing: the deduction to edit; a code the dictionary no longer lists opens empty.
    AgentDeductionDialog(Asker& asker, const IncomeDict& dict,
                         const std::optional<AgentDeductionItem>& existing, QWidget* parent);

    bool codeChosen() const { return choice_.has_value(); }
    // The deduction with the dialog's values; meaningful after "Да" with a code.
    AgentDeductionItem deduction() const;

private:
    void chooseCode();
    bool takeTypedCode(const Cp1251Text& code);
    void take(const DeductionChoice& chosen);
    void showChoice();
    void capAmount();

    const IncomeDict& dict_;
    std::optional<DeductionChoice> choice_;
    QLineEdit* codeEdit_;
    QLabel* nameLabel_;
    QToolButton* codeButton_;
    FieldEdit* amountEdit_;
};

} // namespace kv
