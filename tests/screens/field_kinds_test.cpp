// The field kinds: what a keystroke may add, what a paste is refused for, and how
// a value set from code is kept as it is.
#include "ModalAnswers.h"
#include "screens/kit/FieldEdit.h"

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

        QTest::newRow("money as typed") << FieldKind::Money << 12 << "123,45"
                                        << "123,45";
        QTest::newRow("money point is the separator") << FieldKind::Money << 12 << "12.5"
                                                      << "12,5";
        QTest::newRow("money second separator dropped") << FieldKind::Money << 12 << "1,2.3"
                                                        << "1,23";
        QTest::newRow("money third decimal dropped") << FieldKind::Money << 12 << "1,234"
                                                     << "1,23";
        QTest::newRow("money thirteenth whole digit dropped") << FieldKind::Money << 12 << "1234567890123"
                                                              << "123456789012";
        QTest::newRow("money sign, letters and blanks dropped") << FieldKind::Money << 12 << "-1a 2"
                                                                << "12";
        QTest::newRow("money of a shorter whole length") << FieldKind::Money << 3 << "12345,678"
                                                         << "123,67";
        QTest::newRow("digits only") << FieldKind::Digits << 4 << "12a3-4 5"
                                     << "1234";
        QTest::newRow("digits and spaces") << FieldKind::DigitsAndSpaces << 6 << "12 3x45678"
                                           << "12 345";
        QTest::newRow("anything but digits") << FieldKind::NoDigits << 6 << "Ан1на-2 Ф"
                                             << "Анна- ";
        QTest::newRow("any character up to the length") << FieldKind::Any << 4 << "a1!Ж?z"
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
        FieldEdit edit(FieldFormat{FieldKind::Any, 10, 0});
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

        QTest::newRow("money with a point") << FieldKind::Money << 12 << ""
                                            << "1500.5"
                                            << "1500,5";
        QTest::newRow("money with grouping is refused") << FieldKind::Money << 12 << "7"
                                                        << "1 000,00"
                                                        << "7";
        QTest::newRow("money with three decimals is refused") << FieldKind::Money << 12 << ""
                                                              << "1,005"
                                                              << "";
        QTest::newRow("digits that would pass the length are refused whole") << FieldKind::Digits << 4 << "12"
                                                                             << "345"
                                                                             << "12";
        QTest::newRow("digits that fit") << FieldKind::Digits << 4 << "12"
                                         << "34"
                                         << "1234";
        QTest::newRow("a name") << FieldKind::NoDigits << 20 << ""
                                << "Иванов"
                                << "Иванов";
        QTest::newRow("a name with a digit is refused") << FieldKind::NoDigits << 20 << "Ив"
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

    // A value set from code is shown as it is, even one a person could not type: it
    // was read from a document and is kept. The person may only delete from it until
    // it fits; every keystroke after that obeys the kind again.
    void storedValues_data() {
        QTest::addColumn<FieldKind>("kind");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("backspaces");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("letters in a digits field refuse typing")
            << FieldKind::Digits << 11 << "45x" << false << 0 << "1"
            << "45x";
        QTest::newRow("deleting the letter lets typing on")
            << FieldKind::Digits << 11 << "45x" << false << 1 << "1a"
            << "451";
        QTest::newRow("a name longer than the field") << FieldKind::Any << 4 << "abcdef" << false << 0 << "g"
                                                      << "abcdef";
        QTest::newRow("amount of four decimals") << FieldKind::Money << 12 << "1,2345" << false << 0 << ""
                                                 << "1,2345";
        QTest::newRow("a telephone as people write it")
            << FieldKind::Phone << 20 << "+7 495 123-45-67" << true << 0 << " (1)x"
            << "+7 495 123-45-67 (1)";
    }

    void storedValues() {
        QFETCH(FieldKind, kind);
        QFETCH(int, length);
        QFETCH(QString, stored);
        QFETCH(bool, fits);
        QFETCH(int, backspaces);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        FieldEdit edit(FieldFormat{kind, length, 2});
        QCOMPARE(edit.setStoredText(stored), fits);
        QCOMPARE(edit.text(), stored);
        edit.end(false);
        for (int i = 0; i < backspaces; ++i)
            QTest::keyClick(&edit, Qt::Key_Backspace);
        typeText(&edit, keys);
        QCOMPARE(edit.text(), expected);
    }

    // A detail panel reused across records: an amount that does not fit is shown in
    // place of the previous record's, never silently replaced by it, and reported.
    void setMoneyNeverKeepsThePreviousText() {
        FieldEdit edit(FieldFormat{FieldKind::Money, 8, 2});
        QSignalSpy changed(&edit, &FieldEdit::changed);
        QVERIFY(edit.setMoney(kv::Money::fromRoubles(5)));
        QVERIFY(!edit.setMoney(kv::Money::fromRoubles(123456789)));
        QCOMPARE(edit.text(), QStringLiteral("123456789"));
        QCOMPARE(edit.money(), std::optional<kv::Money>(kv::Money::fromRoubles(123456789)));
        // A plain setText from code keeps a bad text too, and announces it.
        edit.setText(QStringLiteral("12x"));
        QCOMPARE(edit.text(), QStringLiteral("12x"));
        QCOMPARE(changed.count(), 3);
        // The next keystroke is judged against it: one more letter is refused.
        edit.end(false);
        typeText(&edit, QStringLiteral("y"));
        QCOMPARE(edit.text(), QStringLiteral("12x"));
        QCOMPARE(changed.count(), 3);
    }

    void moneyValue() {
        FieldEdit edit(FieldFormat{FieldKind::Money, 12, 2});
        QCOMPARE(edit.money(), std::optional<kv::Money>(kv::Money{}));
        edit.setMoney(kv::Money::fromRaw(12345000)); // 1234.5
        QCOMPARE(edit.text(), QStringLiteral("1234,5"));
        QCOMPARE(edit.money(), std::optional<kv::Money>(kv::Money::fromRaw(12345000)));
    }
};

KV_QTEST_MAIN(FieldKindsTest)

#include "field_kinds_test.moc"
