#include "EntryTestSupport.h"

#include "core/Text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace kv::test {

namespace {

QStringList& failures() {
    static QStringList list;
    return list;
}

// Handlers armed before the last takeModalFailures() stop polling.
int& generation() {
    static int value = 0;
    return value;
}

constexpr int kPollLimit = 400;
constexpr int kPollStepMs = 5;

} // namespace

void whenModal(const QString& objectName, std::function<void(QDialog&)> handle) {
    const int armedIn = generation();
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=]() {
        if (generation() != armedIn)
            return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->objectName() == objectName && dialog->isVisible()) {
            handle(*dialog);
            if (dialog->isVisible()) {
                failures().append(QStringLiteral("dialog %1 was left open").arg(objectName));
                dialog->reject();
            }
            return;
        }
        if (++*tries > kPollLimit) {
            failures().append(QStringLiteral("dialog %1 never opened").arg(objectName));
            return;
        }
        QTimer::singleShot(kPollStepMs, *poll);
    };
    QTimer::singleShot(0, *poll);
}

QStringList takeModalFailures() {
    ++generation();
    QStringList taken = failures();
    failures().clear();
    return taken;
}

void pickCode(QDialog& picker, const QString& code) {
    auto* list = picker.findChild<QTreeWidget*>(QStringLiteral("lvCodes"));
    if (list == nullptr) {
        failures().append(QStringLiteral("%1 has no list").arg(picker.objectName()));
        return;
    }
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == code) {
            list->setCurrentItem(list->topLevelItem(i));
            QTest::keyClick(list, Qt::Key_Return);
            return;
        }
    }
    failures().append(QStringLiteral("%1 does not list %2").arg(picker.objectName(), code));
}

void whenPicker(const QString& pickerName, const QString& code) {
    whenModal(pickerName, [code](QDialog& picker) { pickCode(picker, code); });
}

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? static_cast<Qt::Key>(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

void retype(QWidget* root, const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(root, name);
    if (edit == nullptr) {
        failures().append(QStringLiteral("no field %1").arg(QString::fromLatin1(name)));
        return;
    }
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

void clickButton(QWidget* root, const char* name) {
    auto* button = child<QAbstractButton>(root, name);
    if (button == nullptr) {
        failures().append(QStringLiteral("no button %1").arg(QString::fromLatin1(name)));
        return;
    }
    button->click();
}

QString textOf(QWidget* root, const char* name) {
    auto* edit = child<QLineEdit>(root, name);
    return edit != nullptr ? edit->text() : QStringLiteral("<no field %1>").arg(QString::fromLatin1(name));
}

QStringList rowsOf(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells.append(list->topLevelItem(i)->text(c));
        // Digit groups are parted by no-break spaces; tests write them as plain ones.
        rows.append(cells.join(QLatin1Char('|')).replace(QChar(0x00A0), QLatin1Char(' ')));
    }
    return rows;
}

void loadSmallDirectories(Directories& d) {
    d.inspectionsState = DirectoryState::Loaded;
    d.inspections =
        CodeNameRows{{"7701", utf8ToCp1251("Инспекция № 1")}, {"7702", utf8ToCp1251("Инспекция № 2")}};
    d.countriesState = DirectoryState::Loaded;
    d.countries = CodeNameRows{{"276", utf8ToCp1251("ГЕРМАНИЯ")}, {"643", utf8ToCp1251("РОССИЯ")}};
}

RussianLocale::RussianLocale() : previous_(QLocale()) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

RussianLocale::~RussianLocale() {
    QLocale::setDefault(previous_);
}

} // namespace kv::test
