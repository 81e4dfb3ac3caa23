#pragma once
// "Доходы, облагаемые по ставке 9%" (incomes9) and "Доходы в виде дивидендов"
// (incomes30): one screen configured per list. Each source holds its whole income,
// entered in FlatIncomeDialog; the same dividends screen serves residents and
// non-residents.
#include "screens/SourceListScreen.h"
#include "screens/rules/RateRules.h"

namespace kv {

template <class T> class IncomeList;
class ThirtyPercentSource;

class FlatIncomeScreen : public SourceListScreen {
    Q_OBJECT
public:
    FlatIncomeScreen(QWidget* panel, ScreenHost& host, FlatIncomeKind kind);

protected:
    int sourceCount() const override;
    QString sourceName(int row) const override;
    QStringList totalsOf(int row) const override;
    bool enterSource(std::optional<int> row) override;
    void removeSource(int row) override;
    bool sourceHoldsEntries(int row) const override;

private:
    IncomeList<ThirtyPercentSource>& list() const;

    FlatIncomeKind kind_;
};

} // namespace kv
