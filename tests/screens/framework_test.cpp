// The screen framework: which sections a document opens, the two containers with
// their inner buttons, switching between inner screens, and the empty panel.
#include "ModalAnswers.h"
#include "ScreenTestHost.h"
#include "model/Declaration.h"
#include "screens/DeductionsScreen.h"
#include "screens/EmptyScreen.h"
#include "screens/RussianIncomeScreen.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <algorithm>

using namespace kv;
using kv::test::ProbeLog;
using kv::test::ScreenTestHost;

namespace {

QStringList shownButtons(const QWidget& container, const QStringList& names) {
    QStringList shown;
    for (const QString& name : names) {
        auto* button = container.findChild<QAbstractButton*>(name);
        if (button != nullptr && !button->isHidden())
            shown.append(name);
    }
    return shown;
}

const QStringList kFlashButtons = {QStringLiteral("FlashButton1"), QStringLiteral("FlashButton2"),
                                   QStringLiteral("FlashButton3"), QStringLiteral("FlashButton4"),
                                   QStringLiteral("FlashButton5"), QStringLiteral("FlashButton6"),
                                   QStringLiteral("FlashButton7")};

QAbstractButton* button(const QWidget& w, const char* name) {
    return w.findChild<QAbstractButton*>(QString::fromLatin1(name));
}

} // namespace

class FrameworkTest : public QObject {
    Q_OBJECT

private slots:
    void sectionEnabling_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("flags");
        // russian, foreign, business, partnerships, deductions
        QTest::addColumn<QString>("expected");

