// The open return as the window shows it: the session's questions asked with the
// window's dialogs, and its changes shown in the title, the screen and the recovery copy.
#include "core/StorageErrors.h"
#include "model/Declaration.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"
#include "shell/DialogFolders.h"
#include "shell/FileNames.h"
#include "shell/MainWindow.h"
#include "shell/RecentFiles.h"
#include "shell/Recovery.h"
#include "shell/ResultSummary.h"

#include <QFile>
#include <QFileInfo>
#include <array>

namespace kv {

namespace {

std::string fileSystemPath(const QString& path) {
    return fileNameBytes(path).toStdString();
}

QString pathFromBytes(const std::string& path) {
    return fileNameFromBytes(QByteArray::fromStdString(path));
}

// A storage message is Windows-1251 text, except the file's path inside it, which
// holds the file system's bytes; each part is converted as what it is.
QString storageMessage(const Cp1251Text& text, const std::string& bytes) {
    const std::size_t at = bytes.empty() ? std::string::npos : text.bytes().find(bytes);
    if (at == std::string::npos)
        return fromCp1251(text);
    return fromCp1251(text.substr(0, at)) + fileNameForDisplay(pathFromBytes(bytes)) +
           fromCp1251(text.substr(at + bytes.size()));
}

FileQuestion openQuestion() {
    FileQuestion q;
    q.id = QStringLiteral("openReturn");
    q.title = QStringLiteral("Открыть");
    q.defaultSuffix = QStringLiteral("qv9");
    q.filters = {
        QStringLiteral("Декларации (*.qv9 *.qv8 *.qv7 *.qv6 *.qv5 *.qv4 *.qv3 *.qv2 *.qv1 *.qv0 *.qvl)"),
        QStringLiteral("Квилмар 2019 (*.qv9)"),
        QStringLiteral("Квилмар 2018 (*.qv8)"),
        QStringLiteral("Квилмар 2017 (*.qv7)"),
        QStringLiteral("Квилмар 2016 (*.qv6)"),
        QStringLiteral("Квилмар 2015 (*.qv5)"),
        QStringLiteral("Квилмар 2014 (*.qv4)"),
        QStringLiteral("Квилмар 2013 (*.qv3)"),
        QStringLiteral("Квилмар 2012 (*.qv2)"),
        QStringLiteral("Квилмар 2011 (*.qv1)"),
        QStringLiteral("Квилмар 2010 (*.qv0)"),
        QStringLiteral("Квилмар 200* (*.qvl)"),
        QStringLiteral("Все файлы (*)")};
    return q;
}

FileQuestion saveQuestion() {
    FileQuestion q;
    q.id = QStringLiteral("saveReturn");
    q.title = QStringLiteral("Сохранить как");
    q.defaultSuffix = QStringLiteral("qv9");
    q.filters = {QStringLiteral("Квилмар 2019 (*.qv9)")};
    return q;
}

} // namespace

QString MainWindow::documentPath() const {
    return pathFromBytes(session_.path());
}

void MainWindow::showError(const QString& id, const QString& text) {
    asker_->ask(this, messageQuestion(id, text, QuestionIcon::Critical));
}

SaveAnswer MainWindow::askToSave() {
    Question q;
    q.id = QStringLiteral("saveQuestion");
    q.title = programTitle();
    q.text = QStringLiteral("Вы хотите сохранить декларацию?");
    q.icon = QuestionIcon::Question;
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")};
    q.defaultIndex = 0;
    q.escapeIndex = 2;
    static constexpr std::array answers{SaveAnswer::Save, SaveAnswer::DontSave, SaveAnswer::Cancel};
    const int answer = asker_->ask(this, q);
    return answer >= 0 && answer < 3 ? answers[static_cast<std::size_t>(answer)] : SaveAnswer::Cancel;
}

std::optional<std::string> MainWindow::askOpenPath() {
    FileQuestion q = openQuestion();
    q.directory = dialogStartFolder(documentPath());
    const std::optional<QString> path = asker_->openFile(this, q);
    if (!path.has_value())
        return std::nullopt;
    return fileSystemPath(*path);
}

std::optional<std::string> MainWindow::askSavePath() {
    FileQuestion q = saveQuestion();
    q.directory = dialogStartFolder(documentPath());
    q.fileName = returnFileName();
    const std::optional<QString> path = asker_->saveFile(this, q);
    if (!path.has_value() || path->isEmpty())
        return std::nullopt;
    return fileSystemPath(*path);
}

void MainWindow::showFailure(FileUse use, const Cp1251Text& message, const std::string& path) {
    showError(use == FileUse::Open ? QStringLiteral("openFailed") : QStringLiteral("saveFailed"),
              storageMessage(message, path));
}

void MainWindow::beforeSave() {
    if (screen_ != nullptr)
        screen_->saveData();
}

void MainWindow::returnLeaving() {
    destroyScreen();
}

void MainWindow::returnArrived() {
    setTitleFromPath();
    showInitialScreen();
    setSectionsFromDocument();
}

void MainWindow::fileTaken(const std::string& path) {
    if (path.empty()) {
        documentBase_ = {};
        return;
    }
    const QString file = pathFromBytes(path);
    recent_->add(file);
    documentBase_ = FileStamp::of(QFileInfo(file).absoluteFilePath());
}

void MainWindow::stateChanged(bool saved) {
    setTitleFromPath();
    setWindowModified(!saved);
    if (recovery_ == nullptr)
        return;
    if (saved)
        recovery_->discard();
    else
        recovery_->changed();
}

// The name Save As and print to file propose: the return's own file, or one made from
// the taxpayer's surname for a return not saved yet.
QString MainWindow::returnFileName() const {
    if (!session_.path().empty())
        return QFileInfo(pathFromBytes(ReturnSession::pathForSaving(session_.path()))).fileName();
    const QString surname = fromCp1251(session_.document().person.surname).trimmed();
    return (surname.isEmpty() ? QStringLiteral("Декларация") : surname) + QStringLiteral(" 2019.qv9");
}

void MainWindow::setTitleFromPath() {
    const QString name = session_.path().empty() ? QStringLiteral("Без имени")
                                                 : fileNameForDisplay(QFileInfo(documentPath()).fileName());
    // "[*]" shows an asterisk while the return has unsaved changes (setWindowModified).
    setWindowTitle(name + QStringLiteral("[*] - ") + programTitle());
}

void MainWindow::showInitialScreen() {
    closeResultSummary(this);
    buildScreen(ScreenId::InitialData);
    pressSection(Section::InitialData);
    focusFirstField(screen_);
}

} // namespace kv
