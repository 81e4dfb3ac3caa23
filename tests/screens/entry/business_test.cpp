// The business-income screen with its activity dialog and the OKVED picker: the six
// lists, the search and the import of Rosstat's classifier through the widgets; the
// norm, the way of expenses, the return-wide figures, the checks on leaving and
// a return opened and left unchanged.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "checks/RecordChecks.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "reference/Okved.h"
#include "reference/OkvedImport.h"
#include "screens/BusinessScreen.h"
#include "screens/pickers/OkvedPicker.h"
#include "support/TestValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kv;
using kv::test::amount;
using kv::test::ScreenTestHost;

namespace {

OkvedClassifier smallClassifier() {
    const char* const xml =
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?><Sp_OKVED2>"
        "<Record><GRUP>1</GRUP><Name>ТОРГОВЛЯ</Name><Kod>G</Kod></Record>"
        "<Record><GRUP>2</GRUP><Name>Торговля розничная</Name><Kod>G47</Kod><OKVED>47</OKVED></Record>"
        "<Record><GRUP>3</GRUP><Name>Торговля в неспециализированных магазинах</Name><Kod>G47.1</Kod>"
        "<OKVED>47.1</OKVED></Record>"
        "<Record><GRUP>4</GRUP><Name>Торговля продуктами</Name><Kod>G47.11</Kod><OKVED>47.11</OKVED></Record>"
        "<Record><GRUP>3</GRUP><Name>Торговля по почте</Name><Kod>G47.9</Kod><OKVED>47.9</OKVED></Record>"
        "<Record><GRUP>4</GRUP><Name>Торговля через "
        "интернет</Name><Kod>G47.91</Kod><OKVED>47.91</OKVED></Record>"
        "<Record><GRUP>1</GRUP><Name>СВЯЗЬ</Name><Kod>J</Kod></Record>"
        "<Record><GRUP>2</GRUP><Name>Программы</Name><Kod>J62</Kod><OKVED>62</OKVED></Record>"
        "<Record><GRUP>3</GRUP><Name>Разработка ПО</Name><Kod>J62.0</Kod><OKVED>62.0</OKVED></Record>"
        "<Record><GRUP>4</GRUP><Name>Разработка программ</Name><Kod>J62.01</Kod><OKVED>62.01</OKVED></Record>"
        "</Sp_OKVED2>";
    return *OkvedClassifier::fromXml(Cp1251Text::fromUtf8(xml).bytes());
}

// The items a level list offers, as the person sees them.
QStringList itemsOf(QWidget* root, int level) {
    auto* combo = kv::test::child<QComboBox>(root, qPrintable(QStringLiteral("cbLevel%1").arg(level)));
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

// Picks an item of a level list as a person does.
void choose(QWidget* root, int level, const QString& item) {
    auto* combo = kv::test::child<QComboBox>(root, qPrintable(QStringLiteral("cbLevel%1").arg(level)));
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

BusinessActivity activity(const char* kind, const char* okved, bool documented) {
    BusinessActivity a;
    a.activityKind = Cp1251Text::fromBytes(std::string_view(kind));
    a.okvedCode = Cp1251Text::fromBytes(std::string_view(okved));
    a.hasDocumentedExpenses = documented ? 1 : 0;
    return a;
}

// An entrepreneur with documented expenses, a lawyer a file gave a norm, the return-wide figures.
void fillReturn(Declaration& d) {
    d.setIncomeFlags(Declaration::kBusinessIncomes);
    BusinessActivity shop = activity("1", "47.91", true);
    shop.incomeAmount = amount("750000");
    shop.totalExpenses = amount("400000");
    shop.materialExpenses = amount("250000");
    shop.depreciation = amount("30000");
    shop.labourExpenses = amount("100000");
    shop.otherExpenses = amount("20000");
    d.businessIncomes.add(shop);
    BusinessActivity lawyer = activity("3", "..", false);
    lawyer.incomeAmount = amount("200000.1234");
    lawyer.standardExpenses = amount("40000");
    d.businessIncomes.add(lawyer);
    d.actualAdvancePayments = amount("12000.50");
    d.adjustedBase = amount("1000.1234");
    d.adjustedTax = amount("130");
    d.patentPayments = amount("5000");
    d.tradeFee = amount("300");
    d.isFarmHousehold = 1;
    d.farmFoundingDate = *DateValue::fromYmd(2012, 3, 15);
}

} // namespace

class BusinessTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void pickerNarrowsTheSixListsAndChecksTheCodeLength() {
        ScreenTestHost host;
        const OkvedClassifier classifier = smallClassifier();
        OkvedPicker picker(host.script, &classifier, "/nonexistent/Sp_OKVED2.xml", nullptr);
        QCOMPARE(picker.objectName(), QStringLiteral("TFormOKVED"));
        QCOMPARE(picker.windowTitle(), QStringLiteral("Код по ОКВЭД"));
        QCOMPARE(itemsOf(&picker, 1), (QStringList{"нет", "ТОРГОВЛЯ", "СВЯЗЬ"}));
        for (int level = 2; level <= 6; ++level)
            QCOMPARE(itemsOf(&picker, level), QStringList{"нет"});
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("нет"));

        choose(&picker, 1, QStringLiteral("ТОРГОВЛЯ"));
        QCOMPARE(itemsOf(&picker, 2), (QStringList{"нет", "Торговля розничная"}));
        QCOMPARE(itemsOf(&picker, 4), (QStringList{"нет", "Торговля продуктами", "Торговля через интернет"}));
        choose(&picker, 2, QStringLiteral("Торговля розничная"));
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("47"));
        choose(&picker, 3, QStringLiteral("Торговля по почте"));
        QCOMPARE(itemsOf(&picker, 4), (QStringList{"нет", "Торговля через интернет"}));
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("47.9"));
        choose(&picker, 2, QStringLiteral("нет"));
        for (int level = 3; level <= 6; ++level)
            QCOMPARE(itemsOf(&picker, level), QStringList{"нет"});
        QCOMPARE(picker.chosenCode(), std::optional<Cp1251Text>(Cp1251Text{"47.9"}));

        // A class alone is too short: "Исправить" keeps the picker open, a skip closes it.
        choose(&picker, 1, QStringLiteral("СВЯЗЬ"));
        choose(&picker, 2, QStringLiteral("Программы"));
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        kv::test::clickButton(&picker, "bnOk");
        QVERIFY(picker.result() != QDialog::Accepted);
        const Question& q = host.script.questions().last();
        QCOMPARE(q.title, QStringLiteral("Проверка: ОКВЭД"));
        QCOMPARE(q.text, QStringLiteral("Длина кода ОКВЭД должна быть не меньше 4 знаков вклячая точку"));
        QVERIFY(!q.answerEnabled(2));
        choose(&picker, 3, QStringLiteral("Разработка ПО"));
        kv::test::clickButton(&picker, "bnOk");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.chosenCode(), std::optional<Cp1251Text>(Cp1251Text{"62.0"}));
        KV_VERIFY_ASKER(host.script);
    }

    // A file that would leave far fewer entries than the directory holds (a download cut
    // short) replaces it only after "Да"; "Нет", the default, keeps the directory.
    void pickerAsksBeforeACutFileShrinksTheDirectory() {
        ScreenTestHost host;
        QTemporaryDir folder;
        const QString directory = folder.filePath(QStringLiteral("Sp_OKVED2.xml"));
        std::string whole = Cp1251Text::fromUtf8("\"J\";\" \";\"СВЯЗЬ\"\r\n").bytes();
        for (int i = 10; i < 40; ++i)
            whole += "\"J\";\"" + std::to_string(i) + "\";\"" + Cp1251Text::fromUtf8("Вид ").bytes() +
                     std::to_string(i) + "\"\r\n";
        const QString wholeFile = folder.filePath(QStringLiteral("whole.csv"));
        const QString cutFile = folder.filePath(QStringLiteral("cut.csv"));
        for (const auto& [path, bytes] :
             {std::pair{wholeFile, whole}, std::pair{cutFile, whole.substr(0, whole.find("\"J\";\"15\""))}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(bytes));
        }
        importOkved(QFile::encodeName(wholeFile).toStdString(), QFile::encodeName(directory).toStdString());
        QFile original(directory);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        OkvedPicker picker(host.script, nullptr, QFile::encodeName(directory).toStdString(), nullptr);

        host.script.expectFile(QStringLiteral("okvedCsv"), cutFile);
        host.script.expect(QStringLiteral("okvedShrink"), QStringLiteral("Нет"));
        kv::test::clickButton(&picker, "bnImport");
        const Question& asked = host.script.questions().constLast();
        QCOMPARE(asked.answers.at(asked.defaultIndex), QStringLiteral("Нет"));
        QVERIFY2(asked.text.startsWith(
                     QStringLiteral("В справочнике сейчас позиций: 31, в импортируемом файле: ")),
                 qPrintable(asked.text));
        QFile kept(directory);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);

        host.script.expectFile(QStringLiteral("okvedCsv"), cutFile);
        host.script.expect(QStringLiteral("okvedShrink"), QStringLiteral("Да"));
        host.script.expect(QStringLiteral("okvedImported"), QStringLiteral("OK"));
        kv::test::clickButton(&picker, "bnImport");
        KV_VERIFY_ASKER(host.script);
        QFile replaced(directory);
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        const auto now = OkvedClassifier::fromXml(replaced.readAll().toStdString());
        QVERIFY(now.has_value());
        QVERIFY(now->entries.size() + 10 < 31);
    }

    void pickerSearchesAndImportsRosstatsFile() {
        ScreenTestHost host;
        QTemporaryDir folder;
        const QString directory = folder.filePath(QStringLiteral("Sp_OKVED2.xml"));
        OkvedPicker picker(host.script, nullptr, QFile::encodeName(directory).toStdString(), nullptr);
        QCOMPARE(itemsOf(&picker, 1), QStringList{"нет"}); // no directory beside the program

        // A file with a bad line changes nothing and names the line.
        const QString bad = folder.filePath(QStringLiteral("bad.csv"));
        const QString good = folder.filePath(QStringLiteral("okved.csv"));
        const auto write = [](const QString& path, const char* utf8) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(Cp1251Text::fromUtf8(utf8).bytes()));
        };
        write(bad, "\"J\";\" \";\"СВЯЗЬ\"\r\n\"J\";\"62.x\";\"Плохой код\"\r\n");
        write(good, "\"J\";\" \";\"ДЕЯТЕЛЬНОСТЬ В ОБЛАСТИ ИНФОРМАЦИИ И СВЯЗИ\"\r\n"
                    "\"J\";\"62\";\"Разработка компьютерного программного обеспечения\"\r\n"
                    "\"J\";\"62.01\";\"Разработка компьютерного программного обеспечения\"\r\n"
                    "\"J\";\"62.0\";\"Разработка ПО, консультационные услуги\"\r\n"
                    "\"J\";\"62.02\";\"Консультативная деятельность по ПО\"\r\n");
        host.script.expectFile(QStringLiteral("okvedCsv"), bad);
        host.script.expect(QStringLiteral("okvedImportFailed"), QStringLiteral("OK"));
        kv::test::clickButton(&picker, "bnImport");
        QVERIFY(host.script.textOf(QStringLiteral("okvedImportFailed"))
                    .contains(QStringLiteral("Строка 2: неверный код \"62.x\"")));
        QVERIFY(!QFile::exists(directory));

        host.script.expectFile(QStringLiteral("okvedCsv"), good);
        host.script.expect(QStringLiteral("okvedImported"), QStringLiteral("OK"));
        kv::test::clickButton(&picker, "bnImport");
        QVERIFY(QFile::exists(directory));
        QCOMPARE(itemsOf(&picker, 1), (QStringList{"нет", "ДЕЯТЕЛЬНОСТЬ В ОБЛАСТИ ИНФОРМАЦИИ И СВЯЗИ"}));

        // Words of the name across levels; the found entry fills the lists above it.
        kv::test::retype(&picker, "edSearch", QStringLiteral("консульт"));
        kv::test::clickButton(&picker, "bnSearch");
        auto* found = kv::test::child<QTreeWidget>(&picker, "lvFound");
        QCOMPARE(kv::test::rowsOf(found), (QStringList{"62.0|Разработка ПО, консультационные услуги",
                                                       "62.02|Консультативная деятельность по ПО"}));
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("62.0"));
        found->setCurrentItem(found->topLevelItem(1));
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("62.02"));
        QCOMPARE(kv::test::child<QComboBox>(&picker, "cbLevel3")->currentText(),
                 QStringLiteral("Разработка ПО, консультационные услуги"));
        QCOMPARE(kv::test::child<QComboBox>(&picker, "cbLevel4")->currentText(),
                 QStringLiteral("Консультативная деятельность по ПО"));
        kv::test::retype(&picker, "edSearch", QStringLiteral("62.01"));
        kv::test::clickButton(&picker, "bnSearch");
        QCOMPARE(kv::test::rowsOf(found),
                 QStringList{"62.01|Разработка компьютерного программного обеспечения"});
        // The search selects what it found: "Да" now takes that code.
        QCOMPARE(found->selectedItems().size(), 1);
        QCOMPARE(kv::test::textOf(&picker, "edOkvedCode"), QStringLiteral("62.01"));
        KV_VERIFY_ASKER(host.script);
    }

    void addingAnEntrepreneurWithTheNormAndDocumentedExpenses() {
        ScreenTestHost host;
        host.loaded.okved = smallClassifier();
        host.document->setIncomeFlags(Declaration::kBusinessIncomes);
        BusinessScreen screen(nullptr, host);
        QVERIFY(!kv::test::child<QWidget>(&screen, "edIncome")->isEnabled());
        QCOMPARE(kv::test::textOf(&screen, "edAdvancePayments"), QStringLiteral("0"));

        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            QVERIFY(!kv::test::child<QWidget>(&d, "bnOkvedCode")->isEnabled());
            kv::test::child<QRadioButton>(&d, "rbKind1")->click();
            QVERIFY(kv::test::child<QWidget>(&d, "bnOkvedCode")->isEnabled());
            kv::test::whenModal(QStringLiteral("TFormOKVED"), [](QDialog& picker) {
                kv::test::retype(&picker, "edSearch", QStringLiteral("интернет"));
                kv::test::clickButton(&picker, "bnSearch");
                auto* found = kv::test::child<QTreeWidget>(&picker, "lvFound");
                found->setCurrentItem(found->topLevelItem(0));
                kv::test::clickButton(&picker, "bnOk");
            });
            kv::test::clickButton(&d, "bnOkvedCode");
            QCOMPARE(kv::test::textOf(&d, "edOkvedCode"), QStringLiteral("47.91"));
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddActivity");
        KV_VERIFY_MODALS();
        auto* list = kv::test::child<QTreeWidget>(&screen, "lvActivities");
        QCOMPARE(kv::test::rowsOf(list), QStringList{"47.91"});
        QVERIFY(kv::test::child<QWidget>(&screen, "edIncome")->isEnabled());
        auto* box = kv::test::child<QCheckBox>(&screen, "chbDocumentedExpenses");
        QVERIFY(box->isVisibleTo(&screen));
        QVERIFY(!box->isChecked());

        kv::test::retype(&screen, "edIncome", QStringLiteral("123456,78"));
        QCOMPARE(kv::test::textOf(&screen, "edStandardExpenses"), QStringLiteral("24 691,36"));
        kv::test::retype(&screen, "edIncome", QString());
        QCOMPARE(kv::test::textOf(&screen, "edStandardExpenses"), QStringLiteral("0,00"));
        kv::test::retype(&screen, "edIncome", QStringLiteral("1500000"));
        box->click();
        QVERIFY(kv::test::child<QWidget>(&screen, "edMaterialExpenses")->isVisibleTo(&screen));
        QVERIFY(!kv::test::child<QWidget>(&screen, "edStandardExpenses")->isVisibleTo(&screen));
        for (auto [name, value] :
             {std::pair{"edTotalExpenses", "600000"}, std::pair{"edMaterialExpenses", "300000"},
              std::pair{"edDepreciation", "100000"}, std::pair{"edLabourExpenses", "150000"},
              std::pair{"edOtherExpenses", "50000"}, std::pair{"edAdvancePayments", "50000"}})
            kv::test::retype(&screen, name, QString::fromLatin1(value));
        auto* farm = kv::test::child<QCheckBox>(&screen, "chbFarm");
        QVERIFY(!kv::test::child<QWidget>(&screen, "edFarmYear")->isEnabled());
        farm->click();
        QVERIFY(kv::test::child<QWidget>(&screen, "edFarmYear")->isEnabled());
        kv::test::retype(&screen, "edFarmYear", QString());
        screen.saveData();
        const BusinessActivity& a = host.document->businessIncomes.get(0);
        QCOMPARE(a.hasDocumentedExpenses, std::uint8_t{1});
        QCOMPARE(a.incomeAmount, amount("1500000"));
        QCOMPARE(a.totalExpenses, amount("600000"));
        QCOMPARE(documentedExpenseParts(a), amount("600000"));
        QCOMPARE(host.document->actualAdvancePayments, amount("50000"));
        QCOMPARE(host.document->farmFoundingDate, Declaration::kDefaultFarmFoundingDate);
        QVERIFY(host.changes > 0);

        // On an empty field the year's up-down starts from 2000, the year the empty field
        // stands for, and it keeps within 1997 to 2019.
        kv::test::clickButton(&screen, "bnFarmYearUp");
        QCOMPARE(kv::test::textOf(&screen, "edFarmYear"), QStringLiteral("2000"));
        kv::test::retype(&screen, "edFarmYear", QString());
        kv::test::clickButton(&screen, "bnFarmYearDown");
        QCOMPARE(kv::test::textOf(&screen, "edFarmYear"), QStringLiteral("2000"));
        kv::test::retype(&screen, "edFarmYear", QStringLiteral("2019"));
        kv::test::clickButton(&screen, "bnFarmYearUp");
        QCOMPARE(kv::test::textOf(&screen, "edFarmYear"), QStringLiteral("2019"));
        kv::test::clickButton(&screen, "bnFarmYearDown");
        screen.saveData();
        QCOMPARE(host.document->isFarmHousehold, std::uint8_t{1});
        QCOMPARE(host.document->farmFoundingDate, *DateValue::fromYmd(2018, 1, 1));
        KV_VERIFY_ASKER(host.script);
    }

    // Fixing only the code keeps the documented figures; moving to a lawyer hides the box.
    void editingTheKindOrTheCode() {
        ScreenTestHost host;
        host.loaded.okved = smallClassifier();
        fillReturn(*host.document);
        BusinessScreen screen(nullptr, host);
        screen.selectFirstEntry();
        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            QVERIFY(kv::test::child<QRadioButton>(&d, "rbKind1")->isChecked());
            kv::test::whenModal(QStringLiteral("TFormOKVED"), [](QDialog& picker) {
                choose(&picker, 1, QStringLiteral("ТОРГОВЛЯ"));
                choose(&picker, 2, QStringLiteral("Торговля розничная"));
                choose(&picker, 3, QStringLiteral("Торговля в неспециализированных магазинах"));
                choose(&picker, 4, QStringLiteral("Торговля продуктами"));
                kv::test::clickButton(&picker, "bnOk");
            });
            kv::test::clickButton(&d, "bnOkvedCode");
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnEditActivity");
        KV_VERIFY_MODALS();
        screen.saveData();
        const BusinessActivity& shop = host.document->businessIncomes.get(0);
        QCOMPARE(shop.okvedCode, Cp1251Text{"47.11"});
        QCOMPARE(shop.hasDocumentedExpenses, std::uint8_t{1});
        QCOMPARE(shop.totalExpenses, amount("400000"));
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&screen, "lvActivities")),
                 (QStringList{"47.11", "Адвокатская деятельность"}));

        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            kv::test::child<QRadioButton>(&d, "rbKind4")->click();
            QVERIFY(!kv::test::child<QWidget>(&d, "bnOkvedCode")->isEnabled());
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnEditActivity");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::rowsOf(kv::test::child<QTreeWidget>(&screen, "lvActivities")).first(),
                 QStringLiteral("Деятельность арбитражного управляющего")); // as a loaded row reads
        QVERIFY(!kv::test::child<QWidget>(&screen, "chbDocumentedExpenses")->isVisibleTo(&screen));

        // Entrepreneurship without a code is not taken.
        kv::test::whenModal(QStringLiteral("TfmInputBusinessIncome"), [](QDialog& d) {
            kv::test::child<QRadioButton>(&d, "rbKind1")->click();
            kv::test::clickButton(&d, "bnOk");
        });
        kv::test::clickButton(&screen, "bnAddActivity");
        KV_VERIFY_MODALS();
        QCOMPARE(host.document->businessIncomes.count(), 2);
    }

    void openedAndLeftUnchanged() {
        ScreenTestHost host;
        fillReturn(*host.document);
        Declaration before(kv::test::testClock());
        fillReturn(before);
        {
            BusinessScreen screen(nullptr, host);
            QCOMPARE(kv::test::textOf(&screen, "edAdvancePayments"), QStringLiteral("12000,5"));
            QCOMPARE(kv::test::textOf(&screen, "edFarmYear"), QStringLiteral("2012"));
            QVERIFY(kv::test::child<QWidget>(&screen, "edFarmYear")->isEnabled());
            screen.selectFirstEntry();
            QCOMPARE(kv::test::textOf(&screen, "edMaterialExpenses"), QStringLiteral("250000"));
            screen.setFocusToElement(2);
            QCOMPARE(kv::test::textOf(&screen, "edIncome"), QStringLiteral("200000,1234"));
            QVERIFY(!kv::test::child<QWidget>(&screen, "chbDocumentedExpenses")->isVisibleTo(&screen));
            screen.setFocusToElement(1);
            screen.saveData();
            QCOMPARE(screen.checkData(), std::uint16_t{0});
        }
        QCOMPARE(host.changes, 0);
        QVERIFY(host.document->businessIncomes.get(0) == before.businessIncomes.get(0));
        QVERIFY(host.document->businessIncomes.get(1) == before.businessIncomes.get(1));
        QCOMPARE(host.document->actualAdvancePayments, before.actualAdvancePayments);
        QCOMPARE(host.document->adjustedBase, before.adjustedBase);
        QCOMPARE(host.document->farmFoundingDate, before.farmFoundingDate);
        KV_VERIFY_ASKER(host.script);
    }

    void deletingTheLastActivityLeavesNoFigures() {
        ScreenTestHost host;
        fillReturn(*host.document);
        BusinessScreen screen(nullptr, host);
        screen.selectFirstEntry();
        // An activity with amounts goes only after "Да", by button or by Delete.
        auto* list = kv::test::child<QTreeWidget>(&screen, "lvActivities");
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Нет"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(host.document->businessIncomes.count(), 2);
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(kv::test::rowsOf(list), QStringList{"Адвокатская деятельность"});
        QCOMPARE(kv::test::textOf(&screen, "edIncome"), QStringLiteral("200000,1234"));
        host.script.expect(QStringLiteral("deleteSource"), QStringLiteral("Да"));
        kv::test::clickButton(&screen, "bnDeleteActivity");
        KV_VERIFY_ASKER(host.script);
        QCOMPARE(host.document->businessIncomes.count(), 0);
        QVERIFY(!kv::test::child<QWidget>(&screen, "edIncome")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&screen, "edTradeFee")->isEnabled());
        QCOMPARE(kv::test::textOf(&screen, "edTradeFee"), QStringLiteral("0"));
        screen.saveData();
        const Declaration& d = *host.document;
        for (Money m : {d.actualAdvancePayments, d.adjustedBase, d.adjustedTax, d.patentPayments, d.tradeFee})
            QCOMPARE(m, Money{});
        QCOMPARE(d.isFarmHousehold, std::uint8_t{0});
    }

    // A return written elsewhere with business figures but no activity: the figures
    // count, so they are shown and can be corrected; looking changes nothing.
    void figuresWithoutAnActivityAreShown() {
        ScreenTestHost host;
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kBusinessIncomes);
        d.patentPayments = amount("20000");
        d.tradeFee = amount("5000");
        const Declaration before = d;
        BusinessScreen screen(nullptr, host);
        QCOMPARE(kv::test::textOf(&screen, "edTradeFee"), QStringLiteral("5000"));
        QCOMPARE(kv::test::textOf(&screen, "edPatentPayments"), QStringLiteral("20000"));
        QVERIFY(kv::test::child<QWidget>(&screen, "edTradeFee")->isEnabled());
        QVERIFY(!kv::test::child<QWidget>(&screen, "edIncome")->isEnabled());
        screen.saveData();
        QVERIFY(d == before);
        kv::test::retype(&screen, "edTradeFee", QStringLiteral("0"));
        screen.saveData();
        QCOMPARE(d.tradeFee, Money{});
        QCOMPARE(d.patentPayments, amount("20000"));
    }

    // The check on leaving: "Исправить" records the activity and the run goes on.
    void checkOnLeavingGoesToTheLastFix() {
        ScreenTestHost host;
        Declaration& d = *host.document;
        d.setIncomeFlags(Declaration::kBusinessIncomes);
        BusinessActivity parts = activity("1", "47.91", true);
        parts.totalExpenses = amount("999");
        parts.materialExpenses = amount("100");
        parts.depreciation = amount("200");
        parts.labourExpenses = amount("300");
        parts.otherExpenses = amount("400");
        d.businessIncomes.add(parts);
        d.businessIncomes.add(activity("5", "..", false));
        BusinessScreen screen(nullptr, host);
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        QCOMPARE(screen.checkData(), std::uint16_t{2});
        QCOMPARE(host.script.questions().at(0).text,
                 QStringLiteral(
                     "Общие расходы (999) не совпадают с суммой расходов материальных, на оплату труда, "
                     "прочих и амортизационных отчислений (1000)"));
        QCOMPARE(
            host.script.questions().at(1).text,
            QStringLiteral("Нельзя одновременно пользоваться и подтвержденными расходами и нормативом 20%."));
        QCOMPARE(host.script.questions().at(1).title,
                 QStringLiteral("Проверка: Доходы от предпринимательской деятельности"));
        screen.setFocusToElement(2);
        QCOMPARE(kv::test::child<QTreeWidget>(&screen, "lvActivities")->currentItem()->text(0),
                 QStringLiteral("Деятельность главы КФХ"));
        KV_VERIFY_ASKER(host.script);
    }
};

KV_QTEST_MAIN(BusinessTest)

#include "business_test.moc"
