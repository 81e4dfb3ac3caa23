#pragma once
// "Предприниматели": the kinds of business and private-practice activity, each with
// its income and its expenses (documented in five amounts or the 20% norm), and the
// figures of the return as a whole: advance payments, adjusted base and tax, patent
// payments, trade fee, the farm household and its founding year. Activities reach the
// document when their dialog is accepted; their amounts when the selection moves away
// and at saveData, with the return-wide figures.
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace kv {

class FieldEdit;
class MasterDetailList;
class BusinessActivity;

class BusinessScreen : public ScreenFrame {
    Q_OBJECT
public:
    BusinessScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

private:
    void buildWidgets();
    void load();

    BusinessActivity& activity();
    // The selected activity's amounts, and the figures of the whole return.
    void setFieldsEnabled(bool amounts, bool returnWide);
    void storeActivity(int index);
    void showActivity(int index);
    void showExpenseWay(bool documented);
    void edited(bool& which);
    void incomeChanged();
    void showNorm();
    void farmToggled();
    void stepYear(int step);

    void addActivity();
    void editActivity();
    // Whether deleting the selected activity deletes entered data.
    bool activityHoldsEntries();
    void deleteActivity();
    void showFailure(const std::exception& failure);

    MasterDetailList* activities_ = nullptr;
    // The person changed the selected activity's panel / a return-wide figure since
    // it was shown; only then does the screen write it back.
    bool activityEdited_ = false;
    bool wideEdited_ = false;

    RecordListBox activityBox_;
    QGroupBox* amountsGroup_;
    FieldEdit* incomeEdit_;
    QCheckBox* documentedBox_;
    QWidget* documentedPanel_;
    FieldEdit* totalExpensesEdit_;
    FieldEdit* materialExpensesEdit_;
    FieldEdit* depreciationEdit_;
    FieldEdit* labourExpensesEdit_;
    FieldEdit* otherExpensesEdit_;
    QWidget* normPanel_;
    QLineEdit* standardExpensesEdit_;
    QGroupBox* returnWideGroup_;
    FieldEdit* advancePaymentsEdit_;
    FieldEdit* adjustedBaseEdit_;
    FieldEdit* adjustedTaxEdit_;
    FieldEdit* patentPaymentsEdit_;
    FieldEdit* tradeFeeEdit_;
    QCheckBox* farmBox_;
    QLabel* farmYearLabel_;
    FieldEdit* farmYearEdit_;
    QToolButton* farmYearUpButton_;
    QToolButton* farmYearDownButton_;
};

} // namespace kv
