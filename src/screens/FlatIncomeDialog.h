#pragma once
// One source of incomes at 9% ("Доход, облагаемый по ставке 9%") or of dividends
// ("Доход в виде дивидендов"): the payer, the income and the tax withheld. One class
// for both lists; the kind decides the captions, the income code of a new source,
// and whether the 9% tax is kept. The dialog edits a copy of the source; the screen
// takes the copy only after "Да".
#include "model/IncomeSources.h"
#include "screens/kit/PayerFields.h"
#include "screens/rules/RateRules.h"

#include <QDialog>

namespace kv {

class Asker;
class FieldEdit;

class FlatIncomeDialog : public QDialog {
    Q_OBJECT
public:
    // newSource: the source is being added, so it takes the list's income code.
    FlatIncomeDialog(Asker& asker, FlatIncomeKind kind, const ThirtyPercentSource& source, bool newSource,
                     QWidget* parent);

    // The source with the dialog's values; meaningful after "Да".
    const ThirtyPercentSource& source() const { return source_; }

public slots:
    void accept() override;

private:
    FlatIncomeValues values() const;
    void goToElement(std::uint16_t element);

    Asker& asker_;
    FlatIncomeKind kind_;
    ThirtyPercentSource source_;
    bool newSource_;
    PayerFields payer_;
    FieldEdit* incomeEdit_;
    FieldEdit* withheldEdit_;
};

} // namespace kv
