// A salaried parent claims the standard and social deductions through the main
// window: two children, the second born in May, the first of them disabled; the
// taxpayer's own code 104 for the first quarter only; medical treatment and own
// education over the 120 000 limit, a child's education over 50 000 and a charity
// gift. The exported Appendix 5, Section 2 and Section 1 are compared with figures
// worked by hand.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "XmlFile.h"
#include "model/Declaration.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;
using kv::test::child;
using kv::test::clickSection;
using kv::test::XmlFile;

namespace {

// Salary 50 000 a month from the primary workplace, 600 000 a year, 78 000 withheld.
// Standard deductions, months in which the income since January is at most 350 000:
// January to July (August reaches 400 000).
//   children:  4 months × 1 × 1 400 + 3 months × 2 × 1 400            =  14 000
//   disabled:  7 months × 1 × 6 000 × 2 (a parent, not a guardian)    =  84 000
//   code 104:  January to March, 3 × 500 (not limited by the income)  =   1 500
//   standard deductions in the return                                 =  99 500
// Social deductions:
//   charity 10 000 (under 25% of 600 000); child's education 60 000 counts 50 000;
//   uncapped total 60 000; medical 100 000 + own education 40 000 = 140 000, capped
//   at 120 000; social deductions in the return 180 000.
// Standard and social together 279 500; base 600 000 − 279 500 = 320 500; tax at
// 13% 41 665; refund 78 000 − 41 665 = 36 335.
const char* const kPersonInn = "770412345664";
const char* const kEmployerInn = "7704123450";
const char* const kOktmo = "45382000";

QString monthName(const char* prefix, int month) {
    return QStringLiteral("%1%2").arg(QString::fromLatin1(prefix)).arg(month, 2, 10, QLatin1Char('0'));
}

} // namespace

class DeductionsRoadTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;
    QTemporaryDir folder_;
    kv::test::RoadRun run_;

