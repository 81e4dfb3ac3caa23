// What a desktop program owes its user beyond its own commands: keyboard access to the
// sections and to the help of the screen shown, the recent files, and the recovery copy
// that keeps unsaved changes through a crash.
#include "core/StorageErrors.h"
#include "model/Declaration.h"
#include "screens/ScreenContainer.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"
#include "screens/kit/UiText.h"
#include "shell/FileNames.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/RecentFiles.h"
#include "shell/Recovery.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolButton>

namespace kv {

QString MainWindow::helpTopicOf(ScreenId screen) {
    const QString topic = ScreenRegistry::standard().helpTopic(screen);
    return topic.isEmpty() ? kHelpStartTopic : topic;
}

void MainWindow::showScreenHelp() {
    if (screen_ == nullptr) {
        showHelpContents();
        return;
    }
    ScreenId shown = screen_->screenId();
    if (auto* container = qobject_cast<ScreenContainer*>(screen_); container && container->innerScreen())
        shown = container->innerScreen()->screenId();
    showHelpTopic(helpTopicOf(shown));
}

void MainWindow::buildGoMenu() {
    // Between "Декларация" and "Настройки": the sections in the order of their buttons,
    // Ctrl+1 for the first. A hidden section keeps its number and hides its item.
    QMenu* go = new QMenu(QStringLiteral("&Перейти"), this);
    go->setObjectName(QStringLiteral("mnGo"));
    const QList<QAction*> top = menuBar()->actions();
    menuBar()->insertMenu(top.size() >= 3 ? top[2] : nullptr, go);
    constexpr int kDigits = 9;
    int next = 0;
    for (const SectionButtonInfo& info : sectionButtons()) {
        if (!info.screen.has_value() || next == kDigits)
            continue;
        auto* item = go->addAction(info.caption);
        item->setObjectName(QStringLiteral("miGo%1").arg(next + 1));
        item->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + next)));
        item->setShortcutContext(Qt::WindowShortcut);
        item->setVisible(info.visible);
        const Section section = info.section;
        connect(item, &QAction::triggered, this, [this, section] {
            if (sectionEnabled(section))
                switchSection(section);
        });
        addAction(item);
        goActions_[info.section] = item;
        ++next;
    }

    screenHelp_ = new QAction(QStringLiteral("Справка по &текущему экрану"), this);
    screenHelp_->setObjectName(QStringLiteral("ScreenHelp"));
    screenHelp_->setShortcut(QKeySequence(Qt::Key_F1));
    screenHelp_->setShortcutContext(Qt::ApplicationShortcut);
    connect(screenHelp_, &QAction::triggered, this, [this] { showScreenHelp(); });
    addAction(screenHelp_);
    if (auto* help = menuBar()->findChild<QMenu*>(QStringLiteral("mnHelp")))
        help->insertAction(help->actions().value(1), screenHelp_);
}

void MainWindow::buildRecentMenu(QMenu* file, QAction* before) {
    auto* menu = new QMenu(QStringLiteral("&Последние файлы"), file);
    menu->setObjectName(QStringLiteral("mnRecentFiles"));
    file->insertMenu(before, menu);
    file->insertSeparator(before);
    recent_ = std::make_unique<RecentFiles>(menu, [this](const QString& path) { openRecentFile(path); });
}

void MainWindow::openRecentFile(const QString& path) {
    openReturnFile(path);
}

// A return's file dropped anywhere on the window, a field included, opens as from
// "Открыть": the return shown is asked about first.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    if (widget == nullptr || widget->window() != this || droppedFile(drop->mimeData()).isEmpty())
        return QMainWindow::eventFilter(watched, event);
    drop->acceptProposedAction();
    // Opened once the drop is over: the field it fell on goes with the screen.
    if (type == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, path = droppedFile(drop->mimeData())] { openReturnFile(path); },
            Qt::QueuedConnection);
    return true;
}

QString MainWindow::droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

void MainWindow::openReturnFile(const QString& path) {
    if (session_.openFile(fileNameBytes(path).toStdString()))
        recent_->refresh();
}

void MainWindow::writeRecoveryCopy(const QString& file) {
    if (screen_ != nullptr)
        screen_->saveData();
    session_.document().saveToFile(QFile::encodeName(file).toStdString());
}

namespace {

// Names the return and the moment of its copy, so that the person knows which of
// their returns comes back before answering.
QString recoveryQuestionText(const RecoveryKeeper::Copy& copy, bool fileChanged) {
    const QString which =
        copy.originalPath.isEmpty()
            ? QStringLiteral("Найдены несохранённые изменения новой декларации без имени.")
            : QStringLiteral("Найдены несохранённые изменения декларации\n%1").arg(copy.originalPath);
    const QDateTime taken = copy.taken.toLocalTime();
    const QString changed =
        fileChanged ? QStringLiteral("\nС тех пор файл был изменён. Восстановленная декларация откроется без "
                                     "имени, как новая, а файл останется как есть.")
                    : QString();
    return which +
           QStringLiteral("\nКопия изменений сделана %1 в %2.")
               .arg(taken.toString(QStringLiteral("dd.MM.yyyy")), taken.toString(QStringLiteral("HH:mm"))) +
           changed + QStringLiteral("\n\nВосстановить несохранённые изменения?");
}

} // namespace

