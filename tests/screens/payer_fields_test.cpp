// The payer block every source dialog shares: where a fault of the payer check sends
// the user, and where the block puts its rows. The dialogs' own tests reach only a
// few of the faults, so each of the four fields is covered here once for all of them.
#include "ModalAnswers.h"
#include "ScriptedAsker.h"
#include "core/Text.h"
#include "model/IncomeSources.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/PayerFields.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QTest>
#include <QWidget>

using namespace kv;
using kv::test::ScriptedAsker;

class PayerFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void checkSendsTheFocusToTheFaultyField_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("inn");
        QTest::addColumn<QString>("kpp");
        QTest::addColumn<QString>("oktmo");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("passes");
        QTest::addColumn<QString>("focus");

        const QString fix = QStringLiteral("Исправить");
        QTest::newRow("no name") << "  "
                                 << "1234567894"
                                 << "773601001"
                                 << "45382000" << fix << false << "edSourceName";
        QTest::newRow("wrong check digit") << "ООО"
                                           << "1234567895"
                                           << "773601001"
                                           << "45382000" << fix << false << "edSourceInn";
        QTest::newRow("short KPP") << "ООО"
                                   << "1234567894"
                                   << "7736"
                                   << "45382000" << fix << false << "edSourceKpp";
        QTest::newRow("short OKTMO") << "ООО"
                                     << "1234567894"
                                     << "773601001"
                                     << "4538" << fix << false << "edSourceOktmo";
        QTest::newRow("no OKTMO, skipped") << "ООО"
                                           << "1234567894"
                                           << "773601001"
                                           << "" << QStringLiteral("Пропустить") << true << "edSourceKpp";
    }

    void checkSendsTheFocusToTheFaultyField() {
        QFETCH(QString, name);
        QFETCH(QString, inn);
        QFETCH(QString, kpp);
        QFETCH(QString, oktmo);
        QFETCH(QString, answer);
        QFETCH(bool, passes);
        QFETCH(QString, focus);

        QWidget dialog;
        PayerFields payer(&dialog);
        auto* grid = new QGridLayout(&dialog);
        payer.addTo(grid, 0);
        payer.nameField()->setText(name);
        payer.innField()->setText(inn);
        payer.kppField()->setText(kpp);
        payer.oktmoField()->setText(oktmo);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // The focus starts away from the faulty field, so only the check can put it there.
        payer.kppField()->setFocus();

        ScriptedAsker script;
        script.expect(QStringLiteral("TfmCheckError"), answer);
        AskerCheckDialog checks(script, &dialog);
        QCOMPARE(payer.check(checks, Cp1251Text::fromUtf8("Доходы, облагаемые по ставке 35%"), true), passes);
        KV_VERIFY_ASKER(script);
        QCOMPARE(script.questions().first().title,
                 QStringLiteral("Проверка: Доходы, облагаемые по ставке 35%"));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // The name over both columns, then the three codes beside their captions, from
    // the row the dialog gives; the texts go to the source as typed.
    void rowsAndStoredTexts() {
        QWidget dialog;
        PayerFields payer(&dialog, 10, QStringLiteral("Наименование инвестиционного товарищества"));
        auto* grid = new QGridLayout(&dialog);
        QCOMPARE(payer.addTo(grid, 2), 7);

        auto* caption = qobject_cast<QLabel*>(grid->itemAtPosition(2, 0)->widget());
        QCOMPARE(caption->text(), QStringLiteral("Наименование инвестиционного товарищества"));
        QCOMPARE(grid->itemAtPosition(2, 1)->widget(), caption);
        QCOMPARE(grid->itemAtPosition(3, 0)->widget(), payer.nameField());
        QCOMPARE(grid->itemAtPosition(3, 1)->widget(), payer.nameField());
        const QList<std::pair<QString, FieldEdit*>> rows = {{QStringLiteral("ИНН"), payer.innField()},
                                                            {QStringLiteral("КПП"), payer.kppField()},
                                                            {QStringLiteral("ОКТМО"), payer.oktmoField()}};
        for (int i = 0; i < rows.size(); ++i) {
            auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(4 + i, 0)->widget());
            QCOMPARE(label->text(), rows[i].first);
            QCOMPARE(label->buddy(), rows[i].second);
            QCOMPARE(grid->itemAtPosition(4 + i, 1)->widget(), rows[i].second);
        }
        QCOMPARE(payer.innField()->format().length, 10);

        IncomeSource stored;
        stored.sourceName = Cp1251Text::fromUtf8("ИТ «Вектор»");
        stored.sourceInn = "7704123450";
        stored.sourceKpp = "770401001";
        stored.sourceOktmo = "45382000";
        payer.load(stored);
        QCOMPARE(payer.nameField()->text(), QStringLiteral("ИТ «Вектор»"));
        IncomeSource back;
        payer.store(back);
        QCOMPARE(back, stored);
    }
};

KV_QTEST_MAIN(PayerFieldsTest)

#include "payer_fields_test.moc"
