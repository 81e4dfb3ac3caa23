#pragma once
// "Доходы за пределами РФ": incomes received abroad, one per source of payment, with
// the currency, its official rates on the day of the income and of the foreign tax
// (found in the currency-rate directory or typed), the amounts in currency and in
// roubles, a deduction and the details of a controlled foreign company. The panel
// edits the selected source; it reaches the document when the selection moves
// away and at SaveData.
#include "reference/IncomeDict.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/rules/ForeignRules.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace kv {

class DateEdit;

class FieldEdit;
class MasterDetailList;
class ForeignIncome;

class ForeignIncomeScreen : public ScreenFrame {
    Q_OBJECT
public:
    ForeignIncomeScreen(QWidget* panel, ScreenHost& host);

    void SaveData() override;
    std::uint16_t CheckData() override;
    void SetFocusToElement(std::uint16_t code) override;
    void SelectFirstEntry() override;

private:
    // Which of the two rate lines, and its fields.
    enum class RateLine { Income, Tax };
    struct RateLineFields {
        DateEdit* date;
        FieldEdit* rate;
        FieldEdit* units;
        QLabel* day;
    };
    static std::size_t lineIndex(RateLine line);
    RateLineFields lineFields(RateLine line) const;

    void buildWidgets();
    void connectEdits();
    void load();

    const CurrencyRates* rates() const;
    ForeignIncome& source();
    void storeSource(int index);
    void showSource(int index);
    void setIncomePartEnabled(bool on);
    void clearPanel();

    // Rules run on the person's edits, never while a source is being shown.
    bool editing() const;
    void currencyChanged();
    std::optional<FoundRate> directoryRate(RateLine line) const;
    void refreshRates();
    void autoRateClicked(bool checked);
    void fillRateLine(RateLine line, const FoundRate& found);
    void releaseRateLine(RateLine line);
    void rateLineChanged(RateLine line);
    void incomeRublesChanged();
    void taxRublesChanged();
    void capTypedDeduction();
    void applyCfcGroup(std::int32_t incomeCode, bool clearDisabled);
    void applyDeductionAttributes();
    void pickCurrency();
    void pickIncomeCode();
    void pickDeductionCode();

    void addSource();
    void editSource();
    void deleteSource();
    void copySource();
    void appendSource(const ForeignIncome& record);
    void showFailure(const std::exception& failure);

    const IncomeDict& dict_;
    MasterDetailList* sourceList_ = nullptr;
    // The chosen income code's attributes and the chosen deduction's, as the pickers gave them.
    bool deductionAllowed_ = false;
    std::optional<DeductionChoice> deduction_;
    std::int32_t incomeRate_ = 0;
    std::string incomeName_;
    // The person changed a rate or units by hand since the source was shown.
    bool rateTyped_ = false;
    // The rate lines the box filled from the directory (locked), by lineIndex.
    std::array<bool, 2> automaticLine_{};

    RecordListBox sourceBox_;
    QPushButton* bnCopySource_;
    QWidget* incomePart_;
    DateEdit* dtIncomeDate_;
    DateEdit* dtTaxDate_;
    FieldEdit* edCurrencyCode_;
    QToolButton* bnCurrencyCode_;
    FieldEdit* edCurrencyName_;
    QCheckBox* chbAutoRate_;
    FieldEdit* edIncomeDateRate_;
    FieldEdit* edIncomeDateUnits_;
    QLabel* lblIncomeRateDay_;
    FieldEdit* edTaxDateRate_;
    FieldEdit* edTaxDateUnits_;
    QLabel* lblTaxRateDay_;
    QLineEdit* edIncomeCode_;
    QToolButton* bnIncomeCode_;
    FieldEdit* edIncomeInCurrency_;
    QLineEdit* edIncomeInRubles_;
    FieldEdit* edTaxInCurrency_;
    QLineEdit* edTaxInRubles_;
    QLabel* lblDeductionCode_;
    QLineEdit* edDeductionCode_;
    QToolButton* bnDeductionCode_;
    QLabel* lblDeductionAmount_;
    FieldEdit* edDeductionAmount_;
    QGroupBox* gbCfc_;
    QLineEdit* meCfcNumber_;
    QRadioButton* rbCfcAccounts_;
    QRadioButton* rbCfcRussianRules_;
    QButtonGroup* cfcMethod_;
    FieldEdit* edCfcTaxWithheld_;
    FieldEdit* edAppendixSheets_;
};

} // namespace kv
