#pragma once
// "Задание условий": the kind of return, the tax office, the correction number,
// the taxpayer's OKTMO and category, which kinds of income the return holds, and
// who confirms it. The kind and the income boxes decide which sections can be
// reached; clearing an income box deletes that kind of income (after asking, when
// something of that kind was entered).
#include "screens/kit/ScreenFrame.h"

#include <optional>
#include <string>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;

namespace kv {

class FieldEdit;

class InitialDataScreen : public ScreenFrame {
    Q_OBJECT
public:
    InitialDataScreen(QWidget* panel, ScreenHost& host);

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;

private:
    void buildWidgets();
    void load();
    void connectRules();

    int declarationKind() const;
    bool anyIncomeBox() const;
    void setDeductionsSection(bool enabled);
    // The incomeFlags bits of the ticked income boxes.
    std::uint8_t tickedIncomeBits() const;
    // Whether the person agrees to lose what was entered under bits; on "Нет" the
    // box goes back to ticked. Nothing entered: no question.
    bool dropConfirmed(std::uint8_t bits, QCheckBox* box);
    // Whether the person agrees to lose the incomes the kind of return would untick;
    // on "Нет" the kind shown before is chosen again.
    bool kindChangeConfirmed(int kind);

    // Click rules.
    void kindChosen(int kind);
    void certificateClicked(bool checked);
    void currencyClicked(bool checked);
    void businessClicked(bool checked);
    void partnershipClicked(bool checked);
    void submitterChosen(int kind);
    void stepCorrection(int step);
    void chooseInspection();
    void inspectionTyped();
    void showInspectionName();
    std::optional<std::string> directoryName(const std::string& code) const;

    QRadioButton* rbSimple_;
    QRadioButton* rbNeRez_;
    QRadioButton* rb4ndfl_;
    QRadioButton* rbNextYear_;
    QButtonGroup* kindGroup_;
    int shownKind_ = 0;
    // The person has already agreed to lose what the kind of return unticks.
    bool dropAgreed_ = false;

    FieldEdit* meInspection_;
    QToolButton* bnInspection_;
    QLabel* lblInspectionName_;
    FieldEdit* meNumVer_;
    QToolButton* updCorrUp_;
    QToolButton* updCorrDown_;
    FieldEdit* meOKATO_;

    QRadioButton* rbPredp_;
    QRadioButton* rbFermer_;
    QRadioButton* rbNotarius_;
    QRadioButton* rbAdvokat_;
    QRadioButton* rbFLProch_;
    QRadioButton* rbArbitr_;
    QButtonGroup* categoryGroup_;

    QCheckBox* chbIncomeInquiry_;
    QLabel* lblIncomeInquiry_;
    QCheckBox* chbIncomeCurrency_;
    QCheckBox* chbIncomeBusiness_;
    QCheckBox* chbInvestTov_;
    QLabel* lblSupposeIncome_;
    FieldEdit* meSupposeIncome_;

    QRadioButton* rbGiveSelf_;
    QRadioButton* rbGiveTrustFase_;
    QRadioButton* rbGiveByMail_;
    QButtonGroup* submitterGroup_;
    QLabel* lblFIO_;
    FieldEdit* meFIO_;
    QLabel* lblOsn_;
    FieldEdit* meOsn_;
    QLabel* lblUL_;
    FieldEdit* meUL_;

    QGroupBox* gbAppendixes_;
    FieldEdit* meAppendixes_;
    QCheckBox* chbAutoCalculateApp_;

    // The name of an office picked on this screen, stored with its code.
    std::optional<std::string> pickedInspectionName_;
};

} // namespace kv
