// The investment-partnership screen and its two dialogs through the widgets: the
// payer check, the kind of operations (the dialog stays open without one), kind 6
// hiding the manager and loss fields, the rows' display, deleting, and a return
// opened and left unchanged.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/InvestPartnershipScreen.h"
#include "screens/PartnershipDialogs.h"
#include "support/TestValues.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::amount;
using kv::test::ScreenTestHost;

namespace {

void chooseKind(QDialog& d, int kind) {
    auto* combo = kv::test::child<QComboBox>(&d, "cbOperationKind");
    combo->setCurrentIndex(kind - 1);
    emit combo->activated(kind - 1);
}

InvestmentPartnership partnership() {
    InvestmentPartnership p;
    p.sourceName = Cp1251Text::fromUtf8("ИТ \"Вектор\"");
    p.sourceInn = "7704112233";
    PartnershipIncomeItem item;
    item.operationKind = 2;
    item.incomeAmount = amount("90000");
    item.expenseShare = amount("15000");
    item.managerExpenses = amount("5000");
    item.priorYearsLoss = amount("1000");
    item.contributions = amount("700");
    p.addItem(item);
    p.taxWithheld = amount("10.50"); // kopecks no person could type in whole roubles
    p.taxableAmount = amount("69000.1234");
    p.taxCalculated = amount("8970");
    return p;
}

} // namespace

class PartnershipTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    // The dialog stays open without a kind, whatever the answer to the message.
    void incomeDialogNeedsAKind_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Исправить") << QStringLiteral("Исправить");
        QTest::newRow("closed") << QString();
    }
    void incomeDialogNeedsAKind() {
        QFETCH(QString, answer);
        ScreenTestHost host;
        PartnershipIncomeDialog dialog(host.script, PartnershipIncomeItem{}, nullptr);
        if (answer.isEmpty())
            host.script.expect(QStringLiteral("TfmCheckError"),
                               QStringLiteral("Пропустить")); // disabled: closes
        else
            host.script.expect(QStringLiteral("TfmCheckError"), answer);
        dialog.show();
        kv::test::clickButton(&dialog, "bnOk");
        QVERIFY(dialog.isVisible());
        const Question& q = host.script.questions().first();
        QCOMPARE(q.title, QStringLiteral("Проверка данных участия в инвест. тов."));
        QCOMPARE(q.text, QStringLiteral("Не выбран вид операций"));
        QVERIFY(!q.answerEnabled(1));
        QVERIFY(!q.answerEnabled(2));
        // Enter and Escape have no action of their own here.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        chooseKind(dialog, 3);
        kv::test::retype(&dialog, "edIncomeAmount", QStringLiteral("500"));
        kv::test::clickButton(&dialog, "bnOk");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.item().operationKind, 3);
        QCOMPARE(dialog.item().incomeAmount, amount("500"));
        host.script.clear();
    }

    // The payer check is titled after the partnership on "Да" and after the 13% screen on Enter.
    void payerCheckTitleFollowsHowTheDialogIsConfirmed() {
        ScreenTestHost host;
        PartnershipSourceDialog dialog(host.script, InvestmentPartnership{}, nullptr);
        dialog.show();
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        kv::test::clickButton(&dialog, "bnOk");
        QTest::keyClick(kv::test::child<QWidget>(&dialog, "edSourceName"), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        KV_VERIFY_ASKER(host.script);
        const QList<Question>& asked = host.script.questions();
        QCOMPARE(asked.at(0).title,
                 QStringLiteral("Проверка: Доходы от участия в инвестиционном товариществе"));
        QCOMPARE(asked.at(1).title, QStringLiteral("Проверка: Доходы, облагаемые по ставке 13%"));
        QCOMPARE(asked.at(1).text, QStringLiteral("Не заполненно поле \"Наименование источника выплаты\""));
        QVERIFY(!asked.at(1).answerEnabled(1)); // no skipping
    }

    void exitKindHidesManagerAndLossFields() {
        ScreenTestHost host;
        PartnershipIncomeItem item;
        item.operationKind = 1;
        item.managerExpenses = amount("100");
        PartnershipIncomeDialog dialog(host.script, item, nullptr);
        dialog.show();
        chooseKind(dialog, 6);
        QVERIFY(kv::test::child<QLabel>(&dialog, "lblContributions")->isVisible());
        QVERIFY(!kv::test::child<QLabel>(&dialog, "lblExpenseShare")->isVisible());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edManagerExpenses")->isVisible());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edPriorYearsLoss")->isVisible());
        chooseKind(dialog, 1);
        QVERIFY(kv::test::child<QWidget>(&dialog, "edManagerExpenses")->isVisible());
        QCOMPARE(kv::test::textOf(&dialog, "edManagerExpenses"), QStringLiteral("0"));
        kv::test::clickButton(&dialog, "bnOk");
        QCOMPARE(dialog.item().managerExpenses, Money{});
        KV_VERIFY_ASKER(host.script);
    }

    void enteringPartnershipsAndIncomes() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kPartnershipIncomes);
        InvestPartnershipScreen screen(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(&screen, "bnAddIncome")->isEnabled());

        // The payer check runs without skipping; the name is required.
        kv::test::whenModal(QStringLiteral("TfmInputSourseInvestTov"), [&host](QDialog& d) {
            host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
            kv::test::clickButton(&d, "bnOk");
            QVERIFY(d.isVisible());
            QCOMPARE(host.script.questions().last().title,
                     QStringLiteral("Проверка: Доходы от участия в инвестиционном товариществе"));
            QVERIFY(!host.script.questions().last().answerEnabled(1));
            kv::test::retype(&d, "edSourceName", QStringLiteral("ИТ Альфа"));
            kv::test::retype(&d, "edSourceInn", QStringLiteral("7704123450"));
            kv::test::retype(&d, "edSourceKpp", QStringLiteral("770401001"));
            kv::test::retype(&d, "edSourceOktmo", QStringLiteral("45382000"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(host.document->investPartnerships.count(), 1);
        QVERIFY(kv::test::child<QWidget>(&screen, "bnAddIncome")->isEnabled());

        kv::test::whenModal(QStringLiteral("TfmIncomeInvestTov"), [](QDialog& d) {
            chooseKind(d, 1);
            kv::test::retype(&d, "edIncomeAmount", QStringLiteral("0"));
            kv::test::retype(&d, "edExpenseShare", QStringLiteral("0"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddIncome");
        KV_VERIFY_MODALS();
        kv::test::whenModal(QStringLiteral("TfmIncomeInvestTov"), [](QDialog& d) {
            chooseKind(d, 5);
            kv::test::retype(&d, "edIncomeAmount", QStringLiteral("1000,50"));
            kv::test::retype(&d, "edExpenseShare", QStringLiteral("300"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddIncome");
        KV_VERIFY_MODALS();
        auto* incomes = kv::test::child<QTreeWidget>(&screen, "lvIncomes");
        QCOMPARE(kv::test::rowsOf(incomes), (QStringList{"1|Нет|-|Нет|-", "5|1 000,50|300,00|Нет|-"}));
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("1 000,50"));

        // Emptied and left: the taxable amount is stored as 0.
        kv::test::retype(&screen, "edTaxableAmount", QStringLiteral("700"));
        screen.saveData();
        QCOMPARE(host.document->investPartnerships.get(0).taxableAmount, amount("700"));
        kv::test::retype(&screen, "edTaxableAmount", QString());
        screen.saveData();
        QCOMPARE(host.document->investPartnerships.get(0).taxableAmount, Money{});

        // Shown again from the document, rows read as they did when entered.
        host.document->investPartnerships.add(partnership());
        InvestPartnershipScreen again(nullptr, host);
        again.setFocusToElement(1);
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&again, "lvIncomes")),
                 (QStringList{"1|Нет|-|Нет|-", "5|1 000,50|300,00|Нет|-"}));

        // Deleting an income, then both partnerships.
        kv::test::child<QTreeWidget>(&again, "lvIncomes")
            ->setCurrentItem(kv::test::child<QTreeWidget>(&again, "lvIncomes")->topLevelItem(0));
        kv::test::clickButton(&again, "bnDeleteIncome");
        QCOMPARE(host.document->investPartnerships.get(0).itemCount(), 1);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&again, "bnDeleteSource");
        QCOMPARE(kv::test::textOf(&again, "edTaxableAmount"), QStringLiteral("69000,1234"));
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&again, "bnDeleteSource");
        QCOMPARE(host.document->investPartnerships.count(), 0);
        QVERIFY(!kv::test::child<QWidget>(&again, "bnAddIncome")->isEnabled());
        for (const char* total : {"edTotalIncome", "edTaxWithheld", "edTaxableAmount", "edTaxCalculated"})
            QCOMPARE(kv::test::textOf(&again, total), QString());
        KV_VERIFY_ASKER(host.script);
    }

    void editingAnIncomeKeepsWhatNoFieldShows() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kPartnershipIncomes);
        host.document->investPartnerships.add(partnership());
        const InvestmentPartnership before = host.document->investPartnerships.get(0);
        {
            InvestPartnershipScreen screen(nullptr, host);
            screen.selectFirstEntry();
            QCOMPARE(kv::test::textOf(&screen, "edTaxWithheld"), QStringLiteral("10,5"));
            screen.saveData();
        }
        QCOMPARE(host.changes, 0);
        QVERIFY(host.document->investPartnerships.get(0) == before);

        InvestPartnershipScreen screen(nullptr, host);
        screen.selectFirstEntry();
        kv::test::whenModal(QStringLiteral("TfmIncomeInvestTov"), [](QDialog& d) {
            QCOMPARE(kv::test::textOf(&d, "edPriorYearsLoss"), QStringLiteral("1000"));
            kv::test::retype(&d, "edIncomeAmount", QStringLiteral("95000"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnEditIncome");
        KV_VERIFY_MODALS();
        const InvestmentPartnership& p = host.document->investPartnerships.get(0);
        QCOMPARE(p.totalIncome, amount("95000"));
        QCOMPARE(p.item(0).contributions, amount("700"));
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("95 000,00"));
    }
};

KV_QTEST_MAIN(PartnershipTest)

#include "partnership_test.moc"
