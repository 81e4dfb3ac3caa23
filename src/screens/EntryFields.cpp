#include "screens/EntryFields.h"

#include "screens/FieldEdit.h"

#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <charconv>
#include <cmath>

namespace kv {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr const char* kStoredDays = "kvStoredDays";
constexpr const char* kShownDate = "kvShownDate";

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

void showStoredDate(QDateEdit* edit, DateValue stored) {
    edit->setDate(toQDate(stored));
    edit->setProperty(kStoredDays, stored.days);
    edit->setProperty(kShownDate, edit->date());
}

DateValue storedDateOf(const QDateEdit* edit) {
    const QVariant shown = edit->property(kShownDate);
    if (shown.isValid() && shown.toDate() == edit->date())
        return DateValue::fromDays(edit->property(kStoredDays).toDouble());
    return toDateValue(edit->date());
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
