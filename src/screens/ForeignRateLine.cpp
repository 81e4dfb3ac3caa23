#include "screens/ForeignRateLine.h"

#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <limits>

namespace kv {

namespace {

// Every Bank of Russia rate has four decimals ("61,9057"), so the rate fields take
// four, not two: a rate of the directory must fit whole, as a person could type it.
constexpr int kRateWholeDigits = 5;
constexpr int kRateDecimals = 4;
constexpr int kUnitsDigits = 7;

int charactersWide(const QLineEdit* field, int characters) {
    return field->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 14;
}

// Zero rates and units show as empty fields, as a person leaves them.
QString rateText(Money rate) {
    return rate.isZero() ? QString() : fieldAmountText(rate);
}

QString unitsText(std::int32_t units) {
    return units == 0 ? QString() : QString::number(units);
}

} // namespace

ForeignRateLine::ForeignRateLine(ScreenHost& host, DateEdit* date, QWidget* parent, const Names& names)
    : QObject(parent), host_(host), date_(date) {
    rate_ = field(parent, names.rate, FieldKind::Money, kRateWholeDigits, kRateDecimals);
    units_ = field(parent, names.units, FieldKind::Digits, kUnitsDigits);
    day_ = named(new QLabel(parent), names.day);
    rate_->setFixedWidth(charactersWide(rate_, 11));
    units_->setFixedWidth(charactersWide(units_, 7));
    day_->setToolTip(QStringLiteral("На дату дохода курс не установлен: взят последний курс до этой даты"));
    for (FieldEdit* f : {rate_, units_}) {
        connect(f, &FieldEdit::changed, this, [this] {
            if (host_.buildingGuard())
                return;
            day_->clear();
            emit typed();
        });
    }
}

QHBoxLayout* ForeignRateLine::makeRow(QWidget* parent) const {
    auto* row = new QHBoxLayout;
    row->addWidget(rate_);
    row->addWidget(new QLabel(QStringLiteral("руб. за"), parent));
    row->addWidget(units_);
    row->addWidget(new QLabel(QStringLiteral("у.е."), parent));
    row->addWidget(day_);
    row->addStretch(1);
    return row;
}

Money ForeignRateLine::rate() const {
    return amountOf(rate_);
}

std::int32_t ForeignRateLine::units() const {
    bool ok = false;
    const qlonglong value = units_->text().trimmed().toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<std::int32_t>(
        std::clamp<qlonglong>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

void ForeignRateLine::clear() {
    ScreenBuildGuard guard(host_);
    rate_->clear();
    units_->clear();
    day_->clear();
    setLocked(false);
}

void ForeignRateLine::show(Money rate, std::int32_t units, const std::optional<FoundRate>& automatic) {
    ScreenBuildGuard guard(host_);
    rate_->setStoredText(rateText(rate));
    units_->setStoredText(unitsText(units));
    setLocked(automatic.has_value());
    if (automatic)
        day_->setText(fromCp1251(rateDateNote(automatic)));
}

void ForeignRateLine::fill(const FoundRate& found) {
    {
        ScreenBuildGuard guard(host_);
        rate_->setText(fromCp1251(found.rateText));
        units_->setText(fromCp1251(found.unitsText));
    }
    setLocked(true);
    day_->setText(fromCp1251(rateDateNote(found)));
}

void ForeignRateLine::release() {
    {
        ScreenBuildGuard guard(host_);
        rate_->clear();
        units_->clear();
    }
    setLocked(false);
    day_->clear();
}

std::optional<FoundRate> ForeignRateLine::lookUp(const CurrencyRates* rates,
                                                 const Cp1251Text& currencyCode) const {
    return findRate(rates, currencyCode, toDateValue(date_->date()));
}

void ForeignRateLine::setLocked(bool locked) {
    automatic_ = locked;
    rate_->setEnabled(!locked);
    units_->setEnabled(!locked);
}

} // namespace kv
