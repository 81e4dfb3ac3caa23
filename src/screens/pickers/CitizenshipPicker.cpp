#include "screens/pickers/CitizenshipPicker.h"

#include "screens/kit/UiText.h"

namespace kv {

CitizenshipPicker& CitizenshipPicker::of(QWidget* window, const CodeNameRows& countries) {
    if (auto* existing = window->findChild<CitizenshipPicker*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new CitizenshipPicker(countries, window);
}

CitizenshipPicker::CitizenshipPicker(const CodeNameRows& countries, QWidget* window)
    : CodePicker(QStringLiteral("TfmGrazhd"), fromCp1251(pickerTexts(DirectoryPicker::Country).title),
                 fromCp1251(pickerTexts(DirectoryPicker::Country).secondColumn), window),
      rows_(countries) {
    QList<Row> rows;
    for (const CodeName& country : rows_)
        rows.append({fromCp1251(country.code), fromCp1251(country.name)});
    setRows(rows);
}

std::optional<CodeName> CitizenshipPicker::choose(const Cp1251Text& currentCode) {
    preselect(rowIndex(findCodeRow(rows_, currentCode)));
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    return rows_.at(static_cast<std::size_t>(*row));
}

} // namespace kv
