// One executable for the main window's test classes.
#include "ModalAnswers.h"

QObject* makeDocumentTest();
QObject* makeWindowTest();
QObject* makeResultTest();
QObject* makeDesktopTest();

int main(int argc, char* argv[]) {
    return kv::test::runQtTests(argc, argv,
                                {makeDocumentTest, makeWindowTest, makeResultTest, makeDesktopTest});
}
