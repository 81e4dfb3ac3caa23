#pragma once
// "О программе": the emblem, where to ask for help, and where the latest version is.
#include <QDialog>

namespace kv {

class Asker;

inline const QString kProgramSite = QStringLiteral("https://kvilmar.ru/");

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(Asker& asker, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLink(const QString& link);

    Asker& asker_;
    QWidget* picture_;
};

} // namespace kv
