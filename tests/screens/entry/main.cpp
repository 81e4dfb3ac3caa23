// One executable for the entry screens of the conditions, the taxpayer, the
// incomes at 13% and the property deduction.
#include <QApplication>
#include <QTest>
#include <memory>

QObject* makeInitialDataTest();
QObject* makePersonTest();
QObject* makeThirteenTest();
QObject* makePropertyTest();
QObject* makeRoundTripTest();
QObject* makeForeignTest();

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failed = 0;
    for (auto make : {makeInitialDataTest, makePersonTest, makeThirteenTest, makePropertyTest, makeRoundTripTest,
                      makeForeignTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
