#pragma once
// "Социальные": charity, education, medical treatment, insurance and qualification
// assessment, the amounts paid for the children's education and the pension and
// life-insurance contracts. The amounts reach the document at saveData; the two
// lists when their dialogs are confirmed or a row is deleted.
#include "screens/kit/ScreenFrame.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace kv {

class ListActions;

class FieldEdit;
class SocialDeduction;

class SocialDeductionScreen : public ScreenFrame {
    Q_OBJECT
public:
    SocialDeductionScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

    // Element codes of checkData and of the whole-return check.
    static constexpr std::uint16_t kAmountsElement = 1;
    static constexpr std::uint16_t kChildEducationElement = 3;

private:
    void buildWidgets();
    void load();

    SocialDeduction& deduction();
    void storeAmounts(SocialDeduction& d) const;
    void grantedClicked(bool checked);
    void setControls(bool on);

    void addEducation();
    void editEducation();
    void deleteEducation();
    void addContract();
    void editContract();
    void deleteContract();

    QCheckBox* grantedBox_;
    // charity, charity30, ownEducation, medical, medicines, expensiveMedical,
    // voluntaryInsurance, qualificationAssessment
    std::array<FieldEdit*, 8> amounts_;
    QTreeWidget* educationList_;
    QPushButton* addEducationButton_;
    QPushButton* deleteEducationButton_;
    QPushButton* editEducationButton_;
    QTreeWidget* contractsList_;
    QPushButton* addContractButton_;
    QPushButton* deleteContractButton_;
    QPushButton* editContractButton_;
    ListActions* educationActions_ = nullptr;
    ListActions* contractActions_ = nullptr;
};

} // namespace kv
