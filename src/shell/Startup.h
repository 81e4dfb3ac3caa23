#pragma once
// The program from its start to its end: splash window, main window, message loop.
#include "core/Date.h"
#include "export/FileIdentity.h"
#include "screens/kit/Asker.h"
#include "shell/MainWindow.h"
#include "shell/PrintJob.h"

#include <QStringList>

class QApplication;

namespace kv {

// The program's own services for the main window: its dialogs, the system's clock,
// random identifiers for exported files and the print module.
struct ProgramServices {
    WidgetAsker asker;
    SystemClock clock;
    UuidIdSource ids;
    ModulePrintJob printJob;

    // The window's options with these services.
    MainWindowOptions options();
};

// arguments: the command line after the program's name, file names kept as their bytes
// (argumentsFromBytes).
int runProgram(QApplication& application, const QStringList& arguments);

} // namespace kv
