// The road of a new user through the program: start it, pick the tax office, enter
// the taxpayer, one employer with twelve months of salary at 13% and the tax it
// withheld, the purchase of a flat; save, check and export. The saved document and
// the exported file are then read back and compared with figures worked by hand,
// and the saved return is opened again to show every field as it was entered.
// Last, dividends, a prize at 35% and an income at 9% are added to it through their
// screens, and Sections 1 and 2 of its export are compared with figures worked by hand.
//
// Set KV_ROAD_SHOTS to a folder to keep a picture of every step.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "XmlFile.h"
#include "checks/IdentifierChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/ScreenContainer.h"
#include "screens/Sections.h"
#include "screens/kit/DateEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace kv;
using kv::test::child;
using kv::test::clickSection;
using kv::test::snap;
using kv::test::XmlFile;

namespace {

// Hand-worked figures of the road. Salary: 12 × 100 000 = 1 200 000, withheld at 13%:
// 156 000. The flat cost 3 500 000, registered in 2019: the purchase deduction is
// limited to 2 000 000, of which this year's income absorbs 1 200 000 and 800 000
// is carried forward. The tax base is 0, so all 156 000 withheld is refunded.
const char* const kPersonInn = "770412345664";
const char* const kEmployerInn = "7704123450";
const char* const kEmployerKpp = "770401001";
const char* const kOktmo = "45382000";     // the employer's
const char* const kHomeOktmo = "45379000"; // the taxpayer's residence
const char* const kDividendOktmo = "45383000";
const char* const kFlatNumber = "77:01:0004010:1234";

} // namespace

// Answers a fault of a screen being left with "Пропустить все" and anything else with
// its escape answer, as a person who only looks around would.
class LookingAroundAsker : public kv::Asker {
public:
    QStringList asked;

    int ask(QWidget*, const kv::Question& q) override {
        asked.append(q.id);
        const int skipAll = static_cast<int>(q.answers.indexOf(QStringLiteral("Пропустить все")));
        return q.answerEnabled(skipAll) ? skipAll : (q.escapeIndex >= 0 ? q.escapeIndex : q.defaultIndex);
    }
    std::optional<QString> openFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RoadTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;
    QTemporaryDir folder_;
    kv::test::RoadRun run_;
    QString savedPath_;
    QString exportedPath_;

