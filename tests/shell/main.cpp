// One executable for the main window's test classes.
#include <QApplication>
#include <QTest>
#include <memory>

QObject* makeDocumentTest();
QObject* makeWindowTest();
QObject* makeResultTest();
QObject* makeDesktopTest();

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failed = 0;
    for (auto make : {makeDocumentTest, makeWindowTest, makeResultTest, makeDesktopTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
