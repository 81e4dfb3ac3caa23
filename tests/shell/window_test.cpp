// The main window: its size, menus and toolbar, the settings kept between runs,
// switching sections, the check, export and print commands, help, and start-up
// with a directory file that cannot be read.
#include "ModalAnswers.h"
#include "ShellFixture.h"
#include "screens/ScreenContainer.h"
#include "screens/Sections.h"
#include "screens/kit/UiText.h"
#include "shell/HelpWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>
#include <unistd.h>

using namespace kv;
using kv::test::cp;
using kv::test::ProbeLog;

namespace {

// Captions as they read, without the marks of their Alt letters.
QString caption(const QAction* a) {
    return QString(a->text()).remove(QLatin1Char('&'));
}

QStringList menuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items.append(a->isSeparator() ? QStringLiteral("-") : caption(a));
    return items;
}

QAction* action(QWidget& w, const char* name) {
    return w.findChild<QAction*>(QString::fromLatin1(name));
}

QToolButton* toolButton(QWidget& w, const char* name) {
    return w.findChild<QToolButton*>(QString::fromLatin1(name));
}

QString innerButtonName(MainWindow& w) {
    auto* container = qobject_cast<ScreenContainer*>(w.currentScreen());
    return container != nullptr && container->innerButton() != nullptr
               ? container->innerButton()->objectName()
               : QString();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    kv::test::ShellFixture fx;

private slots:
    void init() { fx.begin(); }
    void cleanup() {
        fx.end();
        KV_VERIFY_ASKER(fx.asker);
    }

    void sizeAndMenus() {
        auto w = fx.window();
        QCOMPARE(w->size(), QSize(1014, 701));
        QCOMPARE(w->minimumSize(), QSize(750, 550));
        w->resize(600, 400);
        QCOMPARE(w->size(), QSize(750, 550));

        QStringList menus;
        for (QAction* a : w->menuBar()->actions())
            menus.append(caption(a));
        QCOMPARE(menus, (QStringList{"Файл", "Декларация", "Перейти", "Настройки", "Справка"}));
        const QList<QAction*> top = w->menuBar()->actions();
        QCOMPARE(menuItems(top[0]->menu()),
                 (QStringList{"Создать", "Открыть", "Сохранить", "Сохранить как...", "-", "Последние файлы",
                              "-", "Выход"}));
        QCOMPARE(menuItems(top[1]->menu()), (QStringList{"Просмотр", "Печать", "Экспорт в xml", "Проверить",
                                                         "Расчёт", "-", "Загрузить справку 2-НДФЛ..."}));
        QCOMPARE(
            menuItems(top[2]->menu()),
            (QStringList{"Задание условий", "Сведения о декларанте", "Доходы, полученные в РФ",
                         "Доходы за пределами РФ", "Предприниматели", "Вычеты", "Инвест. товарищества"}));
        QCOMPARE(menuItems(top[3]->menu()), (QStringList{"Стандартная панель", "Подписи под кнопками"}));
        QCOMPARE(menuItems(top[4]->menu()),
                 (QStringList{"Справка", "Справка по текущему экрану", "-", "О программе"}));

        QStringList buttons;
        for (const char* name :
             {"fbCreate", "fbOpen", "fbSave", "fbView", "fbPrint", "fbExsport", "fbCheck", "fbResult"})
            buttons.append(toolButton(*w, name)->text());
        QCOMPARE(buttons, (QStringList{"Создать", "Открыть", "Сохранить", "Просмотр", "Печать", "Файл xml",
                                       "Проверить", "Расчёт"}));

        for (const SectionButtonInfo& info : sectionButtons()) {
            QAbstractButton* b = w->sectionButtonWidget(info.section);
            QCOMPARE(b->objectName(), info.objectName);
            QCOMPARE(b->text(), info.caption);
            QCOMPARE(b->toolTip(), info.hint);
            QCOMPARE(!b->isHidden(), info.visible);
        }
    }

    // Both settings start true, follow their menu items, and are there at the next start.
    void settingsSurviveARestart() {
        {
            auto w = fx.window();
            QVERIFY(action(*w, "miStdToolbar")->isChecked());
            QVERIFY(action(*w, "miTextLabels")->isChecked());
            QCOMPARE(toolButton(*w, "fbExsport")->size(), QSize(80, 47));
            QCOMPARE(toolButton(*w, "fbExsport")->text(), QStringLiteral("Файл xml"));

            action(*w, "miTextLabels")->trigger();
            QCOMPARE(fx.setting(QStringLiteral("TextLabels")).toBool(), false);
            QCOMPARE(toolButton(*w, "fbExsport")->size(), QSize(35, 35));
            QVERIFY(toolButton(*w, "fbExsport")->text().isEmpty());
            action(*w, "miStdToolbar")->trigger();
            QCOMPARE(fx.setting(QStringLiteral("ShowStdToolbar")).toBool(), false);
            QVERIFY(w->findChild<QToolBar*>(QStringLiteral("ToolBar"))->isHidden());

            w->showMaximized();
            QVERIFY(w->close());
            QCOMPARE(fx.setting(QStringLiteral("FullScreen")).toBool(), true);
            for (const char* name : {"wLeft", "wTop", "wWidth", "wHeight"})
                QVERIFY2(fx.setting(QString::fromLatin1(name)).isValid(), name);
        }
        auto again = fx.window();
        QVERIFY(!action(*again, "miStdToolbar")->isChecked());
        QVERIFY(!action(*again, "miTextLabels")->isChecked());
        QVERIFY(again->findChild<QToolBar*>(QStringLiteral("ToolBar"))->isHidden());
        QCOMPARE(toolButton(*again, "fbCheck")->size(), QSize(35, 35));

        action(*again, "miStdToolbar")->trigger();
        QVERIFY(!again->findChild<QToolBar*>(QStringLiteral("ToolBar"))->isHidden());
        QCOMPARE(fx.setting(QStringLiteral("ShowStdToolbar")).toBool(), true);
    }

    // Leaving a screen saves and checks it; a code keeps it with its button pressed.
    void switchingBlockedByCheckCode() {
        ProbeLog& log = fx.probes[ScreenId::InitialData];
        auto w = fx.window();
        QCOMPARE(log.built, 1);

        w->sectionButtonWidget(Section::InitialData)->click();
        QCOMPARE(log.saves, 0);
        QCOMPARE(log.checks, 0);

        log.checkResult = 1;
        w->sectionButtonWidget(Section::Taxpayer)->click();
        QCOMPARE(log.saves, 1);
        QCOMPARE(log.focusCodes, QList<std::uint16_t>{1});
        QCOMPARE(w->currentScreen()->screenId(), ScreenId::InitialData);
        QVERIFY(w->sectionButtonWidget(Section::InitialData)->isChecked());
        QVERIFY(!w->sectionButtonWidget(Section::Taxpayer)->isChecked());

        log.checkResult = 0;
        w->sectionButtonWidget(Section::Taxpayer)->click();
        QCOMPARE(w->currentScreen()->objectName(), QStringLiteral("TfrPersonNaim"));
        QVERIFY(w->sectionButtonWidget(Section::Taxpayer)->isChecked());
        QCOMPARE(w->currentSection(), Section::Taxpayer);
        QVERIFY(w->documentSaved());
    }

    void sourceListSelectedOnArrival() {
        ProbeLog& log = fx.probes[ScreenId::ForeignIncome];
        auto w = fx.window();
        w->document().setIncomeFlags(Declaration::kForeignIncomes);
        w->switchSection(Section::ForeignIncome);
        QCOMPARE(log.selections, 0);
        w->switchSection(Section::InitialData);
        w->document().foreignIncomes.add();
        w->switchSection(Section::ForeignIncome);
        QCOMPARE(log.selections, 1);
    }

    // Building a screen never marks the return changed; a change afterwards does.
    void buildingGuard() {
        ProbeLog& log = fx.probes[ScreenId::Taxpayer];
        log.changeWhileBuilding = true;
        auto w = fx.window();
        w->switchSection(Section::Taxpayer);
        QCOMPARE(log.built, 1);
        QVERIFY(w->documentSaved());
        static_cast<kv::test::ProbeScreen*>(w->currentScreen())->edit();
        QVERIFY(!w->documentSaved());
        fx.asker.expectFile(QStringLiteral("saveReturn"), fx.path(QStringLiteral("r.qv9")));
        QVERIFY(w->saveReturn());
        QVERIFY(w->documentSaved());
    }

    // The whole-return check takes the user to the screen of the fault.
    void checkOpensTheFaultyScreen_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("inner");
        QTest::addColumn<QString>("innerButton");
        QTest::addColumn<QString>("sectionButton");

        QTest::newRow("no tax office") << "new"
                                       << "Исправить" << 1 << "Проверка: Задание условий"
                                       << "TfrInitialData"
                                       << ""
                                       << ""
                                       << "fbInitialData";
        QTest::newRow("no surname") << "office"
                                    << "Исправить" << 1 << "Проверка: Сведения о декларанте"
                                    << "TfrPersonNaim"
                                    << ""
                                    << ""
                                    << "fbPrsonInfo";
        QTest::newRow("13% source") << "source"
                                    << "Исправить" << 1 << "Проверка: Доходы, облагаемые ставкой 13%"
                                    << "TfrRussianIncome"
                                    << "TfrThirteenPercent"
                                    << "FlashButton1"
                                    << "fbRussianIncome";
        QTest::newRow("foreign income, second source") << "foreign"
                                                       << "Исправить" << 1 << "Проверка: Доходы в валюте"
                                                       << "TfrCurrency"
                                                       << ""
                                                       << ""
                                                       << "fbForeignIncome";
        QTest::newRow("social deductions") << "social"
                                           << "Исправить" << 1 << "Проверка: Социальные вычеты"
                                           << "TfrFrameDeductData"
                                           << "TfrFramePensDeduct"
                                           << "fbPensDeduct"
                                           << "fbDeduction";
        QTest::newRow("9% refund without OKTMO")
            << "nine"
            << "Исправить" << 1 << "Проверка: Доходы, облагаемые по ставке 9%"
            << "TfrRussianIncome"
            << "TfrNinePercent"
            << "FlashButton2"
            << "fbRussianIncome";
        QTest::newRow("cancelled") << "office"
                                   << "Отмена" << 2 << "Проверка: Сведения о декларанте"
                                   << "TfrFrameDeductData"
                                   << "TfrMultyConstructionDeduct"
                                   << "fbConstructionDeduct"
                                   << "fbDeduction";
    }

    void checkOpensTheFaultyScreen() {
        QFETCH(QString, fixture);
        QFETCH(QString, answer);
        QFETCH(int, result);
        QFETCH(QString, title);
        QFETCH(QString, screen);
        QFETCH(QString, inner);
        QFETCH(QString, innerButton);
        QFETCH(QString, sectionButton);

        auto w = fx.window();
        Declaration& d = w->document();
        if (fixture != QStringLiteral("new"))
            d.inspectionCode = "7701";
        if (fixture == QStringLiteral("source") || fixture == QStringLiteral("social") ||
            fixture == QStringLiteral("nine") || fixture == QStringLiteral("foreign"))
            kv::test::completeReturn(d);
        if (fixture == QStringLiteral("nine")) {
            d.setIncomeFlags(Declaration::kAgentIncomes);
            ThirtyPercentSource& s = d.incomes9.get(d.incomes9.add());
            s.incomeCode = 1011;
            s.totalIncome = Money::fromRoubles(1000);
            s.taxWithheld = Money::fromRoubles(200); // 90 is due: 110 to refund, to no OKTMO
        }
        if (fixture == QStringLiteral("foreign")) {
            d.setIncomeFlags(d.incomeFlags() | Declaration::kForeignIncomes);
            ForeignIncome complete;
            complete.currencyCode = "840";
            complete.incomeDateRate = Money::fromRoubles(65);
            complete.incomeDateUnits = 1;
            complete.incomeCode = 1010;
            complete.incomeRate = 14;
            d.foreignIncomes.add(complete);
            complete.currencyCode.clear();
            d.foreignIncomes.add(complete);
        }
        if (fixture == QStringLiteral("source"))
            d.incomes13.get(d.incomes13.add()).taxWithheld = Money::fromRoubles(100);
        if (fixture == QStringLiteral("social"))
            d.socialDeductions.granted = 1;
        // Start from another screen, so that reaching the fault shows.
        w->switchSection(Section::Deductions);

        fx.asker.expect(QStringLiteral("TfmCheckAllError"), answer);
        QCOMPARE(w->checkAndShowFault(), result);
        QCOMPARE(fx.asker.questions().first().title, title);
        QCOMPARE(w->currentScreen()->objectName(), screen);
        QCOMPARE(kv::test::innerScreenName(w->currentScreen()), inner);
        QCOMPARE(innerButtonName(*w), innerButton);
        QVERIFY(w->findChild<QAbstractButton*>(sectionButton)->isChecked());
        // A fault of a list entry names that entry to the screen.
        if (fixture == QStringLiteral("foreign"))
            QCOMPARE(fx.probes[ScreenId::ForeignIncome].focusCodes, QList<std::uint16_t>{2});
    }

    void checkCommand() {
        auto w = fx.window();
        kv::test::completeReturn(w->document());
        fx.asker.expect(QStringLiteral("checkPassed"), "OK");
        w->checkDoc();
        QCOMPARE(fx.asker.textOf(QStringLiteral("checkPassed")),
                 QStringLiteral("Проверка декларации завершена успешно"));

        w->document().inspectionCode.clear();
        fx.asker.expect(QStringLiteral("TfmCheckAllError"), "Исправить");
        w->checkDoc();
        QCOMPARE(fx.asker.textOf(QStringLiteral("TfmCheckAllError")),
                 QStringLiteral("Не введен номер инспекции"));
    }

    void exportWritesTheFile() {
        auto w = fx.window();
        kv::test::completeReturn(w->document());
        QDir().mkdir(fx.path(QStringLiteral("Выгрузка")));
        const QString folder = fx.path(QStringLiteral("Выгрузка"));
        fx.asker.expectFile(QStringLiteral("exportFolder"), folder)
            .expect(QStringLiteral("exportResult"), "OK");
        w->exportDoc();
        const QStringList files = QDir(folder).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files.first().startsWith(QStringLiteral("NO_NDFL3_")));
        QCOMPARE(fx.asker.textOf(QStringLiteral("exportResult")),
                 QStringLiteral("Сформирован файл ") + folder + QStringLiteral("/ ") + files.first());
        QCOMPARE(fx.asker.fileQuestions().first().title, QStringLiteral("Квилмар 2019"));
        QVERIFY(w->menuBar()->isEnabled());
    }

    // A return the check lets through but whose file breaks the form's schema (a telephone
    // longer than the form allows, written by another program) is not written; the window
    // says what to correct.
    void exportRefusedBySchema() {
        auto w = fx.window();
        kv::test::completeReturn(w->document());
        w->document().person.contactPhone = "+7 495 123-45-67 ext. 1234";
        const QString folder = fx.path(QStringLiteral("Выгрузка"));
        QDir().mkdir(folder);
        fx.asker.expectFile(QStringLiteral("exportFolder"), folder)
            .expect(QStringLiteral("exportMessage"), "OK");
        w->exportDoc();
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        const QString text = fx.asker.textOf(QStringLiteral("exportMessage"));
        QVERIFY2(text.startsWith(
                     QStringLiteral("Файл не сформирован: декларация не соответствует формату 3-НДФЛ 5.14.")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Элемент «НПФЛ3», атрибут «Тлф»: значение длиннее 20 знаков")),
                 qPrintable(text));
        QVERIFY(w->menuBar()->isEnabled());
    }

    // Without an INN the user is told first, and the export still goes on.
    void exportWithoutInn() {
        auto w = fx.window();
        Declaration& d = w->document();
        kv::test::completeReturn(d);
        d.person.inn.clear();
        d.person.birthPlace = cp("г. Москва");
        d.person.identityDocCode = 21;
        d.person.identityDocNumber = "45 09 123456";
        d.person.identityDocDate = *DateValue::fromYmd(2010, 5, 14);
        d.person.identityDocIssuer = cp("ОВД");
        fx.asker.expect(QStringLiteral("innNotice"), QStringLiteral("Закрыть"))
            .expectFile(QStringLiteral("exportFolder"), std::nullopt);
        w->exportDoc();
        const Question& notice = fx.asker.questions().first();
        QCOMPARE(notice.form, QuestionForm::HelpNotice);
        QVERIFY(notice.helpTopic.isEmpty());
        QVERIFY(notice.text.startsWith(QStringLiteral("В Вашей декларации не указан ИНН.")));
        QVERIFY(w->centralWidget()->isEnabled());
    }

    // A folder the program cannot write into is named as the cause; a failure of the
    // person's folder never sends them to the developers.
    void exportIntoFolderThatCannotBeWritten_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("gone since it was chosen") << false;
        QTest::newRow("read-only") << true;
    }

    void exportIntoFolderThatCannotBeWritten() {
        QFETCH(bool, readOnly);
        if (readOnly && geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        auto w = fx.window();
        kv::test::completeReturn(w->document());
        const QString folder = fx.path(QStringLiteral("ro"));
        if (readOnly) {
            QDir().mkdir(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        fx.asker.expectFile(QStringLiteral("exportFolder"), folder)
            .expect(QStringLiteral("exportResult"), "OK");
        w->exportDoc();
        if (readOnly)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(fx.asker.textOf(QStringLiteral("exportResult")),
                 QStringLiteral("Не удалось сохранить файл в указанный каталог. Выберите другой каталог или "
                                "запускайте программу с правами администратора."));
        QVERIFY(w->menuBar()->isEnabled());
    }

    // Both commands check first, then hand the module the return's XML text with the
    // tax office's name and the program's folder; a module failure is shown.
    void printAndPreview() {
        auto w = fx.window();
        fx.asker.expect(QStringLiteral("TfmCheckAllError"), "Отмена");
        w->printDoc();
        QVERIFY(fx.printJob.calls.isEmpty());

        kv::test::completeReturn(w->document());
        w->document().inspectionName = cp("Инспекция № 1");
        w->previewDoc();
        w->printDoc();
        QCOMPARE(fx.printJob.calls.size(), 2);
        QVERIFY(fx.printJob.calls[0].preview);
        QVERIFY(!fx.printJob.calls[1].preview);
        for (const auto& call : fx.printJob.calls) {
            QCOMPARE(call.inspectionName, cp("Инспекция № 1"));
            QCOMPARE(QString::fromStdString(call.programFolder), fx.folder());
            QVERIFY(call.xml.starts_with("<?xml"));
            QVERIFY(call.xml.find(cp("НДФЛ3").bytes()) != std::string::npos);
        }
        QVERIFY(fx.printJob.calls[0].xml == fx.printJob.calls[1].xml);
        // A return without a file yet: a print to a file proposes the taxpayer's name.
        QCOMPARE(fx.printJob.calls[1].outputName, QStringLiteral("Петров 2019"));

        fx.printJob.failure = cp("Принтер не отвечает");
        fx.asker.expect(QStringLiteral("printFailed"), "OK");
        w->printDoc();
        QCOMPARE(fx.asker.textOf(QStringLiteral("printFailed")), QStringLiteral("Принтер не отвечает"));
        QVERIFY(w->menuBar()->isEnabled());
        QVERIFY(w->centralWidget()->isEnabled());
    }

    void helpWithoutItsPages() {
        auto w = fx.window();
        fx.asker.expect(QStringLiteral("helpMissing"), "OK");
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w->currentScreen(), Qt::Key_F1);
        QCOMPARE(fx.asker.textOf(QStringLiteral("helpMissing")),
                 QStringLiteral("Не найден файл справки ") + fx.path(QStringLiteral("help/InitialData.htm")));
        QCOMPARE(w->helpWindow(), nullptr);
    }

    void helpOpensItsTopics() {
        QDir(fx.folder()).mkdir(QStringLiteral("help"));
        for (const QString& page : QDir(QStringLiteral(KV_HELP_DIR)).entryList(QDir::Files))
            QFile::copy(QStringLiteral(KV_HELP_DIR "/") + page, fx.path(QStringLiteral("help/") + page));
        auto w = fx.window();
        action(*w, "Help")->trigger();
        QVERIFY(w->helpWindow() != nullptr);
        QCOMPARE(w->helpWindow()->currentTopic(), QStringLiteral("runprogramm.htm"));
        QVERIFY(w->helpWindow()->isMaximized());
        w->showHelpTopic(QStringLiteral("StandartDeductions.htm"));
        QCOMPARE(w->helpWindow()->currentTopic(), QStringLiteral("StandartDeductions.htm"));
        w->helpWindow()->close();
    }

    // The help window closes from the keyboard, as other help windows do.
    void helpClosesFromTheKeyboard_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void helpClosesFromTheKeyboard() {
        QFETCH(QKeySequence, keys);
        QDir(fx.folder()).mkdir(QStringLiteral("help"));
        QVERIFY(QFile::copy(QStringLiteral(KV_HELP_DIR "/runprogramm.htm"),
                            fx.path(QStringLiteral("help/runprogramm.htm"))));
        auto w = fx.window();
        w->showHelpContents();
        HelpWindow* help = w->helpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keySequence(QApplication::focusWidget(), keys);
        QVERIFY(!help->isVisible());
    }

    // Every page the program names exists, and every link between pages leads somewhere.
    void helpPagesHold() {
        const QDir help(QStringLiteral(KV_HELP_DIR));
        for (const char* page : {"runprogramm.htm", "EditSOUN.htm", "StandartDeductions.htm"})
            QVERIFY2(help.exists(QString::fromLatin1(page)), page);
        const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
        for (const QString& page : help.entryList({QStringLiteral("*.htm")}, QDir::Files)) {
            const QString text = QString::fromUtf8(kv::test::fileBytes(help.filePath(page)));
            QVERIFY2(text.contains(QStringLiteral("<title>")), qPrintable(page));
            for (auto it = link.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(help.exists(target), qPrintable(page + QStringLiteral(" -> ") + target));
            }
        }
    }

    // A tax-office file that exists but cannot be read ends the program after start-up.
    void unreadableTaxOfficeFile() {
        kv::test::writeBytes(fx.path(QStringLiteral("InspectionNumbers.xml")), "<not xml");
        fx.asker.expect(QStringLiteral("directoryFailed"), "OK");
        auto w = fx.window();
        QVERIFY(w->mustQuit());
        QVERIFY(fx.asker.textOf(QStringLiteral("directoryFailed"))
                    .startsWith(QStringLiteral("Поменяйте язык и региональные стандарты ОС на русские.")));
    }

    void directoryFilesAreLoaded() {
        kv::test::writeBytes(fx.path(QStringLiteral("InspectionNumbers.xml")),
                             "<?xml version=\"1.0\" encoding=\"windows-1251\"?><Root><Item Code=\"7701\">"
                             "\xc8\xd4\xcd\xd1</Item></Root>");
        auto w = fx.window();
        QVERIFY(!w->mustQuit());
        QVERIFY(w->directories().inspections.has_value());
        QVERIFY(!w->directories().countries.has_value());
    }
};

KV_QTEST_MAIN(WindowTest)

#include "window_test.moc"
