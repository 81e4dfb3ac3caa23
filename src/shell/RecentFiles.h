#pragma once
// "Последние файлы": the returns opened or saved lately, newest first, kept in the
// window settings and shown as a submenu of "Файл". A file that no longer exists is
// dropped from the list the next time the list is read.
#include <QObject>
#include <QStringList>
#include <functional>

class QMenu;

namespace kv {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kLimit = 8;

    // open is called with the path of the item chosen.
    RecentFiles(QMenu* menu, std::function<void(const QString& path)> open);

    // The list, dropping (also from the settings) the files that are gone.
    QStringList files();
    // Puts the file first (once); the oldest fall off past the limit.
    void add(const QString& path);
    // Rebuilds the submenu from the list; disabled when the list is empty.
    void refresh();
    // False when the settings cannot be written (the user's folder is read-only).
    static bool canBeKept();

private:
    void write(const QStringList& files);

    QMenu* menu_;
    std::function<void(const QString&)> open_;
};

} // namespace kv
