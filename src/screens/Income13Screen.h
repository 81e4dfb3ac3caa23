#pragma once
// "Доходы, облагаемые по ставке 13%": the sources of payment with their incomes
// month by month, the tax they withheld and the deductions they already granted.
// Sources, incomes and agent deductions reach the document when their dialog is
// confirmed or their row deleted; the withheld tax when the selection moves away
// from its source and at SaveData.
#include "screens/ScreenFrame.h"

#include <cstdint>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv {

class FieldEdit;
class IncomeDict;
class ThirteenPercentSource;
struct AgentDeductionItem;
struct ThirteenIncomeItem;

class Income13Screen : public ScreenFrame {
    Q_OBJECT
public:
    Income13Screen(QWidget* panel, ScreenHost& host);

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;
    void SelectFirstEntry() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void load();

    bool residentReturn() const;
    ThirteenPercentSource& source();
    void setSourceButtons(const ThirteenPercentSource* source);
    void selectSource(int row);
    void sourceSelected(int row);
    void storeWithheld();
    void showTotals();
    void fillItems();
    void fillDeductions();

    void addSource();
    void editSource();
    void deleteSource();
    void addIncome();
    void editIncome();
    void repeatIncome();
    void deleteIncome();
    void addDeduction();
    void editDeduction();
    void deleteDeduction();

    // Adds an income to the chosen source and shows it selected; a full source refuses it.
    void appendIncome(const ThirteenIncomeItem& item);
    void appendIncomeRow(const ThirteenIncomeItem& item, bool entered);
    void appendDeductionRow(const AgentDeductionItem& deduction);
    void showFailure(const std::exception& failure);

    const IncomeDict& dict_;
    int selected_ = -1; // the selected source, -1 for none
    // Rows are being filled or removed by the screen, not chosen by the user.
    bool listing_ = false;

    QTreeWidget* lvSources_;
    QPushButton* bnAddSource_;
    QPushButton* bnDeleteSource_;
    QPushButton* bnEditSource_;
    QTreeWidget* lvIncomes_;
    QPushButton* bnAddIncome_;
    QPushButton* bnDeleteIncome_;
    QPushButton* bnEditIncome_;
    QPushButton* bnRepeatIncome_;
    QLineEdit* edTotalIncome_;
    FieldEdit* edTaxWithheld_;
    QGroupBox* gbForeigner_;
    FieldEdit* edFixedAdvance_;
    QGroupBox* gbAgentDeductions_;
    QTreeWidget* lvDeducts_;
    QPushButton* bnAddDeduct_;
    QPushButton* bnDeleteDeduct_;
    QPushButton* bnEditDeduct_;
};

} // namespace kv
