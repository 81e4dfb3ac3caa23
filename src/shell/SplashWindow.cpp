#include "shell/SplashWindow.h"

#include "screens/Pictures.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace kv {

SplashWindow::SplashWindow(std::chrono::milliseconds minimum)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TFormSplash"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this] { fired_ = true; });
    timer->start(minimum);
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

void SplashWindow::waitForMinimum() {
    while (!fired_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    static const QPixmap picture = splashPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

} // namespace kv
