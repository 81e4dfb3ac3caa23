#pragma once
// "Инвест. товарищества": the investment partnerships the taxpayer took part in, each
// with its incomes by kind of operation and its tax figures. Partnerships and incomes
// reach the document when their dialog is accepted or their row deleted; the three
// editable totals when the selection moves away and at saveData.
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <cstdint>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv {

class FieldEdit;
class ListActions;
class MasterDetailList;
class InvestmentPartnership;
struct PartnershipIncomeItem;

class InvestPartnershipScreen : public ScreenFrame {
    Q_OBJECT
public:
    InvestPartnershipScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

private:
    void buildWidgets();
    void load();

    InvestmentPartnership& source();
    void setIncomeControls(bool on);
    void storeTotals(int index);
    void showSource(int index);
    void showTotals(int index);
    void showTotalIncome();

    void addSource();
    void editSource();
    void deleteSource();
    void addIncome();
    void editIncome();
    void deleteIncome();
    void appendIncomeRow(const PartnershipIncomeItem& item);
    void showFailure(const std::exception& failure);

    MasterDetailList* sources_ = nullptr;
    ListActions* incomeActions_ = nullptr;
    bool totalsEdited_ = false; // changed by the person since they were shown

    RecordListBox sourceBox_;
    QTreeWidget* incomesList_;
    QPushButton* addIncomeButton_;
    QPushButton* deleteIncomeButton_;
    QPushButton* editIncomeButton_;
    QLineEdit* totalIncomeEdit_;
    FieldEdit* taxWithheldEdit_;
    FieldEdit* taxableAmountEdit_;
    FieldEdit* taxCalculatedEdit_;
};

} // namespace kv
