#include "screens/pickers/DocumentTypePicker.h"

#include "reference/DocumentKinds.h"
#include "screens/kit/UiText.h"

#include <string>

namespace kv {

namespace {

PickerTexts texts() {
    return pickerTexts(DirectoryPicker::DocumentKind);
}

} // namespace

DocumentTypePicker::DocumentTypePicker(int currentKind, QWidget* parent)
    : CodePicker(QStringLiteral("TfmDocType"), fromCp1251(texts().title), fromCp1251(texts().secondColumn),
                 parent) {
    QList<Row> rows;
    for (const CodeName& kind : documentKinds())
        rows.append({fromCp1251(kind.code), fromCp1251(kind.name)});
    setRows(rows);
    preselect(rowIndex(documentKindRow(currentKind)));
}

std::optional<DocumentKindChoice> DocumentTypePicker::choose() {
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    const CodeName& kind = documentKinds().at(static_cast<std::size_t>(*row));
    return DocumentKindChoice{std::stoi(kind.code.bytes()), kind.name};
}

} // namespace kv
