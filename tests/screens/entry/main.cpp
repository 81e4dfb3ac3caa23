// One executable for the entry screens of the conditions, the taxpayer, the
// incomes at every rate and the property deduction.
#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <memory>

QObject* makeInitialDataTest();
QObject* makePersonTest();
QObject* makeThirteenTest();
QObject* makePropertyTest();
QObject* makeRatesTest();
QObject* makeBusinessTest();
QObject* makePartnershipTest();
QObject* makeRoundTripTest();
QObject* makeForeignTest();

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The tax-office import writes into the user's data folder: a test's own, not the real one.
    QStandardPaths::setTestModeEnabled(true);
    int failed = 0;
    for (auto make : {makeInitialDataTest, makePersonTest, makeThirteenTest, makePropertyTest, makeRatesTest,
                      makeBusinessTest, makePartnershipTest, makeForeignTest, makeRoundTripTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
