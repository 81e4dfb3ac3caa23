#pragma once
// Small conversions the entry screens share: calendar dates between the document
// and the date fields, and amounts between the document and the text fields.
#include "core/Date.h"
#include "core/Money.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

class QDialog;
class QHBoxLayout;
class QWidget;

namespace kv {

class DateEdit;
class FieldEdit;

QDate toQDate(DateValue date);
DateValue toDateValue(const QDate& date);

// A date field in "dd.mm.yyyy" with a calendar; dates outside [earliest, latest]
// are reported beside it, never changed.
DateEdit* makeDateEdit(QWidget* parent, const char* objectName, const QDate& earliest, const QDate& latest);
// A stored date in a date field; 0, the document's "no date", shows an empty field.
void showStoredDate(DateEdit* field, DateValue stored);
// The date a field holds for the document: the stored value itself while the field
// still shows it, or shows no real date (31.02 the person has yet to correct), so
// nothing changes unless the person edits.
DateValue storedDate(const DateEdit* field, DateValue stored);
// The field shows what the document cannot take from it: a date typed in part, an
// impossible one, or none where a date is stored. The stored date would stand in
// for it unseen, so the person may only correct such a fault, never skip it.
bool dateUnreadable(const DateEdit* field, DateValue stored);

// An amount as a field shows it: no grouping, "," as separator, the shortest form
// ("1234,5"). Not the export's amountText (two decimals, "." as separator).
QString fieldAmountText(Money amount);
// A money field's amount; an empty field (or one holding no amount) gives 0.
Money amountOf(const FieldEdit* field);
// Whole roubles in a digits field; an empty field gives 0.
std::int64_t digitsOf(const FieldEdit* field);

// An amount entered in whole roubles: empty for 0; kopecks a document holds are shown too.
QString wholeRoublesText(Money amount);
// The amount a whole-roubles field holds. While it still shows the stored amount,
// the stored amount itself, so kopecks read from a file are not dropped unasked.
Money wholeRoublesOf(const FieldEdit* field, Money stored);

// The "Да" and "Нет" row of an entry dialog: "Да" is the default button and runs the
// dialog's own accept (its checks), "Нет" rejects; right-aligned.
QHBoxLayout* yesNoButtons(QDialog* dialog);

} // namespace kv
