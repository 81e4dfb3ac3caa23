#include "screens/kit/DocNumberEdit.h"

#include <QKeyEvent>
#include <QValidator>
#include <array>
#include <vector>

namespace kv {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// "А" to "Я" after upper-casing; "Ё" is not among them.
std::optional<QChar> cyrillicLetter(QChar c) {
    const QChar upper = c.toUpper();
    if (upper.unicode() >= 0x0410 && upper.unicode() <= 0x042F)
        return upper;
    return std::nullopt;
}

// Keys typed for the Roman series of a birth certificate, with the Cyrillic
// letters that look like Roman ones.
std::optional<QChar> romanDigit(QChar c) {
    switch (c.toUpper().unicode()) {
    case '1':
    case 'I':
        return QLatin1Char('I');
    case 'V':
    case 0x0423: // У
        return QLatin1Char('V');
    case 'X':
    case 0x0425: // Х
        return QLatin1Char('X');
    case 'L':
    case 0x041B: // Л
        return QLatin1Char('L');
    case 'C':
    case 0x0421: // С
        return QLatin1Char('C');
    default:
        return std::nullopt;
    }
}

int romanValue(QChar c) {
    switch (c.unicode()) {
    case 'I':
        return 1;
    case 'V':
        return 5;
    case 'X':
        return 10;
    case 'L':
        return 50;
    case 'C':
        return 100;
    default:
        return 0;
    }
}

QString romanText(int value) {
    static const std::array<std::pair<int, const char*>, 9> parts = {
        {{100, "C"}, {90, "XC"}, {50, "L"}, {40, "XL"}, {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}}};
    QString text;
    for (const auto& [amount, letters] : parts) {
        while (value >= amount) {
            text += QLatin1String(letters);
            value -= amount;
        }
    }
    return text;
}

// A numeral equal to the one its value is written as, of at most 9 characters.
bool wellFormedRoman(const QString& numeral) {
    if (numeral.isEmpty() || numeral.size() > 9)
        return false;
    int value = 0;
    for (qsizetype i = 0; i < numeral.size(); ++i) {
        const int v = romanValue(numeral[i]);
        const int next = i + 1 < numeral.size() ? romanValue(numeral[i + 1]) : 0;
        value += v < next ? -v : v;
    }
    return value > 0 && romanText(value) == numeral;
}

enum class CharClass { Digit, Letter };

struct Group {
    CharClass kind;
    int size;   // characters of a full group
    bool fixed; // the group must be full before the next one begins
};

std::vector<Group> groupsOf(DocMask mask) {
    switch (mask) {
    case DocMask::DigitPairAndSeven:
        return {{CharClass::Digit, 2, true}, {CharClass::Digit, 7, false}};
    case DocMask::DigitPairsAndSix:
        return {{CharClass::Digit, 2, true}, {CharClass::Digit, 2, true}, {CharClass::Digit, 6, false}};
    case DocMask::LettersAndSix:
        return {{CharClass::Letter, 2, true}, {CharClass::Digit, 6, false}};
    case DocMask::LettersAndSeven:
        return {{CharClass::Letter, 2, true}, {CharClass::Digit, 7, false}};
    case DocMask::RomanAndLetters: // after the hyphen
        return {{CharClass::Letter, 2, true}, {CharClass::Digit, 6, false}};
    case DocMask::Text25:
    case DocMask::Text14:
        break;
    }
    return {};
}

// Characters without blanks, placed into the groups in order; the groups that
// received characters, or nullopt when a character fits nowhere.
std::optional<std::vector<QString>> placeInGroups(const std::vector<Group>& groups, const QString& text) {
    std::vector<QString> filled(1);
    std::size_t g = 0;
    for (QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        while (true) {
            if (g >= groups.size())
                return std::nullopt;
            const Group& group = groups[g];
            const bool full = static_cast<int>(filled[g].size()) >= group.size;
            std::optional<QChar> accepted;
            if (!full)
                accepted = group.kind == CharClass::Digit
                               ? (isDigit(c) ? std::optional<QChar>(c) : std::nullopt)
                               : cyrillicLetter(c);
            if (accepted.has_value()) {
                filled[g] += *accepted;
                break;
            }
            // The character may open the next group once this one is complete.
            if ((group.fixed && !full) || filled[g].isEmpty())
                return std::nullopt;
            ++g;
            filled.emplace_back();
        }
    }
    if (filled.back().isEmpty())
        filled.pop_back();
    return filled;
}

QString joinGroups(const std::vector<QString>& groups) {
    QString text;
    for (const QString& g : groups) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += g;
    }
    return text;
}

// Whether the text ends with a full group that another group, after a blank, follows.
bool endsWithFullGroup(DocMask mask, const QString& text) {
    std::vector<Group> groups = groupsOf(mask);
    QString tail = text;
    if (mask == DocMask::RomanAndLetters) {
        const qsizetype hyphen = text.indexOf(QLatin1Char('-'));
        if (hyphen < 0)
            return false;
        tail = text.mid(hyphen + 1);
    }
    const auto filled = placeInGroups(groups, tail);
    if (!filled.has_value() || filled->empty() || filled->size() >= groups.size())
        return false;
    const std::size_t last = filled->size() - 1;
    return static_cast<int>((*filled)[last].size()) == groups[last].size && !text.endsWith(QLatin1Char(' '));
}

