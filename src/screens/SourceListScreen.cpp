#include "screens/SourceListScreen.h"

#include "screens/Asker.h"
#include "screens/UiText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    return b;
}

} // namespace

QString codeOrNone(std::int32_t code) {
    return code == 0 ? QStringLiteral("Нет") : QString::number(code);
}

SourceListScreen::SourceListScreen(QWidget* panel, ScreenHost& host, const QList<Total>& totals)
    : ScreenFrame(panel, host) {
    auto* sourceBox = new QGroupBox(QStringLiteral("Источники выплат"), this);
    sourceBox->setObjectName(QStringLiteral("gbSources"));
    lvSources_ = new QTreeWidget(sourceBox);
    lvSources_->setObjectName(QStringLiteral("lvSources"));
    lvSources_->setToolTip(QStringLiteral("Список источников выплат"));
    lvSources_->setHeaderLabels({QStringLiteral("Источники выплат")});
    lvSources_->setRootIsDecorated(false);
    lvSources_->setUniformRowHeights(true);
    lvSources_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvSources_->header()->setStretchLastSection(true);
    bnAddSource_ = button(sourceBox, "bnAddSource", QStringLiteral("Добавить"),
                          QStringLiteral("Добавить источник выплат"));
    bnDeleteSource_ = button(sourceBox, "bnDeleteSource", QStringLiteral("Удалить"),
                             QStringLiteral("Удалить источник выплат"));
    bnEditSource_ = button(sourceBox, "bnEditSource", QStringLiteral("Редактировать"),
                           QStringLiteral("Редактировать источник выплат"));
    auto* sourceButtons = new QHBoxLayout;
    sourceButtons->addWidget(bnAddSource_);
    sourceButtons->addWidget(bnDeleteSource_);
    sourceButtons->addWidget(bnEditSource_);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    sourceLayout->addWidget(lvSources_, 1);
    sourceLayout->addLayout(sourceButtons);

    auto* totalsBox = new QGroupBox(QStringLiteral("Итоговые суммы по источнику выплат"), this);
    totalsBox->setObjectName(QStringLiteral("gbTotals"));
    auto* totalsLayout = new QVBoxLayout(totalsBox);
    totalsLayout->setSpacing(2);
    for (const Total& total : totals) {
        auto* edit = new QLineEdit(totalsBox);
        edit->setObjectName(QString::fromLatin1(total.name));
        edit->setReadOnly(true);
        edit->setMaximumWidth(180);
        auto* label = new QLabel(total.caption, totalsBox);
        label->setBuddy(edit);
        totalsLayout->addWidget(label);
        totalsLayout->addWidget(edit);
        totalsLayout->addSpacing(4);
        totals_.append(edit);
    }
    totalsLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(sourceBox, 3);
    layout->addWidget(totalsBox, 2);

    connect(lvSources_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!listing_)
            rowSelected(current != nullptr ? lvSources_->indexOfTopLevelItem(current) : -1);
    });
    connect(lvSources_, &QTreeWidget::itemDoubleClicked, this, &SourceListScreen::editSource);
    connect(bnAddSource_, &QPushButton::clicked, this, &SourceListScreen::addSource);
    connect(bnDeleteSource_, &QPushButton::clicked, this, &SourceListScreen::deleteSource);
    connect(bnEditSource_, &QPushButton::clicked, this, &SourceListScreen::editSource);
    lvSources_->installEventFilter(this);
}

void SourceListScreen::load() {
    ScreenBuildGuard guard(host());
    listing_ = true;
    lvSources_->clear();
    for (int row = 0; row < sourceCount(); ++row)
        lvSources_->addTopLevelItem(new QTreeWidgetItem(QStringList{sourceName(row)}));
    lvSources_->setCurrentItem(nullptr);
    listing_ = false;
    selected_ = -1;
    showTotals(-1);
}

void SourceListScreen::rowSelected(int row) {
    selected_ = row;
    showTotals(row);
}

void SourceListScreen::selectRow(int row) {
    if (row < 0 || row >= lvSources_->topLevelItemCount()) {
        rowSelected(-1);
        return;
    }
    QTreeWidgetItem* item = lvSources_->topLevelItem(row);
    if (lvSources_->currentItem() == item)
        rowSelected(row);
    else
        lvSources_->setCurrentItem(item);
}

void SourceListScreen::showTotals(int row) {
    const QStringList values = row >= 0 ? totalsOf(row) : QStringList{};
    for (qsizetype i = 0; i < totals_.size(); ++i)
        totals_.at(i)->setText(i < values.size() ? values.at(i) : QString());
}

void SourceListScreen::showFailure(const std::exception& failure) {
    host().asker().ask(this, messageQuestion(QStringLiteral("listFailure"), fromCp1251(failure.what()),
                                             QuestionIcon::Critical));
}

void SourceListScreen::addSource() {
    if (!enterSource(std::nullopt))
        return;
    DocumentChanged();
    listing_ = true;
    lvSources_->addTopLevelItem(new QTreeWidgetItem(QStringList{sourceName(sourceCount() - 1)}));
    listing_ = false;
    lvSources_->setFocus();
    selectRow(lvSources_->topLevelItemCount() - 1);
}

void SourceListScreen::editSource() {
    const int row = selected_;
    if (row < 0 || !enterSource(row))
        return;
    DocumentChanged();
    lvSources_->topLevelItem(row)->setText(0, sourceName(row));
    lvSources_->setFocus();
    selectRow(row);
}

void SourceListScreen::deleteSource() {
    const int removed = selected_;
    if (removed < 0)
        return;
    DocumentChanged();
    // Nothing may read the source once it is gone.
    selected_ = -1;
    removeSource(removed);
    listing_ = true;
    delete lvSources_->takeTopLevelItem(removed);
    lvSources_->setCurrentItem(nullptr);
    listing_ = false;
    const int remaining = lvSources_->topLevelItemCount();
    selectRow(remaining == 0 ? -1 : removed > 0 ? removed - 1 : 0);
}

void SourceListScreen::SelectFirstEntry() {
    if (lvSources_->topLevelItemCount() == 0)
        return;
    lvSources_->setFocus();
    selectRow(0);
}

bool SourceListScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvSources_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            editSource();
            return true;
        }
    }
    return ScreenFrame::eventFilter(watched, event);
}

} // namespace kv