        QTest::newRow("new return") << 0 << 1 << "10001";
        QTest::newRow("no incomes") << 0 << 0 << "00000";
        QTest::newRow("foreign only") << 0 << 2 << "01001";
        QTest::newRow("business only") << 0 << 4 << "00101";
        QTest::newRow("partnerships only") << 0 << 16 << "00011";
        QTest::newRow("reserved flag is no income") << 0 << 8 << "00000";
        QTest::newRow("every income") << 0 << 23 << "11111";
        QTest::newRow("non-resident") << 1 << 1 << "10000";
        QTest::newRow("4-NDFL") << 2 << 4 << "00100";
        QTest::newRow("termination of business") << 3 << 5 << "10100";
    }

    void sectionEnabling() {
        QFETCH(int, kind);
        QFETCH(int, flags);
        QFETCH(QString, expected);
        Declaration document(kv::test::testClock());
        document.declarationKind = static_cast<std::uint8_t>(kind);
        document.setIncomeFlags(static_cast<std::uint8_t>(flags));
        QString actual;
        for (Section s : {Section::RussianIncome, Section::ForeignIncome, Section::BusinessIncome,
                          Section::InvestmentPartnership, Section::Deductions})
            actual += sectionEnabledFor(s, document) ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(actual, expected);
        QVERIFY(sectionEnabledFor(Section::InitialData, document));
        QVERIFY(sectionEnabledFor(Section::Taxpayer, document));
    }

    void incomeButtonsByKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("hint1");
        QTest::addColumn<QString>("hint2");
        QTest::addColumn<QString>("secondScreen");

        QTest::newRow("resident")
            << 0 << QStringList{"FlashButton1", "FlashButton2", "FlashButton3", "FlashButton7"}
            << "Доходы, облагаемые по ставке 13% (КРОМЕ ДИВИДЕНДОВ), полученные от налоговых "
               "агентов или иных источников выплаты, в т.ч. от физических лиц"
            << "Доходы, облагаемые по ставке 9% (НЕ дивиденды)"
            << "TfrNinePercent";
        QTest::newRow("non-resident")
            << 1 << QStringList{"FlashButton1", "FlashButton2", "FlashButton6"} << "Доходы нерезидента"
            << "Дивиденды нерезидента"
            << "TfrThirtyPercent";
    }

    void incomeButtonsByKind() {
        QFETCH(int, kind);
        QFETCH(QStringList, shown);
        QFETCH(QString, hint1);
        QFETCH(QString, hint2);
        QFETCH(QString, secondScreen);
        ScreenTestHost host;
        host.document->declarationKind = static_cast<std::uint8_t>(kind);
        RussianIncomeScreen container(nullptr, host);

        QCOMPARE(shownButtons(container, kFlashButtons), shown);
        QCOMPARE(button(container, "FlashButton1")->toolTip(), hint1);
        QCOMPARE(button(container, "FlashButton2")->toolTip(), hint2);
        QCOMPARE(container.innerScreen()->objectName(), QStringLiteral("TfrThirteenPercent"));
        QVERIFY(button(container, "FlashButton1")->isChecked());

        button(container, "FlashButton2")->click();
        QCOMPARE(container.innerScreen()->objectName(), secondScreen);
        QCOMPARE(container.innerButton(), button(container, "FlashButton2"));
        QVERIFY(!button(container, "FlashButton1")->isChecked());
        QCOMPARE(host.changes, 0);
    }

    void deductionButtons() {
        ScreenTestHost host;
        DeductionsScreen container(nullptr, host);
        const QList<std::tuple<const char*, QString, QString, QString>> rows = {
            {"fbConstructionDeduct", "Имущественный", "Имущественный налоговый вычет на строительство",
             "TfrMultyConstructionDeduct"},
            {"fbPensDeduct", "Социальные", "Социальные налоговые вычеты", "TfrFramePensDeduct"},
            {"fbStandartDeduct", "Стандартные", "Стандартные налоговые вычеты", "TfrFrameStandartDeduct"},
            {"fbCB", "Инвестиционные и убытки по ЦБ",
             "Убытки прошлых налоговых периодов по операциям с ЦБ и инвестиционные вычеты", "TfrCB"},
        };
        QCOMPARE(container.innerScreen()->objectName(), QStringLiteral("TfrMultyConstructionDeduct"));
        QVERIFY(button(container, "fbConstructionDeduct")->isChecked());
        for (const auto& [name, caption, hint, screen] : rows) {
            QAbstractButton* b = button(container, name);
            QVERIFY2(b != nullptr, name);
            QCOMPARE(b->text(), caption);
            QCOMPARE(b->toolTip(), hint);
            b->click();
            QCOMPARE(container.innerScreen()->objectName(), screen);
            QCOMPARE(container.innerButton(), b);
        }
    }

    // Leaving an inner screen saves it and checks it; a code keeps it, pressed,
    // and sends the user to the element. Its own button does nothing at all.
    void innerSwitchBlockedByCheckCode() {
        ProbeLog log;
        const ScreenRegistry registry = kv::test::registryWithProbe(ScreenId::ThirteenPercent, log);
        ScreenTestHost host(registry);
        host.document->setIncomeFlags(Declaration::kAgentIncomes);
        RussianIncomeScreen container(nullptr, host);
        QCOMPARE(log.built, 1);

        button(container, "FlashButton1")->click();
        QCOMPARE(log.saves, 0);
        QCOMPARE(log.checks, 0);
        QCOMPARE(log.built, 1);

        log.checkResult = 5;
        button(container, "FlashButton3")->click();
        QCOMPARE(log.saves, 1);
        QCOMPARE(log.checks, 1);
        QCOMPARE(log.focusCodes, QList<std::uint16_t>{5});
        QCOMPARE(container.innerScreen()->screenId(), ScreenId::ThirteenPercent);
        QVERIFY(button(container, "FlashButton1")->isChecked());
        QVERIFY(!button(container, "FlashButton3")->isChecked());

        log.checkResult = 0;
        button(container, "FlashButton3")->click();
        QCOMPARE(container.innerScreen()->objectName(), QStringLiteral("TfrThirtyFivePercent"));

        // Back to the 13% screen: its first source is selected only when there is one.
        button(container, "FlashButton1")->click();
        QCOMPARE(log.built, 2);
        QCOMPARE(log.selections, 0);
        button(container, "FlashButton3")->click();
        host.document->incomes13.add();
        button(container, "FlashButton1")->click();
        QCOMPARE(log.selections, 1);
    }

    void containerPassesOperationsOn() {
        ProbeLog log;
        const ScreenRegistry registry = kv::test::registryWithProbe(ScreenId::PropertyDeduction, log);
        ScreenTestHost host(registry);
        DeductionsScreen container(nullptr, host);
        log.checkResult = 3;
        container.saveData();
        QCOMPARE(container.checkData(), std::uint16_t{3});
        container.setFocusToElement(9);
        QCOMPARE(log.saves, 1);
        QCOMPARE(log.focusCodes, QList<std::uint16_t>{9});

        // The whole-return check opens an inner screen without checking the one it leaves.
        container.openInner(ScreenId::StandardDeduction);
        QCOMPARE(log.checks, 1);
        QCOMPARE(container.innerScreen()->objectName(), QStringLiteral("TfrFrameStandartDeduct"));
        QVERIFY(button(container, "fbStandartDeduct")->isChecked());
    }

    // Where the whole-return check sends the user for each section it reports.
    void faultRoutes_data() {
        QTest::addColumn<CheckSection>("checked");
        QTest::addColumn<Section>("section");
        QTest::addColumn<std::optional<ScreenId>>("inner");
        QTest::addColumn<bool>("listsTheRecord");
        const std::optional<ScreenId> top;
        QTest::newRow("conditions") << CheckSection::Conditions << Section::InitialData << top << true;
        QTest::newRow("taxpayer") << CheckSection::Taxpayer << Section::Taxpayer << top << true;
        QTest::newRow("13%") << CheckSection::Incomes13 << Section::RussianIncome
                             << std::optional(ScreenId::ThirteenPercent) << true;
        QTest::newRow("foreign") << CheckSection::ForeignIncomes << Section::ForeignIncome << top << true;
        QTest::newRow("business") << CheckSection::BusinessIncomes << Section::BusinessIncome << top << true;
        QTest::newRow("standard") << CheckSection::StandardDeductions << Section::Deductions
                                  << std::optional(ScreenId::StandardDeduction) << true;
        QTest::newRow("social") << CheckSection::SocialDeductions << Section::Deductions
                                << std::optional(ScreenId::SocialDeduction) << true;
        QTest::newRow("9%") << CheckSection::Incomes9 << Section::RussianIncome
                            << std::optional(ScreenId::NinePercent) << true;
        QTest::newRow("35%") << CheckSection::Incomes35 << Section::RussianIncome
                             << std::optional(ScreenId::ThirtyFivePercent) << true;
        QTest::newRow("dividends") << CheckSection::Dividends << Section::RussianIncome
                                   << std::optional(ScreenId::Dividends) << true;
        QTest::newRow("non-residents") << CheckSection::Incomes13NonResident << Section::RussianIncome
                                       << std::optional(ScreenId::ThirteenPercentNonResident) << true;
        // Partnership sources are listed on the 13% screen among its own, under other numbers.
        QTest::newRow("partnerships") << CheckSection::Partnerships << Section::RussianIncome
                                      << std::optional(ScreenId::ThirteenPercent) << false;
    }
    void faultRoutes() {
        QFETCH(CheckSection, checked);
        QFETCH(Section, section);
        QFETCH(std::optional<ScreenId>, inner);
        QFETCH(bool, listsTheRecord);
        const std::optional<FaultRoute> route = ScreenRegistry::standard().faultRoute(checked);
        QVERIFY(route.has_value());
        QCOMPARE(route->section, section);
        QCOMPARE(route->inner, inner);
        QCOMPARE(route->listsTheRecord, listsTheRecord);
    }

    // One row per screen; a screen inside a container names one shown by a section
    // button; no two screens show the faults of one check section.
    void screenTableIsWhole() {
        const std::vector<ScreenInfo>& rows = ScreenRegistry::standard().rows();
        QSet<QString> classes;
        QList<CheckSection> checked;
        for (const ScreenInfo& row : rows) {
            QCOMPARE(std::ranges::count(rows, row.id, &ScreenInfo::id), 1);
            QVERIFY2(!classes.contains(row.className), qPrintable(row.className));
            classes.insert(row.className);
            if (const auto* inside = std::get_if<InsideContainer>(&row.place))
                QVERIFY(std::holds_alternative<SectionPlace>(
                    ScreenRegistry::standard().info(inside->container).place));
            for (const CheckedHere& here : row.checked) {
                QVERIFY(!checked.contains(here.section));
                checked.append(here.section);
            }
        }
    }

    // A table row without a factory still opens: a panel with the screen's title.
    void screenNotBuiltYetShowsItsTitle() {
        ScreenTestHost host;
        ScreenRegistry registry = ScreenRegistry::standard();
        registry.setFactory(ScreenId::Securities, {});
        std::unique_ptr<ScreenFrame> screen(registry.create(ScreenId::Securities, nullptr, host));
        QCOMPARE(screen->objectName(), QStringLiteral("TfrCB"));
        QCOMPARE(screen->screenId(), ScreenId::Securities);
        auto* title = screen->findChild<QLabel*>(QStringLiteral("lblTitle"));
        QVERIFY(title != nullptr);
        QCOMPARE(title->text(),
                 QStringLiteral("Убытки прошлых лет по операциям с ЦБ и инвестиционные вычеты"));
        QCOMPARE(screen->checkData(), std::uint16_t{0});
    }

    void sectionButtonTable() {
        QStringList names;
        for (const SectionButtonInfo& info : sectionButtons())
            names.append(info.objectName + (info.visible ? QString() : QStringLiteral(" (hidden)")));
        QCOMPARE(names, (QStringList{"fbInitialData", "fbPrsonInfo", "fbRussianIncome", "fbForeignIncome",
                                     "fbBusinessIncome", "fbDeduction", "fbNalog (hidden)",
                                     "fbInvestTov (hidden)"}));
        QVERIFY(!sectionButton(Section::NoticePayments).screen.has_value());
        QVERIFY(sectionButton(Section::NoticePayments).hint.isEmpty());
    }
};

KV_QTEST_MAIN(FrameworkTest)

#include "framework_test.moc"
