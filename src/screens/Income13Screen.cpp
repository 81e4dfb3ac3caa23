#include "screens/Income13Screen.h"

#include "checks/ReturnCheck.h"
#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/AgentDeductionDialog.h"
#include "screens/CertificateImportDialog.h"
#include "screens/Income13Dialog.h"
#include "screens/IncomeSourceDialog.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/PayerFields.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/rules/SourceEntries.h"
#include "screens/rules/ThirteenRules.h"

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

QStringList incomeCells(const ThirteenIncomeItem& item) {
    return {codeCell(item.month), codeCell(item.incomeCode), amountCell(item.amount),
            codeCell(item.deductionCode), amountCell(item.deductionAmount)};
}

} // namespace

Income13Screen::Income13Screen(QWidget* panel, ScreenHost& host)
    : Income13Screen(panel, host, Income13Setup{}) {}

Income13Screen::Income13Screen(QWidget* panel, ScreenHost& host, Income13Setup setup)
    : ScreenFrame(panel, host), setup_(std::move(setup)), dict_(IncomeDict::builtIn()) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    sourceList_ = new MasterDetailList(sourceBox_.list, this);
    sourceList_->onStore = [this](int index) { storeWithheld(index); };
    sourceList_->onShow = [this](int index) { showSource(index); };
    load();

    auto* sources = new RecordListController(sourceBox_, host.asker(), this);
    sources->setDetails(sourceList_);
    sources->enterEdits = false;
    sources->onAdd = [this] { addSource(); };
    sources->onEdit = [this] { editSource(); };
    sources->holdsEntries = [this] { return holdsEntries(source()); };
    sources->onRemove = [this] { deleteSource(); };
    auto* incomes = new RecordListController(incomesList_, addIncomeButton_, deleteIncomeButton_,
                                             editIncomeButton_, host.asker(), this);
    incomes->onAdd = [this] { addIncome(); };
    incomes->onEdit = [this] { editIncome(); };
    incomes->onRemove = [this] { deleteIncome(); };
    connect(repeatIncomeButton_, &QPushButton::clicked, this, &Income13Screen::repeatIncome);
    auto* deductions = new RecordListController(deductsList_, addDeductButton_, deleteDeductButton_,
                                                editDeductButton_, host.asker(), this);
    deductions->enterEdits = false;
    deductions->onAdd = [this] { addDeduction(); };
    deductions->onEdit = [this] { editDeduction(); };
    deductions->onRemove = [this] { deleteDeduction(); };
    connect(taxWithheldEdit_, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    connect(fixedAdvanceEdit_, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    connect(importCertificateButton_, &QPushButton::clicked, this, &Income13Screen::importCertificate);
}

void Income13Screen::importCertificate() {
    saveData();
    if (!importIncomeCertificate(this, host()))
        return;
    ScreenBuildGuard guard(host());
    load();
    sourceList_->select(sourceList_->count() - 1);
}

void Income13Screen::buildWidgets() {
    sourceBox_ = recordListBox(this);
    importCertificateButton_ =
        button(this, "bnImportCertificate", QStringLiteral("Загрузить справку 2-НДФЛ..."),
               QStringLiteral("Доходы, вычеты и налог из файла справки налогового агента"));

    auto* incomeBox = new QGroupBox(QStringLiteral("Доходы по выбранному источнику выплат"), this);
    incomeBox->setObjectName(QStringLiteral("gbIncomes"));
    incomesList_ = makeList(
        incomeBox, "lvIncomes",
        QStringLiteral("Список доходов по выбранному источнику выплат (п. 3.1 справки о доходах)"),
        {QStringLiteral("Месяц дохода"), QStringLiteral("Код дохода"), QStringLiteral("Сумма дохода"),
         QStringLiteral("Код вычета"), QStringLiteral("Сумма вычета")});
    for (int column = 0; column < 4; ++column)
        incomesList_->setColumnWidth(column, column == 2 ? 100 : column == 0 ? 92 : 80);
    addIncomeButton_ = button(incomeBox, "bnAddIncome", QStringLiteral("Добавить доход"));
    deleteIncomeButton_ = button(incomeBox, "bnDeleteIncome", QStringLiteral("Удалить доход"));
    editIncomeButton_ = button(incomeBox, "bnEditIncome", QStringLiteral("Редактировать доход"));
    repeatIncomeButton_ = button(incomeBox, "bnRepeatIncome", QStringLiteral("Повторить доход"));
    auto* incomeButtons = new QGridLayout;
    incomeButtons->addWidget(addIncomeButton_, 0, 0);
    incomeButtons->addWidget(deleteIncomeButton_, 0, 1);
    incomeButtons->addWidget(editIncomeButton_, 1, 0);
    incomeButtons->addWidget(repeatIncomeButton_, 1, 1);
    incomeActions_ =
        new ListActions(incomesList_, deleteIncomeButton_, {editIncomeButton_, repeatIncomeButton_});
    incomeActions_->allowed = [this] { return sourceList_ != nullptr && sourceList_->selected() >= 0; };
    auto* incomeLayout = new QVBoxLayout(incomeBox);
    incomeLayout->addWidget(incomesList_, 1);
    incomeLayout->addLayout(incomeButtons);

    auto* totalsBox = new QGroupBox(QStringLiteral("Итоговые суммы по источнику выплат"), this);
    totalsBox->setObjectName(QStringLiteral("gbTotals"));
    totalIncomeEdit_ = named(new QLineEdit(totalsBox), "edTotalIncome");
    totalIncomeEdit_->setReadOnly(true);
    taxWithheldEdit_ = field(totalsBox, "edTaxWithheld", FieldKind::Digits, 12);
    auto* totalsLayout = new QVBoxLayout(totalsBox);
    totalsLayout->setSpacing(2);
    totalsLayout->addWidget(new QLabel(QStringLiteral("Общая сумма дохода"), totalsBox));
    totalsLayout->addWidget(totalIncomeEdit_);
    totalsLayout->addSpacing(4);
    totalsLayout->addWidget(new QLabel(QStringLiteral("Сумма налога удержанная"), totalsBox));
    totalsLayout->addWidget(taxWithheldEdit_);

    foreignerGroup_ = new QGroupBox(QStringLiteral("Авансовые платежи иностранца"), this);
    foreignerGroup_->setObjectName(QStringLiteral("gbForeigner"));
    foreignerGroup_->setToolTip(
        QStringLiteral("Указывается иностранцами, работающими у физ.лиц на основании патента"));
    fixedAdvanceEdit_ = field(foreignerGroup_, "edFixedAdvance", FieldKind::Digits, 12);
    auto* foreignerLayout = new QVBoxLayout(foreignerGroup_);
    foreignerLayout->setSpacing(2);
    foreignerLayout->addWidget(new QLabel(QStringLiteral("Сумма фиксированных платежей"), foreignerGroup_));
    foreignerLayout->addWidget(fixedAdvanceEdit_);

    // The caption is longer than the group is wide, so it is a label of two lines inside
    // the group (a wrapping label would make the window scroll for the height it might need).
    agentDeductionsGroup_ = new QGroupBox(this);
    agentDeductionsGroup_->setObjectName(QStringLiteral("gbAgentDeductions"));
    auto* agentCaption = new QLabel(
        QStringLiteral("Стандартные, социальные и имущественные вычеты, предоставленные\nналоговым агентом"),
        agentDeductionsGroup_);
    agentCaption->setObjectName(QStringLiteral("lblAgentDeductions"));
    deductsList_ =
        makeList(agentDeductionsGroup_, "lvDeducts",
                 QStringLiteral("Список вычетов по выбранному источнику выплат (раздел 3 справки о доходах)"),
                 {QStringLiteral("Код вычета"), QStringLiteral("Сумма вычета")});
    addDeductButton_ = button(agentDeductionsGroup_, "bnAddDeduct", QStringLiteral("Добавить вычет"));
    deleteDeductButton_ = button(agentDeductionsGroup_, "bnDeleteDeduct", QStringLiteral("Удалить вычет"));
    editDeductButton_ = button(agentDeductionsGroup_, "bnEditDeduct", QStringLiteral("Редактировать вычет"));
    auto* deductButtons = new QVBoxLayout;
    deductButtons->addWidget(addDeductButton_);
    deductButtons->addWidget(deleteDeductButton_);
    deductButtons->addWidget(editDeductButton_);
    deductButtons->addStretch(1);
    deductActions_ = new ListActions(deductsList_, deleteDeductButton_, {editDeductButton_});
    // An investment partnership grants no deductions of its own.
    deductActions_->allowed = [this] {
        return sourceList_ != nullptr && sourceList_->selected() >= 0 &&
               source().isInvestmentPartnership == 0;
    };
    auto* deductRow = new QHBoxLayout;
    deductRow->addWidget(deductsList_, 1);
    deductRow->addLayout(deductButtons);
    auto* deductLayout = new QVBoxLayout(agentDeductionsGroup_);
    deductLayout->addWidget(agentCaption);
    deductLayout->addLayout(deductRow, 1);

    // Left: the sources with the totals of the one selected; right: what it paid and granted.
    auto* leftColumn = new QWidget(this);
    leftColumn->setMaximumWidth(250);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(sourceBox_.box, 1);
    left->addWidget(importCertificateButton_);
    left->addWidget(totalsBox);
    left->addWidget(foreignerGroup_);
    auto* right = new QVBoxLayout;
    right->addWidget(incomeBox, 3);
    right->addWidget(agentDeductionsGroup_, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftColumn);
    layout->addLayout(right, 1);
}

void Income13Screen::load() {
    const Declaration& d = document();
    agentDeductionsGroup_->setVisible(shown(setup_.agentDeductions));
    foreignerGroup_->setVisible(shown(setup_.foreignerAdvance));
    fixedAdvanceEdit_->setText(wholeRoublesText(d.foreignerFixedAdvance));
    const IncomeList<ThirteenPercentSource>& list = d.*setup_.sources;
    QStringList titles;
    for (const ThirteenPercentSource& s : list)
        titles.append(fromCp1251(s.sourceName));
    sourceList_->fill(titles);
    setSourceButtons(list.count() > 0 ? &list.get(0) : nullptr);
    if (list.count() == 0)
        showTotals();
}

bool Income13Screen::residentReturn() const {
    return document().kind() == ReturnKind::Resident;
}

bool Income13Screen::shown(Income13Setup::Shown when) const {
    switch (when) {
    case Income13Setup::Shown::Always:
        return true;
    case Income13Setup::Shown::OnResidentReturn:
        return document().kind() != ReturnKind::NonResident;
    case Income13Setup::Shown::Never:
        break;
    }
    return false;
}

IncomeList<ThirteenPercentSource>& Income13Screen::sources() {
    return document().*setup_.sources;
}

ThirteenPercentSource& Income13Screen::source() {
    return sources().get(sourceList_->selected());
}

void Income13Screen::setSourceButtons(const ThirteenPercentSource* s) {
    const bool on = s != nullptr;
    addIncomeButton_->setEnabled(on);
    taxWithheldEdit_->setEnabled(on);
    // An investment partnership grants no deductions of its own.
    addDeductButton_->setEnabled(on && s->isInvestmentPartnership == 0);
    incomeActions_->refresh();
    deductActions_->refresh();
}

void Income13Screen::showTotals() {
    ScreenBuildGuard guard(host());
    if (sourceList_->selected() < 0) {
        totalIncomeEdit_->clear();
        taxWithheldEdit_->clear();
        return;
    }
    totalIncomeEdit_->setText(groupedAmount(source().totalIncome));
    taxWithheldEdit_->setText(wholeRoublesText(source().taxWithheld));
}

void Income13Screen::storeWithheld(int index) {
    ThirteenPercentSource& s = sources().get(index);
    s.taxWithheld = wholeRoublesOf(taxWithheldEdit_, s.taxWithheld);
}

void Income13Screen::showSource(int index) {
    ScreenBuildGuard guard(host());
    if (index < 0) {
        setSourceButtons(nullptr);
        incomesList_->clear();
        deductsList_->clear();
        showTotals();
        return;
    }
    setSourceButtons(&source());
    fillItems();
    fillDeductions();
    showTotals();
}

void Income13Screen::fillItems() {
    incomesList_->clear();
    for (const ThirteenIncomeItem& item : source().items)
        incomesList_->addTopLevelItem(incomeRow(item));
    selectRow(incomesList_, 0);
}

void Income13Screen::fillDeductions() {
    deductsList_->clear();
    for (const AgentDeductionItem& deduction : source().agentDeductions)
        appendDeductionRow(deduction);
    selectRow(deductsList_, 0);
}

QTreeWidgetItem* Income13Screen::incomeRow(const ThirteenIncomeItem& item) {
    auto* row = new QTreeWidgetItem(incomeCells(item));
    for (int column : {2, 4})
        row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

void Income13Screen::appendDeductionRow(const AgentDeductionItem& deduction) {
    auto* row =
        new QTreeWidgetItem(QStringList{codeCell(deduction.deductionCode), amountCell(deduction.amount)});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    deductsList_->addTopLevelItem(row);
}

void Income13Screen::showFailure(const std::exception& failure) {
    host().asker().ask(
        this, messageQuestion(QStringLiteral("listFailure"), failureText(failure), QuestionIcon::Critical));
}

// --- Sources -------------------------------------------------------------

void Income13Screen::addSource() {
    IncomeSourceDialog dialog(host().asker(), ThirteenPercentSource{},
                              document().kind() == ReturnKind::NonResident, true, this);
    if (!setup_.sourceMarks)
        dialog.hideMarks();
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    try {
        sources().add(dialog.source());
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    sourceList_->append(fromCp1251(dialog.source().sourceName));
    sourceBox_.list->setFocus();
    sourceList_->select(sourceList_->count() - 1);
}

void Income13Screen::editSource() {
    if (sourceList_->selected() < 0)
        return;
    sourceList_->storeSelected();
    const ThirteenPercentSource& current = source();
    const bool partnershipEditable = current.itemCount() == 0 && current.agentDeductionCount() == 0;
    IncomeSourceDialog dialog(host().asker(), current, document().kind() == ReturnKind::NonResident,
                              partnershipEditable, this);
    if (!setup_.sourceMarks)
        dialog.hideMarks();
    if (dialog.exec() != QDialog::Accepted || trimText(dialog.source().sourceName).empty())
        return;
    // Only the payer's details come from the dialog; incomes and the withheld tax stay.
    ThirteenPercentSource& s = source();
    const ThirteenPercentSource& edited = dialog.source();
    PayerFields::copyPayer(edited, s);
    if (setup_.sourceMarks) {
        s.isPrimaryWorkplace = edited.isPrimaryWorkplace;
        s.isInvestmentPartnership = edited.isInvestmentPartnership;
    }
    markDocumentChanged();
    sourceList_->setTitle(sourceList_->selected(), fromCp1251(s.sourceName));
    setSourceButtons(&s);
    sourceBox_.list->setFocus();
}

void Income13Screen::deleteSource() {
    markDocumentChanged();
    sourceList_->removeSelected([this](int index) { sources().remove(index); });
}

// --- Incomes -------------------------------------------------------------

void Income13Screen::addIncome() {
    if (sourceList_->selected() < 0)
        return;
    if (const std::optional<ThirteenIncomeItem> item = runIncomeDialog(std::nullopt))
        insertIncome(source().itemCount(), *item);
}

void Income13Screen::editIncome() {
    const int row = currentRow(incomesList_);
    if (sourceList_->selected() < 0 || row < 0)
        return;
    const std::optional<ThirteenIncomeItem> edited = runIncomeDialog(source().item(row));
    if (!edited.has_value())
        return;
    const ThirteenIncomeItem& item = *edited;
    source().replaceItem(row, item);
    markDocumentChanged();
    const QStringList cells = incomeCells(item);
    QTreeWidgetItem* shown = incomesList_->topLevelItem(row);
    for (int column = 0; column < cells.size(); ++column)
        shown->setText(column, cells.at(column));
    totalIncomeEdit_->setText(groupedAmount(source().totalIncome));
}

void Income13Screen::repeatIncome() {
    const int row = currentRow(incomesList_);
    if (sourceList_->selected() < 0 || row < 0)
        return;
    // The copy is a new income of the return like any other, so the return must be saved.
    const ThirteenIncomeItem copy = repeatedIncome(source().item(row));
    insertIncome(repeatedIncomePosition(source().items, row, copy.month), copy);
}

std::optional<ThirteenIncomeItem>
Income13Screen::runIncomeDialog(const std::optional<ThirteenIncomeItem>& existing) {
    if (setup_.incomeDialog)
        return setup_.incomeDialog(this, host(), source(), existing);
    Income13Dialog dialog(host().asker(), dict_, residentReturn(), source().isInvestmentPartnership != 0,
                          existing, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.incomeChosen())
        return std::nullopt;
    return dialog.item();
}

void Income13Screen::insertIncome(int position, const ThirteenIncomeItem& item) {
    try {
        source().insertItem(position, item);
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    incomesList_->insertTopLevelItem(position, incomeRow(item));
    selectRow(incomesList_, position);
    totalIncomeEdit_->setText(groupedAmount(source().totalIncome));
}

void Income13Screen::deleteIncome() {
    const int row = currentRow(incomesList_);
    if (sourceList_->selected() < 0 || row < 0)
        return;
    markDocumentChanged();
    source().deleteItem(row);
    delete incomesList_->takeTopLevelItem(row);
    selectRow(incomesList_, rowAfterRemoval(row, incomesList_->topLevelItemCount()));
    totalIncomeEdit_->setText(groupedAmount(source().totalIncome));
}

// --- Agent deductions ----------------------------------------------------

void Income13Screen::addDeduction() {
    if (sourceList_->selected() < 0)
        return;
    AgentDeductionDialog dialog(host().asker(), dict_, std::nullopt, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.codeChosen())
        return;
    const AgentDeductionItem deduction = dialog.deduction();
    try {
        source().addAgentDeduction(deduction);
    } catch (const std::exception& failure) {
        showFailure(failure);
        return;
    }
    markDocumentChanged();
    appendDeductionRow(deduction);
    selectRow(deductsList_, deductsList_->topLevelItemCount() - 1);
}

void Income13Screen::editDeduction() {
    const int row = currentRow(deductsList_);
    if (sourceList_->selected() < 0 || row < 0 || !editDeductButton_->isEnabled())
        return;
    AgentDeductionDialog dialog(host().asker(), dict_, source().agentDeduction(row), this);
    if (dialog.exec() != QDialog::Accepted || !dialog.codeChosen())
        return;
    const AgentDeductionItem deduction = dialog.deduction();
    source().replaceAgentDeduction(row, deduction);
    markDocumentChanged();
    QTreeWidgetItem* shown = deductsList_->topLevelItem(row);
    shown->setText(0, codeCell(deduction.deductionCode));
    shown->setText(1, amountCell(deduction.amount));
}

void Income13Screen::deleteDeduction() {
    const int row = currentRow(deductsList_);
    if (sourceList_->selected() < 0 || row < 0)
        return;
    markDocumentChanged();
    source().deleteAgentDeduction(row);
    delete deductsList_->takeTopLevelItem(row);
    selectRow(deductsList_, rowAfterRemoval(row, deductsList_->topLevelItemCount()));
}

// --- Screen operations -----------------------------------------------------

void Income13Screen::saveData() {
    sourceList_->storeSelected();
    Declaration& d = document();
    d.foreignerFixedAdvance = wholeRoublesOf(fixedAdvanceEdit_, d.foreignerFixedAdvance);
}

std::uint16_t Income13Screen::checkData() {
    if (!setup_.checked)
        return 0;
    AskerCheckDialog dialog(host().asker(), this);
    return checkThirteenPercent(document(), dialog);
}

void Income13Screen::setFocusToElement(std::uint16_t code) {
    if (code == FieldCode::kFixedAdvance) {
        if (!foreignerGroup_->isHidden())
            fixedAdvanceEdit_->setFocus();
        return;
    }
    if (code == 0 || code > sourceList_->count())
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(code - 1);
}

void Income13Screen::selectFirstEntry() {
    if (sourceList_->count() == 0)
        return;
    sourceBox_.list->setFocus();
    sourceList_->select(0);
}

} // namespace kv
