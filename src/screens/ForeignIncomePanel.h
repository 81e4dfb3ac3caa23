#pragma once
// The panel of the foreign-income screen that edits one income received abroad: its
// dates, the currency with its official rates on both days (found in the currency-rate
// directory or typed), the amounts in currency and in roubles, a deduction and the
// details of a controlled foreign company. The rules of the person's edits run here;
// showing a record runs none of them, so a record shown and stored unedited keeps
// what it holds.
#include "core/Text.h"
#include "reference/IncomeDict.h"
#include "screens/rules/ForeignRules.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QGroupBox;
class QRadioButton;
class QToolButton;

namespace kv {

class DateEdit;
class FieldEdit;
class ForeignIncome;
class ForeignRateLine;
class ScreenHost;

class ForeignIncomePanel : public QWidget {
    Q_OBJECT
public:
    ForeignIncomePanel(ScreenHost& host, const IncomeDict& dict, QWidget* parent);

    // Shows the record, its income rate repaired from the dictionary first.
    void showRecord(ForeignIncome& record);
    // Empties the panel: no record is shown.
    void showNone();
    // What the panel holds, into the record it shows.
    void storeInto(ForeignIncome& record) const;
    // Enables the company's details as the income code allows; clearDisabled empties
    // those it disables.
    void applyCfcGroup(std::int32_t incomeCode, bool clearDisabled);
    // The count of appendix sheets the return holds (kept, not edited here).
    void showAppendixSheets(int sheets);

    DateEdit* incomeDate() const { return incomeDateEdit_; }
    DateEdit* taxDate() const { return taxDateEdit_; }

signals:
    // The person changed the record shown.
    void changed();

private:
    enum class Line { Income, Tax };

    void buildWidgets();
    void connectEdits();
    void clearFields();

    // Rules run on the person's edits, never while a record is being shown.
    bool editing() const;
    void edited();
    const CurrencyRates* rates() const;
    ForeignRateLine& line(Line which) const;
    void currencyChanged();
    void refreshRates();
    void autoRateClicked(bool checked);
    void rublesChanged(Line which);
    void incomeRublesChanged();
    void taxRublesChanged();
    void capTypedDeduction();
    void applyDeductionAttributes();
    void pickCurrency();
    void pickIncomeCode();
    void pickDeductionCode();

    ScreenHost& host_;
    const IncomeDict& dict_;
    // A record is shown (the panel edits it).
    bool shown_ = false;
    // The chosen income code's attributes and the chosen deduction's, as the pickers gave them.
    bool deductionAllowed_ = false;
    std::optional<DeductionChoice> deduction_;
    std::int32_t incomeRate_ = 0;
    Cp1251Text incomeName_;
    // The person changed a rate or units by hand since the record was shown.
    bool rateTyped_ = false;

    DateEdit* incomeDateEdit_;
    DateEdit* taxDateEdit_;
    FieldEdit* currencyCodeEdit_;
    QToolButton* currencyCodeButton_;
    FieldEdit* currencyNameEdit_;
    QCheckBox* autoRateBox_;
    ForeignRateLine* incomeLine_;
    ForeignRateLine* taxLine_;
    QLineEdit* incomeCodeEdit_;
    QToolButton* incomeCodeButton_;
    FieldEdit* incomeInCurrencyEdit_;
    QLineEdit* incomeInRublesEdit_;
    FieldEdit* taxInCurrencyEdit_;
    QLineEdit* taxInRublesEdit_;
    QLabel* deductionCodeLabel_;
    QLineEdit* deductionCodeEdit_;
    QToolButton* deductionCodeButton_;
    QLabel* deductionAmountLabel_;
    FieldEdit* deductionAmountEdit_;
    QGroupBox* cfcGroup_;
    QLineEdit* cfcNumberEdit_;
    QRadioButton* cfcAccountsRadio_;
    QRadioButton* cfcRussianRulesRadio_;
    QButtonGroup* cfcMethod_;
    FieldEdit* cfcTaxWithheldEdit_;
    FieldEdit* appendixSheetsEdit_;
};

} // namespace kv
