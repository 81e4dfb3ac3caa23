// One executable for the standard, social and securities deduction screens.
#include <QApplication>
#include <QTest>
#include <memory>

QObject* makeSocialTest();
QObject* makeStandardTest();
QObject* makeSecuritiesTest();

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failed = 0;
    for (auto make : {makeSocialTest, makeStandardTest, makeSecuritiesTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
