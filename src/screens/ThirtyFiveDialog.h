#pragma once
// "Доход": one source of incomes at 35% (prizes, interest above the limit, saved
// interest on loans) with its payer, the income code and amount, the deduction
// against it and the tax withheld. The dialog edits a copy of the source; the screen
// takes the copy only after "Да".
#include "model/IncomeSources.h"
#include "screens/kit/PayerFields.h"

#include <QDialog>

namespace kv {

class Asker;
class FieldEdit;
class IncomeCodeFields;
class IncomeDict;

class ThirtyFiveDialog : public QDialog {
    Q_OBJECT
public:
    ThirtyFiveDialog(Asker& asker, const IncomeDict& dict, const ThirtyFivePercentSource& source,
                     QWidget* parent);

    // The source with the dialog's values; meaningful after "Да".
    const ThirtyFivePercentSource& source() const { return source_; }

public slots:
    void accept() override;

private:
    void goToElement(std::uint16_t element);

    Asker& asker_;
    ThirtyFivePercentSource source_;
    PayerFields payer_;
    IncomeCodeFields* codes_;
    FieldEdit* withheldEdit_;
};

} // namespace kv
