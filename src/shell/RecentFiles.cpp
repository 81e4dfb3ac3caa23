#include "shell/RecentFiles.h"

#include "shell/FileNames.h"
#include "shell/ProgramSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace kv {

namespace {

const QString kSettingRecentFiles = QStringLiteral("RecentFiles");

} // namespace

RecentFiles::RecentFiles(QMenu* menu, std::function<void(const QString&)> open)
    : QObject(menu), menu_(menu), open_(std::move(open)) {
    // Files can vanish while the program runs: the list is read afresh each time it opens.
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::refresh);
    refresh();
}

QStringList RecentFiles::files() {
    const QStringList kept = openProgramSettings()->value(kSettingRecentFiles).toStringList();
    QStringList existing;
    for (const QString& path : kept) {
        if (isRegularFile(path) && !existing.contains(path))
            existing.append(path);
    }
    if (existing != kept)
        write(existing);
    return existing;
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kLimit)
        list.removeLast();
    write(list);
    refresh();
}

void RecentFiles::write(const QStringList& files) {
    const std::unique_ptr<QSettings> s = openProgramSettings();
    s->setValue(kSettingRecentFiles, files);
    s->sync();
}

bool RecentFiles::canBeKept() {
    return openProgramSettings()->isWritable();
}

void RecentFiles::refresh() {
    menu_->clear();
    const QStringList list = files();
    QStringList names;
    for (const QString& path : list)
        names.append(fileNameForDisplay(QFileInfo(path).fileName()));
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        // "&1 name" to "&8 name": a digit picks the file from the keyboard. Two returns
        // of one name in different folders are told apart by their folders.
        QString caption = QStringLiteral("&%1 %2").arg(i + 1).arg(names[i]);
        if (names.count(names[i]) > 1)
            caption += QStringLiteral(" (%1)").arg(
                QDir::toNativeSeparators(fileNameForDisplay(QFileInfo(path).absolutePath())));
        auto* item = menu_->addAction(caption);
        item->setToolTip(QDir::toNativeSeparators(path));
        item->setStatusTip(QDir::toNativeSeparators(path));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_->setEnabled(!list.isEmpty());
}

} // namespace kv
