// The list helper of master-detail screens: what it stores into the record the
// selection leaves, and that a deleted record is never stored into.
#include "ModalAnswers.h"
#include "screens/MasterDetailList.h"

#include <QTest>
#include <QTreeWidget>

using kv::MasterDetailList;

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
};

KV_QTEST_MAIN(MasterDetailTest)

#include "master_detail_test.moc"
