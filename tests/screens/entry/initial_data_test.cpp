// The initial-data screen: loading and saving the conditions, the rules of the kind
// of return and of the income boxes, the tax-office picker and the checks on leaving.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/InitialDataScreen.h"
#include "screens/kit/UiText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

using namespace kv;
using kv::test::ScreenTestHost;

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// A resident's return with certificate and foreign incomes, one of each entered.
void fillReturn(Declaration& d) {
    d.inspectionCode = "7702";
    d.correctionNumber = 2;
    d.person.oktmo = "45382000";
    d.submitterKind = 1;
    d.representativeName = cp("Петров Пётр Петрович");
    d.representativeDocument = cp("Доверенность № 5");
    d.taxpayerCategory = 3;
    d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
    d.incomes13.add();
    d.foreignIncomes.add();
    d.sheetCountAutomatic = 0;
    d.setSupportingSheets(3);
}

QString boxStates(const QWidget& screen) {
    QStringList states;
    for (const char* name : {"chbIncomeInquiry", "chbIncomeCurrency", "chbIncomeBusiness"}) {
        const auto* box = kv::test::child<QCheckBox>(const_cast<QWidget*>(&screen), name);
        states.append(
            QStringLiteral("%1%2").arg(box->isChecked() ? '1' : '0').arg(box->isEnabled() ? 'e' : 'd'));
    }
    return states.join(QLatin1Char(' '));
}

} // namespace

class InitialDataTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void loadsWhatTheDocumentHoldsAndSavesItBackUnchanged() {
        ScreenTestHost host;
        kv::test::loadSmallDirectories(host.loaded);
        fillReturn(*host.document);
        const Declaration before = *host.document;
        InitialDataScreen screen(nullptr, host);

