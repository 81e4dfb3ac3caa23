#pragma once
// The program from its start to its end: splash window, main window, message loop.
class QApplication;

namespace kv {

int runProgram(QApplication& application);

} // namespace kv
