// The whole-return check leads to the fault: a return holding one fault is opened in
// the main window, "Проверить" is answered with "Исправить", and the window shows the
// screen of the fault with the source or the field it names selected.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/ScreenContainer.h"
#include "screens/Sections.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::child;

namespace {

// Half a rouble more than whole roubles: what only a file written elsewhere holds.
Money andAHalf(std::int64_t roubles) {
    return Money::fromRaw(roubles * Money::kScale + Money::kScale / 2);
}

// A return the check passes: the tax office, a taxpayer identified by INN, the residence.
void completeReturn(Declaration& d) {
    d.inspectionCode = "7701";
    d.person.surname = Cp1251Text::fromUtf8("Кузнецова");
    d.person.firstName = Cp1251Text::fromUtf8("Анна");
    d.person.inn = "770412345664";
    d.person.oktmo = "45379000";
}

template <class Source> void payer(Source& s, const char* name) {
    s.sourceName = Cp1251Text::fromBytes(std::string_view(name));
    s.sourceInn = "7704123450";
    s.sourceKpp = "770401001";
    s.sourceOktmo = "45382000";
}

// Two sources of a one-level list, the second with kopecks of withheld tax.
template <class List> void twoSources(List& list, std::int32_t incomeCode) {
    for (const char* name : {"First", "Second"}) {
        auto& s = list.get(list.add());
        payer(s, name);
        s.incomeCode = incomeCode;
        s.totalIncome = Money::fromRoubles(10000);
        if constexpr (requires { s.taxableAmount; })
            s.taxableAmount = s.totalIncome;
        s.taxWithheld = Money::fromRoubles(900);
    }
    list.get(1).taxWithheld = andAHalf(900);
}

void plant(Declaration& d, const QString& fault) {
    completeReturn(d);
    if (fault == QLatin1String("9%")) {
        twoSources(d.incomes9, 1011);
    } else if (fault == QLatin1String("35%")) {
        twoSources(d.incomes35, 2740);
    } else if (fault == QLatin1String("dividends")) {
        twoSources(d.incomes30, 1010);
    } else if (fault == QLatin1String("non-residents' 13%")) {
        d.declarationKind = 1;
        for (const char* name : {"First", "Second"}) {
            ThirteenPercentSource& s = d.incomes13NonResident.get(d.incomes13NonResident.add());
            payer(s, name);
            ThirteenIncomeItem line;
            line.incomeCode = 2000;
            line.amount = Money::fromRoubles(10000);
            s.addItem(line);
            s.taxWithheld = Money::fromRoubles(1300);
        }
        d.incomes13NonResident.get(1).taxWithheld = andAHalf(1300);
    } else if (fault == QLatin1String("partnership")) {
        d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kPartnershipIncomes);
        InvestmentPartnership& p = d.investPartnerships.get(d.investPartnerships.add());
        payer(p, "Partnership");
        p.taxWithheld = andAHalf(100);
    } else if (fault == QLatin1String("children")) {
        d.standardDeductions.granted = 1;
        d.standardDeductions.setChildrenCount(3);
    } else {
        d.setIncomeFlags(Declaration::kBusinessIncomes);
        BusinessActivity& notary = d.businessIncomes.get(d.businessIncomes.add());
        notary.activityKind = "2";
        notary.incomeAmount = Money::fromRoubles(500000);
        d.actualAdvancePayments = Money::fromRoubles(3000);
        d.adjustedTax = Money::fromRoubles(1000);
        d.patentPayments = Money::fromRoubles(20000);
        d.tradeFee = Money::fromRoubles(5000);
        Money* figure = fault == QLatin1String("advances")       ? &d.actualAdvancePayments
                        : fault == QLatin1String("adjusted tax") ? &d.adjustedTax
                        : fault == QLatin1String("patent")       ? &d.patentPayments
                                                                 : &d.tradeFee;
        *figure = Money::fromRaw(figure->raw + Money::kScale / 2);
    }
}

} // namespace

class CheckRoadTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;
    QTemporaryDir folder_;
    kv::test::RoadRun run_;

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }

    void cleanup() { KV_VERIFY_ROAD(run_); }

    void faultOpensItsScreenOnWhatItNames_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<QString>("sectionButton");
        QTest::addColumn<QString>("focused");  // the object name of the widget given the focus
        QTest::addColumn<QString>("selected"); // the selected row of the focused list, or ""
        QTest::addColumn<QString>("said");     // what the fault's message says
        const QString kopecks = QStringLiteral("в целых рублях");
        const QString incomes = QStringLiteral("TfrRussianIncome");
        QTest::newRow("9%") << "9%" << incomes << "TfrNinePercent"
                            << "fbRussianIncome"
                            << "lvSources"
                            << "Second" << kopecks;
        QTest::newRow("35%") << "35%" << incomes << "TfrThirtyFivePercent"
                             << "fbRussianIncome"
                             << "lvSources"
                             << "Second" << kopecks;
        QTest::newRow("dividends") << "dividends" << incomes << "TfrThirtyPercent"
                                   << "fbRussianIncome"
                                   << "lvSources"
                                   << "Second" << kopecks;
        QTest::newRow("non-residents' 13%") << "non-residents' 13%" << incomes << "TTfrThirteenPercentNR"
                                            << "fbRussianIncome"
                                            << "lvSources"
                                            << "Second" << kopecks;
        for (auto [fault, field] :
             {std::pair{"advances", "edAdvancePayments"}, std::pair{"adjusted tax", "edAdjustedTax"},
              std::pair{"patent", "edPatentPayments"}, std::pair{"trade fee", "edTradeFee"}})
            QTest::newRow(fault) << fault << "TfrBusinessNew"
                                 << ""
                                 << "fbBusinessIncome" << field << "" << kopecks;
        // The partnership section is not offered: its incomes belong on the 13% screen.
        QTest::newRow("partnership") << "partnership" << incomes << "TfrThirteenPercent"
                                     << "fbRussianIncome"
                                     << ""
                                     << "" << kopecks;
        QTest::newRow("children") << "children"
                                  << "TfrFrameDeductData"
                                  << "TfrFrameStandartDeduct"
                                  << "fbDeduction"
                                  << "edChildren"
                                  << "" << QStringLiteral("не более чем на двух детей");
    }

    void faultOpensItsScreenOnWhatItNames() {
        QFETCH(QString, fault);
        QFETCH(QString, screen);
        QFETCH(QString, inner);
        QFETCH(QString, sectionButton);
        QFETCH(QString, focused);
        QFETCH(QString, selected);
        QFETCH(QString, said);

        Declaration d(run_.clock);
        d.setIncomeFlags(Declaration::kAgentIncomes);
        plant(d, fault);
        const QString path = folder_.filePath(QStringLiteral("fault.qv9"));
        d.saveToFile(QFile::encodeName(path).toStdString());
        MainWindow window(path, run_.options());
        window.show();

        run_.script.expect(QStringLiteral("TfmCheckAllError"), QStringLiteral("Исправить"));
        kv::test::clickButton(&window, "fbCheck");
        KV_VERIFY_ASKER(run_.script);
        QVERIFY2(run_.script.questions().first().text.contains(said),
                 qPrintable(run_.script.questions().first().text));
        QCOMPARE(window.currentScreen()->objectName(), screen);
        QCOMPARE(kv::test::innerScreenName(window.currentScreen()), inner);
        QVERIFY(child<QAbstractButton>(&window, sectionButton.toLatin1().constData())->isChecked());
        QVERIFY(!window.sectionButtonWidget(Section::InvestmentPartnership)->isChecked());

        QWidget* focus = window.focusWidget();
        if (focused.isEmpty()) {
            auto* sources = child<QTreeWidget>(window.currentScreen(), "lvSources");
            QVERIFY(sources->currentItem() == nullptr || !sources->currentItem()->isSelected());
            return;
        }
        QVERIFY(focus != nullptr);
        QCOMPARE(focus->objectName(), focused);
        if (auto* list = qobject_cast<QTreeWidget*>(focus)) {
            QVERIFY(list->currentItem() != nullptr);
            QCOMPARE(list->currentItem()->text(0), selected);
        }
    }
};

KV_QTEST_MAIN(CheckRoadTest)
#include "check_road_test.moc"
