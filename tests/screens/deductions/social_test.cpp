// The social deductions screen with its education-amount and contract dialogs:
// what it loads and saves, the granted box that wipes both lists, the dialogs'
// checks and the check on leaving.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/ScreenTable.h"
#include "screens/SocialDeductionDialogs.h"
#include "screens/SocialDeductionScreen.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "support/TestValues.h"

#include "screens/kit/DateEdit.h"
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace kv;
using kv::test::child;
using kv::test::rub;
using kv::test::ScreenTestHost;

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

PensionContract contract(int kind, const char* name, const char* number, std::int64_t contribution) {
    PensionContract c;
    c.contractKind = kind;
    c.organisationName = cp(name);
    c.organisationInn = "7707083893";
    c.organisationKpp = "773601001";
    c.contractNumber = Cp1251Text::fromBytes(std::string_view(number));
    c.contractDate = *DateValue::fromYmd(2018, 3, 1);
    c.contribution = rub(contribution);
    return c;
}

// Every field a person can reach, some with values a person could not type.
void filled(SocialDeduction& s) {
    s.granted = 1;
    s.charity = rub(1000);
    s.charity30 = Money::fromRaw(12345); // 1,2345: four decimals in a two-decimal field
    s.ownEducation = rub(50000);
    s.medical = rub(70000);
    s.medicines = rub(3000);
    s.expensiveMedical = rub(250000);
    s.voluntaryInsurance = Money::fromRaw(1);
    s.reservedSum1 = rub(7); // kept, though no field shows it
    s.qualificationAssessment = rub(4000);
    s.childEducation.add(rub(60000));
    s.childEducation.add(Money::fromRaw(300000005));
    s.pensionContracts.add(contract(1, "НПФ Будущее", "A-1", 12000));
    PensionContract funded;
    funded.contractKind = kFundedPensionContributions;
    funded.contribution = rub(2000);
    s.pensionContracts.add(funded);
}

std::unique_ptr<ScreenFrame> socialScreen(ScreenTestHost& host) {
    return std::unique_ptr<ScreenFrame>(
        ScreenRegistry::standard().create(ScreenId::SocialDeduction, nullptr, host));
}

QStringList questionTexts(const kv::test::ScriptedAsker& asker) {
    QStringList texts;
    for (const Question& q : asker.questions())
        texts.append(q.text);
    return texts;
}

} // namespace

class SocialTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void loadThenSaveChangesNothing_data() {
        QTest::addColumn<bool>("granted");
        QTest::newRow("granted") << true;
        QTest::newRow("not granted, amounts left in memory") << false;
    }

    void loadThenSaveChangesNothing() {
        QFETCH(bool, granted);
        ScreenTestHost host;
        filled(host.document->socialDeductions);
        host.document->socialDeductions.granted = granted ? 1 : 0;
        const Declaration before = *host.document;
        auto screen = socialScreen(host);
        QCOMPARE(kv::test::textOf(screen.get(), "edCharity30"),
                 granted ? QStringLiteral("1,2345") : QString());
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(screen.get(), "lvChildEducation")),
                 granted ? QStringList({"60 000,00", "30 000,0005"}) : QStringList());
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(screen.get(), "lvContracts")),
                 granted
                     ? QStringList({"НПФ Будущее", "Дополнительные страховые взносы на накопительную пенсию"})
                     : QStringList());
        QCOMPARE(child<QWidget>(screen.get(), "edMedical")->isEnabled(), granted);
        QCOMPARE(child<QWidget>(screen.get(), "bnAddContract")->isEnabled(), granted);
        screen->saveData();
        QVERIFY(*host.document == before);
        QCOMPARE(host.changes, 0);
        QCOMPARE(screen->checkData(), std::uint16_t{0});
    }

    void typedAmountsReachTheirFields() {
        struct Row {
            const char* field;
            Money SocialDeduction::*member;
            const char* typed;
            Money expected;
        };
        const Row rows[] = {
            {"edCharity", &SocialDeduction::charity, "100", rub(100)},
            {"edCharity30", &SocialDeduction::charity30, "200.5", Money::fromRaw(2005000)},
            {"edOwnEducation", &SocialDeduction::ownEducation, "300,25", Money::fromRaw(3002500)},
            {"edMedical", &SocialDeduction::medical, "400", rub(400)},
            {"edMedicines", &SocialDeduction::medicines, "500", rub(500)},
            {"edExpensiveMedical", &SocialDeduction::expensiveMedical, "600", rub(600)},
            {"edVoluntaryInsurance", &SocialDeduction::voluntaryInsurance, "700", rub(700)},
            {"edQualification", &SocialDeduction::qualificationAssessment, "800", rub(800)},
        };
        ScreenTestHost host;
        auto screen = socialScreen(host);
        child<QCheckBox>(screen.get(), "chbPensDeduct")->click();
        for (const Row& row : rows)
            kv::test::retype(screen.get(), row.field, QString::fromLatin1(row.typed));
        QVERIFY(host.changes > 0);
        screen->saveData();
        const SocialDeduction& s = host.document->socialDeductions;
        QCOMPARE(s.granted, std::uint8_t{1});
        for (const Row& row : rows)
            QVERIFY2(s.*row.member == row.expected, row.field);

        // An emptied field stores 0.
        kv::test::retype(screen.get(), "edMedical", QString());
        screen->saveData();
        QVERIFY(s.medical.isZero());
    }

    // Unchecking asks first; "Да" wipes the amounts and both lists from the document
    // at once, and checking again shows nothing of what was there.
    void uncheckingWipesEverything() {
        ScreenTestHost host;
        filled(host.document->socialDeductions);
        auto screen = socialScreen(host);
        auto* granted = child<QCheckBox>(screen.get(), "chbPensDeduct");
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Нет"));
        granted->click();
        QVERIFY(granted->isChecked());
        QCOMPARE(host.changes, 0);
        QVERIFY(!host.document->socialDeductions.childEducation.empty());
        QVERIFY(child<QWidget>(screen.get(), "bnAddChildSum")->isEnabled());
        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Да"));
        granted->click();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(host.changes > 0);
        const SocialDeduction& s = host.document->socialDeductions;
        QVERIFY(s.childEducation.empty());
        QVERIFY(s.pensionContracts.empty());
        SocialDeduction none;
        none.granted = s.granted;
        none.reservedSum1 = s.reservedSum1;
        QVERIFY(s == none);
        QVERIFY(!child<QWidget>(screen.get(), "bnAddChildSum")->isEnabled());
        granted->click();
        QCOMPARE(kv::test::textOf(screen.get(), "edCharity"), QString());
        QCOMPARE(child<QTreeWidget>(screen.get(), "lvChildEducation")->topLevelItemCount(), 0);
        QCOMPARE(child<QTreeWidget>(screen.get(), "lvContracts")->topLevelItemCount(), 0);
        screen->saveData();
        QVERIFY(s.charity.isZero() && s.expensiveMedical.isZero());
    }

    void educationAmountsThroughTheirDialog() {
        ScreenTestHost host;
        host.document->socialDeductions.granted = 1;
        auto screen = socialScreen(host);
        auto* list = child<QTreeWidget>(screen.get(), "lvChildEducation");
        const auto enter = [](const QString& amount) {
            kv::test::whenModal(QStringLiteral("TfmChildEduSum"), [amount](QDialog& d) {
                QCOMPARE(d.windowTitle(), QStringLiteral("Сумма за обучение"));
                kv::test::retype(&d, "edSum", amount);
                kv::test::clickButton(&d, "bnOk");
            });
        };
        enter(QStringLiteral("60000"));
        kv::test::clickButton(screen.get(), "bnAddChildSum");
        enter(QStringLiteral("0"));
        kv::test::clickButton(screen.get(), "bnAddChildSum"); // 0 is not added
        enter(QStringLiteral("45000"));
        kv::test::clickButton(screen.get(), "bnAddChildSum");
        QCOMPARE(host.changes, 2);
        QCOMPARE(kv::test::rowsOf(list), QStringList({"60 000,00", "45 000,00"}));
        QCOMPARE(kv::currentRow(list), 1);

        // Enter on the selected row edits it; the dialog shows the amount.
        kv::test::whenModal(QStringLiteral("TfmChildEduSum"), [](QDialog& d) {
            QCOMPARE(kv::test::textOf(&d, "edSum"), QStringLiteral("45000"));
            kv::test::retype(&d, "edSum", QStringLiteral("30000"));
            kv::test::clickButton(&d, "bnOk");
        });
        // A key shortcut answers only in the active window, as on the desktop.
        screen->show();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(kv::test::takeModalFailures(), QStringList());
        // "Нет" changes nothing.
        kv::test::whenModal(QStringLiteral("TfmChildEduSum"), [](QDialog& d) {
            kv::test::retype(&d, "edSum", QStringLiteral("1"));
            kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(screen.get(), "bnEditChildSum");
        const SocialDeduction& s = host.document->socialDeductions;
        QCOMPARE(s.childEducation.count(), 2);
        QVERIFY(s.childEducation.get(1) == rub(30000));

        kv::test::clickButton(screen.get(), "bnDeleteChildSum");
        QCOMPARE(s.childEducation.count(), 1);
        QVERIFY(s.childEducation.get(0) == rub(60000));
        QCOMPARE(kv::currentRow(list), 0);
        // The Delete key presses the button: the same deletion, the same (no) question.
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(s.childEducation.count(), 0);
        QCOMPARE(list->topLevelItemCount(), 0);
        KV_VERIFY_ASKER(host.script);
    }

    void contractDialogChecks_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("inn");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("closed"); // the messages are closed rather than answered

        QTest::newRow("complete") << 2 << "СК Жизнь"
                                  << "7707083893"
                                  << "П-17" << QStringList{} << QStringList{"СК Жизнь"} << false;
        QTest::newRow("wrong INN, message closed")
            << 2 << "СК Жизнь"
            << "7707083894"
            << "П-17" << QStringList{"Номер ИНН введен неверно"} << QStringList{} << true;
        QTest::newRow("no number is refused")
            << 1 << "НПФ"
            << "7707083893"
            << "" << QStringList{"Введите номер договора"} << QStringList{} << false;
        QTest::newRow("no name is refused")
            << 3 << ""
            << "7707083893"
            << "1" << QStringList{"Не заполненно поле \"Наименование источника выплаты\""} << QStringList{}
            << false;
        QTest::newRow("funded pension needs no organisation")
            << 4 << ""
            << ""
            << "" << QStringList{} << QStringList{"Дополнительные страховые взносы на накопительную пенсию"}
            << false;
    }

    void contractDialogChecks() {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, inn);
        QFETCH(QString, number);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, rows);
        QFETCH(bool, closed);

        ScreenTestHost host;
        host.document->socialDeductions.granted = 1;
        auto screen = socialScreen(host);
        for (int i = 0; i < messages.size(); ++i) {
            if (closed)
                host.script.expectClosed(QStringLiteral("TfmCheckError"));
            else
                host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        }
        kv::test::whenModal(QStringLiteral("TfmInputSoursePens"), [&](QDialog& d) {
            QVERIFY(child<QRadioButton>(&d, "rbKind1")->isChecked());
            QCOMPARE(child<kv::DateEdit>(&d, "deDate")->date(), QDate(2019, 1, 1));
            child<QRadioButton>(&d, qPrintable(QStringLiteral("rbKind%1").arg(kind)))->click();
            QCOMPARE(child<QWidget>(&d, "edInn")->isEnabled(), kind != 4);
            if (kind != 4) {
                kv::test::retype(&d, "edName", name);
                kv::test::retype(&d, "edInn", inn);
                kv::test::retype(&d, "edKpp", QStringLiteral("773601001"));
                kv::test::retype(&d, "edNumber", number);
                child<kv::DateEdit>(&d, "deDate")->setDate(QDate(2017, 5, 20));
            }
            kv::test::retype(&d, "edContribution", QStringLiteral("15000"));
            kv::test::clickButton(&d, "bnOk");
            if (d.isVisible())
                kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(screen.get(), "bnAddContract");

        QCOMPARE(questionTexts(host.script), messages);
        for (const Question& q : host.script.questions())
            QCOMPARE(q.title, QStringLiteral("Проверка: Пенсионные договоры"));
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(kv::test::rowsOf(child<QTreeWidget>(screen.get(), "lvContracts")), rows);
        const RecordList<PensionContract>& contracts = host.document->socialDeductions.pensionContracts;
        QCOMPARE(contracts.count(), static_cast<std::int32_t>(rows.size()));
        QCOMPARE(host.changes, static_cast<int>(rows.size()));
        if (!rows.isEmpty()) {
            const PensionContract& c = contracts.get(0);
            QCOMPARE(c.contractKind, kind);
            QCOMPARE(c.organisationName, toCp1251(name));
            QVERIFY(c.contribution == rub(15000));
            QCOMPARE(toQDate(c.contractDate), kind == 4 ? QDate(2019, 1, 1) : QDate(2017, 5, 20));
        }
    }

    void editedContractKeepsWhatWasNotTouched() {
        ScreenTestHost host;
        filled(host.document->socialDeductions);
        host.document->socialDeductions.pensionContracts.get(0).contractDate = DateValue::fromDays(43000.25);
        auto screen = socialScreen(host);
        auto* list = child<QTreeWidget>(screen.get(), "lvContracts");
        list->setCurrentItem(list->topLevelItem(0));
        kv::test::whenModal(QStringLiteral("TfmInputSoursePens"), [](QDialog& d) {
            QCOMPARE(kv::test::textOf(&d, "edNumber"), QStringLiteral("A-1"));
            kv::test::retype(&d, "edName", QStringLiteral("НПФ Настоящее"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(screen.get(), "bnEditContract");
        PensionContract expected = contract(1, "НПФ Настоящее", "A-1", 12000);
        expected.contractDate = DateValue::fromDays(43000.25);
        QVERIFY(host.document->socialDeductions.pensionContracts.get(0) == expected);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("НПФ Настоящее"));

        kv::test::clickButton(screen.get(), "bnDeleteContract");
        QCOMPARE(host.document->socialDeductions.pensionContracts.count(), 1);
        QCOMPARE(kv::currentRow(list), -1);
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(host.document->socialDeductions.pensionContracts.count(), 0);
        KV_VERIFY_ASKER(host.script);
    }

    void leavingWithNothingEntered_data() {
        QTest::addColumn<bool>("withAmount");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("fix") << false << "Исправить" << 1;
        QTest::newRow("skip") << false << "Пропустить" << 0;
        QTest::newRow("one child's education is enough") << true << "" << 0;
    }

    void leavingWithNothingEntered() {
        QFETCH(bool, withAmount);
        QFETCH(QString, answer);
        QFETCH(int, code);
        ScreenTestHost host;
        host.document->socialDeductions.granted = 1;
        if (withAmount)
            host.document->socialDeductions.childEducation.add(rub(1));
        auto screen = socialScreen(host);
        if (!answer.isEmpty())
            host.script.expect(QStringLiteral("TfmCheckError"), answer);
        QCOMPARE(screen->checkData(), static_cast<std::uint16_t>(code));
        KV_VERIFY_ASKER(host.script);
        if (!answer.isEmpty()) {
            QCOMPARE(host.script.questions().at(0).title, QStringLiteral("Проверка: Социальные вычеты"));
            QCOMPARE(host.script.questions().at(0).text,
                     QStringLiteral("Не введены данные по социальным налоговым вычетам"));
        }
    }

    void focusByElement() {
        ScreenTestHost host;
        host.document->socialDeductions.granted = 1;
        QWidget window;
        auto* screen = ScreenRegistry::standard().create(ScreenId::SocialDeduction, &window, host);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        screen->setFocusToElement(3);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(screen, "lvChildEducation"));
        screen->setFocusToElement(1);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(screen, "edCharity"));
        screen->setFocusToElement(7);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(screen, "edCharity"));
    }
};

KV_QTEST_MAIN(SocialTest)

#include "social_test.moc"