        QCOMPARE(kv::test::textOf(&screen, "meInspection"), QStringLiteral("7702"));
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblInspectionName")->text(),
                 QStringLiteral("Инспекция № 2"));
        QCOMPARE(kv::test::textOf(&screen, "meNumVer"), QStringLiteral("2"));
        QCOMPARE(kv::test::textOf(&screen, "meOKATO"), QStringLiteral("45382000"));
        QCOMPARE(kv::test::textOf(&screen, "meFIO"), QStringLiteral("Петров Пётр Петрович"));
        QCOMPARE(kv::test::textOf(&screen, "meOsn"), QStringLiteral("Доверенность № 5"));
        QVERIFY(kv::test::child<QAbstractButton>(&screen, "rbGiveTrustFase")->isChecked());
        QVERIFY(kv::test::child<QAbstractButton>(&screen, "rbAdvokat")->isChecked());
        QVERIFY(kv::test::child<QAbstractButton>(&screen, "rbSimple")->isChecked());
        QCOMPARE(boxStates(screen), QStringLiteral("1e 1e 0e"));
        QVERIFY(host.sectionEnabled(Section::RussianIncome));
        QVERIFY(host.sectionEnabled(Section::ForeignIncome));
        QVERIFY(!host.sectionEnabled(Section::BusinessIncome));
        QVERIFY(host.sectionEnabled(Section::Deductions));

        screen.saveData();
        QVERIFY(*host.document == before);
        QCOMPARE(host.changes, 0);

        kv::test::typeText(kv::test::child<QLineEdit>(&screen, "meOKATO"), QStringLiteral("123"));
        QCOMPARE(kv::test::textOf(&screen, "meOKATO"), QStringLiteral("45382000123"));
        QVERIFY(host.changes > 0);
    }

    // Choosing a kind of return sets what the boxes, the categories and the
    // sections allow, and clearing a box deletes that kind of income at once.
    void kindOfReturnRules_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("boxes"); // certificate, currency, business: checked, enabled
        QTest::addColumn<bool>("deductions");
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("estimatedShown");
        QTest::addColumn<bool>("certificateIncomesKept");
        QTest::addColumn<bool>("foreignIncomesKept");

        QTest::newRow("non-resident")
            << QStringList{"rbNeRez"} << "1e 0d 0d" << false << "rbFLProch" << false << true << false;
        QTest::newRow("4-NDFL") << QStringList{"rb4ndfl"} << "0d 0d 0d" << false << "rbPredp" << true << false
                                << false;
        QTest::newRow("termination of business")
            << QStringList{"rbNextYear"} << "0d 0d 1e" << false << "rbPredp" << false << false << false;
        QTest::newRow("back to resident") << QStringList{"rb4ndfl", "rbSimple"} << "0e 0e 0e" << false
                                          << "rbPredp" << false << false << false;
        QTest::newRow("business checked again") << QStringList{"rbNextYear", "rbSimple"} << "0e 0e 1e" << true
                                                << "rbPredp" << false << false << false;
    }

    void kindOfReturnRules() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, boxes);
        QFETCH(bool, deductions);
        QFETCH(QString, category);
        QFETCH(bool, estimatedShown);
        QFETCH(bool, certificateIncomesKept);
        QFETCH(bool, foreignIncomesKept);

        ScreenTestHost host;
        fillReturn(*host.document);
        host.document->taxpayerCategory = 5;
        InitialDataScreen screen(nullptr, host);
        // Every first click unticks a box with an income entered under it.
        host.script.expect(QStringLiteral("dropIncomesOfKind"), QStringLiteral("Да"));
        for (const QString& name : clicks)
            kv::test::clickButton(&screen, name.toLatin1().constData());

        QCOMPARE(boxStates(screen), boxes);
        QCOMPARE(host.sectionEnabled(Section::Deductions), deductions);
        QVERIFY(kv::test::child<QAbstractButton>(&screen, category.toLatin1().constData())->isChecked());
        QCOMPARE(!kv::test::child<QWidget>(&screen, "meSupposeIncome")->isHidden(), estimatedShown);
        QCOMPARE(!kv::test::child<QWidget>(&screen, "rbGiveByMail")->isHidden(), estimatedShown);
        QCOMPARE(host.document->incomes13.count() == 1, certificateIncomesKept);
        QCOMPARE(host.document->foreignIncomes.count() == 1, foreignIncomesKept);
        QVERIFY(host.changes > 0);
        KV_VERIFY_ASKER(host.script);

        screen.saveData();
        QCOMPARE(host.document->declarationKind,
                 static_cast<std::uint8_t>(
                     QStringList({"rbSimple", "rbNeRez", "rb4ndfl", "rbNextYear"}).indexOf(clicks.last())));
    }

    void estimatedIncomeIsEmptiedWhenBusinessGoes() {
        ScreenTestHost host;
        host.document->declarationKind = 3;
        host.document->setIncomeFlags(Declaration::kBusinessIncomes);
        host.document->estimatedIncome = Money::fromRoubles(500000);
        InitialDataScreen screen(nullptr, host);
        QCOMPARE(kv::test::textOf(&screen, "meSupposeIncome"), QStringLiteral("500000"));
        kv::test::clickButton(&screen, "rb4ndfl");
        QVERIFY(kv::test::child<QWidget>(&screen, "meSupposeIncome")->isEnabled());
        QCOMPARE(kv::test::textOf(&screen, "meSupposeIncome"), QString());
        kv::test::typeText(kv::test::child<QLineEdit>(&screen, "meSupposeIncome"), QStringLiteral("750000"));
        screen.saveData();
        QCOMPARE(host.document->estimatedIncome, Money::fromRoubles(750000));
        QCOMPARE(host.document->incomeFlags(), std::uint8_t{0});
    }

    void uncheckingCertificateIncomesDeletesThem() {
        ScreenTestHost host;
        fillReturn(*host.document);
        InitialDataScreen screen(nullptr, host);
        auto* box = kv::test::child<QCheckBox>(&screen, "chbIncomeInquiry");
        host.script.expect(QStringLiteral("dropIncomes"), QStringLiteral("Да"));
        box->click();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(!host.document->incomes13.exists());
        QVERIFY(!host.sectionEnabled(Section::RussianIncome));
        QVERIFY(host.sectionEnabled(Section::Deductions)); // foreign incomes remain
        box->click();
        QVERIFY(host.sectionEnabled(Section::RussianIncome));
        screen.saveData();
        QCOMPARE(host.document->incomes13.count(), 0);
        QVERIFY(host.document->incomes13.exists());
    }

    // Unticking a box whose incomes were entered asks first; "Нет" changes nothing.
    void uncheckingABoxWithIncomesAsksFirst_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("bit");
        QTest::newRow("certificates") << "chbIncomeInquiry" << int{Declaration::kAgentIncomes};
        QTest::newRow("foreign currency") << "chbIncomeCurrency" << int{Declaration::kForeignIncomes};
        QTest::newRow("business") << "chbIncomeBusiness" << int{Declaration::kBusinessIncomes};
        QTest::newRow("partnerships") << "chbInvestTov" << int{Declaration::kPartnershipIncomes};
    }

    void uncheckingABoxWithIncomesAsksFirst() {
        QFETCH(QString, box);
        QFETCH(int, bit);
        const auto flag = static_cast<std::uint8_t>(bit);
        ScreenTestHost host;
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                         Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes);
        d.incomes35.add();
        d.foreignIncomes.add();
        d.businessIncomes.add();
        d.investPartnerships.add();
        InitialDataScreen screen(nullptr, host);
        auto* shown = kv::test::child<QCheckBox>(&screen, box.toLatin1().constData());

        host.script.expect(QStringLiteral("dropIncomes"), QStringLiteral("Нет"));
        shown->click();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(shown->isChecked());
        screen.saveData();
        QVERIFY(d.holdsEntriesUnder(flag));

        host.script.expect(QStringLiteral("dropIncomes"), QStringLiteral("Да"));
        shown->click();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(!shown->isChecked());
        screen.saveData();
        QVERIFY(!d.holdsEntriesUnder(flag));
        QCOMPARE(d.incomeFlags() & flag, 0);

        // Nothing entered any more: ticking and unticking again asks nothing.
        shown->click();
        shown->click();
        QVERIFY(!shown->isChecked());
        KV_VERIFY_ASKER(host.script);
    }

    void choosingAKindThatDropsIncomesAsksFirst() {
        ScreenTestHost host;
        fillReturn(*host.document);
        InitialDataScreen screen(nullptr, host);
        const int changes = host.changes;
        host.script.expect(QStringLiteral("dropIncomesOfKind"), QStringLiteral("Нет"));
        kv::test::clickButton(&screen, "rb4ndfl");
        KV_VERIFY_ASKER(host.script);
        QVERIFY(kv::test::child<QAbstractButton>(&screen, "rbSimple")->isChecked());
        QVERIFY(!kv::test::child<QAbstractButton>(&screen, "rb4ndfl")->isChecked());
        QCOMPARE(boxStates(screen), QStringLiteral("1e 1e 0e"));
        QCOMPARE(host.changes, changes);
        screen.saveData();
        QCOMPARE(host.document->declarationKind, std::uint8_t{0});
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->foreignIncomes.count(), 1);

        // A kind that drops nothing entered asks nothing.
        host.document->foreignIncomes.remove(0);
        kv::test::clickButton(&screen, "rbNeRez");
        QCOMPARE(boxStates(screen), QStringLiteral("1e 0d 0d"));
        QCOMPARE(host.document->incomes13.count(), 1);
        KV_VERIFY_ASKER(host.script);
    }

    // A return written elsewhere may hold incomes its kind does not offer; viewing and
    // saving the screen keeps them.
    void viewingKeepsIncomesTheKindDoesNotOffer() {
        ScreenTestHost host;
        fillReturn(*host.document);
        host.document->declarationKind = 2;
        const std::uint8_t flags = host.document->incomeFlags();
        InitialDataScreen screen(nullptr, host);
        QCOMPARE(boxStates(screen), QStringLiteral("1d 1d 0d"));
        screen.saveData();
        QCOMPARE(host.document->incomeFlags(), flags);
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->foreignIncomes.count(), 1);
    }

    void representativeFieldsFollowTheConfirmation() {
        ScreenTestHost host;
        fillReturn(*host.document);
        InitialDataScreen screen(nullptr, host);
        QVERIFY(kv::test::child<QWidget>(&screen, "meFIO")->isEnabled());
        kv::test::clickButton(&screen, "rbGiveSelf");
        QVERIFY(!kv::test::child<QWidget>(&screen, "meFIO")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&screen, "meOsn")->isEnabled());
        screen.saveData();
        QCOMPARE(host.document->submitterKind, std::uint8_t{0});
        QVERIFY(host.document->representativeName.empty());
        QVERIFY(host.document->representativeDocument.empty());
        QCOMPARE(screen.checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
    }

    void checksOnLeaving_data() {
        QTest::addColumn<QString>("inspection");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("submitter");
        QTest::addColumn<QString>("organisation");
        QTest::addColumn<QString>("oktmo");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("lastTitle");
        QTest::addColumn<int>("code");

        const QString conditions = QStringLiteral("Проверка: Задание условий");
        const QString taxpayer = QStringLiteral("Проверка: Сведения о декларанте");
        const QString noOffice = QStringLiteral("Не введен номер инспекции");
        const QString noName = QStringLiteral("Не указаны ФИО подписанта-представителя");
        const QString noDocument =
            QStringLiteral("Не указан документ, подтверждающий полномочия представителя");
        const QString noOrganisation = QStringLiteral("Не указано наименование Юр.лица-представителя");
        const QString oktmoLength = QStringLiteral("Код ОКТМО должен содержать 8 или 11 символов");

        QTest::newRow("all given") << "7701" << 0 << 0 << ""
                                   << "45382000" << QStringList{} << QStringList{} << "" << 0;
        QTest::newRow("OKTMO of 11 digits, or none")
            << "7701" << 0 << 0 << ""
            << "45382000001" << QStringList{} << QStringList{} << "" << 0;
        QTest::newRow("empty OKTMO passes here") << "7701" << 0 << 0 << ""
                                                 << "" << QStringList{} << QStringList{} << "" << 0;
        QTest::newRow("office code of three digits, fixed")
            << "770" << 0 << 0 << ""
            << "" << QStringList{"Исправить"}
            << QStringList{QStringLiteral("Код инспекции должен состоять из четырёх цифр")} << conditions
            << 1;
        QTest::newRow("no office, fixed")
            << "" << 0 << 0 << ""
            << "" << QStringList{"Исправить"} << QStringList{noOffice} << conditions << 1;
        QTest::newRow("no office skipped, OKTMO of 9 digits")
            << "" << 0 << 0 << ""
            << "453820001" << QStringList{"Пропустить", "Исправить"} << QStringList{noOffice, oktmoLength}
            << taxpayer << 10;
        QTest::newRow("skip all ends the check")
            << "" << 0 << 1 << ""
            << "1" << QStringList{"Пропустить все"} << QStringList{noOffice} << conditions << 0;
        QTest::newRow("representative without name and document")
            << "7701" << 0 << 1 << ""
            << "" << QStringList{"Пропустить", "Исправить"} << QStringList{noName, noDocument} << conditions
            << 4;
        QTest::newRow("organisation without its name")
            << "7701" << 2 << 2 << ""
            << "" << QStringList{"Пропустить", "Пропустить", "Исправить"}
            << QStringList{noName, noDocument, noOrganisation} << conditions << 5;
    }

    void checksOnLeaving() {
        QFETCH(QString, inspection);
        QFETCH(int, kind);
        QFETCH(int, submitter);
        QFETCH(QString, organisation);
        QFETCH(QString, oktmo);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, lastTitle);
        QFETCH(int, code);

        ScreenTestHost host;
        Declaration& d = *host.document;
        d.inspectionCode = Cp1251Text::fromBytes(inspection.toStdString());
        d.declarationKind = static_cast<std::uint8_t>(kind);
        d.submitterKind = static_cast<std::uint8_t>(submitter);
        d.representativeOrganisation = Cp1251Text::fromBytes(organisation.toStdString());
        d.person.oktmo = Cp1251Text::fromBytes(oktmo.toStdString());
        InitialDataScreen screen(nullptr, host);
        for (const QString& answer : answers)
            host.script.expect(QStringLiteral("TfmCheckError"), answer);

        screen.saveData();
        QCOMPARE(screen.checkData(), static_cast<std::uint16_t>(code));
        QStringList asked;
        for (const Question& q : host.script.questions())
            asked.append(q.text);
        QCOMPARE(asked, messages);
        if (!lastTitle.isEmpty())
            QCOMPARE(host.script.questions().last().title, lastTitle);
        KV_VERIFY_ASKER(host.script);
    }

    void taxOfficeComesFromThePicker() {
        ScreenTestHost host;
        kv::test::loadSmallDirectories(host.loaded);
        InitialDataScreen screen(nullptr, host);
        QVERIFY(kv::test::child<QWidget>(&screen, "bnInspection")->isEnabled());

        kv::test::whenPicker(QStringLiteral("TfmInputInspectionNumber"), QStringLiteral("7702"));
        kv::test::clickButton(&screen, "bnInspection");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&screen, "meInspection"), QStringLiteral("7702"));
        QCOMPARE(host.changes, 1);

        // The element code of a missing office opens the picker again; cancelling changes nothing.
        kv::test::whenModal(QStringLiteral("TfmInputInspectionNumber"),
                            [](QDialog& picker) { QTest::keyClick(&picker, Qt::Key_Escape); });
        screen.setFocusToElement(1);
        KV_VERIFY_MODALS();
        QCOMPARE(host.changes, 1);

        screen.saveData();
        QCOMPARE(host.document->inspectionCode, Cp1251Text{"7702"});
        QCOMPARE(host.document->inspectionName, cp("Инспекция № 2"));
    }

    // A missing office sends the user to the directory import; a file that cannot be
    // read is reported and leaves the directory as it was.
    void missingOfficeOpensTheImport() {
        ScreenTestHost host;
        kv::test::loadSmallDirectories(host.loaded);
        InitialDataScreen screen(nullptr, host);
        host.script.expectFile(QStringLiteral("sounFile"), QStringLiteral("/nonexistent/soun1.dbf"));
        host.script.expect(QStringLiteral("sounFailed"), QStringLiteral("OK"));
        kv::test::whenModal(QStringLiteral("TfmInputInspectionNumber"), [](QDialog& picker) {
            kv::test::whenModal(QStringLiteral("TfmLoadSoun"), [](QDialog& import) {
                QVERIFY(!kv::test::child<QWidget>(&import, "bnImport")->isEnabled());
                kv::test::clickButton(&import, "bnBrowse");
                QCOMPARE(kv::test::textOf(&import, "edPath"), QStringLiteral("/nonexistent/soun1.dbf"));
                QVERIFY(!kv::test::child<QWidget>(&import, "bnOk")->isEnabled());
                kv::test::clickButton(&import, "bnImport");
                kv::test::clickButton(&import, "bnOk");
            });
            kv::test::clickButton(&picker, "bnLoadSoun");
            kv::test::clickButton(&picker, "bnCancel");
        });
        kv::test::clickButton(&screen, "bnInspection");
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.script.textOf(QStringLiteral("sounFailed")),
                 QStringLiteral("Импортировать данные не удалось"));
        QCOMPARE(kv::test::textOf(&screen, "meInspection"), QString());
    }

    // The office is typed by its code: the directory's name when it knows the code,
    // else a note; the picker stays for choosing by name.
    void officeTypedByItsCode_data() {
        QTest::addColumn<bool>("directory");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("storedName");

        const QString notFound = QStringLiteral("наименование не найдено в справочнике");
        QTest::newRow("known code") << true << "7701"
                                    << "Инспекция № 1"
                                    << "Инспекция № 1";
        QTest::newRow("code the directory lacks") << true << "5024" << notFound << "";
        QTest::newRow("no directory at all") << false << "7701" << notFound << "";
        QTest::newRow("letters are not taken") << true << "77a01"
                                               << "Инспекция № 1"
                                               << "Инспекция № 1";
        QTest::newRow("too short") << true << "77"
                                   << "Код инспекции состоит из четырёх цифр"
                                   << "";
        QTest::newRow("back to the return's own code") << true << "7702"
                                                       << "Своя инспекция"
                                                       << "Своя инспекция";
    }

    void officeTypedByItsCode() {
        QFETCH(bool, directory);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, storedName);
        ScreenTestHost host;
        if (directory)
            kv::test::loadSmallDirectories(host.loaded);
        host.document->inspectionCode = "7702";
        host.document->inspectionName = cp("Своя инспекция");
        InitialDataScreen screen(nullptr, host);
        QCOMPARE(kv::test::child<QWidget>(&screen, "bnInspection")->isEnabled(), directory);

        kv::test::retype(&screen, "meInspection", typed);
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblInspectionName")->text(), shown);
        QVERIFY(host.changes > 0);
        screen.saveData();
        QString digits = typed;
        digits.remove(QRegularExpression(QStringLiteral("\\D")));
        QCOMPARE(QString::fromStdString(host.document->inspectionCode.bytes()), digits);
        QCOMPARE(fromCp1251(host.document->inspectionName), storedName);
    }

    void correctionNumber() {
        ScreenTestHost host;
        host.document->correctionNumber = 998;
        InitialDataScreen screen(nullptr, host);
        kv::test::clickButton(&screen, "updCorrUp");
        kv::test::clickButton(&screen, "updCorrUp");
        QCOMPARE(kv::test::textOf(&screen, "meNumVer"), QStringLiteral("999"));
        kv::test::retype(&screen, "meNumVer", QStringLiteral("1000"));
        QCOMPARE(kv::test::textOf(&screen, "meNumVer"), QStringLiteral("100"));
        kv::test::retype(&screen, "meNumVer", QString());
        screen.saveData();
        QCOMPARE(host.document->correctionNumber, 0);
        kv::test::clickButton(&screen, "updCorrDown");
        QCOMPARE(kv::test::textOf(&screen, "meNumVer"), QStringLiteral("0"));
    }
};

KV_QTEST_MAIN(InitialDataTest)

#include "initial_data_test.moc"
