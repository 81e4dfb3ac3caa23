// The standard deductions screen: loading and saving its three count blocks,
// choices and business months, the two month dialogs and what a cancelled one
// leaves, the guardian box and the help notice.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "model/Declaration.h"
#include "screens/ScreenTable.h"
#include "support/TestValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>

using namespace kv;
using kv::test::child;
using kv::test::rub;
using kv::test::ScreenTestHost;

// Named, so that the type's name is one the meta-type system takes as written.
using ScreenEdit = std::function<void(QWidget*)>;
using RecordExpectation = std::function<bool(const kv::StandardDeduction&)>;
Q_DECLARE_METATYPE(ScreenEdit)
Q_DECLARE_METATYPE(RecordExpectation)

namespace {

// A granted record as a file from the screen holds it: every block's count is its
// largest month.
StandardDeduction entered() {
    StandardDeduction s;
    s.granted = 1;
    s.selfCode = 110;
    s.childStatus = 103;
    for (int m = 0; m < 12; ++m)
        s.setChildrenInMonth(m, m < 4 ? 1 : 2);
    s.childrenCount = 2;
    s.setDisabledCount(1);
    s.setThirdPlusInMonth(11, 1);
    s.thirdPlusCount = 1;
    s.monthlyBusinessSet = 1;
    s.monthlyBusinessIncome[0] = rub(60000);
    s.monthlyBusinessExpense[0] = Money::fromRaw(250000050); // 25000,005: three decimals
    s.monthlyMarks[0] = 1;
    s.monthlyMarks[1] = 1; // marked with no amounts
    s.monthlySelfCodesSet = 1;
    s.monthlySelfCodes = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2};
    s.monthlyChildStatusSet = 1;
    s.monthlyChildStatus = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    s.isGuardian = 1;
    return s;
}

std::unique_ptr<ScreenFrame> standardScreen(ScreenTestHost& host) {
    return std::unique_ptr<ScreenFrame>(
        ScreenRegistry::standard().create(ScreenId::StandardDeduction, nullptr, host));
}

void withBusiness(Declaration& d) {
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kBusinessIncomes);
}

QStringList monthTexts(QWidget* screen, const char* prefix) {
    QStringList texts;
    for (int m = 1; m <= 12; ++m)
        texts.append(kv::test::textOf(
            screen,
            qPrintable(
                QStringLiteral("%1%2").arg(QString::fromLatin1(prefix)).arg(m, 2, 10, QLatin1Char('0')))));
    return texts;
}

void typeMonths(QWidget* screen, const char* prefix, const QList<int>& counts) {
    for (int m = 0; m < counts.size(); ++m)
        kv::test::retype(
            screen,
            qPrintable(
                QStringLiteral("%1%2").arg(QString::fromLatin1(prefix)).arg(m + 1, 2, 10, QLatin1Char('0'))),
            QString::number(counts.at(m)));
}

// Chooses the month list's positions in an open month dialog and answers.
void answerMonths(QDialog& d, const QMap<int, int>& positions, const char* answer) {
    for (auto it = positions.begin(); it != positions.end(); ++it)
        child<QComboBox>(&d, qPrintable(QStringLiteral("cbMonth%1").arg(it.key(), 2, 10, QLatin1Char('0'))))
            ->setCurrentIndex(it.value());
    kv::test::clickButton(&d, answer);
}

} // namespace

class StandardTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void loadThenSaveChangesNothing_data() {
        QTest::addColumn<bool>("granted");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("selfCode");
        const int business = Declaration::kAgentIncomes | Declaration::kBusinessIncomes;
        QTest::newRow("granted, every month in use") << true << business << 110;
        QTest::newRow("not granted") << false << business << 110;
        QTest::newRow("a code the screen does not offer") << true << business << 0;
        // Another program may mark business incomes with the reserved bit alone: the
        // monthly business figures stay as they are.
        QTest::newRow("business marked by the reserved bit")
            << true << int{Declaration::kReservedFlag} << 110;
    }

    void loadThenSaveChangesNothing() {
        QFETCH(bool, granted);
        QFETCH(int, flags);
        QFETCH(int, selfCode);
        ScreenTestHost host;
        host.document->setIncomeFlags(static_cast<std::uint8_t>(flags));
        StandardDeduction& s = host.document->standardDeductions;
        s = entered();
        s.granted = granted ? 1 : 0;
        s.selfCode = selfCode;
        const Declaration before = *host.document;
        auto screen = standardScreen(host);
        if (granted) {
            QCOMPARE(monthTexts(screen.get(), "edChildren"),
                     QStringList({"1", "1", "1", "1", "2", "2", "2", "2", "2", "2", "2", "2"}));
            QCOMPARE(kv::test::textOf(screen.get(), "edChildren"), QStringLiteral("0"));
            QCOMPARE(kv::test::textOf(screen.get(), "edDisabled"), QStringLiteral("1"));
            // A count for the whole year shows in each month it applies to.
            QCOMPARE(monthTexts(screen.get(), "edDisabled"), QStringList(12, "1"));
            QVERIFY(child<QWidget>(screen.get(), "edChildren05")->isEnabled());
            QVERIFY(!child<QWidget>(screen.get(), "edChildren")->isEnabled());
            QCOMPARE(kv::test::textOf(screen.get(), "edExpense01"), QStringLiteral("25000,005"));
        }
        QCOMPARE(kv::test::textOf(screen.get(), "edIncome01"), QStringLiteral("60000"));
        screen->saveData();
        QVERIFY(*host.document == before);
        QCOMPARE(host.changes, 0);
        QCOMPARE(screen->checkData(), std::uint16_t{0});
    }

    // Unticking the box deletes what was entered: asked first, and "Нет" keeps it
    // ticked; "Да" deletes it all, so ticking again shows and stores a new record's
    // values. A new record's choices alone ask nothing.
    void uncheckingWithEntriesAsksFirst() {
        ScreenTestHost host;
        withBusiness(*host.document);
        StandardDeduction& s = host.document->standardDeductions;
        s = entered();
        s.granted = 1;
        auto screen = standardScreen(host);
        auto* box = child<QCheckBox>(screen.get(), "chbStandartDeduct");
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Нет"));
        box->click();
        QVERIFY(box->isChecked());
        QCOMPARE(host.changes, 0);
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Да"));
        box->click();
        QVERIFY(!box->isChecked());
        KV_VERIFY_ASKER(host.script);
        StandardDeduction granted;
        granted.granted = 1;
        QVERIFY(s == granted); // the box reaches the document on leaving
        box->click();
        QVERIFY(child<QRadioButton>(screen.get(), "rbSelf103")->isChecked());
        QVERIFY(child<QRadioButton>(screen.get(), "rbChild101")->isChecked());
        QVERIFY(child<QCheckBox>(screen.get(), "chbChildrenConstant")->isChecked());
        QCOMPARE(monthTexts(screen.get(), "edChildren"), QStringList(12, "0"));
        QCOMPARE(monthTexts(screen.get(), "edIncome"), QStringList(12, QString()));
        QVERIFY(!child<QCheckBox>(screen.get(), "chbMonth02")->isChecked());
        QVERIFY(!child<QWidget>(screen.get(), "pnlGuardian")->isVisibleTo(screen.get()));
        screen->saveData();
        QVERIFY(s == granted);

        ScreenTestHost fresh;
        fresh.document->standardDeductions.granted = 1;
        auto untouched = standardScreen(fresh);
        child<QCheckBox>(untouched.get(), "chbStandartDeduct")->click();
        QCOMPARE(fresh.document->standardDeductions.granted, std::uint8_t{1}); // saved only on leaving
        untouched->saveData();
        QCOMPARE(fresh.document->standardDeductions.granted, std::uint8_t{0});
        KV_VERIFY_ASKER(fresh.script);
    }

    // An un-granted record shows a new record's choices, and checking the box
    // stores what is shown.
    void checkingStoresTheShownDefaults() {
        ScreenTestHost host;
        StandardDeduction& s = host.document->standardDeductions;
        s = entered();
        s.granted = 0;
        auto screen = standardScreen(host);
        QVERIFY(child<QRadioButton>(screen.get(), "rbSelf103")->isChecked());
        QVERIFY(child<QRadioButton>(screen.get(), "rbChild101")->isChecked());
        QVERIFY(!child<QWidget>(screen.get(), "rbSelf104")->isEnabled());
        QVERIFY(!child<QWidget>(screen.get(), "pnlGuardian")->isVisibleTo(screen.get()));
        child<QCheckBox>(screen.get(), "chbStandartDeduct")->click();
        QCOMPARE(host.changes, 1);
        QVERIFY(child<QWidget>(screen.get(), "rbSelf104")->isEnabled());
        QVERIFY(child<QWidget>(screen.get(), "edChildren")->isEnabled());
        QVERIFY(!child<QWidget>(screen.get(), "edChildren01")->isEnabled());
        screen->saveData();
        QCOMPARE(s.granted, std::uint8_t{1});
        QCOMPARE(s.selfCode, 103);
        QCOMPARE(s.childStatus, 101);
        QCOMPARE(s.childrenConstant, std::uint8_t{1});
        QCOMPARE(s.childrenCount, 0);
        QCOMPARE(s.disabledConstant, std::uint8_t{1});
        QCOMPARE(s.disabledCount, 0);
        QCOMPARE(s.isGuardian, std::uint8_t{0});
        // The monthly codes belong to the dialogs, not to saveData.
        QCOMPARE(s.monthlySelfCodesSet, std::uint8_t{1});
    }

    void editsReachTheRecord_data() {
        using Edit = ScreenEdit;
        using Expect = RecordExpectation;
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<Expect>("expect");

        QTest::newRow("two children all year")
            << Edit([](QWidget* w) { kv::test::retype(w, "edChildren", "2"); })
            << Expect([](const StandardDeduction& s) {
                   return s.childrenConstant == 1 && s.childrenCount == 2;
               });
        QTest::newRow("a second child from May: the count is the largest month") << Edit([](QWidget* w) {
            child<QCheckBox>(w, "chbChildrenConstant")->click();
            typeMonths(w, "edChildren", {1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2});
        }) << Expect([](const StandardDeduction& s) {
            return s.childrenConstant == 0 && s.childrenCount == 2 && s.childrenByMonth[0] == 1 &&
                   s.childrenByMonth[4] == 2;
        });
        QTest::newRow("January empty: the stored count is where the largest month starts")
            << Edit([](QWidget* w) {
                   child<QCheckBox>(w, "chbThirdConstant")->click();
                   kv::test::retype(w, "edThird01", "");
                   kv::test::retype(w, "edThird12", "1");
               })
            << Expect([](const StandardDeduction& s) {
                   return s.thirdPlusConstant == 0 && s.thirdPlusCount == 1 && s.thirdPlusByMonth[0] == 0 &&
                          s.thirdPlusByMonth[11] == 1;
               });
        QTest::newRow("the up-down sets the count")
            << Edit([](QWidget* w) { child<QSpinBox>(w, "udDisabled")->stepBy(3); })
            << Expect([](const StandardDeduction& s) {
                   return s.disabledConstant == 1 && s.disabledCount == 3;
               });
        QTest::newRow("codes 105 and 102, a guardian") << Edit([](QWidget* w) {
            kv::test::clickButton(w, "rbSelf105");
            kv::test::clickButton(w, "rbChild102");
            kv::test::retype(w, "edDisabled", "1");
            kv::test::clickButton(w, "chbGuardian");
        }) << Expect([](const StandardDeduction& s) {
            return s.selfCode == 105 && s.childStatus == 102 && s.disabledCount == 1 && s.isGuardian == 1;
        });
        QTest::newRow("a business month typed is marked")
            << Edit([](QWidget* w) { kv::test::retype(w, "edExpense03", "700,5"); })
            << Expect([](const StandardDeduction& s) {
                   return s.monthlyBusinessSet == 1 && s.monthlyMarks[2] == 1 &&
                          s.monthlyBusinessExpense[2] == Money::fromRaw(7005000) &&
                          s.monthlyBusinessIncome[2].isZero();
               });
        QTest::newRow("a business month unmarked loses its amounts") << Edit([](QWidget* w) {
            kv::test::retype(w, "edIncome04", "100");
            kv::test::retype(w, "edExpense04", "50");
            child<QCheckBox>(w, "chbMonth04")->click();
        }) << Expect([](const StandardDeduction& s) {
            return s.monthlyBusinessSet == 0 && s.monthlyMarks[3] == 0 &&
                   s.monthlyBusinessIncome[3].isZero() && s.monthlyBusinessExpense[3].isZero();
        });
    }

    void editsReachTheRecord() {
        using Edit = ScreenEdit;
        using Expect = RecordExpectation;
        QFETCH(Edit, edit);
        QFETCH(Expect, expect);
        ScreenTestHost host;
        withBusiness(*host.document);
        host.document->standardDeductions.granted = 1;
        auto screen = standardScreen(host);
        edit(screen.get());
        QVERIFY(host.changes > 0);
        screen->saveData();
        QVERIFY(expect(host.document->standardDeductions));
    }

    void constantBoxCopiesTheCount() {
        ScreenTestHost host;
        host.document->standardDeductions.granted = 1;
        auto screen = standardScreen(host);
        kv::test::retype(screen.get(), "edChildren", "2");
        QCOMPARE(monthTexts(screen.get(), "edChildren"), QStringList(12, "2"));
        QCOMPARE(child<QSpinBox>(screen.get(), "udChildren")->value(), 2);
        auto* constant = child<QCheckBox>(screen.get(), "chbChildrenConstant");
        constant->click();
        QVERIFY(!child<QWidget>(screen.get(), "udChildren")->isEnabled());
        kv::test::retype(screen.get(), "edChildren07", "1");
        constant->click();
        QCOMPARE(monthTexts(screen.get(), "edChildren"), QStringList(12, "2"));
        QVERIFY(!child<QWidget>(screen.get(), "edChildren07")->isEnabled());
    }

    // A count is refused beyond what its up-down offers: the first-and-second-child
    // group holds at most two, in the year's count as in a month.
    void countsTakeNoMoreThanTheirRange_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("children: 2") << "edChildren"
                                     << "2"
                                     << "2";
        QTest::newRow("children: 3 refused") << "edChildren"
                                             << "3"
                                             << "";
        QTest::newRow("children: 9 refused") << "edChildren"
                                             << "9"
                                             << "";
        QTest::newRow("children in a month: 3 refused") << "edChildren05"
                                                        << "3"
                                                        << "";
        QTest::newRow("children in a month: 12 refused") << "edChildren05"
                                                         << "12"
                                                         << "1";
        QTest::newRow("from the third: 12") << "edThird"
                                            << "12"
                                            << "12";
        QTest::newRow("disabled in a month: 99") << "edDisabled05"
                                                 << "99"
                                                 << "99";
    }

    void countsTakeNoMoreThanTheirRange() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ScreenTestHost host;
        host.document->standardDeductions.granted = 1;
        auto screen = standardScreen(host);
        for (const char* box : {"chbChildrenConstant", "chbDisabledConstant"})
            if (field.endsWith(QStringLiteral("05")))
                child<QCheckBox>(screen.get(), box)->click();
        kv::test::retype(screen.get(), qPrintable(field), typed);
        QCOMPARE(kv::test::textOf(screen.get(), qPrintable(field)), shown);
    }

    void guardianShownWithDisabledChildren() {
        ScreenTestHost host;
        host.document->standardDeductions.granted = 1;
        auto screen = standardScreen(host);
        auto* guardian = child<QWidget>(screen.get(), "pnlGuardian");
        kv::test::retype(screen.get(), "edDisabled", "1");
        QVERIFY(guardian->isVisibleTo(screen.get()));
        kv::test::retype(screen.get(), "edDisabled", "0");
        QVERIFY(!guardian->isVisibleTo(screen.get()));
        child<QCheckBox>(screen.get(), "chbDisabledConstant")->click();
        kv::test::retype(screen.get(), "edDisabled09", "1");
        QVERIFY(guardian->isVisibleTo(screen.get()));
    }

    void businessAreaNeedsBusinessIncomes() {
        ScreenTestHost host;
        StandardDeduction& s = host.document->standardDeductions;
        s = entered();
        auto screen = standardScreen(host);
        QVERIFY(!child<QWidget>(screen.get(), "chbMonth01")->isEnabled());
        QVERIFY(!child<QWidget>(screen.get(), "edIncome01")->isEnabled());
        QCOMPARE(kv::test::textOf(screen.get(), "edIncome01"), QString());
        screen->saveData();
        QCOMPARE(s.monthlyBusinessSet, std::uint8_t{0});
        QVERIFY(s.monthlyBusinessIncome[0].isZero());
        QCOMPARE(s.monthlyMarks[0], std::uint8_t{0});
    }

    // At the size the window gives the screen, every month of the business area reads
    // whole, and so do its row captions.
    void businessMonthsReadWhole() {
        ScreenTestHost host;
        withBusiness(*host.document);
        // The panel the window gives the inner screens at its usual size.
        QWidget panel;
        panel.setFixedSize(790, 540);
        auto* layout = new QVBoxLayout(&panel);
        std::unique_ptr<ScreenFrame> screen(
            ScreenRegistry::standard().create(ScreenId::StandardDeduction, &panel, host));
        layout->addWidget(screen.get());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* area = child<QWidget>(screen.get(), "gbBusiness");
        QStringList read;
        for (QWidget* w : area->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w))
                text = label->text();
            else if (auto* box = qobject_cast<QCheckBox*>(w))
                text = box->text();
            if (text.isEmpty())
                continue;
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(text));
            read.append(text);
        }
        for (const QString& month : {QStringLiteral("Январь"), QStringLiteral("Сентябрь"),
                                     QStringLiteral("Декабрь"), QStringLiteral("Расходы")})
            QVERIFY2(read.contains(month), qPrintable(month));
    }

    void monthDialogsStoreOnYes_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("own code") << "rbSelf110"
                                  << "TfmDif" << QStringList{"----", "104", "105"};
        QTest::newRow("single parent") << "rbChild103"
                                       << "TfmDif2" << QStringList{"да", "нет"};
    }

    void monthDialogsStoreOnYes() {
        QFETCH(QString, radio);
        QFETCH(QString, dialog);
        QFETCH(QStringList, choices);
        ScreenTestHost host;
        host.document->standardDeductions.granted = 1;
        auto screen = standardScreen(host);
        kv::test::whenModal(dialog, [&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Комбинация стандартных вычетов"));
            auto* may = child<QComboBox>(&d, "cbMonth05");
            QStringList items;
            for (int i = 0; i < may->count(); ++i)
                items.append(may->itemText(i));
            QCOMPARE(items, choices);
            answerMonths(d, {{7, 1}, {12, 1}}, "bnOk");
        });
        child<QRadioButton>(screen.get(), qPrintable(radio))->click();
        const StandardDeduction& s = host.document->standardDeductions;
        const MonthInts expected = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        if (dialog == QLatin1String("TfmDif")) {
            QCOMPARE(s.monthlySelfCodesSet, std::uint8_t{1});
            QVERIFY(s.monthlySelfCodes == expected);
        } else {
            QCOMPARE(s.monthlyChildStatusSet, std::uint8_t{1});
            QVERIFY(s.monthlyChildStatus == expected);
        }
        QVERIFY(host.changes > 0);

        // A double click on the chosen button opens the dialog again, preset.
        kv::test::whenModal(dialog, [](QDialog& d) {
            QCOMPARE(child<QComboBox>(&d, "cbMonth07")->currentIndex(), 1);
            answerMonths(d, {{1, 1}}, "bnOk");
        });
        QTest::mouseDClick(child<QRadioButton>(screen.get(), qPrintable(radio)), Qt::LeftButton);
        QCOMPARE((dialog == QLatin1String("TfmDif") ? s.monthlySelfCodes : s.monthlyChildStatus)[0], 1);
        screen->saveData();
        QCOMPARE(dialog == QLatin1String("TfmDif") ? s.selfCode : s.childStatus,
                 dialog == QLatin1String("TfmDif") ? 110 : 103);
    }

    // "Нет" with no month ever chosen puts the previous choice back: a changed code
    // without months would grant nothing. With months chosen before, the change stays.
    void cancelledMonthDialog_data() {
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("monthsSet");
        QTest::addColumn<int>("saved");
        QTest::newRow("own code, no months") << "rbSelf104"
                                             << "rbSelf110"
                                             << "TfmDif" << false << 104;
        QTest::newRow("own code, months set before") << "rbSelf104"
                                                     << "rbSelf110"
                                                     << "TfmDif" << true << 110;
        QTest::newRow("status, no months") << "rbChild102"
                                           << "rbChild103"
                                           << "TfmDif2" << false << 102;
        QTest::newRow("status, months set before") << "rbChild102"
                                                   << "rbChild103"
                                                   << "TfmDif2" << true << 103;
    }

    void cancelledMonthDialog() {
        QFETCH(QString, previous);
        QFETCH(QString, radio);
        QFETCH(QString, dialog);
        QFETCH(bool, monthsSet);
        QFETCH(int, saved);
        ScreenTestHost host;
        StandardDeduction& s = host.document->standardDeductions;
        s.granted = 1;
        s.monthlySelfCodesSet = monthsSet ? 1 : 0;
        s.monthlyChildStatusSet = monthsSet ? 1 : 0;
        const MonthInts before = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};
        s.monthlySelfCodes = before;
        s.monthlyChildStatus = before;
        auto screen = standardScreen(host);
        child<QRadioButton>(screen.get(), qPrintable(previous))->click();
        kv::test::whenModal(dialog, [](QDialog& d) { answerMonths(d, {{1, 0}}, "bnCancel"); });
        child<QRadioButton>(screen.get(), qPrintable(radio))->click();
        QCOMPARE(child<QRadioButton>(screen.get(), qPrintable(radio))->isChecked(), monthsSet);
        QVERIFY(s.monthlySelfCodes == before && s.monthlyChildStatus == before);
        screen->saveData();
        QCOMPARE(dialog == QLatin1String("TfmDif") ? s.selfCode : s.childStatus, saved);
    }

    void helpNoticeOpensItsPage() {
        ScreenTestHost host;
        auto screen = standardScreen(host);
        host.script.expect(QStringLiteral("standardDeductionsHelp"), QStringLiteral("Закрыть"));
        QTest::mouseClick(child<QLabel>(screen.get(), "lblHelp"), Qt::LeftButton);
        KV_VERIFY_ASKER(host.script);
        const Question& q = host.script.questions().at(0);
        QCOMPARE(q.helpTopic, QStringLiteral("StandartDeductions.htm"));
        QVERIFY(q.text.startsWith(QStringLiteral("В программах Квилмар 2018 и Квилмар 2019 относительно")));
        QCOMPARE(child<QLabel>(screen.get(), "lblHelp")->toolTip(), QStringLiteral("Нажми на меня!"));
    }
};

KV_QTEST_MAIN(StandardTest)

#include "standard_test.moc"
