#pragma once
// The program from its start to its end: splash window, main window, message loop.
#include <QStringList>

class QApplication;

namespace kv {

// arguments: the command line after the program's name, file names kept as their bytes
// (argumentsFromBytes).
int runProgram(QApplication& application, const QStringList& arguments);

} // namespace kv
