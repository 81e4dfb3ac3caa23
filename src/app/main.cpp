#include "shell/Startup.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit must not kill the program mid-save with the return unsaved:
    // the write then fails with EFBIG, and the save reports it and keeps the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    return kv::runProgram(application);
}
