#include "screens/BusinessActivityDialog.h"

#include "core/Text.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/OkvedPicker.h"
#include "screens/rules/BusinessRules.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

BusinessActivityDialog::BusinessActivityDialog(Asker& asker, const OkvedClassifier* classifier,
                                               std::filesystem::path okvedFile, const Cp1251Text& kind,
                                               const Cp1251Text& okvedCode, QWidget* parent)
    : QDialog(parent), asker_(asker), classifier_(classifier), okvedFile_(std::move(okvedFile)) {
    setObjectName(QStringLiteral("TfmInputBusinessIncome"));
    setWindowTitle(QStringLiteral("Вид деятельности"));

    auto* kindBox = new QGroupBox(QStringLiteral("Вид деятельности"), this);
    kindBox->setObjectName(QStringLiteral("rgActivityKind"));
    kinds_ = new QButtonGroup(this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    const auto& names = activityKindNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* radio = new QRadioButton(fromCp1251(names[i]), kindBox);
        radio->setObjectName(QStringLiteral("rbKind%1").arg(i + 1));
        kinds_->addButton(radio, static_cast<int>(i + 1));
        kindLayout->addWidget(radio);
    }

    okvedEdit_ = codeField(this, "edOkvedCode");
    okvedEdit_->setMaximumWidth(90);
    okvedButton_ = pickButton(this, "bnOkvedCode");
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("Код вида деятельности"), this));
    codeRow->addWidget(okvedEdit_);
    codeRow->addWidget(okvedButton_);
    codeRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kindBox);
    layout->addLayout(codeRow);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));

    if (QAbstractButton* chosen = kinds_->button(kind.size() == 1 ? kind[0] - '0' : 0))
        chosen->setChecked(true);
    okvedEdit_->setText(fromCp1251(okvedCode));
    kindChosen();
    connect(kinds_, &QButtonGroup::idClicked, this, &BusinessActivityDialog::kindChosen);
    connect(okvedButton_, &QToolButton::clicked, this, &BusinessActivityDialog::pickCode);
    resize(420, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

Cp1251Text BusinessActivityDialog::kind() const {
    const int id = kinds_->checkedId();
    return id >= 1 && id <= 9 ? Cp1251Text::number(id) : Cp1251Text();
}

Cp1251Text BusinessActivityDialog::okvedCode() const {
    return toCp1251(okvedEdit_->text());
}

void BusinessActivityDialog::kindChosen() {
    // The picker is offered even without the directory beside the program: it can
    // import the classifier itself.
    okvedButton_->setEnabled(kind() == "1");
}

void BusinessActivityDialog::pickCode() {
    OkvedPicker picker(asker_, classifier_, okvedFile_, this);
    if (picker.exec() != QDialog::Accepted)
        return;
    if (const auto code = picker.chosenCode())
        okvedEdit_->setText(fromCp1251(*code));
}

void BusinessActivityDialog::accept() {
    if (kind() == "1" && trimText(okvedCode()).empty()) {
        QDialog::reject();
        return;
    }
    QDialog::accept();
}

} // namespace kv
