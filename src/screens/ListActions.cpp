#include "screens/ListActions.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QTreeWidget>

namespace kv {

ListActions::ListActions(QTreeWidget* list, QAbstractButton* deleteButton,
                         std::initializer_list<QAbstractButton*> otherButtons)
    : QObject(list), list_(list), deleteButton_(deleteButton), buttons_(otherButtons) {
    buttons_.insert(buttons_.begin(), deleteButton);
    connect(list_, &QTreeWidget::currentItemChanged, this, &ListActions::refresh);
    QAbstractItemModel* rows = list_->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &ListActions::refresh);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &ListActions::refresh);
    connect(rows, &QAbstractItemModel::modelReset, this, &ListActions::refresh);
    list_->installEventFilter(this);
    refresh();
}

void ListActions::addButton(QAbstractButton* button) {
    buttons_.push_back(button);
    refresh();
}

void ListActions::refresh() {
    const bool on = list_->currentItem() != nullptr && (!allowed || allowed());
    for (QAbstractButton* button : buttons_)
        button->setEnabled(on);
}

bool ListActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            if (deleteButton_->isEnabled())
                deleteButton_->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kv
