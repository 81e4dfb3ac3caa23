#pragma once
// "Задание условий": the kind of return, the tax office, the correction number,
// the taxpayer's OKTMO and category, which kinds of income the return holds, and
// who confirms it. The kind and the income boxes decide which sections can be
// reached; clearing an income box deletes that kind of income (after asking, when
// something of that kind was entered).
#include "core/Text.h"
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

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

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
    std::optional<Cp1251Text> directoryName(const Cp1251Text& code) const;

    QRadioButton* simpleRadio_;
    QRadioButton* nonResidentRadio_;
    QRadioButton* ndfl4Radio_;
    QRadioButton* nextYearRadio_;
    QButtonGroup* kindGroup_;
    int shownKind_ = 0;
    // The person has already agreed to lose what the kind of return unticks.
    bool dropAgreed_ = false;

    FieldEdit* inspectionEdit_;
    QToolButton* inspectionButton_;
    QLabel* inspectionNameLabel_;
    FieldEdit* correctionNumberEdit_;
    QToolButton* correctionUpButton_;
    QToolButton* correctionDownButton_;
    FieldEdit* okatoEdit_;

    QRadioButton* entrepreneurRadio_;
    QRadioButton* farmHeadRadio_;
    QRadioButton* notaryRadio_;
    QRadioButton* lawyerRadio_;
    QRadioButton* otherPersonRadio_;
    QRadioButton* arbitrationManagerRadio_;
    QButtonGroup* categoryGroup_;

    QCheckBox* incomeInquiryBox_;
    QLabel* incomeInquiryLabel_;
    QCheckBox* incomeCurrencyBox_;
    QCheckBox* incomeBusinessBox_;
    QCheckBox* investmentPartnershipBox_;
    QLabel* estimatedIncomeLabel_;
    FieldEdit* estimatedIncomeEdit_;

    QRadioButton* inPersonRadio_;
    QRadioButton* personRepresentativeRadio_;
    QRadioButton* organisationRepresentativeRadio_;
    QButtonGroup* submitterGroup_;
    QLabel* fullNameLabel_;
    FieldEdit* fullNameEdit_;
    QLabel* documentLabel_;
    FieldEdit* documentEdit_;
    QLabel* organisationLabel_;
    FieldEdit* organisationEdit_;

    QGroupBox* appendixesGroup_;
    FieldEdit* appendixesEdit_;
    QCheckBox* autoCalculateAppendixesBox_;

    // The name of an office picked on this screen, stored with its code.
    std::optional<Cp1251Text> pickedInspectionName_;
};

} // namespace kv
