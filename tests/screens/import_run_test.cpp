// Imports run from a dialog: the work goes on a thread of its own while the window keeps
// processing its events, the dialog takes no input and shows what it is busy with, and a
// failure of the work comes back to the dialog's code.
#include "ModalAnswers.h"
#include "screens/kit/ImportRun.h"

#include <QDialog>
#include <QProgressDialog>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <future>
#include <stdexcept>

using namespace kv;

class ImportRunTest : public QObject {
    Q_OBJECT
private slots:
    // The work waits for the window's own thread to run a timer: done only when that
    // thread goes on meanwhile (never by timing). Should it not, the wait gives up and the
    // test fails instead of hanging.
    void theWindowGoesOnWhileTheWorkRuns() {
        QDialog dialog;
        dialog.show();
        std::promise<void> windowRan;
        bool busyShown = false;
        QTimer::singleShot(0, &dialog, [&] {
            busyShown =
                !dialog.isEnabled() && dialog.findChild<QProgressDialog*>(QStringLiteral("importProgress"));
            windowRan.set_value();
        });
        bool offTheWindowsThread = false;
        bool windowWentOn = false;
        runImport(&dialog, QStringLiteral("Импорт..."), [&] {
            offTheWindowsThread = QThread::currentThread() != dialog.thread();
            windowWentOn =
                windowRan.get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready;
        });
        QVERIFY(offTheWindowsThread);
        QVERIFY(windowWentOn);
        QVERIFY(busyShown);
        QVERIFY(dialog.isEnabled());
        QVERIFY(!dialog.findChild<QProgressDialog*>());
        KV_VERIFY_MODALS();
    }

    void aFailureComesBackToTheCaller() {
        QDialog dialog;
        bool thrown = false;
        try {
            runImport(&dialog, QStringLiteral("Импорт..."), [] { throw std::runtime_error("broken"); });
        } catch (const std::runtime_error& e) {
            thrown = QByteArray(e.what()) == "broken";
        }
        QVERIFY(thrown);
        QVERIFY(dialog.isEnabled());
    }
};

KV_QTEST_MAIN(ImportRunTest)

#include "import_run_test.moc"
