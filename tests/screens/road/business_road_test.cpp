// The road of a sole proprietor: a new return with business incomes, the taxpayer, an
// online shop with documented expenses and the advance payments made; save, check and
// export. Appendix 3 and Section 1 of the exported file are compared with figures
// worked by hand. Then an investment partnership with a loss of earlier years, entered
// on its screen (its section button stays hidden), saved, opened again and visited
// without a change.
//
// Set KV_ROAD_SHOTS to a folder to keep a picture of every step.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "XmlFile.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/Sections.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::child;
using kv::test::clickSection;
using kv::test::snap;

namespace {

// Hand-worked figures. Income 1 500 000, documented expenses 600 000 (material
// 300 000, depreciation 100 000, labour 150 000, other 50 000): base 900 000, tax at
// 13% 117 000, advances paid 50 000, so 67 000 is to pay under the entrepreneurs'
// budget code on the OKTMO of residence.
const char* const kPersonInn = "770412345664";
const char* const kHomeOktmo = "45379000";

// Picks an item of a level list of the OKVED picker as a person does.
void choose(QDialog& picker, int level, const QString& startsWith) {
    auto* combo = child<QComboBox>(&picker, qPrintable(QStringLiteral("cbLevel%1").arg(level)));
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(startsWith)) {
            combo->setCurrentIndex(i);
            emit combo->activated(i);
            return;
        }
    }
    QFAIL(qPrintable(startsWith));
}

} // namespace

class BusinessRoadTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;
    QTemporaryDir folder_;
    kv::test::RoadRun run_;
    QString exportedPath_;
    QString partnershipPath_;

    // The directory files' folder given with its final "/", as the window documents it.
    MainWindowOptions options() {
        return run_.options(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    }

    // Tax office, residence and the taxpayer identified by INN.
    static void enterConditionsAndTaxpayer(MainWindow& window) {
        kv::test::enterConditions(window, QStringLiteral("7701"), QString::fromLatin1(kHomeOktmo));
        kv::test::enterTaxpayer(window, {.surname = QStringLiteral("Кузнецова"),
                                         .name = QStringLiteral("Анна"),
                                         .inn = QString::fromLatin1(kPersonInn)});
    }

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }

    void cleanup() { KV_VERIFY_ROAD(run_); }

    void proprietorFilesAReturn() {
        MainWindow window(std::nullopt, options());
        window.show();
        child<QCheckBox>(&window, "chbIncomeBusiness")->click();
        enterConditionsAndTaxpayer(window);
        if (QTest::currentTestFailed())
            return;

        clickSection(window, Section::BusinessIncome);
        QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrBusinessNew"));
        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            child<QRadioButton>(&d, "rbKind1")->click();
            kv::test::whenModal(QStringLiteral("TFormOKVED"), [](QDialog& picker) {
                choose(picker, 1, QStringLiteral("ТОРГОВЛЯ"));
                choose(picker, 2, QStringLiteral("Торговля розничная"));
                choose(picker, 3, QStringLiteral("Торговля розничная вне магазинов"));
                choose(picker, 4, QStringLiteral("Торговля розничная по почте или"));
                snap(&picker, QStringLiteral("b1-okved-picker"));
                kv::test::clickButton(&picker, "bnOk");
            });
            kv::test::clickButton(&d, "bnOkvedCode");
            snap(&d, QStringLiteral("b2-activity"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddActivity");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(&window, "lvActivities")), QStringList{"47.91"});
        kv::test::retype(&window, "edIncome", QStringLiteral("1500000"));
        QCOMPARE(kv::test::textOf(&window, "edStandardExpenses"), QStringLiteral("300 000,00"));
        child<QCheckBox>(&window, "chbDocumentedExpenses")->click();
        for (auto [name, value] :
             {std::pair{"edTotalExpenses", "600000"}, std::pair{"edMaterialExpenses", "300000"},
              std::pair{"edDepreciation", "100000"}, std::pair{"edLabourExpenses", "150000"},
              std::pair{"edOtherExpenses", "50000"}, std::pair{"edAdvancePayments", "50000"}})
            kv::test::retype(&window, name, QString::fromLatin1(value));

        snap(&window, QStringLiteral("b3-business"));
        const QString saved = folder_.filePath(QStringLiteral("Кузнецова.qv9"));
        run_.script.expectFile(QStringLiteral("saveReturn"), saved);
        kv::test::clickButton(&window, "fbSave");
        QVERIFY(window.documentSaved());
        run_.script.expect(QStringLiteral("checkPassed"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbCheck");
        run_.script.expectFile(QStringLiteral("exportFolder"), folder_.path());
        run_.script.expect(QStringLiteral("exportResult"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbExsport");
        KV_VERIFY_ASKER(run_.script);
        exportedPath_ = folder_.filePath(
            kv::test::RoadRun::exportName(QStringLiteral("7701"), QString::fromLatin1(kPersonInn)));
        QVERIFY(QFile::exists(exportedPath_));
    }

    void appendix3AndSection1CarryTheHandWorkedFigures() {
        if (exportedPath_.isEmpty())
            QSKIP("the road did not reach the export");
        const kv::test::XmlFile xml(exportedPath_);
        QVERIFY(xml.loaded());
        const QString body = QStringLiteral("Файл/Документ/НДФЛ3");
        const QString sheet = body + QStringLiteral("/ДоходПредпр");
        QCOMPARE(xml.value(sheet, QStringLiteral("ДоходИт")), QStringLiteral("1500000.00"));
        QCOMPARE(xml.value(sheet, QStringLiteral("ВычПрофИт")), QStringLiteral("600000.00"));
        QCOMPARE(xml.value(sheet, QStringLiteral("УплФактАвИт")), QStringLiteral("50000"));
        const QString activity = sheet + QStringLiteral("/РасчВидДеят");
        const QList<std::pair<QString, QString>> figures = {
            {QStringLiteral("ВидДеят"), QStringLiteral("01")},
            {QStringLiteral("ОКВЭД"), QStringLiteral("47.91")},
            {QStringLiteral("Доход"), QStringLiteral("1500000.00")},
            {QStringLiteral("РасхФакт"), QStringLiteral("600000.00")},
            {QStringLiteral("РасхФМат"), QStringLiteral("300000.00")},
            {QStringLiteral("РасхФАмНач"), QStringLiteral("100000.00")},
            {QStringLiteral("РасхФОплТруд"), QStringLiteral("150000.00")},
            {QStringLiteral("РасхФПроч"), QStringLiteral("50000.00")},
        };
        for (const auto& [attribute, expected] : figures)
            QCOMPARE(xml.value(activity, attribute), expected);

        const QString line = body + QStringLiteral("/СумНалПу");
        QCOMPARE(xml.value(line, QStringLiteral("КБК")), QStringLiteral("18210102020011000110"));
        QCOMPARE(xml.value(line, QStringLiteral("ОКТМО")), QString::fromLatin1(kHomeOktmo));
        QCOMPARE(xml.value(line, QStringLiteral("ПрУплВозв")), QStringLiteral("1"));
        QCOMPARE(xml.value(line, QStringLiteral("ПодлУпл")), QStringLiteral("67000"));
        const QString tax = body + QStringLiteral("/НалБаза/РасчНалПУ");
        QCOMPARE(xml.value(tax, QStringLiteral("Исчисл")), QStringLiteral("117000"));
        QCOMPARE(xml.value(tax, QStringLiteral("ПодлУпл")), QStringLiteral("67000"));
    }

    // The whole-return check's fault in the second activity opens the business screen on it.
    void checkRoutesToTheFaultyActivity() {
        if (exportedPath_.isEmpty())
            QSKIP("the road did not reach the export");
        const QString saved = folder_.filePath(QStringLiteral("Кузнецова.qv9"));
        MainWindow window(saved, options());
        window.show();
        BusinessActivity farm;
        farm.activityKind = "5";
        farm.hasDocumentedExpenses = 0;
        window.document().businessIncomes.add(farm);
        run_.script.expect(QStringLiteral("TfmCheckAllError"), QStringLiteral("Исправить"));
        kv::test::clickButton(&window, "fbCheck");
        KV_VERIFY_ASKER(run_.script);
        QCOMPARE(
            run_.script.questions().first().text,
            QStringLiteral("Нельзя одновременно пользоваться и подтвержденными расходами и нормативом 20%."));
        QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrBusinessNew"));
        QCOMPARE(child<QTreeWidget>(&window, "lvActivities")->currentItem()->text(0),
                 QStringLiteral("Деятельность главы КФХ"));
        QVERIFY(!child<QWidget>(&window, "chbDocumentedExpenses")->isHidden());
        QVERIFY(!child<QCheckBox>(&window, "chbDocumentedExpenses")->isChecked());
    }

    // Unticking the business box asks before the whole return's business figures go
    // with the activities: "Нет" keeps them all; after "Да", ticking it again shows
    // no figure and the return credits none.
    void businessFiguresGoWithTheirBox() {
        MainWindow window(std::nullopt, options());
        window.show();
        // The conditions screen is built anew each time it is shown.
        const auto box = [&window] { return child<QCheckBox>(&window, "chbIncomeBusiness"); };
        box()->click();
        enterConditionsAndTaxpayer(window);
        if (QTest::currentTestFailed())
            return;
        clickSection(window, Section::BusinessIncome);
        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            child<QRadioButton>(&d, "rbKind2")->click();
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddActivity");
        KV_VERIFY_MODALS();
        kv::test::retype(&window, "edIncome", QStringLiteral("400000"));
        for (auto [name, value] : {std::pair{"edAdvancePayments", "3000"},
                                   std::pair{"edPatentPayments", "20000"}, std::pair{"edTradeFee", "5000"}})
            kv::test::retype(&window, name, QString::fromLatin1(value));
        clickSection(window, Section::InitialData);

        run_.script.expect(QStringLiteral("dropIncomes"), QStringLiteral("Нет"))
            .expect(QStringLiteral("dropIncomes"), QStringLiteral("Да"));
        box()->click();
        QVERIFY(box()->isChecked());
        box()->click();
        QVERIFY(!box()->isChecked());
        KV_VERIFY_ASKER(run_.script);
        clickSection(window, Section::Taxpayer);
        clickSection(window, Section::InitialData);
        box()->click();
        clickSection(window, Section::BusinessIncome);
        for (const char* name : {"edAdvancePayments", "edPatentPayments", "edTradeFee"})
            QCOMPARE(kv::test::textOf(&window, name), QStringLiteral("0"));
        const Declaration& d = window.document();
        for (Money figure : {d.actualAdvancePayments, d.patentPayments, d.tradeFee})
            QCOMPARE(figure, Money{});
        QCOMPARE(d.businessIncomes.count(), 0);
    }

    void partnershipWithALossCarried() {
        {
            MainWindow window(std::nullopt, options());
            window.show();
            // The section button and its box stay hidden; the box still opens the list.
            QVERIFY(!window.sectionButtonWidget(Section::InvestmentPartnership)->isVisible());
            auto* box = child<QCheckBox>(&window, "chbInvestTov");
            QVERIFY(!box->isVisible());
            box->click();
            enterConditionsAndTaxpayer(window);
            if (QTest::currentTestFailed())
                return;
            window.switchSection(Section::InvestmentPartnership);
            QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrInvestTov"));
            kv::test::whenModal(QStringLiteral("TfmInputSourseInvestTov"), [](QDialog& d) {
                kv::test::retype(&d, "edSourceName", QStringLiteral("ИТ «Вектор»"));
                kv::test::retype(&d, "edSourceInn", QStringLiteral("7704123450"));
                kv::test::retype(&d, "edSourceKpp", QStringLiteral("770401001"));
                kv::test::retype(&d, "edSourceOktmo", QStringLiteral("45382000"));
                kv::test::clickButton(&d, "bnOk");
            });
            kv::test::clickButton(&window, "bnAddSource");
            KV_VERIFY_MODALS();
            kv::test::whenModal(QStringLiteral("TfmIncomeInvestTov"), [](QDialog& d) {
                auto* kind = child<QComboBox>(&d, "cbOperationKind");
                kind->setCurrentIndex(1);
                emit kind->activated(1);
                kv::test::retype(&d, "edIncomeAmount", QStringLiteral("90000"));
                kv::test::retype(&d, "edExpenseShare", QStringLiteral("15000"));
                kv::test::retype(&d, "edManagerExpenses", QStringLiteral("5000"));
                kv::test::retype(&d, "edPriorYearsLoss", QStringLiteral("12000"));
                snap(&d, QStringLiteral("b4-partnership-income"));
                kv::test::clickButton(&d, "bnOk");
            });
            kv::test::clickButton(&window, "bnAddIncome");
            KV_VERIFY_MODALS();
            kv::test::retype(&window, "edTaxableAmount", QStringLiteral("58000"));
            snap(&window, QStringLiteral("b5-partnerships"));
            partnershipPath_ = folder_.filePath(QStringLiteral("Товарищество.qv9"));
            run_.script.expectFile(QStringLiteral("saveReturn"), partnershipPath_);
            kv::test::clickButton(&window, "fbSave");
            QVERIFY(window.documentSaved());
        }
        KV_VERIFY_ASKER(run_.script);

        // Opened again: the loss is carried in the file, shown, and visiting changes nothing.
        MainWindow window(partnershipPath_, options());
        window.show();
        const InvestmentPartnership& p = window.document().investPartnerships.get(0);
        QCOMPARE(p.item(0).operationKind, 2);
        QCOMPARE(p.item(0).priorYearsLoss, Money::fromRoubles(12000));
        QCOMPARE(p.taxableAmount, Money::fromRoubles(58000));
        window.switchSection(Section::InvestmentPartnership);
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(&window, "lvIncomes")),
                 QStringList{"2|90 000,00|15 000,00|5 000,00|12 000,00"});
        QCOMPARE(kv::test::textOf(&window, "edTotalIncome"), QStringLiteral("90 000,00"));
        clickSection(window, Section::InitialData);
        QVERIFY(window.documentSaved());
    }
};

KV_QTEST_MAIN(BusinessRoadTest)

#include "business_road_test.moc"
