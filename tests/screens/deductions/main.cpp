// One executable for the standard, social and securities deduction screens.
#include "ModalAnswers.h"

QObject* makeSocialTest();
QObject* makeStandardTest();
QObject* makeSecuritiesTest();

int main(int argc, char* argv[]) {
    return kv::test::runQtTests(argc, argv, {makeSocialTest, makeStandardTest, makeSecuritiesTest});
}
