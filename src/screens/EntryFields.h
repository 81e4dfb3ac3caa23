#pragma once
// Small conversions the entry screens share: calendar dates between the document
// and the date fields, and amounts between the document and the text fields.
#include "core/Date.h"
#include "core/Money.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

class QDateEdit;
class QDialog;
class QHBoxLayout;
class QWidget;

namespace kv {

class FieldEdit;

QDate toQDate(DateValue date);
DateValue toDateValue(const QDate& date);

// A date field in "dd.MM.yyyy" with a calendar, limited to [earliest, latest].
QDateEdit* makeDateEdit(QWidget* parent, const char* objectName, const QDate& earliest, const QDate& latest);

// Shows a date of the document in a date field. The field cannot show a date outside
// its range, nor a time of day, so it remembers the document's value: while the
// person leaves the date as shown, storedDateOf gives that value back unchanged.
void showStoredDate(QDateEdit* edit, DateValue stored);
DateValue storedDateOf(const QDateEdit* edit);

// An amount as the screens show it: no grouping, "," as separator.
QString amountText(Money amount);
// A money field's amount; an empty field (or one holding no amount) gives 0.
Money amountOf(const FieldEdit* field);
// Whole roubles in a digits field; an empty field gives 0.
std::int64_t digitsOf(const FieldEdit* field);

// An amount entered in whole roubles: empty for 0.
QString wholeRoublesText(Money amount);
// The amount a whole-roubles field holds. While it still shows the stored amount,
// the stored amount itself, so kopecks read from a file are not dropped unasked.
Money wholeRoublesOf(const FieldEdit* field, Money stored);

// The "Да" and "Нет" row of an entry dialog: "Да" is the default button and runs the
// dialog's own accept (its checks), "Нет" rejects; right-aligned.
QHBoxLayout* yesNoButtons(QDialog* dialog);

} // namespace kv
