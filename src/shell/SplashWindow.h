#pragma once
// The borderless picture shown while the main window is built. It stays its time from
// its creation, but never holds a person up or hides a question: a key or a click
// anywhere in the program closes it, and so does any other window of the program
// being shown (a start-up question, the main window's first dialog).
#include <QWidget>
#include <chrono>

namespace kv {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 460;
    static constexpr int kHeight = 104;

    explicit SplashWindow(std::chrono::milliseconds shownFor = std::chrono::milliseconds(3000));

    // Centres the window on the primary screen, shows it and paints it at once.
    void showAndPaint();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kv
