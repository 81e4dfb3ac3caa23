// The taxpayer screen: loading and saving the record, the identity checks on
// leaving, the document-kind and country pickers and the series-and-number masks.
#include "EntryTestSupport.h"
#include "ModalAnswers.h"
#include "core/Text.h"
#include "model/Declaration.h"
#include "screens/TaxpayerScreen.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/DocNumberEdit.h"
#include "screens/kit/EntryFields.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace kv;
using kv::test::ScreenTestHost;

Q_DECLARE_METATYPE(kv::DocMask)

namespace {

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

DateValue day(int y, int m, int d) {
    return *DateValue::fromYmd(y, m, d);
}

// A valid twelve-digit INN of a person.
const char* const kValidInn = "123456789047";

void fillPerson(Taxpayer& p) {
    p.surname = cp("Иванов");
    p.firstName = cp("Иван");
    p.patronymic = cp("Иванович");
    p.inn = Cp1251Text::fromBytes(std::string_view(kValidInn));
    p.birthDate = day(1980, 5, 15);
    p.birthPlace = cp("г. Москва");
    p.identityDocCode = 21;
    p.identityDocName = cp("Паспорт гражданина РФ");
    p.identityDocNumber = "45 08 123456";
    p.identityDocDate = day(2008, 6, 1);
    p.identityDocIssuer = cp("ОВД Тверского р-на г. Москвы");
    p.contactPhone = "8 495 1234567";
    p.citizenshipStatus = "1";
}

} // namespace

class PersonTest : public QObject {
    Q_OBJECT

    kv::test::RussianLocale locale_;

private slots:
    void cleanup() { KV_VERIFY_MODALS(); }

    void loadsTheRecordAndSavesItBackUnchanged() {
        ScreenTestHost host;
        fillPerson(host.document->person);
        const Declaration before = *host.document;
        TaxpayerScreen screen(nullptr, host);

        const QList<std::pair<const char*, QString>> shown = {
            {"edSurname", "Иванов"},         {"edName", "Иван"},
            {"edPatronymic", "Иванович"},    {"edInn", kValidInn},
            {"edBirthPlace", "г. Москва"},   {"edDocName", "Паспорт гражданина РФ"},
            {"edDocNumber", "45 08 123456"}, {"edDocIssuer", "ОВД Тверского р-на г. Москвы"},
            {"edPhone", "8 495 1234567"},    {"edCountryCode", "643"},
        };
        for (const auto& [name, text] : shown)
            QCOMPARE(kv::test::textOf(&screen, name), text);
        QCOMPARE(kv::test::child<QLabel>(&screen, "lblCountryName")->text(), QStringLiteral("РОССИЯ"));
        QCOMPARE(kv::test::child<kv::DateEdit>(&screen, "deBirthDate")->date(), QDate(1980, 5, 15));
        QCOMPARE(kv::test::child<kv::DateEdit>(&screen, "deDocDate")->date(), QDate(2008, 6, 1));
        QCOMPARE(kv::test::child<DocNumberEdit>(&screen, "edDocNumber")->mask(), DocMask::DigitPairsAndSix);

        screen.saveData();
        QVERIFY(host.document->person == before.person);
        QCOMPARE(host.changes, 0);
        QCOMPARE(screen.checkData(), std::uint16_t{0});
        KV_VERIFY_ASKER(host.script);
    }

    // A date typed wrong stays on screen, is not stored, and is named on leaving.
    void impossibleDateIsReportedNotStored() {
        ScreenTestHost host;
        fillPerson(host.document->person);
        const Taxpayer before = host.document->person;
        TaxpayerScreen screen(nullptr, host);
        QLineEdit* birth = kv::test::child<kv::DateEdit>(&screen, "deBirthDate")->lineEdit();
        birth->setCursorPosition(0);
        QTest::keyClicks(birth, QStringLiteral("31021981"));
        QCOMPARE(birth->text(), QStringLiteral("31.02.1981"));

        screen.saveData();
        QVERIFY(host.document->person == before);
        host.script.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Исправить"));
        QCOMPARE(screen.checkData(), std::uint16_t{20});
        QCOMPARE(host.script.textOf(QStringLiteral("TfmCheckError")),
                 QStringLiteral("Дата рождения: В феврале 1981 года 28 дней"));
        KV_VERIFY_ASKER(host.script);
    }

