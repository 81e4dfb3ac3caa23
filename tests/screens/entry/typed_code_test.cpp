// The code fields of the income and deduction dialogs take a typed code as well as one
// picked with "...": a code the dialog's own picker lists is taken with its name, any
// other is refused with the picker's message and the field keeps the code before.
#include "EntryTestSupport.h"
#include "reference/IncomeDict.h"
#include "screens/AgentDeductionDialog.h"
#include "screens/Income13Dialog.h"
#include "screens/NonResidentIncomeDialog.h"
#include "screens/ThirtyFiveDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace kv;
using kv::test::ScreenTestHost;

namespace {

std::unique_ptr<QDialog> makeDialog(const QString& which, Asker& asker) {
    const IncomeDict& dict = IncomeDict::builtIn();
    if (which == QLatin1String("13%"))
        return std::make_unique<Income13Dialog>(asker, dict, true, false, std::nullopt, nullptr);
    if (which == QLatin1String("35%"))
        return std::make_unique<ThirtyFiveDialog>(asker, dict, ThirtyFivePercentSource{}, nullptr);
    if (which == QLatin1String("non-resident"))
        return std::make_unique<NonResidentIncomeDialog>(asker, dict, std::nullopt, nullptr);
    return std::make_unique<AgentDeductionDialog>(asker, dict, std::nullopt, nullptr);
}

// The field's picker button, its picker and the label that names the code.
struct CodeWidgets {
    const char* button;
    QString picker;
    const char* name;
    QString refusal;
};

CodeWidgets widgetsOf(const QString& field) {
    if (field == QLatin1String("edIncomeCode"))
        return {"bnIncomeCode", QStringLiteral("TfmInputIncomeCode"), "lblIncomeName",
                QStringLiteral("incomeCodeNotListed")};
    return {"bnDeductCode", QStringLiteral("TfmInputDeductCode"), "lblDeductName",
            QStringLiteral("deductionCodeNotListed")};
}

// Typed into the field and left with Tab, in the dialog active again after a picker.
bool typeCode(QLineEdit* field, const QString& code) {
    field->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(field->window()))
        return false;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, code);
    QTest::keyClick(field, Qt::Key_Tab);
    return true;
}

} // namespace

class TypedCodeTest : public QObject {
    Q_OBJECT

private slots:
    void typedCode_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("income"); // picked first; empty: nothing
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("unlisted"); // a code of another dialog or income
        QTest::addColumn<QString>("picked");   // with "..." afterwards

        QTest::newRow("13% income") << "13%"
                                    << "edIncomeCode"
                                    << ""
                                    << "2000"
                                    << "2740"
                                    << "2010";
        QTest::newRow("13% deduction") << "13%"
                                       << "edDeductCode"
                                       << "2010"
                                       << "403"
                                       << "505"
                                       << "0";
        QTest::newRow("35% income") << "35%"
                                    << "edIncomeCode"
                                    << ""
                                    << "2740"
                                    << "2000"
                                    << "2610";
        QTest::newRow("35% deduction") << "35%"
                                       << "edDeductCode"
                                       << "2740"
                                       << "505"
                                       << "403"
                                       << "0";
        QTest::newRow("non-resident income") << "non-resident"
                                             << "edIncomeCode"
                                             << ""
                                             << "2010"
                                             << "2740"
                                             << "2000";
        QTest::newRow("non-resident deduction") << "non-resident"
                                                << "edDeductCode"
                                                << "2010"
                                                << "403"
                                                << "505"
                                                << "0";
        QTest::newRow("agent deduction") << "agent"
                                         << "edDeductCode"
                                         << ""
                                         << "104"
                                         << "403"
                                         << "105";
    }
    void typedCode() {
        QFETCH(QString, dialog);
        QFETCH(QString, field);
        QFETCH(QString, income);
        QFETCH(QString, listed);
        QFETCH(QString, unlisted);
        QFETCH(QString, picked);
        const CodeWidgets widgets = widgetsOf(field);

        ScreenTestHost host;
        const std::unique_ptr<QDialog> shown = makeDialog(dialog, host.script);
        shown->show();
        QVERIFY(QTest::qWaitForWindowActive(shown.get()));
        if (!income.isEmpty()) {
            kv::test::whenPicker(QStringLiteral("TfmInputIncomeCode"), income);
            kv::test::clickButton(shown.get(), "bnIncomeCode");
            KV_VERIFY_MODALS();
        }
        auto* code = shown->findChild<QLineEdit*>(field);
        auto* name = kv::test::child<QLabel>(shown.get(), widgets.name);
        QVERIFY(code != nullptr && name != nullptr);

        QVERIFY(typeCode(code, listed));
        QCOMPARE(code->text(), listed);
        QVERIFY(!name->text().isEmpty());
        const QString listedName = name->text();

        host.script.expect(widgets.refusal, QStringLiteral("OK"));
        QVERIFY(typeCode(code, unlisted));
        KV_VERIFY_ASKER(host.script);
        QVERIFY(host.script.questions().first().text.contains(unlisted));
        QCOMPARE(code->text(), listed);
        QCOMPARE(name->text(), listedName);
        QCOMPARE(QApplication::focusWidget(), code);

        kv::test::whenPicker(widgets.picker, picked);
        kv::test::clickButton(shown.get(), widgets.button);
        KV_VERIFY_MODALS();
        QCOMPARE(code->text(), picked);
    }
};

KV_QTEST_MAIN(TypedCodeTest)

#include "typed_code_test.moc"
