#include "screens/pickers/DeductionCodePicker.h"

#include "screens/kit/UiText.h"

namespace kv {

DeductionCodePicker::DeductionCodePicker(const IncomeDict& dict, bool fullList, const Cp1251Text& currentCode,
                                         const Cp1251Text& incomeCode, QWidget* parent)
    : CodePicker(QStringLiteral("TfmInputDeductCode"), QStringLiteral("Справочник кодов вычетов"),
                 QStringLiteral("Виды вычетов"), parent),
      rows_(deductionPickerRows(dict, incomeCode, fullList)) {
    QList<Row> rows;
    for (const DeductionEntry* entry : rows_)
        rows.append({fromCp1251(entry->code), fromCp1251(entry->name)});
    setRows(rows);
    preselect(rowIndex(preselectedRow(rows_, currentCode)));
}

std::optional<DeductionChoice> DeductionCodePicker::choose() {
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    return chooseDeduction(*rows_.at(static_cast<std::size_t>(*row)));
}

std::optional<DeductionChoice> DeductionCodePicker::find(const IncomeDict& dict, bool fullList,
                                                         const Cp1251Text& incomeCode,
                                                         const Cp1251Text& code) {
    for (const DeductionEntry* entry : deductionPickerRows(dict, incomeCode, fullList)) {
        if (entry->code == code)
            return chooseDeduction(*entry);
    }
    return std::nullopt;
}

QString DeductionCodePicker::notListedMessage(const QString& code) {
    return QStringLiteral("Кода вычета %1 нет в справочнике кодов вычетов для этого дохода. Выберите код "
                          "из справочника (кнопка «...»).")
        .arg(code);
}

} // namespace kv
