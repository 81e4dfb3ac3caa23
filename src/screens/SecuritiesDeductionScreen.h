#pragma once
// "Инвестиционные и убытки по ЦБ": the investment deductions of art. 219.1 and the
// losses of earlier years carried forward against this year's securities,
// derivatives and partnership gains. Everything reaches the document at saveData.
#include "screens/kit/ScreenFrame.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;

namespace kv {

class FieldEdit;

class SecuritiesDeductionScreen : public ScreenFrame {
    Q_OBJECT
public:
    SecuritiesDeductionScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

    // The yearly limit of the deduction for contributions to an investment account.
    static constexpr std::int64_t kIisContributionLimit = 400000;

private:
    void buildWidgets();
    void load();

    void investmentGrantedClicked(bool checked);
    void lossesGrantedClicked(bool checked);
    void p3Clicked(bool checked);
    void applyInvestmentRule(bool on);
    void applyLossesRule(bool on);
    void applyP3Rule(bool on);
    void setP2Enabled(bool on);
    void p2Changed();
    void refundableChanged();
    void freeP3WhenP2Empty();

    QCheckBox* grantingInvestmentDeductBox_;
    FieldEdit* investmentSecuritiesEdit_;
    FieldEdit* investmentPartnershipSecuritiesEdit_;
    FieldEdit* investmentAccountEdit_;
    FieldEdit* investmentAccountRefundEdit_;
    std::array<QLabel*, 4> investmentCaptions_{};
    QCheckBox* isP3Box_;

    QCheckBox* grantingSecuritiesDeductBox_;
    // securitiesLoss, derivativesLoss, partnershipLoss, then the same on an investment account
    std::array<FieldEdit*, 6> losses_{};
    std::array<QLabel*, 6> lossCaptions_{};
};

} // namespace kv
