// The shared widget helpers: names of month fields, where the caption grid puts its
// rows, the cells of list rows and the row selected after a removal.
#include "screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QTest>
#include <QWidget>

using namespace kv;

class ScreenWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void formGridWithMonths() {
        QWidget box;
        FormGrid form(&box);
        FieldEdit* inn = field(&box, "edInn", FieldKind::edtDigital, 12);
        QLabel* caption = form.addRow(QStringLiteral("ИНН"), inn);
        const MonthFields months = monthFields(&box, "edChildren", FieldFormat{FieldKind::edtDigital, 2, 0},
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
        QCOMPARE(codeCell(0, true), QStringLiteral("Нет"));
        QCOMPARE(codeCell(0, false), QStringLiteral("0"));
        QCOMPARE(codeCell(2000, true), QStringLiteral("2000"));
        QCOMPARE(amountCell(Money{}, true), QStringLiteral("-"));
        QCOMPARE(amountCell(Money{}, false), QStringLiteral("0"));
        QCOMPARE(amountCell(Money::fromRaw(12345000), true), QStringLiteral("1234,5"));
        QCOMPARE(rowAfterRemoval(0, 0), -1);
        QCOMPARE(rowAfterRemoval(0, 2), 0);
        QCOMPARE(rowAfterRemoval(2, 2), 1);
    }
};

QObject* makeScreenWidgetsTest() {
    return new ScreenWidgetsTest;
}

#include "screen_widgets_test.moc"
