#include "screens/pickers/CodePicker.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

CodePicker::CodePicker(const QString& objectName, const QString& title, const QString& secondColumn,
                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    setModal(true);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lvCodes"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Код"), secondColumn});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 70);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* ok = new QPushButton(QStringLiteral("Да"), this);
    ok->setObjectName(QStringLiteral("bnOk"));
    ok->setDefault(true);
    // Nothing is chosen for the person: "Да" and Enter wait until a row is selected.
    ok->setEnabled(false);
    connect(list_, &QTreeWidget::itemSelectionChanged, ok,
            [this, ok] { ok->setEnabled(selectedRow().has_value()); });
    auto* cancel = new QPushButton(QStringLiteral("Нет"), this);
    cancel->setObjectName(QStringLiteral("bnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    extra_ = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(extra_);
    layout->addLayout(buttons);
    resize(820, 520);
}

void CodePicker::setRows(const QList<Row>& rows) {
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(QStringList{row.code, row.name});
        // Names are long; the whole one shows when the pointer rests on it.
        item->setToolTip(1, row.name);
        items.append(item);
    }
    list_->addTopLevelItems(items);
}

int CodePicker::rowCount() const {
    return list_->topLevelItemCount();
}

void CodePicker::preselect(std::optional<int> row) {
    // Without a row to preselect no row looks chosen until the user picks one.
    if (selectedRow() == std::nullopt)
        list_->setCurrentItem(nullptr);
    if (row.has_value() && *row >= 0 && *row < rowCount()) {
        QTreeWidgetItem* item = list_->topLevelItem(*row);
        list_->setCurrentItem(item);
        item->setSelected(true);
        list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    }
    list_->setFocus();
}

std::optional<int> CodePicker::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return list_->indexOfTopLevelItem(selected.first());
}

std::optional<int> CodePicker::pick() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return selectedRow();
}

} // namespace kv
