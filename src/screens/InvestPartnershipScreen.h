#pragma once
// "Инвест. товарищества": the investment partnerships the taxpayer took part in, each
// with its incomes by kind of operation and its tax figures. Partnerships and incomes
// reach the document when their dialog is accepted or their row deleted; the three
// editable totals when the selection moves away and at SaveData.
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

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;
    void SelectFirstEntry() override;

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
    QTreeWidget* lvIncomes_;
    QPushButton* bnAddIncome_;
    QPushButton* bnDeleteIncome_;
    QPushButton* bnEditIncome_;
    QLineEdit* edTotalIncome_;
    FieldEdit* edTaxWithheld_;
    FieldEdit* edTaxableAmount_;
    FieldEdit* edTaxCalculated_;
};

} // namespace kv
