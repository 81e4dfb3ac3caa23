#include "screens/SocialDeductionScreen.h"

#include "checks/CheckRun.h"
#include "checks/RecordChecks.h"
#include "checks/ReturnCheck.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/SocialDeductionDialogs.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kv {

namespace {

// The amount fields in the record's order of the eight amounts.
constexpr Money SocialDeduction::*kAmountFields[8] = {
    &SocialDeduction::charity,
    &SocialDeduction::charity30,
    &SocialDeduction::ownEducation,
    &SocialDeduction::medical,
    &SocialDeduction::medicines,
    &SocialDeduction::expensiveMedical,
    &SocialDeduction::voluntaryInsurance,
    &SocialDeduction::qualificationAssessment,
};

QVBoxLayout* buttonColumn(std::initializer_list<QPushButton*> buttons) {
    auto* column = new QVBoxLayout;
    for (QPushButton* b : buttons)
        column->addWidget(b);
    column->addStretch(1);
    return column;
}

void reportListFailure(Asker& asker, QWidget* parent, const std::exception& failure) {
    asker.ask(parent,
              messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

} // namespace

SocialDeductionScreen::SocialDeductionScreen(QWidget* panel, ScreenHost& host) : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    load();
    connect(grantedBox_, &QCheckBox::clicked, this, &SocialDeductionScreen::grantedClicked);
    for (FieldEdit* edit : amounts_)
        connect(edit, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    auto* education = new RecordListController(educationList_, addEducationButton_, deleteEducationButton_,
                                               editEducationButton_, host.asker(), this);
    education->onAdd = [this] { addEducation(); };
    education->onEdit = [this] { editEducation(); };
    education->onRemove = [this] { deleteEducation(); };
    auto* contracts = new RecordListController(contractsList_, addContractButton_, deleteContractButton_,
                                               editContractButton_, host.asker(), this);
    contracts->enterEdits = false;
    contracts->onAdd = [this] { addContract(); };
    contracts->onEdit = [this] { editContract(); };
    contracts->onRemove = [this] { deleteContract(); };
}

void SocialDeductionScreen::buildWidgets() {
    auto* group = named(new QGroupBox(QStringLiteral("Социальные налоговые вычеты"), this), "gbSocial");
    grantedBox_ = named(new QCheckBox(QStringLiteral("Предоставить социальные налоговые вычеты"), group),
                        "chbPensDeduct");

    auto* spent = named(new QGroupBox(QStringLiteral("Суммы, затраченные на"), group), "gbAmounts");
    const char* names[8] = {"edCharity",   "edCharity30",        "edOwnEducation",       "edMedical",
                            "edMedicines", "edExpensiveMedical", "edVoluntaryInsurance", "edQualification"};
    const QStringList captions = {
        QStringLiteral("благотворительность"),
        QStringLiteral("благотворительность до 30%"),
        QStringLiteral("свое обучение"),
        QStringLiteral("лечение"),
        QStringLiteral("лекарственные препараты"),
        QStringLiteral("дорогостоящее лечение"),
        QStringLiteral("добровольное страхование"),
        QStringLiteral("оценка квалификации"),
    };
    FormGrid form(spent);
    for (std::size_t i = 0; i < amounts_.size(); ++i) {
        amounts_[i] = moneyField(spent, names[i]);
        form.addRow(captions.at(static_cast<int>(i)), amounts_[i]);
    }

    auto* children = named(new QGroupBox(QStringLiteral("Суммы, уплаченные за обучение детей"), group),
                           "gbChildEducation");
    educationList_ =
        makeList(children, "lvChildEducation", QStringLiteral("Список сумм, уплаченных за всех детей"),
                 {QStringLiteral("Суммы")});
    addEducationButton_ = button(children, "bnAddChildSum", QStringLiteral("Добавить"),
                                 QStringLiteral("Добавить очередную сумму, уплаченную за обучение детей"));
    deleteEducationButton_ = button(children, "bnDeleteChildSum", QStringLiteral("Удалить"),
                                    QStringLiteral("Удалить сумму, уплаченную за обучение детей"));
    editEducationButton_ = button(children, "bnEditChildSum", QStringLiteral("Редактировать"),
                                  QStringLiteral("Редактировать сумму, уплаченную за обучение детей"));
    educationActions_ = new ListActions(educationList_, deleteEducationButton_, {editEducationButton_});
    educationActions_->allowed = [this] { return grantedBox_->isChecked(); };
    auto* childLayout = new QHBoxLayout(children);
    childLayout->addWidget(educationList_, 1);
    childLayout->addLayout(buttonColumn({addEducationButton_, deleteEducationButton_, editEducationButton_}));

    const QString contractsCaption =
        QStringLiteral("Договоры добровольного страх. жизни, пенс. страх., негос. "
                       "пенс. обеспеч. и доп. страх. взносы на накопит. пенсию");
    auto* contracts = named(new QWidget(group), "pnlContracts");
    contractsList_ = makeList(contracts, "lvContracts", contractsCaption, {contractsCaption});
    addContractButton_ = button(contracts, "bnAddContract", QStringLiteral("Добавить договор"));
    deleteContractButton_ = button(contracts, "bnDeleteContract", QStringLiteral("Удалить договор"));
    editContractButton_ = button(contracts, "bnEditContract", QStringLiteral("Редактировать договор"));
    contractActions_ = new ListActions(contractsList_, deleteContractButton_, {editContractButton_});
    contractActions_->allowed = [this] { return grantedBox_->isChecked(); };
    auto* contractLayout = new QHBoxLayout(contracts);
    contractLayout->setContentsMargins(0, 0, 0, 0);
    contractLayout->addWidget(contractsList_, 1);
    contractLayout->addLayout(buttonColumn({addContractButton_, deleteContractButton_, editContractButton_}));

    auto* middle = new QHBoxLayout;
    middle->addWidget(spent);
    middle->addWidget(children, 1);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(grantedBox_);
    groupLayout->addLayout(middle);
    groupLayout->addWidget(contracts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

SocialDeduction& SocialDeductionScreen::deduction() {
    return document().socialDeductions;
}

void SocialDeductionScreen::load() {
    const SocialDeduction& d = deduction();
    const bool granted = d.granted != 0;
    grantedBox_->setChecked(granted);
    if (granted) {
        for (std::size_t i = 0; i < amounts_.size(); ++i) {
            const Money amount = d.*kAmountFields[i];
            if (!amount.isZero())
                amounts_[i]->setMoney(amount);
        }
        for (const Money& amount : d.childEducation)
            educationList_->addTopLevelItem(new QTreeWidgetItem(QStringList{amountCell(amount)}));
        selectRow(educationList_, 0);
        for (const PensionContract& c : d.pensionContracts)
            contractsList_->addTopLevelItem(new QTreeWidgetItem(QStringList{contractTitle(c)}));
    }
    setControls(granted);
}

void SocialDeductionScreen::setControls(bool on) {
    for (FieldEdit* edit : amounts_)
        edit->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{educationList_, addEducationButton_, contractsList_,
                                                      addContractButton_})
        w->setEnabled(on);
    educationActions_->refresh();
    contractActions_->refresh();
}

void SocialDeductionScreen::grantedClicked(bool checked) {
    const auto typed = [this] {
        return std::any_of(amounts_.begin(), amounts_.end(),
                           [](const FieldEdit* e) { return !e->text().isEmpty(); });
    };
    const bool entered =
        typed() || !deduction().childEducation.empty() || !deduction().pensionContracts.empty();
    if (!checked && !untickConfirmed(host().asker(), this, grantedBox_, entered))
        return;
    markDocumentChanged();
    setControls(checked);
    if (checked)
        return;
    // What the question named goes from the document at once, amounts and lists alike.
    for (FieldEdit* edit : amounts_)
        edit->clear();
    for (Money SocialDeduction::*amount : kAmountFields)
        deduction().*amount = Money{};
    deduction().childEducation.clear();
    deduction().pensionContracts.clear();
    educationList_->clear();
    contractsList_->clear();
}

void SocialDeductionScreen::addEducation() {
    if (!grantedBox_->isChecked())
        return;
    ChildEducationDialog dialog(Money{}, this);
    if (dialog.exec() != QDialog::Accepted || dialog.amount().isZero())
        return;
    try {
        deduction().childEducation.add(dialog.amount());
    } catch (const std::exception& failure) {
        reportListFailure(host().asker(), this, failure);
        return;
    }
    markDocumentChanged();
    educationList_->addTopLevelItem(new QTreeWidgetItem(QStringList{amountCell(dialog.amount())}));
    selectRow(educationList_, educationList_->topLevelItemCount() - 1);
}

void SocialDeductionScreen::editEducation() {
    const int index = currentRow(educationList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    ChildEducationDialog dialog(deduction().childEducation.get(index), this);
    if (dialog.exec() != QDialog::Accepted || dialog.amount().isZero())
        return;
    deduction().childEducation.set(index, dialog.amount());
    markDocumentChanged();
    educationList_->topLevelItem(index)->setText(0, amountCell(dialog.amount()));
}

void SocialDeductionScreen::deleteEducation() {
    const int index = currentRow(educationList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    markDocumentChanged();
    deduction().childEducation.remove(index);
    delete educationList_->takeTopLevelItem(index);
    selectRow(educationList_, rowAfterRemoval(index, educationList_->topLevelItemCount()));
}

void SocialDeductionScreen::addContract() {
    if (!grantedBox_->isChecked())
        return;
    PensionContractDialog dialog(host().asker(), PensionContract{}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PensionContract& entered = dialog.contract();
    if (trimText(entered.organisationName).empty() && entered.contractKind != kFundedPensionContributions)
        return;
    try {
        deduction().pensionContracts.add(entered);
    } catch (const std::exception& failure) {
        reportListFailure(host().asker(), this, failure);
        return;
    }
    markDocumentChanged();
    contractsList_->addTopLevelItem(new QTreeWidgetItem(QStringList{contractTitle(entered)}));
    selectRow(contractsList_, contractsList_->topLevelItemCount() - 1);
}

void SocialDeductionScreen::editContract() {
    const int index = currentRow(contractsList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    PensionContractDialog dialog(host().asker(), deduction().pensionContracts.get(index), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PensionContract& edited = dialog.contract();
    if (trimText(edited.organisationName).empty() && edited.contractKind != kFundedPensionContributions)
        return;
    deduction().pensionContracts.set(index, edited);
    markDocumentChanged();
    contractsList_->topLevelItem(index)->setText(0, contractTitle(edited));
}

void SocialDeductionScreen::deleteContract() {
    const int index = currentRow(contractsList_);
    if (index < 0 || !grantedBox_->isChecked())
        return;
    markDocumentChanged();
    deduction().pensionContracts.remove(index);
    delete contractsList_->takeTopLevelItem(index);
    contractsList_->setCurrentItem(nullptr);
    contractsList_->clearSelection();
}

void SocialDeductionScreen::storeAmounts(SocialDeduction& d) const {
    d.granted = grantedBox_->isChecked() ? 1 : 0;
    // The fields of an un-granted record show nothing: its amounts stay as the
    // document has them, and only the flag is written to the file.
    if (!d.granted)
        return;
    for (std::size_t i = 0; i < amounts_.size(); ++i)
        d.*kAmountFields[i] = amountOf(amounts_[i]);
}

void SocialDeductionScreen::saveData() {
    storeAmounts(deduction());
}

std::uint16_t SocialDeductionScreen::checkData() {
    // What the screen shows, whether or not saveData has run yet.
    SocialDeduction shown = deduction();
    storeAmounts(shown);
    if (!socialDeductionsMissing(shown))
        return 0;
    static const Cp1251Text title = Cp1251Text::fromUtf8("Социальные вычеты");
    AskerCheckDialog dialog(host().asker(), this);
    CheckRun run(dialog, title);
    run.fault(socialDeductionsMissingMessage(), kAmountsElement);
    return run.result();
}

void SocialDeductionScreen::setFocusToElement(std::uint16_t code) {
    if (code == kAmountsElement)
        amounts_[0]->setFocus();
    else if (code == kChildEducationElement)
        educationList_->setFocus();
    else if (code >= FieldCode::kFirstPensionContract) {
        // A contract whose organisation the whole-return check found wrong.
        selectRow(contractsList_, code - FieldCode::kFirstPensionContract);
        contractsList_->setFocus();
    }
}

} // namespace kv
