#pragma once
// Answering the modal windows that the code under test opens, the way a person does,
// without ever letting a test wait forever inside a window's exec().
//
// A person answers a window that is on screen and active; keys typed before that go
// elsewhere (an Alt shortcut, for one, matches only in the active window). So a
// handler acts once its window is visible and active. Everything that could hang a
// test instead has a limit, after which the window is rejected and the test fails
// with a message naming it: a window that never opens, one that is still open after
// its handler answered, and (through ModalWatchdog) one that nobody answers at all.
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <functional>

namespace kv::test {

// Generous on purpose: a loaded two-core machine is slow, and these limits only bound
// a hang; no passing test comes near them.
inline constexpr int kModalLimitMs = 10000;

// Runs handle on the next modal dialog with this object name (any modal dialog when
// the name is empty) once it is visible and the active window. The handler closes
// the dialog; one left open is rejected and reported.
void whenModal(const QString& objectName, std::function<void(QDialog&)> handle);

// What went wrong with armed handlers since the last call: dialogs that never opened
// (also those still awaited now), dialogs left open. Stops every pending handler and
// empties the list.
QStringList takeModalFailures();

// A failure found inside a dialog's event loop, where a QVERIFY cannot end the test:
// reported with the next takeModalFailures().
void noteFailure(const QString& message);

// Rejects any modal window that stays open past the limit with no handler to answer
// it, and reports it: an unexpected question fails its test instead of the whole run
// waiting for the test framework's watchdog.
class ModalWatchdog : public QObject {
public:
    explicit ModalWatchdog(std::function<void(const QString&)> report, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look();

    std::function<void(const QString&)> report_;
    QWidget* seen_ = nullptr;
    QElapsedTimer seenFor_;
};

// A QTest program's main: the application, the watchdog reporting into the running
// test function, then the test class that make builds.
int runQtTest(int argc, char* argv[], QObject* (*make)());

} // namespace kv::test

// Every armed modal handler ran and closed its dialog.
#define KV_VERIFY_MODALS()                                                                                   \
    do {                                                                                                     \
        const QStringList kvModal = kv::test::takeModalFailures();                                           \
        QVERIFY2(kvModal.isEmpty(), qPrintable(kvModal.join(QLatin1Char('\n'))));                            \
    } while (false)

// A program compiled with KV_QTEST_OWN_FOLDERS (kv_add_qtests' OWN_FOLDERS) writes the
// user's data and settings into folders of its own, never into the real ones.
#ifdef KV_QTEST_OWN_FOLDERS
#define KV_QTEST_FOLDERS() QStandardPaths::setTestModeEnabled(true)
#else
#define KV_QTEST_FOLDERS() static_cast<void>(0)
#endif

// QTEST_MAIN with the watchdog: one test class, one program.
#define KV_QTEST_MAIN(TestClass)                                                                             \
    int main(int argc, char* argv[]) {                                                                       \
        KV_QTEST_FOLDERS();                                                                                  \
        return kv::test::runQtTest(argc, argv, []() -> QObject* { return new TestClass; });                 \
    }
