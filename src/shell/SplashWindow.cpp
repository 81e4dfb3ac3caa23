#include "shell/SplashWindow.h"

#include "screens/kit/Pictures.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace kv {

SplashWindow::SplashWindow(std::chrono::milliseconds shownFor)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TFormSplash"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QTimer::singleShot(shownFor, this, &QWidget::close);
    QCoreApplication::instance()->installEventFilter(this);
}

void SplashWindow::showAndPaint() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
    repaint();
    QCoreApplication::processEvents();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!isVisible())
        return false;
    const QEvent::Type type = event->type();
    const bool input = type == QEvent::KeyPress || type == QEvent::MouseButtonPress;
    const bool question =
        type == QEvent::Show && watched != this && qobject_cast<QDialog*>(watched) != nullptr;
    if (input || question)
        close();
    return false;
}

void SplashWindow::paintEvent(QPaintEvent*) {
    static const QPixmap picture = splashPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

} // namespace kv
