#include "screens/InvestPartnershipScreen.h"

#include "model/Declaration.h"
#include "screens/PartnershipDialogs.h"
#include "screens/kit/Asker.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/PayerFields.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/SourceEntries.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

// A missing kind, income or manager payment reads "Нет", a zero expense share or
// earlier loss "-".
QStringList incomeCells(const PartnershipIncomeItem& item) {
    const auto noneIfZero = [](Money m) { return m.isZero() ? QStringLiteral("Нет") : groupedAmount(m); };
    return {codeCell(item.operationKind), noneIfZero(item.incomeAmount), amountCell(item.expenseShare),
            noneIfZero(item.managerExpenses), amountCell(item.priorYearsLoss)};
}

} // namespace

InvestPartnershipScreen::InvestPartnershipScreen(QWidget* panel, ScreenHost& host)
    : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    sources_ = new MasterDetailList(sourceBox_.list, this);
    sources_->onStore = [this](int index) { storeTotals(index); };
    sources_->onShow = [this](int index) { showSource(index); };
    load();

    auto* sources = new RecordListController(sourceBox_, host.asker(), this);
    sources->setDetails(sources_);
    sources->onAdd = [this] { addSource(); };
    sources->onEdit = [this] { editSource(); };
    sources->holdsEntries = [this] { return holdsEntries(source()); };
    sources->onRemove = [this] { deleteSource(); };
    auto* incomes = new RecordListController(incomesList_, addIncomeButton_, deleteIncomeButton_,
                                             editIncomeButton_, host.asker(), this);
    incomes->onAdd = [this] { addIncome(); };
    incomes->onEdit = [this] { editIncome(); };
    incomes->onRemove = [this] { deleteIncome(); };
    for (FieldEdit* f : {taxWithheldEdit_, taxableAmountEdit_, taxCalculatedEdit_})
        connect(f, &FieldEdit::changed, this, [this] {
            if (this->host().buildingGuard())
                return;
            totalsEdited_ = true;
            markDocumentChanged();
        });
}

void InvestPartnershipScreen::buildWidgets() {
    RecordListOptions sourceOptions;
    sourceOptions.title = QStringLiteral("Инвестиционные товарищества");
    sourceOptions.listHint = QStringLiteral("Список инвестиционных товариществ");
    sourceOptions.column = QStringLiteral("Источники выплат - инвестиционные товарищества");
    sourceBox_ = recordListBox(this, sourceOptions);

    auto* incomeBox =
        new QGroupBox(QStringLiteral("Доходы по выбранному инвестиционному товариществу"), this);
    incomeBox->setObjectName(QStringLiteral("gbIncomes"));
    incomesList_ = makeList(
        incomeBox, "lvIncomes", QStringLiteral("Список доходов по выбранному инвестиционному товариществу"),
        {QStringLiteral("Вид дохода"), QStringLiteral("Сумма дохода"), QStringLiteral("Сумма расхода"),
         QStringLiteral("Возн."), QStringLiteral("Прошл. года")});
    for (int column = 0; column < 4; ++column)
        incomesList_->setColumnWidth(column, column == 0 ? 70 : 90);
    addIncomeButton_ = button(incomeBox, "bnAddIncome", QStringLiteral("Добавить доход"));
    deleteIncomeButton_ = button(incomeBox, "bnDeleteIncome", QStringLiteral("Удалить доход"));
    editIncomeButton_ = button(incomeBox, "bnEditIncome", QStringLiteral("Редактировать доход"));
    auto* incomeButtons = new QHBoxLayout;
    incomeButtons->addWidget(addIncomeButton_);
    incomeButtons->addWidget(deleteIncomeButton_);
    incomeButtons->addWidget(editIncomeButton_);
    incomeActions_ = new ListActions(incomesList_, deleteIncomeButton_, {editIncomeButton_});
    incomeActions_->allowed = [this] { return sources_ != nullptr && sources_->selected() >= 0; };
    auto* incomeLayout = new QVBoxLayout(incomeBox);
    incomeLayout->addWidget(incomesList_, 1);
    incomeLayout->addLayout(incomeButtons);

    auto* totalsBox = new QGroupBox(QStringLiteral("Итоговые суммы по источнику выплат"), this);
    totalsBox->setObjectName(QStringLiteral("gbTotals"));
    totalIncomeEdit_ = totalField(totalsBox, "edTotalIncome");
    taxWithheldEdit_ = field(totalsBox, "edTaxWithheld", FieldKind::Digits, 12);
    taxableAmountEdit_ = moneyField(totalsBox, "edTaxableAmount");
    taxCalculatedEdit_ = field(totalsBox, "edTaxCalculated", FieldKind::Digits, 12);
    auto* totals = new QVBoxLayout(totalsBox);
    totals->setSpacing(2);
    for (auto [caption, edit] :
         {std::pair<QString, QLineEdit*>{QStringLiteral("Общая сумма дохода"), totalIncomeEdit_},
          std::pair<QString, QLineEdit*>{QStringLiteral("Сумма налога удержанная"), taxWithheldEdit_},
          std::pair<QString, QLineEdit*>{QStringLiteral("Облагаемая сумма дохода"), taxableAmountEdit_},
          std::pair<QString, QLineEdit*>{QStringLiteral("Сумма налога исчисленная"), taxCalculatedEdit_}}) {
        totals->addWidget(new QLabel(caption, totalsBox));
        totals->addWidget(edit);
    }

    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(260);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(sourceBox_.box, 1);
    left->addWidget(totalsBox);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftColumn);
    layout->addWidget(incomeBox, 1);
}

