// The screens of incomes at 9% and 35%, of dividends and of non-residents' incomes
// at 13%, and their dialogs: sources through the widgets with what each action
// stores, every dialog's checks in one table, and how the deduction amount follows
// the income in the 35% and non-resident dialogs.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/FlatIncomeDialog.h"
#include "screens/FlatIncomeScreen.h"
#include "screens/NonResidentIncomeDialog.h"
#include "screens/ScreenTable.h"
#include "screens/ThirtyFiveDialog.h"
#include "screens/ThirtyFiveScreen.h"
#include "support/TestValues.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::rub;
using kv::test::ScreenTestHost;

namespace {

// A dictionary where the 35% income 2740 has a deduction the user types (up to
// 4 000) and the non-resident's income 2000 one equal to the income: the cases the
// built-in dictionary does not have, where a typed amount could be lost.
const IncomeDict& typedDeductions() {
    static const IncomeDict dict = IncomeDict::parse(R"(<?xml version="1.0" encoding="windows-1251"?>
<IncomeDict>
<Income Stav="0" Code="0000" Name="pseudo"/>
<Income Stav="35" Code="2740" Name="prize">
<Deduction Code="505" Name="typed" Stav=" " Visible="True" Enabled="True" Equivalent="False" MaxSum="4000"/>
<Deduction Code="0" Name="none" Stav=" " Visible="False" Enabled="True" Equivalent="False" MaxSum="0"/>
</Income>
<Income Stav="13" Code="2000" Name="salary" NRez13="True">
<Deduction Code="501" Name="equal" Stav=" " Visible="True" Enabled="True" Equivalent="True" MaxSum="4000"/>
</Income>
<Income Stav="13" Code="4924" Name="a"/><Income Stav="13" Code="4926" Name="b"/><Income Stav="13" Code="4931" Name="c"/>
</IncomeDict>)");
    return dict;
}

void pickDeduction(QDialog& dialog, const QString& deduction) {
    kv::test::whenPicker(QStringLiteral("TfmInputDeductCode"), deduction);
    kv::test::clickButton(&dialog, "bnDeductCode");
}

void pickCodes(QDialog& dialog, const QString& income, const QString& deduction) {
    kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), income);
    kv::test::clickButton(&dialog, "bnIncomeCode");
    if (!deduction.isEmpty())
        pickDeduction(dialog, deduction);
}

// Fills a dialog from "field=value" pairs: the payer fields default to one that
// passes its check; "code" and "deduct" are picked; the rest are typed in order.
void fill(QDialog& dialog, const QStringList& entries) {
    if (dialog.findChild<QWidget*>(QStringLiteral("edSourceName")) != nullptr) {
        kv::test::retype(&dialog, "edSourceName", QStringLiteral("ООО «Ромашка»"));
        kv::test::retype(&dialog, "edSourceInn", QStringLiteral("1234567894"));
        kv::test::retype(&dialog, "edSourceKpp", QStringLiteral("773601001"));
        kv::test::retype(&dialog, "edSourceOktmo", QStringLiteral("45382000"));
    }
    for (const QString& entry : entries) {
        const QString key = entry.section(QLatin1Char('='), 0, 0);
        const QString value = entry.section(QLatin1Char('='), 1);
        if (key == QLatin1String("code"))
            pickCodes(dialog, value, QString());
        else if (key == QLatin1String("deduct"))
            pickDeduction(dialog, value);
        else
            kv::test::retype(&dialog, key.toLatin1().constData(), value);
    }
}

std::unique_ptr<QDialog> makeDialog(const QString& which, ScreenTestHost& host) {
    if (which == QLatin1String("9%"))
        return std::make_unique<FlatIncomeDialog>(host.script, FlatIncomeKind::NinePercent,
                                                  ThirtyPercentSource{}, true, nullptr);
    if (which == QLatin1String("dividends"))
        return std::make_unique<FlatIncomeDialog>(host.script, FlatIncomeKind::Dividends,
                                                  ThirtyPercentSource{}, true, nullptr);
    if (which == QLatin1String("35%"))
        return std::make_unique<ThirtyFiveDialog>(host.script, IncomeDict::builtIn(),
                                                  ThirtyFivePercentSource{}, nullptr);
    return std::make_unique<NonResidentIncomeDialog>(host.script, IncomeDict::builtIn(), std::nullopt,
                                                     nullptr);
}

