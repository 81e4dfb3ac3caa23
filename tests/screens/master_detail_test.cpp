// The list helper of master-detail screens: what it stores into the record the
// selection leaves, and that a deleted record is never stored into; and the controller
// of a record list: the keys it answers and the question before deleting.
#include "ModalAnswers.h"
#include "ScriptedAsker.h"
#include "screens/kit/MasterDetailList.h"
#include "screens/kit/RecordListController.h"
#include "screens/kit/ScreenWidgets.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::MasterDetailList;
using kv::RecordListController;

class MasterDetailTest : public QObject {
    Q_OBJECT

    // What the hooks were called with, in order: "s1" stored record 1, "v2" showed record 2.
    QStringList log_;
    QStringList records_;

    MasterDetailList* makeList(QTreeWidget& list) {
        auto* helper = new MasterDetailList(&list, &list);
        helper->onStore = [this](int i) {
            log_ << QStringLiteral("s%1").arg(i);
            QVERIFY(i >= 0 && i < records_.size()); // never an index that went away
        };
        helper->onShow = [this](int i) { log_ << QStringLiteral("v%1").arg(i); };
        helper->fill(records_);
        return helper;
    }

private slots:
    void init() {
        log_.clear();
        records_ = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    }

    void fillingSelectsNothing() {
        QTreeWidget list;
        MasterDetailList* helper = makeList(list);
        QCOMPARE(helper->count(), 3);
        QCOMPARE(helper->selected(), -1);
        QVERIFY(log_.isEmpty());
    }

    // Moving the selection (by code or by the person) stores the record left first;
    // selecting the same row again shows it again.
    void selectionStoresTheRecordLeft() {
        QTreeWidget list;
        MasterDetailList* helper = makeList(list);
        helper->select(0);
        list.setCurrentItem(list.topLevelItem(2));
        helper->select(2);
        helper->storeSelected();
        QCOMPARE(log_, (QStringList{"v0", "s0", "v2", "s2", "v2", "s2"}));
    }

    void removal_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("last selects the previous") << 2 << QStringList{"a", "b"} << 1;
        QTest::newRow("middle selects the previous") << 1 << QStringList{"a", "c"} << 0;
        QTest::newRow("first selects the new first") << 0 << QStringList{"b", "c"} << 0;
    }

    void removal() {
        QFETCH(int, row);
        QFETCH(QStringList, left);
        QFETCH(int, selectedAfter);
        QTreeWidget list;
        MasterDetailList* helper = makeList(list);
        helper->select(row);
        log_.clear();
        helper->removeSelected([this](int i) {
            log_ << QStringLiteral("r%1").arg(i);
            records_.removeAt(i);
        });
        QCOMPARE(records_, left);
        // Removed before anything is stored, and the record removed is never stored.
        QCOMPARE(log_,
                 (QStringList{QStringLiteral("r%1").arg(row), QStringLiteral("v%1").arg(selectedAfter)}));
        QCOMPARE(helper->selected(), selectedAfter);
        QCOMPARE(list.topLevelItem(selectedAfter)->text(0), left.at(selectedAfter));
    }

    void removingTheLastRecordEmptiesThePanel() {
        records_ = {QStringLiteral("a")};
        QTreeWidget list;
        MasterDetailList* helper = makeList(list);
        helper->select(0);
        helper->removeSelected([this](int i) { records_.removeAt(i); });
        QCOMPARE(log_, (QStringList{"v0", "v-1"}));
        QCOMPARE(helper->selected(), -1);
        QCOMPARE(helper->count(), 0);
        helper->removeSelected([](int) { QFAIL("nothing is selected"); });
    }

    // Delete on a row goes through the controller: the panel is stored into the record
    // first, a record holding entries asks, and only "Да" deletes it.
    void controllerDeletion_data() {
        QTest::addColumn<bool>("holds");
        QTest::addColumn<QString>("answer"); // empty: no question
        QTest::addColumn<QStringList>("left");
        QTest::newRow("nothing entered: no question") << false << QString() << QStringList{"a", "c"};
        QTest::newRow("entries, Да") << true << QStringLiteral("Да") << QStringList{"a", "c"};
        QTest::newRow("entries, Нет") << true << QStringLiteral("Нет") << QStringList{"a", "b", "c"};
    }

    void controllerDeletion() {
        QFETCH(bool, holds);
        QFETCH(QString, answer);
        QFETCH(QStringList, left);
        QWidget screen;
        const kv::RecordListBox box = kv::recordListBox(&screen);
        MasterDetailList* helper = makeList(*box.list);
        kv::test::ScriptedAsker asker;
        if (!answer.isEmpty())
            asker.expect(QStringLiteral("deleteSource"), answer);
        auto* controller = new RecordListController(box, asker, &screen);
        controller->setDetails(helper);
        controller->holdsEntries = [&] {
            log_ << QStringLiteral("q");
            return holds;
        };
        controller->onRemove = [&] { helper->removeSelected([this](int i) { records_.removeAt(i); }); };
        helper->select(1);
        log_.clear();
        QTest::keyClick(box.list, Qt::Key_Delete);
        QCOMPARE(records_, left);
        QCOMPARE(log_.mid(0, 2), (QStringList{"s1", "q"}));
        KV_VERIFY_ASKER(asker);
    }

    void controllerKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("enterEdits");
        QTest::addColumn<int>("edits");
        QTest::newRow("Return edits") << int(Qt::Key_Return) << true << 1;
        QTest::newRow("keypad Enter edits") << int(Qt::Key_Enter) << true << 1;
        QTest::newRow("a list without Enter") << int(Qt::Key_Return) << false << 0;
        QTest::newRow("other keys do not") << int(Qt::Key_Space) << true << 0;
    }

    void controllerKeys() {
        QFETCH(int, key);
        QFETCH(bool, enterEdits);
        QFETCH(int, edits);
        QWidget screen;
        const kv::RecordListBox box = kv::recordListBox(&screen);
        makeList(*box.list)->select(0);
        kv::test::ScriptedAsker asker;
        auto* controller = new RecordListController(box, asker, &screen);
        controller->enterEdits = enterEdits;
        int edited = 0;
        controller->onEdit = [&] { ++edited; };
        QTest::keyClick(box.list, Qt::Key(key));
        QCOMPARE(edited, edits);
        box.edit->click();
        QCOMPARE(edited, edits + 1);
        KV_VERIFY_ASKER(asker);
    }
};

KV_QTEST_MAIN(MasterDetailTest)

#include "master_detail_test.moc"
