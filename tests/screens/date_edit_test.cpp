// The date field: typing into whichever section the caret is in, impossible and
// out-of-range dates kept as typed and said in words, stored dates kept unless edited.
#include "ModalAnswers.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace kv;

Q_DECLARE_METATYPE(DateValue)

class DateEditTest : public QObject {
    Q_OBJECT

private slots:
    // keys: digits and separators as typed, "<" for Backspace; caret: where the
    // person clicked before typing.
    void typing_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("problem");

        const QDate none;
        const QDate march15(2019, 3, 15);
        QTest::newRow("whole date into an empty field") << none << 0 << "15032019"
                                                        << "15.03.2019" << QDate(2019, 3, 15) << "";
        QTest::newRow("separators close a section") << none << 0 << "1.2.2019"
                                                    << "01.02.2019" << QDate(2019, 2, 1) << "";
        // Every common way of typing a date: a separator typed where the field has
        // already moved on is taken as done.
        const QDate april12(1985, 4, 12);
        for (const char* typed :
             {"12.04.1985", "12/04/1985", "12-04-1985", "12 04 1985", "12041985", "12.4.1985", "12,04,1985"})
            QTest::addRow("typed %s", typed) << none << 0 << typed << "12.04.1985" << april12 << "";
        for (const char* typed : {"1.4.1985", "1.04.1985", "01.4.1985"})
            QTest::addRow("typed %s", typed) << none << 0 << typed << "01.04.1985" << QDate(1985, 4, 1) << "";
        QTest::newRow("typed with dots over a shown date") << march15 << 0 << "12.04.1985"
                                                           << "12.04.1985" << april12 << "";
        QTest::newRow("a second separator goes on to the year")
            << none << 0 << "12..1985"
            << "12.__.1985" << none << "Дата введена не полностью";
        QTest::newRow("clicked day takes new digits") << march15 << 1 << "25"
                                                      << "25.03.2019" << QDate(2019, 3, 25) << "";
        QTest::newRow("clicked month") << march15 << 4 << "11"
                                       << "15.11.2019" << QDate(2019, 11, 15) << "";
        QTest::newRow("clicked year") << march15 << 8 << "2018"
                                      << "15.03.2018" << QDate(2018, 3, 15) << "";
        QTest::newRow("caret at the end retypes the year") << march15 << 10 << "2017"
                                                           << "15.03.2017" << QDate(2017, 3, 15) << "";
        QTest::newRow("impossible day kept") << none << 0 << "31022019"
                                             << "31.02.2019" << none << "В феврале 2019 года 28 дней";
        QTest::newRow("thirty-one days in April") << none << 0 << "31042019"
                                                  << "31.04.2019" << none << "В апреле 2019 года 30 дней";
        QTest::newRow("leap day") << none << 0 << "29022016"
                                  << "29.02.2016" << QDate(2016, 2, 29) << "";
        QTest::newRow("no thirteenth month") << none << 0 << "01132019"
                                             << "01.13.2019" << none << "Месяца с номером 13 нет";
        QTest::newRow("day zero") << march15 << 0 << "00"
                                  << "00.03.2019" << march15 << "Дня с номером 00 нет";
        QTest::newRow("year before the range kept")
            << march15 << 7 << "1850"
            << "15.03.1850" << QDate(1850, 3, 15) << "Дата не может быть раньше 01.01.1900";
        QTest::newRow("year after the range kept")
            << march15 << 6 << "2031"
            << "15.03.2031" << QDate(2031, 3, 15) << "Дата не может быть позже 31.12.2030";
        QTest::newRow("backspace goes on in the section") << none << 0 << "31<0042019"
                                                          << "30.04.2019" << QDate(2019, 4, 30) << "";
        QTest::newRow("letters never enter") << none << 0 << "1a5b"
                                             << "15.__.____" << none << "Дата введена не полностью";
        QTest::newRow("an unfinished date keeps the last one")
            << march15 << 6 << "20"
            << "15.03.20__" << march15 << "Дата введена не полностью";
    }

    void typing() {
        QFETCH(QDate, start);
        QFETCH(int, caret);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QFETCH(QString, problem);

        DateEdit field;
        field.setDateRange(QDate(1900, 1, 1), QDate(2030, 12, 31));
        field.setDate(start);
        QLineEdit* edit = field.lineEdit();
        edit->setCursorPosition(caret);
        for (QChar key : keys) {
            if (key == QLatin1Char('<'))
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClick(edit, key.toLatin1());
        }
        QCOMPARE(edit->text(), text);
        QCOMPARE(field.date(), date);
        QCOMPARE(field.problem(), problem);
        // The field says it in words beside itself.
        auto* label = field.findChild<QLabel*>(QStringLiteral("dateProblem"));
        QCOMPARE(label->text(), problem);
        QCOMPARE(label->isHidden(), problem.isEmpty());
    }

    // A date set by the program is shown as it is, even outside the range; a range
    // that changes later reports it or stops reporting it, never moves it.
    void setDatesAreNeverMoved() {
        DateEdit field;
        QSignalSpy changes(&field, &DateEdit::dateChanged);
        field.setDateRange(QDate(2014, 1, 1), QDate(2019, 12, 31));
        field.setDate(QDate(2003, 1, 1));
        QCOMPARE(field.lineEdit()->text(), QStringLiteral("01.01.2003"));
        QCOMPARE(field.problem(), QStringLiteral("Дата не может быть раньше 01.01.2014"));
        field.setMinimumDate(QDate(1990, 1, 1));
        QCOMPARE(field.date(), QDate(2003, 1, 1));
        QCOMPARE(field.problem(), QString());
        QCOMPARE(changes.count(), 1);

        // A field not in use reports nothing.
        field.setMinimumDate(QDate(2014, 1, 1));
        field.setEnabled(false);
        QVERIFY(field.findChild<QLabel*>(QStringLiteral("dateProblem"))->isHidden());
    }

    // The calendar opens on the field's date within its range and a clicked day is taken.
    void calendarPicksADate() {
        DateEdit field;
        field.setDateRange(QDate(2014, 1, 1), QDate(2019, 12, 31));
        field.setDate(QDate(2016, 7, 9));
        QTest::mouseClick(field.findChild<QToolButton*>(QStringLiteral("dateCalendar")), Qt::LeftButton);
        auto* calendar = field.findChild<QCalendarWidget*>(QStringLiteral("dateCalendarPopup"));
        QVERIFY(calendar != nullptr);
        QCOMPARE(calendar->selectedDate(), QDate(2016, 7, 9));
        QCOMPARE(calendar->maximumDate(), QDate(2019, 12, 31));
        emit calendar->clicked(QDate(2017, 2, 3));
        QCOMPARE(field.lineEdit()->text(), QStringLiteral("03.02.2017"));
        QCOMPARE(field.date(), QDate(2017, 2, 3));
    }

    void pasted() {
        DateEdit field;
        field.setDateRange(QDate(1900, 1, 1), QDate(2030, 12, 31));
        for (const auto& [pasted, shown] :
             {std::pair{"12.04.1985", "12.04.1985"}, std::pair{" 12/04/1985\n", "12.04.1985"},
              std::pair{"5/4/2019", "05.04.2019"}, std::pair{"31022019", "31.02.2019"},
              std::pair{"завтра", "31.02.2019"}}) {
            QApplication::clipboard()->setText(QString::fromUtf8(pasted));
            QTest::keySequence(field.lineEdit(), QKeySequence::Paste);
            QCOMPARE(field.lineEdit()->text(), QString::fromLatin1(shown));
        }
        QCOMPARE(field.date(), QDate(2019, 4, 5));
    }

    // Between the document and the field: a stored date comes back exactly as it
    // was stored (a fraction of a day, or 0 for "no date") unless the person edits.
    void storedDatesComeBackUnchanged_data() {
        QTest::addColumn<DateValue>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a day") << DateValue::fromDays(43831) << "01.01.2020";
        QTest::newRow("a day with a time") << DateValue::fromDays(43831.75) << "01.01.2020";
        QTest::newRow("no date") << DateValue::fromDays(0) << "__.__.____";
        QTest::newRow("before 1900") << DateValue::fromDays(-400) << "25.11.1898";
    }

    void storedDatesComeBackUnchanged() {
        QFETCH(DateValue, stored);
        QFETCH(QString, shown);
        DateEdit field;
        field.setDateRange(QDate(1900, 1, 1), QDate(2030, 12, 31));
        showStoredDate(&field, stored);
        QCOMPARE(field.lineEdit()->text(), shown);
        QCOMPARE(storedDate(&field, stored).days, stored.days);

        field.lineEdit()->setCursorPosition(0);
        QTest::keyClicks(field.lineEdit(), QStringLiteral("01022019"));
        QCOMPARE(toQDate(storedDate(&field, stored)), QDate(2019, 2, 1));
        // While the field shows no real date the stored one stands.
        field.lineEdit()->setCursorPosition(0);
        QTest::keyClicks(field.lineEdit(), QStringLiteral("30"));
        QCOMPARE(field.lineEdit()->text(), QStringLiteral("30.02.2019"));
        QCOMPARE(storedDate(&field, stored).days, stored.days);
    }
};

KV_QTEST_MAIN(DateEditTest)

#include "date_edit_test.moc"
