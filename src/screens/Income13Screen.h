#pragma once
// "Доходы, облагаемые по ставке 13%": the sources of payment with their incomes
// month by month, the tax they withheld and the deductions they already granted.
// Sources, incomes and agent deductions reach the document when their dialog is
// confirmed or their row deleted; the withheld tax when the selection moves away
// from its source and at saveData.
//
// The same class, configured by an Income13Setup, is the screen of non-residents'
// incomes at 13%:
//   Income13Setup setup;
//   setup.sources = &Declaration::incomes13NonResident;
//   setup.agentDeductions = Income13Setup::Shown::Never;
//   setup.foreignerAdvance = Income13Setup::Shown::Always;
//   setup.sourceMarks = false;
//   setup.incomeDialog = [](QWidget* parent, ScreenHost& host, const ThirteenPercentSource& source,
//                           const std::optional<ThirteenIncomeItem>& existing) { ... };
//   setup.checked = false;
//   new Income13Screen(panel, host, setup);
#include "model/Declaration.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <cstdint>
#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv {

class FieldEdit;
class IncomeDict;
class ListActions;
class MasterDetailList;

struct Income13Setup {
    // When a group of the screen is shown.
    enum class Shown { Always, OnResidentReturn, Never };

    // Runs the income dialog for the selected source (existing: the income edited, or
    // nullopt when adding). Returns the income on "Да" with an income code chosen.
    using IncomeDialogRun = std::function<std::optional<ThirteenIncomeItem>(
        QWidget* parent, ScreenHost& host, const ThirteenPercentSource& source,
        const std::optional<ThirteenIncomeItem>& existing)>;

    IncomeList<ThirteenPercentSource> Declaration::*sources = &Declaration::incomes13;
    // "Стандартные, социальные и имущественные вычеты, предоставленные налоговым агентом".
    Shown agentDeductions = Shown::OnResidentReturn;
    // "Авансовые платежи иностранца".
    Shown foreignerAdvance = Shown::OnResidentReturn;
    // The source dialog offers the standard-deductions box and the partnership mark;
    // without them a source keeps only its name and codes from the dialog.
    bool sourceMarks = true;
    // Empty: the income dialog of the residents' screen (Income13Dialog).
    IncomeDialogRun incomeDialog;
    // checkData checks the sources; otherwise it returns 0. setFocusToElement selects
    // the source named either way, for the whole-return check.
    bool checked = true;
};

class Income13Screen : public ScreenFrame {
    Q_OBJECT
public:
    // The residents' screen of the 13% list.
    Income13Screen(QWidget* panel, ScreenHost& host);
    Income13Screen(QWidget* panel, ScreenHost& host, Income13Setup setup);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

private:
    void buildWidgets();
    void load();

    bool residentReturn() const;
    bool shown(Income13Setup::Shown when) const;
    IncomeList<ThirteenPercentSource>& sources();
    ThirteenPercentSource& source();
    void setSourceButtons(const ThirteenPercentSource* source);
    void showSource(int index);
    void storeWithheld(int index);
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
    void importCertificate();

    std::optional<ThirteenIncomeItem> runIncomeDialog(const std::optional<ThirteenIncomeItem>& existing);
    // A new line of the selected source at this position, shown and selected; a full
    // source refuses it.
    void insertIncome(int position, const ThirteenIncomeItem& item);
    QTreeWidgetItem* incomeRow(const ThirteenIncomeItem& item);
    void appendDeductionRow(const AgentDeductionItem& deduction);
    void showFailure(const std::exception& failure);

    const Income13Setup setup_;
    const IncomeDict& dict_;
    MasterDetailList* sourceList_ = nullptr;
    ListActions* incomeActions_ = nullptr;
    ListActions* deductActions_ = nullptr;

    RecordListBox sourceBox_;
    QPushButton* importCertificateButton_;
    QTreeWidget* incomesList_;
    QPushButton* addIncomeButton_;
    QPushButton* deleteIncomeButton_;
    QPushButton* editIncomeButton_;
    QPushButton* repeatIncomeButton_;
    QLineEdit* totalIncomeEdit_;
    FieldEdit* taxWithheldEdit_;
    QGroupBox* foreignerGroup_;
    FieldEdit* fixedAdvanceEdit_;
    QGroupBox* agentDeductionsGroup_;
    QTreeWidget* deductsList_;
    QPushButton* addDeductButton_;
    QPushButton* deleteDeductButton_;
    QPushButton* editDeductButton_;
};

} // namespace kv