    // A date the field cannot read may only be corrected: with "Пропустить" and
    // "Пропустить все" off, closing the message corrects too, and the stored date
    // (01.01.1977 for a new taxpayer) never stands in for what is shown.
    // keys: typed from the start of the field; "^" empties it.
    void unreadableDateIsNeverReplaced_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("problem");
        QTest::newRow("year in two digits") << "12.04.85"
                                            << "12.04.85__"
                                            << "Дата введена не полностью";
        QTest::newRow("impossible day") << "31021981"
                                        << "31.02.1981"
                                        << "В феврале 1981 года 28 дней";
        QTest::newRow("emptied") << "^"
                                 << "__.__.____"
                                 << "Дата не введена";
    }

    void unreadableDateIsNeverReplaced() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QString, problem);
        ScreenTestHost host;
        fillPerson(host.document->person);
        host.document->person.birthDate = day(1977, 1, 1);
        const Taxpayer before = host.document->person;
        TaxpayerScreen screen(nullptr, host);
        QLineEdit* birth = kv::test::child<kv::DateEdit>(&screen, "deBirthDate")->lineEdit();
        birth->setFocus();
        birth->setCursorPosition(0);
        for (QChar key : keys) {
            if (key == QLatin1Char('^')) {
                birth->selectAll();
                QTest::keyClick(birth, Qt::Key_Delete);
            } else {
                QTest::keyClick(birth, key.toLatin1());
            }
        }
        QCOMPARE(birth->text(), shown);

        screen.saveData();
        QVERIFY(host.document->person == before);
        host.script.expectClosed(QStringLiteral("TfmCheckError"));
        QCOMPARE(screen.checkData(), std::uint16_t{20});
        const Question& q = host.script.questions().at(0);
        QCOMPARE(q.text, QStringLiteral("Дата рождения: ") + problem);
        QCOMPARE(q.enabled, (QList<bool>{true, false, false}));
        KV_VERIFY_ASKER(host.script);
    }

    void estimatedReturnAsksOnlyNamesInnAndTelephone() {
        ScreenTestHost host;
        host.document->declarationKind = 2;
        fillPerson(host.document->person);
        const Taxpayer before = host.document->person;
        TaxpayerScreen screen(nullptr, host);
        for (const char* name : {"gbDocument", "gbCitizenship", "edBirthPlace", "deBirthDate"})
            QVERIFY2(kv::test::child<QWidget>(&screen, name)->isHidden(), name);
        QVERIFY(!kv::test::child<QWidget>(&screen, "edInn")->isHidden());
        screen.saveData();
        QVERIFY(host.document->person == before);
    }

    void identityChecks_data() {
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("inn");
        QTest::addColumn<int>("document");
        QTest::addColumn<bool>("documentFilled");
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<QDate>("issued");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("code");

        const QString noInn = QStringLiteral("Не указан ИНН");
        const QString noPlace = QStringLiteral("Не указано место рождения");
        const QString noDocument = QStringLiteral("Не указан документ, удостоверяющий личность");
        const QString before = QStringLiteral("Дата выдачи документа не может быть меньше даты рождения");
        const QString fourteen =
            QStringLiteral("Дата выдачи документа должна быть больше даты рождения как минимум на 14 лет");
        const QDate birth(2000, 5, 15);

        QTest::newRow("valid INN alone identifies")
            << true << kValidInn << 0 << false << birth << QDate(2010, 1, 1) << QStringList{} << QStringList{}
            << 0;
        QTest::newRow("no INN: then birth place and document")
            << true << "" << 0 << false << birth << QDate(2010, 1, 1)
            << QStringList{"Пропустить", "Пропустить", "Исправить"} << QStringList{noInn, noPlace, noDocument}
            << 5;
        QTest::newRow("INN of eleven digits")
            << true << "12345678904" << 0 << false << birth << QDate(2010, 1, 1) << QStringList{"Исправить"}
            << QStringList{QStringLiteral("Длина ИНН должна быть равна 12 цифрам")} << 4;
        QTest::newRow("INN with a wrong check digit")
            << true << "123456789048" << 0 << false << birth << QDate(2010, 1, 1) << QStringList{"Исправить"}
            << QStringList{QStringLiteral("Номер ИНН введен неверно")} << 4;
        QTest::newRow("passport on the fourteenth birthday")
            << true << kValidInn << 21 << true << birth << QDate(2014, 5, 15) << QStringList{}
            << QStringList{} << 0;
        QTest::newRow("passport a day before")
            << true << kValidInn << 21 << true << birth << QDate(2014, 5, 14) << QStringList{"Исправить"}
            << QStringList{fourteen} << 7;
        QTest::newRow("born on 29 February") << true << kValidInn << 21 << true << QDate(2004, 2, 29)
                                             << QDate(2018, 2, 28) << QStringList{} << QStringList{} << 0;
        QTest::newRow("birth certificate has no age rule")
            << true << kValidInn << 3 << true << birth << birth << QStringList{} << QStringList{} << 0;
        QTest::newRow("issued before birth") << true << kValidInn << 3 << true << birth << QDate(2000, 5, 14)
                                             << QStringList{"Исправить"} << QStringList{before} << 7;
        QTest::newRow("document without number and issuer")
            << true << kValidInn << 21 << false << birth << QDate(2014, 6, 1)
            << QStringList{"Пропустить", "Исправить"}
            << QStringList{QStringLiteral("Не указаны серия и номер документа, удостоверяющего личность"),
                           QStringLiteral("Не указано, кем выдан документ, удостоверяющий личность")}
            << 8;
        QTest::newRow("no names, skip all")
            << false << kValidInn << 0 << false << birth << QDate(2010, 1, 1)
            << QStringList{"Пропустить", "Пропустить все"}
            << QStringList{QStringLiteral("Не введена фамилия"), QStringLiteral("Не введено имя")} << 0;
    }

    void identityChecks() {
        QFETCH(bool, named);
        QFETCH(QString, inn);
        QFETCH(int, document);
        QFETCH(bool, documentFilled);
        QFETCH(QDate, birth);
        QFETCH(QDate, issued);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(int, code);

        ScreenTestHost host;
        Taxpayer& p = host.document->person;
        if (named) {
            p.surname = cp("Иванов");
            p.firstName = cp("Иван");
        }
        p.inn = Cp1251Text::fromBytes(inn.toStdString());
        p.birthDate = toDateValue(birth);
        if (document != 0) {
            p.identityDocCode = static_cast<std::int16_t>(document);
            p.identityDocName = cp("Документ");
            p.identityDocDate = toDateValue(issued);
            if (documentFilled) {
                p.identityDocNumber = "12345";
                p.identityDocIssuer = cp("ОВД");
            }
        }
        TaxpayerScreen screen(nullptr, host);
        for (const QString& answer : answers)
            host.script.expect(QStringLiteral("TfmCheckError"), answer);

        screen.saveData();
        QCOMPARE(screen.checkData(), static_cast<std::uint16_t>(code));
        QStringList asked;
        for (const Question& q : host.script.questions()) {
            asked.append(q.text);
            QCOMPARE(q.title, QStringLiteral("Проверка: Сведения о декларанте"));
        }
        QCOMPARE(asked, messages);
        KV_VERIFY_ASKER(host.script);
    }

    void pickingAnotherDocumentKindStartsItAfresh() {
        ScreenTestHost host;
        fillPerson(host.document->person);
        TaxpayerScreen screen(nullptr, host);

        kv::test::whenPicker(QStringLiteral("TfmDocType"), QStringLiteral("07"));
        kv::test::clickButton(&screen, "bnDocType");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&screen, "edDocName"), QStringLiteral("Военный билет"));
        QCOMPARE(kv::test::textOf(&screen, "edDocNumber"), QString());
        QCOMPARE(kv::test::textOf(&screen, "edDocIssuer"), QString());
        QCOMPARE(kv::test::child<kv::DateEdit>(&screen, "deDocDate")->date(), QDate(1990, 1, 1));
        auto* number = kv::test::child<DocNumberEdit>(&screen, "edDocNumber");
        QCOMPARE(number->mask(), DocMask::LettersAndSeven);
        QVERIFY(host.changes > 0);

        kv::test::typeText(number, QStringLiteral("ак1234567"));
        screen.saveData();
        QCOMPARE(host.document->person.identityDocCode, std::int16_t{7});
        QCOMPARE(host.document->person.identityDocName, cp("Военный билет"));
        QCOMPARE(host.document->person.identityDocNumber, cp("АК 1234567"));

        // Picking the kind already shown changes nothing.
        const int changes = host.changes;
        kv::test::whenPicker(QStringLiteral("TfmDocType"), QStringLiteral("07"));
        kv::test::clickButton(&screen, "bnDocType");
        KV_VERIFY_MODALS();
        QCOMPARE(kv::test::textOf(&screen, "edDocNumber"), QStringLiteral("АК 1234567"));
        QCOMPARE(host.changes, changes);
    }

    void countryComesFromThePicker() {
        ScreenTestHost host;
        kv::test::loadSmallDirectories(host.loaded);
        TaxpayerScreen screen(nullptr, host);
        kv::test::whenPicker(QStringLiteral("TfmGrazhd"), QStringLiteral("276"));
        kv::test::clickButton(&screen, "bnCountry");
        KV_VERIFY_MODALS();
        screen.saveData();
        QCOMPARE(host.document->person.citizenshipCountryCode, Cp1251Text{"276"});
        QCOMPARE(host.document->person.citizenshipCountryName, cp("ГЕРМАНИЯ"));
        QCOMPARE(host.changes, 1);

        ScreenTestHost bare;
        TaxpayerScreen without(nullptr, bare);
        QVERIFY(!kv::test::child<QWidget>(&without, "bnCountry")->isEnabled());
    }

    void seriesAndNumberMasks_data() {
        QTest::addColumn<kv::DocMask>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");

        QTest::newRow("passport groups itself") << DocMask::DigitPairsAndSix << "4508123456"
                                                << "45 08 123456";
        QTest::newRow("typed blanks are dropped") << DocMask::DigitPairsAndSix << "45 08"
                                                  << "45 08 ";
        QTest::newRow("passport refuses letters and a seventh digit")
            << DocMask::DigitPairsAndSix << "45a08x1234567"
            << "45 08 123456";
        QTest::newRow("two digits then seven") << DocMask::DigitPairAndSeven << "1234567890"
                                               << "12 3456789";
        QTest::newRow("letters upper-cased") << DocMask::LettersAndSix << "аб123"
                                             << "АБ 123";
        QTest::newRow("Latin letters refused") << DocMask::LettersAndSix << "ab1"
                                               << "";
        QTest::newRow("digits wait for two letters") << DocMask::LettersAndSeven << "Ж1К12345678"
                                                     << "ЖК 1234567";
        QTest::newRow("Roman series from look-alike keys") << DocMask::RomanAndLetters << "1у-аб123456"
                                                           << "IV-АБ 123456";
        QTest::newRow("ill-formed numeral refused") << DocMask::RomanAndLetters << "IIII-ЖЖ"
                                                    << "III-ЖЖ ";
        QTest::newRow("numeral of several letters") << DocMask::RomanAndLetters << "xlix-ак1"
                                                    << "XLIX-АК 1";
        QTest::newRow("free text up to 14") << DocMask::Text14 << "AB 123-456 78901"
                                            << "AB 123-456 789";
    }

    void seriesAndNumberMasks() {
        QFETCH(kv::DocMask, mask);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        DocNumberEdit edit;
        edit.setMask(mask);
        kv::test::typeText(&edit, typed);
        QCOMPARE(edit.text(), shown);
    }

    void pastedNumberIsRegrouped() {
        DocNumberEdit edit;
        edit.setMask(DocMask::DigitPairsAndSix);
        edit.insert(QStringLiteral("4508123456"));
        QCOMPARE(edit.text(), QStringLiteral("45 08 123456"));
        edit.clear();
        edit.insert(QStringLiteral("45-08"));
        QCOMPARE(edit.text(), QString());
    }
};

KV_QTEST_MAIN(PersonTest)

#include "person_test.moc"
