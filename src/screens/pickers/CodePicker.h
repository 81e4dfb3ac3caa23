#pragma once
// The modal list of codes and names behind every picker of the program: two
// columns, the first "Код"; "Да", Enter or a double click choose the selected row
// ("Да" and Enter wait while no row is selected), "Нет" and Escape cancel.
#include <QDialog>
#include <QList>
#include <QString>
#include <optional>

class QTreeWidget;
class QVBoxLayout;

namespace kv {

// A row found by the pickers' list functions, as the list widget counts rows.
inline std::optional<int> rowIndex(std::optional<std::size_t> row) {
    if (!row.has_value())
        return std::nullopt;
    return static_cast<int>(*row);
}

class CodePicker : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString code;
        QString name;
    };

    CodePicker(const QString& objectName, const QString& title, const QString& secondColumn, QWidget* parent);

    void setRows(const QList<Row>& rows);
    int rowCount() const;
    // Selects, shows and focuses a row; nullopt leaves the selection as it is.
    void preselect(std::optional<int> row);
    // The selected row, if any.
    std::optional<int> selectedRow() const;

    // Shows the picker modally: the selected row on "Да", nullopt on "Нет", on
    // Escape or when no row is selected.
    std::optional<int> pick();

protected:
    // Below the list, above the buttons: room for a picker's own controls.
    QVBoxLayout* extraArea() const { return extra_; }

private:
    QTreeWidget* list_;
    QVBoxLayout* extra_;
};

} // namespace kv
