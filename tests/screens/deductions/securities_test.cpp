// The securities losses and investment deductions screen: which field holds which
// amount, the master boxes, the 400 000 cap and the rule that keeps p.3 and p.2
// apart, and the check boxes marking the document.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "model/Declaration.h"
#include "screens/ScreenTable.h"
#include "support/TestValues.h"

#include <QCheckBox>
#include <QTest>
#include <memory>

using namespace kv;
using kv::test::child;
using kv::test::rub;
using kv::test::ScreenTestHost;

namespace {

std::unique_ptr<ScreenFrame> securitiesScreen(ScreenTestHost& host) {
    return std::unique_ptr<ScreenFrame>(
        ScreenRegistry::standard().create(ScreenId::Securities, nullptr, host));
}

void granted(Declaration& d) {
    SecuritiesLossDeduction& l = d.securitiesLosses;
    l.granted = 1;
    l.securitiesLoss = rub(1);
    l.derivativesLoss = rub(2);
    l.partnershipLoss = rub(3);
    l.securitiesLossIis = rub(4);
    l.derivativesLossIis = Money::fromRaw(50001); // 5,0001: more decimals than a person types
    l.partnershipLossIis = rub(-6);               // negative: kept as the document has it
    InvestmentDeduction& i = d.investmentDeductions;
    i.granted = 1;
    i.invSecurities = rub(100000);
    i.invPartnership = Money::fromRaw(123456789);
    i.invIisContributions = rub(52000);
    i.invRefundable = rub(13000);
}

} // namespace

class SecuritiesTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void loadThenSaveChangesNothing_data() {
        QTest::addColumn<bool>("filled");
        QTest::newRow("both granted") << true;
        QTest::newRow("a new return") << false;
    }

    void loadThenSaveChangesNothing() {
        QFETCH(bool, filled);
        ScreenTestHost host;
        if (filled)
            granted(*host.document);
        const Declaration before = *host.document;
        auto screen = securitiesScreen(host);
        screen->saveData();
        QVERIFY(*host.document == before);
        QCOMPARE(host.changes, 0);
        QCOMPARE(screen->checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
    }

    // Each field shows and stores its own amount.
    void fieldsHoldTheirAmounts() {
        struct Row {
            const char* field;
            QString shown;
        };
        const Row rows[] = {
            {"meCB", "1"},           {"meFiss", "2"},
            {"meInvTov", "3"},       {"meCBIIS", "4"},
            {"meFissIIS", "5,0001"}, {"meInvTovIIS", "-6"},
            {"meInvCB", "100000"},   {"meInvCBTov", "12345,6789"},
            {"meInvP2", "52000"},    {"meP2Vozvr", "13000"},
        };
        ScreenTestHost host;
        granted(*host.document);
        auto screen = securitiesScreen(host);
        for (const Row& row : rows)
            QCOMPARE(kv::test::textOf(screen.get(), row.field), row.shown);
        QVERIFY(!child<QWidget>(screen.get(), "chbIsP3")->isEnabled());

        for (const Row& row : rows)
            kv::test::retype(screen.get(), row.field, QString());
        kv::test::retype(screen.get(), "meFiss", QStringLiteral("20"));
        kv::test::retype(screen.get(), "meInvTovIIS", QStringLiteral("60"));
        kv::test::retype(screen.get(), "meInvCBTov", QStringLiteral("70"));
        kv::test::retype(screen.get(), "meP2Vozvr", QStringLiteral("80"));
        screen->saveData();
        const SecuritiesLossDeduction& l = host.document->securitiesLosses;
        const InvestmentDeduction& i = host.document->investmentDeductions;
        QVERIFY(l.securitiesLoss.isZero() && l.partnershipLoss.isZero() && l.securitiesLossIis.isZero());
        QVERIFY(l.derivativesLoss == rub(20) && l.partnershipLossIis == rub(60));
        QVERIFY(l.derivativesLossIis.isZero());
        QVERIFY(i.invSecurities.isZero() && i.invIisContributions.isZero());
        QVERIFY(i.invPartnership == rub(70) && i.invRefundable == rub(80));
    }

    void notGrantedLoadsEmpty() {
        ScreenTestHost host;
        granted(*host.document);
        host.document->investmentDeductions.granted = 0;
        host.document->investmentDeductions.applyP3 = 1;
        host.document->securitiesLosses.granted = 0;
        auto screen = securitiesScreen(host);
        for (const char* name : {"meInvCB", "meInvCBTov", "meInvP2", "meP2Vozvr", "meCB", "meInvTovIIS"}) {
            QCOMPARE(kv::test::textOf(screen.get(), name), QString());
            QVERIFY(!child<QWidget>(screen.get(), name)->isEnabled());
        }
        auto* p3 = child<QCheckBox>(screen.get(), "chbIsP3");
        QVERIFY(!p3->isChecked() && !p3->isEnabled());
        screen->saveData();
        const InvestmentDeduction& i = host.document->investmentDeductions;
        QVERIFY(i == InvestmentDeduction{});
        QVERIFY(host.document->securitiesLosses == SecuritiesLossDeduction{});
    }

    void p2IsCappedAndExcludesP3_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("over the limit") << "500000"
                                        << "400000";
        QTest::newRow("the limit itself") << "400000"
                                          << "400000";
        QTest::newRow("a kopeck over") << "400000,01"
                                       << "400000";
        QTest::newRow("under the limit") << "399999,99"
                                         << "399999,99";
    }

    void p2IsCappedAndExcludesP3() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ScreenTestHost host;
        host.document->investmentDeductions.granted = 1;
        auto screen = securitiesScreen(host);
        auto* p3 = child<QCheckBox>(screen.get(), "chbIsP3");
        QVERIFY(p3->isEnabled());
        kv::test::retype(screen.get(), "meInvP2", typed);
        QCOMPARE(kv::test::textOf(screen.get(), "meInvP2"), shown);
        QVERIFY(!p3->isEnabled());
        kv::test::retype(screen.get(), "meInvP2", QString());
        QVERIFY(p3->isEnabled());
        // The refundable part alone holds the box off as well, without a cap.
        kv::test::retype(screen.get(), "meP2Vozvr", typed);
        QCOMPARE(kv::test::textOf(screen.get(), "meP2Vozvr"), typed);
        QVERIFY(!p3->isEnabled());
    }

    // A return holding both keeps both through a visit; ticking p.3 again empties p.2.
    void p3BesideStoredP2() {
        ScreenTestHost host;
        granted(*host.document);
        host.document->investmentDeductions.applyP3 = 1;
        const Declaration before = *host.document;
        auto screen = securitiesScreen(host);
        auto* p3 = child<QCheckBox>(screen.get(), "chbIsP3");
        QVERIFY(p3->isChecked() && p3->isEnabled());
        QCOMPARE(kv::test::textOf(screen.get(), "meInvP2"), QStringLiteral("52000"));
        QVERIFY(!child<QWidget>(screen.get(), "meInvP2")->isEnabled());
        QVERIFY(!child<QWidget>(screen.get(), "meP2Vozvr")->isEnabled());
        screen->saveData();
        QVERIFY(*host.document == before);

        p3->click();
        QVERIFY(child<QWidget>(screen.get(), "meInvP2")->isEnabled());
        p3->click();
        QCOMPARE(kv::test::textOf(screen.get(), "meInvP2"), QString());
        QCOMPARE(kv::test::textOf(screen.get(), "meP2Vozvr"), QString());
        QVERIFY(!child<QWidget>(screen.get(), "meInvP2")->isEnabled());
        screen->saveData();
        const InvestmentDeduction& i = host.document->investmentDeductions;
        QVERIFY(i.invIisContributions.isZero() && i.invRefundable.isZero());
        QCOMPARE(i.applyP3, std::uint8_t{1});
    }

    // Each box changes what saveData writes, so each click marks the document,
    // also when no field's text changes with it.
    void boxesMarkTheDocument_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("p3");
        QTest::addColumn<bool>("invGranted");
        QTest::addColumn<bool>("lossGranted");
        QTest::newRow("p.3 ticked") << "chbIsP3" << true << true << false;
        QTest::newRow("investment master cleared") << "chbGrantingInvDeduct" << false << false << false;
        QTest::newRow("losses master ticked") << "chbGrantingDeductCB" << false << true << true;
    }

    void boxesMarkTheDocument() {
        QFETCH(QString, box);
        QFETCH(bool, p3);
        QFETCH(bool, invGranted);
        QFETCH(bool, lossGranted);
        ScreenTestHost host;
        host.document->investmentDeductions.granted = 1;
        auto screen = securitiesScreen(host);
        child<QCheckBox>(screen.get(), qPrintable(box))->click();
        QCOMPARE(host.changes, 1);
        screen->saveData();
        QCOMPARE(host.document->investmentDeductions.applyP3, std::uint8_t{p3});
        QCOMPARE(host.document->investmentDeductions.granted, std::uint8_t{invGranted});
        QCOMPARE(host.document->securitiesLosses.granted, std::uint8_t{lossGranted});
    }

    void clearingLossesStoresZeros() {
        ScreenTestHost host;
        granted(*host.document);
        auto screen = securitiesScreen(host);
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Нет"));
        child<QCheckBox>(screen.get(), "chbGrantingDeductCB")->click();
        QVERIFY(child<QWidget>(screen.get(), "meFissIIS")->isEnabled());
        QVERIFY(!kv::test::textOf(screen.get(), "meFissIIS").isEmpty());
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Да"));
        child<QCheckBox>(screen.get(), "chbGrantingDeductCB")->click();
        QVERIFY(!child<QWidget>(screen.get(), "meFissIIS")->isEnabled());
        screen->saveData();
        QVERIFY(host.document->securitiesLosses == SecuritiesLossDeduction{});
        QCOMPARE(screen->checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
    }
};

KV_QTEST_MAIN(SecuritiesTest)

#include "securities_test.moc"
