#pragma once
// "Сведения о доходе" of a non-resident taxed at 13%: the income code among those a
// non-resident declares at that rate, the amount, the deduction against it and the
// month. The dialog edits its own values; the screen takes the item only after "Да".
#include "model/IncomeSources.h"

#include <QDialog>
#include <optional>

class QLabel;

namespace kv {

class Asker;
class FieldEdit;
class IncomeCodeFields;
class IncomeDict;

class NonResidentIncomeDialog : public QDialog {
    Q_OBJECT
public:
    NonResidentIncomeDialog(Asker& asker, const IncomeDict& dict,
                            const std::optional<ThirteenIncomeItem>& existing, QWidget* parent);

    bool incomeChosen() const;
    // The income with the dialog's values; meaningful after "Да". Its name stays
    // empty and it carries no percentage.
    ThirteenIncomeItem item() const;

public slots:
    void accept() override;

private:
    void setMonthEnabled(bool enabled);
    void monthChanged();
    void monthFinished();
    void goToElement(std::uint16_t element);

    Asker& asker_;
    IncomeCodeFields* codes_;
    QLabel* monthLabel_;
    FieldEdit* monthEdit_;
};

} // namespace kv
