#pragma once
// "Стандартные": what the month-by-month computation of the standard deductions
// needs — the taxpayer's own code and the single-parent status month by month, the
// numbers of children, of children from the third and of disabled children, and
// the monthly incomes and expenses of an entrepreneur. The two month dialogs write
// the document when confirmed; everything else reaches it at saveData.
#include "model/Deductions.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <cstdint>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace kv {

class StandardDeduction;

class StandardDeductionScreen : public ScreenFrame {
    Q_OBJECT
public:
    StandardDeductionScreen(QWidget* panel, ScreenHost& host);

    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the three counts: for the whole year, or month by month.
    struct CountBlock {
        QCheckBox* constant = nullptr;
        FieldEdit* count = nullptr;
        QSpinBox* upDown = nullptr;
        MonthFields months{};
    };

    void buildWidgets();
    CountBlock makeBlock(QWidget* parent, FormGrid& form, const char* prefix, const QString& constantCaption,
                         int digits, int upDownMax, const QString& countCaption, const QString& monthHint);
    void load();
    // The deduction part of shown and the monthly business figures of business.
    void showRecord(const StandardDeduction& shown, const StandardDeduction& business);
    void loadBlock(CountBlock& block, std::uint8_t constant, std::int32_t count, const MonthInts& months);

    StandardDeduction& deduction();
    bool businessAvailable() const;
    void applyEnabling();
    void applyBlockEnabling(CountBlock& block);
    void grantedClicked();
    // Unticking confirmed: the record goes back to a new one's values.
    void dropEntries();
    // Whether the screen shows anything besides a new record's choices, which unticking
    // the box would lose when the screen is saved.
    bool somethingEntered() const;
    void constantClicked(CountBlock& block);
    void countChanged(CountBlock& block);
    void updateGuardian();
    void selfCodeClicked(int id);
    void childStatusClicked(int id);
    void openSelfCodes();
    void openChildStatus();
    void businessAmountTyped(int month);
    void businessMonthClicked(int month, bool checked);
    void showHelp();

    QCheckBox* grantedBox_;
    QLabel* helpIconLabel_;
    QLabel* helpLabel_;
    QButtonGroup* selfCodes_;
    QRadioButton* selfChangedRadio_;
    QButtonGroup* childStatus_;
    QRadioButton* statusChangedRadio_;
    // The choices before the month dialogs were opened, put back when a dialog is
    // cancelled and no month was ever chosen.
    int selfCodeShown_ = 0;
    int childStatusShown_ = 0;
    QList<QLabel*> monthCaptions_;
    CountBlock children_;
    CountBlock thirdPlus_;
    CountBlock disabled_;
    QWidget* guardianPanel_;
    QCheckBox* guardianBox_;
    MonthBoxes businessMonths_{};
    MonthFields businessIncome_{};
    MonthFields businessExpense_{};
};

} // namespace kv