    // Opens the return at path in the window, shows every section and inner screen (a
    // fault of a screen being left is skipped), saves it, and names the screens shown.
    void visitEveryScreenAndSave(const QString& path, QStringList& visited) {
        LookingAroundAsker asker;
        MainWindowOptions options = run_.options();
        options.asker = &asker;
        MainWindow window(path, options);
        window.show();
        QVERIFY2(asker.asked.isEmpty(), qPrintable(asker.asked.join(QLatin1Char(' ')))); // opened as it is
        for (const kv::SectionButtonInfo& info : kv::sectionButtons()) {
            if (!info.visible || !info.screen.has_value() || !window.sectionEnabled(info.section))
                continue;
            window.switchSection(info.section);
            visited.append(window.currentScreen()->objectName());
            auto* container = qobject_cast<kv::ScreenContainer*>(window.currentScreen());
            if (container == nullptr)
                continue;
            for (QAbstractButton* inner : container->innerButtons()) {
                if (!inner->isHidden()) {
                    inner->click();
                    visited.append(container->innerScreen()->objectName());
                }
            }
        }
        window.switchSection(Section::InitialData);
        QVERIFY(window.saveReturn());
    }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QCOMPARE(checkInn(Cp1251Text::fromBytes(std::string_view(kPersonInn)), InnKind::Individual),
                 InnResult::Valid);
        QCOMPARE(checkInn(Cp1251Text::fromBytes(std::string_view(kEmployerInn)), InnKind::Organisation),
                 InnResult::Valid);
    }

    void cleanup() { KV_VERIFY_ROAD(run_); }

    // A return another program wrote, opened from its file, every section and inner
    // screen visited through the window, and saved: the file is the same to the byte.
    void returnWrittenElsewhereSurvivesEveryScreen() {
        Declaration written(run_.clock);
        kv::test::writtenElsewhere(written);
        const QString path = folder_.filePath(QStringLiteral("elsewhere.qv9"));
        written.saveToFile(path.toStdString());
        const QByteArray before = fileBytes(path);

        QStringList visited;
        visitEveryScreenAndSave(path, visited);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(visited.size() >= 14, qPrintable(visited.join(QLatin1Char(' '))));
        QVERIFY(fileBytes(path) == before);
    }

    // The shipped sample returns, opened, walked through and saved: the file says what it
    // said, but for the one rule that changes a loaded return (the conditions screen
    // clears the automatic count of supporting sheets).
    void sampleReturnsSurviveEveryScreen() {
        for (const char* name : {"typical.qv9", "all-records.qv9", "new-return.qv9"}) {
            const QString path = folder_.filePath(QString::fromLatin1(name));
            QFile::remove(path);
            QVERIFY(QFile::copy(QStringLiteral(KV_EXAMPLES_DIR "/") + QString::fromLatin1(name), path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            Declaration before(run_.clock);
            before.loadFromFile(path.toStdString());
            before.sheetCountAutomatic = 0;

            QStringList visited;
            visitEveryScreenAndSave(path, visited);
            if (QTest::currentTestFailed())
                return;
            QVERIFY2(visited.size() >= 3, name);
            Declaration after(run_.clock);
            after.loadFromFile(path.toStdString());
            QVERIFY2(after == before, name);
        }
    }

    void newUserFilesAReturnForAFlat() {
        MainWindow window(std::nullopt, run_.options());
        window.show();
        QVERIFY(window.currentScreen() != nullptr);
        QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrInitialData"));
        snap(&window, QStringLiteral("01-start"));

        // Conditions: the tax office from its directory, the OKTMO of residence.
        kv::test::enterConditions(window, QStringLiteral("7701"), QString::fromLatin1(kHomeOktmo),
                                  QStringLiteral("02-tax-office-picker"));
        if (QTest::currentTestFailed())
            return;
        snap(&window, QStringLiteral("03-conditions"));

        // The taxpayer.
        kv::test::enterTaxpayer(window, {.surname = QStringLiteral("Смирнов"),
                                         .name = QStringLiteral("Алексей"),
                                         .patronymic = QStringLiteral("Викторович"),
                                         .inn = QString::fromLatin1(kPersonInn),
                                         .birthDate = QDate(1985, 4, 12),
                                         .birthPlace = QStringLiteral("г. Москва"),
                                         .docCode = QStringLiteral("21"),
                                         .docNumber = QStringLiteral("4510123456"),
                                         .docDate = QDate(2010, 5, 20),
                                         .docIssuer = QStringLiteral("ОВД района Хамовники г. Москвы"),
                                         .phone = QStringLiteral("8 916 1234567")});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(kv::test::textOf(&window, "edDocNumber"), QStringLiteral("45 10 123456"));
        snap(&window, QStringLiteral("04-taxpayer"));

        // The employer and twelve months of salary.
        clickSection(window, Section::RussianIncome);
        QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrRussianIncome"));
        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog& d) {
            kv::test::retype(&d, "edSourceName", QStringLiteral("ООО «Ромашка»"));
            kv::test::retype(&d, "edSourceInn", QString::fromLatin1(kEmployerInn));
            kv::test::retype(&d, "edSourceKpp", QString::fromLatin1(kEmployerKpp));
            kv::test::retype(&d, "edSourceOktmo", QString::fromLatin1(kOktmo));
            snap(&d, QStringLiteral("05-employer"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddSource");
        KV_VERIFY_MODALS();
        kv::test::whenModal(QStringLiteral("TfmInput13Income"), [](QDialog& d) {
            kv::test::whenModal(QStringLiteral("TfmInputIncomeCode"), [](QDialog& picker) {
                snap(&picker, QStringLiteral("06-income-code-picker"));
                kv::test::pickCode(picker, QStringLiteral("2000"));
            });
            kv::test::clickButton(&d, "bnIncomeCode");
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("100000"));
            kv::test::retype(&d, "edMonth", QStringLiteral("1"));
            snap(&d, QStringLiteral("07-income"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddIncome");
        KV_VERIFY_MODALS();
        for (int month = 2; month <= 12; ++month)
            kv::test::clickButton(&window, "bnRepeatIncome");
        kv::test::retype(&window, "edTaxWithheld", QStringLiteral("156000"));
        QCOMPARE(child<QTreeWidget>(&window, "lvIncomes")->topLevelItemCount(), 12);
        QCOMPARE(kv::test::textOf(&window, "edTotalIncome"), QStringLiteral("1 200 000,00"));
        snap(&window, QStringLiteral("08-incomes"));

        // The flat.
        clickSection(window, Section::Deductions);
        QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrFrameDeductData"));
        kv::test::clickButton(&window, "chbConstructionDeduct");
        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog& d) {
            child<QComboBox>(&d, "cbObjectKind")->setCurrentIndex(1);
            child<QComboBox>(&d, "cbTaxpayerSign")->setCurrentIndex(0);
            child<QComboBox>(&d, "cbNumberKind")->setCurrentIndex(0);
            kv::test::retype(&d, "edObjectNumber", QString::fromLatin1(kFlatNumber));
            kv::test::retype(&d, "edObjectAddress", QStringLiteral("г. Москва, ул. Тверская, д. 1, кв. 10"));
            child<kv::DateEdit>(&d, "deRightDate")->setDate(QDate(2019, 6, 15));
            kv::test::retype(&d, "edObjectCost", QStringLiteral("3500000"));
            snap(&d, QStringLiteral("09-flat"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddObject");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&window, "edTotalCost"), QStringLiteral("2 000 000,00"));
        snap(&window, QStringLiteral("10-property"));
        QVERIFY(!window.documentSaved());

        // Save, check, export.
        savedPath_ = folder_.filePath(QStringLiteral("Смирнов.qv9"));
        run_.script.expectFile(QStringLiteral("saveReturn"), savedPath_);
        kv::test::clickButton(&window, "fbSave");
        QVERIFY(QFile::exists(savedPath_));
        QVERIFY(window.documentSaved());

        run_.script.expect(QStringLiteral("checkPassed"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbCheck");
        // The person learns the refund without printing the return.
        auto* result = window.findChild<QDialog*>(QStringLiteral("ResultSummary"));
        QVERIFY(result != nullptr && result->isVisible());
        QCOMPARE(kv::test::child<QLabel>(result, "lblResult")->text(),
                 QStringLiteral("К возврату из бюджета: 156\u00A0000\u00A0₽"));
        snap(result, QStringLiteral("10a-result"));
        result->close();

        run_.script.expectFile(QStringLiteral("exportFolder"), folder_.path());
        run_.script.expect(QStringLiteral("exportResult"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbExsport");
        KV_VERIFY_ASKER(run_.script);
        const QString name =
            kv::test::RoadRun::exportName(QStringLiteral("7701"), QString::fromLatin1(kPersonInn));
        QCOMPARE(run_.script.textOf(QStringLiteral("exportResult")),
                 QStringLiteral("Сформирован файл ") + folder_.path() + QStringLiteral("/ ") + name);
        exportedPath_ = folder_.filePath(name);
        QVERIFY(QFile::exists(exportedPath_));
        snap(&window, QStringLiteral("11-exported"));
    }

    void savedDocumentHoldsTheReturn() {
        if (savedPath_.isEmpty())
            QSKIP("the road did not reach saving");
        Declaration d(run_.clock);
        d.loadFromFile(QFile::encodeName(savedPath_).toStdString());
        QCOMPARE(d.inspectionCode, Cp1251Text{"7701"});
        QCOMPARE(d.person.oktmo, Cp1251Text::fromBytes(std::string_view(kHomeOktmo)));
        QCOMPARE(d.person.surname, Cp1251Text::fromUtf8("Смирнов"));
        QCOMPARE(d.person.identityDocCode, std::int16_t{21});
        QCOMPARE(d.person.identityDocNumber, Cp1251Text{"45 10 123456"});
        QCOMPARE(d.incomes13.count(), 1);
        const ThirteenPercentSource& employer = d.incomes13.get(0);
        QCOMPARE(employer.itemCount(), 12);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(employer.item(i).month, static_cast<std::int16_t>(i + 1));
            QCOMPARE(employer.item(i).incomeCode, 2000);
        }
        QCOMPARE(employer.totalIncome, Money::fromRoubles(1200000));
        QCOMPARE(employer.taxWithheld, Money::fromRoubles(156000));
        QCOMPARE(d.propertyDeductions.granted, std::uint8_t{1});
        QCOMPARE(d.propertyDeductions.objects.count(), 1);
        QCOMPARE(d.propertyDeductions.objects.get(0).objectCost, Money::fromRoubles(3500000));
    }

    void exportedFileCarriesTheHandWorkedFigures() {
        if (exportedPath_.isEmpty())
            QSKIP("the road did not reach the export");
        const kv::test::XmlFile xml(exportedPath_);
        QVERIFY(xml.loaded());
        const QString doc = QStringLiteral("Файл/Документ");
        const QString body = doc + QStringLiteral("/НДФЛ3");
        QCOMPARE(xml.value(doc, QStringLiteral("КодНО")), QStringLiteral("7701"));
        QCOMPARE(xml.value(doc + QStringLiteral("/СвНП/НПФЛ3/ФИОФЛ"), QStringLiteral("Фамилия")),
                 QStringLiteral("СМИРНОВ"));
        QCOMPARE(xml.value(doc + QStringLiteral("/СвНП/НПФЛ3/СведФЛ1"), QStringLiteral("ИННФЛ")),
                 QString::fromLatin1(kPersonInn));

        // Section 1: the whole tax withheld comes back on the employer's OKTMO.
        const QString refund = body + QStringLiteral("/СумНалПу");
        QCOMPARE(xml.value(refund, QStringLiteral("КБК")), QStringLiteral("18210102010011000110"));
        QCOMPARE(xml.value(refund, QStringLiteral("ПрУплВозв")), QStringLiteral("2"));
        QCOMPARE(xml.value(refund, QStringLiteral("ОКТМО")), QString::fromLatin1(kOktmo));
        QCOMPARE(xml.value(refund, QStringLiteral("ПодлУпл")), QStringLiteral("0"));
        QCOMPARE(xml.value(refund, QStringLiteral("ПодлВозв")), QStringLiteral("156000"));

        // Section 2 at 13%: the income is wholly taken by the housing deduction.
        const QString base = body + QStringLiteral("/НалБаза");
        QCOMPARE(xml.value(base, QStringLiteral("Ставка")), QStringLiteral("13"));
        QCOMPARE(xml.value(base, QStringLiteral("ВидДоход")), QStringLiteral("3"));
        const QList<std::pair<QString, QString>> figures = {
            {QStringLiteral("РасчНалБаза/ДоходОбщ"), QStringLiteral("1200000.00")},
            {QStringLiteral("РасчНалБаза/ДоходОбщНал"), QStringLiteral("1200000.00")},
            {QStringLiteral("РасчНалБаза/СумНалВыч"), QStringLiteral("1200000.00")},
            {QStringLiteral("РасчНалБаза/НалБаза"), QStringLiteral("0.00")},
            {QStringLiteral("РасчНалПУ/Исчисл"), QStringLiteral("0")},
            {QStringLiteral("РасчНалПУ/УдержОбщ"), QStringLiteral("156000")},
            {QStringLiteral("РасчНалПУ/ПодлУпл"), QStringLiteral("0")},
            {QStringLiteral("РасчНалПУ/ПодлВозв"), QStringLiteral("156000")},
        };
        for (const auto& [where, expected] : figures) {
            const QString element = where.section(QLatin1Char('/'), 0, 0);
            const QString attribute = where.section(QLatin1Char('/'), 1, 1);
            QCOMPARE(xml.value(base + QLatin1Char('/') + element, attribute), expected);
        }

        // Appendix 1: the employer.
        const QString payer = body + QStringLiteral("/ДоходИстРФ");
        QCOMPARE(xml.value(payer, QStringLiteral("Ставка")), QStringLiteral("13"));
        QCOMPARE(xml.value(payer, QStringLiteral("ОКТМО")), QString::fromLatin1(kOktmo));
        QCOMPARE(xml.value(payer, QStringLiteral("Доход")), QStringLiteral("1200000.00"));
        QCOMPARE(xml.value(payer, QStringLiteral("НалУдерж")), QStringLiteral("156000"));
        QCOMPARE(xml.value(payer + QStringLiteral("/ИстЮЛ"), QStringLiteral("Наим")),
                 QStringLiteral("ООО «РОМАШКА»"));
        QCOMPARE(xml.value(payer + QStringLiteral("/ИстЮЛ"), QStringLiteral("ИННЮЛ")),
                 QString::fromLatin1(kEmployerInn));
        QCOMPARE(xml.value(payer + QStringLiteral("/ИстЮЛ"), QStringLiteral("КПП")),
                 QString::fromLatin1(kEmployerKpp));

        // Appendix 7: the flat, limited to two million, 800 000 left for later years.
        const QString housing = body + QStringLiteral("/ИмущНалВычНов/РасчИмущВыч");
        QCOMPARE(xml.value(housing, QStringLiteral("НалБаз13БезВыч")), QStringLiteral("1200000.00"));
        QCOMPARE(xml.value(housing, QStringLiteral("РасхНовВычНД")), QStringLiteral("1200000.00"));
        QCOMPARE(xml.value(housing, QStringLiteral("ПроцВычНД")), QStringLiteral("0.00"));
        QCOMPARE(xml.value(housing, QStringLiteral("ОстИВБезПроц")), QStringLiteral("800000.00"));
        const QString object = housing + QStringLiteral("/СвОбъектРасх");
        QCOMPARE(xml.value(object, QStringLiteral("КодНаимОб")), QStringLiteral("2"));
        QCOMPARE(xml.value(object, QStringLiteral("ПризнакНП")), QStringLiteral("01"));
        QCOMPARE(xml.value(object, QStringLiteral("ДатаРегЖил")), QStringLiteral("15.06.2019"));
        QCOMPARE(xml.value(object, QStringLiteral("СумРасхФакт")), QStringLiteral("2000000.00"));
        QCOMPARE(xml.value(object + QStringLiteral("/СведОбъект"), QStringLiteral("КодНомерОб")),
                 QStringLiteral("1"));
        QCOMPARE(xml.value(object + QStringLiteral("/СведОбъект"), QStringLiteral("НомерОб")),
                 QString::fromLatin1(kFlatNumber));
    }

    void reopenedReturnShowsEveryFieldAsEntered() {
        if (savedPath_.isEmpty())
            QSKIP("the road did not reach saving");
        MainWindow window(savedPath_, run_.options());
        window.show();
        QCOMPARE(kv::test::textOf(&window, "meInspection"), QStringLiteral("7701"));
        QCOMPARE(kv::test::textOf(&window, "meOKATO"), QString::fromLatin1(kHomeOktmo));
        QCOMPARE(child<QLabel>(&window, "lblInspectionName")->text().isEmpty(), false);

        clickSection(window, Section::Taxpayer);
        const QList<std::pair<const char*, QString>> person = {
            {"edSurname", QStringLiteral("Смирнов")},
            {"edName", QStringLiteral("Алексей")},
            {"edPatronymic", QStringLiteral("Викторович")},
            {"edInn", QString::fromLatin1(kPersonInn)},
            {"edBirthPlace", QStringLiteral("г. Москва")},
            {"edDocName", QStringLiteral("Паспорт гражданина РФ")},
            {"edDocNumber", QStringLiteral("45 10 123456")},
            {"edDocIssuer", QStringLiteral("ОВД района Хамовники г. Москвы")},
            {"edPhone", QStringLiteral("8 916 1234567")},
        };
        for (const auto& [field, text] : person)
            QCOMPARE(kv::test::textOf(&window, field), text);
        QCOMPARE(child<kv::DateEdit>(&window, "deBirthDate")->date(), QDate(1985, 4, 12));
        QCOMPARE(child<kv::DateEdit>(&window, "deDocDate")->date(), QDate(2010, 5, 20));

        clickSection(window, Section::RussianIncome);
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(&window, "lvSources")), QStringList{"ООО «Ромашка»"});
        const QStringList incomes = kv::test::rowsOf(child<QTreeWidget>(&window, "lvIncomes"));
        QCOMPARE(incomes.size(), 12);
        QCOMPARE(incomes.first(), QStringLiteral("1|2000|100 000,00|Нет|-"));
        QCOMPARE(incomes.last(), QStringLiteral("12|2000|100 000,00|Нет|-"));
        QCOMPARE(kv::test::textOf(&window, "edTaxWithheld"), QStringLiteral("156000"));
        QCOMPARE(kv::test::textOf(&window, "edTotalIncome"), QStringLiteral("1 200 000,00"));
        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog& d) {
            QCOMPARE(kv::test::textOf(&d, "edSourceInn"), QString::fromLatin1(kEmployerInn));
            QCOMPARE(kv::test::textOf(&d, "edSourceKpp"), QString::fromLatin1(kEmployerKpp));
            QCOMPARE(kv::test::textOf(&d, "edSourceOktmo"), QString::fromLatin1(kOktmo));
            kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(&window, "bnEditSource");
        KV_VERIFY_MODALS();

        clickSection(window, Section::Deductions);
        QVERIFY(child<QAbstractButton>(&window, "chbConstructionDeduct")->isChecked());
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(&window, "lvObjects")),
                 QStringList{QStringLiteral("Квартира ") + QString::fromLatin1(kFlatNumber)});
        QCOMPARE(kv::test::textOf(&window, "edTotalCost"), QStringLiteral("2 000 000,00"));
        auto* objects = child<QTreeWidget>(&window, "lvObjects");
        objects->setCurrentItem(objects->topLevelItem(0));
        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog& d) {
            QCOMPARE(child<QComboBox>(&d, "cbObjectKind")->currentText(), QStringLiteral("Квартира"));
            QCOMPARE(child<QComboBox>(&d, "cbTaxpayerSign")->currentIndex(), 0);
            QCOMPARE(kv::test::textOf(&d, "edObjectAddress"),
                     QStringLiteral("г. Москва, ул. Тверская, д. 1, кв. 10"));
            QCOMPARE(child<kv::DateEdit>(&d, "deRightDate")->date(), QDate(2019, 6, 15));
            QCOMPARE(kv::test::textOf(&d, "edObjectCost"), QStringLiteral("3500000"));
            kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(&window, "bnEditObject");
        KV_VERIFY_MODALS();
        QVERIFY(window.documentSaved());
    }

    // The same return with dividends, a prize at 35% and an income at 9% added through
    // their screens, saved and exported. Hand-worked figures:
    // - dividends 50 000 at 13%: 6 500; 7 000 withheld, so 500 comes back to the payer;
    // - the prize 10 000, of which 4 000 is exempt: base 6 000, tax 2 100, none withheld;
    // - 9% of 10 005,60 = 900,504, so 901; 900 withheld, 1 to pay;
    // - Section 1: the salary refund of 156 000 stays on the employer, 500 on the
    //   dividend payer, and 2 100 + 1 = 2 101 to pay on the taxpayer's own OKTMO.
    void incomesAtEveryRate() {
        if (savedPath_.isEmpty())
            QSKIP("the road did not reach saving");
        const QString path = folder_.filePath(QStringLiteral("Смирнов-ставки.qv9"));
        QVERIFY(QFile::copy(savedPath_, path));
        MainWindow window(path, run_.options());
        window.show();
        clickSection(window, Section::RussianIncome);
        const auto enterPayer = [](QDialog& d, const char* name, const char* oktmo) {
            kv::test::retype(&d, "edSourceName", QString::fromUtf8(name));
            kv::test::retype(&d, "edSourceInn", QStringLiteral("1234567894"));
            kv::test::retype(&d, "edSourceKpp", QStringLiteral("773601001"));
            kv::test::retype(&d, "edSourceOktmo", QString::fromLatin1(oktmo));
        };

        kv::test::clickButton(&window, "FlashButton7");
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("TfrThirtyPercent")) != nullptr);
        kv::test::whenModal(QStringLiteral("TfmInput30SourseIncome"), [&](QDialog& d) {
            enterPayer(d, "ПАО «Дивиденд»", kDividendOktmo);
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("50000"));
            kv::test::retype(&d, "edTaxWithheld", QStringLiteral("7000"));
            snap(&d, QStringLiteral("12-dividends"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&window, "edTotalIncome"), QStringLiteral("50 000,00"));

        kv::test::clickButton(&window, "FlashButton3");
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("TfrThirtyFivePercent")) != nullptr);
        kv::test::whenModal(QStringLiteral("TfmInput35SourseIncome"), [&](QDialog& d) {
            enterPayer(d, "ООО «Реклама»", kOktmo);
            kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("2740"));
            kv::test::clickButton(&d, "bnIncomeCode");
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("10000"));
            kv::test::whenPicker(QStringLiteral("TfmInputDeductCode"), QStringLiteral("505"));
            kv::test::clickButton(&d, "bnDeductCode");
            QCOMPARE(kv::test::textOf(&d, "edDeductSum"), QStringLiteral("4000"));
            snap(&d, QStringLiteral("13-prize"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&window, "edDeductSum"), QStringLiteral("4 000,00"));
        snap(&window, QStringLiteral("14-prizes"));

        kv::test::clickButton(&window, "FlashButton2");
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("TfrNinePercent")) != nullptr);
        kv::test::whenModal(QStringLiteral("TfmInput9SourseIncome"), [&](QDialog& d) {
            enterPayer(d, "ООО «Ипотека»", kOktmo);
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("10005,6"));
            kv::test::retype(&d, "edTaxWithheld", QStringLiteral("900"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&window, "bnAddSource");
        KV_VERIFY_MODALS();

        kv::test::clickButton(&window, "fbSave");
        QVERIFY(window.documentSaved());
        Declaration saved(run_.clock);
        saved.loadFromFile(QFile::encodeName(path).toStdString());
        QCOMPARE(saved.incomes30.count(), 1);
        QCOMPARE(saved.incomes30.get(0).incomeCode, 1010);
        QCOMPARE(saved.incomes30.get(0).taxableAmount, Money::fromRoubles(50000));
        QCOMPARE(saved.incomes35.count(), 1);
        QCOMPARE(saved.incomes35.get(0).deductionCode, 505);
        QCOMPARE(saved.incomes35.get(0).deductionAmount, Money::fromRoubles(4000));
        QCOMPARE(saved.incomes9.count(), 1);
        QCOMPARE(saved.incomes9.get(0).incomeCode, 1011);
        QCOMPARE(saved.incomes9.get(0).taxCalculated, Money::fromRoubles(901));

        run_.script.expect(QStringLiteral("checkPassed"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbCheck");
        const QString exportFolder = folder_.filePath(QStringLiteral("rates"));
        QVERIFY(QDir().mkpath(exportFolder));
        run_.script.expectFile(QStringLiteral("exportFolder"), exportFolder);
        run_.script.expect(QStringLiteral("exportResult"), QStringLiteral("OK"));
        kv::test::clickButton(&window, "fbExsport");
        KV_VERIFY_ASKER(run_.script);
        const QStringList exported = QDir(exportFolder).entryList({QStringLiteral("NO_NDFL3_*.xml")});
        QCOMPARE(exported.size(), 1);
        const XmlFile xml(QDir(exportFolder).filePath(exported.first()));
        QVERIFY(xml.loaded());
        const QString body = QStringLiteral("Файл/Документ/НДФЛ3");

        // Section 2, one element per rate and kind of income.
        const auto section2 = [&](const QString& rate, const QString& kind) -> xmlNodePtr {
            for (xmlNodePtr node : xml.elements(body + QStringLiteral("/НалБаза"))) {
                if (XmlFile::attributeOf(node, QStringLiteral("Ставка")) == rate &&
                    XmlFile::attributeOf(node, QStringLiteral("ВидДоход")) == kind)
                    return node;
            }
            return nullptr;
        };
        const auto part = [](xmlNodePtr node, const QString& name, const QString& attribute) {
            for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
                if (child->type == XML_ELEMENT_NODE &&
                    QString::fromUtf8(reinterpret_cast<const char*>(child->name)) == name)
                    return XmlFile::attributeOf(child, attribute);
            }
            return QStringLiteral("<no %1>").arg(name);
        };
        const struct {
            const char* rate;
            const char* kind;
            QStringList base; // ДоходОбщ, ДоходОбщНеНал, ДоходОбщНал, НалБаза
            QStringList tax; // Исчисл, УдержОбщ, ПодлУпл, ПодлВозв
        } rates[] = {
            {"13", "3", {"1200000.00", "0.00", "1200000.00", "0.00"}, {"0", "156000", "0", "156000"}},
            {"13", "1", {"50000.00", "0.00", "50000.00", "50000.00"}, {"6500", "7000", "0", "500"}},
            {"35", "3", {"10000.00", "4000.00", "6000.00", "6000.00"}, {"2100", "0", "2100", "0"}},
            {"09", "3", {"10005.60", "0.00", "10005.60", "10005.60"}, {"901", "900", "1", "0"}},
        };
        const QStringList baseNames = {QStringLiteral("ДоходОбщ"), QStringLiteral("ДоходОбщНеНал"),
                                       QStringLiteral("ДоходОбщНал"), QStringLiteral("НалБаза")};
        const QStringList taxNames = {QStringLiteral("Исчисл"), QStringLiteral("УдержОбщ"),
                                      QStringLiteral("ПодлУпл"), QStringLiteral("ПодлВозв")};
        for (const auto& r : rates) {
            const xmlNodePtr node = section2(QString::fromLatin1(r.rate), QString::fromLatin1(r.kind));
            QVERIFY2(node != nullptr, r.rate);
            for (int i = 0; i < 4; ++i) {
                QCOMPARE(part(node, QStringLiteral("РасчНалБаза"), baseNames.at(i)), r.base.at(i));
                QCOMPARE(part(node, QStringLiteral("РасчНалПУ"), taxNames.at(i)), r.tax.at(i));
            }
        }

        // Section 1: refunds on the payers that withheld the tax, the rest to pay at home.
        QStringList lines;
        for (xmlNodePtr node : xml.elements(body + QStringLiteral("/СумНалПу"))) {
            QStringList cells;
            for (const char* attribute : {"КБК", "ОКТМО", "ПрУплВозв", "ПодлУпл", "ПодлВозв"})
                cells.append(XmlFile::attributeOf(node, QString::fromUtf8(attribute)));
            lines.append(cells.join(QLatin1Char('|')));
        }
        QCOMPARE(lines, (QStringList{
                            QStringLiteral("18210102010011000110|%1|2|0|156000").arg(kOktmo),
                            QStringLiteral("18210102010011000110|%1|2|0|500").arg(kDividendOktmo),
                            QStringLiteral("18210102030011000110|%1|1|2101|0").arg(kHomeOktmo),
                        }));
    }
};

KV_QTEST_MAIN(RoadTest)

#include "road_test.moc"
