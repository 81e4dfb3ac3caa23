#include "screens/kit/ImportRun.h"

#include "reference/ImportGuard.h"
#include "screens/kit/Asker.h"
#include "screens/kit/UiText.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <exception>
#include <memory>

namespace kv {

void runImport(QWidget* parent, const QString& label, const std::function<void()>& work) {
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);

    // Not modal: it only tells what the disabled dialog below it is busy with. A short
    // import ends before it would show.
    QProgressDialog progress(label, QString(), 0, 0, parent);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowModality(Qt::NonModal);
    progress.setMinimumDuration(400);
    const bool enabled = parent != nullptr && parent->isEnabled();
    if (parent != nullptr)
        parent->setEnabled(false);
    thread->start();
    loop.exec();
    thread->wait();
    if (parent != nullptr)
        parent->setEnabled(enabled);
    if (failure)
        std::rethrow_exception(failure);
}

bool confirmShrink(Asker& asker, QWidget* parent, const QString& id, const ClassifierShrinkError& shrink) {
    Question q;
    q.id = id;
    q.title = programTitle();
    q.text = fromCp1251(shrink.message()) + QStringLiteral("\n\nЗаменить справочник?");
    q.icon = QuestionIcon::Warning;
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет")};
    q.defaultIndex = 1;
    q.escapeIndex = 1;
    return asker.ask(parent, q) == 0;
}

} // namespace kv
