// The window as a desktop program: sections and help from the keyboard, the standard
// shortcuts, the recent files, the unsaved-changes mark, the recovery copy kept through
// a crash, help found in an installed layout, and Qt's own words in Russian.
#include "ModalAnswers.h"
#include "ShellFixture.h"
#include "screens/ScreenContainer.h"
#include "screens/Sections.h"
#include "screens/kit/Mnemonics.h"
#include "screens/pickers/SounImportDialog.h"
#include "shell/AboutDialog.h"
#include "shell/CommandLine.h"
#include "shell/FileNames.h"
#include "shell/HelpWindow.h"
#include "shell/RecentFiles.h"
#include "shell/Recovery.h"
#include "shell/SplashWindow.h"
#include "shell/Translations.h"
#include "shell/WindowSettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTranslator>
#include <QUrl>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace kv;
using kv::test::cp;

Q_DECLARE_METATYPE(kv::Section)
Q_DECLARE_METATYPE(kv::ScreenId)

namespace {

QAction* action(QWidget& w, const QString& name) {
    return w.findChild<QAction*>(name);
}

QMenu* recentMenu(QWidget& w) {
    return w.findChild<QMenu*>(QStringLiteral("mnRecentFiles"));
}

QStringList recentItems(QWidget& w) {
    QStringList items;
    for (QAction* a : recentMenu(w)->actions())
        items.append(a->text());
    return items;
}

// The return's bytes as the storage writes them: equal bytes, equal documents.
QByteArray bytesOf(const Declaration& d, const QString& scratch) {
    d.saveToFile(QFile::encodeName(scratch).toStdString());
    return kv::test::fileBytes(scratch);
}

// The widgets a keyboard user reaches with Tab from the first focus. A label with links
// keeps the focus for one Tab per link, so the walk goes several times round.
QSet<QWidget*> reachedByTab() {
    QSet<QWidget*> reached;
    for (int i = 0; i < 64 && QApplication::focusWidget() != nullptr; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return reached;
}

// Every widget of the dialog that takes focus from the keyboard.
QSet<QWidget*> focusable(QDialog& dialog) {
    QSet<QWidget*> widgets;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0)
            widgets.insert(w);
    }
    return widgets;
}

