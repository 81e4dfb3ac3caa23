// The "Расчёт" window: its figures against the computation for the example returns,
// the amount format, when it appears, and a computation that cannot run.
#include "ModalAnswers.h"
#include "ShellFixture.h"
#include "compute/ReturnComputation.h"
#include "screens/kit/UiText.h"
#include "shell/ResultSummary.h"
#include "support/TestValues.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <map>

using namespace kv;
using kv::test::rub;

namespace {

ResultSummaryDialog* summaryOf(MainWindow& w) {
    return w.findChild<ResultSummaryDialog*>(QStringLiteral("ResultSummary"));
}

QString headlineOf(MainWindow& w) {
    return summaryOf(w)->findChild<QLabel*>(QStringLiteral("lblResult"))->text();
}

QTableWidget* tableOf(MainWindow& w, const char* name) {
    return summaryOf(w)->findChild<QTableWidget*>(QString::fromLatin1(name));
}

QStringList rowOf(QTableWidget* t, int row) {
    QStringList cells;
    for (int c = 0; c < t->columnCount(); ++c)
        cells << t->item(row, c)->text();
    return cells;
}

QString cell(Money m) {
    return m.isZero() ? QStringLiteral("—") : groupedRoubles(m);
}

} // namespace

class ResultTest : public QObject {
    Q_OBJECT

    kv::test::ShellFixture fx;

private slots:
    void init() { fx.begin(); }
    void cleanup() {
        fx.end();
        KV_VERIFY_ASKER(fx.asker);
    }

