#pragma once
// What a list of records does with its buttons and keys, the same on every screen:
// "Добавить" adds; "Редактировать", a double click and Enter on a row edit it;
// "Удалить" (and the Delete key, through the list's ListActions) deletes the selected
// row, asking first when the record holds entered data, with "Нет" as the default.
//
// How to use:
//   auto* sources = new RecordListController(sourceBox_, host().asker(), this);
//   sources->onAdd = [this] { addSource(); };
//   sources->onEdit = [this] { editSource(); };
//   sources->onRemove = [this] { removeSource(); };      // the question answered "Да", if asked
//   sources->holdsEntries = [this] { return holdsEntries(source()); };
//   sources->setDetails(sourceList_);   // the panel of the selected record counts before the question
// A list whose rows are edited by no key of their own sets enterEdits to false.
#include <QObject>
#include <functional>

class QAbstractButton;
class QTreeWidget;
class QWidget;

namespace kv {

class Asker;
class MasterDetailList;
struct RecordListBox;

class RecordListController : public QObject {
    Q_OBJECT
public:
    // A list with its own three buttons; a button may be null.
    RecordListController(QTreeWidget* list, QAbstractButton* add, QAbstractButton* remove,
                         QAbstractButton* edit, Asker& asker, QWidget* screen);
    // The list and buttons of a record-list box.
    RecordListController(const RecordListBox& box, Asker& asker, QWidget* screen);

    std::function<void()> onAdd;
    std::function<void()> onEdit;
    // Deletes the selected record; called only with a row selected and the question, if
    // any, answered "Да".
    std::function<void()> onRemove;
    // Whether deleting the selected record takes entered data with it, so the person is
    // asked first; empty: deleting never asks.
    std::function<bool()> holdsEntries;
    // Enter on a row edits it.
    bool enterEdits = true;

    // The records are shown in a detail panel: the selection is its selected record,
    // and what the panel holds is stored into the record before deleting asks.
    void setDetails(MasterDetailList* details) { details_ = details; }

    // The selected row, -1 for none.
    int selected() const;

    void add();
    void edit();
    void remove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* list_;
    Asker& asker_;
    QWidget* screen_;
    MasterDetailList* details_ = nullptr;
};

} // namespace kv