void copyHelpPages(const QString& folder) {
    QDir().mkpath(folder);
    for (const QString& page : QDir(QStringLiteral(KV_HELP_DIR)).entryList(QDir::Files))
        QFile::copy(QStringLiteral(KV_HELP_DIR "/") + page, folder + page);
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

    kv::test::ShellFixture fx;

private slots:
    void init() { fx.begin(); }
    void cleanup() {
        fx.end();
        KV_VERIFY_ASKER(fx.asker);
    }

    void fileShortcuts() {
        auto w = fx.window();
        const std::pair<const char*, QKeySequence> shortcuts[] = {
            {"CreateDoc", QKeySequence(QStringLiteral("Ctrl+N"))},
            {"OpenDoc", QKeySequence(QStringLiteral("Ctrl+O"))},
            {"SaveDoc", QKeySequence(QStringLiteral("Ctrl+S"))},
            {"SaveAsDoc", QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
            {"PrintDoc", QKeySequence(QStringLiteral("Ctrl+P"))},
            {"Quit", QKeySequence(QStringLiteral("Ctrl+Q"))},
            {"ScreenHelp", QKeySequence(QStringLiteral("F1"))},
            {"PreviewDoc", QKeySequence(QStringLiteral("Ctrl+Shift+P"))},
            {"ExportDoc", QKeySequence(QStringLiteral("Ctrl+E"))},
            {"CheckDoc", QKeySequence(QStringLiteral("F7"))},
            {"ResultDoc", QKeySequence(QStringLiteral("F9"))},
            {"OpenSettings", QKeySequence(QStringLiteral("Ctrl+,"))},
            {"OpenMenuBar", QKeySequence(QStringLiteral("F10"))},
            {"About", QKeySequence(QStringLiteral("Ctrl+Shift+F1"))},
        };
        for (const auto& [name, keys] : shortcuts)
            QCOMPARE(action(*w, QString::fromLatin1(name))->shortcut(), keys);

        // A key does one thing: no two commands of the window share one.
        QMap<QString, QString> taken;
        for (QAction* a : w->findChildren<QAction*>()) {
            for (const QKeySequence& keys : a->shortcuts()) {
                QVERIFY2(!taken.contains(keys.toString()),
                         qPrintable(keys.toString() + QLatin1Char(' ') + a->objectName() + QLatin1Char('/') +
                                    taken.value(keys.toString())));
                taken.insert(keys.toString(), a->objectName());
            }
        }
    }

    // The menus from the keyboard: each menu of the bar and each of its items has an Alt
    // letter, none twice in its bar or menu (items added later get theirs when their menu
    // opens); F10 opens the bar, Ctrl+, the settings.
    void menusFromTheKeyboard() {
        auto w = fx.window();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        fx.writeReturn(QStringLiteral("a.qv9"));
        w->recentFiles().add(fx.path(QStringLiteral("a.qv9")));
        const auto distinctLetters = [](const QList<QAction*>& actions) {
            QMap<QString, QString> letters;
            for (QAction* a : actions) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                const QString letter = QKeySequence::mnemonic(a->text()).toString();
                QVERIFY2(!letter.isEmpty(), qPrintable(a->text()));
                QVERIFY2(!letters.contains(letter),
                         qPrintable(a->text() + QLatin1Char('/') + letters.value(letter)));
                letters.insert(letter, a->text());
            }
        };
        distinctLetters(w->menuBar()->actions());
        for (QMenu* menu : w->findChildren<QMenu*>()) {
            emit menu->aboutToShow();
            distinctLetters(menu->actions());
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(w->menuBar()->actions().first()->text(), QStringLiteral("&Файл"));

        const std::pair<QKeySequence, const char*> openers[] = {
            {QKeySequence(Qt::Key_F10), "mnFile"}, {QKeySequence(QStringLiteral("Ctrl+,")), "mnSettings"}};
        for (const auto& [keys, name] : openers) {
            auto* menu = w->findChild<QMenu*>(QString::fromLatin1(name));
            QTest::keySequence(w.get(), keys);
            QVERIFY2(menu->isVisible(), name);
            menu->hide();
        }
    }

    // "О программе" names the version, the terms of use and the folders the directories
    // and help are read from.
    void aboutTellsTheVersionAndTheFolders() {
        auto w = fx.window();
        kv::test::whenModal(QStringLiteral("TfmAbout"), [this](QDialog& about) {
            const auto text = [&about](const char* name) {
                auto* label = about.findChild<QLabel*>(QString::fromLatin1(name));
                return label != nullptr && label->isVisibleTo(&about) ? label->text() : QString();
            };
            if (!text("lblVersion").contains(QStringLiteral(KV_VERSION)))
                kv::test::noteFailure(QStringLiteral("version: ") + text("lblVersion"));
            if (text("lblLicence").isEmpty())
                kv::test::noteFailure(QStringLiteral("no licence"));
            for (const QString& folder : {fx.userFolder(), fx.folder()}) {
                if (!text("lblDataFolders").contains(QDir::toNativeSeparators(folder)))
                    kv::test::noteFailure(QStringLiteral("folders: ") + text("lblDataFolders"));
            }
            QTest::keyClick(&about, Qt::Key_Escape);
        });
        w->showAbout();
        KV_VERIFY_MODALS();
    }

    // Save As proposes the return's own name (a file of an earlier year as ".qv9"), or
    // the taxpayer's for a return without a file.
    void saveAsProposesTheReturnsName() {
        const std::pair<QString, QString> proposals[] = {
            {QString(), QStringLiteral("Декларация 2019.qv9")},
            {QStringLiteral("surname"), QStringLiteral("Петров 2019.qv9")},
            {QStringLiteral("ivanova2019.qv9"), QStringLiteral("ivanova2019.qv9")},
            {QStringLiteral("old.qv8"), QStringLiteral("old.qv9")},
        };
        for (const auto& [file, proposed] : proposals) {
            auto window = file.isEmpty() || file == QStringLiteral("surname")
                              ? fx.window()
                              : fx.window(fx.writeReturn(file));
            if (file == QStringLiteral("surname"))
                window->document().person.surname = cp("Петров");
            fx.asker.expectFile(QStringLiteral("saveReturn"), std::nullopt);
            QVERIFY(!window->saveReturnAs());
            QCOMPARE(fx.asker.fileQuestions().last().fileName, proposed);
        }
    }

    // A return's file dropped on the window, on a field too, opens after the save question;
    // a drag of anything but one file is left to the field.
    void aDroppedFileOpens() {
        const QString file =
            fx.writeReturn(QStringLiteral("dropped.qv9"), [](Declaration& d) { d.inspectionCode = "7701"; });
        auto w = fx.window(std::nullopt, &ScreenRegistry::standard());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("meOKATO")) != nullptr);
        // A drag enters a field of the screen shown, then drops where it entered.
        const auto drag = [&](const QMimeData& data) {
            QWidget* field = w->findChild<QWidget*>(QStringLiteral("meOKATO"));
            const QPoint at = field->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &drop);
            return true;
        };
        QMimeData returnFile;
        returnFile.setUrls({QUrl::fromLocalFile(file)});

        // The return opens once the drop is over, which the window learns from its events.
        const auto asked = [this](qsizetype n) {
            return QTest::qWaitFor([this, n] { return fx.asker.questions().size() == n; });
        };
        w->documentChanged();
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Отмена"));
        QVERIFY(drag(returnFile));
        QVERIFY(asked(1));
        QVERIFY(w->documentPath().isEmpty());

        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"));
        QVERIFY(drag(returnFile));
        QVERIFY(asked(2));
        QVERIFY(QTest::qWaitFor([&] { return w->documentPath() == file; }));
        QCOMPARE(w->document().inspectionCode, Cp1251Text{"7701"});

        QMimeData twoFiles;
        twoFiles.setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(file)});
        twoFiles.setText(QStringLiteral("1"));
        QMimeData folder;
        folder.setUrls({QUrl::fromLocalFile(fx.folder())});
        for (const QMimeData* data : {&twoFiles, &folder}) {
            drag(*data);
            QCoreApplication::processEvents();
            QCOMPARE(w->documentPath(), file);
            QCOMPARE(fx.asker.questions().size(), 2);
        }
    }

    // The window opens where and as large as it was closed; a place no screen shows any
    // more is not taken.
    void windowComesBackWhereItWas() {
        {
            auto w = fx.window();
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            w->resize(900, 600);
            w->move(40, 30);
            QVERIFY(w->close());
        }
        {
            auto again = fx.window();
            QCOMPARE(again->size(), QSize(900, 600));
            QCOMPARE(again->pos(), QPoint(40, 30));
            again->show();
            again->showMaximized();
            QVERIFY(again->close());
        }
        {
            auto maximized = fx.window();
            QVERIFY(maximized->windowState().testFlag(Qt::WindowMaximized));
            QCOMPARE(maximized->normalGeometry().size(), QSize(900, 600));
        }
        const std::unique_ptr<QSettings> settings = openProgramSettings();
        settings->setValue(QStringLiteral("FullScreen"), false);
        settings->setValue(QStringLiteral("wLeft"), -20000);
        settings->setValue(QStringLiteral("wTop"), -20000);
        settings->sync();
        auto lost = fx.window();
        QCOMPARE(lost->size(), QSize(900, 600));
        QVERIFY(lost->pos().x() > -20000);
    }

    // Ctrl+digit: the sections in the order of their buttons. A disabled section stays
    // where it is, and so does a screen whose check finds a fault.
    void sectionsFromTheKeyboard_data() {
        QTest::addColumn<int>("digit");
        QTest::addColumn<Section>("section");
        QTest::addColumn<bool>("reached");
        QTest::newRow("Ctrl+2") << 2 << Section::Taxpayer << true;
        QTest::newRow("Ctrl+3") << 3 << Section::RussianIncome << true;
        QTest::newRow("Ctrl+4 disabled") << 4 << Section::ForeignIncome << false;
        QTest::newRow("Ctrl+6") << 6 << Section::Deductions << true;
        QTest::newRow("Ctrl+7 hidden") << 7 << Section::InvestmentPartnership << false;
    }
    void sectionsFromTheKeyboard() {
        QFETCH(int, digit);
        QFETCH(Section, section);
        QFETCH(bool, reached);
        auto w = fx.window();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(action(*w, QStringLiteral("miGo%1").arg(digit))->text().remove(QLatin1Char('&')),
                 sectionButton(section).caption);
        QTest::keyClick(w.get(), static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::ControlModifier);
        QCOMPARE(w->currentSection(), reached ? section : Section::InitialData);
        QCOMPARE(w->sectionButtonWidget(section)->isChecked(), reached);
        if (!reached)
            return;
        QTest::keyClick(w.get(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(w->currentSection(), Section::InitialData);

        fx.probes[ScreenId::InitialData].checkResult = 1;
        QTest::keyClick(w.get(), static_cast<Qt::Key>(Qt::Key_0 + digit), Qt::ControlModifier);
        QCOMPARE(w->currentSection(), Section::InitialData);
    }

    // F1 opens the page of the screen shown, or of its inner screen; here the pages lie
    // where an installed program keeps them, ../share/kvilmar/help beside bin.
    void helpOfTheScreenShown_data() {
        QTest::addColumn<Section>("section");
        QTest::addColumn<std::optional<ScreenId>>("inner");
        QTest::addColumn<QString>("topic");
        QTest::newRow("initial data")
            << Section::InitialData << std::optional<ScreenId>() << "InitialData.htm";
        QTest::newRow("taxpayer") << Section::Taxpayer << std::optional<ScreenId>() << "PersonInfo.htm";
        QTest::newRow("incomes") << Section::RussianIncome << std::optional<ScreenId>(ScreenId::NinePercent)
                                 << "RussianIncome.htm";
        QTest::newRow("deductions") << Section::Deductions << std::optional<ScreenId>() << "Deductions.htm";
        QTest::newRow("standard deductions")
            << Section::Deductions << std::optional<ScreenId>(ScreenId::StandardDeduction)
            << "StandartDeductions.htm";
    }
    void helpOfTheScreenShown() {
        QFETCH(Section, section);
        QFETCH(std::optional<ScreenId>, inner);
        QFETCH(QString, topic);
        copyHelpPages(fx.path(QStringLiteral("share/kvilmar/help/")));
        fx.programFolder = fx.path(QStringLiteral("bin/"));
        auto w = fx.window();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->switchSection(section);
        if (inner.has_value())
            qobject_cast<ScreenContainer*>(w->currentScreen())->openInner(*inner);
        QTest::keyClick(w->currentScreen(), Qt::Key_F1);
        QVERIFY(w->helpWindow() != nullptr);
        QCOMPARE(w->helpWindow()->currentTopic(), topic);
        w->helpWindow()->close();
    }

    // Every screen's page is one the program ships.
    void everyScreenHasItsPage() {
        const QDir help(QStringLiteral(KV_HELP_DIR));
        for (const ScreenInfo& row : ScreenRegistry::standard().rows()) {
            const QString topic = MainWindow::helpTopicOf(row.id);
            QVERIFY2(help.exists(topic), qPrintable(topic));
        }
    }

    // Opened and saved returns go first in the list; a file that is gone is dropped from
    // the menu and from the settings; an item opens its return after the save question.
    void recentFiles() {
        QVERIFY(!recentMenu(*fx.window())->isEnabled());
        const QString a = fx.writeReturn(QStringLiteral("a.qv9"));
        const QString b =
            fx.writeReturn(QStringLiteral("b.qv9"), [](Declaration& d) { d.inspectionCode = "7701"; });
        const QString gone = fx.writeReturn(QStringLiteral("gone.qv9"));
        {
            auto w = fx.window(gone);
            QCOMPARE(recentItems(*w), QStringList{"&1 gone.qv9"});
        }
        {
            auto w = fx.window(a);
            fx.asker.expectFile(QStringLiteral("saveReturn"), fx.path(QStringLiteral("c.qv9")));
            QVERIFY(w->saveReturnAs());
            QCOMPARE(recentItems(*w), (QStringList{"&1 c.qv9", "&2 a.qv9", "&3 gone.qv9"}));
        }
        QFile::remove(gone);
        auto w = fx.window(b);
        QCOMPARE(recentItems(*w), (QStringList{"&1 b.qv9", "&2 c.qv9", "&3 a.qv9"}));
        QCOMPARE(fx.setting(QStringLiteral("RecentFiles")).toStringList(),
                 (QStringList{b, fx.path(QStringLiteral("c.qv9")), a}));

        w->documentChanged();
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"));
        recentMenu(*w)->actions().at(2)->trigger();
        QCOMPARE(w->documentPath(), a);
        QVERIFY(w->document().inspectionCode.empty());
        QVERIFY(w->documentSaved());
        QCOMPARE(recentItems(*w).first(), QStringLiteral("&1 a.qv9"));
    }

    // Settings live under an ASCII path; those of an earlier version are taken over once.
    void settingsOfAnEarlierVersionAreTakenOver() {
        const QString a = fx.writeReturn(QStringLiteral("a.qv9"));
        {
            QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ЗЕНТАР"),
                              QStringLiteral("Квилмар 2019"));
            earlier.setValue(QStringLiteral("RecentFiles"), QStringList{a});
            earlier.setValue(QStringLiteral("TextLabels"), false);
        }
        auto w = fx.window();
        QCOMPARE(recentItems(*w), QStringList{"&1 a.qv9"});
        QVERIFY(!readToolbarSettings().textLabels);
        QVERIFY(openProgramSettings()->fileName().endsWith(QStringLiteral("/kvilmar/kvilmar.conf")));
        // Taken once: the new file is the settings from now on.
        writeToolbarSetting(QStringLiteral("TextLabels"), true);
        QVERIFY(readToolbarSettings().textLabels);
    }

    // The splash holds nobody up: it goes at a key or a click anywhere, when a question
    // is shown, and after its time.
    void splashNeverHoldsAPersonUp_data() {
        QTest::addColumn<QString>("what");
        for (const char* what : {"key", "click", "dialog", "time"})
            QTest::newRow(what) << QString::fromLatin1(what);
    }

    void splashNeverHoldsAPersonUp() {
        QFETCH(QString, what);
        const bool timed = what == QLatin1String("time");
        SplashWindow splash(timed ? std::chrono::milliseconds(0) : std::chrono::milliseconds(3600 * 1000));
        splash.showAndPaint();
        QVERIFY(timed || splash.isVisible());
        QWidget window;
        QDialog question;
        if (what == QLatin1String("key"))
            QTest::keyClick(&window, Qt::Key_A);
        else if (what == QLatin1String("click"))
            QTest::mouseClick(&window, Qt::LeftButton);
        else if (what == QLatin1String("dialog"))
            question.show();
        QTRY_VERIFY(!splash.isVisible());
    }

    // Two returns of one name in different folders are told apart by their folders; a name
    // met once stays short.
    void recentFilesOfOneNameShowTheirFolders() {
        QVERIFY(QDir().mkpath(fx.path(QStringLiteral("one"))));
        QVERIFY(QDir().mkpath(fx.path(QStringLiteral("two"))));
        for (const char* name : {"one/a.qv9", "b.qv9", "two/a.qv9"})
            fx.window(fx.writeReturn(QString::fromLatin1(name)));
        auto w = fx.window();
        const QString one = QDir::toNativeSeparators(fx.path(QStringLiteral("one")));
        const QString two = QDir::toNativeSeparators(fx.path(QStringLiteral("two")));
        QCOMPARE(recentItems(*w),
                 (QStringList{"&1 a.qv9 (" + two + ")", "&2 b.qv9", "&3 a.qv9 (" + one + ")"}));
    }

    // A return whose name is not UTF-8 (Windows-1251 bytes, as unpacked from an archive made
    // on Windows) opens from the command line, shows its name readably, and is saved back
    // under the same bytes.
    void aNameThatIsNotUtf8OpensAndIsSavedBack() {
        const QByteArray file = QFile::encodeName(fx.folder()) + "\xCF\xF0\xE8\xEC\xE5\xF0.qv9"; // "Пример"
        Declaration d = kv::test::newReturn();
        d.inspectionCode = "7701";
        d.saveToFile(file.toStdString());
        QByteArray program = "kvilmar";
        QByteArray argument = file;
        char* argv[] = {program.data(), argument.data()};

        auto w = fx.window(commandLinePath(argumentsFromBytes(2, argv)));
        QCOMPARE(w->document().inspectionCode, Cp1251Text{"7701"});
        QCOMPARE(w->windowTitle(), QStringLiteral("Пример.qv9[*] - Квилмар 2019"));
        QCOMPARE(recentItems(*w), QStringList{"&1 Пример.qv9"});
        w->document().inspectionCode = "7702";
        w->documentChanged();
        QVERIFY(w->saveReturn());
        Declaration saved(kv::test::testClock());
        saved.loadFromFile(file.toStdString());
        QCOMPARE(saved.inspectionCode, Cp1251Text{"7702"});
        // No second file beside it under a name Qt made up; Qt cannot remove this one itself.
        int returns = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(QFile::encodeName(fx.folder()).toStdString()))
            returns += entry.path().extension() == ".qv9" ? 1 : 0;
        QCOMPARE(returns, 1);
        QCOMPARE(::unlink(file.constData()), 0);
    }

    // A user's folder where nothing can be written (a read-only home) is told once, at
    // start-up, naming what is lost: the recovery copies, the recent files or both. No
    // further message comes with the changes that would have been copied.
    void aUserFolderThatCannotBeWrittenIsToldOnce_data() {
        QTest::addColumn<bool>("copiesLost");
        QTest::addColumn<bool>("recentLost");
        QTest::newRow("recovery copies") << true << false;
        QTest::newRow("recent files") << false << true;
        QTest::newRow("both") << true << true;
    }
    void aUserFolderThatCannotBeWrittenIsToldOnce() {
        QFETCH(bool, copiesLost);
        QFETCH(bool, recentLost);
        // Under a plain file nothing can be made, whoever runs the test.
        kv::test::writeBytes(fx.path(QStringLiteral("blocked")), "x");
        const QString blocked = fx.path(QStringLiteral("blocked/kvilmar/"));
        const struct Restore {
            QString settings;
            ~Restore() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings); }
        } restore{fx.settingsFolder()};
        if (copiesLost)
            fx.userDataFolder = blocked;
        if (recentLost)
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocked);
        fx.recoveryDelayMs = 0;

        fx.asker.expect(QStringLiteral("userFolderReadOnly"), QStringLiteral("OK"));
        auto w = fx.window(fx.writeReturn(QStringLiteral("a.qv9")));
        const QString told = fx.asker.textOf(QStringLiteral("userFolderReadOnly"));
        QVERIFY2(told.startsWith(QStringLiteral("Папка пользователя недоступна для записи")),
                 qPrintable(told));
        QCOMPARE(told.contains(QStringLiteral("копии несохранённых изменений")), copiesLost);
        QCOMPARE(told.contains(QStringLiteral("список последних файлов")), recentLost);
        w->documentChanged();
        QCOMPARE(w->recovery().writeNow(), !copiesLost);
        QVERIFY(w->saveReturn());
        KV_VERIFY_ASKER(fx.asker);
    }

    void titleMarksUnsavedChanges() {
        auto w = fx.window(fx.writeReturn(QStringLiteral("typical.qv9")));
        QCOMPARE(w->windowTitle(), QStringLiteral("typical.qv9[*] - Квилмар 2019"));
        QVERIFY(!w->isWindowModified());
        w->documentChanged();
        QVERIFY(w->isWindowModified());
        QVERIFY(w->saveReturn());
        QVERIFY(!w->isWindowModified());
    }

    // A change, then the program killed (the window destroyed without closing): the next
    // start restores exactly the changed return, under its own path (none for a return
    // never saved), unsaved, and the person's file is untouched until the person saves.
    void changesSurviveACrash_data() {
        QTest::addColumn<bool>("named");
        QTest::newRow("a return from its file") << true;
        QTest::newRow("a new return never saved") << false;
    }
    void changesSurviveACrash() {
        QFETCH(bool, named);
        const QString file = named ? fx.writeReturn(QStringLiteral("typical.qv9")) : QString();
        const QByteArray onDisk = named ? kv::test::fileBytes(file) : QByteArray();
        const std::optional<QString> start = named ? std::optional<QString>(file) : std::nullopt;
        fx.recoveryDelayMs = 20;
        QByteArray changed;
        QString copy;
        {
            auto w = fx.window(start);
            w->document().person.surname = cp("Сидоров");
            w->document().inspectionCode = "7702";
            w->documentChanged();
            copy = w->recovery().copyFile();
            QVERIFY(copy.startsWith(fx.userFolder() + QStringLiteral("recovery/")));
            QTRY_VERIFY(QFile::exists(copy));
            changed = bytesOf(w->document(), fx.path(QStringLiteral("changed.scratch")));
        }
        if (named)
            QCOMPARE(kv::test::fileBytes(file), onDisk);

        fx.asker.expect(QStringLiteral("restoreRecovery"), QStringLiteral("Да"));
        auto w = fx.window(start);
        const QString question = fx.asker.textOf(QStringLiteral("restoreRecovery"));
        QVERIFY2(question.contains(named ? file : QStringLiteral("новой декларации без имени")),
                 qPrintable(question));
        QVERIFY(question.endsWith(QStringLiteral("Восстановить несохранённые изменения?")));
        QCOMPARE(bytesOf(w->document(), fx.path(QStringLiteral("restored.scratch"))), changed);
        QCOMPARE(w->documentPath(), file);
        QVERIFY(!w->documentSaved());
        QVERIFY(w->isWindowModified());
        if (named)
            QCOMPARE(kv::test::fileBytes(file), onDisk);
        // The old copy gave way to this window's own.
        QVERIFY(!QFile::exists(copy));
        QVERIFY(QFile::exists(w->recovery().copyFile()));

        const QString saved = named ? file : fx.path(QStringLiteral("new.qv9"));
        if (!named)
            fx.asker.expectFile(QStringLiteral("saveReturn"), saved);
        QVERIFY(w->saveReturn());
        QVERIFY(!QFile::exists(w->recovery().copyFile()));
        QCOMPARE(kv::test::fileBytes(saved), changed);
    }

    // A program started by a relative path, killed, and started again from another folder
    // (as from the desktop menu): the copy goes back to the return it was taken from, not to
    // the file of that name in the new working folder, and the question names the file and
    // when the copy was made.
    void aCopyGoesBackToItsOwnFileFromAnyFolder() {
        const struct Restore {
            QString folder = QDir::currentPath();
            ~Restore() { QDir::setCurrent(folder); }
        } restore;
        QVERIFY(QDir().mkpath(fx.path(QStringLiteral("first/work"))));
        QVERIFY(QDir().mkpath(fx.path(QStringLiteral("second/work"))));
        const QString own = fx.writeReturn(QStringLiteral("first/work/X.qv9"));
        const QString other = fx.writeReturn(QStringLiteral("second/work/X.qv9"),
                                             [](Declaration& d) { d.person.surname = cp("Другой"); });
        const QByteArray otherBytes = kv::test::fileBytes(other);
        fx.recoveryDelayMs = 20;
        QVERIFY(QDir::setCurrent(fx.path(QStringLiteral("first"))));
        {
            auto w = fx.window(QStringLiteral("work/X.qv9"));
            w->document().inspectionCode = "7702";
            w->documentChanged();
            QTRY_VERIFY(QFile::exists(w->recovery().copyFile()));
            QFile copy(w->recovery().copyFile());
            QVERIFY(copy.open(QIODevice::ReadWrite));
            QVERIFY(copy.setFileTime(QDateTime(QDate(2020, 3, 5), QTime(14, 7)),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir::setCurrent(fx.path(QStringLiteral("second"))));
        fx.asker.expect(QStringLiteral("restoreRecovery"), QStringLiteral("Да"));
        auto w = fx.window();
        const QString question = fx.asker.textOf(QStringLiteral("restoreRecovery"));
        QVERIFY2(question.contains(own), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("05.03.2020 в 14:07")), qPrintable(question));
        QCOMPARE(w->documentPath(), own);
        QVERIFY(w->saveReturn());
        QCOMPARE(kv::test::fileBytes(other), otherBytes);
        Declaration saved(kv::test::testClock());
        saved.loadFromFile(QFile::encodeName(own).toStdString());
        QCOMPARE(saved.inspectionCode, Cp1251Text{"7702"});
    }

    // A copy taken before the file was saved again elsewhere: restoring it never replaces
    // the newer file; the copy opens without a name and both are kept.
    void aCopyOlderThanItsFileOpensWithoutAName() {
        const QString file = fx.writeReturn(QStringLiteral("a.qv9"));
        {
            auto w = fx.window(file);
            w->document().inspectionCode = "7702";
            w->documentChanged();
            QVERIFY(w->recovery().writeNow());
        }
        fx.writeReturn(QStringLiteral("a.qv9"), [](Declaration& d) { d.person.surname = cp("Новее"); });
        const QByteArray newer = kv::test::fileBytes(file);

        fx.asker.expect(QStringLiteral("restoreRecovery"), QStringLiteral("Да"));
        auto w = fx.window();
        const QString question = fx.asker.textOf(QStringLiteral("restoreRecovery"));
        QVERIFY2(question.contains(QStringLiteral("С тех пор файл был изменён")), qPrintable(question));
        QVERIFY(w->documentPath().isEmpty());
        QCOMPARE(w->document().inspectionCode, Cp1251Text{"7702"});
        QVERIFY(!w->documentSaved());
        QCOMPARE(kv::test::fileBytes(file), newer);
    }

    // A return saved by another program while a window has it open: the other program's
    // save is not discarded by this window's save without a question, whose default is
    // "Нет"; once answered, saves go on quietly.
    void aFileSavedElsewhereIsNotReplacedWithoutAQuestion() {
        const QString file = fx.writeReturn(QStringLiteral("shared.qv9"));
        auto first = fx.window(file);
        fx.writeReturn(QStringLiteral("shared.qv9"), [](Declaration& d) { d.inspectionCode = "7702"; });
        const QByteArray secondsSave = kv::test::fileBytes(file);

        first->document().inspectionCode = "7703";
        first->documentChanged();
        fx.asker.expect(QStringLiteral("fileChangedElsewhere"), QStringLiteral("Нет"));
        QVERIFY(!first->saveReturn());
        QCOMPARE(kv::test::fileBytes(file), secondsSave);
        QVERIFY(!first->documentSaved());
        const Question& asked = fx.asker.questions().constLast();
        QCOMPARE(asked.answers.at(asked.defaultIndex), QStringLiteral("Нет"));
        QVERIFY2(asked.text.startsWith(QStringLiteral("Файл был изменён другой программой")),
                 qPrintable(asked.text));
        QVERIFY(asked.text.contains(file));

        fx.asker.expect(QStringLiteral("fileChangedElsewhere"), QStringLiteral("Да"));
        QVERIFY(first->saveReturn());
        first->document().inspectionCode = "7704";
        first->documentChanged();
        QVERIFY(first->saveReturn());
        Declaration saved(kv::test::testClock());
        saved.loadFromFile(QFile::encodeName(file).toStdString());
        QCOMPARE(saved.inspectionCode, Cp1251Text{"7704"});
    }

    // A return one window holds is neither opened by a second window, by any of the ways
    // in, nor written over by its Save As: the second says where the return is open. Once
    // the first window closes, the return opens anywhere.
    void aReturnOpenInAnotherWindowIsNotOpenedTwice() {
        const QString file =
            fx.writeReturn(QStringLiteral("held.qv9"), [](Declaration& d) { d.inspectionCode = "7701"; });
        const QByteArray onDisk = kv::test::fileBytes(file);
        auto first = fx.window(file);
        const QString name = QStringLiteral("Декларация уже открыта в другом окне программы:\n") + file;

        fx.asker.expect(QStringLiteral("fileHeldElsewhere"), QStringLiteral("OK"));
        auto second = fx.window(file);
        QVERIFY2(fx.asker.textOf(QStringLiteral("fileHeldElsewhere")).startsWith(name),
                 qPrintable(fx.asker.textOf(QStringLiteral("fileHeldElsewhere"))));
        QVERIFY(second->documentPath().isEmpty());
        QVERIFY(second->document().inspectionCode.empty());

        fx.asker.expectFile(QStringLiteral("openReturn"), file);
        fx.asker.expect(QStringLiteral("fileHeldElsewhere"), QStringLiteral("OK"));
        second->openReturn();
        QVERIFY(second->documentPath().isEmpty());

        // By another name of the same file, and from the recent files.
        QVERIFY(QFile::link(file, fx.path(QStringLiteral("link.qv9"))));
        fx.asker.expectFile(QStringLiteral("openReturn"), fx.path(QStringLiteral("link.qv9")));
        fx.asker.expect(QStringLiteral("fileHeldElsewhere"), QStringLiteral("OK"));
        second->openReturn();
        QVERIFY(second->documentPath().isEmpty());
        fx.asker.expect(QStringLiteral("fileHeldElsewhere"), QStringLiteral("OK"));
        second->openRecentFile(file);
        QVERIFY(second->documentPath().isEmpty());

        second->document().inspectionCode = "7702";
        second->documentChanged();
        fx.asker.expectFile(QStringLiteral("saveReturn"), file);
        fx.asker.expect(QStringLiteral("fileHeldElsewhere"), QStringLiteral("OK"));
        QVERIFY(!second->saveReturnAs());
        QCOMPARE(kv::test::fileBytes(file), onDisk);
        QVERIFY(!second->documentSaved());
        KV_VERIFY_ASKER(fx.asker);

        // The first window saves its own return as before.
        first->documentChanged();
        QVERIFY(first->saveReturn());
        QVERIFY(first->close());
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"));
        second->openRecentFile(file);
        QCOMPARE(second->documentPath(), file);
        QCOMPARE(second->document().inspectionCode, Cp1251Text{"7701"});
    }

    // A window gone without closing holds nothing: its return opens in the next window,
    // which still offers the changes that window left.
    void aKilledWindowHoldsNoReturn() {
        const QString file = fx.writeReturn(QStringLiteral("held.qv9"));
        const QString folder = fx.userFolder() + QStringLiteral("recovery/");
        QVERIFY(QDir().mkpath(folder));
        kv::test::writeBytes(folder + QStringLiteral("killed.qv9"), kv::test::fileBytes(file));
        kv::test::writeBytes(folder + QStringLiteral("killed.path"),
                             QStringLiteral("{\"path\":\"%1\",\"base\":\"\"}").arg(file).toUtf8());
        const pid_t child = ::fork();
        if (child == 0) {
            QLockFile lock(folder + QStringLiteral("killed.lock"));
            ::_exit(lock.tryLock(0) ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(status, 0);
        fx.asker.expect(QStringLiteral("restoreRecovery"), QStringLiteral("Нет"));
        auto w = fx.window(file);
        QCOMPARE(w->documentPath(), file);
    }

    // Refused, or closed normally: the copy goes and the next start asks nothing.
    void copyRefusedOrClosedIsGone_data() {
        QTest::addColumn<bool>("closeNormally");
        QTest::newRow("refused at the next start") << false;
        QTest::newRow("closed without saving") << true;
    }
    void copyRefusedOrClosedIsGone() {
        QFETCH(bool, closeNormally);
        const QString file = fx.writeReturn(QStringLiteral("a.qv9"));
        const QByteArray onDisk = kv::test::fileBytes(file);
        {
            auto w = fx.window(file);
            w->document().inspectionCode = "7702";
            w->documentChanged();
            QVERIFY(w->recovery().writeNow());
            if (closeNormally) {
                fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"));
                QVERIFY(w->close());
            }
        }
        if (!closeNormally)
            fx.asker.expect(QStringLiteral("restoreRecovery"), QStringLiteral("Нет"));
        {
            auto w = fx.window(file);
            QVERIFY(w->documentSaved());
            QVERIFY(w->document().inspectionCode.empty());
        }
        auto again = fx.window(file);
        QCOMPARE(kv::test::fileBytes(file), onDisk);
        QVERIFY(
            QDir(fx.userFolder() + QStringLiteral("recovery")).entryList({"*.qv9"}, QDir::Files).isEmpty());
    }

    // Windows killed before any change leave only their locks: the next start clears those,
    // and keeps the lock of a window still open.
    void locksOfKilledWindowsDoNotPileUp() {
        const QString folder = fx.userFolder() + QStringLiteral("recovery/");
        QVERIFY(QDir().mkpath(folder));
        for (int i = 0; i < 3; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                QLockFile lock(folder + QStringLiteral("killed-%1.lock").arg(i));
                ::_exit(lock.tryLock(0) ? 0 : 1);
            }
            int status = -1;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QCOMPARE(status, 0);
        }
        auto locks = [&] { return QDir(folder).entryList({QStringLiteral("*.lock")}, QDir::Files); };
        QCOMPARE(locks().size(), 3);
        auto lockOf = [](MainWindow& w) {
            return QFileInfo(w.recovery().copyFile()).completeBaseName() + QStringLiteral(".lock");
        };
        auto first = fx.window();
        auto second = fx.window();
        QStringList expected = {lockOf(*first), lockOf(*second)};
        expected.sort();
        QCOMPARE(locks(), expected);
    }

    // The copy of a window still open is not another window's to offer.
    void aLiveWindowsCopyIsNotOffered() {
        auto first = fx.window();
        first->documentChanged();
        QVERIFY(first->recovery().writeNow());
        auto second = fx.window();
        QVERIFY(second->documentSaved());
        QVERIFY(QFile::exists(first->recovery().copyFile()));
    }

    // Without a mouse: Tab reaches every control of the program's own dialogs, and each
    // of their buttons has its Alt+letter.
    void dialogsWithoutAMouse() {
        DialogMnemonics mnemonics;
        qApp->installEventFilter(&mnemonics);
        std::unique_ptr<QDialog> dialogs[] = {std::make_unique<AboutDialog>(fx.asker, nullptr),
                                              std::make_unique<SounImportDialog>(fx.asker, nullptr)};
        for (const auto& dialog : dialogs) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
            QVERIFY(QApplication::focusWidget() != nullptr);
            const QSet<QWidget*> all = focusable(*dialog);
            const QSet<QWidget*> reached = reachedByTab();
            for (QWidget* w : all)
                QVERIFY2(reached.contains(w),
                         qPrintable(dialog->objectName() + QLatin1Char('/') + w->objectName()));
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                QVERIFY2(!QKeySequence::mnemonic(b->text()).isEmpty(), qPrintable(b->text()));
            dialog->close();
        }
        qApp->removeEventFilter(&mnemonics);
    }

    void qtSpeaksRussian() {
        QTranslator* translator = installQtTranslations(*QCoreApplication::instance());
        if (translator == nullptr)
            QSKIP("Qt's translations (qt6-translations-l10n) are not installed");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Перейти к:"));
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
};

KV_QTEST_MAIN(DesktopTest)

#include "desktop_test.moc"
