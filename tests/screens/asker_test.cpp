// The modal questions: the check dialogs as Asker questions, and the real message
// boxes and help notice driven by keys as a person would.
#include "ModalAnswers.h"
#include "ScriptedAsker.h"
#include "core/Text.h"
#include "screens/HelpNoticeDialog.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/Mnemonics.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

using namespace kv;

namespace {

QStringList buttonStates(QWidget* box) {
    QStringList states;
    for (QPushButton* b : box->findChildren<QPushButton*>())
        states.append(b->text() + (b->isEnabled() ? QString() : QStringLiteral(" (off)")));
    std::sort(states.begin(), states.end());
    return states;
}

Question saveQuestion() {
    Question q;
    q.id = QStringLiteral("saveQuestion");
    q.title = QStringLiteral("Квилмар 2019");
    q.text = QStringLiteral("Вы хотите сохранить декларацию?");
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")};
    q.defaultIndex = 0;
    q.escapeIndex = 2;
    q.icon = QuestionIcon::Question;
    return q;
}

CheckQuestion fault(CheckDialogKind kind, bool skip, bool skipAll) {
    CheckQuestion q;
    q.dialog = kind;
    q.sectionTitle = Cp1251Text::fromUtf8("Задание условий");
    q.message = Cp1251Text::fromUtf8("Не введен номер инспекции");
    q.skipEnabled = skip;
    q.skipAllEnabled = skipAll;
    return q;
}

} // namespace

class AskerTest : public QObject {
    Q_OBJECT

private slots:
    void checkQuestions() {
        const Question screenCheck = checkQuestion(fault(CheckDialogKind::Fault, false, true));
        QCOMPARE(screenCheck.id, QStringLiteral("TfmCheckError"));
        QCOMPARE(screenCheck.title, QStringLiteral("Проверка: Задание условий"));
        QCOMPARE(screenCheck.text, QStringLiteral("Не введен номер инспекции"));
        QCOMPARE(screenCheck.answers, (QStringList{"Исправить", "Пропустить", "Пропустить все"}));
        QCOMPARE(screenCheck.enabled, (QList<bool>{true, false, true}));
        QCOMPARE(screenCheck.escapeIndex, 0); // "Пропустить" off: closing the window fixes
        QCOMPARE(checkQuestion(fault(CheckDialogKind::Fault, true, false)).escapeIndex, 1);

        const Question returnCheck = checkQuestion(fault(CheckDialogKind::ReturnFault, true, true));
        QCOMPARE(returnCheck.id, QStringLiteral("TfmCheckAllError"));
        QCOMPARE(returnCheck.answers, (QStringList{"Исправить", "Отмена"}));
        QCOMPARE(returnCheck.escapeIndex, 1);
    }

    void checkAnswersThroughTheAsker() {
        test::ScriptedAsker asker;
        AskerCheckDialog dialog(asker, nullptr);
        asker.expect(QStringLiteral("TfmCheckError"), QStringLiteral("Пропустить все"))
            .expect(QStringLiteral("TfmCheckAllError"), QStringLiteral("Исправить"))
            .expect(QStringLiteral("TfmCheckAllError"), QStringLiteral("Отмена"));
        QCOMPARE(dialog.ask(fault(CheckDialogKind::Fault, false, true)), CheckAnswer::SkipAll);
        QCOMPARE(dialog.ask(fault(CheckDialogKind::ReturnFault, true, true)), CheckAnswer::Fix);
        QCOMPARE(dialog.ask(fault(CheckDialogKind::ReturnFault, true, true)), CheckAnswer::Cancel);
        KV_VERIFY_ASKER(asker);
    }

    // The real message box: Enter gives the default answer, Escape and the close
    // box the escape answer. key 0: the window's close box.
    void realBoxKeys_data() {
        QTest::addColumn<bool>("checkDialog");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("buttons");

        const QStringList save{"Да", "Нет", "Отмена"};
        const QStringList check{"Исправить", "Пропустить (off)", "Пропустить все (off)"};
        QTest::newRow("save question, Enter") << false << int(Qt::Key_Return) << 0 << save;
        QTest::newRow("save question, Escape") << false << int(Qt::Key_Escape) << 2 << save;
        QTest::newRow("check, Enter fixes") << true << int(Qt::Key_Return) << 0 << check;
        QTest::newRow("check that may not be skipped, Escape fixes")
            << true << int(Qt::Key_Escape) << 0 << check;
        QTest::newRow("check that may not be skipped, closed fixes") << true << 0 << 0 << check;
    }

