#pragma once
// The kinds of text field every screen and dialog uses. A field refuses a keystroke
// or a paste that would break its kind or length.
//
// How to use:
//   auto* edSum = field(box, "edSum", FieldKind::Money, 12, 2);   // ScreenWidgets.h
//   edSum->setMoney(record.amount);          // loading: shows the amount, never an old text
//   edName->setStoredText(fromCp1251(record.name));
//   record.amount = amountOf(edSum);         // saving (EntryFields.h)
//   connect(edSum, &FieldEdit::changed, ...) // every new text, typed or set
// A value set from code is shown as it is, also when a person could not have typed
// it (a document written elsewhere may hold a longer name, a phone with "+", an
// amount with four decimals): such a value is kept, so loading and saving a screen
// changes nothing, and setMoney/setStoredText report it by returning false. The
// person may delete characters from such a text; what they type must fit the kind.
#include "core/Money.h"

#include <QLineEdit>
#include <QString>
#include <optional>

namespace kv {

enum class FieldKind {
    Money,           // a decimal amount; "." and "," both type the separator ","
    Digits,          // digits only
    DigitsAndSpaces, // digits and spaces
    NoDigits,        // anything but digits
    Any,             // any character
    Phone,           // a telephone number: digits, spaces, "+", "-", "(" and ")"
};

struct FieldFormat {
    FieldKind kind = FieldKind::Money;
    int length = 12;  // characters; for money the digits before the separator
    int fraction = 2; // money only: digits after the separator
    int maximum = -1; // digits only: the largest number the field takes; -1 for any that fits
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
    // Shows the amount without grouping, "," as separator, in place of whatever the
    // field showed. False when the field would not let a person type it (too many
    // digits or decimals): it is shown and kept all the same.
    bool setMoney(Money amount);
    // Shows a text read from the document as it is, in place of whatever the field
    // showed. False when it breaks the field's kind or length.
    bool setStoredText(const QString& text);
    // Whether the text shown obeys the field's kind and length.
    bool fits() const;

    // The text last shown (typed, pasted or set): what an edit is judged against.
    const QString& committedText() const { return committed_; }

signals:
    // A new text is in the field (typed, pasted or set from code); a refused or
    // put-back change does not send it.
    void changed(const QString& text);

private:
    void textWasChanged(const QString& text);

    FieldFormat format_;
    QString committed_;
    bool edited_ = false; // the change under way comes from the person
    bool puttingBack_ = false;
};

// Whether after is before with one run of characters removed (a Backspace, Delete or cut).
bool isDeletion(const QString& before, const QString& after);

} // namespace kv
