#include "screens/EntryFields.h"

#include "screens/FieldEdit.h"

#include <QDateEdit>
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

QDateEdit* makeDateEdit(QWidget* parent, const char* objectName, const QDate& earliest, const QDate& latest) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setDateRange(earliest, latest);
    return edit;
}

QString amountText(Money amount) {
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
    return amount.isZero() ? QString() : QString::number(amount.wholeRoubles());
}

Money wholeRoublesOf(const FieldEdit* field, Money stored) {
    if (field->text() == wholeRoublesText(stored))
        return stored;
    return Money::fromRoubles(digitsOf(field));
}

} // namespace kv
