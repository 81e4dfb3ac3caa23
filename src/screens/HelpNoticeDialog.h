#pragma once
// A short notice with an optional link into the program's help and the button "Закрыть".
#include <QDialog>
#include <functional>

class QLabel;

namespace kv {

class HelpNoticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpNoticeDialog(QWidget* parent = nullptr);

    void setMessage(const QString& text);
    void setLinkVisible(bool visible);
    void setTopic(const QString& topic);
    const QString& topic() const { return topic_; }

    // Called with the topic when the link is clicked.
    std::function<void(const QString& topic)> openTopic;

private:
    QLabel* message_;
    QLabel* link_;
    QString topic_;
};

} // namespace kv
