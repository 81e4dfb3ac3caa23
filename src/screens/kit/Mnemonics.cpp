#include "screens/kit/Mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <algorithm>

namespace kv {

namespace {

// The letter after a single "&" ("&&" is a literal ampersand), or a null character.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

bool takesMnemonic(const QAbstractButton* button) {
    return qobject_cast<const QPushButton*>(button) || qobject_cast<const QCheckBox*>(button) ||
           qobject_cast<const QRadioButton*>(button);
}

// The letters already in use in window: its buttons', its labels' for their fields and
// its menu bar's.
QSet<QChar> takenLetters(const QWidget* window) {
    QSet<QChar> taken;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() != window)
            continue; // a window of its own keeps its own letters
        if (const QChar c = mnemonicOf(button->text()); !c.isNull())
            taken.insert(c);
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->window() == window) {
            if (const QChar c = mnemonicOf(label->text()); !c.isNull())
                taken.insert(c);
        }
    }
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (const QAction* menu : bar->actions()) {
            if (const QChar c = mnemonicOf(menu->text()); !c.isNull())
                taken.insert(c);
        }
    }
    return taken;
}

// The first letter of text not in taken, marked with "&"; the text as it is when none is free.
QString withFreeLetter(const QString& text, QSet<QChar>& taken) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i].toLower();
        if (!c.isLetterOrNumber() || taken.contains(c))
            continue;
        taken.insert(c);
        return text.left(i) + QLatin1Char('&') + text.mid(i);
    }
    return text;
}

bool needsLetter(const QString& text) {
    return !text.isEmpty() && !text.contains(QLatin1Char('&'));
}

int distinctLetters(const QString& text) {
    QSet<QChar> letters;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            letters.insert(c.toLower());
    }
    return static_cast<int>(letters.size());
}

// Short captions choose first: "Лично" has five letters to pick from, a long caption
// has plenty left after it.
void giveLetters(QWidget* scope, QSet<QChar> taken) {
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : scope->findChildren<QAbstractButton*>()) {
        if (takesMnemonic(button) && needsLetter(button->text()))
            buttons.append(button);
    }
    std::ranges::stable_sort(buttons, {},
                             [](const QAbstractButton* b) { return distinctLetters(b->text()); });
    for (QAbstractButton* button : buttons)
        button->setText(withFreeLetter(button->text(), taken));
}

} // namespace

void giveMnemonics(QWidget* window) {
    giveLetters(window, takenLetters(window));
}

void giveScreenMnemonics(QWidget* screen) {
    giveLetters(screen, takenLetters(screen->window()));
}

void giveMnemonics(QMenu* menu) {
    QSet<QChar> taken;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* action : actions) {
        if (const QChar c = mnemonicOf(action->text()); !c.isNull())
            taken.insert(c);
    }
    for (QAction* action : actions) {
        if (!action->isSeparator() && needsLetter(action->text()))
            action->setText(withFreeLetter(action->text(), taken));
    }
}

bool DialogMnemonics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<QDialog*>(watched))
            giveMnemonics(dialog);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kv
