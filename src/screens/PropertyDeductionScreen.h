#pragma once
// "Имущественный": the housing bought or built for which the property deduction is
// claimed, with the deductions already used in earlier years. Objects reach the
// document when their dialog is confirmed or their row deleted; the granted mark
// and the prior-years amounts at saveData.
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

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

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

    QCheckBox* grantedBox_;
    QGroupBox* objectsGroup_;
    QTreeWidget* objectsList_;
    QPushButton* addObjectButton_;
    QPushButton* deleteObjectButton_;
    QPushButton* editObjectButton_;
    QGroupBox* calculationGroup_;
    QLineEdit* totalCostEdit_;
    QLabel* priorYearsLabel_;
    FieldEdit* priorYearsEdit_;
    QLineEdit* totalInterestEdit_;
    QLabel* priorInterestLabel_;
    FieldEdit* priorInterestEdit_;
    ListActions* objectActions_ = nullptr;
};

} // namespace kv
