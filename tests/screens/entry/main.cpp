// One executable for the entry screens of the conditions, the taxpayer, the
// incomes at every rate and the property deduction.
#include "ModalAnswers.h"

#include <QStandardPaths>

QObject* makeInitialDataTest();
QObject* makePersonTest();
QObject* makeThirteenTest();
QObject* makePropertyTest();
QObject* makeRatesTest();
QObject* makeBusinessTest();
QObject* makePartnershipTest();
QObject* makeRoundTripTest();
QObject* makeForeignTest();
QObject* makeCertificateTest();
QObject* makeTypedCodeTest();

int main(int argc, char* argv[]) {
    // The tax-office import writes into the user's data folder: a test's own, not the real one.
    QStandardPaths::setTestModeEnabled(true);
    return kv::test::runQtTests(argc, argv,
                                {makeInitialDataTest, makePersonTest, makeThirteenTest, makePropertyTest,
                                 makeRatesTest, makeBusinessTest, makePartnershipTest, makeForeignTest,
                                 makeCertificateTest, makeTypedCodeTest, makeRoundTripTest});
}
