#include "screens/kit/MasterDetailList.h"

#include "screens/kit/ScreenWidgets.h"

#include <QTreeWidget>

namespace kv {

namespace {

// Sets a flag for a scope and puts back what it was.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~Raised() { flag_ = previous_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
    bool previous_;
};

} // namespace

MasterDetailList::MasterDetailList(QTreeWidget* list, QObject* parent) : QObject(parent), list_(list) {
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!listing_)
            changeTo(current != nullptr ? list_->indexOfTopLevelItem(current) : -1);
    });
}

int MasterDetailList::count() const {
    return list_->topLevelItemCount();
}

void MasterDetailList::fill(const QStringList& titles) {
    Raised listing(listing_);
    list_->clear();
    selected_ = -1;
    for (const QString& title : titles)
        list_->addTopLevelItem(new QTreeWidgetItem(QStringList{title}));
}

void MasterDetailList::append(const QString& title) {
    Raised listing(listing_);
    list_->addTopLevelItem(new QTreeWidgetItem(QStringList{title}));
}

void MasterDetailList::setTitle(int row, const QString& title) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row))
        item->setText(0, title);
}

void MasterDetailList::select(int row) {
    if (row < 0 || row >= count()) {
        changeTo(-1);
        return;
    }
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (list_->currentItem() == item)
        changeTo(row);
    else
        list_->setCurrentItem(item);
}

void MasterDetailList::storeSelected() {
    if (selected_ >= 0 && onStore)
        onStore(selected_);
}

void MasterDetailList::changeTo(int row) {
    storeSelected();
    selected_ = row;
    if (onShow)
        onShow(row);
}

void MasterDetailList::removeSelected(const std::function<void(int index)>& removeRecord) {
    if (selected_ < 0)
        return;
    const int removed = selected_;
    // The panel shows the record going away: it is not stored anywhere.
    selected_ = -1;
    removeRecord(removed);
    {
        Raised listing(listing_);
        delete list_->takeTopLevelItem(removed);
        list_->setCurrentItem(nullptr);
    }
    select(rowAfterRemoval(removed, count()));
}

} // namespace kv
