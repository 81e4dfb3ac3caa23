#include "screens/kit/DateEdit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kv {

namespace {

constexpr QChar kBlank = QLatin1Char('_');
const QString kEmptyText = QStringLiteral("__.__.____");

struct Span {
    int start;
    int width;
};
constexpr std::array<Span, 3> kSections = {{{0, 2}, {3, 2}, {6, 4}}}; // day, month, year

// The section a caret position belongs to; a caret before a dot is in the next section.
int sectionAt(int position) {
    return position < 2 ? 0 : position < 5 ? 1 : 2;
}

bool isSeparatorKey(const QString& text) {
    return text == QLatin1String(".") || text == QLatin1String(",") || text == QLatin1String("/") ||
           text == QLatin1String("-") || text == QLatin1String(" ");
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr ||
           key == Qt::Key_Meta;
}

// The digits of a section, blanks left out; empty when nothing is typed in it.
QString digitsOf(const QString& text, int section) {
    QString digits = text.mid(kSections[section].start, kSections[section].width);
    digits.remove(kBlank);
    return digits;
}

struct Typed {
    std::optional<int> day, month, year; // absent: not typed in full
};

Typed readText(const QString& text) {
    Typed t;
    const QString day = digitsOf(text, 0);
    const QString month = digitsOf(text, 1);
    const QString year = digitsOf(text, 2);
    if (!day.isEmpty())
        t.day = day.toInt();
    if (!month.isEmpty())
        t.month = month.toInt();
    if (year.size() == 4)
        t.year = year.toInt();
    return t;
}

QDate dateOf(const Typed& t) {
    if (!t.day || !t.month || !t.year)
        return {};
    return QDate(*t.year, *t.month, *t.day);
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString dateText(const QDate& date) {
    return twoDigits(date.day()) + QLatin1Char('.') + twoDigits(date.month()) + QLatin1Char('.') +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

// "в феврале 2019 года" and the like.
QString inMonth(int month) {
    static const std::array<const char*, 12> names = {"январе",   "феврале", "марте",  "апреле",
                                                      "мае",      "июне",    "июле",   "августе",
                                                      "сентябре", "октябре", "ноябре", "декабре"};
    return QString::fromUtf8(names[static_cast<std::size_t>(month - 1)]);
}

QString daysWord(int n) {
    if (n % 10 == 1 && n % 100 != 11)
        return QStringLiteral("день");
    if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14))
        return QStringLiteral("дня");
    return QStringLiteral("дней");
}

// A pasted date: "d.m.yyyy" with any of the separators, or eight digits "ddmmyyyy".
// Impossible dates are taken too, to be reported like typed ones.
std::optional<QString> pastedText(const QString& pasted) {
    static const QRegularExpression parts(
        QStringLiteral("^\\s*(\\d{1,2})[./, -](\\d{1,2})[./, -](\\d{4})\\s*$"));
    static const QRegularExpression packed(QStringLiteral("^\\s*(\\d{2})(\\d{2})(\\d{4})\\s*$"));
    QRegularExpressionMatch m = parts.match(pasted);
    if (!m.hasMatch())
        m = packed.match(pasted);
    if (!m.hasMatch())
        return std::nullopt;
    return twoDigits(m.captured(1).toInt()) + QLatin1Char('.') + twoDigits(m.captured(2).toInt()) +
           QLatin1Char('.') + m.captured(3);
}

} // namespace

