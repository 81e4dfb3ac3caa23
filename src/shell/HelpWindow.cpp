#include "shell/HelpWindow.h"

#include "screens/kit/UiText.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>

namespace kv {

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QMainWindow(parent), folder_(helpFolder) {
    setObjectName(QStringLiteral("TFormHelp"));
    setWindowTitle(QStringLiteral("Справка - ") + programTitle());
    setAttribute(Qt::WA_DeleteOnClose, false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setSearchPaths({folder_});
    // Pages of the help open here; addresses outside it go to the user's browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isRelative() || url.isLocalFile())
            browser_->setSource(url);
        else
            QDesktopServices::openUrl(url);
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle((title.isEmpty() ? QStringLiteral("Справка") : title) + QStringLiteral(" - ") +
                       programTitle());
    });
    setCentralWidget(browser_);

    auto* bar = addToolBar(QStringLiteral("Справка"));
    bar->setMovable(false);
    QAction* back = bar->addAction(QStringLiteral("Назад"), browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QStringLiteral("Вперёд"), browser_, &QTextBrowser::forward);
    bar->addAction(QStringLiteral("Содержание"), this, [this] { openTopic(kHelpStartTopic); });
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    resize(900, 650);

    // Closed as other help and document windows are.
    auto* closeWindow = new QAction(QStringLiteral("Закрыть"), this);
    closeWindow->setObjectName(QStringLiteral("CloseHelp"));
    closeWindow->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);
}

bool HelpWindow::openTopic(const QString& topic) {
    const QString path = QDir(folder_).filePath(topic);
    if (!QFileInfo::exists(path))
        return false;
    browser_->setSource(QUrl::fromLocalFile(path));
    showMaximized();
    raise();
    activateWindow();
    return true;
}

QString HelpWindow::currentTopic() const {
    return QFileInfo(browser_->source().toLocalFile()).fileName();
}

} // namespace kv
