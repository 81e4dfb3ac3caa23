#pragma once
// "Имущественный": the housing bought or built for which the property deduction is
// claimed, with the deductions already used in earlier years. Objects reach the
// document when their dialog is confirmed or their row deleted; the granted mark
// and the prior-years amounts at SaveData.
#include "screens/kit/ScreenFrame.h"

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv {

class ListActions;

class FieldEdit;
class PropertyDeduction;

class PropertyDeductionScreen : public ScreenFrame {
    Q_OBJECT
public:
    PropertyDeductionScreen(QWidget* panel, ScreenHost& host);

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;

private:
    void buildWidgets();
    void load();

    PropertyDeduction& deduction();
    void grantedClicked(bool checked);
    void setObjectControls(bool on);
    void showTotals();
    void applyAddRule();
    void applyPriorYearsRule();

    void addObject();
    void editObject();
    void deleteObject();

    QCheckBox* chbGranted_;
    QGroupBox* gbObjects_;
    QTreeWidget* lvObjects_;
    QPushButton* bnAddObject_;
    QPushButton* bnDeleteObject_;
    QPushButton* bnEditObject_;
    QGroupBox* gbCalc_;
    QLineEdit* edTotalCost_;
    QLabel* lblPriorYears_;
    FieldEdit* edPriorYears_;
    QLineEdit* edTotalInterest_;
    QLabel* lblPriorInterest_;
    FieldEdit* edPriorInterest_;
    ListActions* objectActions_ = nullptr;
};

} // namespace kv