// The text part: always ten characters, digits or blanks in three sections. The
// first digit typed into a section the caret has just entered starts that section
// over, so a clicked, tabbed-into or arrowed-into date takes new digits at once.
// A full day or month moves the caret on by itself; the separator a person types
// after it out of habit ("12.04.1985") is then taken as already done.
class DateText : public QLineEdit {
public:
    explicit DateText(DateEdit* owner) : QLineEdit(owner), owner_(owner) {
        setText(kEmptyText);
        setContextMenuPolicy(Qt::NoContextMenu);
        setAcceptDrops(false);
        setAttribute(Qt::WA_InputMethodEnabled, false);
        connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
            if (!typing_) {
                section_ = -1;
                movedOn_ = false;
            }
        });
    }

    // Replaces the whole text from the program, not from typing.
    void showText(const QString& text) {
        typing_ = true;
        setText(text);
        typing_ = false;
        section_ = -1;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        // Shift or AltGr pressed on the way to a separator leaves it still expected.
        const bool movedOn = isModifierKey(event->key()) ? movedOn_ : std::exchange(movedOn_, false);
        if (event->matches(QKeySequence::Paste)) {
            if (const auto pasted = pastedText(QApplication::clipboard()->text()))
                change(*pasted, 10, -1);
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            copy();
            blankSelection();
            return;
        }
        if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
            return;
        if (event->key() == Qt::Key_Backspace) {
            backspace();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            if (hasSelectedText())
                blankSelection();
            else
                blankAt(cursorPosition() == 2 || cursorPosition() == 5 ? cursorPosition() + 1
                                                                       : cursorPosition());
            return;
        }
        if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128) {
            typeDigit(text.at(0));
            return;
        }
        if (isSeparatorKey(text)) {
            if (!movedOn)
                nextSection();
            return;
        }
        // Other printable keys never enter the field; moving, selecting, copying,
        // Enter and Tab work as in any field.
        if (!text.isEmpty() && text.at(0).isPrint())
            return;
        QLineEdit::keyPressEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        section_ = -1;
        owner_->showProblem();
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        // A lone digit of a day or month is that day or month: "3_" reads as "03".
        QString t = text();
        for (int s = 0; s < 2; ++s) {
            const QString digits = digitsOf(t, s);
            if (digits.size() == 1)
                t.replace(kSections[s].start, 2, QLatin1Char('0') + digits);
        }
        if (t != text())
            change(t, cursorPosition(), -1);
        owner_->showProblem();
    }

private:
    void change(const QString& t, int cursor, int section) {
        typing_ = true;
        setText(t);
        setCursorPosition(cursor);
        typing_ = false;
        section_ = section;
        owner_->textEdited();
    }

    void typeDigit(QChar digit) {
        QString t = text();
        int position = cursorPosition();
        if (hasSelectedText()) {
            const int first = selectionStart();
            const int last = first + static_cast<int>(selectedText().size()) - 1;
            if (sectionAt(first) != sectionAt(last))
                t = kEmptyText; // typing over several sections starts the date over
            position = first;
            section_ = -1;
        }
        const int s = sectionAt(position);
        if (s != section_) {
            section_ = s;
            typed_.clear();
        }
        typed_ += digit;
        const Span span = kSections[s];
        t.replace(span.start, span.width, typed_.leftJustified(span.width, kBlank));
        if (typed_.size() < span.width) {
            change(t, span.start + static_cast<int>(typed_.size()), s);
            return;
        }
        change(t, s < 2 ? kSections[s + 1].start : 10, -1);
        movedOn_ = s < 2;
    }

    // "." and its like close the section: a lone digit becomes "0d", the caret goes on.
    void nextSection() {
        QString t = text();
        const int s = sectionAt(cursorPosition());
        if (s == 2)
            return;
        const QString digits = digitsOf(t, s);
        if (digits.size() == 1)
            t.replace(kSections[s].start, 2, QLatin1Char('0') + digits);
        change(t, kSections[s + 1].start, -1);
    }

    void backspace() {
        if (hasSelectedText()) {
            blankSelection();
            return;
        }
        int p = cursorPosition() - 1;
        if (p == 2 || p == 5)
            --p;
        if (p < 0)
            return;
        QString t = text();
        t[p] = kBlank;
        // Typing goes on where the digit was taken away.
        const int s = sectionAt(p);
        typed_ = t.mid(kSections[s].start, p - kSections[s].start);
        typed_.remove(kBlank);
        change(t, p, s);
    }

    void blankAt(int p) {
        if (p >= 10)
            return;
        QString t = text();
        t[p] = kBlank;
        change(t, p, -1);
    }

    void blankSelection() {
        QString t = text();
        const int first = selectionStart();
        const int end = first + static_cast<int>(selectedText().size());
        for (int p = first; p < end; ++p) {
            if (p != 2 && p != 5)
                t[p] = kBlank;
        }
        change(t, first, -1);
    }

    DateEdit* owner_;
    int section_ = -1; // the section being typed into, -1 when the next digit starts one
    QString typed_;
    bool typing_ = false;
    bool movedOn_ = false; // the last key filled a section and moved the caret on
};

