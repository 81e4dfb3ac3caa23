#include "screens/SourceListScreen.h"

#include "screens/kit/Asker.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

SourceListScreen::SourceListScreen(QWidget* panel, ScreenHost& host, const QList<Total>& totals)
    : ScreenFrame(panel, host) {
    RecordListOptions sourceOptions;
    sourceOptions.buttons = RecordListOptions::Buttons::Row;
    sourceBox_ = recordListBox(this, sourceOptions);

    auto* totalsBox =
        named(new QGroupBox(QStringLiteral("Итоговые суммы по источнику выплат"), this), "gbTotals");
    auto* totalsLayout = new QVBoxLayout(totalsBox);
    totalsLayout->setSpacing(2);
    for (const Total& total : totals) {
        QLineEdit* edit = totalField(totalsBox, total.name);
        auto* label = new QLabel(total.caption, totalsBox);
        label->setBuddy(edit);
        totalsLayout->addWidget(label);
        totalsLayout->addWidget(edit);
        totalsLayout->addSpacing(4);
        totals_.append(edit);
    }
    totalsLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(sourceBox_.box, 3);
    layout->addWidget(totalsBox, 2);

    // Nothing is typed beside the list, so leaving a source stores nothing.
    sources_ = new MasterDetailList(sourceBox_.list, this);
    sources_->onShow = [this](int row) { showTotals(row); };
    auto* controller = new RecordListController(sourceBox_, host.asker(), this);
    controller->setDetails(sources_);
    controller->onAdd = [this] { addSource(); };
    controller->onEdit = [this] { editSource(); };
    controller->holdsEntries = [this] { return sourceHoldsEntries(sources_->selected()); };
    controller->onRemove = [this] { deleteSource(); };
}

void SourceListScreen::load() {
    ScreenBuildGuard guard(host());
    QStringList names;
    for (int row = 0; row < sourceCount(); ++row)
        names.append(sourceName(row));
    sources_->fill(names);
    showTotals(-1);
}

void SourceListScreen::showTotals(int row) {
    const QStringList values = row >= 0 ? totalsOf(row) : QStringList{};
    for (qsizetype i = 0; i < totals_.size(); ++i)
        totals_.at(i)->setText(i < values.size() ? values.at(i) : QString());
}

void SourceListScreen::showFailure(const std::exception& failure) {
    host().asker().ask(
        this, messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

void SourceListScreen::addSource() {
    if (!enterSource(std::nullopt))
        return;
    markDocumentChanged();
    sources_->append(sourceName(sourceCount() - 1));
    sourceBox_.list->setFocus();
    sources_->select(sources_->count() - 1);
}

void SourceListScreen::editSource() {
    const int row = sources_->selected();
    if (row < 0 || !enterSource(row))
        return;
    markDocumentChanged();
    sources_->setTitle(row, sourceName(row));
    sourceBox_.list->setFocus();
    sources_->select(row);
}

void SourceListScreen::deleteSource() {
    markDocumentChanged();
    sources_->removeSelected([this](int row) { removeSource(row); });
}

void SourceListScreen::setFocusToElement(std::uint16_t code) {
    if (code == 0 || code > sources_->count())
        return;
    sourceBox_.list->setFocus();
    sources_->select(code - 1);
}

void SourceListScreen::selectFirstEntry() {
    if (sources_->count() == 0)
        return;
    sourceBox_.list->setFocus();
    sources_->select(0);
}

} // namespace kv
