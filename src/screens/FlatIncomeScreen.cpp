#include "screens/FlatIncomeScreen.h"

#include "model/Declaration.h"
#include "screens/FlatIncomeDialog.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/UiText.h"
#include "screens/rules/SourceEntries.h"

namespace kv {

namespace {

QList<SourceListScreen::Total> flatTotals(FlatIncomeKind kind) {
    return {{"edTotalIncome", kind == FlatIncomeKind::NinePercent ? QStringLiteral("Сумма дохода")
                                                                  : QStringLiteral("Сумма дивидендов")},
            {"edTaxWithheld", QStringLiteral("Удержанный налог")}};
}

} // namespace

FlatIncomeScreen::FlatIncomeScreen(QWidget* panel, ScreenHost& host, FlatIncomeKind kind)
    : SourceListScreen(panel, host, flatTotals(kind)), kind_(kind) {
    load();
}

IncomeList<ThirtyPercentSource>& FlatIncomeScreen::list() const {
    return kind_ == FlatIncomeKind::NinePercent ? document().incomes9 : document().incomes30;
}

int FlatIncomeScreen::sourceCount() const {
    return list().count();
}

QString FlatIncomeScreen::sourceName(int row) const {
    return fromCp1251(list().get(row).sourceName);
}

QStringList FlatIncomeScreen::totalsOf(int row) const {
    const ThirtyPercentSource& s = list().get(row);
    const Money income = kind_ == FlatIncomeKind::NinePercent ? s.totalIncome : s.taxableAmount;
    return {groupedAmount(income), groupedAmount(s.taxWithheld)};
}

bool FlatIncomeScreen::enterSource(std::optional<int> row) {
    const ThirtyPercentSource current = row ? list().get(*row) : ThirtyPercentSource{};
    FlatIncomeDialog dialog(host().asker(), kind_, current, !row.has_value(), this);
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return false;
    try {
        if (row)
            list().set(*row, dialog.source());
        else
            list().add(dialog.source());
    } catch (const std::exception& failure) {
        showFailure(failure);
        return false;
    }
    return true;
}

bool FlatIncomeScreen::sourceHoldsEntries(int row) const {
    return holdsEntries(list().get(row));
}

void FlatIncomeScreen::removeSource(int row) {
    list().remove(row);
}

} // namespace kv
