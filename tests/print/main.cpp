// The print tests draw pages, read barcodes from images and open the preview
// window, so they run inside a QApplication on the offscreen platform.
#include "ModalAnswers.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kv::test::ModalWatchdog watchdog([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