DateEdit::DateEdit(QWidget* parent) : QWidget(parent) {
    auto* text = new DateText(this);
    text->setObjectName(QStringLiteral("dateText"));
    edit_ = text;
    edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
    calendar_ = new QToolButton(this);
    calendar_->setObjectName(QStringLiteral("dateCalendar"));
    calendar_->setText(QStringLiteral("▾"));
    calendar_->setToolTip(QStringLiteral("Выбрать дату в календаре"));
    calendar_->setFocusPolicy(Qt::NoFocus);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("dateProblem"));
    problem_->setStyleSheet(QStringLiteral("color: #a01c1c"));
    problem_->hide();
    setFocusProxy(edit_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit_);
    layout->addWidget(calendar_);
    layout->addSpacing(4);
    layout->addWidget(problem_);
    connect(calendar_, &QToolButton::clicked, this, &DateEdit::openCalendar);
}

// The text goes first: holding the focus, it loses it on the way out, and its rules for
// leaving read this field, which must still be whole then (in QWidget's own destructor
// it no longer is).
DateEdit::~DateEdit() {
    delete edit_;
}

void DateEdit::setDate(const QDate& date) {
    static_cast<DateText*>(edit_)->showText(date.isValid() ? dateText(date) : kEmptyText);
    const bool changed = date != date_;
    date_ = date;
    showProblem();
    if (changed)
        emit dateChanged(date_);
}

void DateEdit::setDateRange(const QDate& minimum, const QDate& maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    showProblem();
}

void DateEdit::textEdited() {
    const QDate typed = dateOf(readText(edit_->text()));
    if (typed.isValid() && typed != date_) {
        date_ = typed;
        emit dateChanged(date_);
    }
    showProblem();
}

bool DateEdit::showsDate() const {
    return dateOf(readText(edit_->text())).isValid();
}

bool DateEdit::isBlank() const {
    return edit_->text() == kEmptyText;
}

QString DateEdit::problem() const {
    const QString text = edit_->text();
    if (text == kEmptyText)
        return QStringLiteral("Дата не введена");
    const Typed t = readText(text);
    if (t.month && (*t.month < 1 || *t.month > 12))
        return QStringLiteral("Месяца с номером %1 нет").arg(*t.month);
    if (t.day && *t.day == 0)
        return QStringLiteral("Дня с номером 00 нет");
    if (t.year && *t.year == 0)
        return QStringLiteral("Года 0000 нет");
    if (!t.day || !t.month || !t.year)
        return QStringLiteral("Дата введена не полностью");
    const int days = QDate(*t.year, *t.month, 1).daysInMonth();
    if (*t.day > days)
        return QStringLiteral("В %1 %2 года %3 %4")
            .arg(inMonth(*t.month))
            .arg(*t.year)
            .arg(days)
            .arg(daysWord(days));
    const QDate date = dateOf(t);
    if (minimum_.isValid() && date < minimum_)
        return QStringLiteral("Дата не может быть раньше ") + dateText(minimum_);
    if (maximum_.isValid() && date > maximum_)
        return QStringLiteral("Дата не может быть позже ") + dateText(maximum_);
    return {};
}

// A field that is not in use says nothing; a date still being typed is not told it
// is incomplete until the caret leaves it.
void DateEdit::showProblem() {
    QString text = isEnabled() ? problem() : QString();
    if (edit_->hasFocus() &&
        (text == QStringLiteral("Дата введена не полностью") || text == QStringLiteral("Дата не введена")))
        text.clear();
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
    edit_->setToolTip(text);
}

void DateEdit::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        showProblem();
}

void DateEdit::openCalendar() {
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameShape(QFrame::StyledPanel);
    auto* calendar = new QCalendarWidget(popup);
    calendar->setObjectName(QStringLiteral("dateCalendarPopup"));
    calendar->setDateRange(minimum_, maximum_);
    QDate shown = date_.isValid() ? date_ : QDate::currentDate();
    shown = std::clamp(shown, minimum_, maximum_);
    calendar->setSelectedDate(shown);
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(calendar);
    connect(calendar, &QCalendarWidget::activated, this, [this, popup](const QDate& date) {
        setDate(date);
        popup->close();
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, popup](const QDate& date) {
        setDate(date);
        popup->close();
    });
    popup->adjustSize();
    popup->move(edit_->mapToGlobal(QPoint(0, edit_->height())));
    popup->show();
    calendar->setFocus();
}

} // namespace kv
