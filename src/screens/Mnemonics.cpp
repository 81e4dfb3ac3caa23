#include "screens/Mnemonics.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

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

} // namespace

void giveMnemonics(QWidget* window) {
    QSet<QChar> taken;
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    for (const QAbstractButton* button : buttons) {
        if (const QChar c = mnemonicOf(button->text()); !c.isNull())
            taken.insert(c);
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            if (const QChar c = mnemonicOf(label->text()); !c.isNull())
                taken.insert(c);
        }
    }
    for (QAbstractButton* button : buttons) {
        const QString text = button->text();
        if (!takesMnemonic(button) || text.isEmpty() || !mnemonicOf(text).isNull() ||
            text.contains(QLatin1Char('&')))
            continue;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i].toLower();
            if (!c.isLetterOrNumber() || taken.contains(c))
                continue;
            taken.insert(c);
            button->setText(text.left(i) + QLatin1Char('&') + text.mid(i));
            break;
        }
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
