#include "screens/pickers/SounImportDialog.h"

#include "reference/Directories.h"
#include "reference/SounImport.h"
#include "screens/kit/Asker.h"
#include "screens/kit/DataFolders.h"
#include "screens/kit/ImportRun.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"

#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kv {

namespace {

// The tax service's site, where the classifier archive SOUN_DBF.ARJ is published.
const QString kDownloadAddress = QStringLiteral("https://www.nalog.gov.ru/");
const QString kHelpPage = QStringLiteral("help/EditSOUN.htm");

QStringList searchFolders() {
    return dataFolders(userDataFolder(), executableFolder());
}

DateValue today() {
    const QDate d = QDate::currentDate();
    return DateValue::fromYmd(d.year(), d.month(), d.day()).value_or(DateValue{});
}

QLabel* line(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* link(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}

} // namespace

SounImportDialog::SounImportDialog(Asker& asker, QWidget* parent) : QDialog(parent), asker_(asker) {
    setObjectName(QStringLiteral("TfmLoadSoun"));
    setWindowTitle(QStringLiteral("Загрузка СОУН"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        line(QStringLiteral("Инспекция может отсутствовать в справочнике по двум причинам:"), this));
    layout->addWidget(line(QStringLiteral("- у инспекции изменился код и название;"), this));
    layout->addWidget(line(QStringLiteral("- справочник устарел."), this));
    layout->addWidget(
        line(QStringLiteral("Возможны два пути решения проблемы: простой и более сложный."), this));
    layout->addWidget(
        line(QStringLiteral("Простой: отредактировать справочник вручную. Как это сделать,"), this));
    QLabel* help = link(QStringLiteral("lblHelp"), QStringLiteral("подробно расписано в Справке"), this);
    connect(help, &QLabel::linkActivated, this, &SounImportDialog::openHelp);
    layout->addWidget(help);
    layout->addWidget(line(QStringLiteral("Сложный:"), this));
    QLabel* download = link(QStringLiteral("lblDownload"),
                            QStringLiteral("- скачать актуальный справочник СОУН с сайта ФНС России;"), this);
    connect(download, &QLabel::linkActivated, this, &SounImportDialog::openDownload);
    layout->addWidget(download);
    layout->addWidget(
        line(QStringLiteral("- извлечь из скачанного архива SOUN_DBF.ARJ файл soun1.dbf;"), this));
    layout->addWidget(line(QStringLiteral("- указать путь к файлу soun1.dbf и обновить справочник;"), this));

    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("edPath"));
    auto* browse = new QToolButton(this);
    browse->setObjectName(QStringLiteral("bnBrowse"));
    browse->setText(QStringLiteral("..."));
    import_ = new QPushButton(QStringLiteral("Импорт СОУН"), this);
    import_->setObjectName(QStringLiteral("bnImport"));
    import_->setEnabled(false);
    import_->setAutoDefault(false);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    pathRow->addWidget(import_);
    layout->addLayout(pathRow);
    layout->addWidget(line(QStringLiteral("- перезапустить программу \"Квилмар 2019\"."), this));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("bnOk"));
    ok_->setDefault(true);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(ok_);
    layout->addLayout(okRow);

    connect(browse, &QToolButton::clicked, this, &SounImportDialog::choosePath);
    connect(import_, &QPushButton::clicked, this, &SounImportDialog::runImport);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    arrangeDialogForKeyboard(this);
}

void SounImportDialog::tell(const QString& id, const QString& text) {
    asker_.ask(this, messageQuestion(id, text, QuestionIcon::Information));
}

void SounImportDialog::choosePath() {
    FileQuestion q;
    q.id = QStringLiteral("sounFile");
    q.title = QStringLiteral("Загрузка СОУН");
    q.filters = {QStringLiteral("*.dbf (soun1.dbf)")};
    q.directory = QDir::homePath();
    const std::optional<QString> chosen = asker_.openFile(this, q);
    if (!chosen.has_value())
        return;
    path_->setText(QDir::toNativeSeparators(*chosen));
    import_->setEnabled(true);
    ok_->setEnabled(false);
}

void SounImportDialog::runImport() {
    ok_->setEnabled(true);
    const QString path = path_->text().trimmed();
    if (path.isEmpty()) {
        tell(QStringLiteral("sounNoPath"), fromCp1251(sounEmptyPathMessage()));
        return;
    }
    bool written = false;
    // The user's copy, read before the shipped one at the next start; an installed
    // program's own folder is not the user's to write. It is compared with the directory
    // read now, the shipped one before a first import.
    const QString folder = userDataFolder();
    QDir().mkpath(folder);
    const QString target = folder + QString::fromLatin1(kInspectionsFile);
    const QString inUse = findInFolders(searchFolders(), QString::fromLatin1(kInspectionsFile));
    ClassifierReplace how;
    if (!inUse.isEmpty())
        how.current = QFile::encodeName(inUse + QString::fromLatin1(kInspectionsFile)).toStdString();
    const auto run = [&] {
        kv::runImport(this, QStringLiteral("Импорт справочника инспекций..."), [&] {
            written = importSoun(QFile::encodeName(QDir::fromNativeSeparators(path)).toStdString(),
                                 QFile::encodeName(target).toStdString(), today(), Cp1251Text{"00"}, how);
        });
    };
    try {
        try {
            run();
        } catch (const ClassifierShrinkError& e) {
            if (!confirmShrink(asker_, this, QStringLiteral("sounShrink"), e))
                return;
            how.allowShrink = true;
            run();
        }
    } catch (const std::exception&) {
        written = false;
    }
    if (written)
        tell(QStringLiteral("sounImported"), fromCp1251(sounSuccessMessage()));
    else
        tell(QStringLiteral("sounFailed"), fromCp1251(sounFailureMessage()));
}

void SounImportDialog::openHelp() {
    const QString found = findInFolders(searchFolders(), kHelpPage);
    const QString page = (found.isEmpty() ? executableFolder() : found) + kHelpPage;
    if (!QFileInfo::exists(page)) {
        asker_.ask(this,
                   messageQuestion(QStringLiteral("helpMissing"),
                                   QStringLiteral("Не найден файл справки ") + QDir::toNativeSeparators(page),
                                   QuestionIcon::Critical));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

void SounImportDialog::openDownload() {
    if (!QDesktopServices::openUrl(QUrl(kDownloadAddress)))
        tell(QStringLiteral("browserFailed"), QStringLiteral("Не удалось запустить браузер"));
}

} // namespace kv
