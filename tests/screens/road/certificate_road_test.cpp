// Incomes from employers' income certificates: four certificate files taken into a new
// return through the window (the 13% screen's button and the "Декларация" menu, the
// question before a second certificate of an agent), and the same incomes entered as
// the entry dialogs store them. Both returns export to the same bytes.
#include "ModalAnswers.h"
#include "RoadTestSupport.h"
#include "core/Text.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/rules/RateRules.h"
#include "support/TestValues.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QTest>

using namespace kv;
using kv::test::amount;
using kv::test::clickSection;
using kv::test::rub;

namespace {

QString certificate(const char* name) {
    return QDir(QStringLiteral(KV_CERTIFICATES)).filePath(QString::fromLatin1(name));
}

Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// A line as the income dialog stores it: the code and name picked, the deduction picked
// with its percentage and the amount typed.
ThirteenIncomeItem typedIncome(int month, const char* code, const char* amount,
                               const char* deduction = nullptr, const char* deductionAmount = nullptr) {
    const IncomeDict& dict = IncomeDict::builtIn();
    ThirteenIncomeItem item;
    const IncomeChoice income =
        chooseIncome(dict, *dict.findIncome(Cp1251Text::fromBytes(std::string_view(code))), Cp1251Text{"13"});
    item.incomeCode = std::stoi(income.code.bytes());
    item.incomeName = income.name;
    item.amount = kv::test::amount(amount);
    item.month = static_cast<std::int16_t>(month);
    if (deduction != nullptr) {
        const DeductionChoice d =
            chooseDeduction(*dict.findIncome(Cp1251Text::fromBytes(std::string_view(code)))
                                 ->findDeduction(Cp1251Text::fromBytes(std::string_view(deduction))));
        item.deductionCode = std::stoi(d.code.bytes());
        item.deductionAmount = kv::test::amount(deductionAmount);
        item.deductionPercent = d.percent;
    }
    return item;
}

ThirteenPercentSource typedSource(const char* name, const char* inn, const char* kpp, const char* oktmo) {
    ThirteenPercentSource s;
    s.sourceName = cp(name);
    s.sourceInn = Cp1251Text::fromBytes(std::string_view(inn));
    s.sourceKpp = Cp1251Text::fromBytes(std::string_view(kpp));
    s.sourceOktmo = Cp1251Text::fromBytes(std::string_view(oktmo));
    return s;
}

// The incomes of the four certificates, as a person types them from the paper.
void typeIncomes(Declaration& d) {
    ThirteenPercentSource salary = typedSource("ООО \"РОМАШКА\"", "7728012340", "772801001", "45397000");
    for (int month = 1; month <= 12; ++month) {
        salary.addItem(typedIncome(month, "2000", "50000"));
        if (month == 6)
            salary.addItem(typedIncome(6, "2012", "10150.50"));
    }
    salary.taxWithheld = amount("79320");
    d.incomes13.add(salary);

    ThirteenPercentSource standard = typedSource("АО \"ЛУЧ\"", "5027001233", "502701001", "46744000");
    standard.isPrimaryWorkplace = 1;
    for (int month = 1; month <= 12; ++month)
        standard.addItem(typedIncome(month, "2000", "40000"));
    standard.addAgentDeduction({126, amount("16800")});
    standard.taxWithheld = amount("60216");
    d.incomes13.add(standard);

    ThirteenPercentSource gifts = typedSource("ООО \"РОМАШКА\"", "7728012340", "772801001", "45397000");
    for (int month = 1; month <= 12; ++month)
        gifts.addItem(typedIncome(month, "2000", "30000"));
    gifts.addItem(typedIncome(3, "2720", "10000", "501", "4000"));
    gifts.addItem(typedIncome(8, "2760", "6000", "503", "4000"));
    gifts.taxWithheld = amount("47840");
    d.incomes13.add(gifts);

    const FlatIncomeValues luch{
        cp("АО \"ЛУЧ\""), Cp1251Text{"5027001233"}, Cp1251Text{"502701001"}, Cp1251Text{"46744000"}, {}, {}};
    FlatIncomeValues dividends = luch;
    dividends.income = amount("12345.67");
    dividends.withheld = amount("1605");
    storeFlatIncome(FlatIncomeKind::Dividends, dividends, true, d.incomes30.get(d.incomes30.add()));
    FlatIncomeValues nine = luch;
    nine.income = amount("20000");
    nine.withheld = amount("1800");
    storeFlatIncome(FlatIncomeKind::NinePercent, nine, true, d.incomes9.get(d.incomes9.add()));
    ThirtyFiveValues prize{luch.name,      luch.inn, luch.kpp, luch.oktmo,    2610,
                           amount("3000"), 0,        {},       amount("1050")};
    storeThirtyFive(prize, d.incomes35.get(d.incomes35.add()));
}

class CertificateRoadTest : public QObject {
    Q_OBJECT
    kv::test::RussianLocale locale_;
    kv::test::RoadRun run_;

