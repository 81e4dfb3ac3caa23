#include "screens/kit/ScreenWidgets.h"

#include "core/DigitGroups.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/ListActions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

FieldEdit* field(QWidget* parent, const char* name, FieldKind kind, int length, int fraction) {
    return named(new FieldEdit(FieldFormat{kind, length, fraction}, parent), name);
}

FieldEdit* moneyField(QWidget* parent, const char* name) {
    FieldEdit* edit = field(parent, name, FieldKind::Money, 12, 2);
    edit->setMaximumWidth(160);
    return edit;
}

QLineEdit* codeField(QWidget* parent, const char* name) {
    auto* edit = named(new QLineEdit(parent), name);
    edit->setReadOnly(true);
    edit->setMaximumWidth(60);
    return edit;
}

QLineEdit* totalField(QWidget* parent, const char* name) {
    auto* edit = named(new QLineEdit(parent), name);
    edit->setReadOnly(true);
    edit->setMaximumWidth(150);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QToolButton* pickButton(QWidget* parent, const char* name, const QString& hint) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("..."));
    b->setToolTip(hint);
    return b;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* b = named(new QPushButton(caption, parent), name);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QLabel* codeNameLabel(QWidget* parent, const char* name) {
    auto* label = named(new QLabel(parent), name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(label->fontMetrics().lineSpacing() * 3 + 2);
    label->setMinimumWidth(480);
    return label;
}

QHBoxLayout* inlineRow(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch(1);
    return row;
}

const QStringList& monthNames() {
    static const QStringList names = {
        QStringLiteral("Январь"),  QStringLiteral("Февраль"), QStringLiteral("Март"),
        QStringLiteral("Апрель"),  QStringLiteral("Май"),     QStringLiteral("Июнь"),
        QStringLiteral("Июль"),    QStringLiteral("Август"),  QStringLiteral("Сентябрь"),
        QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"),  QStringLiteral("Декабрь"),
    };
    return names;
}

MonthFields monthFields(QWidget* parent, const char* prefix, const FieldFormat& format, const QString& hint) {
    MonthFields fields{};
    for (std::size_t m = 0; m < fields.size(); ++m) {
        auto* edit = new FieldEdit(format, parent);
        edit->setObjectName(QString::fromLatin1(prefix) +
                            QStringLiteral("%1").arg(m + 1, 2, 10, QLatin1Char('0')));
        if (!hint.isEmpty())
            edit->setToolTip(hint);
        fields[m] = edit;
    }
    return fields;
}

MonthBoxes monthBoxes(QWidget* parent, const char* prefix) {
    MonthBoxes boxes{};
    for (std::size_t m = 0; m < boxes.size(); ++m) {
        boxes[m] = new QCheckBox(monthNames().at(static_cast<qsizetype>(m)), parent);
        boxes[m]->setObjectName(QString::fromLatin1(prefix) +
                                QStringLiteral("%1").arg(m + 1, 2, 10, QLatin1Char('0')));
    }
    return boxes;
}

FormGrid::FormGrid(QWidget* parent) : grid_(new QGridLayout(parent)) {}

FormGrid::FormGrid(QGridLayout* grid) : grid_(grid), row_(grid->rowCount()) {
    // An empty QGridLayout reports one row.
    if (grid_->count() == 0)
        row_ = 0;
}

QLabel* FormGrid::addRow(const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, grid_->parentWidget());
    grid_->addWidget(label, row_, 0);
    grid_->addWidget(field, row_, 1);
    ++row_;
    return label;
}

QLabel* FormGrid::addRow(const QString& caption, QLayout* fields) {
    auto* label = new QLabel(caption, grid_->parentWidget());
    grid_->addWidget(label, row_, 0);
    grid_->addLayout(fields, row_, 1);
    ++row_;
    return label;
}

void FormGrid::addRow(QWidget* caption, QWidget* field) {
    grid_->addWidget(caption, row_, 0);
    grid_->addWidget(field, row_, 1);
    ++row_;
}

QLabel* FormGrid::addMonths(const QString& caption, const MonthBoxes& boxes) {
    auto* label = new QLabel(caption, grid_->parentWidget());
    grid_->addWidget(label, row_, 0);
    for (std::size_t m = 0; m < boxes.size(); ++m)
        grid_->addWidget(boxes[m], row_, static_cast<int>(m) + 1);
    ++row_;
    return label;
}

void FormGrid::addWide(QWidget* widget) {
    grid_->addWidget(widget, row_++, 0, 1, -1);
}