    void realBoxKeys() {
        QFETCH(bool, checkDialog);
        QFETCH(int, key);
        QFETCH(int, expected);
        QFETCH(QStringList, buttons);
        const Question q =
            checkDialog ? checkQuestion(fault(CheckDialogKind::Fault, false, false)) : saveQuestion();
        WidgetAsker asker;
        QString title;
        QStringList shown;
        QString name;
        test::whenModal(q.id, [&](QDialog& box) {
            title = box.windowTitle();
            shown = buttonStates(&box);
            name = box.objectName();
            if (key == 0)
                box.close();
            else
                QTest::keyClick(&box, static_cast<Qt::Key>(key));
        });
        QCOMPARE(asker.ask(nullptr, q), expected);
        KV_VERIFY_MODALS();
        QCOMPARE(title, q.title);
        QCOMPARE(name, q.id);
        QStringList sorted = buttons;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(shown, sorted);
    }

    // Each button gets the first letter of its caption that its window has not taken.
    void mnemonics_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("given");
        QTest::newRow("yes, no, cancel")
            << QStringList{"Да", "Нет", "Отмена"} << QStringList{"&Да", "&Нет", "&Отмена"};
        QTest::newRow("first letter taken")
            << QStringList{"Да", "Дата", "Добавить"} << QStringList{"&Да", "Д&ата", "Д&обавить"};
        QTest::newRow("existing mnemonic kept and respected")
            << QStringList{"&Открыть", "Отмена", "OK"} << QStringList{"&Открыть", "О&тмена", "&OK"};
        QTest::newRow("letters and digits only")
            << QStringList{"... 1 файл", "«Справка»"} << QStringList{"... &1 файл", "«&Справка»"};
        QTest::newRow("literal ampersand left alone") << QStringList{"A && B"} << QStringList{"A && B"};
    }
    void mnemonics() {
        QFETCH(QStringList, captions);
        QFETCH(QStringList, given);
        QDialog dialog;
        QList<QAbstractButton*> buttons;
        for (const QString& caption : captions)
            buttons.append(caption == captions.last() && captions.size() > 2
                               ? static_cast<QAbstractButton*>(new QCheckBox(caption, &dialog))
                               : new QPushButton(caption, &dialog));
        giveMnemonics(&dialog);
        QStringList texts;
        for (QAbstractButton* b : buttons)
            texts.append(b->text());
        QCOMPARE(texts, given);
    }

    // Alt and the underlined letter answer a real message box.
    void altLetterAnswers() {
        DialogMnemonics filter;
        qApp->installEventFilter(&filter);
        WidgetAsker asker;
        QStringList shown;
        test::whenModal(QStringLiteral("saveQuestion"), [&](QDialog& box) {
            shown = buttonStates(&box);
            // QTest::keyClick knows Latin keys only; the Cyrillic one goes with its text.
            QTest::sendKeyEvent(QTest::Click, &box, static_cast<Qt::Key>(QChar(u'Н').unicode()),
                                QStringLiteral("н"), Qt::AltModifier);
        });
        const int answer = asker.ask(nullptr, saveQuestion());
        qApp->removeEventFilter(&filter);
        KV_VERIFY_MODALS();
        QCOMPARE(shown, (QStringList{"&Да", "&Нет", "&Отмена"}));
        QCOMPARE(answer, 1);
    }

    void helpNoticeLink() {
        WidgetAsker asker;
        QStringList opened;
        asker.openHelpTopic = [&](const QString& topic) { opened.append(topic); };
        bool linkShown = false;
        test::whenModal(QStringLiteral("n"), [&](QDialog& dialog) {
            auto* link = dialog.findChild<QLabel*>(QStringLiteral("lblHelpLink"));
            linkShown = link != nullptr && !link->isHidden();
            if (link != nullptr)
                emit link->linkActivated(QStringLiteral("topic"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(asker.ask(nullptr, helpNotice(QStringLiteral("n"), QStringLiteral("Текст"),
                                               QStringLiteral("StandartDeductions.htm"))),
                 0);
        QVERIFY(linkShown);
        QCOMPARE(opened, QStringList{"StandartDeductions.htm"});

        test::whenModal(QStringLiteral("n"), [&](QDialog& dialog) {
            auto* link = dialog.findChild<QLabel*>(QStringLiteral("lblHelpLink"));
            linkShown = link != nullptr && !link->isHidden();
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(asker.ask(nullptr, helpNotice(QStringLiteral("n"), QStringLiteral("Без ссылки"))), 0);
        KV_VERIFY_MODALS();
        QVERIFY(!linkShown);
    }
};

KV_QTEST_MAIN(AskerTest)

#include "asker_test.moc"
