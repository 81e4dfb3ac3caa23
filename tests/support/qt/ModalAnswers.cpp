#include "ModalAnswers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace kv::test {

namespace {

constexpr int kPollStepMs = 5;

struct Awaited {
    QString name;
    bool settled = false;
};

struct ModalState {
    QStringList failures;
    // Handlers armed before the last takeModalFailures() stop polling.
    int generation = 0;
    std::vector<std::shared_ptr<Awaited>> awaited;
};

ModalState& state() {
    static ModalState s;
    return s;
}

QString shownName(const QString& objectName) {
    return objectName.isEmpty() ? QStringLiteral("(any modal dialog)") : objectName;
}

bool matches(const QDialog* dialog, const QString& objectName) {
    return dialog != nullptr && dialog->isVisible() &&
           (objectName.isEmpty() || dialog->objectName() == objectName);
}

void closeLeftOpen(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

// One armed handler: polls from the event loop of whatever runs (usually the dialog's
// own exec()), so the test's code never blocks on it.
class ModalHandler {
public:
    ModalHandler(QString name, std::function<void(QDialog&)> handle)
        : name_(std::move(name)), handle_(std::move(handle)), armedIn_(state().generation),
          awaited_(std::make_shared<Awaited>(Awaited{name_})) {
        state().awaited.push_back(awaited_);
        sinceArmed_.start();
    }

    // True while the handler wants to be polled again.
    bool poll() {
        if (state().generation != armedIn_)
            return false;
        if (answered_)
            return waitForClosing();
        if (awaited_->settled)
            return false;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!matches(dialog, name_)) {
            if (sinceArmed_.hasExpired(kModalLimitMs))
                fail(QStringLiteral("dialog %1 never opened").arg(shownName(name_)));
            return !awaited_->settled;
        }
        if (!dialog->isActiveWindow() && !waitedForActivation())
            return true;
        awaited_->settled = true;
        answered_ = dialog;
        handle_(*dialog);
        sinceAnswered_.start();
        return waitForClosing();
    }

private:
    // A button pressed by its shortcut clicks a moment later, as it does for a person,
    // so the window is given the limit to close before it counts as left open.
    bool waitForClosing() {
        if (!answered_ || !answered_->isVisible())
            return false;
        if (!sinceAnswered_.hasExpired(kModalLimitMs))
            return true;
        state().failures.append(QStringLiteral("dialog %1 was left open").arg(shownName(name_)));
        answered_->reject();
        return false;
    }

    // A window manager activates a new window; if nothing does within the limit, the
    // handler acts anyway and a key that needed an active window leaves it open, which
    // is reported. Asking once half-way covers a platform that only activates on request.
    bool waitedForActivation() {
        if (!sinceShown_.isValid())
            sinceShown_.start();
        if (!askedToActivate_ && sinceShown_.hasExpired(kModalLimitMs / 2)) {
            askedToActivate_ = true;
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->activateWindow();
        }
        return sinceShown_.hasExpired(kModalLimitMs);
    }

    void fail(const QString& message) {
        awaited_->settled = true;
        state().failures.append(message);
    }

    QString name_;
    std::function<void(QDialog&)> handle_;
    int armedIn_;
    std::shared_ptr<Awaited> awaited_;
    QElapsedTimer sinceArmed_;
    QElapsedTimer sinceShown_;
    QElapsedTimer sinceAnswered_;
    QPointer<QDialog> answered_;
    bool askedToActivate_ = false;
};

void schedule(std::shared_ptr<ModalHandler> handler) {
    QTimer::singleShot(kPollStepMs, [handler] {
        if (handler->poll())
            schedule(handler);
    });
}

} // namespace

void whenModal(const QString& objectName, std::function<void(QDialog&)> handle) {
    auto handler = std::make_shared<ModalHandler>(objectName, std::move(handle));
    QTimer::singleShot(0, [handler] {
        if (handler->poll())
            schedule(handler);
    });
}

void noteFailure(const QString& message) {
    state().failures.append(message);
}

QStringList takeModalFailures() {
    ModalState& s = state();
    ++s.generation;
    for (const auto& awaited : s.awaited) {
        if (!awaited->settled)
            s.failures.append(QStringLiteral("dialog %1 never opened").arg(shownName(awaited->name)));
    }
    s.awaited.clear();
    QStringList taken = s.failures;
    s.failures.clear();
    return taken;
}

ModalWatchdog::ModalWatchdog(std::function<void(const QString&)> report, QObject* parent)
    : QObject(parent), report_(std::move(report)) {
    qApp->installEventFilter(this);
    auto* timer = new QTimer(this);
    timer->setInterval(200);
    connect(timer, &QTimer::timeout, this, &ModalWatchdog::look);
    timer->start();
}

// A window shown again (a dialog on the stack, asked twice at one address) starts anew.
bool ModalWatchdog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched == seen_)
        seenFor_.start();
    return QObject::eventFilter(watched, event);
}

void ModalWatchdog::look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != seen_) {
        seen_ = modal;
        seenFor_.start();
        return;
    }
    // Beyond the handlers' own limits, so that an armed handler always reports first.
    if (modal == nullptr || !seenFor_.hasExpired(2 * kModalLimitMs))
        return;
    report_(QStringLiteral("modal window %1 («%2») was left unanswered and is closed")
                .arg(modal->objectName(), modal->windowTitle()));
    seen_ = nullptr;
    closeLeftOpen(modal);
}

int runQtTest(int argc, char* argv[], QObject* (*make)()) {
    QApplication application(argc, argv);
    ModalWatchdog watchdog(
        [](const QString& message) { QTest::qFail(qPrintable(message), __FILE__, __LINE__); });
    const std::unique_ptr<QObject> test(make());
    return QTest::qExec(test.get(), argc, argv);
}

} // namespace kv::test
