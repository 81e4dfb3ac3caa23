// The property-deduction screen and its object dialog: the deductible totals, the
// kinds and dates the dialog allows, its checks, and the rules that decide how many
// objects may be entered and whether earlier years' deductions are asked for.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/HousingObjectDialog.h"
#include "screens/PropertyDeductionScreen.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/rules/PropertyRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::ScreenTestHost;

Q_DECLARE_METATYPE(kv::ConstructionObjects)
Q_DECLARE_METATYPE(kv::Money)

namespace {

Money roubles(std::int64_t n) {
    return Money::fromRoubles(n);
}

HousingObject flat(int registered, std::int64_t cost, std::int64_t interest = 0, int numerator = 1,
                   int denominator = 1) {
    HousingObject o;
    o.objectKind = 2;
    o.taxpayerSign = 1;
    o.numberKind = 1;
    o.objectNumber = "77:01:1";
    o.rightRegistrationDate = DateValue::fromYear(registered);
    o.transferActDate = DateValue::fromYear(2019);
    o.shareNumerator = numerator;
    o.shareDenominator = denominator;
    o.objectCost = roubles(cost);
    o.mortgageInterest = roubles(interest);
    return o;
}

ConstructionObjects listOf(std::initializer_list<HousingObject> objects) {
    ConstructionObjects list;
    for (const auto& o : objects)
        list.add(o);
    return list;
}

// Fills the object dialog with a flat bought under a sale contract.
void enterFlat(QDialog& d, const QDate& registered, const QString& cost, const QString& interest = {}) {
    kv::test::child<QComboBox>(&d, "cbObjectKind")->setCurrentIndex(1);
    kv::test::child<QComboBox>(&d, "cbTaxpayerSign")->setCurrentIndex(0);
    kv::test::child<QComboBox>(&d, "cbNumberKind")->setCurrentIndex(0);
    kv::test::retype(&d, "edObjectNumber", QStringLiteral("77:01:0001001:1001"));
    kv::test::child<kv::DateEdit>(&d, "deRightDate")->setDate(registered);
    if (kv::test::child<QWidget>(&d, "edObjectCost")->isEnabled())
        kv::test::retype(&d, "edObjectCost", cost);
    if (!interest.isEmpty())
        kv::test::retype(&d, "edInterest", interest);
    kv::test::clickButton(&d, "bnOk");
}

QStringList kindItems(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

class PropertyTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void totals_data() {
        QTest::addColumn<ConstructionObjects>("objects");
        QTest::addColumn<Money>("cost");
        QTest::addColumn<Money>("interest");

        QTest::newRow("none") << ConstructionObjects{} << Money{} << Money{};
        QTest::newRow("before 2008 the limit is a million, times the share")
            << listOf({flat(2005, 1500000, 0, 1, 2)}) << roubles(500000) << Money{};
        QTest::newRow("two million from 2008")
            << listOf({flat(2015, 3000000, 250000)}) << roubles(2000000) << roubles(250000);
        QTest::newRow("a third of the limit, to the kopeck")
            << listOf({flat(2010, 3000000, 0, 1, 3)}) << Money::fromRaw(6666666700) << Money{};
        QTest::newRow("under the limit stays")
            << listOf({flat(2019, 1500000)}) << roubles(1500000) << Money{};
        QTest::newRow("several objects share two million")
            << listOf({flat(2016, 1200000, 10), flat(2018, 1100000, 20)}) << roubles(2000000) << roubles(30);
    }

    void totals() {
        QFETCH(ConstructionObjects, objects);
        QFETCH(Money, cost);
        QFETCH(Money, interest);
        QCOMPARE(propertyTotals(objects), (PropertyTotals{cost, interest}));
    }

    void contractDecidesKindsAndDates() {
        ScreenTestHost host;
        HousingObjectDialog dialog(host.script, HousingObject{}, setupForNewObject({}), nullptr);
        auto* kind = kv::test::child<QComboBox>(&dialog, "cbObjectKind");
        auto* land = kv::test::child<kv::DateEdit>(&dialog, "deLandDate");
        auto* right = kv::test::child<kv::DateEdit>(&dialog, "deRightDate");
        auto* transfer = kv::test::child<kv::DateEdit>(&dialog, "deTransferDate");
        auto* house = kv::test::child<QComboBox>(&dialog, "cbHouseMethod");

        QVERIFY(kv::test::child<QRadioButton>(&dialog, "rbSale")->isChecked());
        QCOMPARE(kind->count(), 8);
        QCOMPARE(kind->itemText(3), QStringLiteral("Доля (доли) в жилом доме, квартире, комнате"));
        QVERIFY(!transfer->isEnabled());
        QCOMPARE(transfer->date(), QDate(2019, 1, 1));

        kind->setCurrentIndex(0); // a house asks how it was acquired
        QVERIFY(house->isEnabled());
        house->setCurrentIndex(1);
        kind->setCurrentIndex(5); // land has its own registration date
        QVERIFY(land->isEnabled());
        QVERIFY(!house->isEnabled());
        QCOMPARE(house->currentIndex(), -1);

        kv::test::clickButton(&dialog, "rbInvest");
        QCOMPARE(kindItems(kind),
                 (QStringList{"Жилой дом", "Квартира", "Комната", "Доля (доли) в доме, квартире, комнате"}));
        QCOMPARE(kind->currentIndex(), -1); // land cannot be bought by investment
        QVERIFY(!right->isEnabled());
        QVERIFY(!land->isEnabled());
        QCOMPARE(right->date(), QDate(2019, 1, 1));
        QVERIFY(transfer->isEnabled());

        kind->setCurrentIndex(1);
        kv::test::clickButton(&dialog, "rbSale");
        QCOMPARE(kind->currentIndex(), 1);
        QCOMPARE(kind->count(), 8);
        QVERIFY(!land->isEnabled());
    }

    void numberKindShareAndPensioner() {
        ScreenTestHost host;
        HousingObjectDialog dialog(host.script, HousingObject{}, setupForNewObject({}), nullptr);
        auto* numberKind = kv::test::child<QComboBox>(&dialog, "cbNumberKind");
        auto* number = kv::test::child<QWidget>(&dialog, "edObjectNumber");
        auto* address = kv::test::child<QWidget>(&dialog, "edObjectAddress");
        QVERIFY(!number->isEnabled() && !address->isEnabled());
        numberKind->setCurrentIndex(3); // "Номер отсутствует"
        QVERIFY(!number->isEnabled() && address->isEnabled());
        numberKind->setCurrentIndex(0);
        QVERIFY(number->isEnabled() && address->isEnabled());

        auto* right = kv::test::child<kv::DateEdit>(&dialog, "deRightDate");
        right->setDate(QDate(2010, 3, 1));
        QVERIFY(kv::test::child<QWidget>(&dialog, "edShareNum")->isEnabled());
        kv::test::retype(&dialog, "edShareDen", QStringLiteral("2"));
        right->setDate(QDate(2015, 3, 1));
        QVERIFY(!kv::test::child<QWidget>(&dialog, "edShareNum")->isEnabled());
        QCOMPARE(kv::test::textOf(&dialog, "edShareDen"), QStringLiteral("1"));

        // A date after the last one allowed is kept and reported until a pensioner may use it.
        right->setDate(QDate(2021, 5, 1));
        QCOMPARE(right->date(), QDate(2021, 5, 1));
        QCOMPARE(right->problem(), QStringLiteral("Дата не может быть позже 31.12.2019"));
        kv::test::child<QCheckBox>(&dialog, "chbPensioner")->click();
        QCOMPARE(right->problem(), QString());
        kv::test::child<QCheckBox>(&dialog, "chbPensioner")->click();
        QCOMPARE(right->date(), QDate(2021, 5, 1));
        QCOMPARE(right->problem(), QStringLiteral("Дата не может быть позже 31.12.2019"));
    }

    void furtherObjectsStartIn2014() {
        ScreenTestHost host;
        const ConstructionObjects one = listOf({flat(2016, 1000000)});
        HousingObjectDialog dialog(host.script, HousingObject{}, setupForNewObject(one), nullptr);
        // An earlier date is reported and kept from the object until it is corrected.
        QCOMPARE(kv::test::child<kv::DateEdit>(&dialog, "deRightDate")->problem(),
                 QStringLiteral("Дата не может быть раньше 01.01.2014"));
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        dialog.setModal(false);
        dialog.show();
        enterFlat(dialog, QDate(2010, 1, 1), QStringLiteral("1000000"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(host.script.textOf(QStringLiteral("TfmCheckError")),
                 QStringLiteral("Дата регистрации права собственности на жилой дом, квартиру, комнату: "
                                "Дата не может быть раньше 01.01.2014"));
        enterFlat(dialog, QDate(2014, 3, 1), QStringLiteral("1000000"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(toQDate(dialog.object().rightRegistrationDate), QDate(2014, 3, 1));
        KV_VERIFY_ASKER(host.script);
    }

    void objectChecks_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("sign");
        QTest::addColumn<int>("numberKind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("nothing chosen, fixed at once")
            << 0 << 0 << 0 << "" << QStringList{"Исправить"} << QStringList{"Не введено наименование объекта"}
            << false;
        QTest::newRow("a house asks how it was acquired")
            << 1 << 1 << 1 << "77:01" << QStringList{"Исправить"}
            << QStringList{"Не введен способ приобретения дома"} << false;
        QTest::newRow("a cadastral number is required") << 2 << 1 << 1 << "" << QStringList{"Исправить"}
                                                        << QStringList{"Не введен номер объекта"} << false;
        QTest::newRow("no number: the location is required")
            << 2 << 1 << 4 << "" << QStringList{"Исправить"}
            << QStringList{"Не указано место нахождения объекта"} << false;
        QTest::newRow("complete") << 2 << 1 << 1 << "77:01" << QStringList{} << QStringList{} << true;
    }

    void objectChecks() {
        QFETCH(int, kind);
        QFETCH(int, sign);
        QFETCH(int, numberKind);
        QFETCH(QString, number);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, accepted);

        ScreenTestHost host;
        HousingObjectDialog dialog(host.script, HousingObject{}, setupForNewObject({}), nullptr);
        kv::test::child<QComboBox>(&dialog, "cbObjectKind")->setCurrentIndex(kind - 1);
        kv::test::child<QComboBox>(&dialog, "cbTaxpayerSign")->setCurrentIndex(sign - 1);
        kv::test::child<QComboBox>(&dialog, "cbNumberKind")->setCurrentIndex(numberKind - 1);
        if (!number.isEmpty())
            kv::test::retype(&dialog, "edObjectNumber", number);
        for (const QString& answer : answers)
            host.script.expect(QStringLiteral("TfmCheckError"), answer);
        kv::test::clickButton(&dialog, "bnOk");

        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QStringList asked;
        for (const Question& q : host.script.questions()) {
            asked.append(q.text);
            QCOMPARE(q.title, QStringLiteral("Проверка данных объекта"));
        }
        QCOMPARE(asked, messages);
        KV_VERIFY_ASKER(host.script);
        if (accepted) {
            const HousingObject& o = dialog.object();
            QCOMPARE(o.objectKind, kind);
            QCOMPARE(o.numberKind, numberKind);
            QCOMPARE(o.objectNumber, Cp1251Text::fromBytes(number.toStdString()));
            QCOMPARE(o.shareNumerator, 1);
            QCOMPARE(o.shareDenominator, 1);
        }
    }

    // A flat bought before 2014 without interest leaves room for one more object,
    // which may carry the interest only; then no further object may be added.
    void objectsOfAPurchaseBefore2014() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        PropertyDeductionScreen screen(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(&screen, "lvObjects")->isEnabled());
        kv::test::child<QCheckBox>(&screen, "chbConstructionDeduct")->click();
        QVERIFY(!kv::test::child<QWidget>(&screen, "gbCalc")->isEnabled());

        kv::test::whenModal(QStringLiteral("TfmInputConstruction"),
                            [](QDialog& d) { enterFlat(d, QDate(2010, 4, 1), QStringLiteral("1500000")); });
        kv::test::clickButton(&screen, "bnAddObject");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&screen, "lvObjects")),
                 QStringList{"Квартира 77:01:0001001:1001"});
        QVERIFY(kv::test::child<QWidget>(&screen, "gbCalc")->isEnabled());
        QCOMPARE(kv::test::textOf(&screen, "edTotalCost"), QStringLiteral("1 500 000,00"));
        QVERIFY(kv::test::child<QWidget>(&screen, "bnAddObject")->isEnabled());

        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog& d) {
            QVERIFY(!kv::test::child<QWidget>(&d, "edObjectCost")->isEnabled());
            QVERIFY(kv::test::child<QWidget>(&d, "edInterest")->isEnabled());
            enterFlat(d, QDate(2014, 1, 1), QString(), QStringLiteral("300000"));
        });
        kv::test::clickButton(&screen, "bnAddObject");
        KV_VERIFY_MODALS();
        QCOMPARE(host.document->propertyDeductions.objects.count(), 2);
        QCOMPARE(kv::test::textOf(&screen, "edTotalInterest"), QStringLiteral("300 000,00"));
        QVERIFY(!kv::test::child<QWidget>(&screen, "bnAddObject")->isEnabled());
        QVERIFY(kv::test::child<QWidget>(&screen, "edPriorInterest")->isEnabled());

        // Interest entered on one object closes it on the other.
        auto* list = kv::test::child<QTreeWidget>(&screen, "lvObjects");
        list->setCurrentItem(list->topLevelItem(0));
        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog& d) {
            QVERIFY(!kv::test::child<QWidget>(&d, "edInterest")->isEnabled());
            kv::test::clickButton(&d, "bnCancel");
        });
        kv::test::clickButton(&screen, "bnEditObject");
        KV_VERIFY_MODALS();

        kv::test::clickButton(&screen, "bnDeleteObject");
        QCOMPARE(host.document->propertyDeductions.objects.count(), 1);
        QCOMPARE(host.document->propertyDeductions.objects.get(0).mortgageInterest, roubles(300000));
        QVERIFY(kv::test::child<QWidget>(&screen, "bnAddObject")->isEnabled());

        host.script.expect(QStringLiteral("dropDeductions"), QStringLiteral("Да"));
        kv::test::child<QCheckBox>(&screen, "chbConstructionDeduct")->click();
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->propertyDeductions.objects.count(), 0);
        QCOMPARE(kv::test::child<QTreeWidget>(&screen, "lvObjects")->topLevelItemCount(), 0);
    }

    // Earlier years' deductions are asked for only where they can exist.
    void priorYearsFields() {
        ScreenTestHost host;
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        PropertyDeduction& d = host.document->propertyDeductions;
        d.granted = 1;
        d.priorYearsDeduction = roubles(100000);
        d.objects.add(flat(2019, 2500000));
        PropertyDeductionScreen screen(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(&screen, "edPriorYears")->isEnabled());
        QCOMPARE(kv::test::textOf(&screen, "edPriorYears"), QString());
        QCOMPARE(kv::test::textOf(&screen, "edTotalCost"), QStringLiteral("2 000 000,00"));

        auto* list = kv::test::child<QTreeWidget>(&screen, "lvObjects");
        QCOMPARE(kv::test::rowsOf(list), QStringList{"Квартира 77:01:1"});
        list->setCurrentItem(list->topLevelItem(0));
        kv::test::whenModal(QStringLiteral("TfmInputConstruction"), [](QDialog& dialog) {
            kv::test::child<QCheckBox>(&dialog, "chbPensioner")->click();
            kv::test::clickButton(&dialog, "bnOk");
        });
        kv::test::clickButton(&screen, "bnEditObject");
        KV_VERIFY_MODALS();
        QVERIFY(kv::test::child<QWidget>(&screen, "edPriorYears")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&screen, "edPriorInterest")->isEnabled());
        kv::test::typeText(kv::test::child<QLineEdit>(&screen, "edPriorYears"), QStringLiteral("50000.5"));
        screen.saveData();
        QCOMPARE(d.priorYearsDeduction, Money::fromRaw(500005000));
        QCOMPARE(d.objects.get(0).isPensioner, std::uint8_t{1});
        QVERIFY(host.changes > 0);
    }
};

KV_QTEST_MAIN(PropertyTest)

#include "property_test.moc"
