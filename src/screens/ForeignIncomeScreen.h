#pragma once
// "Доходы за пределами РФ": incomes received abroad, one per source of payment. The
// list of sources is here; the panel beside it (ForeignIncomePanel) edits the selected
// source, which reaches the document when the selection moves away and at saveData.
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <cstdint>
#include <exception>

class QPushButton;

namespace kv {

class ForeignIncome;
class ForeignIncomePanel;
class IncomeDict;
class MasterDetailList;

class ForeignIncomeScreen : public ScreenFrame {
    Q_OBJECT
public:
    ForeignIncomeScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

private:
    void buildWidgets();
    void connectEdits();
    void load();

    ForeignIncome& source();
    void setIncomePartEnabled(bool on);

    void addSource();
    void editSource();
    void deleteSource();
    void copySource();
    void appendSource(const ForeignIncome& record);
    void showFailure(const std::exception& failure);

    const IncomeDict& dict_;
    MasterDetailList* sourceList_ = nullptr;

    RecordListBox sourceBox_;
    QPushButton* copySourceButton_;
    ForeignIncomePanel* incomePart_;
};

} // namespace kv
