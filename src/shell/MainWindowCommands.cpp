// The commands on the whole return: check, export, print and preview; help and About.
#include "checks/ReturnCheck.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DataFolders.h"
#include "screens/kit/UiText.h"
#include "shell/AboutDialog.h"
#include "shell/DialogFolders.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/PrintJob.h"
#include "shell/ResultSummary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

// Keeps the window's commands off while a command on the whole return runs.
class CommandsOff {
public:
    explicit CommandsOff(std::function<void(bool)> set) : set_(std::move(set)) { set_(false); }
    ~CommandsOff() { set_(true); }
    CommandsOff(const CommandsOff&) = delete;
    CommandsOff& operator=(const CommandsOff&) = delete;

private:
    std::function<void(bool)> set_;
};

} // namespace

int MainWindow::checkAndShowFault() {
    if (screen_ != nullptr)
        screen_->saveData();
    AskerCheckDialog dialog(*asker_, this);
    const ReturnCheckResult result = checkReturn(session_.document(), dialog);
    if (result.elementCode == 0)
        return 0;
    if (result.elementCode == ReturnCheckResult::kCancelled)
        return 2;
    openSectionAtFault(result.section, result.elementCode);
    return 1;
}

void MainWindow::checkDoc() {
    if (checkAndShowFault() != 0)
        return;
    asker_->ask(this, messageQuestion(QStringLiteral("checkPassed"),
                                      QStringLiteral("Проверка декларации завершена успешно"),
                                      QuestionIcon::Information));
    showResult();
}

void MainWindow::showResult() {
    if (screen_ != nullptr)
        screen_->saveData();
    showResultSummary(this, session_.document(), [this] { showResult(); });
}

ExportServices MainWindow::exportServices() {
    return ExportServices{*clock_, *ids_, [this](const Cp1251Text& message) {
                              showError(QStringLiteral("exportMessage"), fromCp1251(message));
                          }};
}

void MainWindow::exportDoc() {
    if (checkAndShowFault() != 0)
        return;
    if (session_.document().person.inn.empty()) {
        asker_->ask(this, helpNotice(QStringLiteral("innNotice"),
                                     QStringLiteral(
                                         "В Вашей декларации не указан ИНН. Для представления ее в "
                                         "электронном виде через сервис «Личный кабинет "
                                         "налогоплательщика для физических лиц» необходимо указать ИНН.")));
    }
    CommandsOff off([this](bool on) { setCommandsEnabled(on); });

    FileQuestion folderQuestion;
    folderQuestion.id = QStringLiteral("exportFolder");
    folderQuestion.title = programTitle();
    folderQuestion.directory = dialogStartFolder(documentPath());
    std::optional<QString> chosen = asker_->chooseFolder(this, folderQuestion);
    if (!chosen.has_value() || chosen->isEmpty())
        return;
    QString folder = QDir::fromNativeSeparators(*chosen);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    const std::string result = exportReturn(QFile::encodeName(folder).toStdString(), session_.document(),
                                            kExportToFile, exportServices());

    if (result == kExportRefused)
        return; // the export has shown what to correct
    QString text;
    bool written = false;
    if (result == kExportFailed) {
        text = QStringLiteral("Файл не сформирован, свяжитесь с разработчиками.");
    } else {
        const QString name = QFile::decodeName(QByteArray::fromStdString(result));
        written = QFileInfo::exists(folder + name);
        if (written)
            text = QStringLiteral("Сформирован файл ") + folder + QStringLiteral(" ") + name;
        else
            text =
                QStringLiteral("Не удалось сохранить файл в указанный каталог. Выберите другой каталог или "
                               "запускайте программу с правами администратора.");
    }
    asker_->ask(this, messageQuestion(QStringLiteral("exportResult"), text, QuestionIcon::Information));
    if (written)
        showResult();
}

void MainWindow::previewDoc() {
    printCommand(true);
}

void MainWindow::printDoc() {
    printCommand(false);
}

void MainWindow::printCommand(bool preview) {
    if (checkAndShowFault() != 0)
        return;
    CommandsOff off([this](bool on) { setCommandsEnabled(on); });
    const std::string folder = QFile::encodeName(programFolder_).toStdString();
    std::string xml = exportReturn(folder, session_.document(), kExportToText, exportServices());
    if (xml == kExportFailed)
        return; // the export has shown its own message
    try {
        // The preview prints through the same print dialog.
        const WorkingFolder pdfFolder(dialogStartFolder(documentPath()));
        const QString outputName = QFileInfo(returnFileName()).completeBaseName();
        if (preview)
            printJob_->preview(session_.document().inspectionName, folder, xml, outputName, this);
        else
            printJob_->print(session_.document().inspectionName, folder, xml, outputName, this);
    } catch (const std::exception& e) {
        showError(QStringLiteral("printFailed"), failureText(e));
    }
}

void MainWindow::showHelpContents() {
    showHelpTopic(kHelpStartTopic);
}

void MainWindow::showHelpTopic(const QString& topic) {
    const QString found = findInFolders(dataFolders_, kHelpFolder + topic);
    const QString folder = (found.isEmpty() ? programFolder_ : found) + kHelpFolder;
    if (!QFileInfo::exists(folder + topic)) {
        showError(QStringLiteral("helpMissing"),
                  QStringLiteral("Не найден файл справки ") + QDir::toNativeSeparators(folder + topic));
        return;
    }
    if (help_ == nullptr)
        help_ = std::make_unique<HelpWindow>(folder);
    help_->openTopic(topic);
}

void MainWindow::showAbout() {
    AboutDialog about(*asker_, this, dataFolders_);
    about.exec();
}

} // namespace kv