private slots:
    void cleanup() { KV_VERIFY_ROAD(run_); }

    void parentClaimsStandardAndSocialDeductions() {
        QVERIFY(folder_.isValid());
        MainWindow window(std::nullopt, run_.options());
        window.show();

        kv::test::enterConditions(window, QStringLiteral("7701"), QStringLiteral("45379000"));
        kv::test::enterTaxpayer(window, {.surname = QStringLiteral("Кузнецова"),
                                         .name = QStringLiteral("Мария"),
                                         .patronymic = QStringLiteral("Петровна"),
                                         .inn = QString::fromLatin1(kPersonInn),
                                         .birthDate = QDate(1988, 9, 3),
                                         .birthPlace = QStringLiteral("г. Москва"),
                                         .docCode = QStringLiteral("21"),
                                         .docNumber = QStringLiteral("4512654321"),
                                         .docDate = QDate(2012, 10, 1),
                                         .docIssuer = QStringLiteral("ОВД района Арбат г. Москвы")});
        if (QTest::currentTestFailed())
            return;

        // The employer is the primary workplace: the standard deductions follow its months.
        clickSection(window, Section::RussianIncome);
        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog& d) {
            kv::test::retype(&d, "edSourceName", QStringLiteral("ООО «Ромашка»"));
            kv::test::retype(&d, "edSourceInn", QString::fromLatin1(kEmployerInn));
            kv::test::retype(&d, "edSourceKpp", QStringLiteral("770401001"));
            kv::test::retype(&d, "edSourceOktmo", QString::fromLatin1(kOktmo));
            kv::test::clickButton(&d, "chbPrimaryWorkplace");
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddSource");
        KV_VERIFY_MODALS();
        kv::test::whenModal(QStringLiteral("TfmInput13Income"), [](QDialog& d) {
            kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("2000"));
            kv::test::clickButton(&d, "bnIncomeCode");
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("50000"));
            kv::test::retype(&d, "edMonth", QStringLiteral("1"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddIncome");
        KV_VERIFY_MODALS();
        for (int month = 2; month <= 12; ++month)
            kv::test::clickButton(&window, "bnRepeatIncome");
        kv::test::retype(&window, "edTaxWithheld", QStringLiteral("78000"));

        // Standard deductions.
        clickSection(window, Section::Deductions);
        kv::test::clickButton(&window, "fbStandartDeduct");
        QVERIFY(child<QWidget>(&window, "TfrFrameStandartDeduct") != nullptr);
        kv::test::clickButton(&window, "chbStandartDeduct");
        kv::test::whenModal(QStringLiteral("TfmDif"), [](QDialog& d) {
            for (int month = 1; month <= 3; ++month)
                child<QComboBox>(&d, qPrintable(monthName("cbMonth", month)))->setCurrentIndex(1); // "104"
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "rbSelf110");
        KV_VERIFY_MODALS();
        kv::test::clickButton(&window, "chbChildrenConstant");
        for (int month = 1; month <= 12; ++month)
            kv::test::retype(&window, qPrintable(monthName("edChildren", month)),
                             month < 5 ? QStringLiteral("1") : QStringLiteral("2"));
        kv::test::retype(&window, "edDisabled", QStringLiteral("1"));
        QVERIFY(child<QWidget>(&window, "pnlGuardian")->isVisible());

        // Social deductions.
        kv::test::clickButton(&window, "fbPensDeduct");
        QVERIFY(child<QWidget>(&window, "TfrFramePensDeduct") != nullptr);
        kv::test::clickButton(&window, "chbPensDeduct");
        kv::test::retype(&window, "edMedical", QStringLiteral("100000"));
        kv::test::retype(&window, "edOwnEducation", QStringLiteral("40000"));
        kv::test::retype(&window, "edCharity", QStringLiteral("10000"));
        kv::test::whenModal(QStringLiteral("TfmChildEduSum"), [](QDialog& d) {
            kv::test::retype(&d, "edSum", QStringLiteral("60000"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddChildSum");
        KV_VERIFY_MODALS();

        // Back on the standard screen: what was entered came through the switch.
        kv::test::clickButton(&window, "fbStandartDeduct");
        QVERIFY(child<QAbstractButton>(&window, "rbSelf110")->isChecked());
        QCOMPARE(kv::test::textOf(&window, "edChildren05"), QStringLiteral("2"));
        QCOMPARE(kv::test::textOf(&window, "edDisabled"), QStringLiteral("1"));

        run_.script.expect(QStringLiteral("checkPassed"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbCheck");
        run_.script.expectFile(QStringLiteral("exportFolder"), folder_.path());
        run_.script.expect(QStringLiteral("exportResult"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbExsport");
        KV_VERIFY_ASKER(run_.script);
        const XmlFile xml(folder_.filePath(
            kv::test::RoadRun::exportName(QStringLiteral("7701"), QString::fromLatin1(kPersonInn))));
        QVERIFY(xml.loaded());

        const QString body = QStringLiteral("Файл/Документ/НДФЛ3");
        const QString appendix5 = body + QStringLiteral("/ВычСтандСоц");
        const QList<std::pair<QString, QString>> figures = {
            {QString(), QStringLiteral("ВычСтандСоц=279500.00")},
            {QStringLiteral("/РасчВычСтанд"), QStringLiteral("ВычСт218.1.2=1500.00")},
            {QStringLiteral("/РасчВычСтанд"), QStringLiteral("ВычСтРеб=14000.00")},
            {QStringLiteral("/РасчВычСтанд"), QStringLiteral("ВычСтРебИнв=84000.00")},
            {QStringLiteral("/РасчВычСтанд"), QStringLiteral("ВычСт218.1.1=<none>")},
            {QStringLiteral("/РасчВычСтанд"), QStringLiteral("ОбщВычСтандДекл=99500.00")},
            {QStringLiteral("/РасчВычСоцБез219.2"), QStringLiteral("СумБлагЦел=10000.00")},
            {QStringLiteral("/РасчВычСоцБез219.2"), QStringLiteral("СумОбуч=50000.00")},
            {QStringLiteral("/РасчВычСоцБез219.2"), QStringLiteral("ИтогВычСоциал=60000.00")},
            {QStringLiteral("/РасчВычСоц219.2"), QStringLiteral("СумОбуч=40000.00")},
            {QStringLiteral("/РасчВычСоц219.2"), QStringLiteral("СумМедУсл=100000.00")},
            {QStringLiteral("/РасчВычСоц219.2"), QStringLiteral("ОбщСумРасх=120000.00")},
            {QStringLiteral("/РасчВычСоц219.2"), QStringLiteral("ОбщВычСоциал=180000.00")},
        };
        for (const auto& [element, expected] : figures) {
            const QString attribute = expected.section(QLatin1Char('='), 0, 0);
            QCOMPARE(attribute + QLatin1Char('=') + xml.value(appendix5 + element, attribute), expected);
        }

        const QString base = body + QStringLiteral("/НалБаза");
        QCOMPARE(xml.value(base, QStringLiteral("Ставка")), QStringLiteral("13"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалБаза"), QStringLiteral("ДоходОбщ")),
                 QStringLiteral("600000.00"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалБаза"), QStringLiteral("СумНалВыч")),
                 QStringLiteral("279500.00"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалБаза"), QStringLiteral("НалБаза")),
                 QStringLiteral("320500.00"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалПУ"), QStringLiteral("Исчисл")),
                 QStringLiteral("41665"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалПУ"), QStringLiteral("УдержОбщ")),
                 QStringLiteral("78000"));
        QCOMPARE(xml.value(base + QStringLiteral("/РасчНалПУ"), QStringLiteral("ПодлВозв")),
                 QStringLiteral("36335"));

        const QString refund = body + QStringLiteral("/СумНалПу");
        QCOMPARE(xml.value(refund, QStringLiteral("КБК")), QStringLiteral("18210102010011000110"));
        QCOMPARE(xml.value(refund, QStringLiteral("ОКТМО")), QString::fromLatin1(kOktmo));
        QCOMPARE(xml.value(refund, QStringLiteral("ПодлУпл")), QStringLiteral("0"));
        QCOMPARE(xml.value(refund, QStringLiteral("ПодлВозв")), QStringLiteral("36335"));
    }
};

KV_QTEST_MAIN(DeductionsRoadTest)

#include "deductions_road_test.moc"