void InvestPartnershipScreen::load() {
    const Declaration& d = document();
    QStringList titles;
    for (const InvestmentPartnership& p : d.investPartnerships)
        titles.append(fromCp1251(p.sourceName));
    sources_->fill(titles);
    showTotals(-1);
    setIncomeControls(d.investPartnerships.count() > 0);
}

InvestmentPartnership& InvestPartnershipScreen::source() {
    return document().investPartnerships.get(sources_->selected());
}

void InvestPartnershipScreen::setIncomeControls(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{addIncomeButton_, taxWithheldEdit_, taxableAmountEdit_,
                                                      taxCalculatedEdit_})
        w->setEnabled(on);
    incomeActions_->refresh();
}

void InvestPartnershipScreen::showTotals(int index) {
    ScreenBuildGuard guard(host());
    totalsEdited_ = false;
    if (index < 0) {
        for (QLineEdit* e : std::initializer_list<QLineEdit*>{totalIncomeEdit_, taxWithheldEdit_,
                                                              taxableAmountEdit_, taxCalculatedEdit_})
            e->clear();
        return;
    }
    const InvestmentPartnership& p = document().investPartnerships.get(index);
    totalIncomeEdit_->setText(groupedAmount(p.totalIncome));
    taxWithheldEdit_->setText(wholeRoublesText(p.taxWithheld));
    taxableAmountEdit_->setMoney(p.taxableAmount);
    taxCalculatedEdit_->setText(wholeRoublesText(p.taxCalculated));
}

void InvestPartnershipScreen::showTotalIncome() {
    totalIncomeEdit_->setText(groupedAmount(source().totalIncome));
}

void InvestPartnershipScreen::storeTotals(int index) {
    // Totals only looked at keep what the file holds (kopecks of a tax, four decimals).
    if (!totalsEdited_)
        return;
    totalsEdited_ = false;
    InvestmentPartnership& p = document().investPartnerships.get(index);
    p.taxWithheld = wholeRoublesOf(taxWithheldEdit_, p.taxWithheld);
    p.taxableAmount = amountOf(taxableAmountEdit_);
    p.taxCalculated = wholeRoublesOf(taxCalculatedEdit_, p.taxCalculated);
}

