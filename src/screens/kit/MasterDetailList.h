#pragma once
// A list of records with a detail panel showing the selected one: the source lists
// of the income screens, the activity list of the business screen and the like.
//
// How to use:
//   sources_ = new MasterDetailList(lvSources_, this);
//   sources_->onStore = [this](int i) { /* panel fields into record i */ };
//   sources_->onShow = [this](int i) { /* record i into the panel; -1: empty and disable it */ };
//   sources_->fill(titles);                       // while loading; selects nothing
//   sources_->append(title); sources_->select(sources_->count() - 1);   // after adding a record
//   sources_->removeSelected([&](int i) { document().list.remove(i); }); // deleting
//   sources_->storeSelected();                    // in saveData
// The helper keeps the selected index, silences the list's selection signal while it
// fills or removes rows itself, stores the panel into the record the selection
// leaves, and deletes carefully: the selection is forgotten before the record goes,
// so nothing is ever stored into a removed index.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QTreeWidget;

namespace kv {

class MasterDetailList : public QObject {
    Q_OBJECT
public:
    MasterDetailList(QTreeWidget* list, QObject* parent);

    // Writes the detail panel into the record at this index (the selection is leaving it).
    std::function<void(int index)> onStore;
    // Shows the record at this index in the panel; -1 when nothing is selected.
    std::function<void(int index)> onShow;

    QTreeWidget* list() const { return list_; }
    int count() const;
    // The selected record, -1 for none.
    int selected() const { return selected_; }

    // Replaces the rows with these titles; nothing is selected.
    void fill(const QStringList& titles);
    // Appends a row without selecting it.
    void append(const QString& title);
    void setTitle(int row, const QString& title);

    // Selects a row (stores the record left, shows the new one). Selecting the row
    // already selected shows it again; a row out of range selects nothing.
    void select(int row);
    // Stores the panel into the selected record, if any.
    void storeSelected();
    // Deletes the selected record: forgets the selection, calls removeRecord with
    // its index, removes its row, then selects the previous row (or the first), or
    // nothing when none is left. Does nothing without a selection.
    void removeSelected(const std::function<void(int index)>& removeRecord);

private:
    void changeTo(int row);

    QTreeWidget* list_;
    int selected_ = -1;
    // Rows are being filled or removed here, not chosen by the person.
    bool listing_ = false;
};

} // namespace kv
