#pragma once
// The borderless picture shown while the main window is built. It stays at least
// its minimum time from its creation, longer when the build takes longer.
#include <QWidget>
#include <chrono>

namespace kv {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 460;
    static constexpr int kHeight = 104;

    explicit SplashWindow(std::chrono::milliseconds minimum = std::chrono::milliseconds(3000));

    // Centres the window on the primary screen, shows it and paints it at once.
    void showAndPaint();
    bool timerFired() const { return fired_; }
    // Processes window messages until the minimum time has passed.
    void waitForMinimum();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool fired_ = false;
};

} // namespace kv
