// The shared widget helpers: names of month fields, where the caption grid puts its
// rows, the cells of list rows and the row selected after a removal.
#include "ModalAnswers.h"
#include "screens/kit/ListActions.h"
#include "screens/kit/ScreenWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>

using namespace kv;

class ScreenWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void formGridWithMonths() {
        QWidget box;
        FormGrid form(&box);
        FieldEdit* inn = field(&box, "edInn", FieldKind::Digits, 12);
        QLabel* caption = form.addRow(QStringLiteral("ИНН"), inn);
        const MonthFields months = monthFields(&box, "edChildren", FieldFormat{FieldKind::Digits, 2, 0},
                                               QStringLiteral("Количество детей в этом месяце"));
        form.addMonthCaptions();
        form.addMonths(QStringLiteral("Детей"), months);
        QCOMPARE(form.nextRow(), 3);

        QGridLayout* grid = form.layout();
        QCOMPARE(grid->itemAtPosition(0, 0)->widget(), caption);
        QCOMPARE(grid->itemAtPosition(0, 1)->widget(), inn);
        QCOMPARE(qobject_cast<QLabel*>(grid->itemAtPosition(1, 1)->widget())->text(),
                 QStringLiteral("Январь"));
        QCOMPARE(qobject_cast<QLabel*>(grid->itemAtPosition(1, 12)->widget())->text(),
                 QStringLiteral("Декабрь"));
        for (int m = 0; m < 12; ++m) {
            QCOMPARE(grid->itemAtPosition(2, m + 1)->widget(), months[m]);
            QCOMPARE(months[m]->objectName(),
                     QStringLiteral("edChildren%1").arg(m + 1, 2, 10, QLatin1Char('0')));
            QCOMPARE(months[m]->format().length, 2);
        }
        QCOMPARE(months[0]->toolTip(), QStringLiteral("Количество детей в этом месяце"));
        // A grid made elsewhere is continued below its rows.
        FormGrid more(grid);
        QCOMPARE(more.nextRow(), 3);
        const MonthBoxes boxes = monthBoxes(&box, "chbMonth");
        more.addMonths(QString(), boxes);
        QCOMPARE(grid->itemAtPosition(3, 12)->widget(), boxes[11]);
        QCOMPARE(boxes[11]->objectName(), QStringLiteral("chbMonth12"));
        QCOMPARE(boxes[11]->text(), QStringLiteral("Декабрь"));
    }

    void cellsAndRemoval() {
        // Digit groups are parted by a no-break space, written here as a plain one.
        const struct {
            std::int64_t raw;
            const char* shown;
        } amounts[] = {
            {0, "-"},
            {12345000, "1 234,50"},
            {1560000000, "156 000,00"},
            {9999, "0,9999"},
            {1230, "0,123"},
            {-12345678900, "-1 234 567,89"},
            {INT64_MIN, "-922 337 203 685 477,5808"},
        };
        for (const auto& a : amounts)
            QCOMPARE(amountCell(Money::fromRaw(a.raw)).replace(QChar(0x00A0), QLatin1Char(' ')),
                     QString::fromUtf8(a.shown));
        QCOMPARE(groupedAmount(Money{}), QStringLiteral("0,00"));
        QCOMPARE(codeCell(0), QStringLiteral("Нет"));
        QCOMPARE(codeCell(2000), QStringLiteral("2000"));
        QCOMPARE(rowAfterRemoval(0, 0), -1);
        QCOMPARE(rowAfterRemoval(0, 2), 0);
        QCOMPARE(rowAfterRemoval(2, 2), 1);
    }

    // Buttons acting on a row follow the selection and what the owner allows; Delete
    // presses the delete button only when it could be pressed.
    void listActionsFollowTheSelection() {
        QWidget box;
        const RecordListBox r = recordListBox(&box);
        bool allowed = true;
        r.actions->allowed = [&allowed] { return allowed; };
        int deletes = 0;
        QObject::connect(r.remove, &QPushButton::clicked, [&] { ++deletes; });
        const auto enabled = [&r] { return r.remove->isEnabled() && r.edit->isEnabled(); };

        QVERIFY(!r.remove->isEnabled() && !r.edit->isEnabled());
        QVERIFY(r.add->isEnabled());
        r.list->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("ООО «Ромашка»")}));
        QVERIFY(!enabled()); // a row, but none selected
        // Made current without a highlight, as tabbing into a list does: it is shown selected.
        r.list->setCurrentItem(r.list->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
        QVERIFY(r.list->topLevelItem(0)->isSelected());
        QVERIFY(enabled());
        QTest::keyClick(r.list, Qt::Key_Delete);
        QCOMPARE(deletes, 1);
        QTest::keyClick(r.list, Qt::Key_Delete, Qt::KeypadModifier);
        QCOMPARE(deletes, 2);
        QTest::keyClick(r.list, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(deletes, 2);

        allowed = false;
        r.actions->refresh();
        QVERIFY(!r.remove->isEnabled() && !r.edit->isEnabled());
        QTest::keyClick(r.list, Qt::Key_Delete);
        QCOMPARE(deletes, 2);
        allowed = true;
        r.list->clear();
        QVERIFY(!enabled());
    }
};

KV_QTEST_MAIN(ScreenWidgetsTest)

#include "screen_widgets_test.moc"
