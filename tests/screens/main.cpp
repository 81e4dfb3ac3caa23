// One executable for the screen framework's test classes.
#include "ModalAnswers.h"

QObject* makeAskerTest();
QObject* makeFieldKindsTest();
QObject* makeFrameworkTest();
QObject* makeDateEditTest();
QObject* makeMasterDetailTest();
QObject* makePayerFieldsTest();
QObject* makeScreenWidgetsTest();
QObject* makeImportRunTest();

int main(int argc, char* argv[]) {
    return kv::test::runQtTests(argc, argv,
                                {makeAskerTest, makeFieldKindsTest, makeFrameworkTest, makeMasterDetailTest,
                                 makeDateEditTest, makeScreenWidgetsTest, makePayerFieldsTest,
                                 makeImportRunTest});
}