void InvestPartnershipScreen::showSource(int index) {
    ScreenBuildGuard guard(host());
    incomesList_->clear();
    if (index >= 0) {
        setIncomeControls(true);
        for (const PartnershipIncomeItem& item : document().investPartnerships.get(index).items)
            appendIncomeRow(item);
        selectRow(incomesList_, 0);
    }
    showTotals(index);
}

void InvestPartnershipScreen::appendIncomeRow(const PartnershipIncomeItem& item) {
    auto* row = new QTreeWidgetItem(incomeCells(item));
    for (int column = 1; column <= 4; ++column)
        row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    incomesList_->addTopLevelItem(row);
}

void InvestPartnershipScreen::showFailure(const std::exception& failure) {
    host().asker().ask(
        this, messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

// --- Partnerships --------------------------------------------------------------

void InvestPartnershipScreen::addSource() {
    PartnershipSourceDialog dialog(host().asker(), InvestmentPartnership{}, this);
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    try {
        document().investPartnerships.add(dialog.source());
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    sources_->append(fromCp1251(dialog.source().sourceName));
    sourceBox_.list->setFocus();
    sources_->select(sources_->count() - 1);
}

void InvestPartnershipScreen::editSource() {
    if (sources_->selected() < 0)
        return;
    sources_->storeSelected();
    PartnershipSourceDialog dialog(host().asker(), source(), this);
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    // Only the payer's details come from the dialog; incomes and totals stay.
    InvestmentPartnership& p = source();
    PayerFields::copyPayer(dialog.source(), p);
    markDocumentChanged();
    sources_->setTitle(sources_->selected(), fromCp1251(p.sourceName));
    sourceBox_.list->setFocus();
}

void InvestPartnershipScreen::deleteSource() {
    markDocumentChanged();
    sources_->removeSelected([this](int index) { document().investPartnerships.remove(index); });
    if (sources_->count() == 0)
        setIncomeControls(false);
}

// --- Incomes -------------------------------------------------------------------

void InvestPartnershipScreen::addIncome() {
    if (sources_->selected() < 0)
        return;
    PartnershipIncomeDialog dialog(host().asker(), PartnershipIncomeItem{}, this);
    if (dialog.exec() != QDialog::Accepted || dialog.item().operationKind == 0)
        return;
    try {
        source().addItem(dialog.item());
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    appendIncomeRow(dialog.item());
    selectRow(incomesList_, incomesList_->topLevelItemCount() - 1);
    showTotalIncome();
}

void InvestPartnershipScreen::editIncome() {
    const int row = currentRow(incomesList_);
    if (sources_->selected() < 0 || row < 0)
        return;
    PartnershipIncomeDialog dialog(host().asker(), source().item(row), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PartnershipIncomeItem item = dialog.item();
    source().replaceItem(row, item);
    markDocumentChanged();
    const QStringList cells = incomeCells(item);
    QTreeWidgetItem* shown = incomesList_->topLevelItem(row);
    for (int column = 0; column < cells.size(); ++column)
        shown->setText(column, cells.at(column));
    showTotalIncome();
}

void InvestPartnershipScreen::deleteIncome() {
    const int row = currentRow(incomesList_);
    if (sources_->selected() < 0 || row < 0)
        return;
    markDocumentChanged();
    source().deleteItem(row);
    delete incomesList_->takeTopLevelItem(row);
    selectRow(incomesList_, rowAfterRemoval(row, incomesList_->topLevelItemCount()));
    showTotalIncome();
}

// --- Screen operations -----------------------------------------------------------

void InvestPartnershipScreen::saveData() {
    sources_->storeSelected();
}

std::uint16_t InvestPartnershipScreen::checkData() {
    return 0;
}

void InvestPartnershipScreen::setFocusToElement(std::uint16_t code) {
    if (code == 0 || code > sources_->count())
        return;
    sourceBox_.list->setFocus();
    sources_->select(code - 1);
}

void InvestPartnershipScreen::selectFirstEntry() {
    setFocusToElement(1);
}

} // namespace kv
