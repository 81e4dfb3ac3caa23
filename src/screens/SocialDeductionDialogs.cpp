#include "screens/SocialDeductionDialogs.h"

#include "checks/CheckRun.h"
#include "checks/IdentifierChecks.h"
#include "core/Text.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {

namespace {

const QDate kEarliestContract(1900, 1, 1);
const QDate kLatestContract(2019, 12, 31);
const QDate kNewContractDate(2019, 1, 1);

const Cp1251Text& contractsTitle() {
    static const Cp1251Text title = Cp1251Text::fromUtf8("Пенсионные договоры");
    return title;
}

// The organisation checks also cover the OKTMO, which a contract does not carry:
// one of a valid length lets them pass.
const Cp1251Text kAnyOktmo{"00000000"};

} // namespace

QString contractTitle(const PensionContract& contract) {
    if (contract.contractKind == kFundedPensionContributions)
        return QStringLiteral("Дополнительные страховые взносы на накопительную пенсию");
    return fromCp1251(contract.organisationName);
}

ChildEducationDialog::ChildEducationDialog(Money amount, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmChildEduSum"));
    setWindowTitle(QStringLiteral("Сумма за обучение"));
    sumEdit_ = moneyField(this, "edSum");
    if (!amount.isZero())
        sumEdit_->setMoney(amount);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Сумма, уплаченная за обучение ребенка"), this), 0, 0);
    grid->addWidget(sumEdit_, 0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(yesNoButtons(this));
    sumEdit_->setFocus();
    arrangeDialogForKeyboard(this);
}

Money ChildEducationDialog::amount() const {
    return amountOf(sumEdit_);
}

PensionContractDialog::PensionContractDialog(Asker& asker, const PensionContract& contract, QWidget* parent)
    : QDialog(parent), asker_(asker), contract_(contract) {
    setObjectName(QStringLiteral("TfmInputSoursePens"));
    setWindowTitle(QStringLiteral("Вид и данные договора"));

    auto* kinds = named(new QGroupBox(QStringLiteral("Вид договора"), this), "gbKind");
    auto* kindLayout = new QVBoxLayout(kinds);
    auto* group = new QButtonGroup(this);
    const QStringList captions = {
        QStringLiteral("Договор негосударственного пенсионного обеспечения"),
        QStringLiteral("Договор добровольного пенсионного страхования"),
        QStringLiteral("Договор добровольного страхования жизни"),
        QStringLiteral("Дополнительные страховые взносы на накопительную пенсию"),
    };
    for (int i = 0; i < 4; ++i) {
        kindRadios_[i] = new QRadioButton(captions.at(i), kinds);
        kindRadios_[i]->setObjectName(QStringLiteral("rbKind%1").arg(i + 1));
        group->addButton(kindRadios_[i], i + 1);
        kindLayout->addWidget(kindRadios_[i]);
    }

    nameEdit_ = field(this, "edName", FieldKind::Any, 1000);
    innEdit_ = field(this, "edInn", FieldKind::Digits, 10);
    kppEdit_ = field(this, "edKpp", FieldKind::Digits, 9);
    numberEdit_ = field(this, "edNumber", FieldKind::Any, 40);
    dateEdit_ = makeDateEdit(this, "deDate", kEarliestContract, kLatestContract);
    contributionEdit_ = moneyField(this, "edContribution");

    auto* grid = new QWidget(this);
    FormGrid form(grid);
    nameLabel_ = form.addRow(QStringLiteral("Наименование организации или фонда"), nameEdit_);
    innLabel_ = form.addRow(QStringLiteral("ИНН"), innEdit_);
    kppLabel_ = form.addRow(QStringLiteral("КПП"), kppEdit_);
    numberLabel_ = form.addRow(QStringLiteral("Номер договора"), numberEdit_);
    dateLabel_ = form.addRow(QStringLiteral("Дата договора"), dateEdit_);
    form.addRow(QStringLiteral("Сумма взноса"), contributionEdit_);

    const int kind = contract.contractKind >= 1 && contract.contractKind <= 4 ? contract.contractKind : 1;
    kindRadios_[kind - 1]->setChecked(true);
    nameEdit_->setStoredText(fromCp1251(contract.organisationName));
    innEdit_->setStoredText(fromCp1251(contract.organisationInn));
    kppEdit_->setStoredText(fromCp1251(contract.organisationKpp));
    numberEdit_->setStoredText(fromCp1251(contract.contractNumber));
    if (contract.contractDate.days == 0)
        dateEdit_->setDate(kNewContractDate);
    else
        showStoredDate(dateEdit_, contract.contractDate);
    if (!contract.contribution.isZero())
        contributionEdit_->setMoney(contract.contribution);
    kindChosen();
    connect(group, &QButtonGroup::idClicked, this, &PensionContractDialog::kindChosen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kinds);
    layout->addWidget(grid);
    layout->addStretch(1);
    layout->addLayout(yesNoButtons(this));
    resize(560, sizeHint().height());
    arrangeDialogForKeyboard(this);
}

int PensionContractDialog::chosenKind() const {
    for (int i = 0; i < 4; ++i)
        if (kindRadios_[i]->isChecked())
            return i + 1;
    return 1;
}

void PensionContractDialog::kindChosen() {
    const bool organisation = chosenKind() != kFundedPensionContributions;
    for (QWidget* w :
         std::initializer_list<QWidget*>{nameLabel_, nameEdit_, innLabel_, innEdit_, kppLabel_, kppEdit_,
                                         numberLabel_, numberEdit_, dateLabel_, dateEdit_})
        w->setEnabled(organisation);
}

void PensionContractDialog::accept() {
    // An impossible or out-of-range date is not stored: the person corrects it first.
    if (!dateEdit_->problem().isEmpty()) {
        AskerCheckDialog dialog(asker_, this);
        CheckRun run(dialog, contractsTitle());
        run.offerSkip(false).offerSkipAll(false);
        run.fault(toCp1251(QStringLiteral("Дата договора: ") + dateEdit_->problem()), 1);
        dateEdit_->setFocus();
        return;
    }
    const int kind = chosenKind();
    const Cp1251Text name = toCp1251(nameEdit_->text());
    const Cp1251Text inn = toCp1251(innEdit_->text());
    const Cp1251Text kpp = toCp1251(kppEdit_->text());
    const Cp1251Text number = toCp1251(numberEdit_->text());
    if (kind != kFundedPensionContributions) {
        AskerCheckDialog dialog(asker_, this);
        switch (checkOrganisationPayer(dialog, contractsTitle(), name, kAnyOktmo, kpp, inn)) {
        case PayerField::Name:
            nameEdit_->setFocus();
            return;
        case PayerField::Inn:
            innEdit_->setFocus();
            return;
        case PayerField::Kpp:
            kppEdit_->setFocus();
            return;
        case PayerField::Oktmo:
        case PayerField::Accept:
            break;
        }
        if (trimText(number).empty()) {
            static const Cp1251Text noNumber = Cp1251Text::fromUtf8("Введите номер договора");
            CheckRun run(dialog, contractsTitle());
            run.offerSkip(false).offerSkipAll(false);
            run.fault(noNumber, 1);
            // The contract is refused however the message is answered.
            numberEdit_->setFocus();
            return;
        }
    }
    contract_.contractKind = kind;
    contract_.organisationName = name;
    contract_.organisationInn = inn;
    contract_.organisationKpp = kpp;
    contract_.contractNumber = number;
    contract_.contractDate = storedDate(dateEdit_, contract_.contractDate);
    contract_.contribution = amountOf(contributionEdit_);
    QDialog::accept();
}

} // namespace kv
