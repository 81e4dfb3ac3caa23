// The open return's life: the command line, new, open, save, save as, the save
// question with each of its answers, and files that cannot be read.
#include "ModalAnswers.h"
#include "ShellFixture.h"
#include "core/StorageErrors.h"
#include "screens/Sections.h"
#include "screens/kit/UiText.h"
#include "shell/CommandLine.h"

#include <QAbstractButton>
#include <unistd.h>

using namespace kv;
using kv::test::cp;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// "[*]" is where Qt shows the mark of unsaved changes.
const QString kUntitled = QStringLiteral("Без имени[*] - Квилмар 2019");

QString titleOf(const QString& name) {
    return name + QStringLiteral("[*] - Квилмар 2019");
}

// Whether the window holds a new return as New makes it.
bool isNewReturn(MainWindow& w) {
    const Declaration& d = w.document();
    return d.inspectionCode.empty() && d.incomeFlags() == Declaration::kAgentIncomes &&
           d.sheetCountAutomatic == 1 && d.person.surname.empty() && d.person.citizenshipStatus == "1" &&
           w.documentPath().isEmpty() && w.windowTitle() == kUntitled && w.documentSaved() &&
           w.currentScreen()->objectName() == QStringLiteral("TfrInitialData");
}

} // namespace

class DocumentTest : public QObject {
    Q_OBJECT

    kv::test::ShellFixture fx;

private slots:
    void init() { fx.begin(); }
    void cleanup() {
        fx.end();
        KV_VERIFY_ASKER(fx.asker);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<std::optional<QString>>("path");
        QTest::newRow("none") << QStringList{} << std::optional<QString>();
        QTest::newRow("a path") << QStringList{"Return.qv9"} << std::optional<QString>("Return.qv9");
        QTest::newRow("-p and a path")
            << QStringList{"-p", "Return.qv9"} << std::optional<QString>("Return.qv9");
        QTest::newRow("-P and a path")
            << QStringList{"-P", "Return.qv9"} << std::optional<QString>("Return.qv9");
        QTest::newRow("-p alone") << QStringList{"-p"} << std::optional<QString>(QString());
        QTest::newRow("two paths") << QStringList{"a.qv9", "b.qv9"} << std::optional<QString>("a.qv9");
        QTest::newRow("three arguments") << QStringList{"-p", "a.qv9", "b.qv9"} << std::optional<QString>();
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(std::optional<QString>, path);
        QCOMPARE(commandLinePath(arguments), path);
    }

    void startWithAReturn_data() {
        QTest::addColumn<bool>("withSwitch");
        QTest::newRow("path alone") << false;
        QTest::newRow("after -P") << true;
    }

    void startWithAReturn() {
        QFETCH(bool, withSwitch);
        const QString file = fx.writeReturn(QStringLiteral("Возврат.qv9"), [](Declaration& d) {
            d.inspectionCode = "7701";
            d.declarationKind = 2;
            d.setIncomeFlags(Declaration::kBusinessIncomes);
        });
        const QStringList arguments = withSwitch ? QStringList{"-P", file} : QStringList{file};
        auto w = fx.window(commandLinePath(arguments));
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Возврат.qv9")));
        QCOMPARE(w->documentPath(), file);
        QCOMPARE(w->document().inspectionCode, Cp1251Text{"7701"});
        QVERIFY(w->documentSaved());
        QCOMPARE(w->currentScreen()->objectName(), QStringLiteral("TfrInitialData"));
        QVERIFY(w->sectionButtonWidget(Section::InitialData)->isChecked());
        // A 4-NDFL return with business incomes: only these sections open.
        QVERIFY(!w->sectionEnabled(Section::RussianIncome));
        QVERIFY(w->sectionEnabled(Section::BusinessIncome));
        QVERIFY(!w->sectionEnabled(Section::Deductions));
    }

    void startWithDashPAloneReportsTheRead() {
        fx.asker.expect(QStringLiteral("openFailed"), QStringLiteral("OK"));
        auto w = fx.window(commandLinePath({"-p"}));
        QVERIFY(fx.asker.textOf(QStringLiteral("openFailed"))
                    .startsWith(QStringLiteral("Ошибка чтения файла: ")));
        QVERIFY(isNewReturn(*w));
    }

    // Whatever is wrong with a file, the user is told and gets a new return.
    void unreadableFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        Declaration d = kv::test::newReturn();
        d.inspectionCode = "7701";
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.qv9"));
        d.saveToFile(QFile::encodeName(good).toStdString());
        const QByteArray whole = kv::test::fileBytes(good);
        QByteArray noStream = whole;
        noStream.replace("@DeclInquiry", "@DeclInquirx");
        QByteArray badNumber = whole;
        // After the stream's name: the tax office "7701", an empty name, then a one-digit number.
        const qsizetype number = whole.indexOf("@DeclInfo0004770100000001") + 25;
        QCOMPARE(whole.at(number), '0');
        badNumber[number] = 'x';