void FormGrid::addWide(QLayout* layout) {
    grid_->addLayout(layout, row_++, 0, 1, -1);
}

void FormGrid::addMonthCaptions() {
    for (int m = 0; m < 12; ++m) {
        auto* caption = new QLabel(monthNames().at(m), grid_->parentWidget());
        caption->setAlignment(Qt::AlignCenter);
        grid_->addWidget(caption, row_, m + 1);
    }
    ++row_;
}

QLabel* FormGrid::addMonths(const QString& caption, const MonthFields& fields) {
    auto* label = new QLabel(caption, grid_->parentWidget());
    grid_->addWidget(label, row_, 0);
    for (std::size_t m = 0; m < fields.size(); ++m)
        grid_->addWidget(fields[m], row_, static_cast<int>(m) + 1);
    ++row_;
    return label;
}

QTreeWidget* makeList(QWidget* parent, const char* name, const QString& hint, const QStringList& columns) {
    auto* list = named(new QTreeWidget(parent), name);
    list->setToolTip(hint);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(true);
    return list;
}

int currentRow(const QTreeWidget* list) {
    QTreeWidgetItem* item = list->currentItem();
    return item != nullptr ? list->indexOfTopLevelItem(item) : -1;
}

void selectRow(QTreeWidget* list, int row) {
    if (row < 0 || row >= list->topLevelItemCount())
        return;
    list->setCurrentItem(list->topLevelItem(row));
}

int rowAfterRemoval(int removed, int remaining) {
    if (remaining == 0)
        return -1;
    return removed > 0 ? removed - 1 : 0;
}

RecordListBox recordListBox(QWidget* parent, const RecordListOptions& options) {
    RecordListBox r{};
    r.box = named(new QGroupBox(options.title, parent), options.box);
    r.list = makeList(r.box, options.list, options.listHint, {options.column});
    r.add = button(r.box, options.add, QStringLiteral("Добавить"), options.addHint);
    r.remove = button(r.box, options.remove, QStringLiteral("Удалить"), options.removeHint);
    r.edit = button(r.box, options.edit, QStringLiteral("Редактировать"), options.editHint);
    for (const RecordListOptions::Extra& extra : options.extras)
        r.extras.push_back(button(r.box, extra.name, extra.caption, extra.hint));

    auto* layout = new QVBoxLayout(r.box);
    layout->addWidget(r.list, 1);
    std::vector<QPushButton*> all{r.add, r.remove, r.edit};
    all.insert(all.end(), r.extras.begin(), r.extras.end());
    if (options.buttons == RecordListOptions::Buttons::Grid) {
        auto* grid = new QGridLayout;
        grid->addWidget(r.add, 0, 0);
        grid->addWidget(r.remove, 0, 1);
        grid->addWidget(r.edit, 1, 0, 1, 2);
        for (std::size_t i = 0; i < r.extras.size(); ++i)
            grid->addWidget(r.extras[i], 2 + static_cast<int>(i), 0, 1, 2);
        layout->addLayout(grid);
    } else if (options.buttons == RecordListOptions::Buttons::Row) {
        QHBoxLayout* row = inlineRow({r.add, r.remove, r.edit});
        for (QPushButton* extra : r.extras)
            row->insertWidget(row->count() - 1, extra); // before the closing stretch
        layout->addLayout(row);
    } else {
        auto* column = new QVBoxLayout;
        for (QPushButton* b : all)
            column->addWidget(b);
        layout->addLayout(column);
    }

    r.actions = new ListActions(r.list, r.remove, {r.edit});
    for (QPushButton* extra : r.extras)
        r.actions->addButton(extra);
    return r;
}

QString codeCell(std::int32_t value) {
    return value == 0 ? QStringLiteral("Нет") : QString::number(value);
}

QString amountCell(Money amount) {
    return amount.isZero() ? QStringLiteral("-") : groupedAmount(amount);
}

QString groupedAmount(Money amount) {
    const std::uint64_t magnitude = magnitudeOf(amount);
    // A group never breaks over two lines: no-break spaces between them.
    QString text = (amount.raw < 0 ? QStringLiteral("-") : QString()) +
                   QString::fromStdString(groupedDigits(magnitude / 10000, "\u00A0"));
    QString fraction = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return text + QLatin1Char(',') + fraction;
}

Money groupedAmountValue(QString text) {
    text.remove(QChar(0x00A0));
    return parseMoney(text.toStdString(), ',').value_or(Money{});
}

} // namespace kv
