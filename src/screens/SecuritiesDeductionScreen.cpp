#include "screens/SecuritiesDeductionScreen.h"

#include "model/Declaration.h"
#include "screens/kit/Asker.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

namespace kv {

namespace {

// The losses in the order the screen shows, loads and saves them.
constexpr Money SecuritiesLossDeduction::*kLossFields[6] = {
    &SecuritiesLossDeduction::securitiesLoss,     &SecuritiesLossDeduction::derivativesLoss,
    &SecuritiesLossDeduction::partnershipLoss,    &SecuritiesLossDeduction::securitiesLossIis,
    &SecuritiesLossDeduction::derivativesLossIis, &SecuritiesLossDeduction::partnershipLossIis,
};

// A stored amount of 0 shows as an empty field. Any other amount is shown as it is,
// so one a person could not type (a negative one, more decimals) is saved back unchanged.
void showAmount(FieldEdit* field, Money amount) {
    if (amount.isZero())
        field->clear();
    else
        field->setMoney(amount);
}

QLabel* captioned(QGridLayout* grid, int row, const QString& caption, FieldEdit* field) {
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setWordWrap(true);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

} // namespace

SecuritiesDeductionScreen::SecuritiesDeductionScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    // The p.3 rule fires while loading as it does on a person's edits (p.3 against
    // p.2), so the rules are connected first; the 400 000 limit waits for an edit.
    connect(investmentAccountEdit_, &FieldEdit::changed, this, &SecuritiesDeductionScreen::p2Changed);
    connect(investmentAccountRefundEdit_, &FieldEdit::changed, this,
            &SecuritiesDeductionScreen::refundableChanged);
    for (FieldEdit* field : {investmentSecuritiesEdit_, investmentPartnershipSecuritiesEdit_,
                             investmentAccountEdit_, investmentAccountRefundEdit_})
        connect(field, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    for (FieldEdit* field : losses_)
        connect(field, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    // Every box changes what saveData writes, so each click marks the document.
    connect(grantingInvestmentDeductBox_, &QCheckBox::clicked, this,
            &SecuritiesDeductionScreen::investmentGrantedClicked);
    connect(grantingSecuritiesDeductBox_, &QCheckBox::clicked, this,
            &SecuritiesDeductionScreen::lossesGrantedClicked);
    connect(isP3Box_, &QCheckBox::clicked, this, &SecuritiesDeductionScreen::p3Clicked);
    load();
}

void SecuritiesDeductionScreen::buildWidgets() {
    auto* investment = named(new QGroupBox(QStringLiteral("Инвестиционные вычеты"), this), "gbInvestment");
    grantingInvestmentDeductBox_ =
        named(new QCheckBox(QStringLiteral("Предоставить инвестиционные вычеты"), investment),
              "chbGrantingInvDeduct");
    investmentSecuritiesEdit_ = moneyField(investment, "meInvCB");
    investmentPartnershipSecuritiesEdit_ = moneyField(investment, "meInvCBTov");
    investmentAccountEdit_ = moneyField(investment, "meInvP2");
    investmentAccountRefundEdit_ = moneyField(investment, "meP2Vozvr");
    isP3Box_ = named(new QCheckBox(QStringLiteral("Применить вычет из пп.3 п.1. Ст 219.1 НК РФ"), investment),
                     "chbIsP3");
    auto* investmentGrid = new QGridLayout(investment);
    investmentGrid->addWidget(grantingInvestmentDeductBox_, 0, 0, 1, 2);
    investmentCaptions_[0] =
        captioned(investmentGrid, 1,
                  QStringLiteral("Сумма вычета, предусмотренного пп.1. п.1. Ст. 219.1 НК РФ (Приложение 8)"),
                  investmentSecuritiesEdit_);
    investmentCaptions_[1] = captioned(
        investmentGrid, 2,
        QStringLiteral("   - тот же вычет для операций, совершенных в рамках инвестиционного товарищества"),
        investmentPartnershipSecuritiesEdit_);
    investmentCaptions_[2] =
        captioned(investmentGrid, 3,
                  QStringLiteral("Сумма вычета, предусмотренного пп.2. п.1. Ст. 219.1 НК РФ (Приложение 5)"),
                  investmentAccountEdit_);
    investmentCaptions_[3] = captioned(
        investmentGrid, 4,
        QStringLiteral("   - тот же вычет из предшествующих налоговых периодов, подлежащий возврату"),
        investmentAccountRefundEdit_);
    investmentGrid->addWidget(isP3Box_, 5, 0, 1, 2);
    investmentGrid->setColumnStretch(0, 1);

    auto* losses =
        named(new QGroupBox(QStringLiteral("Убытки предыдущих налоговых периодов"), this), "gbLosses");
    grantingSecuritiesDeductBox_ =
        named(new QCheckBox(QStringLiteral("Учет убытков прошлых лет"), losses), "chbGrantingDeductCB");
    const char* names[6] = {"meCB", "meFiss", "meInvTov", "meCBIIS", "meFissIIS", "meInvTovIIS"};
    const QString captions[3] = {
        QStringLiteral("Убытки по операциям с ЦБ"),
        QStringLiteral("Убытки по операциям с ПФИ"),
        QStringLiteral("Убытки по операциям в рамках инвестиционного товарищества"),
    };
    const QString subgroups[2] = {
        QStringLiteral("Убытки предыдущих налоговых периодов"),
        QStringLiteral("Убытки предыдущих налоговых периодов на индивидуальном инвестиционном счете"),
    };
    auto* lossesLayout = new QVBoxLayout(losses);
    lossesLayout->addWidget(grantingSecuritiesDeductBox_);
    for (int sub = 0; sub < 2; ++sub) {
        auto* box = new QGroupBox(subgroups[sub], losses);
        box->setObjectName(sub == 0 ? QStringLiteral("gbLossesOrdinary") : QStringLiteral("gbLossesIis"));
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < 3; ++i) {
            const std::size_t k = static_cast<std::size_t>(sub * 3 + i);
            losses_[k] = moneyField(box, names[k]);
            lossCaptions_[k] = captioned(grid, i, captions[i], losses_[k]);
        }
        grid->setColumnStretch(0, 1);
        lossesLayout->addWidget(box);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(investment);
    layout->addWidget(losses);
    layout->addStretch(1);
}

void SecuritiesDeductionScreen::load() {
    const InvestmentDeduction& inv = document().investmentDeductions;
    grantingInvestmentDeductBox_->setChecked(inv.granted != 0);
    applyInvestmentRule(inv.granted != 0);
    if (inv.granted != 0) {
        showAmount(investmentSecuritiesEdit_, inv.invSecurities);
        showAmount(investmentPartnershipSecuritiesEdit_, inv.invPartnership);
        showAmount(investmentAccountEdit_, inv.invIisContributions);
        showAmount(investmentAccountRefundEdit_, inv.invRefundable);
        if (inv.applyP3 != 0) {
            // A return may hold p.2 amounts beside the p.3 mark. The mark wins, in the
            // computation as here: the amounts are shown greyed, count for nothing, and
            // are kept, not lost by a visit. Unticking p.3 makes them editable (and
            // counted); ticking it again empties them.
            isP3Box_->setChecked(true);
            isP3Box_->setEnabled(true);
            setP2Enabled(false);
        }
    }
    const SecuritiesLossDeduction& losses = document().securitiesLosses;
    grantingSecuritiesDeductBox_->setChecked(losses.granted != 0);
    applyLossesRule(losses.granted != 0);
    if (losses.granted != 0) {
        for (std::size_t i = 0; i < losses_.size(); ++i)
            showAmount(losses_[i], losses.*kLossFields[i]);
    }
}

void SecuritiesDeductionScreen::investmentGrantedClicked(bool checked) {
    const std::initializer_list<const FieldEdit*> fields{
        investmentSecuritiesEdit_, investmentPartnershipSecuritiesEdit_, investmentAccountEdit_,
        investmentAccountRefundEdit_};
    const bool entered =
        isP3Box_->isChecked() ||
        std::any_of(fields.begin(), fields.end(), [](const FieldEdit* f) { return !f->text().isEmpty(); });
    if (!checked && !untickConfirmed(host().asker(), this, grantingInvestmentDeductBox_, entered))
        return;
    markDocumentChanged();
    applyInvestmentRule(checked);
}

void SecuritiesDeductionScreen::lossesGrantedClicked(bool checked) {
    const bool entered =
        std::any_of(losses_.begin(), losses_.end(), [](const FieldEdit* f) { return !f->text().isEmpty(); });
    if (!checked && !untickConfirmed(host().asker(), this, grantingSecuritiesDeductBox_, entered))
        return;
    markDocumentChanged();
    applyLossesRule(checked);
}

void SecuritiesDeductionScreen::p3Clicked(bool checked) {
    markDocumentChanged();
    applyP3Rule(checked);
}

void SecuritiesDeductionScreen::applyInvestmentRule(bool on) {
    if (!on) {
        isP3Box_->setChecked(false);
        applyP3Rule(false);
    }
    for (FieldEdit* field : {investmentSecuritiesEdit_, investmentPartnershipSecuritiesEdit_,
                             investmentAccountEdit_, investmentAccountRefundEdit_}) {
        field->setEnabled(on);
        if (!on)
            field->clear();
    }
    for (QLabel* caption : investmentCaptions_)
        caption->setEnabled(on);
    // Emptied p.2 fields would free the box; with the master box clear it stays off.
    isP3Box_->setEnabled(on && investmentAccountEdit_->text().isEmpty() &&
                         investmentAccountRefundEdit_->text().isEmpty());
}

void SecuritiesDeductionScreen::applyLossesRule(bool on) {
    for (std::size_t i = 0; i < losses_.size(); ++i) {
        losses_[i]->setEnabled(on);
        lossCaptions_[i]->setEnabled(on);
        if (!on)
            losses_[i]->clear();
    }
}

void SecuritiesDeductionScreen::setP2Enabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{investmentAccountEdit_, investmentCaptions_[2],
                                                      investmentAccountRefundEdit_, investmentCaptions_[3]})
        w->setEnabled(on);
}

void SecuritiesDeductionScreen::applyP3Rule(bool on) {
    setP2Enabled(!on && grantingInvestmentDeductBox_->isChecked());
    if (on) {
        investmentAccountEdit_->clear();
        investmentAccountRefundEdit_->clear();
    }
}

void SecuritiesDeductionScreen::p2Changed() {
    if (investmentAccountEdit_->text().isEmpty()) {
        freeP3WhenP2Empty();
        return;
    }
    // The limit holds what the person types; an amount read from a file is shown and kept
    // as it is, so viewing a return never changes its figures.
    const QString limit = QString::number(kIisContributionLimit);
    const std::optional<Money> typed = investmentAccountEdit_->money();
    if (!host().buildingGuard() && typed && *typed >= Money::fromRoubles(kIisContributionLimit) &&
        investmentAccountEdit_->text() != limit)
        investmentAccountEdit_->setText(limit);
    isP3Box_->setChecked(false);
    isP3Box_->setEnabled(false);
}

void SecuritiesDeductionScreen::refundableChanged() {
    if (investmentAccountRefundEdit_->text().isEmpty()) {
        freeP3WhenP2Empty();
        return;
    }
    isP3Box_->setChecked(false);
    isP3Box_->setEnabled(false);
}

void SecuritiesDeductionScreen::freeP3WhenP2Empty() {
    if (investmentAccountEdit_->text().isEmpty() && investmentAccountRefundEdit_->text().isEmpty() &&
        grantingInvestmentDeductBox_->isChecked())
        isP3Box_->setEnabled(true);
}

void SecuritiesDeductionScreen::saveData() {
    SecuritiesLossDeduction& losses = document().securitiesLosses;
    losses.granted = grantingSecuritiesDeductBox_->isChecked() ? 1 : 0;
    for (std::size_t i = 0; i < losses_.size(); ++i)
        losses.*kLossFields[i] = amountOf(losses_[i]);
    InvestmentDeduction& inv = document().investmentDeductions;
    inv.granted = grantingInvestmentDeductBox_->isChecked() ? 1 : 0;
    inv.invSecurities = amountOf(investmentSecuritiesEdit_);
    inv.invPartnership = amountOf(investmentPartnershipSecuritiesEdit_);
    inv.invIisContributions = amountOf(investmentAccountEdit_);
    inv.invRefundable = amountOf(investmentAccountRefundEdit_);
    inv.applyP3 = isP3Box_->isChecked() ? 1 : 0;
}

std::uint16_t SecuritiesDeductionScreen::checkData() {
    return 0;
}

void SecuritiesDeductionScreen::setFocusToElement(std::uint16_t) {
    // The whole-return check never sends the user here.
}

} // namespace kv
