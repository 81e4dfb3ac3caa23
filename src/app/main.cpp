#include "shell/FileNames.h"
#include "shell/Startup.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit must not kill the program mid-save with the return unsaved:
    // the write then fails with EFBIG, and the save reports it and keeps the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    // The arguments Qt left, as bytes: QApplication::arguments() would lose a file name that
    // is not UTF-8.
    return kv::runProgram(application, kv::argumentsFromBytes(argc, argv));
}
