#include "screens/kit/EntryFields.h"

#include "screens/kit/DateEdit.h"
#include "screens/kit/FieldEdit.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <charconv>
#include <cmath>

namespace kv {

namespace {

const QDate kDayZero(1899, 12, 30);

} // namespace

QDate toQDate(DateValue date) {
    return kDayZero.addDays(static_cast<qint64>(std::floor(date.days)));
}

DateValue toDateValue(const QDate& date) {
    return DateValue::fromDays(static_cast<double>(kDayZero.daysTo(date)));
}

DateEdit* makeDateEdit(QWidget* parent, const char* objectName, const QDate& earliest, const QDate& latest) {
    auto* edit = new DateEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setDateRange(earliest, latest);
    return edit;
}

void showStoredDate(DateEdit* field, DateValue stored) {
    field->setDate(stored.days == 0 ? QDate() : toQDate(stored));
}

DateValue storedDate(const DateEdit* field, DateValue stored) {
    const QDate shown = field->date();
    if (!field->showsDate() || (stored.days != 0 && shown == toQDate(stored)))
        return stored;
    return toDateValue(shown);
}

bool dateUnreadable(const DateEdit* field, DateValue stored) {
    return !field->showsDate() && !(field->isBlank() && stored.days == 0);
}

QString fieldAmountText(Money amount) {
    return QString::fromStdString(moneyText(amount, ','));
}

Money amountOf(const FieldEdit* field) {
    return field->money().value_or(Money{});
}

std::int64_t digitsOf(const FieldEdit* field) {
    const std::string text = field->text().toStdString();
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

QString wholeRoublesText(Money amount) {
    if (amount.isZero())
        return QString();
    // Kopecks that a document written elsewhere holds are shown, not hidden behind
    // the whole roubles: the field shows what the return file will say, and deleting
    // them is how the person makes the amount whole.
    if (amount.raw % Money::kScale != 0)
        return fieldAmountText(amount);
    return QString::number(amount.wholeRoubles());
}

Money wholeRoublesOf(const FieldEdit* field, Money stored) {
    if (field->text() == wholeRoublesText(stored))
        return stored;
    return Money::fromRoubles(digitsOf(field));
}

QHBoxLayout* yesNoButtons(QDialog* dialog) {
    auto* ok = new QPushButton(QStringLiteral("Да"), dialog);
    ok->setObjectName(QStringLiteral("bnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Нет"), dialog);
    cancel->setObjectName(QStringLiteral("bnCancel"));
    cancel->setAutoDefault(false);
    // accept is virtual: a dialog that checks its fields gets its own accept here.
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

} // namespace kv