int significantBefore(const QString& text, int pos) {
    int n = 0;
    for (int i = 0; i < pos && i < text.size(); ++i)
        n += text[i] != QLatin1Char(' ') ? 1 : 0;
    return n;
}

int positionAfterSignificant(const QString& text, int count) {
    int pos = 0;
    while (pos < text.size() && count > 0) {
        if (text[pos] != QLatin1Char(' '))
            --count;
        ++pos;
    }
    return pos;
}

class DocNumberValidator : public QValidator {
public:
    DocNumberValidator(const DocNumberEdit* edit, QObject* parent) : QValidator(parent), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        const std::optional<QString> fitted = docNumberInPattern(edit_->mask(), input);
        if (!fitted.has_value())
            return Invalid;
        if (*fitted != input) {
            const int significant = significantBefore(input, pos);
            input = *fitted;
            pos = positionAfterSignificant(input, significant);
        }
        return Acceptable;
    }

private:
    const DocNumberEdit* edit_;
};

} // namespace

std::optional<DocMask> docMaskOnLoading(int code) {
    switch (code) {
    case 1:
    case 3:
        return DocMask::RomanAndLetters;
    case 2:
    case 9:
    case 22:
        return DocMask::DigitPairAndSeven;
    case 4:
    case 6:
        return DocMask::LettersAndSix;
    case 5:
    case 11:
    case 12:
    case 13:
    case 14:
    case 91:
        return DocMask::Text14;
    case 7:
    case 26:
    case 27:
        return DocMask::LettersAndSeven;
    case 10:
    case 18:
    case 19:
        return DocMask::Text25;
    case 21:
        return DocMask::DigitPairsAndSix;
    default:
        return std::nullopt;
    }
}

std::optional<DocMask> docMaskOnPicking(int code) {
    switch (code) {
    case 2:
    case 9:
    case 22:
        return DocMask::DigitPairAndSeven;
    case 3:
    case 5:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 18:
    case 19:
    case 23:
    case 91:
        return DocMask::Text25;
    case 4:
    case 6:
        return DocMask::LettersAndSix;
    case 7:
    case 24:
    case 26:
    case 27:
        return DocMask::LettersAndSeven;
    case 21:
        return DocMask::DigitPairsAndSix;
    default:
        return std::nullopt;
    }
}

std::optional<QString> docNumberInPattern(DocMask mask, const QString& text) {
    switch (mask) {
    case DocMask::Text25:
        return text.size() <= 25 ? std::optional<QString>(text) : std::nullopt;
    case DocMask::Text14:
        return text.size() <= 14 ? std::optional<QString>(text) : std::nullopt;
    case DocMask::RomanAndLetters: {
        QString series;
        qsizetype i = 0;
        for (; i < text.size() && text[i] != QLatin1Char('-'); ++i) {
            if (text[i] == QLatin1Char(' '))
                continue;
            const std::optional<QChar> digit = romanDigit(text[i]);
            if (!digit.has_value())
                return std::nullopt;
            series += *digit;
        }
        if (!series.isEmpty() && !wellFormedRoman(series))
            return std::nullopt;
        if (i == text.size())
            return series;
        if (series.isEmpty())
            return std::nullopt;
        const auto rest = placeInGroups(groupsOf(mask), text.mid(i + 1));
        if (!rest.has_value())
            return std::nullopt;
        QString fitted = series + QLatin1Char('-') + joinGroups(*rest);
        if (text.endsWith(QLatin1Char(' ')) && endsWithFullGroup(mask, fitted))
            fitted += QLatin1Char(' ');
        return fitted;
    }
    case DocMask::DigitPairAndSeven:
    case DocMask::DigitPairsAndSix:
    case DocMask::LettersAndSix:
    case DocMask::LettersAndSeven: {
        const auto groups = placeInGroups(groupsOf(mask), text);
        if (!groups.has_value())
            return std::nullopt;
        QString fitted = joinGroups(*groups);
        // The blank the field typed after a full group stays while the caret is past it.
        if (text.endsWith(QLatin1Char(' ')) && endsWithFullGroup(mask, fitted))
            fitted += QLatin1Char(' ');
        return fitted;
    }
    }
    return std::nullopt;
}

DocNumberEdit::DocNumberEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new DocNumberValidator(this, this));
}

void DocNumberEdit::setMask(DocMask mask) {
    mask_ = mask;
}

void DocNumberEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool freeText = mask_ == DocMask::Text25 || mask_ == DocMask::Text14;
    // The blank between groups is the field's to type.
    if (!freeText && typed == QStringLiteral(" "))
        return;
    QLineEdit::keyPressEvent(event);
    if (freeText || typed.isEmpty() || !typed.at(0).isPrint())
        return;
    if (cursorPosition() == text().size() && endsWithFullGroup(mask_, text()))
        insert(QStringLiteral(" "));
}

} // namespace kv
