#include "screens/FieldEdit.h"

#include <QValidator>
#include <algorithm>

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

// Typing and pasting pass through this; a change from code is caught by the field.
class FieldValidator : public QValidator {
public:
    FieldValidator(const FieldFormat& format, QObject* parent) : QValidator(parent), format_(format) {}

    State validate(QString& input, int&) const override {
        input = normaliseFieldText(format_, input);
        return fieldTextAcceptable(format_, input) ? Acceptable : Invalid;
    }

private:
    FieldFormat format_;
};

} // namespace

QString normaliseFieldText(const FieldFormat& format, QString text) {
    if (format.kind == FieldKind::edtCurrency)
        text.replace(QLatin1Char('.'), kSeparator);
    return text;
}

bool fieldTextAcceptable(const FieldFormat& format, const QString& text) {
    switch (format.kind) {
    case FieldKind::edtCurrency:
        return moneyAcceptable(format, text);
    case FieldKind::edtDigital:
        return text.size() <= format.length && std::all_of(text.begin(), text.end(), isDigit);
    case FieldKind::edt_Digital:
        return text.size() <= format.length && std::all_of(text.begin(), text.end(), [](QChar c) {
                   return isDigit(c) || c == QLatin1Char(' ');
               });
    case FieldKind::edtChar:
        return text.size() <= format.length && std::none_of(text.begin(), text.end(), isDigit);
    case FieldKind::edtNone:
        return text.size() <= format.length;
    }
    return false;
}

FieldEdit::FieldEdit(const FieldFormat& format, QWidget* parent) : QLineEdit(parent), format_(format) {
    // No maxLength: it would cut a long paste down instead of refusing it.
    setValidator(new FieldValidator(format_, this));
    connect(this, &QLineEdit::textChanged, this, &FieldEdit::textWasChanged);
}

void FieldEdit::textWasChanged(const QString& text) {
    if (puttingBack_)
        return;
    const QString normal = normaliseFieldText(format_, text);
    if (!fieldTextAcceptable(format_, normal)) {
        puttingBack_ = true;
        setText(lastValid_);
        puttingBack_ = false;
        return;
    }
    if (normal != text) {
        puttingBack_ = true;
        setText(normal);
        puttingBack_ = false;
    }
    if (normal == lastValid_)
        return;
    lastValid_ = normal;
    emit changed(lastValid_);
}

std::optional<Money> FieldEdit::money() const {
    if (text().isEmpty())
        return Money{};
    return parseMoney(text().toStdString(), ',');
}

void FieldEdit::setMoney(Money amount) {
    setText(QString::fromStdString(moneyText(amount, ',')));
}

} // namespace kv
