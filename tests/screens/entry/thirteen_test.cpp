// The incomes-at-13% screen and its dialogs: the deduction amount rules of the
// income dialog, its checks, sources, incomes and agent deductions through the
// widgets, and the checks on leaving the screen.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "checks/ReturnCheck.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/Income13Dialog.h"
#include "screens/Income13Screen.h"
#include "screens/pickers/DeductionCodePicker.h"
#include "screens/pickers/IncomeCodePicker.h"
#include "support/TestValues.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::rub;
using kv::test::ScreenTestHost;

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// Picks an income code and, when given, a deduction code in an open income dialog.
void chooseCodes(QDialog& dialog, const QString& income, const QString& deduction) {
    kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), income);
    kv::test::clickButton(&dialog, "bnIncomeCode");
    if (!deduction.isEmpty()) {
        kv::test::whenPicker(QStringLiteral("TfmInputDeductCode"), deduction);
        kv::test::clickButton(&dialog, "bnDeductCode");
    }
}

// Fills the source dialog with a payer that passes the payer check.
void enterSource(QDialog& dialog, const QString& name) {
    kv::test::retype(&dialog, "edSourceName", name);
    kv::test::retype(&dialog, "edSourceInn", QStringLiteral("1234567894"));
    kv::test::retype(&dialog, "edSourceKpp", QStringLiteral("770101001"));
    kv::test::retype(&dialog, "edSourceOktmo", QStringLiteral("45382000"));
    kv::test::clickButton(&dialog, "bnOk");
}

ThirteenPercentSource sourceWith(Money income, Money withheld,
                                 std::vector<AgentDeductionItem> deductions = {}) {
    ThirteenPercentSource s;
    s.sourceName = Cp1251Text::fromBytes(std::string(1, 'S')); // not = "S": GCC 12 warns falsely on it at -O2
    ThirteenIncomeItem item;
    item.incomeCode = 2000;
    item.amount = income;
    s.addItem(item);
    s.taxWithheld = withheld;
    for (const AgentDeductionItem& d : deductions)
        s.addAgentDeduction(d);
    return s;
}

} // namespace

class ThirteenTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    // The deduction amount follows the dictionary's rules as the income is typed.
    // A picker opened for a new income or agent deduction chooses nothing: Enter
    // waits until the person selects a row, here with the arrow key.
    void pickersChooseNothingForThePerson_data() {
        QTest::addColumn<bool>("income");
        QTest::newRow("income codes") << true;
        QTest::newRow("agent deductions") << false;
    }

    void pickersChooseNothingForThePerson() {
        QFETCH(bool, income);
        std::unique_ptr<CodePicker> picker;
        if (income)
            picker = std::make_unique<IncomeCodePicker>(IncomeDict::builtIn(), false, false, Cp1251Text{},
                                                        Cp1251Text{"13"}, nullptr);
        else
            // The deductions tax agents grant hang under the pseudo-income "0000".
            picker = std::make_unique<DeductionCodePicker>(IncomeDict::builtIn(), true, Cp1251Text{},
                                                           Cp1251Text{"0000"}, nullptr);
        picker->show();
        QVERIFY(QTest::qWaitForWindowActive(picker.get()));
        auto* list = kv::test::child<QTreeWidget>(picker.get(), "lvCodes");
        auto* ok = kv::test::child<QPushButton>(picker.get(), "bnOk");
        QVERIFY(list->topLevelItemCount() > 1);
        QCOMPARE(picker->selectedRow(), std::nullopt);
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(picker->isVisible());

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(picker->selectedRow(), std::optional<int>(0));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!picker->isVisible());
        QCOMPARE(picker->result(), int(QDialog::Accepted));
    }

    void deductionAmountRules_data() {
        QTest::addColumn<QString>("income");
        QTest::addColumn<QString>("deduction");
        QTest::addColumn<QStringList>("incomes");
        QTest::addColumn<QStringList>("deductions");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<int>("storedCode");
        QTest::addColumn<int>("storedPercent");

        QTest::newRow("percentage of the income")
            << "2201"
            << "405" << QStringList{"1234,56"} << QStringList{"246,91"} << false << 405 << 20;
        QTest::newRow("equal to the income up to the cap")
            << "1510"
            << "901" << QStringList{"1500000", "800000"} << QStringList{"1000000", "800000"} << false << 901
            << 0;
        QTest::newRow("equal to the income, capped, typed over")
            << "2720"
            << "501" << QStringList{"3000", "5000", ""} << QStringList{"3000", "4000", ""} << true << 501
            << 0;
        QTest::newRow("left for the user to type")
            << "2010"
            << "403" << QStringList{"1000"} << QStringList{""} << true << 403 << 0;
        QTest::newRow("2799 carries 599 equal to the income")
            << "2799"
            << "" << QStringList{"5000", "0"} << QStringList{"5000", ""} << false << 599 << 0;
    }

    void deductionAmountRules() {
        QFETCH(QString, income);
        QFETCH(QString, deduction);
        QFETCH(QStringList, incomes);
        QFETCH(QStringList, deductions);
        QFETCH(bool, editable);
        QFETCH(int, storedCode);
        QFETCH(int, storedPercent);

        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), true, false, std::nullopt, nullptr);
        chooseCodes(dialog, income, deduction);
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::child<QWidget>(&dialog, "edDeductSum")->isEnabled(), editable);
        for (qsizetype i = 0; i < incomes.size(); ++i) {
            kv::test::retype(&dialog, "edIncomeSum", incomes.at(i));
            QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), deductions.at(i));
        }
        const ThirteenIncomeItem item = dialog.item();
        QCOMPARE(item.incomeCode, income.toInt());
        QCOMPARE(item.deductionCode, storedCode);
        QCOMPARE(item.deductionPercent, storedPercent);
    }

    void typedDeductionStopsAtTheCap() {
        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), true, false, std::nullopt, nullptr);
        chooseCodes(dialog, QStringLiteral("1511"), QStringLiteral("904"));
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("2000000"));
        kv::test::retype(&dialog, "edDeductSum", QStringLiteral("1500000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("1000000"));
    }

    void saleWithCadastralValue() {
        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), true, false, std::nullopt, nullptr);
        chooseCodes(dialog, QStringLiteral("1510"), QString());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "pnlRealEstate")->isHidden());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edCadastralValue")->isEnabled());

        kv::test::child<QCheckBox>(&dialog, "chbCadastral")->click();
        QVERIFY(kv::test::child<QLineEdit>(&dialog, "edIncomeSum")->isReadOnly());
        kv::test::retype(&dialog, "edCadastralValue", QStringLiteral("1000000"));
        kv::test::retype(&dialog, "edContractPrice", QStringLiteral("600000"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("700000"));
        kv::test::retype(&dialog, "edContractPrice", QStringLiteral("800000"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("800000"));
        // 70% of 1 497 965.75 is 1 048 576.025: the half kopeck rounds up, as in the return file.
        kv::test::retype(&dialog, "edCadastralValue", QStringLiteral("1497965,75"));
        kv::test::retype(&dialog, "edContractPrice", QStringLiteral("900000"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("1048576,03"));
        kv::test::retype(&dialog, "edCadastralValue", QStringLiteral("1000000"));
        kv::test::retype(&dialog, "edContractPrice", QStringLiteral("800000"));
        kv::test::retype(&dialog, "edCadastralNumber", QStringLiteral("77:01:0001"));
        ThirteenIncomeItem item = dialog.item();
        QCOMPARE(item.hasCadastralData, std::uint8_t{1});
        QCOMPARE(item.cadastralValue, rub(1000000));
        QCOMPARE(item.contractPrice, rub(800000));
        QCOMPARE(item.cadastralNumber.str(), Cp1251Text{"77:01:0001"});

        kv::test::child<QCheckBox>(&dialog, "chbCadastral")->click();
        QCOMPARE(kv::test::textOf(&dialog, "edCadastralValue"), QStringLiteral("0"));
        QCOMPARE(kv::test::textOf(&dialog, "edCadastralNumber"), QString());
        QVERIFY(!kv::test::child<QLineEdit>(&dialog, "edIncomeSum")->isReadOnly());
        item = dialog.item();
        QCOMPARE(item.hasCadastralData, std::uint8_t{0});
        QCOMPARE(item.cadastralValue, Money{});

        // Another code hides the panel and starts from empty amounts.
        chooseCodes(dialog, QStringLiteral("2000"), QString());
        QVERIFY(kv::test::child<QWidget>(&dialog, "pnlRealEstate")->isHidden());
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QString());
    }

    void incomeDialogChecks_data() {
        QTest::addColumn<QString>("income");
        QTest::addColumn<QString>("deduction");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("deductionAmount");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("accepted");

        const QString over = QStringLiteral("Сумма вычета превышает сумму дохода");
        QTest::newRow("complete") << "2000"
                                  << ""
                                  << "100"
                                  << "" << QStringList{} << QStringList{} << true;
        QTest::newRow("no code may be skipped")
            << ""
            << ""
            << "100"
            << "" << QStringList{"Пропустить"} << QStringList{"Не выбран доход"} << true;
        QTest::newRow("no amount cannot be skipped")
            << "2000"
            << ""
            << ""
            << "" << QStringList{"Исправить"} << QStringList{"Не указана сумма дохода"} << false;
        QTest::newRow("deduction not chosen may be skipped")
            << "1510"
            << ""
            << "100"
            << "" << QStringList{"Пропустить"} << QStringList{"Не выбран вычет"} << true;
        QTest::newRow("expenses above a sale are refused")
            << "1510"
            << "903"
            << "100"
            << "150" << QStringList{"Исправить"} << QStringList{over} << false;
        QTest::newRow("securities expenses may exceed the income")
            << "1530"
            << "201"
            << "100"
            << "150" << QStringList{} << QStringList{} << true;
    }

    void incomeDialogChecks() {
        QFETCH(QString, income);
        QFETCH(QString, deduction);
        QFETCH(QString, amount);
        QFETCH(QString, deductionAmount);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, accepted);

        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), true, false, std::nullopt, nullptr);
        if (!income.isEmpty())
            chooseCodes(dialog, income, deduction);
        kv::test::retype(&dialog, "edIncomeSum", amount);
        if (!deductionAmount.isEmpty())
            kv::test::retype(&dialog, "edDeductSum", deductionAmount);
        for (const QString& answer : answers)
            host.script.expect(QStringLiteral("TfmCheckError"), answer);
        kv::test::clickButton(&dialog, "bnOk");

        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QStringList asked;
        for (const Question& q : host.script.questions()) {
            asked.append(q.text);
            QCOMPARE(q.title, QStringLiteral("Проверка: Доходы, облагаемые по ставке 13%"));
            QVERIFY(!q.answerEnabled(2)); // "Пропустить все" is never offered here
        }
        QCOMPARE(asked, messages);
        KV_VERIFY_ASKER(host.script);
    }

    // The income code can be typed: a code the picker lists is taken with its name, as if
    // picked there; any other is refused with the picker's message and the field keeps
    // the code chosen before.
    void typedIncomeCode_data() {
        QTest::addColumn<bool>("resident");
        QTest::addColumn<QString>("before"); // picked first; empty: nothing
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("salary") << true << QString() << "2000"
                                << "2000" << false;
        QTest::newRow("another code") << true << "2000"
                                      << "2010"
                                      << "2010" << false;
        QTest::newRow("no such code") << true << QString() << "9999" << QString() << true;
        QTest::newRow("no such code keeps the one before") << true << "2000"
                                                           << "12"
                                                           << "2000" << true;
        QTest::newRow("non-resident") << false << QString() << "2000"
                                      << "2000" << false;
    }
    void typedIncomeCode() {
        QFETCH(bool, resident);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, refused);

        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), resident, false, std::nullopt, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        if (!before.isEmpty()) {
            chooseCodes(dialog, before, QString());
            dialog.activateWindow(); // back from the picker, as a window manager does
            QVERIFY(QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }));
        }
        auto* code = kv::test::child<QLineEdit>(&dialog, "edIncomeCode");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_End);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(code, Qt::Key_Backspace);
        if (refused)
            host.script.expect(QStringLiteral("incomeCodeNotListed"), QStringLiteral("OK"));
        QTest::keyClicks(code, typed);
        QTest::keyClick(code, Qt::Key_Tab);
        KV_VERIFY_ASKER(host.script);

        QCOMPARE(code->text(), shown);
        QCOMPARE(dialog.item().incomeCode, shown.toInt());
        QCOMPARE(kv::test::child<QLabel>(&dialog, "lblIncomeName")->text().isEmpty(), shown.isEmpty());
        if (refused) {
            QVERIFY(host.script.questions().first().text.contains(typed));
            QCOMPARE(QApplication::focusWidget(), code);
        }
        // The picker is still there.
        chooseCodes(dialog, QStringLiteral("2300"), QString());
        QCOMPARE(code->text(), QStringLiteral("2300"));
    }

    void nonResidentReturn() {
        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), false, false, std::nullopt, nullptr);
        chooseCodes(dialog, QStringLiteral("1510"), QString());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "bnDeductCode")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edMonth")->isEnabled());
        chooseCodes(dialog, QStringLiteral("1530"), QStringLiteral("201"));
        QVERIFY(kv::test::child<QWidget>(&dialog, "bnDeductCode")->isEnabled());
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("10"));
        QCOMPARE(dialog.item().deductionCode, 201);
        QCOMPARE(dialog.item().month, std::int16_t{1});
    }

    void reopenedIncomeShowsWhatWasStored() {
        ThirteenIncomeItem stored;
        stored.incomeCode = 2202;
        stored.incomeName = Cp1251Text{"old name"};
        stored.amount = rub(1000);
        stored.deductionCode = 405;
        stored.deductionAmount = rub(1); // recomputed from the percentage
        stored.deductionPercent = 30;
        stored.month = 7;
        ScreenTestHost host;
        Income13Dialog dialog(host.script, IncomeDict::builtIn(), true, false, stored, nullptr);
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeCode"), QStringLiteral("2202"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("1000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductCode"), QStringLiteral("405"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("300"));
        QCOMPARE(kv::test::textOf(&dialog, "edMonth"), QStringLiteral("7"));
        const ThirteenIncomeItem item = dialog.item();
        QCOMPARE(item.deductionAmount, rub(300));
        QCOMPARE(item.incomeName.str(), IncomeDict::builtIn().findIncome(Cp1251Text{"2202"})->name);
    }

    // A source with its incomes through the screen: add, repeat, delete, the
    // totals and the withheld tax, and what the rows show before and after reloading.
    void sourceAndIncomes() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        auto screen = std::make_unique<Income13Screen>(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(screen.get(), "bnAddIncome")->isEnabled());

        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"),
                            [](QDialog& d) { enterSource(d, QStringLiteral("ООО «Ромашка»")); });
        kv::test::clickButton(screen.get(), "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->incomes13.get(0).sourceName, cp("ООО «Ромашка»"));
        QVERIFY(kv::test::child<QWidget>(screen.get(), "bnAddIncome")->isEnabled());

        kv::test::whenModal(QStringLiteral("TfmInput13Income"), [](QDialog& d) {
            chooseCodes(d, QStringLiteral("2000"), QString());
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("50000,5"));
            kv::test::retype(&d, "edMonth", QStringLiteral("11"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(screen.get(), "bnAddIncome");
        KV_VERIFY_MODALS();
        kv::test::clickButton(screen.get(), "bnRepeatIncome");
        kv::test::clickButton(screen.get(), "bnRepeatIncome");
        auto* incomes = kv::test::child<QTreeWidget>(screen.get(), "lvIncomes");
        QCOMPARE(kv::test::rowsOf(incomes), (QStringList{"11|2000|50 000,50|Нет|-", "12|2000|50 000,50|Нет|-",
                                                         "12|2000|50 000,50|Нет|-"}));
        QCOMPARE(kv::test::textOf(screen.get(), "edTotalIncome"), QStringLiteral("150 001,50"));

        kv::test::clickButton(screen.get(), "bnDeleteIncome");
        QCOMPARE(incomes->topLevelItemCount(), 2);
        QCOMPARE(kv::test::textOf(screen.get(), "edTotalIncome"), QStringLiteral("100 001,00"));
        kv::test::typeText(kv::test::child<QLineEdit>(screen.get(), "edTaxWithheld"),
                           QStringLiteral("13000"));
        const int changes = host.changes;
        screen->saveData();
        QCOMPARE(host.document->incomes13.get(0).taxWithheld, rub(13000));
        QCOMPARE(host.document->incomes13.get(0).totalIncome, Money::fromRaw(1000010000));
        QVERIFY(changes >= 5);

        // Built again from the document: rows read as they did when entered.
        screen = std::make_unique<Income13Screen>(nullptr, host);
        screen->selectFirstEntry();
        incomes = kv::test::child<QTreeWidget>(screen.get(), "lvIncomes");
        QCOMPARE(kv::test::rowsOf(incomes),
                 (QStringList{"11|2000|50 000,50|Нет|-", "12|2000|50 000,50|Нет|-"}));
        QCOMPARE(kv::test::textOf(screen.get(), "edTaxWithheld"), QStringLiteral("13000"));
        QCOMPARE(host.changes, changes);

        // A source with incomes goes only after a "Да"; "Нет" is the default.
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Нет"));
        kv::test::clickButton(screen.get(), "bnDeleteSource");
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.script.questions().last().text,
                 QStringLiteral("Удалить источник выплаты и все его доходы?"));
        QCOMPARE(host.script.questions().last().defaultIndex, 1);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(screen.get(), "bnDeleteSource");
        QCOMPARE(host.document->incomes13.count(), 0);
        QVERIFY(!kv::test::child<QWidget>(screen.get(), "bnAddIncome")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(screen.get(), "bnAddDeduct")->isEnabled());
        QCOMPARE(kv::test::textOf(screen.get(), "edTotalIncome"), QString());
        QCOMPARE(incomes->topLevelItemCount(), 0);
    }

    // The lists of a loaded source: buttons needing a row follow the selection, Delete
    // deletes the selected row (asking first for a source with incomes), and a repeated
    // income goes in month order.
    void listKeysButtonsAndMonthOrder() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        ThirteenPercentSource employer = sourceWith(rub(1000), rub(130));
        employer.items.clear();
        employer.totalIncome = Money{};
        for (int month : {1, 2, 3}) {
            ThirteenIncomeItem line;
            line.month = static_cast<std::int16_t>(month);
            line.incomeCode = 2000;
            line.amount = rub(1000 * month);
            employer.addItem(line);
        }
        host.document->incomes13.add(employer);
        Income13Screen screen(nullptr, host);
        for (const char* name : {"bnDeleteSource", "bnEditSource", "bnDeleteIncome", "bnRepeatIncome"})
            QVERIFY2(!kv::test::child<QWidget>(&screen, name)->isEnabled(), name);

        screen.selectFirstEntry();
        auto* incomes = kv::test::child<QTreeWidget>(&screen, "lvIncomes");
        QVERIFY(kv::test::child<QWidget>(&screen, "bnRepeatIncome")->isEnabled());
        QCOMPARE(incomes->indexOfTopLevelItem(incomes->currentItem()), 0);
        kv::test::clickButton(&screen, "bnRepeatIncome");
        QCOMPARE(kv::test::rowsOf(incomes), (QStringList{"1|2000|1 000,00|Нет|-", "2|2000|2 000,00|Нет|-",
                                                         "2|2000|1 000,00|Нет|-", "3|2000|3 000,00|Нет|-"}));
        QCOMPARE(incomes->indexOfTopLevelItem(incomes->currentItem()), 2);
        QCOMPARE(host.document->incomes13.get(0).item(2).amount, rub(1000));
        QCOMPARE(host.document->incomes13.get(0).totalIncome, rub(7000));

        QTest::keyClick(incomes, Qt::Key_Delete);
        QCOMPARE(host.document->incomes13.get(0).itemCount(), 3);
        QCOMPARE(host.document->incomes13.get(0).totalIncome, rub(6000));

        auto* sources = kv::test::child<QTreeWidget>(&screen, "lvSources");
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Нет"));
        QTest::keyClick(sources, Qt::Key_Delete);
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->incomes13.count(), 1);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        QTest::keyClick(sources, Qt::Key_Delete);
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->incomes13.count(), 0);
        for (const char* name : {"bnDeleteSource", "bnEditSource", "bnDeleteIncome", "bnEditIncome",
                                 "bnRepeatIncome", "bnDeleteDeduct", "bnEditDeduct"})
            QVERIFY2(!kv::test::child<QWidget>(&screen, name)->isEnabled(), name);
    }

    // The withheld tax belongs to the source that was selected when it was typed.
    void withheldTaxStaysWithItsSource() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        host.document->incomes13.add(sourceWith(rub(1000), rub(130)));
        host.document->incomes13.add(sourceWith(rub(2000), rub(260)));
        Income13Screen screen(nullptr, host);
        auto* sources = kv::test::child<QTreeWidget>(&screen, "lvSources");
        screen.selectFirstEntry();
        kv::test::retype(&screen, "edTaxWithheld", QStringLiteral("100"));
        sources->setCurrentItem(sources->topLevelItem(1));
        QCOMPARE(kv::test::textOf(&screen, "edTaxWithheld"), QStringLiteral("260"));
        QCOMPARE(host.document->incomes13.get(0).taxWithheld, rub(100));
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&screen, "bnDeleteSource");
        QCOMPARE(host.document->incomes13.count(), 1);
        QCOMPARE(host.document->incomes13.get(0).taxWithheld, rub(100));
        QCOMPARE(kv::test::textOf(&screen, "edTaxWithheld"), QStringLiteral("100"));
    }

    // The non-residents' screen is this class configured: it lists and stores its own
    // list, shows the foreigner's payments and no agent deductions, takes incomes from
    // the dialog it is given, and checks nothing on leaving.
    void configuredForNonResidents() {
        ScreenTestHost host;
        host.document->declarationKind = 1;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        host.document->incomes13.add(sourceWith(rub(1), rub(1000)));
        host.document->incomes13NonResident.add(sourceWith(rub(10), rub(1000))); // withheld > income
        Income13Setup setup;
        setup.sources = &Declaration::incomes13NonResident;
        setup.agentDeductions = Income13Setup::Shown::Never;
        setup.foreignerAdvance = Income13Setup::Shown::Always;
        setup.sourceMarks = false;
        setup.checked = false;
        ThirteenIncomeItem given;
        given.incomeCode = 2000;
        given.amount = rub(5);
        given.month = 1;
        setup.incomeDialog = [&given](QWidget*, ScreenHost&, const ThirteenPercentSource&,
                                      const std::optional<ThirteenIncomeItem>&) { return given; };
        Income13Screen screen(nullptr, host, setup);
        screen.show();
        QVERIFY(!kv::test::child<QWidget>(&screen, "gbAgentDeductions")->isVisible());
        QVERIFY(kv::test::child<QWidget>(&screen, "gbForeigner")->isVisible());
        screen.selectFirstEntry();
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("10,00"));
        kv::test::clickButton(&screen, "bnAddIncome");
        QCOMPARE(host.document->incomes13NonResident.get(0).itemCount(), 2);
        QCOMPARE(host.document->incomes13.get(0).itemCount(), 1);
        QCOMPARE(screen.checkData(), std::uint16_t{0});

        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog& dialog) {
            QVERIFY(!kv::test::child<QWidget>(&dialog, "chbPrimaryWorkplace")->isVisibleTo(&dialog));
            QVERIFY(!kv::test::child<QWidget>(&dialog, "chbInvestmentPartnership")->isVisibleTo(&dialog));
            dialog.reject();
        });
        kv::test::clickButton(&screen, "bnAddSource");
    }

    // Kopecks that another program left in whole-rouble fields are shown as the file
    // will write them and kept while untouched; deleting them makes the amount whole,
    // and the whole-return check's code for the fixed advances leads to that field.
    void wholeRoubleFieldsStoreWhatTheyShow() {
        ScreenTestHost host;
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kAgentIncomes);
        d.incomes13.add(sourceWith(rub(1200000), Money::fromRaw(1560005000)));
        d.foreignerFixedAdvance = Money::fromRaw(12005000);
        Income13Screen screen(nullptr, host);
        screen.selectFirstEntry();
        QCOMPARE(kv::test::textOf(&screen, "edTaxWithheld"), QStringLiteral("156000,5"));
        QCOMPARE(kv::test::textOf(&screen, "edFixedAdvance"), QStringLiteral("1200,5"));
        screen.saveData();
        QCOMPARE(d.incomes13.get(0).taxWithheld, Money::fromRaw(1560005000));
        QCOMPARE(d.foreignerFixedAdvance, Money::fromRaw(12005000));

        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        screen.activateWindow();
        screen.setFocusToElement(FieldCode::kFixedAdvance);
        auto* advance = kv::test::child<QLineEdit>(&screen, "edFixedAdvance");
        QTRY_COMPARE(QApplication::focusWidget(), advance);
        advance->end(false);
        QTest::keyClick(advance, Qt::Key_Backspace);
        QTest::keyClick(advance, Qt::Key_Backspace);
        QCOMPARE(advance->text(), QStringLiteral("1200"));
        screen.saveData();
        QCOMPARE(d.foreignerFixedAdvance, rub(1200));
    }

    void agentDeductions() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        host.document->incomes13.add(sourceWith(rub(100000), Money{}));
        ThirteenPercentSource partnership = sourceWith(rub(100000), Money{});
        partnership.isInvestmentPartnership = 1;
        host.document->incomes13.add(partnership);
        Income13Screen screen(nullptr, host);
        screen.selectFirstEntry();

        kv::test::whenModal(QStringLiteral("TfmInputSSCDeduct"), [](QDialog& d) {
            QVERIFY(!kv::test::child<QWidget>(&d, "edDeductSum")->isEnabled());
            kv::test::whenPicker(QStringLiteral("TfmInputDeductCode"), QStringLiteral("104"));
            kv::test::clickButton(&d, "bnDeductCode");
            kv::test::retype(&d, "edDeductSum", QStringLiteral("7000"));
            QCOMPARE(kv::test::textOf(&d, "edDeductSum"), QStringLiteral("6000"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddDeduct");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&screen, "lvDeducts")),
                 QStringList{"104|6 000,00"});
        QCOMPARE(host.document->incomes13.get(0).agentDeductions.at(0), (AgentDeductionItem{104, rub(6000)}));

        auto* sources = kv::test::child<QTreeWidget>(&screen, "lvSources");
        sources->setCurrentItem(sources->topLevelItem(1));
        QVERIFY(!kv::test::child<QWidget>(&screen, "bnAddDeduct")->isEnabled());
        QVERIFY(kv::test::child<QWidget>(&screen, "bnAddIncome")->isEnabled());

        sources->setCurrentItem(sources->topLevelItem(0));
        kv::test::clickButton(&screen, "bnDeleteDeduct");
        QVERIFY(host.document->incomes13.get(0).agentDeductions.empty());
    }

    void checksOnLeaving_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("code");

        const QString withheld =
            QStringLiteral("По данному источнику выплаты общая сумма дохода меньше удержанной суммы");
        const QString deductions =
            QStringLiteral("По данному источнику выплаты общая сумма дохода меньше суммы "
                           "предоставленных стандартных, социальных и имущественных вычетов");
        const QString social =
            QStringLiteral("По данному источнику выплаты сумма предоставленных социальных "
                           "вычетов (коды 320,324,325,327,328) превышает допустимые 120 000");
        // Source 1 is in order; source 2 withheld more than it paid; source 3 granted
        // more than it paid, 140 000 of it social.
        QTest::newRow("fix the second source") << 0 << QStringList{"Исправить"} << QStringList{withheld} << 2;
        QTest::newRow("skip to the third") << 0 << QStringList{"Пропустить", "Пропустить", "Исправить"}
                                           << QStringList{withheld, deductions, social} << 3;
        QTest::newRow("skip all") << 0 << QStringList{"Пропустить все"} << QStringList{withheld} << 0;
        QTest::newRow("non-resident: agent deductions are not compared")
            << 1 << QStringList{"Пропустить", "Пропустить"} << QStringList{withheld, social} << 0;
    }

    void checksOnLeaving() {
        QFETCH(int, kind);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(int, code);

        ScreenTestHost host;
        Declaration& d = *host.document;
        d.declarationKind = static_cast<std::uint8_t>(kind);
        d.setIncomeFlags(Declaration::kAgentIncomes);
        d.incomes13.add(sourceWith(rub(1000), rub(130)));
        d.incomes13.add(sourceWith(rub(1000), rub(1001)));
        d.incomes13.add(
            sourceWith(rub(130000), Money{}, {{320, rub(70000)}, {324, rub(70000)}, {104, rub(6000)}}));
        Income13Screen screen(nullptr, host);
        for (const QString& answer : answers)
            host.script.expect(QStringLiteral("TfmCheckError"), answer);
        screen.saveData();
        QCOMPARE(screen.checkData(), static_cast<std::uint16_t>(code));
        QStringList asked;
        for (const Question& q : host.script.questions())
            asked.append(q.text);
        QCOMPARE(asked, messages);
        KV_VERIFY_ASKER(host.script);

        screen.setFocusToElement(3);
        QCOMPARE(kv::test::child<QTreeWidget>(&screen, "lvSources")->currentItem(),
                 kv::test::child<QTreeWidget>(&screen, "lvSources")->topLevelItem(2));
    }
};

KV_QTEST_MAIN(ThirteenTest)

#include "thirteen_test.moc"