    std::string exported(Declaration& d) {
        const ExportServices services{run_.clock, run_.ids, [](const Cp1251Text& m) {
                                          QFAIL(qPrintable(QString::fromStdString(m.utf8())));
                                      }};
        return exportReturn(std::string(), d, 0, services);
    }

    // One certificate file through the window, its preview answered with "Загрузить".
    void importFile(const char* name, QAction* through, const QString& replaceAnswer = {}) {
        run_.script.expectFile(QStringLiteral("openCertificate"), certificate(name));
        kv::test::whenModal(QStringLiteral("CertificatePreviewDialog"),
                            [](QDialog& d) { kv::test::clickButton(&d, "bnLoad"); });
        if (!replaceAnswer.isEmpty())
            run_.script.expect(QStringLiteral("certificateReplace"), replaceAnswer);
        through->trigger();
    }

private slots:
    void importedReturnExportsAsTheTypedOne() {
        MainWindow window(std::nullopt, run_.options());
        window.show();
        kv::test::enterConditions(window, QStringLiteral("7701"), QStringLiteral("45379000"));
        kv::test::enterTaxpayer(window, {.surname = QStringLiteral("Иванов"),
                                         .name = QStringLiteral("Иван"),
                                         .patronymic = QStringLiteral("Иванович"),
                                         .inn = QStringLiteral("772801234583"),
                                         .birthDate = QDate(1985, 5, 12),
                                         .birthPlace = QStringLiteral("г. Москва"),
                                         .docCode = QStringLiteral("21"),
                                         .docNumber = QStringLiteral("4505123456"),
                                         .docDate = QDate(2005, 6, 1),
                                         .docIssuer = QStringLiteral("ОВД района Арбат г. Москвы")});
        if (QTest::currentTestFailed())
            return;
        clickSection(window, Section::RussianIncome);
        QAction screenButton;
        connect(&screenButton, &QAction::triggered, &window,
                [&window] { kv::test::clickButton(&window, "bnImportCertificate"); });
        auto* menu = window.findChild<QAction*>(QStringLiteral("ImportCertificate"));
        QVERIFY(menu != nullptr);

        importFile("salary.xml", &screenButton);
        importFile("standard.xml", &screenButton);
        // Another certificate of each agent: the person keeps both sources.
        importFile("gifts.xml", menu, QStringLiteral("Добавить"));
        importFile("rates.xml", menu, QStringLiteral("Добавить"));
        KV_VERIFY_MODALS();
        KV_VERIFY_ASKER(run_.script);
        QVERIFY(!window.documentSaved());
        QCOMPARE(window.document().incomes13.count(), 3);

        Declaration typed = window.document();
        typed.setIncomeFlags(typed.incomeFlags() & ~Declaration::kAgentIncomes);
        typed.setIncomeFlags(typed.incomeFlags() | Declaration::kAgentIncomes);
        typeIncomes(typed);

        const std::string fromCertificates = exported(window.document());
        const std::string byHand = exported(typed);
        QVERIFY(fromCertificates.find("7728012340") != std::string::npos);
        QVERIFY(fromCertificates.find("5027001233") != std::string::npos);
        QCOMPARE(QString::fromStdString(Cp1251Text::fromBytes(fromCertificates).utf8()),
                 QString::fromStdString(Cp1251Text::fromBytes(byHand).utf8()));
        // Not only the file: the records themselves are those the dialogs store.
        QVERIFY(window.document().saveToBytes() == typed.saveToBytes());
    }
};

} // namespace

KV_QTEST_MAIN(CertificateRoadTest)

#include "certificate_road_test.moc"
