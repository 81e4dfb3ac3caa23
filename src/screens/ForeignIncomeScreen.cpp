#include "screens/ForeignIncomeScreen.h"

#include "checks/CheckRun.h"
#include "model/Declaration.h"
#include "reference/Directories.h"
#include "reference/IncomeDict.h"
#include "screens/ForeignIncomePanel.h"
#include "screens/ForeignSourceDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/ForeignRules.h"
#include "screens/rules/SourceEntries.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

ForeignIncomeScreen::ForeignIncomeScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host), dict_(IncomeDict::builtIn()) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    sourceList_ = new MasterDetailList(sourceBox_.list, this);
    sourceList_->onStore = [this](int index) {
        incomePart_->storeInto(document().foreignIncomes.get(index));
    };
    sourceList_->onShow = [this](int index) {
        if (index < 0)
            incomePart_->showNone();
        else
            incomePart_->showRecord(document().foreignIncomes.get(index));
    };
    load();
    connectEdits();
}

void ForeignIncomeScreen::buildWidgets() {
    // --- Sources -------------------------------------------------------------
    // One above the other: the panel of the source needs the width.
    RecordListOptions sourceOptions;
    sourceOptions.buttons = RecordListOptions::Buttons::Column;
    sourceOptions.extras = {
        {"bnCopySource", QStringLiteral("Копировать"), QStringLiteral("Копировать источник выплат")}};
    sourceBox_ = recordListBox(this, sourceOptions);
    copySourceButton_ = sourceBox_.extras.front();

    incomePart_ = new ForeignIncomePanel(host(), dict_, this);

    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(170);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(sourceBox_.box, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftColumn);
    layout->addWidget(incomePart_, 1);
}

void ForeignIncomeScreen::connectEdits() {
    auto* sources = new RecordListController(sourceBox_, host().asker(), this);
    sources->setDetails(sourceList_);
    sources->onAdd = [this] { addSource(); };
    sources->onEdit = [this] { editSource(); };
    sources->holdsEntries = [this] { return holdsEntries(source()); };
    sources->onRemove = [this] { deleteSource(); };
    connect(copySourceButton_, &QPushButton::clicked, this, &ForeignIncomeScreen::copySource);
    connect(incomePart_, &ForeignIncomePanel::changed, this, [this] { markDocumentChanged(); });
}

void ForeignIncomeScreen::load() {
    const Declaration& d = document();
    incomePart_->showAppendixSheets(d.foreignAppendixSheets);
    QStringList titles;
    for (const ForeignIncome& s : d.foreignIncomes)
        titles.append(fromCp1251(s.sourceName));
    sourceList_->fill(titles);
    incomePart_->showNone();
    const bool any = d.foreignIncomes.count() > 0;
    setIncomePartEnabled(any);
    if (any)
        incomePart_->applyCfcGroup(d.foreignIncomes.get(0).incomeCode, false);
}

ForeignIncome& ForeignIncomeScreen::source() {
    return document().foreignIncomes.get(sourceList_->selected());
}

void ForeignIncomeScreen::setIncomePartEnabled(bool on) {
    incomePart_->setEnabled(on);
    sourceBox_.actions->refresh();
}

// --- Sources -------------------------------------------------------------------

void ForeignIncomeScreen::showFailure(const std::exception& failure) {
    host().asker().ask(
        this, messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

void ForeignIncomeScreen::appendSource(const ForeignIncome& record) {
    const bool first = document().foreignIncomes.count() == 0;
    try {
        document().foreignIncomes.add(record);
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    if (first)
        setIncomePartEnabled(true);
    sourceList_->append(fromCp1251(record.sourceName));
    sourceBox_.list->setFocus();
    sourceList_->select(sourceList_->count() - 1);
}

void ForeignIncomeScreen::addSource() {
    ForeignSourceDialog dialog(host().asker(), host().directories().countries, ForeignIncome{}, this);
    connect(&dialog, &ForeignSourceDialog::countryPicked, this, [this] { markDocumentChanged(); });
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    ForeignIncome record;
    record.sourceName = dialog.source().sourceName;
    record.countryCode = dialog.source().countryCode;
    appendSource(record);
}

void ForeignIncomeScreen::editSource() {
    if (sourceList_->selected() < 0)
        return;
    ForeignSourceDialog dialog(host().asker(), host().directories().countries, source(), this);
    connect(&dialog, &ForeignSourceDialog::countryPicked, this, [this] { markDocumentChanged(); });
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    ForeignIncome& s = source();
    if (s.sourceName == dialog.source().sourceName && s.countryCode == dialog.source().countryCode)
        return;
    s.sourceName = dialog.source().sourceName;
    s.countryCode = dialog.source().countryCode;
    markDocumentChanged();
    sourceList_->setTitle(sourceList_->selected(), fromCp1251(s.sourceName));
    sourceBox_.list->setFocus();
}

void ForeignIncomeScreen::deleteSource() {
    markDocumentChanged();
    sourceList_->removeSelected([this](int index) { document().foreignIncomes.remove(index); });
    if (sourceList_->count() == 0)
        setIncomePartEnabled(false);
}

void ForeignIncomeScreen::copySource() {
    if (sourceList_->selected() < 0)
        return;
    sourceList_->storeSelected();
    appendSource(copiedSource(source()));
}

// --- Screen operations -----------------------------------------------------------

void ForeignIncomeScreen::saveData() {
    sourceList_->storeSelected();
}

std::uint16_t ForeignIncomeScreen::checkData() {
    saveData();
    AskerCheckDialog dialog(host().asker(), this);
    // A date the field cannot take (outside its range, not finished) is named first,
    // in the field's own words: the record's checks below see only its last real date.
    if (const int selected = sourceList_->selected(); selected >= 0) {
        CheckRun dates(dialog, foreignIncomeTitle(), CheckStop::AtFirstFault);
        for (const auto& [field, label] : {std::pair{incomePart_->incomeDate(), "Дата получения дохода"},
                                           std::pair{incomePart_->taxDate(), "Дата уплаты налога"}}) {
            if (!field->problem().isEmpty())
                dates.fault(toCp1251(QString::fromUtf8(label) + QStringLiteral(": ") + field->problem()),
                            static_cast<std::uint16_t>(selected + 1));
        }
        if (dates.shown())
            return dates.result();
    }
    return checkForeignIncomes(document(), dialog);
}

void ForeignIncomeScreen::setFocusToElement(std::uint16_t code) {
    if (code == 0 || code > sourceList_->count())
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(code - 1);
}

void ForeignIncomeScreen::selectFirstEntry() {
    if (sourceList_->count() == 0)
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(0);
}

} // namespace kv
