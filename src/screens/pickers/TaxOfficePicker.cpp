#include "screens/pickers/TaxOfficePicker.h"

#include "screens/kit/UiText.h"
#include "screens/pickers/SounImportDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

TaxOfficePicker& TaxOfficePicker::of(QWidget* window, const CodeNameRows& offices, Asker& asker) {
    if (auto* existing = window->findChild<TaxOfficePicker*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new TaxOfficePicker(offices, asker, window);
}

TaxOfficePicker::TaxOfficePicker(const CodeNameRows& offices, Asker& asker, QWidget* window)
    : CodePicker(QStringLiteral("TfmInputInspectionNumber"),
                 fromCp1251(pickerTexts(DirectoryPicker::TaxOffice).title),
                 fromCp1251(pickerTexts(DirectoryPicker::TaxOffice).secondColumn), window),
      rows_(offices), asker_(asker) {
    QList<Row> rows;
    for (const CodeName& office : rows_)
        rows.append({fromCp1251(office.code), fromCp1251(office.name)});
    setRows(rows);

    auto* missing =
        new QPushButton(QStringLiteral("Пролистал весь справочник, моя инспекция отсутствует..."), this);
    missing->setObjectName(QStringLiteral("bnLoadSoun"));
    missing->setAutoDefault(false);
    connect(missing, &QPushButton::clicked, this, [this] {
        SounImportDialog import(asker_, this);
        import.exec();
    });
    auto* row = new QHBoxLayout;
    row->addWidget(missing);
    row->addStretch(1);
    extraArea()->addLayout(row);
}

std::optional<CodeName> TaxOfficePicker::choose(const Cp1251Text& currentCode) {
    preselect(rowIndex(findCodeRow(rows_, currentCode)));
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    return rows_.at(static_cast<std::size_t>(*row));
}

} // namespace kv
