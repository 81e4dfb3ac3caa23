#pragma once
// The buttons that act on the selected row of a list ("Удалить", "Редактировать",
// "Повторить доход" and the like): enabled only while a row is selected and the
// screen allows them (the current row is always shown selected), and the Delete key pressing the list's
// delete button, so the key asks exactly what the button asks.
//
// How to use:
//   auto* actions = new ListActions(incomesList_, deleteIncomeButton_, {editIncomeButton_,
//   repeatIncomeButton_}); actions->allowed = [this] { return sourceList_->selected() >= 0; };
//   actions->refresh();          // after whatever allowed() reads has changed
// Rows added, removed or made current refresh the buttons by themselves.
#include <QAbstractButton>
#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <vector>

class QTreeWidget;

namespace kv {

class ListActions : public QObject {
    Q_OBJECT
public:
    ListActions(QTreeWidget* list, QAbstractButton* deleteButton,
                std::initializer_list<QAbstractButton*> otherButtons = {});

    // What the screen requires besides a selected row; none: nothing more. Asked only
    // while the list has a current row.
    std::function<bool()> allowed;

    // One more button that needs a selected row.
    void addButton(QAbstractButton* button);

    // Enables the buttons when a row is selected and allowed() holds, disables them otherwise.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* list_; // null once the list is being destroyed
    QPointer<QAbstractButton> deleteButton_;
    std::vector<QPointer<QAbstractButton>> buttons_;
};

} // namespace kv
