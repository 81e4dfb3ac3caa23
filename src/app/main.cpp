#include "shell/CommandLine.h"
#include "shell/FileNames.h"
#include "shell/Startup.h"

#include <QApplication>

#include <csignal>
#include <iostream>

int main(int argc, char* argv[]) {
    // A file-size limit must not kill the program mid-save with the return unsaved:
    // the write then fails with EFBIG, and the save reports it and keeps the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window exists, so that they work without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto answer = kv::commandLineAnswer(arguments)) {
        (answer->status == 0 ? std::cout : std::cerr) << answer->text << std::flush;
        return answer->status;
    }
    QApplication application(argc, argv);
    // The arguments Qt left, as bytes: QApplication::arguments() would lose a file name that
    // is not UTF-8.
    return kv::runProgram(application, kv::argumentsFromBytes(argc, argv));
}
