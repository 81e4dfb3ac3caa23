#include "screens/kit/RecordListController.h"

#include "screens/kit/Asker.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/ScreenWidgets.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace kv {

RecordListController::RecordListController(QTreeWidget* list, QAbstractButton* add, QAbstractButton* remove,
                                           QAbstractButton* edit, Asker& asker, QWidget* screen)
    : QObject(screen), list_(list), asker_(asker), screen_(screen) {
    if (add != nullptr)
        connect(add, &QAbstractButton::clicked, this, &RecordListController::add);
    if (remove != nullptr)
        connect(remove, &QAbstractButton::clicked, this, &RecordListController::remove);
    if (edit != nullptr)
        connect(edit, &QAbstractButton::clicked, this, &RecordListController::edit);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &RecordListController::edit);
    list_->installEventFilter(this);
}

RecordListController::RecordListController(const RecordListBox& box, Asker& asker, QWidget* screen)
    : RecordListController(box.list, box.add, box.remove, box.edit, asker, screen) {}

int RecordListController::selected() const {
    return details_ != nullptr ? details_->selected() : currentRow(list_);
}

void RecordListController::add() {
    if (onAdd)
        onAdd();
}

void RecordListController::edit() {
    if (onEdit)
        onEdit();
}

void RecordListController::remove() {
    if (selected() < 0 || !onRemove)
        return;
    if (details_ != nullptr)
        details_->storeSelected(); // amounts just typed count too
    if (holdsEntries && holdsEntries() && !sourceDeletionConfirmed(asker_, screen_))
        return;
    onRemove();
}

bool RecordListController::eventFilter(QObject* watched, QEvent* event) {
    if (enterEdits && watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edit();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kv
