#include "screens/AgentDeductionDialog.h"

#include "screens/kit/TypedCode.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/DeductionCodePicker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

namespace {

// Deductions granted by an agent are filed in the dictionary under this pseudo-income.
constexpr const char* kAgentDeductions = "0000";

} // namespace

AgentDeductionDialog::AgentDeductionDialog(Asker& asker, const IncomeDict& dict,
                                           const std::optional<AgentDeductionItem>& existing, QWidget* parent)
    : QDialog(parent), dict_(dict) {
    setObjectName(QStringLiteral("TfmInputSSCDeduct"));
    setWindowTitle(QStringLiteral("Вычеты, указанные в разделе 3 справки 2-ндфл"));

    edCode_ = codeField(this, "edDeductCode");
    bnCode_ = pickButton(this, "bnDeductCode");
    lblName_ = new QLabel(this);
    lblName_->setObjectName(QStringLiteral("lblDeductName"));
    lblName_->setWordWrap(true);
    edAmount_ = field(this, "edDeductSum", FieldKind::edtCurrency, 12, 2);
    edAmount_->setEnabled(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Код вычета"), this), 0, 0);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(edCode_);
    codeRow->addWidget(bnCode_);
    codeRow->addWidget(lblName_, 1);
    grid->addLayout(codeRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Сумма вычета"), this), 1, 0);
    grid->addWidget(edAmount_, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());

    if (existing.has_value()) {
        const std::string code = std::to_string(existing->deductionCode);
        for (const DeductionEntry* row : deductionPickerRows(dict_, kAgentDeductions, true)) {
            if (row->code == code) {
                choice_ = chooseDeduction(*row);
                showChoice();
                edAmount_->setMoney(cappedDeductionAmount(*choice_, existing->amount));
                break;
            }
        }
    }
    connect(bnCode_, &QToolButton::clicked, this, &AgentDeductionDialog::chooseCode);
    connect(edAmount_, &FieldEdit::changed, this, &AgentDeductionDialog::capAmount);
    acceptTypedCode(edCode_, asker,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return choice_.has_value() ? fromCp1251(choice_->code) : QString(); },
                     [this](const std::string& code) { return takeTypedCode(code); }});
    arrangeDialogForKeyboard(this);
}

void AgentDeductionDialog::chooseCode() {
    DeductionCodePicker picker(dict_, true, choice_ ? choice_->code : std::string(), kAgentDeductions, this);
    const std::optional<DeductionChoice> chosen = picker.choose();
    if (chosen.has_value())
        take(*chosen);
}

bool AgentDeductionDialog::takeTypedCode(const std::string& code) {
    const std::optional<DeductionChoice> chosen =
        DeductionCodePicker::find(dict_, true, kAgentDeductions, code);
    if (chosen.has_value())
        take(*chosen);
    return chosen.has_value();
}

void AgentDeductionDialog::take(const DeductionChoice& chosen) {
    if (choice_.has_value() && chosen.code == choice_->code)
        return;
    choice_ = chosen;
    showChoice();
    capAmount();
}

void AgentDeductionDialog::showChoice() {
    edCode_->setText(fromCp1251(choice_->code));
    lblName_->setText(fromCp1251(choice_->name));
    edAmount_->setEnabled(true);
}

void AgentDeductionDialog::capAmount() {
    if (!choice_.has_value() || edAmount_->text().isEmpty())
        return;
    const Money amount = amountOf(edAmount_);
    const Money capped = cappedDeductionAmount(*choice_, amount);
    if (capped != amount)
        edAmount_->setMoney(capped);
}

AgentDeductionItem AgentDeductionDialog::deduction() const {
    AgentDeductionItem d;
    if (choice_.has_value())
        d.deductionCode = std::stoi(choice_->code);
    d.amount = amountOf(edAmount_);
    return d;
}

} // namespace kv
