#include "screens/kit/FieldEdit.h"

#include <QValidator>
#include <algorithm>
#include <utility>

namespace kv {

namespace {

constexpr QChar kSeparator = QLatin1Char(',');

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool moneyAcceptable(const FieldFormat& format, const QString& text) {
    int whole = 0;
    int fraction = 0;
    bool separatorSeen = false;
    for (QChar c : text) {
        if (c == kSeparator) {
            if (separatorSeen || format.fraction <= 0)
                return false;
            separatorSeen = true;
        } else if (!isDigit(c)) {
            return false;
        } else if (separatorSeen) {
            ++fraction;
        } else {
            ++whole;
        }
    }
    return whole <= format.length && fraction <= format.fraction;
}

// Typing and pasting pass through this. A text kept from the document that breaks
// the kind stays acceptable as it is, and so does any deletion from it.
class FieldValidator : public QValidator {
public:
    explicit FieldValidator(FieldEdit* field) : QValidator(field), field_(field) {}

    State validate(QString& input, int&) const override {
        const QString normal = normaliseFieldText(field_->format(), input);
        if (fieldTextAcceptable(field_->format(), normal)) {
            input = normal;
            return Acceptable;
        }
        const QString& kept = field_->committedText();
        return input == kept || isDeletion(kept, input) ? Acceptable : Invalid;
    }

private:
    FieldEdit* field_;
};

} // namespace

QString normaliseFieldText(const FieldFormat& format, QString text) {
    if (format.kind == FieldKind::Money)
        text.replace(QLatin1Char('.'), kSeparator);
    return text;
}

bool fieldTextAcceptable(const FieldFormat& format, const QString& text) {
    switch (format.kind) {
    case FieldKind::Money:
        return moneyAcceptable(format, text);
    case FieldKind::Digits:
        return text.size() <= format.length && std::all_of(text.begin(), text.end(), isDigit) &&
               (format.maximum < 0 || text.isEmpty() || text.toLongLong() <= format.maximum);
    case FieldKind::DigitsAndSpaces:
        return text.size() <= format.length && std::all_of(text.begin(), text.end(), [](QChar c) {
                   return isDigit(c) || c == QLatin1Char(' ');
               });
    case FieldKind::NoDigits:
        return text.size() <= format.length && std::none_of(text.begin(), text.end(), isDigit);
    case FieldKind::Any:
        return text.size() <= format.length;
    case FieldKind::Phone:
        return text.size() <= format.length && std::all_of(text.begin(), text.end(), [](QChar c) {
                   return isDigit(c) || QStringLiteral(" +-()").contains(c);
               });
    }
    return false;
}

bool isDeletion(const QString& before, const QString& after) {
    if (after.size() >= before.size())
        return false;
    qsizetype prefix = 0;
    while (prefix < after.size() && after.at(prefix) == before.at(prefix))
        ++prefix;
    const qsizetype suffix = after.size() - prefix;
    return QStringView(after).right(suffix) == QStringView(before).right(suffix);
}

FieldEdit::FieldEdit(const FieldFormat& format, QWidget* parent) : QLineEdit(parent), format_(format) {
    // No maxLength: it would cut a long paste down instead of refusing it, and cut a
    // stored value short.
    setValidator(new FieldValidator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    connect(this, &QLineEdit::textChanged, this, &FieldEdit::textWasChanged);
}

void FieldEdit::textWasChanged(const QString& text) {
    if (puttingBack_)
        return;
    const bool byPerson = std::exchange(edited_, false);
    // After a kept text Qt no longer stops a keystroke that breaks the kind: it is
    // taken back here. A change from code is shown as it is.
    if (byPerson && !fieldTextAcceptable(format_, text) && text != committed_ &&
        !isDeletion(committed_, text)) {
        puttingBack_ = true;
        setText(committed_);
        puttingBack_ = false;
        return;
    }
    if (text == committed_)
        return;
    committed_ = text;
    emit changed(committed_);
}

std::optional<Money> FieldEdit::money() const {
    if (text().isEmpty())
        return Money{};
    return parseMoney(text().toStdString(), ',');
}

bool FieldEdit::setMoney(Money amount) {
    return setStoredText(QString::fromStdString(moneyText(amount, ',')));
}

bool FieldEdit::setStoredText(const QString& text) {
    // Known before Qt validates it, so the text is taken as it is and the field
    // goes on judging keystrokes; the previous text never stays.
    const QString previous = committed_;
    committed_ = text;
    puttingBack_ = true;
    setText(text);
    puttingBack_ = false;
    committed_ = this->text();
    if (committed_ != previous)
        emit changed(committed_);
    return fits();
}

bool FieldEdit::fits() const {
    return fieldTextAcceptable(format_, normaliseFieldText(format_, text()));
}

} // namespace kv
