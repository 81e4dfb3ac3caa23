#pragma once
// The five kinds of text field every screen and dialog uses. A field refuses a
// keystroke that would break its kind or length, and puts back the last valid text
// when a paste or a change from code would break them.
#include "core/Money.h"

#include <QLineEdit>
#include <QString>
#include <optional>

namespace kv {

enum class FieldKind {
    edtCurrency, // a decimal amount; "." and "," both type the separator ","
    edtDigital,  // digits only
    edt_Digital, // digits and spaces
    edtChar,     // anything but digits
    edtNone,     // any character
};

struct FieldFormat {
    FieldKind kind = FieldKind::edtCurrency;
    int length = 12;  // characters; for money the digits before the separator
    int fraction = 2; // money only: digits after the separator
};

// Money fields: the typed "." stands for the decimal separator ",".
QString normaliseFieldText(const FieldFormat& format, QString text);
// Whether a (normalised) text obeys the format; the empty text always does.
bool fieldTextAcceptable(const FieldFormat& format, const QString& text);

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FieldEdit(const FieldFormat& format, QWidget* parent = nullptr);

    const FieldFormat& format() const { return format_; }

    // Money fields: an empty field is 0; a text that is not an amount gives nullopt.
    std::optional<Money> money() const;
    // Shows the amount without grouping, "," as separator.
    void setMoney(Money amount);

signals:
    // A new valid text is in the field (typed, pasted or set from code); a refused
    // or put-back change does not send it.
    void changed(const QString& text);

private:
    void textWasChanged(const QString& text);

    FieldFormat format_;
    QString lastValid_;
    bool puttingBack_ = false;
};

} // namespace kv
