#include "screens/AgentDeductionDialog.h"

#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/TypedCode.h"
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
const Cp1251Text kAgentDeductions{"0000"};

} // namespace

AgentDeductionDialog::AgentDeductionDialog(Asker& asker, const IncomeDict& dict,
                                           const std::optional<AgentDeductionItem>& existing, QWidget* parent)
    : QDialog(parent), dict_(dict) {
    setObjectName(QStringLiteral("TfmInputSSCDeduct"));
    setWindowTitle(QStringLiteral("Вычеты, указанные в разделе 3 справки 2-ндфл"));

    codeEdit_ = codeField(this, "edDeductCode");
    codeButton_ = pickButton(this, "bnDeductCode");
    nameLabel_ = new QLabel(this);
    nameLabel_->setObjectName(QStringLiteral("lblDeductName"));
    nameLabel_->setWordWrap(true);
    amountEdit_ = field(this, "edDeductSum", FieldKind::Money, 12, 2);
    amountEdit_->setEnabled(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Код вычета"), this), 0, 0);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(codeEdit_);
    codeRow->addWidget(codeButton_);
    codeRow->addWidget(nameLabel_, 1);
    grid->addLayout(codeRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Сумма вычета"), this), 1, 0);
    grid->addWidget(amountEdit_, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* buttons = yesNoButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());

    if (existing.has_value()) {
        const Cp1251Text code = Cp1251Text::number(existing->deductionCode);
        for (const DeductionEntry* row : deductionPickerRows(dict_, kAgentDeductions, true)) {
            if (row->code == code) {
                choice_ = chooseDeduction(*row);
                showChoice();
                amountEdit_->setMoney(cappedDeductionAmount(*choice_, existing->amount));
                break;
            }
        }
    }
    connect(codeButton_, &QToolButton::clicked, this, &AgentDeductionDialog::chooseCode);
    connect(amountEdit_, &FieldEdit::changed, this, &AgentDeductionDialog::capAmount);
    acceptTypedCode(codeEdit_, asker,
                    {3, QStringLiteral("deductionCodeNotListed"), DeductionCodePicker::notListedMessage,
                     [this] { return choice_.has_value() ? fromCp1251(choice_->code) : QString(); },
                     [this](const Cp1251Text& code) { return takeTypedCode(code); }});
    arrangeDialogForKeyboard(this);
}

void AgentDeductionDialog::chooseCode() {
    DeductionCodePicker picker(dict_, true, choice_ ? choice_->code : Cp1251Text(), kAgentDeductions, this);
    const std::optional<DeductionChoice> chosen = picker.choose();
    if (chosen.has_value())
        take(*chosen);
}

bool AgentDeductionDialog::takeTypedCode(const Cp1251Text& code) {
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
    codeEdit_->setText(fromCp1251(choice_->code));
    nameLabel_->setText(fromCp1251(choice_->name));
    amountEdit_->setEnabled(true);
}

void AgentDeductionDialog::capAmount() {
    if (!choice_.has_value() || amountEdit_->text().isEmpty())
        return;
    const Money amount = amountOf(amountEdit_);
    const Money capped = cappedDeductionAmount(*choice_, amount);
    if (capped != amount)
        amountEdit_->setMoney(capped);
}

AgentDeductionItem AgentDeductionDialog::deduction() const {
    AgentDeductionItem d;
    if (choice_.has_value())
        d.deductionCode = std::stoi(choice_->code.bytes());
    d.amount = amountOf(amountEdit_);
    return d;
}

} // namespace kv
