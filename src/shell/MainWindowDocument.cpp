// The life of the open return: new, open, save, save as, and the question asked
// before a changed return is dropped.
#include "core/StorageErrors.h"
#include "model/Declaration.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"
#include "shell/DialogFolders.h"
#include "shell/FileNames.h"
#include "shell/MainWindow.h"
#include "shell/RecentFiles.h"
#include "shell/ResultSummary.h"

#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

std::string fileSystemPath(const QString& path) {
    return fileNameBytes(path).toStdString();
}

// A storage message is Windows-1251 text, except the file's path inside it, which
// holds the file system's bytes; each part is converted as what it is.
QString storageMessage(const std::exception& failure, const QString& path) {
    const std::string text = failure.what();
    const std::string bytes = fileSystemPath(path);
    const std::size_t at = bytes.empty() ? std::string::npos : text.find(bytes);
    if (at == std::string::npos)
        return fromCp1251(text);
    return fromCp1251(text.substr(0, at)) + fileNameForDisplay(path) +
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

std::unique_ptr<Declaration> MainWindow::newDocument() const {
    return std::make_unique<Declaration>(*clock_);
}

std::unique_ptr<Declaration> MainWindow::newReturnDocument() const {
    auto document = newDocument();
    ApplyNewReturnSetup(*document);
    return document;
}

void MainWindow::ApplyNewReturnSetup(Declaration& document) const {
    document.inspectionCode.clear();
    document.documentDate = clock_->today();
    document.submitterKind = 0;
    document.setIncomeFlags(Declaration::kAgentIncomes);
    document.sheetCountAutomatic = 1;
    // The taxpayer screen shows a new taxpayer as a citizen; the new return says so
    // in the file as well, rather than leaving the status unset.
    document.person.citizenshipStatus.assign(1, '1'); // not "=": GCC 12's false -Wrestrict
}

// A document of an earlier year (".qv0" .. ".qv8", ".qvl") is saved beside it as
// ".qv9", leaving the old file untouched. Any other name gets ".qv9" added rather
// than losing its last letter, which would save "Return" as "Retur9".
QString MainWindow::PathForSaving(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('9')))
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.size() > 4 && name.at(name.size() - 4) == QLatin1Char('.') &&
        name.mid(name.size() - 3, 2).compare(QLatin1String("qv"), Qt::CaseInsensitive) == 0) {
        QString result = path;
        result[result.size() - 1] = QLatin1Char('9');
        return result;
    }
    return path + QLatin1String(".qv9");
}

void MainWindow::showError(const QString& id, const QString& text) {
    asker_->ask(this, messageQuestion(id, text, QuestionIcon::Critical));
}

// Any failure to read the file, a missing stream of a damaged file included, is
// shown and leaves a new return; a half-read document is never kept.
void MainWindow::loadOrNew(const QString& path) {
    // Kept absolute: the working folder changes under the file dialogs, and a recovery
    // copy restored by a program started elsewhere must go back to this same file.
    documentPath_ = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    document_ = newDocument();
    QString failure;
    if (refuseHeldFile(documentPath_, QStringLiteral("Закройте её в том окне, чтобы открыть здесь."))) {
        documentPath_.clear();
        documentBase_ = {};
        document_ = newReturnDocument();
        return;
    }
    try {
        document_->loadFromFile(fileSystemPath(documentPath_));
        recent_->add(documentPath_);
        documentBase_ = FileStamp::of(documentPath_);
        return;
    } catch (const ConversionError&) {
        failure = fromCp1251(msg::badFormat());
    } catch (const StorageError& e) {
        failure = storageMessage(e, documentPath_);
    } catch (const std::exception&) {
        failure = fromCp1251(msg::badFormat());
    }
    showError(QStringLiteral("openFailed"), failure);
    documentPath_.clear();
    documentBase_ = {};
    document_ = newReturnDocument();
}

bool MainWindow::writeDocument(const QString& path) {
    if (refuseHeldFile(
            path, QStringLiteral("Сохраните декларацию под другим именем или закройте её в том окне.")) ||
        !confirmReplacing(path))
        return false;
    try {
        document_->saveToFile(fileSystemPath(path));
        recent_->add(path);
        documentBase_ = FileStamp::of(QFileInfo(path).absoluteFilePath());
        return true;
    } catch (const StorageError& e) {
        showError(QStringLiteral("saveFailed"), storageMessage(e, path));
    } catch (const std::exception& e) {
        showError(QStringLiteral("saveFailed"), storageMessage(e, path));
    }
    return false;
}

