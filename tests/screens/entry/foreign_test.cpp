// The foreign-income screen: a dividend in dollars entered through the widgets and
// computed into Appendix 2 and Section 2, the rate lookup, the import of the bank's
// rate files from the currency picker, copying, and visiting without changing.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "checks/ReturnCheck.h"
#include "checks/ScriptedCheckDialog.h"
#include "compute/ReturnComputation.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "reference/RatesImport.h"
#include "screens/ForeignIncomeScreen.h"
#include "support/TestValues.h"

#include "screens/kit/DateEdit.h"
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::date;
using kv::test::ScreenTestHost;

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// Dollars on a few days around the New Year holidays and in March, the euro unlisted.
CurrencyRates smallRates() {
    Currency usd{Cp1251Text{"840"}, cp("Доллар США"), {}};
    usd.rates = {{Cp1251Text{"28.12.2018"}, Cp1251Text{"69,4706"}, Cp1251Text{"1"}},
                 {Cp1251Text{"09.01.2019"}, Cp1251Text{"67,0795"}, Cp1251Text{"1"}},
                 {Cp1251Text{"10.01.2019"}, Cp1251Text{"66,9909"}, Cp1251Text{"1"}},
                 {Cp1251Text{"16.03.2019"}, Cp1251Text{"65,3217"}, Cp1251Text{"1"}},
                 {Cp1251Text{"19.03.2019"}, Cp1251Text{"65,1234"}, Cp1251Text{"1"}}};
    return CurrencyRates{
        {usd, Currency{Cp1251Text{"392"},
                       cp("Японских иен"),
                       {{Cp1251Text{"16.03.2019"}, Cp1251Text{"59,1234"}, Cp1251Text{"100"}}}}}};
}

void loadRates(ScreenTestHost& host) {
    kv::test::loadSmallDirectories(host.loaded);
    host.loaded.countries->push_back({Cp1251Text{"840"}, cp("СОЕДИНЕННЫЕ ШТАТЫ")});
    host.loaded.currencyRatesState = DirectoryState::Loaded;
    host.loaded.currencyRates = smallRates();
}

void setDate(QWidget* screen, const char* name, const QDate& date) {
    kv::test::child<kv::DateEdit>(screen, name)->setDate(date);
}

void enterSource(ScreenTestHost& host, QWidget* screen, const QString& name, const QString& country) {
    kv::test::whenModal(QStringLiteral("TfmInputCurrencySourseIncome"), [=](QDialog& d) {
        kv::test::retype(&d, "edSourceName", name);
        kv::test::retype(&d, "edCountryCode", country);
        kv::test::clickButton(&d, "bnOk");
    });
    kv::test::clickButton(screen, "bnAddSource");
    (void)host;
}

ForeignIncome storedDividend() {
    ForeignIncome s;
    s.sourceName = "Broker";
    s.countryCode = "840";
    s.currencyCode = "840";
    s.currencyName = "USD";
    s.incomeCode = 1010;
    s.incomeRate = 14;
    s.incomeName = "Dividends";
    s.incomeDate = date(2019, 3, 16);
    s.taxPaymentDate = date(2019, 3, 19);
    s.incomeDateRate = Money::fromRaw(653217);
    s.incomeDateUnits = 1;
    s.taxDateRate = Money::fromRaw(651234);
    s.taxDateUnits = 1;
    s.setIncomeInCurrency(Money::fromRoubles(1000));
    s.setTaxInCurrency(Money::fromRoubles(100));
    return s;
}

QTreeWidget* sources(QWidget* screen) {
    return kv::test::child<QTreeWidget>(screen, "lvSources");
}

} // namespace

class ForeignTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    // A person enters a dividend of 1 000 dollars received on Sunday 17.03.2019 with
    // 100 dollars of tax withheld abroad on 19.03.2019. Worked by hand:
    //   income: the rate of Saturday 16.03.2019, 65,3217: 65 321,70 roubles;
    //   foreign tax: 100 x 65,1234 = 6 512,34 roubles;
    //   Russian tax on it: 13% of 65 321,70 = 8 491,82; credited: 6 512,34;
    //   Section 2 (dividends at 13%): base 65 321,70, tax 8 492, credit 6 512, to pay 1 980.
    void dividendInDollarsToAppendix2AndSection2() {
        ScreenTestHost host;
        loadRates(host);
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncomeScreen screen(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(&screen, "pnIncome")->isEnabled());

        enterSource(host, &screen, QStringLiteral("Interactive Brokers LLC"), QStringLiteral("840"));
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&screen, "pnIncome")->isEnabled());
        setDate(&screen, "dtIncomeDate", QDate(2019, 3, 17));
        setDate(&screen, "dtTaxDate", QDate(2019, 3, 19));
        kv::test::retype(&screen, "edCurrencyCode", QStringLiteral("840"));
        QCOMPARE(kv::test::textOf(&screen, "edCurrencyName"), QStringLiteral("Доллар США"));
        QVERIFY(kv::test::child<QLineEdit>(&screen, "edCurrencyName")->isReadOnly());
        auto* autoRate = kv::test::child<QCheckBox>(&screen, "chbAutoRate");
        QVERIFY(autoRate->isEnabled());
        autoRate->click();
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), QStringLiteral("65,3217"));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateUnits"), QStringLiteral("1"));
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblIncomeRateDay")->text(),
                 QStringLiteral("курс на 16.03.2019"));
        QCOMPARE(kv::test::textOf(&screen, "edTaxDateRate"), QStringLiteral("65,1234"));
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblTaxRateDay")->text(), QString());

        kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("1010"));
        kv::test::clickButton(&screen, "bnIncomeCode");
        KV_VERIFY_MODALS();
        kv::test::retype(&screen, "edIncomeInCurrency", QStringLiteral("1000"));
        kv::test::retype(&screen, "edTaxInCurrency", QStringLiteral("100"));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeInRubles"), QStringLiteral("65 321,70"));
        QCOMPARE(kv::test::textOf(&screen, "edTaxInRubles"), QStringLiteral("6 512,34"));
        QVERIFY(host.changes > 0);
        screen.saveData();

        const ForeignIncome& s = host.document->foreignIncomes.get(0);
        QCOMPARE(s.incomeRate, 14);
        QCOMPARE(s.autoRate, std::uint8_t{1});
        QCOMPARE(s.incomeInRubles, Money::fromRaw(653217000)); // what the screen showed
        QCOMPARE(s.taxInRubles, Money::fromRaw(65123400));

        ReturnComputation sheets;
        sheets.compute(*host.document);
        QCOMPARE(sheets.foreign13.lines.size(), std::size_t{1});
        const auto& line = sheets.foreign13.lines.at(0);
        QCOMPARE(line.kindCode, Cp1251Text{"22"});
        QCOMPARE(line.countryCode, Cp1251Text{"840"});
        QCOMPARE(line.incomeRateText, std::string("65.3217"));
        QCOMPARE(line.incomeInRubles, Money::fromRaw(653217000));
        QCOMPARE(line.taxInRubles, Money::fromRaw(65123400));
        QCOMPARE(line.taxRf, Money::fromRaw(84918200));
        QCOMPARE(line.credit, Money::fromRaw(65123400));
        QCOMPARE(sheets.foreign13.dividendIncome, Money::fromRaw(653217000));
        QCOMPARE(sheets.foreign13.dividendTaxCredit, Money::fromRaw(65123400));
        const Section2Sheet& dividends = sheets.section2Dividends13;
        QCOMPARE(dividends.totalIncome, Money::fromRaw(653217000));
        QCOMPARE(dividends.taxBase, Money::fromRaw(653217000));
        QCOMPARE(dividends.taxCalculated, Money::fromRoubles(8492));
        QCOMPARE(dividends.foreignTaxCredited, Money::fromRoubles(6512));
        QCOMPARE(dividends.taxToPay, Money::fromRoubles(1980));
    }

    // Rates typed by hand stay when either date moves, with or without a rates file:
    // the tax in roubles and the credit of the export keep them. A dividend of 1 000
    // dollars with 100 withheld abroad, the rates of 16.03 and 19.03.2019 typed:
    // 6 512,34 roubles of foreign tax against 8 492 of Russian tax, all credited.
    void typedRatesStayWhenTheDatesMove_data() {
        QTest::addColumn<bool>("withRates");
        QTest::newRow("without a rates file") << false;
        QTest::newRow("with the rates file, the box unticked") << true;
    }

    void typedRatesStayWhenTheDatesMove() {
        QFETCH(bool, withRates);
        ScreenTestHost host;
        if (withRates)
            loadRates(host);
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome typed = storedDividend();
        typed.incomeDateRate = Money{};
        typed.taxDateRate = Money{};
        d.foreignIncomes.add(typed);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        QVERIFY(!kv::test::child<QCheckBox>(&screen, "chbAutoRate")->isChecked());
        kv::test::retype(&screen, "edIncomeDateRate", QStringLiteral("65,3217"));
        kv::test::retype(&screen, "edTaxDateRate", QStringLiteral("65,1234"));
        QCOMPARE(kv::test::textOf(&screen, "edTaxInRubles"), QStringLiteral("6 512,34"));

        setDate(&screen, "dtTaxDate", QDate(2019, 3, 22));
        setDate(&screen, "dtIncomeDate", QDate(2019, 3, 18));
        for (auto [name, text] : {std::pair{"edIncomeDateRate", "65,3217"},
                                  std::pair{"edIncomeDateUnits", "1"}, std::pair{"edTaxDateRate", "65,1234"},
                                  std::pair{"edTaxDateUnits", "1"}, std::pair{"edTaxInRubles", "6 512,34"}})
            QCOMPARE(kv::test::textOf(&screen, name), QString::fromUtf8(text));
        screen.saveData();
        const ForeignIncome& s = d.foreignIncomes.get(0);
        QCOMPARE(s.taxPaymentDate, date(2019, 3, 22));
        QCOMPARE(s.taxInRubles, Money::fromRaw(65123400));

        FixedIdSource ids("0F8FAD5B-D9CB-469F-A165-70867728950E");
        const ExportServices services{kv::test::testClock(), ids, [](const Cp1251Text&) {}};
        const QString xml = QString::fromStdString(
            Cp1251Text::fromBytes(exportReturn({}, d, kExportToText, services)).utf8());
        for (const char* figure :
             {"НалУплИноРуб=\"6512.34\"", "НалогЗачРФОбщ=\"6512\"", "НалЗачРФОбщ=\"8492\""})
            QVERIFY2(xml.contains(QString::fromUtf8(figure)), figure);
    }

    // The box fills the line the rates file has a rate for and leaves the other to the
    // person, keeping what was typed there; the file reopened shows the same.
    void automaticRateFillsOnlyTheLineItCan_data() {
        QTest::addColumn<QDate>("incomeDate");
        QTest::addColumn<QDate>("taxDate");
        QTest::addColumn<bool>("incomeAutomatic");
        // Yen have a rate only from 16.03.2019.
        QTest::newRow("no rate on the income day") << QDate(2019, 1, 10) << QDate(2019, 3, 18) << false;
        QTest::newRow("no rate on the tax day") << QDate(2019, 3, 18) << QDate(2019, 1, 10) << true;
    }

    void automaticRateFillsOnlyTheLineItCan() {
        QFETCH(QDate, incomeDate);
        QFETCH(QDate, taxDate);
        QFETCH(bool, incomeAutomatic);
        ScreenTestHost host;
        loadRates(host);
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome yen = storedDividend();
        yen.currencyCode = "392";
        yen.incomeDateRate = Money{};
        yen.taxDateRate = Money{};
        yen.incomeDateUnits = 0;
        yen.taxDateUnits = 0;
        host.document->foreignIncomes.add(yen);
        const char* typedRate = incomeAutomatic ? "edTaxDateRate" : "edIncomeDateRate";
        const char* typedUnits = incomeAutomatic ? "edTaxDateUnits" : "edIncomeDateUnits";
        const char* filledRate = incomeAutomatic ? "edIncomeDateRate" : "edTaxDateRate";
        const auto verifyLines = [&](QWidget* screen) {
            QVERIFY(kv::test::child<QCheckBox>(screen, "chbAutoRate")->isEnabled());
            QVERIFY(kv::test::child<QCheckBox>(screen, "chbAutoRate")->isChecked());
            QCOMPARE(kv::test::textOf(screen, filledRate), QStringLiteral("59,1234"));
            QVERIFY(!kv::test::child<QWidget>(screen, filledRate)->isEnabled());
            QCOMPARE(kv::test::textOf(screen, typedRate), QStringLiteral("58,5"));
            QCOMPARE(kv::test::textOf(screen, typedUnits), QStringLiteral("100"));
            QVERIFY(kv::test::child<QWidget>(screen, typedRate)->isEnabled());
        };
        {
            ForeignIncomeScreen screen(nullptr, host);
            screen.selectFirstEntry();
            setDate(&screen, "dtIncomeDate", incomeDate);
            setDate(&screen, "dtTaxDate", taxDate);
            kv::test::retype(&screen, typedRate, QStringLiteral("58,5"));
            kv::test::retype(&screen, typedUnits, QStringLiteral("100"));
            kv::test::child<QCheckBox>(&screen, "chbAutoRate")->click();
            verifyLines(&screen);
            screen.saveData();
        }
        QTemporaryDir folder;
        const std::string path = QFile::encodeName(folder.filePath(QStringLiteral("yen.qv9"))).toStdString();
        host.document->saveToFile(path);
        ScreenTestHost reopened;
        loadRates(reopened);
        reopened.document->loadFromFile(path);
        ForeignIncomeScreen screen(nullptr, reopened);
        screen.selectFirstEntry();
        verifyLines(&screen);
    }

    // An expense typed against securities (1530, expense 201) stays through later
    // changes of the amount, a date or a rate; one with a cap (1512, 902: 250 000) is
    // held to it, as the 35% dialog holds its deduction.
    void typedExpenseStays_data() {
        QTest::addColumn<int>("incomeCode");
        QTest::addColumn<QString>("deduction");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("securities") << 1530 << "201"
                                    << "5000"
                                    << "5000";
        QTest::newRow("share with a cap") << 1512 << "902"
                                          << "300000"
                                          << "250000";
    }

    void typedExpenseStays() {
        QFETCH(int, incomeCode);
        QFETCH(QString, deduction);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome sale = storedDividend();
        sale.incomeCode = incomeCode;
        sale.incomeRate = 13;
        host.document->foreignIncomes.add(sale);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        kv::test::whenPicker(QStringLiteral("TfmInputDeductCode"), deduction);
        kv::test::clickButton(&screen, "bnDeductionCode");
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&screen, "edDeductionAmount")->isEnabled());
        kv::test::retype(&screen, "edDeductionAmount", typed);
        QCOMPARE(kv::test::textOf(&screen, "edDeductionAmount"), kept);

        kv::test::retype(&screen, "edIncomeInCurrency", QStringLiteral("2000"));
        kv::test::retype(&screen, "edIncomeDateRate", QStringLiteral("66"));
        setDate(&screen, "dtIncomeDate", QDate(2019, 4, 1));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeInRubles"), QStringLiteral("132 000,00"));
        QCOMPARE(kv::test::textOf(&screen, "edDeductionAmount"), kept);
        screen.saveData();
        QCOMPARE(host.document->foreignIncomes.get(0).deductionAmount, Money::fromRoubles(kept.toLongLong()));
    }

    // An income date outside 2019 is named on leaving and goes to its source; passed
    // over, the whole-return check still refuses it.
    void incomeDateOutsideTheYear() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        host.document->foreignIncomes.add(storedDividend());
        host.document->foreignIncomes.add(storedDividend());
        ForeignIncomeScreen screen(nullptr, host);
        sources(&screen)->setCurrentItem(sources(&screen)->topLevelItem(1));
        setDate(&screen, "dtIncomeDate", QDate(2018, 12, 28));
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"))
            .expect(QStringLiteral("TfmCheckError"), QStringLiteral("Пропустить"));
        QCOMPARE(screen.checkData(), std::uint16_t{2});
        QCOMPARE(screen.checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.script.questions().at(0).text,
                 QStringLiteral("Дата получения дохода: Дата не может быть раньше 01.01.2019"));
        QCOMPARE(host.document->foreignIncomes.get(1).incomeDate, date(2018, 12, 28));

        host.document->inspectionCode = "7701";
        host.document->person.surname = cp("Соколов");
        host.document->person.firstName = cp("Андрей");
        host.document->person.inn = "500100732185";
        host.document->person.oktmo = "45379000";
        ScriptedCheckDialog whole({CheckAnswer::Fix});
        const ReturnCheckResult result = checkReturn(*host.document, whole);
        QCOMPARE(result, (ReturnCheckResult{CheckSection::ForeignIncomes, 2}));
        QCOMPARE(
            QString::fromStdString(whole.asked().at(0).message.utf8()),
            QStringLiteral("По данному источнику выплаты дата получения дохода должна быть в 2019 году"));
    }

    // The automatic rate for each income date: the day's own, the last earlier one
    // (saying its day), or none, which unchecks and disables the box.
    void rateLookupThroughTheWidgets_data() {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("note");
        QTest::newRow("the day's own") << "840" << QDate(2019, 1, 9) << true << "67,0795"
                                       << "1"
                                       << "";
        QTest::newRow("holidays take the last earlier") << "840" << QDate(2019, 1, 5) << true << "69,4706"
                                                        << "1"
                                                        << "курс на 28.12.2018";
        QTest::newRow("quoted per hundred") << "392" << QDate(2019, 3, 18) << true << "59,1234"
                                            << "100"
                                            << "курс на 16.03.2019";
        QTest::newRow("before any rate") << "392" << QDate(2019, 1, 9) << false << ""
                                         << ""
                                         << "";
        QTest::newRow("currency not listed") << "978" << QDate(2019, 1, 9) << false << ""
                                             << ""
                                             << "";
    }

    void rateLookupThroughTheWidgets() {
        QFETCH(QString, currency);
        QFETCH(QDate, date);
        QFETCH(bool, found);
        QFETCH(QString, rate);
        QFETCH(QString, units);
        QFETCH(QString, note);

        ScreenTestHost host;
        loadRates(host);
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome s = storedDividend();
        s.autoRate = 1;
        host.document->foreignIncomes.add(s);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        auto* autoRate = kv::test::child<QCheckBox>(&screen, "chbAutoRate");
        QVERIFY(autoRate->isChecked());
        QVERIFY(!kv::test::child<QWidget>(&screen, "edIncomeDateRate")->isEnabled());

        setDate(&screen, "dtTaxDate", date);
        setDate(&screen, "dtIncomeDate", date);
        // Retyping the code passes through codes that are not listed, which uncheck the box.
        kv::test::retype(&screen, "edCurrencyCode", currency);
        QVERIFY(!autoRate->isChecked());
        QCOMPARE(autoRate->isEnabled(), found);
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), QString());
        if (found)
            autoRate->click();
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), rate);
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateUnits"), units);
        QCOMPARE(kv::test::textOf(&screen, "edTaxDateRate"), rate);
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblIncomeRateDay")->text(), note);
        QCOMPARE(kv::test::child<QWidget>(&screen, "edIncomeDateRate")->isEnabled(), !found);
        QCOMPARE(kv::test::textOf(&screen, "edCurrencyName").isEmpty(), currency == "978");

        // Typing a rate by hand: both rouble amounts follow it.
        if (found)
            autoRate->click();
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), QString());
        kv::test::retype(&screen, "edIncomeDateRate", QStringLiteral("65,43"));
        kv::test::retype(&screen, "edIncomeDateUnits", QStringLiteral("100"));
        kv::test::retype(&screen, "edIncomeInCurrency", QStringLiteral("1234,56"));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeInRubles"), QStringLiteral("807,77"));
        screen.saveData();
        QCOMPARE(host.document->foreignIncomes.get(0).incomeInRubles, Money::fromRaw(8077700));
        QCOMPARE(host.document->foreignIncomes.get(0).autoRate, std::uint8_t{0});
    }

    // Visiting and saving without an edit changes nothing: not a rate stored
    // automatically where no rates file is, not a deduction typed by hand, not a
    // four-decimal rate, not roubles filed at an older rate, nor the other source
    // when switching between them.
    void visitedUnchanged_data() {
        QTest::addColumn<bool>("withRates");
        QTest::newRow("without a rates file") << false;
        QTest::newRow("with the rates file") << true;
    }

    void visitedUnchanged() {
        QFETCH(bool, withRates);
        ScreenTestHost host;
        if (withRates)
            loadRates(host);
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        host.document->foreignAppendixSheets = 2;
        ForeignIncome automatic = storedDividend();
        automatic.autoRate = 1;
        ForeignIncome typed = storedDividend();
        typed.sourceName = "Employer";
        typed.incomeCode = 2010;
        typed.incomeRate = 13;
        typed.currencyCode = "978";
        typed.currencyName = "EUR";
        typed.incomeDateRate = Money::fromRaw(723456);
        typed.incomeInRubles = Money::fromRoubles(70000); // filed at an older rate
        typed.deductionCode = 403;
        typed.deductionAmount = Money::fromRaw(12345600);
        ForeignIncome cfc = storedDividend();
        cfc.incomeCode = 1000;
        cfc.incomeRate = 99;
        cfc.cfcNumber = cp("АБ 12345");
        cfc.cfcProfitMethod = 2;
        cfc.cfcTaxWithheldInRussia = Money::fromRoubles(500);
        for (const ForeignIncome& s : {automatic, typed, cfc})
            host.document->foreignIncomes.add(s);
        const Declaration before = *host.document;

        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), QStringLiteral("65,3217"));
        for (int row : {1, 2, 0, 1}) {
            sources(&screen)->setCurrentItem(sources(&screen)->topLevelItem(row));
            QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"),
                     row == 1 ? QStringLiteral("72,3456") : QStringLiteral("65,3217"));
        }
        QCOMPARE(kv::test::textOf(&screen, "edIncomeInRubles"), QStringLiteral("70 000,00"));
        QCOMPARE(kv::test::textOf(&screen, "edDeductionAmount"), QStringLiteral("1234,56"));
        screen.saveData();
        QCOMPARE(host.changes, 0);
        QVERIFY(*host.document == before);
    }

    // A source with amounts goes only after "Да"; one with nothing entered goes at once.
    void deletingASourceWithAmountsAsksFirst() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome bare;
        bare.sourceName = "Bare";
        host.document->foreignIncomes.add(storedDividend());
        host.document->foreignIncomes.add(bare);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Нет"));
        QTest::keyClick(sources(&screen), Qt::Key_Delete);
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->foreignIncomes.count(), 2);
        sources(&screen)->setCurrentItem(sources(&screen)->topLevelItem(1));
        kv::test::clickButton(&screen, "bnDeleteSource");
        QCOMPARE(host.document->foreignIncomes.count(), 1);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&screen, "bnDeleteSource");
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->foreignIncomes.count(), 0);
        for (const char* name : {"bnDeleteSource", "bnEditSource", "bnCopySource"})
            QVERIFY2(!kv::test::child<QWidget>(&screen, name)->isEnabled(), name);
    }

    // A copy keeps what the computation files it by; a source stored with a code but
    // no rate takes it from the dictionary when shown.
    void copiedAndRepairedSourcesReachAppendix2() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome lost = storedDividend();
        lost.incomeRate = 0;
        lost.incomeName.clear();
        host.document->foreignIncomes.add(lost);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        kv::test::clickButton(&screen, "bnCopySource");
        QCOMPARE(sources(&screen)->topLevelItemCount(), 2);
        QCOMPARE(sources(&screen)->currentItem(), sources(&screen)->topLevelItem(1));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeCode"), QStringLiteral("1010"));
        QVERIFY(host.changes > 0);
        // The copy's own amounts are entered; its rates are typed by hand.
        kv::test::retype(&screen, "edIncomeDateRate", QStringLiteral("65"));
        kv::test::retype(&screen, "edIncomeDateUnits", QStringLiteral("1"));
        kv::test::retype(&screen, "edIncomeInCurrency", QStringLiteral("10"));
        screen.saveData();

        const ForeignIncome& original = host.document->foreignIncomes.get(0);
        const ForeignIncome& copy = host.document->foreignIncomes.get(1);
        QCOMPARE(original.incomeRate, 14);
        QCOMPARE(copy.incomeRate, 14);
        QCOMPARE(copy.incomeName, original.incomeName);
        QVERIFY(!copy.incomeName.empty());
        QCOMPARE(copy.incomeInRubles, Money::fromRoubles(650));
        ReturnComputation sheets;
        sheets.compute(*host.document);
        QCOMPARE(sheets.foreign13.lines.size(), std::size_t{2});
        QCOMPARE(sheets.foreign13.dividendIncome, original.incomeInRubles + Money::fromRoubles(650));
    }

    // The bank's rate files imported from the currency picker are used at once.
    void ratesImportedFromThePicker() {
        QTemporaryDir folder;
        ScreenTestHost host;
        host.ratesPlace.target =
            QFile::encodeName(folder.filePath(QStringLiteral("CurrencyRates.xml"))).toStdString();
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome s;
        s.sourceName = "Bank";
        s.countryCode = "840";
        s.incomeDate = date(2019, 1, 12);
        s.taxPaymentDate = date(2019, 1, 14);
        host.document->foreignIncomes.add(s);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        QVERIFY(kv::test::child<QWidget>(&screen, "bnCurrencyCode")->isEnabled());

        const QString data = QStringLiteral(KV_RATES_DATA);
        host.script.expectFile(QStringLiteral("ratesFile"), data + QStringLiteral("/bank_daily_cut.xml"))
            .expect(QStringLiteral("ratesImportFailed"), QStringLiteral("OK"))
            .expectFile(QStringLiteral("ratesFile"), data + QStringLiteral("/bank_dynamic_usd.xml"))
            .expect(QStringLiteral("ratesImported"), QStringLiteral("OK"));
        kv::test::whenModal(QStringLiteral("TfmInputCurrencyCode"), [](QDialog& picker) {
            kv::test::clickButton(&picker, "bnImportRates");
            kv::test::clickButton(&picker, "bnImportRates");
            kv::test::pickCode(picker, QStringLiteral("840"));
        });
        kv::test::clickButton(&screen, "bnCurrencyCode");
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.script.textOf(QStringLiteral("ratesImported")),
                 QStringLiteral("Загружено курсов: 4, валют: 1, с 09.01.2019 по 31.12.2019"));
        QCOMPARE(kv::test::textOf(&screen, "edCurrencyCode"), QStringLiteral("840"));
        auto* autoRate = kv::test::child<QCheckBox>(&screen, "chbAutoRate");
        QVERIFY(autoRate->isEnabled());
        autoRate->click();
        QCOMPARE(kv::test::textOf(&screen, "edIncomeDateRate"), QStringLiteral("66,8497"));
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblIncomeRateDay")->text(),
                 QStringLiteral("курс на 11.01.2019"));
        QVERIFY(loadCurrencyRatesFile(host.ratesPlace.target).state == DirectoryState::Loaded);
    }

    // A file of a currency outside the bank's list goes in as the currency the
    // person confirms.
    void unknownBankCurrencyIsAskedFor() {
        QTemporaryDir folder;
        ScreenTestHost host;
        loadRates(host);
        // The directory the program reads holds what the host has loaded.
        const QString target = folder.filePath(QStringLiteral("CurrencyRates.xml"));
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(currencyRatesXml(smallRates())));
        file.close();
        host.ratesPlace.target = QFile::encodeName(target).toStdString();
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        host.document->foreignIncomes.add(storedDividend());
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        host.script
            .expectFile(QStringLiteral("ratesFile"),
                        QStringLiteral(KV_RATES_DATA "/bank_dynamic_unknown_id.xml"))
            .expect(QStringLiteral("ratesCurrency"), QStringLiteral("Да"))
            .expect(QStringLiteral("ratesImported"), QStringLiteral("OK"));
        kv::test::whenModal(QStringLiteral("TfmInputCurrencyCode"), [](QDialog& picker) {
            kv::test::pickCode(picker, QStringLiteral("392")); // selects and closes ...
        });
        kv::test::clickButton(&screen, "bnCurrencyCode");
        KV_VERIFY_MODALS();
        kv::test::whenModal(QStringLiteral("TfmInputCurrencyCode"), [](QDialog& picker) {
            kv::test::clickButton(&picker, "bnImportRates"); // ... and is preselected now
            picker.reject();
        });
        kv::test::clickButton(&screen, "bnCurrencyCode");
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QVERIFY(host.script.textOf(QStringLiteral("ratesCurrency")).contains(QStringLiteral("R01999")));
        const auto yen = findCurrencyRate(&*host.loaded.currencyRates, Cp1251Text{"392"}, date(2019, 2, 1));
        QVERIFY(yen.has_value());
        QCOMPARE(yen->rate, Cp1251Text{"12,5"});
        QCOMPARE(yen->quantity, Cp1251Text{"10"});
        QVERIFY(
            findCurrencyRate(&*host.loaded.currencyRates, Cp1251Text{"840"}, date(2019, 1, 9)).has_value());
    }

    // Leaving the screen: the first fault is the only one shown; "Исправить" goes to its source.
    void checksOnLeaving_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("fix") << "Исправить" << 2;
        QTest::newRow("skip") << "Пропустить" << 0;
        QTest::newRow("skip all") << "Пропустить все" << 0;
    }

    void checksOnLeaving() {
        QFETCH(QString, answer);
        QFETCH(int, code);
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome noCurrency = storedDividend();
        noCurrency.currencyCode.clear();
        ForeignIncome noCode = storedDividend();
        noCode.incomeCode = 0;
        for (const ForeignIncome& s : {storedDividend(), noCurrency, noCode})
            host.document->foreignIncomes.add(s);
        ForeignIncomeScreen screen(nullptr, host);
        host.script.expect(QStringLiteral("TfmCheckError"), answer);
        QCOMPARE(screen.checkData(), static_cast<std::uint16_t>(code));
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.script.questions().size(), 1);
        QCOMPARE(host.script.questions().at(0).text,
                 QStringLiteral("По данному источнику выплаты не указан код валюты"));
        QCOMPARE(host.script.questions().at(0).title, QStringLiteral("Проверка: Доходы в валюте"));

        screen.setFocusToElement(3);
        QCOMPARE(sources(&screen)->currentItem(), sources(&screen)->topLevelItem(2));
        QCOMPARE(kv::test::textOf(&screen, "edIncomeCode"), QString());
    }

    // The CFC group follows the income code picked, and the source dialog wants a country.
    void cfcGroupAndSourceCountry() {
        ScreenTestHost host;
        loadRates(host);
        host.document->setIncomeFlags(Declaration::kForeignIncomes);
        ForeignIncome cfc = storedDividend();
        cfc.incomeCode = 1000;
        cfc.incomeRate = 99;
        cfc.cfcNumber = cp("АБ 12345");
        cfc.cfcProfitMethod = 1;
        host.document->foreignIncomes.add(cfc);
        ForeignIncomeScreen screen(nullptr, host);
        screen.selectFirstEntry();
        QVERIFY(kv::test::child<QWidget>(&screen, "rbCfcAccounts")->isEnabled());
        QVERIFY(kv::test::child<QRadioButton>(&screen, "rbCfcAccounts")->isChecked());

        kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("1012"));
        kv::test::clickButton(&screen, "bnIncomeCode");
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&screen, "meCfcNumber")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&screen, "rbCfcAccounts")->isEnabled());
        QVERIFY(!kv::test::child<QRadioButton>(&screen, "rbCfcAccounts")->isChecked());
        QVERIFY(!kv::test::child<QWidget>(&screen, "edCfcTaxWithheld")->isEnabled());
        kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), QStringLiteral("2010"));
        kv::test::clickButton(&screen, "bnIncomeCode");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&screen, "meCfcNumber"), QString());
        screen.saveData();
        QCOMPARE(host.document->foreignIncomes.get(0).incomeRate, 13);
        QCOMPARE(host.document->foreignIncomes.get(0).cfcProfitMethod, std::int16_t{0});

        // "Да" without a country: closing the message is "Исправить", the one answer it
        // offers, and opens the country picker, which gives one.
        host.script.expectClosed(QStringLiteral("TfmCheckError"));
        kv::test::whenModal(QStringLiteral("TfmInputCurrencySourseIncome"), [](QDialog& d) {
            kv::test::retype(&d, "edSourceName", QStringLiteral("GmbH"));
            kv::test::whenPicker(QStringLiteral("TfmGrazhd"), QStringLiteral("276"));
            kv::test::clickButton(&d, "bnOk");
            QCOMPARE(kv::test::textOf(&d, "edCountryCode"), QStringLiteral("276"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddSource");
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.script.questions().at(0).text, QStringLiteral("Не выбран код страны"));
        QCOMPARE(host.document->foreignIncomes.count(), 2);
        QCOMPARE(host.document->foreignIncomes.get(1).countryCode, Cp1251Text{"276"});
    }
};

KV_QTEST_MAIN(ForeignTest)

#include "foreign_test.moc"
