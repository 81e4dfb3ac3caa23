#include "screens/ThirtyFiveScreen.h"

#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/ThirtyFiveDialog.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/SourceEntries.h"

namespace kv {

ThirtyFiveScreen::ThirtyFiveScreen(QWidget* panel, ScreenHost& host)
    : SourceListScreen(panel, host,
                       {{"edIncomeCode", QStringLiteral("Код дохода")},
                        {"edTotalIncome", QStringLiteral("Сумма дохода")},
                        {"edDeductCode", QStringLiteral("Код вычета")},
                        {"edDeductSum", QStringLiteral("Сумма вычета")},
                        {"edTaxWithheld", QStringLiteral("Сумма удержанного налога")}}),
      dict_(IncomeDict::builtIn()) {
    load();
}

int ThirtyFiveScreen::sourceCount() const {
    return document().incomes35.count();
}

QString ThirtyFiveScreen::sourceName(int row) const {
    return fromCp1251(document().incomes35.get(row).sourceName);
}

QStringList ThirtyFiveScreen::totalsOf(int row) const {
    const ThirtyFivePercentSource& s = document().incomes35.get(row);
    return {codeCell(s.incomeCode), groupedAmount(s.totalIncome), codeCell(s.deductionCode),
            groupedAmount(s.deductionAmount), groupedAmount(s.taxWithheld)};
}

bool ThirtyFiveScreen::enterSource(std::optional<int> row) {
    auto& list = document().incomes35;
    const ThirtyFivePercentSource current = row ? list.get(*row) : ThirtyFivePercentSource{};
    ThirtyFiveDialog dialog(host().asker(), dict_, current, this);
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty() ||
        dialog.source().incomeCode == 0)
        return false;
    try {
        if (row)
            list.set(*row, dialog.source());
        else
            list.add(dialog.source());
    } catch (const std::exception& failure) {
        showFailure(failure);
        return false;
    }
    return true;
}

bool ThirtyFiveScreen::sourceHoldsEntries(int row) const {
    return holdsEntries(document().incomes35.get(row));
}

void ThirtyFiveScreen::removeSource(int row) {
    document().incomes35.remove(row);
}

} // namespace kv
