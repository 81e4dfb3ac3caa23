#pragma once
// The widgets every screen and entry dialog builds its panels from, in one place.
//
// How to use:
//   auto* edInn = field(box, "edInn", FieldKind::Digits, 12);   // a named FieldEdit
//   auto* edSum = moneyField(box, "edSum");                          // money, 12 + 2 digits
//   auto* bnCode = pickButton(box, "bnCode");                        // "..." opening a picker
//   FormGrid form(box);                      // a two-column grid of caption and field
//   form.addRow(QStringLiteral("ИНН"), edInn);
//   form.addRow(QStringLiteral("Код дохода"), inlineRow({edCode, bnCode}));
//   MonthFields months = monthFields(box, "edChildren", FieldFormat{FieldKind::Digits, 2, 0});
//   form.addMonthCaptions(); form.addMonths(QStringLiteral("Детей"), months);
//   form.addMonths(QString(), monthBoxes(box, "chbMonth"));     // a row of month check boxes
// Lists of records are QTreeWidgets made by makeList; a row's cells read "Нет" for a
// missing code and "-" for a zero amount (codeCell, amountCell). Object names are part of a screen's
// interface: tests and the help find widgets by them, so every helper takes one.
#include "core/Money.h"
#include "screens/kit/FieldEdit.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

class QCheckBox;
class QGroupBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QObject;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace kv {

class ListActions;

// Gives a widget its object name and returns it, so a widget is made and named in one line.
template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A text field of the given kind and length (money: whole digits, then fraction digits).
FieldEdit* field(QWidget* parent, const char* name, FieldKind kind, int length, int fraction = 0);
// A money field of 12 whole digits and 2 decimals, as wide as such an amount.
FieldEdit* moneyField(QWidget* parent, const char* name);
// A read-only field showing a code chosen in a picker.
QLineEdit* codeField(QWidget* parent, const char* name);
// A read-only field showing a total the screen computes.
QLineEdit* totalField(QWidget* parent, const char* name);
// The "..." button that opens a picker; the hint defaults to the dictionary's.
QToolButton* pickButton(QWidget* parent, const char* name,
                        const QString& hint = QStringLiteral("Выбрать код из справочника"));
QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint = {});
// The dictionary's name of a chosen code, up to three lines under it; the dialog keeps
// its height whatever name is chosen.
QLabel* codeNameLabel(QWidget* parent, const char* name);

// Widgets side by side, left-aligned, with the rest of the row left empty.
QHBoxLayout* inlineRow(std::initializer_list<QWidget*> widgets);

// Twelve fields, January first, named prefix01 .. prefix12.
using MonthFields = std::array<FieldEdit*, 12>;
MonthFields monthFields(QWidget* parent, const char* prefix, const FieldFormat& format,
                        const QString& hint = {});
// Twelve check boxes captioned "Январь" .. "Декабрь", named prefix01 .. prefix12.
using MonthBoxes = std::array<QCheckBox*, 12>;
MonthBoxes monthBoxes(QWidget* parent, const char* prefix);
// "Январь" .. "Декабрь".
const QStringList& monthNames();

// A grid of "caption | field" rows, and rows of twelve month fields under month captions.
class FormGrid {
public:
    // Lays out parent (which must not have a layout yet).
    explicit FormGrid(QWidget* parent);
    // Continues an existing grid from its next free row.
    explicit FormGrid(QGridLayout* grid);

    // A caption and its field; returns the caption so it can be enabled with the field.
    QLabel* addRow(const QString& caption, QWidget* field);
    QLabel* addRow(const QString& caption, QLayout* fields);
    // A caption made by the caller (with a hint or an object name of its own).
    void addRow(QWidget* caption, QWidget* field);
    // Something that takes the whole width of the grid.
    void addWide(QWidget* widget);
    void addWide(QLayout* layout);
    // The month captions over the month columns (columns 1 to 12).
    void addMonthCaptions();
    // A caption in column 0 and the twelve fields under their months.
    QLabel* addMonths(const QString& caption, const MonthFields& fields);
    QLabel* addMonths(const QString& caption, const MonthBoxes& boxes);

    QGridLayout* layout() const { return grid_; }
    int nextRow() const { return row_; }

private:
    QGridLayout* grid_;
    int row_ = 0;
};

// --- Lists of records ------------------------------------------------------

// A single-selection list without tree decoration, all columns selected together.
QTreeWidget* makeList(QWidget* parent, const char* name, const QString& hint, const QStringList& columns);
// The row of the current item, -1 for none.
int currentRow(const QTreeWidget* list);
// Makes a row current; a row out of range is ignored.
void selectRow(QTreeWidget* list, int row);
// After a row is removed: the previous one, or the first; -1 when none remains.
int rowAfterRemoval(int removed, int remaining);

// A group box holding a list of records with its "Добавить", "Удалить" and
// "Редактировать" buttons (and any more acting on the selected row) under it. The
// defaults are those of a screen's list of payers.
struct RecordListOptions {
    enum class Buttons { Grid, Row, Column }; // Grid: two in a row, "Редактировать" under both

    const char* box = "gbSources";
    QString title = QStringLiteral("Источники выплат");
    const char* list = "lvSources";
    QString listHint = QStringLiteral("Список источников выплат");
    QString column = QStringLiteral("Источники выплат");
    const char* add = "bnAddSource";
    const char* remove = "bnDeleteSource";
    const char* edit = "bnEditSource";
    QString addHint = QStringLiteral("Добавить источник выплат");
    QString removeHint = QStringLiteral("Удалить источник выплат");
    QString editHint = QStringLiteral("Редактировать источник выплат");
    Buttons buttons = Buttons::Grid;

    // A further button acting on the selected row, after the three.
    struct Extra {
        const char* name;
        QString caption;
        QString hint;
    };
    std::vector<Extra> extras;
};

struct RecordListBox {
    QGroupBox* box;
    QTreeWidget* list;
    QPushButton* add;
    QPushButton* remove;
    QPushButton* edit;
    std::vector<QPushButton*> extras;
    // Keeps "Удалить", "Редактировать" and the extras enabled only with a row selected,
    // and lets Delete press "Удалить". What the buttons do: RecordListController.
    ListActions* actions;
};

RecordListBox recordListBox(QWidget* parent, const RecordListOptions& options = {});

// Cells of list rows, the same whether a row was just entered or read from a file:
// a missing code or month reads "Нет", a zero amount "-", and an amount has digit
// groups and two decimals ("156 000,00"; more only where the amount holds them).
QString codeCell(std::int32_t value);
QString amountCell(Money amount);
// An amount as list cells and read-only totals show it, zero included ("0,00").
QString groupedAmount(Money amount);
// The amount a groupedAmount text shows; 0 for an empty or unreadable text.
Money groupedAmountValue(QString text);

} // namespace kv
