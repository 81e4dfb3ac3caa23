#pragma once
// "О программе": the emblem and the version, the terms of use, the folders the program
// reads its directories and help from, where to ask for help and where the latest
// version is.
#include <QDialog>
#include <QStringList>

namespace kv {

class Asker;

inline const QString kProgramSite = QStringLiteral("https://kvilmar.ru/");

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // dataFolders: where directory files and help are looked for, in order.
    AboutDialog(Asker& asker, QWidget* parent = nullptr, const QStringList& dataFolders = {});

    static QString versionText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLink(const QString& link);

    Asker& asker_;
    QWidget* picture_;
};

} // namespace kv
