#include "screens/kit/ListActions.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QTreeWidget>

namespace kv {

ListActions::ListActions(QTreeWidget* list, QAbstractButton* deleteButton,
                         std::initializer_list<QAbstractButton*> otherButtons)
    : QObject(list), list_(list), deleteButton_(deleteButton) {
    buttons_.emplace_back(deleteButton);
    for (QAbstractButton* button : otherButtons)
        buttons_.emplace_back(button);
    connect(list_, &QTreeWidget::currentItemChanged, this, &ListActions::refresh);
    QAbstractItemModel* rows = list_->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &ListActions::refresh);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &ListActions::refresh);
    connect(rows, &QAbstractItemModel::modelReset, this, &ListActions::refresh);
    // The list's model goes after the list itself and still signals on its way: from
    // then on there is nothing left to refresh.
    connect(list_, &QObject::destroyed, this, [this] { list_ = nullptr; });
    list_->installEventFilter(this);
    refresh();
}

void ListActions::addButton(QAbstractButton* button) {
    buttons_.emplace_back(button);
    refresh();
}

void ListActions::refresh() {
    if (list_ == nullptr)
        return;
    QTreeWidgetItem* current = list_->currentItem();
    // Tabbing into a list makes its first row current without highlighting it; a row the
    // buttons act on is always one the person can see chosen.
    if (current != nullptr && !current->isSelected())
        current->setSelected(true);
    const bool on = current != nullptr && (!allowed || allowed());
    for (const QPointer<QAbstractButton>& button : buttons_) {
        if (button != nullptr)
            button->setEnabled(on);
    }
}

bool ListActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The Delete key of the keypad counts as well.
        if (key->key() == Qt::Key_Delete && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (deleteButton_ != nullptr && deleteButton_->isEnabled())
                deleteButton_->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kv
