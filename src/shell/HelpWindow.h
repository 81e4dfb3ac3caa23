#pragma once
// The program's help: HTML pages in the folder "help" beside the program, shown
// in a window of their own with the usual back, forward and contents commands.
#include <QMainWindow>

class QTextBrowser;

namespace kv {

inline const QString kHelpFolder = QStringLiteral("help/");
inline const QString kHelpStartTopic = QStringLiteral("runprogramm.htm");

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

    // Shows a page of the help folder, maximized; false when the page is missing.
    bool openTopic(const QString& topic);
    QString currentTopic() const;

private:
    QString folder_;
    QTextBrowser* browser_;
};

} // namespace kv
