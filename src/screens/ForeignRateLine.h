#pragma once
// One line of a currency's official rate on the foreign-income screen, the same for the
// day of the income and the day of the foreign tax: the date it goes by, the rate in
// roubles for so many units, and a note of the day the rate was published for when the
// directory had none for the date itself. The directory fills a line and locks it; a
// line released is emptied and left to the person to type.
#include "core/Money.h"
#include "core/Text.h"
#include "screens/rules/ForeignRules.h"

#include <QObject>
#include <cstdint>
#include <optional>

class QHBoxLayout;
class QLabel;
class QWidget;

namespace kv {

class DateEdit;
class FieldEdit;
class ScreenHost;

class ForeignRateLine : public QObject {
    Q_OBJECT
public:
    struct Names {
        const char* rate;
        const char* units;
        const char* day;
    };
    // The fields of the line, made in parent; date is the field the rate is looked up by.
    ForeignRateLine(ScreenHost& host, DateEdit* date, QWidget* parent, const Names& names);

    DateEdit* date() const { return date_; }
    // "rate руб. за units у.е. day", left-aligned.
    QHBoxLayout* makeRow(QWidget* parent) const;

    Money rate() const;
    std::int32_t units() const;
    // Filled from the directory and locked.
    bool automatic() const { return automatic_; }

    // Empty and open to typing.
    void clear();
    // A record's stored rate and units as they are; locked with the day's note when the
    // directory fills the line.
    void show(Money rate, std::int32_t units, const std::optional<FoundRate>& automatic);
    // The directory's rate for the date, locked.
    void fill(const FoundRate& found);
    // An automatic rate no longer the directory's: emptied and given to the person.
    void release();
    // The directory's rate for this line's date.
    std::optional<FoundRate> lookUp(const CurrencyRates* rates, const Cp1251Text& currencyCode) const;

signals:
    // The person typed a rate or units (the day's note is gone).
    void typed();

private:
    void setLocked(bool locked);

    ScreenHost& host_;
    DateEdit* date_;
    FieldEdit* rate_;
    FieldEdit* units_;
    QLabel* day_;
    bool automatic_ = false;
};

} // namespace kv