        const QString badFormat = fromCp1251(msg::badFormat());
        QTest::newRow("not a document") << QByteArray("Hello, world") << badFormat;
        QTest::newRow("a stream missing") << noStream << fromCp1251(msg::noStream());
        QTest::newRow("cut short") << whole.left(whole.size() / 2) << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("a number that is not one") << badNumber << badFormat;
    }

    void unreadableFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString file = fx.path(QStringLiteral("damaged.qv9"));
        kv::test::writeBytes(file, bytes);
        auto w = fx.window();
        w->document().inspectionCode = "0001";
        fx.asker.expectFile(QStringLiteral("openReturn"), file).expect(QStringLiteral("openFailed"), "OK");
        w->openReturn();
        const QString shown = fx.asker.textOf(QStringLiteral("openFailed"));
        QVERIFY(!shown.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(shown, message);
        QCOMPARE(fx.asker.questions().last().icon, QuestionIcon::Critical);
        QCOMPARE(fx.asker.questions().last().title, QStringLiteral("Квилмар 2019"));
        QVERIFY(isNewReturn(*w));
    }

    void openDialogFilters() {
        auto w = fx.window();
        fx.asker.expectFile(QStringLiteral("openReturn"), std::nullopt);
        w->openReturn();
        const FileQuestion q = fx.asker.fileQuestions().first();
        QCOMPARE(q.defaultSuffix, QStringLiteral("qv9"));
        // Every return the program reads under one filter first, each year's files, then any file.
        QCOMPARE(q.filters.size(), 13);
        QCOMPARE(
            q.filters.first(),
            QStringLiteral("Декларации (*.qv9 *.qv8 *.qv7 *.qv6 *.qv5 *.qv4 *.qv3 *.qv2 *.qv1 *.qv0 *.qvl)"));
        QCOMPARE(q.filters.at(1), QStringLiteral("Квилмар 2019 (*.qv9)"));
        QCOMPARE(q.filters.at(11), QStringLiteral("Квилмар 200* (*.qvl)"));
        QCOMPARE(q.filters.last(), QStringLiteral("Все файлы (*)"));
        QVERIFY(isNewReturn(*w));
    }

    // A file of an earlier year gives the taxpayer only; saving it writes ".qv9"
    // beside it and leaves it as it was.
    void earlierYearFile() {
        const QString current = fx.writeReturn(QStringLiteral("tmp.qv9"), [](Declaration& d) {
            d.inspectionCode = "7701";
            d.person.surname = cp("Петров");
            d.setIncomeFlags(Declaration::kAgentIncomes | Declaration::kForeignIncomes);
        });
        QByteArray bytes = kv::test::fileBytes(current);
        QCOMPARE(bytes.mid(16, 8), QByteArray("Quil2019"));
        bytes.replace(16, 8, "Quil2018");
        const QString old = fx.path(QStringLiteral("Old.qv8"));
        kv::test::writeBytes(old, bytes);

        auto w = fx.window();
        fx.asker.expectFile(QStringLiteral("openReturn"), old);
        w->openReturn();
        QCOMPARE(w->document().person.surname, cp("Петров"));
        QCOMPARE(w->document().inspectionCode, Cp1251Text{});
        QCOMPARE(w->document().incomeFlags(), std::uint8_t{0});
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Old.qv8")));
        for (Section s :
             {Section::RussianIncome, Section::ForeignIncome, Section::BusinessIncome, Section::Deductions})
            QVERIFY(!w->sectionEnabled(s));
        QVERIFY(w->sectionEnabled(Section::Taxpayer));

        QVERIFY(w->saveReturn());
        QCOMPARE(w->documentPath(), fx.path(QStringLiteral("Old.qv9")));
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Old.qv9")));
        QCOMPARE(kv::test::fileBytes(old), bytes);
        Declaration reread(kv::test::testClock());
        reread.loadFromFile(QFile::encodeName(fx.path(QStringLiteral("Old.qv9"))).toStdString());
        QCOMPARE(reread.person.surname, cp("Петров"));
    }

    void saveNewReturn() {
        auto w = fx.window();
        w->document().inspectionCode = "7701";
        w->documentChanged();
        fx.asker.expectFile(QStringLiteral("saveReturn"), std::nullopt);
        QVERIFY(!w->saveReturn());
        QVERIFY(!w->documentSaved());

        const QString file = fx.path(QStringLiteral("Новая.qv9"));
        fx.asker.expectFile(QStringLiteral("saveReturn"), file);
        QVERIFY(w->saveReturn());
        const FileQuestion q = fx.asker.fileQuestions().last();
        QCOMPARE(q.filters, QStringList{QStringLiteral("Квилмар 2019 (*.qv9)")});
        QCOMPARE(q.defaultSuffix, QStringLiteral("qv9"));
        QVERIFY(w->documentSaved());
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Новая.qv9")));
        Declaration reread(kv::test::testClock());
        reread.loadFromFile(QFile::encodeName(file).toStdString());
        QVERIFY(reread == w->document());

        // Saving again asks nothing.
        QVERIFY(w->saveReturn());
    }

    void saveAsKeepsTheGivenName() {
        const QString opened = fx.writeReturn(QStringLiteral("Old.qv7"));
        const QByteArray before = kv::test::fileBytes(opened);
        auto w = fx.window(opened);
        const QString copy = fx.path(QStringLiteral("Copy.qv7"));
        fx.asker.expectFile(QStringLiteral("saveReturn"), copy);
        QVERIFY(w->saveReturnAs());
        QVERIFY(QFile::exists(copy));
        QVERIFY(!QFile::exists(fx.path(QStringLiteral("Copy.qv9"))));
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Copy.qv7")));
        // A plain save then goes to this year's extension.
        QVERIFY(w->saveReturn());
        QVERIFY(QFile::exists(fx.path(QStringLiteral("Copy.qv9"))));
        QCOMPARE(kv::test::fileBytes(opened), before);
    }

    // A failed save is shown and changes nothing: the window keeps the file it had,
    // in its title and as the target of the next Save, and the return stays unsaved.
    void saveFailure_data() {
        QTest::addColumn<QString>("opened"); // "" for a new return
        QTest::newRow("new return") << "";
        QTest::newRow("opened return") << "Old.qv9";
        QTest::newRow("return of an earlier year") << "Old.qv7";
    }

    void saveFailure() {
        QFETCH(QString, opened);
        const QString path = opened.isEmpty() ? QString() : fx.writeReturn(opened);
        auto w = opened.isEmpty() ? fx.window() : fx.window(path);
        const QString title = w->windowTitle();
        w->document().person.surname = "Edited";
        w->documentChanged();
        const QString target = fx.path(QStringLiteral("нет такой папки/a.qv9"));
        fx.asker.expectFile(QStringLiteral("saveReturn"), target).expect(QStringLiteral("saveFailed"), "OK");
        QVERIFY(!w->saveReturnAs());
        QVERIFY(!fx.asker.textOf(QStringLiteral("saveFailed")).isEmpty());
        QCOMPARE(w->documentPath(), path);
        QCOMPARE(w->windowTitle(), title);
        QVERIFY(!w->documentSaved());
        if (opened.isEmpty())
            return;

        // The next Save goes where it would have gone before.
        QVERIFY(w->saveReturn());
        const QString saved = QString::fromStdString(ReturnSession::pathForSaving(path.toStdString()));
        QCOMPARE(w->documentPath(), saved);
        Declaration reread(kv::test::testClock());
        reread.loadFromFile(QFile::encodeName(saved).toStdString());
        QCOMPARE(reread.person.surname, Cp1251Text{"Edited"});
    }

    void saveIntoReadOnlyFolder() {
        if (geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        QDir().mkdir(fx.path(QStringLiteral("ro")));
        QFile::setPermissions(fx.path(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
        auto w = fx.window();
        fx.asker.expectFile(QStringLiteral("saveReturn"), fx.path(QStringLiteral("ro/a.qv9")))
            .expect(QStringLiteral("saveFailed"), "OK");
        QVERIFY(!w->saveReturn());
        QVERIFY(!QFile::exists(fx.path(QStringLiteral("ro/a.qv9"))));
        QFile::setPermissions(fx.path(QStringLiteral("ro")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The question before a changed return is dropped, for each command that asks it.
    void saveQuestion_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("saveTo"); // "" no dialog, "cancel", or a file name
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");

        for (const char* command : {"new", "open", "close"}) {
            const QString c = QString::fromLatin1(command);
            QTest::addRow("%s, cancel", command) << c << "Отмена"
                                                 << "" << false << false;
            QTest::addRow("%s, no", command) << c << "Нет"
                                             << "" << true << false;
            QTest::addRow("%s, yes", command) << c << "Да"
                                              << "a.qv9" << true << true;
            // The person asked to keep the return: cancelling the save dialog keeps it.
            QTest::addRow("%s, yes, dialog cancelled", command) << c << "Да"
                                                                << "cancel" << false << false;
            QTest::addRow("%s, yes, save fails", command) << c << "Да"
                                                          << "missing/a.qv9" << false << false;
        }
    }

    void saveQuestion() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        auto w = fx.window();
        w->document().person.surname = "Marker";
        w->documentChanged();

        fx.asker.expect(QStringLiteral("saveQuestion"), answer);
        if (saveTo == QStringLiteral("cancel"))
            fx.asker.expectFile(QStringLiteral("saveReturn"), std::nullopt);
        else if (!saveTo.isEmpty())
            fx.asker.expectFile(QStringLiteral("saveReturn"), fx.path(saveTo));
        if (saveTo.startsWith(QStringLiteral("missing")))
            fx.asker.expect(QStringLiteral("saveFailed"), "OK");
        const QString other = fx.writeReturn(QStringLiteral("other.qv9"));
        if (goesOn && command == QStringLiteral("open"))
            fx.asker.expectFile(QStringLiteral("openReturn"), other);

        bool wentOn = false;
        if (command == QStringLiteral("new")) {
            w->startNewReturn();
            wentOn = w->document().person.surname.empty();
        } else if (command == QStringLiteral("open")) {
            w->openReturn();
            wentOn = w->document().person.surname.empty();
        } else {
            wentOn = w->close();
        }
        QCOMPARE(wentOn, goesOn);
        QCOMPARE(QFile::exists(fx.path(QStringLiteral("a.qv9"))), saved);
        const Question& q = fx.asker.questions().first();
        QCOMPARE(q.text, QStringLiteral("Вы хотите сохранить декларацию?"));
        QCOMPARE(q.answers, (QStringList{"Да", "Нет", "Отмена"}));
        QCOMPARE(q.icon, QuestionIcon::Question);
        if (goesOn && command == QStringLiteral("new"))
            QVERIFY(isNewReturn(*w));
        if (goesOn && command == QStringLiteral("open"))
            QCOMPARE(w->documentPath(), other);
        if (!goesOn) {
            QCOMPARE(w->document().person.surname, Cp1251Text{"Marker"});
            QVERIFY(!w->documentSaved());
        }
    }

    // Cancelling the open dialog keeps the open return as it was: its document, its
    // file, its unsaved changes and the screen on show.
    void cancelledOpenKeepsTheReturn() {
        const QString file = fx.writeReturn(QStringLiteral("Мой.qv9"));
        auto w = fx.window(file);
        w->document().person.surname = "Marker";
        w->documentChanged();
        const Declaration* before = &w->document();
        ScreenFrame* screen = w->currentScreen();
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Нет"))
            .expectFile(QStringLiteral("openReturn"), std::nullopt);
        w->openReturn();
        QCOMPARE(&w->document(), before);
        QCOMPARE(w->document().person.surname, Cp1251Text{"Marker"});
        QCOMPARE(w->documentPath(), file);
        QCOMPARE(w->windowTitle(), titleOf(QStringLiteral("Мой.qv9")));
        QVERIFY(!w->documentSaved());
        QCOMPARE(w->currentScreen(), screen);

        // Saved on the way and then kept: closing asks nothing more.
        w->documentChanged();
        fx.asker.expect(QStringLiteral("saveQuestion"), QStringLiteral("Да"))
            .expectFile(QStringLiteral("openReturn"), std::nullopt);
        w->openReturn();
        QCOMPARE(w->documentPath(), file);
        QVERIFY(w->documentSaved());
        QVERIFY(w->close());
    }

    // The file dialogs start beside the open return, else in the person's documents,
    // never in the program's folder.
    void dialogsStartInThePersonsFolders() {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        QDir(home.path()).mkdir(QStringLiteral("Documents"));
        const QString documents = home.path() + QStringLiteral("/Documents");

        auto w = fx.window();
        kv::test::completeReturn(w->document());
        fx.asker.expectFile(QStringLiteral("saveReturn"), std::nullopt)
            .expectFile(QStringLiteral("openReturn"), std::nullopt)
            .expectFile(QStringLiteral("exportFolder"), std::nullopt);
        w->saveReturn();
        w->openReturn();
        w->exportDoc();
        const QString before = QDir::currentPath();
        w->printDoc();
        QCOMPARE(fx.printJob.calls.last().workingFolder, documents);
        QCOMPARE(QDir::currentPath(), before);
        const QString opened = fx.writeReturn(QStringLiteral("sub.qv9"));
        auto beside = fx.window(opened);
        fx.asker.expectFile(QStringLiteral("saveReturn"), std::nullopt);
        beside->saveReturnAs();
        qputenv("HOME", oldHome);

        const QList<FileQuestion>& asked = fx.asker.fileQuestions();
        QCOMPARE(asked.size(), 4);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(asked.at(i).directory, documents);
        QCOMPARE(asked.at(3).directory + QLatin1Char('/'), fx.folder());
    }

    void unchangedReturnAsksNothing() {
        auto w = fx.window();
        w->startNewReturn();
        fx.asker.expectFile(QStringLiteral("openReturn"), std::nullopt);
        w->openReturn();
        QVERIFY(w->close());
    }
};

KV_QTEST_MAIN(DocumentTest)

#include "document_test.moc"
