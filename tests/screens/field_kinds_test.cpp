// The five field kinds: what a keystroke may add and what a paste or a change from
// code is put back from.
#include "screens/FieldEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using kv::FieldEdit;
using kv::FieldFormat;
using kv::FieldKind;

Q_DECLARE_METATYPE(kv::FieldKind)

namespace {

// QTest::keyClicks takes Latin-1 only; names are typed in Cyrillic.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class FieldKindsTest : public QObject {
    Q_OBJECT

private slots:
    void typing_data() {
        QTest::addColumn<FieldKind>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("money as typed") << FieldKind::edtCurrency << 12 << "123,45"
                                        << "123,45";
        QTest::newRow("money point is the separator") << FieldKind::edtCurrency << 12 << "12.5"
                                                      << "12,5";
        QTest::newRow("money second separator dropped") << FieldKind::edtCurrency << 12 << "1,2.3"
                                                        << "1,23";
        QTest::newRow("money third decimal dropped") << FieldKind::edtCurrency << 12 << "1,234"
                                                     << "1,23";
        QTest::newRow("money thirteenth whole digit dropped")
            << FieldKind::edtCurrency << 12 << "1234567890123"
            << "123456789012";
        QTest::newRow("money sign, letters and blanks dropped") << FieldKind::edtCurrency << 12 << "-1a 2"
                                                                << "12";
        QTest::newRow("money of a shorter whole length") << FieldKind::edtCurrency << 3 << "12345,678"
                                                         << "123,67";
        QTest::newRow("digits only") << FieldKind::edtDigital << 4 << "12a3-4 5"
                                     << "1234";
        QTest::newRow("digits and spaces") << FieldKind::edt_Digital << 6 << "12 3x45678"
                                           << "12 345";
        QTest::newRow("anything but digits") << FieldKind::edtChar << 6 << "Ан1на-2 Ф"
                                             << "Анна- ";
        QTest::newRow("any character up to the length") << FieldKind::edtNone << 4 << "a1!Ж?z"
                                                        << "a1!Ж";
    }

    void typing() {
        QFETCH(FieldKind, kind);
        QFETCH(int, length);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        FieldEdit edit(FieldFormat{kind, length, 2});
        typeText(&edit, keys);
        QCOMPARE(edit.text(), expected);
    }

    void enterAddsNothing() {
        FieldEdit edit(FieldFormat{FieldKind::edtNone, 10, 0});
        typeText(&edit, QStringLiteral("ab"));
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClick(&edit, Qt::Key_Enter);
        QCOMPARE(edit.text(), QStringLiteral("ab"));
    }

    void paste_data() {
        QTest::addColumn<FieldKind>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");

        QTest::newRow("money with a point") << FieldKind::edtCurrency << 12 << ""
                                            << "1500.5"
                                            << "1500,5";
        QTest::newRow("money with grouping is refused") << FieldKind::edtCurrency << 12 << "7"
                                                        << "1 000,00"
                                                        << "7";
        QTest::newRow("money with three decimals is refused") << FieldKind::edtCurrency << 12 << ""
                                                              << "1,005"
                                                              << "";
        QTest::newRow("digits that would pass the length are refused whole")
            << FieldKind::edtDigital << 4 << "12"
            << "345"
            << "12";
        QTest::newRow("digits that fit") << FieldKind::edtDigital << 4 << "12"
                                         << "34"
                                         << "1234";
        QTest::newRow("a name") << FieldKind::edtChar << 20 << ""
                                << "Иванов"
                                << "Иванов";
        QTest::newRow("a name with a digit is refused") << FieldKind::edtChar << 20 << "Ив"
                                                        << "ан0в"
                                                        << "Ив";
    }

    void paste() {
        QFETCH(FieldKind, kind);
        QFETCH(int, length);
        QFETCH(QString, before);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        FieldEdit edit(FieldFormat{kind, length, 2});
        edit.setText(before);
        edit.end(false);
        QGuiApplication::clipboard()->setText(clipboard);
        edit.paste();
        QCOMPARE(edit.text(), expected);
    }

    // A change from code obeys the kind too: a bad text is put back, and only
    // accepted changes are announced (they are what marks the document changed).
    void changeFromCodeIsPutBack() {
        FieldEdit edit(FieldFormat{FieldKind::edtDigital, 11, 0});
        QSignalSpy changed(&edit, &FieldEdit::changed);
        edit.setText(QStringLiteral("45379000"));
        edit.setText(QStringLiteral("45x"));
        QCOMPARE(edit.text(), QStringLiteral("45379000"));
        edit.setText(QStringLiteral("123456789012"));
        QCOMPARE(edit.text(), QStringLiteral("45379000"));
        QCOMPARE(changed.count(), 1);
    }

    void moneyValue() {
        FieldEdit edit(FieldFormat{FieldKind::edtCurrency, 12, 2});
        QCOMPARE(edit.money(), std::optional<kv::Money>(kv::Money{}));
        edit.setMoney(kv::Money::fromRaw(12345000)); // 1234.5
        QCOMPARE(edit.text(), QStringLiteral("1234,5"));
        QCOMPARE(edit.money(), std::optional<kv::Money>(kv::Money::fromRaw(12345000)));
    }
};

QObject* makeFieldKindsTest() {
    return new FieldKindsTest;
}

#include "field_kinds_test.moc"