    void amountsWithDigitGroups_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
        const QString nb(QChar(0x00A0));
        QTest::newRow("zero") << qint64(0) << "0" + nb + "₽";
        QTest::newRow("thousands") << qint64(1560000000) << "156" + nb + "000" + nb + "₽";
        QTest::newRow("kopecks") << qint64(12345000) << "1" + nb + "234,50" + nb + "₽";
        QTest::newRow("half a kopeck up") << qint64(9999950) << "1" + nb + "000" + nb + "₽";
        QTest::newRow("below half a kopeck") << qint64(40) << "0" + nb + "₽";
        QTest::newRow("negative") << qint64(-20000000) << "−2" + nb + "000" + nb + "₽";
        QTest::newRow("billions") << qint64(12345678900100)
                                  << "1" + nb + "234" + nb + "567" + nb + "890,01" + nb + "₽";
    }

    void amountsWithDigitGroups() {
        QFETCH(qint64, raw);
        QFETCH(QString, text);
        QCOMPARE(groupedRoubles(Money::fromRaw(raw)), text);
    }

    // Every figure the window shows is the computation's, and asking for it leaves
    // the return as it was.
    void examplesAgainstTheComputation_data() {
        QTest::addColumn<QString>("file");
        for (const char* name : {"typical.qv9", "all-records.qv9", "new-return.qv9"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void examplesAgainstTheComputation() {
        QFETCH(QString, file);
        const QString path = QStringLiteral(KV_EXAMPLES_DIR "/") + file;
        Declaration expected(kv::test::testClock());
        expected.loadFromFile(QFile::encodeName(path).toStdString());
        const Declaration before = expected;
        ReturnComputation sum;
        sum.compute(expected);

        auto w = fx.window(path);
        w->findChild<QAction*>(QStringLiteral("ResultDoc"))->trigger();
        QVERIFY(summaryOf(*w)->isVisible());
        QVERIFY(w->document() == before);
        QVERIFY(w->documentSaved());

        Money pay, refund;
        QTableWidget* budget = tableOf(*w, "tblBudget");
        QCOMPARE(budget->rowCount(), static_cast<int>(sum.section1.lines.size()));
        for (int i = 0; i < budget->rowCount(); ++i) {
            const Section1Line& line = sum.section1.lines.at(static_cast<std::size_t>(i));
            const Money toPay = line.direction == "1" ? line.amount : Money{};
            const Money toRefund = line.direction == "2" ? line.amount : Money{};
            pay += toPay;
            refund += toRefund;
            const QStringList row = rowOf(budget, i);
            QCOMPARE(row.at(0), QString::fromStdString(line.kbk.bytes()));
            QCOMPARE(row.at(2), QString::fromStdString(line.oktmo.bytes()));
            QCOMPARE(row.at(3), cell(toPay));
            QCOMPARE(row.at(4), cell(toRefund));
        }
        const QString headline = headlineOf(*w);
        QCOMPARE(headline.contains(QStringLiteral("К возврату из бюджета: ") + groupedRoubles(refund)),
                 !refund.isZero());
        QCOMPARE(headline.contains(QStringLiteral("К уплате в бюджет: ") + groupedRoubles(pay)),
                 !pay.isZero());

        // Each row is one Section 2 sheet, figure by figure; every sheet with a tax
        // base or a tax has its row.
        const std::map<QString, const Section2Sheet*> sheets = {
            {QStringLiteral("13%"), &sum.section2Other13},
            {QStringLiteral("13% (прибыль КИК)"), &sum.section2Cfc13},
            {QStringLiteral("13% (дивиденды)"), &sum.section2Dividends13},
            {QStringLiteral("30%"), &sum.section2Rate30},
            {QStringLiteral("35%"), &sum.section2Rate35},
            {QStringLiteral("9%"), &sum.section2Rate9},
            {QStringLiteral("15% (дивиденды)"), &sum.section2Dividends15},
        };
        QTableWidget* rates = tableOf(*w, "tblRates");
        QStringList shownRates;
        for (int i = 0; i < rates->rowCount(); ++i) {
            const QStringList row = rowOf(rates, i);
            QVERIFY2(sheets.count(row.at(0)) == 1, qPrintable(row.at(0)));
            const Section2Sheet& s = *sheets.at(row.at(0));
            const Money credited = s.taxWithheld + s.taxWithheldMaterialBenefit + s.advancesPaid +
                                   s.fixedAdvancesPaid + s.foreignTaxCredited + s.tradeFeeCredited +
                                   s.patentCredited;
            QCOMPARE(row, (QStringList{row.at(0), groupedRoubles(s.totalIncome + s.cfcProfit),
                                       groupedRoubles(s.deductions), groupedRoubles(s.taxBase),
                                       groupedRoubles(s.taxCalculated), groupedRoubles(credited),
                                       cell(s.taxToPay), cell(s.taxToRefund)}));
            shownRates << row.at(0);
        }
        for (const auto& [rate, sheet] : sheets) {
            if (!sheet->taxBase.isZero() || !sheet->taxCalculated.isZero())
                QVERIFY2(shownRates.contains(rate), qPrintable(rate));
        }
        const Section2Sheet& s = sum.section2Other13;
        QTableWidget* deductions = tableOf(*w, "tblDeductions");
        if (deductions->rowCount() > 0) {
            const int last = deductions->rowCount() - 1;
            QCOMPARE(rowOf(deductions, last),
                     (QStringList{QStringLiteral("Учтено в налоговой базе по ставке 13%"),
                                  groupedRoubles(s.deductions)}));
        }
    }

    // The typical road: one employer and a flat; the refund, its budget line and the
    // housing deduction are there in words and figures.
    void typicalReturnInWords() {
        auto w = fx.window(QStringLiteral(KV_EXAMPLES_DIR "/typical.qv9"));
        w->showResult();
        QVERIFY(headlineOf(*w).startsWith(QStringLiteral("К возврату из бюджета: ")));
        QCOMPARE(tableOf(*w, "tblBudget")->item(0, 0)->text(), QStringLiteral("18210102010011000110"));
        bool housing = false;
        QTableWidget* deductions = tableOf(*w, "tblDeductions");
        for (int i = 0; i < deductions->rowCount(); ++i)
            housing |=
                deductions->item(i, 0)->text() == QStringLiteral("Имущественный вычет на покупку жилья");
        QVERIFY(housing);
    }

    // After a check that passes and after a written export the window comes up by
    // itself; "Пересчитать" takes the current screen's fields and the changed return.
    void shownAfterCheckAndExportAndRecalculated() {
        auto w = fx.window();
        Declaration& d = w->document();
        kv::test::completeReturn(d);
        ThirteenPercentSource& source = d.incomes13.get(d.incomes13.add());
        source.sourceOktmo = "45000000";
        source.sourceName = "ROMASHKA";
        ThirteenIncomeItem item;
        item.incomeCode = 2000;
        item.amount = rub(100000);
        source.addItem(item);
        source.taxWithheld = rub(13000);

        fx.asker.expect(QStringLiteral("checkPassed"), "OK");
        w->checkDoc();
        QVERIFY(summaryOf(*w)->isVisible());
        QCOMPARE(headlineOf(*w), QStringLiteral("Налога к уплате или к возврату нет."));
        summaryOf(*w)->close();

        QDir().mkdir(fx.path(QStringLiteral("out")));
        fx.asker.expectFile(QStringLiteral("exportFolder"), fx.path(QStringLiteral("out")))
            .expect(QStringLiteral("exportResult"), "OK");
        w->exportDoc();
        QVERIFY(summaryOf(*w)->isVisible());

        // A change marks the figures as old until they are computed again.
        auto* outdated = summaryOf(*w)->findChild<QLabel*>(QStringLiteral("lblOutdated"));
        QVERIFY(outdated->isHidden());
        d.incomes13.get(0).taxWithheld = rub(15000);
        w->documentChanged();
        QVERIFY(!outdated->isHidden());
        const int saves = fx.probes[ScreenId::InitialData].saves;
        summaryOf(*w)->findChild<QPushButton*>(QStringLiteral("bnRecalculate"))->click();
        QCOMPARE(fx.probes[ScreenId::InitialData].saves, saves + 1);
        QCOMPARE(headlineOf(*w), QStringLiteral("К возврату из бюджета: ") + groupedRoubles(rub(2000)));
        QVERIFY(outdated->isHidden());
        QCOMPARE(w->findChildren<ResultSummaryDialog*>().size(), 1);

        // Another return takes the old one's figures off the screen.
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"));
        w->startNewReturn();
        QVERIFY(!summaryOf(*w)->isVisible());
    }

    // A check that stops at a fault shows no figures.
    void noFiguresAfterAFailedCheck() {
        auto w = fx.window();
        fx.asker.expect(QStringLiteral("TfmCheckAllError"), "Отмена");
        w->checkDoc();
        QVERIFY(summaryOf(*w) == nullptr);
    }

    void computationThatCannotRunIsShown() {
        auto w = fx.window();
        Declaration& d = w->document();
        d.propertyDeductions.granted = 1;
        HousingObject flat;
        flat.objectKind = 2;
        flat.shareDenominator = 0;
        d.propertyDeductions.objects.add(flat);
        w->showResult();
        QVERIFY(headlineOf(*w).startsWith(fromCp1251(ComputationError::userMessage())));
        QVERIFY(tableOf(*w, "tblBudget")->isHidden());
    }

    void estimatedIncomeReturn() {
        auto w = fx.window();
        w->document().declarationKind = 2;
        w->document().estimatedIncome = rub(1500000);
        w->showResult();
        QCOMPARE(headlineOf(*w),
                 QStringLiteral("В декларации 4-НДФЛ налог не исчисляется.\nПредполагаемый доход: ") +
                     groupedRoubles(rub(1500000)));
    }
};

KV_QTEST_MAIN(ResultTest)

#include "result_test.moc"