std::optional<QString> MainWindow::askSavePath() {
    FileQuestion q = saveQuestion();
    q.directory = dialogStartFolder(documentPath_);
    q.fileName = returnFileName();
    std::optional<QString> path = asker_->saveFile(this, q);
    if (path.has_value() && path->isEmpty())
        return std::nullopt;
    return path;
}

// The name Save As and print to file propose: the return's own file, or one made from
// the taxpayer's surname for a return not saved yet.
QString MainWindow::returnFileName() const {
    if (!documentPath_.isEmpty())
        return QFileInfo(PathForSaving(documentPath_)).fileName();
    const QString surname = fromCp1251(document_->person.surname).trimmed();
    return (surname.isEmpty() ? QStringLiteral("Декларация") : surname) + QStringLiteral(" 2019.qv9");
}

void MainWindow::setTitleFromPath() {
    const QString name = documentPath_.isEmpty() ? QStringLiteral("Без имени")
                                                 : fileNameForDisplay(QFileInfo(documentPath_).fileName());
    // "[*]" shows an asterisk while the return has unsaved changes (setWindowModified).
    setWindowTitle(name + QStringLiteral("[*] - ") + programTitle());
}

void MainWindow::showInitialScreen() {
    closeResultSummary(this);
    buildScreen(ScreenId::InitialData);
    pressSection(Section::InitialData);
    focusFirstField(screen_);
}

bool MainWindow::SaveQuery() {
    if (documentSaved_)
        return true;
    Question q;
    q.id = QStringLiteral("saveQuestion");
    q.title = programTitle();
    q.text = QStringLiteral("Вы хотите сохранить декларацию?");
    q.icon = QuestionIcon::Question;
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")};
    q.defaultIndex = 0;
    q.escapeIndex = 2;
    const int answer = asker_->ask(this, q);
    if (answer == 1)
        return true;
    if (answer != 0)
        return false;
    // The person asked to save: a cancelled dialog or a failed save abandons the
    // command rather than dropping the return they wanted kept. Once saved, a
    // command that then keeps the return (a cancelled open dialog) asks no more.
    return SaveReturn();
}

void MainWindow::NewReturn() {
    if (!SaveQuery())
        return;
    // The screen goes first: it must never see a document other than its own.
    destroyScreen();
    document_ = newReturnDocument();
    showInitialScreen();
    documentPath_.clear();
    documentBase_ = {};
    documentSaved_ = true;
    setTitleFromPath();
    setSectionsFromDocument();
}

void MainWindow::OpenReturn() {
    if (!SaveQuery())
        return;
    // The open return stays until another one is chosen: cancelling the dialog
    // changes nothing.
    FileQuestion q = openQuestion();
    q.directory = dialogStartFolder(documentPath_);
    const std::optional<QString> path = asker_->openFile(this, q);
    if (!path.has_value())
        return;
    destroyScreen();
    loadOrNew(*path);
    setTitleFromPath();
    showInitialScreen();
    documentSaved_ = true;
    setSectionsFromDocument();
}

bool MainWindow::SaveReturn() {
    QString path = documentPath_;
    if (path.isEmpty()) {
        const std::optional<QString> chosen = askSavePath();
        if (!chosen.has_value())
            return false;
        path = *chosen;
    }
    return saveTo(PathForSaving(path));
}

// Save As keeps the name as given: the dialog has already added ".qv9" to a name without one.
bool MainWindow::SaveReturnAs() {
    const std::optional<QString> path = askSavePath();
    if (!path.has_value())
        return false;
    return saveTo(*path);
}

// The one way a return reaches a file. The window takes the new name only once the
// file is written: after a failure its title and the next Save still name the file
// it had.
bool MainWindow::saveTo(const QString& path) {
    if (screen_ != nullptr)
        screen_->SaveData();
    if (!writeDocument(path))
        return false;
    documentPath_ = path;
    setTitleFromPath();
    documentSaved_ = true;
    return true;
}

bool MainWindow::CanClose() {
    return SaveQuery();
}

} // namespace kv