// Another window or program saved this file after this window read or wrote it: the
// person's save there is not discarded without a question.
bool MainWindow::confirmReplacing(const std::string& bytes) {
    const QString path = fileNameFromBytes(QByteArray::fromStdString(bytes));
    if (documentBase_.path != QFileInfo(path).absoluteFilePath() || !documentBase_.changedOnDisk())
        return true;
    Question q;
    q.id = QStringLiteral("fileChangedElsewhere");
    q.title = programTitle();
    q.text =
        QStringLiteral("Файл был изменён другой программой или в другом окне после того, как декларация "
                       "была открыта здесь:\n%1\n\nЗаменить его этой декларацией? Изменения, сохранённые "
                       "в файле другой программой, будут потеряны.")
            .arg(path);
    q.icon = QuestionIcon::Warning;
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет")};
    q.defaultIndex = 1;
    q.escapeIndex = 1;
    return asker_->ask(this, q) == 0;
}

// Two windows on one return would each save over the other's work: a return another
// window holds is neither opened nor written here, and the person is told where it is.
bool MainWindow::refuseHeldFile(const std::string& bytes, FileUse use) {
    const QString path = fileNameFromBytes(QByteArray::fromStdString(bytes));
    if (recovery_ == nullptr || !recovery_->heldElsewhere(path))
        return false;
    const QString whatToDo =
        use == FileUse::Open
            ? QStringLiteral("Закройте её в том окне, чтобы открыть здесь.")
            : QStringLiteral("Сохраните декларацию под другим именем или закройте её в том окне.");
    asker_->ask(this,
                messageQuestion(QStringLiteral("fileHeldElsewhere"),
                                QStringLiteral("Декларация уже открыта в другом окне программы:\n%1\n\n%2")
                                    .arg(fileNameForDisplay(path), whatToDo),
                                QuestionIcon::Warning));
    return true;
}

// A read-only home (a live system, a locked-down account) loses the safety nets without a
// trace otherwise; said once, at start-up, not at every change.
void MainWindow::tellWhatCannotBeKept() {
    const bool noCopies = recovery_->unavailable();
    const bool noRecent = !RecentFiles::canBeKept();
    if (!noCopies && !noRecent)
        return;
    QStringList lost;
    if (noCopies)
        lost.append(QStringLiteral("копии несохранённых изменений (для восстановления после сбоя)"));
    if (noRecent)
        lost.append(QStringLiteral("список последних файлов"));
    asker_->ask(this, messageQuestion(
                          QStringLiteral("userFolderReadOnly"),
                          QStringLiteral("Папка пользователя недоступна для записи:\n%1\n\nНе "
                                         "сохраняются %2. Сохраняйте декларацию чаще.")
                              .arg(QDir::toNativeSeparators(userFolder_), lost.join(QStringLiteral(" и "))),
                          QuestionIcon::Warning));
}

// At start-up, after the return of the command line (if any) is open.
void MainWindow::offerRecovery() {
    const std::optional<RecoveryKeeper::Copy> copy = recovery_->leftBehind();
    if (!copy.has_value())
        return;
    Question q;
    q.id = QStringLiteral("restoreRecovery");
    q.title = programTitle();
    // A file saved again since the copy's window read it is newer than the copy: both are kept.
    const FileStamp origin{copy->originalPath, copy->base};
    const bool fileChanged = origin.changedOnDisk();
    q.text = recoveryQuestionText(*copy, fileChanged);
    q.icon = QuestionIcon::Question;
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет")};
    q.defaultIndex = 0;
    q.escapeIndex = 1;
    if (asker_->ask(this, q) != 0) {
        recovery_->remove(*copy);
        return;
    }
    auto restored = session_.blankDocument();
    try {
        restored->loadFromFile(QFile::encodeName(copy->file).toStdString());
    } catch (const std::exception&) {
        // A copy cut short by the crash itself: it cannot be offered again.
        showError(QStringLiteral("recoveryFailed"), fromCp1251(msg::badFormat()));
        recovery_->remove(*copy);
        return;
    }
    // The restored return keeps its own path but stays unsaved: the person's file is
    // only ever written by the person's own save.
    documentBase_ = fileChanged ? FileStamp{} : origin;
    session_.restore(std::move(restored),
                     fileChanged ? std::string() : fileNameBytes(origin.path).toStdString());
    // This window's copy first, then the old one goes: a second crash loses nothing.
    if (recovery_->writeNow())
        recovery_->remove(*copy);
}

} // namespace kv
