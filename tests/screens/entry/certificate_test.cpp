// "Загрузить справку 2-НДФЛ..." of the 13% screen: the file dialog, the preview of the
// certificate and what it changes, the question before a source is replaced; the return
// changes only on "Загрузить".
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/Income13Screen.h"
#include "screens/kit/ScreenWidgets.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::ScreenTestHost;

namespace {

QString certificate(const char* name) {
    return QDir(QStringLiteral(KV_CERTIFICATES)).filePath(QString::fromLatin1(name));
}

QString labelText(QDialog& d, const char* name) {
    return kv::test::child<QLabel>(&d, name)->text();
}

// A return of the taxpayer of the fixtures, ready for incomes from certificates.
void taxpayerOfFixtures(Declaration& d) {
    d.setIncomeFlags(Declaration::kAgentIncomes);
    d.person.inn = "772801234583";
}

// Opens the file through the screen's button; the preview is handled by `preview`, the
// question before a source is replaced answered with replaceAnswer.
void importThroughScreen(ScreenTestHost& host, Income13Screen& screen, const QString& file,
                         std::function<void(QDialog&)> preview, const QString& replaceAnswer = {}) {
    host.script.expectFile(QStringLiteral("openCertificate"), file);
    if (!replaceAnswer.isEmpty())
        host.script.expect(QStringLiteral("certificateReplace"), replaceAnswer);
    kv::test::whenModal(QStringLiteral("CertificatePreviewDialog"), std::move(preview));
    kv::test::clickButton(&screen, "bnImportCertificate");
}

class CertificateTest : public QObject {
    Q_OBJECT

private slots:
    void previewShowsTheCertificateAndLoadAddsIt() {
        ScreenTestHost host;
        taxpayerOfFixtures(*host.document);
        Income13Screen screen(nullptr, host);
        importThroughScreen(host, screen, certificate("salary.xml"), [](QDialog& d) {
            QVERIFY(labelText(d, "lbAgent").contains(QStringLiteral("ООО \"РОМАШКА\", ИНН 7728012340")));
            QCOMPARE(kv::test::child<QComboBox>(&d, "cbRecipient")->currentText(),
                     QStringLiteral(
                         "Иванов Иван Иванович, ИНН 772801234583, дата рождения 12.05.1985, справка № 17"));
            auto* months = kv::test::child<QTreeWidget>(&d, "lvMonths");
            QCOMPARE(months->topLevelItemCount(), 13);
            QCOMPARE(kv::test::rowsOf(months).at(6), QStringLiteral("13%|6|2012|10 150,50|Нет|-"));
            QVERIFY(labelText(d, "lbTotals")
                        .contains(QStringLiteral("доход ") +
                                  groupedAmount(Money::fromRoubles(610150) + Money::fromRaw(5000))));
            QCOMPARE(kv::test::child<QListWidget>(&d, "lvWarnings")->item(0)->text(),
                     QStringLiteral("Нет: суммы справки сходятся."));
            QVERIFY(labelText(d, "lbChanges").contains(QStringLiteral("Доходы по ставке 13%: 1")));
            kv::test::clickButton(&d, "bnLoad");
        });
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->incomes13.get(0).itemCount(), 13);
        QVERIFY(host.changes > 0);
        auto* sources = kv::test::child<QTreeWidget>(&screen, "lvSources");
        QCOMPARE(sources->topLevelItemCount(), 1);
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("610 150,50"));
    }

    void cancelOrARefusedFileChangesNothing() {
        ScreenTestHost host;
        taxpayerOfFixtures(*host.document);
        Income13Screen screen(nullptr, host);
        const Declaration before = *host.document;
        importThroughScreen(host, screen, certificate("salary.xml"),
                            [](QDialog& d) { kv::test::clickButton(&d, "bnCancel"); });
        KV_VERIFY_MODALS();

        QTemporaryDir dir;
        const QString cut = dir.filePath(QStringLiteral("cut.xml"));
        QFile in(certificate("salary.xml"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QFile out(cut);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(in.readAll().left(700));
        out.close();
        host.script.expectFile(QStringLiteral("openCertificate"), cut);
        host.script.expect(QStringLiteral("certificateRefused"), QStringLiteral("OK"));
        kv::test::clickButton(&screen, "bnImportCertificate");
        QVERIFY(host.script.textOf(QStringLiteral("certificateRefused")).contains(QStringLiteral("обрезан")));

        // A certificate the return cannot hold is shown with the reason, and cannot be
        // loaded: a non-resident's return takes no deductions granted by the agent.
        host.document->declarationKind = 1;
        importThroughScreen(host, screen, certificate("standard.xml"), [](QDialog& d) {
            QVERIFY(labelText(d, "lbChanges").startsWith(QStringLiteral("Справка не может быть загружена")));
            QVERIFY(!kv::test::child<QPushButton>(&d, "bnLoad")->isEnabled());
            kv::test::clickButton(&d, "bnCancel");
        });
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        host.document->declarationKind = 0;
        QVERIFY(*host.document == before);
        QCOMPARE(host.changes, 0);
    }

    void theSameAgentAgainIsReplacedOnlyAfterTheQuestion() {
        ScreenTestHost host;
        taxpayerOfFixtures(*host.document);
        Income13Screen screen(nullptr, host);
        const auto load = [](QDialog& d) { kv::test::clickButton(&d, "bnLoad"); };
        importThroughScreen(host, screen, certificate("salary.xml"), load);
        KV_VERIFY_MODALS();
        const Declaration once = *host.document;

        importThroughScreen(
            host, screen, certificate("salary.xml"),
            [](QDialog& d) {
                QVERIFY(labelText(d, "lbChanges")
                            .contains(QStringLiteral("Будет заменен источник «ООО \"РОМАШКА\"»")));
                kv::test::clickButton(&d, "bnLoad");
            },
            QStringLiteral("Отмена"));
        KV_VERIFY_MODALS();
        QVERIFY(*host.document == once);

        importThroughScreen(host, screen, certificate("salary.xml"), load, QStringLiteral("Заменить"));
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->incomes13.count(), 1);
        QVERIFY(*host.document == once);
    }

    void thePersonChoosesTheRecipientWhenTheReturnDoesNotSay() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        Income13Screen screen(nullptr, host);
        importThroughScreen(host, screen, certificate("two_recipients.xml"), [](QDialog& d) {
            QVERIFY(kv::test::child<QLabel>(&d, "lbChoose")->isVisibleTo(&d));
            auto* recipients = kv::test::child<QComboBox>(&d, "cbRecipient");
            QCOMPARE(recipients->count(), 2);
            recipients->setCurrentIndex(1);
            QCOMPARE(kv::test::child<QTreeWidget>(&d, "lvMonths")->topLevelItemCount(), 2);
            kv::test::clickButton(&d, "bnLoad");
        });
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->incomes13.get(0).totalIncome, Money::fromRoubles(80000));
    }
};

} // namespace

KV_QTEST_MAIN(CertificateTest)

#include "certificate_test.moc"
