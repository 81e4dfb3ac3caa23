#pragma once
// "Доходы, облагаемые по ставке 35%" (incomes35): each source holds one income with
// its code, the deduction against it and the tax withheld, entered in ThirtyFiveDialog.
#include "screens/SourceListScreen.h"

namespace kv {

class IncomeDict;

class ThirtyFiveScreen : public SourceListScreen {
    Q_OBJECT
public:
    ThirtyFiveScreen(QWidget* panel, ScreenHost& host);

protected:
    int sourceCount() const override;
    QString sourceName(int row) const override;
    QStringList totalsOf(int row) const override;
    bool enterSource(std::optional<int> row) override;
    void removeSource(int row) override;
    bool sourceHoldsEntries(int row) const override;

private:
    const IncomeDict& dict_;
};

} // namespace kv
