#include "screens/pickers/IncomeCodePicker.h"

#include "screens/kit/UiText.h"

namespace kv {

IncomeCodePicker::IncomeCodePicker(const IncomeDict& dict, bool investmentPartnership, bool nonResident,
                                   const Cp1251Text& currentCode, const Cp1251Text& rateSelector,
                                   QWidget* parent)
    : CodePicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("Справочник кодов доходов"),
                 QStringLiteral("Наименование дохода"), parent),
      dict_(dict), rateSelector_(rateSelector),
      rows_(incomePickerRows(dict, rateSelector, investmentPartnership, nonResident)) {
    QList<Row> rows;
    for (const IncomeEntry* entry : rows_)
        rows.append({fromCp1251(entry->code), fromCp1251(entry->name)});
    setRows(rows);
    preselect(rowIndex(preselectedRow(rows_, currentCode)));
}

std::optional<IncomeChoice> IncomeCodePicker::choose() {
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    return chooseIncome(dict_, *rows_.at(static_cast<std::size_t>(*row)), rateSelector_);
}

std::optional<IncomeChoice> IncomeCodePicker::find(const IncomeDict& dict, bool investmentPartnership,
                                                   bool nonResident, const Cp1251Text& code,
                                                   const Cp1251Text& rateSelector) {
    for (const IncomeEntry* entry :
         incomePickerRows(dict, rateSelector, investmentPartnership, nonResident)) {
        if (entry->code == code)
            return chooseIncome(dict, *entry, rateSelector);
    }
    return std::nullopt;
}

QString IncomeCodePicker::notListedMessage(const QString& code) {
    return QStringLiteral("Кода дохода %1 нет в справочнике кодов доходов для этих доходов. Выберите код "
                          "из справочника (кнопка «...»).")
        .arg(code);
}

} // namespace kv
