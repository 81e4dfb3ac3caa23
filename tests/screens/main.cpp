// One executable for the screen framework's test classes.
#include <QApplication>
#include <QTest>
#include <memory>

QObject* makeAskerTest();
QObject* makeFieldKindsTest();
QObject* makeFrameworkTest();
QObject* makeDateEditTest();
QObject* makeMasterDetailTest();
QObject* makePayerFieldsTest();
QObject* makeScreenWidgetsTest();

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failed = 0;
    for (auto make : {makeAskerTest, makeFieldKindsTest, makeFrameworkTest, makeMasterDetailTest,
                      makeDateEditTest, makeScreenWidgetsTest, makePayerFieldsTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