// An answer of the script: the check message's window closed rather than answered.
const QString kClosed = QStringLiteral("×");

QString titleOf(const QString& which) {
    if (which == QLatin1String("9%"))
        return QStringLiteral("Доходы, облагаемые по ставке 9%");
    if (which == QLatin1String("dividends"))
        return QStringLiteral("Доходы в виде дивидендов");
    if (which == QLatin1String("35%"))
        return QStringLiteral("Доходы, облагаемые по ставке 35%");
    return QStringLiteral("Доходы нерезедентов, облагаемые по ставке 13%");
}

} // namespace

class RatesTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    // Each dialog's checks on "Да": accepted, refused with the focus where
    // "Исправить" sends the user, or skipped.
    void dialogChecks_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("focus");

        const QString noAmount = QStringLiteral("Не указана сумма дохода");
        const QString over = QStringLiteral("Сумма вычета превышает сумму дохода");
        const QString withheldOver = QStringLiteral("Удержанная сумма превышает сумму дохода");
        const QString fix = QStringLiteral("Исправить");
        const QString skip = QStringLiteral("Пропустить");
        QTest::newRow("9%: complete") << "9%" << QStringList{"edIncomeSum=10000,5", "edTaxWithheld=900"}
                                      << QStringList{} << QStringList{} << true << "";
        QTest::newRow("9%: tax without income")
            << "9%" << QStringList{"edTaxWithheld=900"} << QStringList{fix} << QStringList{noAmount} << false
            << "edIncomeSum";
        QTest::newRow("9%: tax above the income skipped")
            << "9%" << QStringList{"edIncomeSum=100", "edTaxWithheld=900"} << QStringList{skip}
            << QStringList{"Сумма дохода меньше суммы удержанного налога"} << true << "";
        QTest::newRow("dividends: tax above them")
            << "dividends" << QStringList{"edIncomeSum=100", "edTaxWithheld=900"} << QStringList{fix}
            << QStringList{"Облагаемая сумма дивидендов меньше суммы удержанного налога"} << false
            << "edTaxWithheld";
        QTest::newRow("dividends: the payer first")
            << "dividends" << QStringList{"edSourceKpp=123"} << QStringList{fix}
            << QStringList{"Длина КПП должна быть равна 9 цифрам"} << false << "edSourceKpp";
        QTest::newRow("35%: complete prize with its deduction")
            << "35%" << QStringList{"code=2740", "deduct=505", "edIncomeSum=10000", "edTaxWithheld=2100"}
            << QStringList{} << QStringList{} << true << "";
        QTest::newRow("35%: 2620 takes no amount") << "35%" << QStringList{"code=2620", "edTaxWithheld=100"}
                                                   << QStringList{} << QStringList{} << true << "";
        QTest::newRow("35%: no amount") << "35%" << QStringList{"code=2610"} << QStringList{fix}
                                        << QStringList{noAmount} << false << "edIncomeSum";
        QTest::newRow("35%: deduction not chosen, skipped")
            << "35%" << QStringList{"code=2740", "edIncomeSum=10000"} << QStringList{skip}
            << QStringList{"Не выбран вычет"} << true << "";
        QTest::newRow("35%: deduction above the income")
            << "35%" << QStringList{"code=2740", "deduct=505", "edIncomeSum=3000", "edDeductSum=3500"}
            << QStringList{fix} << QStringList{over} << false << "edDeductSum";
        QTest::newRow("35%: tax above the income")
            << "35%" << QStringList{"code=2610", "edIncomeSum=100", "edTaxWithheld=200"} << QStringList{fix}
            << QStringList{withheldOver} << false << "edTaxWithheld";
        // A payer fault that may not be skipped stays a fault when its message is closed.
        const QString wrongInn = QStringLiteral("Номер ИНН введен неверно");
        for (const char* which : {"9%", "dividends", "35%"})
            QTest::addRow("%s: wrong INN, message closed", which)
                << which << QStringList{"edIncomeSum=1000", "edSourceInn=1234567895"} << QStringList{kClosed}
                << QStringList{wrongInn} << false << "edSourceInn";
        QTest::newRow("non-resident: complete")
            << "non-resident" << QStringList{"code=2000", "edIncomeSum=1000", "edMonth=3"} << QStringList{}
            << QStringList{} << true << "";
        QTest::newRow("non-resident: no code skipped")
            << "non-resident" << QStringList{} << QStringList{skip, fix}
            << QStringList{"Не выбран доход", noAmount} << false << "bnIncomeCode";
        QTest::newRow("non-resident: expenses above the income")
            << "non-resident" << QStringList{"code=2010", "deduct=403", "edIncomeSum=100", "edDeductSum=150"}
            << QStringList{fix} << QStringList{over} << false << "edDeductSum";
    }

    void dialogChecks() {
        QFETCH(QString, dialog);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, accepted);
        QFETCH(QString, focus);

        ScreenTestHost host;
        std::unique_ptr<QDialog> d = makeDialog(dialog, host);
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        fill(*d, entries);
        KV_VERIFY_MODALS();
        for (const QString& answer : answers) {
            if (answer == kClosed)
                host.script.expectClosed(QStringLiteral("TfmCheckError"));
            else
                host.script.expect(QStringLiteral("TfmCheckError"), answer);
        }
        // "Исправить" at a missing code opens the picker again; the user leaves it.
        if (focus == QLatin1String("bnIncomeCode"))
            kv::test::whenModal(QStringLiteral("TfmInputIncomeCode"), [](QDialog& p) { p.reject(); });
        kv::test::clickButton(d.get(), "bnOk");
        KV_VERIFY_MODALS();

        QCOMPARE(d->result() == QDialog::Accepted, accepted);
        QStringList asked;
        for (const Question& q : host.script.questions()) {
            asked.append(q.text);
            QCOMPARE(q.title, QStringLiteral("Проверка: ") + titleOf(dialog));
        }
        QCOMPARE(asked, messages);
        KV_VERIFY_ASKER(host.script);
        if (!focus.isEmpty()) {
            QWidget* focused = d->focusWidget();
            QCOMPARE(focused != nullptr ? focused->objectName() : QString(), focus);
        }
    }

    // A source at 9% or of dividends through its screen: added, edited and deleted,
    // with the code, the tax and the totals each step leaves.
    void flatSources_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("dialogName");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("taxAfterAdding");
        QTest::addColumn<int>("taxAfterEditing");
        QTest::newRow("9%") << int(FlatIncomeKind::NinePercent) << "TfmInput9SourseIncome" << 1011 << 900
                            << 901;
        QTest::newRow("dividends") << int(FlatIncomeKind::Dividends) << "TfmInput30SourseIncome" << 1010 << 0
                                   << 0;
    }

    void flatSources() {
        QFETCH(int, kind);
        QFETCH(QString, dialogName);
        QFETCH(int, code);
        QFETCH(int, taxAfterAdding);
        QFETCH(int, taxAfterEditing);

        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        auto& list =
            kind == int(FlatIncomeKind::NinePercent) ? host.document->incomes9 : host.document->incomes30;
        FlatIncomeScreen screen(nullptr, host, static_cast<FlatIncomeKind>(kind));
        QCOMPARE(host.changes, 0);

        kv::test::whenModal(dialogName, [](QDialog& d) {
            fill(d, {"edIncomeSum=10000,5", "edTaxWithheld=800"});
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.get(0).incomeCode, code);
        QCOMPARE(list.get(0).totalIncome, Money::fromRaw(100005000));
        QCOMPARE(list.get(0).taxableAmount, Money::fromRaw(100005000));
        QCOMPARE(list.get(0).taxCalculated, rub(taxAfterAdding));
        QCOMPARE(list.get(0).taxWithheld, rub(800));
        QCOMPARE(list.get(0).sourceOktmo, Cp1251Text{"45382000"});
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("10 000,50"));
        QCOMPARE(kv::test::textOf(&screen, "edTaxWithheld"), QStringLiteral("800,00"));
        QCOMPARE(host.changes, 1);

        // A blank name adds nothing.
        kv::test::whenModal(dialogName, [](QDialog& d) {
            fill(d, {"edSourceName=   "});
            kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(&screen, "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(list.count(), 1);

        // Editing shows what was stored and keeps the code.
        list.get(0).incomeCode = 1110;
        kv::test::whenModal(dialogName, [](QDialog& d) {
            QCOMPARE(kv::test::textOf(&d, "edIncomeSum"), QStringLiteral("10000,5"));
            QCOMPARE(kv::test::textOf(&d, "edTaxWithheld"), QStringLiteral("800"));
            kv::test::retype(&d, "edIncomeSum", QStringLiteral("10005,6"));
            kv::test::retype(&d, "edSourceName", QStringLiteral("АО «Лютик»"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnEditSource");
        KV_VERIFY_MODALS();
        QCOMPARE(list.get(0).incomeCode, 1110);
        QCOMPARE(list.get(0).taxCalculated, rub(taxAfterEditing));
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&screen, "lvSources")),
                 QStringList{QStringLiteral("АО «Лютик»")});
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("10 005,60"));
        QCOMPARE(host.changes, 2);

        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&screen, "bnDeleteSource");
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(list.count(), 0);
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QString());
        QCOMPARE(host.changes, 3);
    }

    // Deleting the second of three selects the first; the screen opens with nothing selected.
    void deletingSelectsThePreviousSource() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        for (const char* name : {"A", "B", "C"}) {
            ThirtyFivePercentSource s;
            s.sourceName = Cp1251Text::fromBytes(std::string_view(name));
            s.incomeCode = 2610;
            s.totalIncome = rub(name[0]);
            host.document->incomes35.add(s);
        }
        ThirtyFiveScreen screen(nullptr, host);
        auto* sources = kv::test::child<QTreeWidget>(&screen, "lvSources");
        QCOMPARE(sources->currentItem(), nullptr);
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QString());
        sources->setCurrentItem(sources->topLevelItem(1));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeCode"), QStringLiteral("2610"));
        QCOMPARE(kv::test::textOf(&screen, "edDeductCode"), QStringLiteral("Нет"));
        // A source holding an income goes only after "Да", by button or by Delete.
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Нет"));
        QTest::keyClick(sources, Qt::Key_Delete);
        QCOMPARE(kv::test::rowsOf(sources), (QStringList{"A", "B", "C"}));
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&screen, "bnDeleteSource");
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(kv::test::rowsOf(sources), (QStringList{"A", "C"}));
        QCOMPARE(sources->currentItem(), sources->topLevelItem(0));
        QCOMPARE(kv::test::textOf(&screen, "edTotalIncome"), QStringLiteral("65,00"));
        QCOMPARE(host.changes, 1);
    }

    // Visiting a screen changes nothing; a source opened and confirmed unedited comes
    // back as it was stored.
    void storedSourcesComeBackUnchanged_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("dialogName");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("9%") << int(ScreenId::NinePercent) << "TfmInput9SourseIncome"
                            << QStringList{"10 005,6123", "900,00"};
        QTest::newRow("dividends") << int(ScreenId::Dividends) << "TfmInput30SourseIncome"
                                   << QStringList{"50 000,00", "7 000,00"};
        QTest::newRow("35%") << int(ScreenId::ThirtyFivePercent) << "TfmInput35SourseIncome"
                             << QStringList{"2740", "10 000,00", "505", "4 000,00", "0,00"};
    }

    void storedSourcesComeBackUnchanged() {
        QFETCH(int, screen);
        QFETCH(QString, dialogName);
        QFETCH(QStringList, totals);

        ScreenTestHost host;
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kAgentIncomes);
        ThirtyPercentSource flat;
        flat.sourceName = Cp1251Text::fromUtf8("ООО «Ромашка»");
        flat.sourceInn = "1234567894";
        flat.sourceKpp = "773601001";
        flat.sourceOktmo = "45382000";
        flat.incomeCode = 1011;
        // Four decimals, as a document written elsewhere may hold: kept through the dialog.
        flat.totalIncome = flat.taxableAmount = Money::fromRaw(100056123);
        flat.taxCalculated = rub(901);
        flat.taxWithheld = rub(900);
        d.incomes9.add(flat);
        flat.incomeCode = 1010;
        flat.totalIncome = flat.taxableAmount = rub(50000);
        flat.taxCalculated = Money{};
        flat.taxWithheld = rub(7000);
        d.incomes30.add(flat);
        ThirtyFivePercentSource prize;
        static_cast<IncomeSource&>(prize) = flat;
        prize.incomeCode = 2740;
        prize.totalIncome = rub(10000);
        prize.deductionCode = 505;
        prize.deductionAmount = rub(4000);
        prize.taxWithheld = Money{};
        d.incomes35.add(prize);
        const Declaration before = d;

        std::unique_ptr<ScreenFrame> shown(
            ScreenRegistry::standard().create(static_cast<ScreenId>(screen), nullptr, host));
        shown->selectFirstEntry();
        QStringList values;
        for (const char* name :
             {"edIncomeCode", "edTotalIncome", "edDeductCode", "edDeductSum", "edTaxWithheld"}) {
            if (kv::test::child<QLineEdit>(shown.get(), name) != nullptr)
                values.append(kv::test::textOf(shown.get(), name));
        }
        QCOMPARE(values, totals);
        shown->saveData();
        QCOMPARE(shown->checkData(), std::uint16_t{0});
        QVERIFY(d == before);
        QCOMPARE(host.changes, 0);

        kv::test::whenModal(dialogName, [](QDialog& dialog) { kv::test::clickButton(&dialog, "bnOk"); });
        kv::test::clickButton(shown.get(), "bnEditSource");
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(d == before);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(shown.get(), "bnDeleteSource");
        KV_VERIFY_ASKER(host.script);
        QVERIFY(!(d == before));
    }

    // The non-residents' screen is the 13% screen over their own list: no deductions
    // granted by agents, the foreigner's fixed payments on every return, the source
    // dialog without its marks, the non-resident's income dialog, and no checks.
    void nonResidentScreen_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("resident's return") << 0;
        QTest::newRow("non-resident's return") << 1;
    }

    void nonResidentScreen() {
        QFETCH(int, kind);
        ScreenTestHost host;
        Declaration& d = *host.document;
        d.declarationKind = static_cast<std::uint8_t>(kind);
        d.setIncomeFlags(Declaration::kAgentIncomes);
        d.foreignerFixedAdvance = rub(1200);
        std::unique_ptr<ScreenFrame> screen(
            ScreenRegistry::standard().create(ScreenId::ThirteenPercentNonResident, nullptr, host));
        QCOMPARE(screen->objectName(), QStringLiteral("TTfrThirteenPercentNR"));
        QVERIFY(kv::test::child<QWidget>(screen.get(), "gbAgentDeductions")->isHidden());
        QVERIFY(!kv::test::child<QWidget>(screen.get(), "gbForeigner")->isHidden());
        QCOMPARE(kv::test::textOf(screen.get(), "edFixedAdvance"), QStringLiteral("1200"));

        kv::test::whenModal(QStringLiteral("TfmInput13SourseIncome"), [](QDialog& dialog) {
            QVERIFY(kv::test::child<QWidget>(&dialog, "chbPrimaryWorkplace")->isHidden());
            QVERIFY(kv::test::child<QWidget>(&dialog, "chbInvestmentPartnership")->isHidden());
            fill(dialog, {});
            kv::test::clickButton(&dialog, "bnOk");
        });
        kv::test::clickButton(screen.get(), "bnAddSource");
        KV_VERIFY_MODALS();
        QCOMPARE(d.incomes13NonResident.count(), 1);
        QCOMPARE(d.incomes13.count(), 0);
        QCOMPARE(d.incomes13NonResident.get(0).isPrimaryWorkplace, std::uint8_t{0});

        kv::test::whenModal(QStringLiteral("TfmInput13NRIncome"), [](QDialog& dialog) {
            fill(dialog, {"code=2000", "edIncomeSum=1000", "edMonth=15"});
            kv::test::clickButton(&dialog, "bnOk");
        });
        kv::test::clickButton(screen.get(), "bnAddIncome");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(screen.get(), "lvIncomes")),
                 QStringList{"12|2000|1 000,00|Нет|-"});
        QCOMPARE(d.incomes13NonResident.get(0).totalIncome, rub(1000));

        // More withheld than paid: the 13% screen would ask, this one does not.
        kv::test::retype(screen.get(), "edTaxWithheld", QStringLiteral("5000"));
        kv::test::retype(screen.get(), "edFixedAdvance", QStringLiteral("3000"));
        screen->saveData();
        QCOMPARE(screen->checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(d.incomes13NonResident.get(0).taxWithheld, rub(5000));
        QCOMPARE(d.foreignerFixedAdvance, rub(3000));

        // Built again and left: nothing changes.
        const Declaration before = d;
        const int changes = host.changes;
        screen.reset(ScreenRegistry::standard().create(ScreenId::ThirteenPercentNonResident, nullptr, host));
        screen->selectFirstEntry();
        QCOMPARE(kv::test::textOf(screen.get(), "edTaxWithheld"), QStringLiteral("5000"));
        screen->saveData();
        QVERIFY(d == before);
        QCOMPARE(host.changes, changes);
    }

    // The prize's deduction equals the income up to 4 000 and follows it.
    void thirtyFiveDeductionFollowsTheIncome() {
        ScreenTestHost host;
        ThirtyFiveDialog dialog(host.script, IncomeDict::builtIn(), ThirtyFivePercentSource{}, nullptr);
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edIncomeSum")->isEnabled());
        pickCodes(dialog, QStringLiteral("2740"), QStringLiteral("505"));
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("0"));
        const QList<std::pair<QString, QString>> steps = {{"10000", "4000"}, {"3000", "3000"}, {"", "0"}};
        for (const auto& [income, deduction] : steps) {
            kv::test::retype(&dialog, "edIncomeSum", income);
            QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), deduction);
        }

        // "Не предоставлять вычет": hidden, stored as no deduction at all.
        pickDeduction(dialog, QStringLiteral("0"));
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&dialog, "edDeductSum")->isHidden());
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("5000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QString());

        // 2620 keeps the income as typed but closed to typing, and has no deductions.
        pickCodes(dialog, QStringLiteral("2620"), QString());
        KV_VERIFY_MODALS();
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edIncomeSum")->isEnabled());
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("5000"));
        QVERIFY(!kv::test::child<QWidget>(&dialog, "bnDeductCode")->isEnabled());

        pickCodes(dialog, QStringLiteral("2740"), QStringLiteral("0"));
        fill(dialog, {});
        kv::test::clickButton(&dialog, "bnOk");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.source().incomeCode, 2740);
        QCOMPARE(dialog.source().deductionCode, 0);
        QCOMPARE(dialog.source().deductionAmount, Money{});
        QCOMPARE(dialog.source().totalIncome, rub(5000));
    }

    // A deduction the user typed survives later changes of the income; it used to
    // fall back to 0 at every keystroke in the income.
    void typedThirtyFiveDeductionIsKept() {
        ScreenTestHost host;
        ThirtyFiveDialog dialog(host.script, typedDeductions(), ThirtyFivePercentSource{}, nullptr);
        pickCodes(dialog, QStringLiteral("2740"), QStringLiteral("505"));
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QString());
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("10000"));
        kv::test::retype(&dialog, "edDeductSum", QStringLiteral("2500"));
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("12000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("2500"));
        kv::test::retype(&dialog, "edDeductSum", QStringLiteral("5000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("4000"));
        fill(dialog, {});
        kv::test::clickButton(&dialog, "bnOk");
        QCOMPARE(dialog.source().deductionAmount, rub(4000));
        QCOMPARE(dialog.source().deductionCode, 505);
    }

    // Opening a stored 35% source restores the codes, the names and the amounts.
    void thirtyFiveSourceReopens() {
        ThirtyFivePercentSource stored;
        stored.sourceName = "N";
        stored.sourceInn = "1234567894";
        stored.incomeCode = 2740;
        stored.totalIncome = rub(3000);
        stored.deductionCode = 505;
        stored.deductionAmount = rub(1); // equal to the income: recomputed
        stored.taxWithheld = rub(0);
        ScreenTestHost host;
        ThirtyFiveDialog dialog(host.script, IncomeDict::builtIn(), stored, nullptr);
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeCode"), QStringLiteral("2740"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QStringLiteral("3000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductCode"), QStringLiteral("505"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("3000"));
        QVERIFY(kv::test::child<QWidget>(&dialog, "bnDeductCode")->isEnabled());
        QVERIFY(!kv::test::child<QLabel>(&dialog, "lblIncomeName")->text().isEmpty());

        stored.incomeCode = 2610;
        ThirtyFiveDialog other(host.script, IncomeDict::builtIn(), stored, nullptr);
        QCOMPARE(kv::test::textOf(&other, "edDeductCode"), QString());
        QVERIFY(!kv::test::child<QWidget>(&other, "bnDeductCode")->isEnabled());
    }

    // The non-resident's deduction is only limited, never copied from the income when
    // picked; the month is kept between 1 and 12.
    void nonResidentIncome() {
        ScreenTestHost host;
        NonResidentIncomeDialog dialog(host.script, typedDeductions(), std::nullopt, nullptr);
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edMonth")->isEnabled());
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("1"));
        QCOMPARE(kv::test::textOf(&dialog, "edIncomeSum"), QString()); // closed until a code is picked
        pickCodes(dialog, QStringLiteral("2000"), QStringLiteral("501"));
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&dialog, "edMonth")->isEnabled());
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("10000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QString());
        kv::test::retype(&dialog, "edDeductSum", QStringLiteral("3000"));
        kv::test::retype(&dialog, "edIncomeSum", QStringLiteral("9000"));
        QCOMPARE(kv::test::textOf(&dialog, "edDeductSum"), QStringLiteral("3000"));
        kv::test::retype(&dialog, "edMonth", QStringLiteral("15"));
        QCOMPARE(kv::test::textOf(&dialog, "edMonth"), QStringLiteral("12"));
        ThirteenIncomeItem item = dialog.item();
        QCOMPARE(item.incomeCode, 2000);
        QCOMPARE(item.amount, rub(9000));
        QCOMPARE(item.deductionCode, 501);
        QCOMPARE(item.deductionAmount, rub(3000));
        QCOMPARE(item.month, std::int16_t{12});
        QVERIFY(item.incomeName.str().empty());
        QCOMPARE(item.deductionPercent, 0);

        // Opened again, the deduction equal to the income is taken from it.
        item.month = 4;
        NonResidentIncomeDialog reopened(host.script, typedDeductions(), item, nullptr);
        QCOMPARE(kv::test::textOf(&reopened, "edDeductSum"), QStringLiteral("4000"));
        QCOMPARE(kv::test::textOf(&reopened, "edMonth"), QStringLiteral("4"));
        kv::test::retype(&reopened, "edMonth", QString());
        QCOMPARE(reopened.item().month, std::int16_t{1});
    }
};

KV_QTEST_MAIN(RatesTest)

#include "rates_test.moc"
