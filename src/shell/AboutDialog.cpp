#include "shell/AboutDialog.h"

#include "reference/Directories.h"
#include "screens/kit/Asker.h"
#include "screens/kit/Pictures.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace kv {

QString AboutDialog::versionText() {
    return QStringLiteral("Версия ") + QString::fromLatin1(KV_VERSION);
}

AboutDialog::AboutDialog(Asker& asker, QWidget* parent, const QStringList& dataFolders)
    : QDialog(parent), asker_(asker) {
    setObjectName(QStringLiteral("TfmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setMinimumSize(460, 232);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setPixmap(emblemPicture(112));
    picture->setCursor(Qt::PointingHandCursor);
    picture->installEventFilter(this);
    picture_ = picture;

    auto* name =
        new QLabel(QStringLiteral("<b>Квилмар 2019</b><br>Декларации 3-НДФЛ и 4-НДФЛ за 2019 год"), this);
    name->setObjectName(QStringLiteral("lblProgram"));
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* licence = new QLabel(
        QStringLiteral(
            "© 2019–2026 ЗЕНТАР. Программа бесплатна для подготовки деклараций о доходах физических "
            "лиц; изменять и распространять её без разрешения правообладателя нельзя."),
        this);
    licence->setObjectName(QStringLiteral("lblLicence"));
    licence->setWordWrap(true);

    QStringList shown;
    for (const QString& folder : dataFolders)
        shown.append(QDir::toNativeSeparators(folder).toHtmlEscaped());
    auto* folders = new QLabel(QStringLiteral("Справочники и справка ищутся в папках:<br>") +
                                   shown.join(QStringLiteral("<br>")),
                               this);
    folders->setObjectName(QStringLiteral("lblDataFolders"));
    folders->setTextFormat(Qt::RichText);
    folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folders->setVisible(!dataFolders.isEmpty());

    auto* support = new QLabel(
        QStringLiteral("По вопросам, связанным с использованием программы обращайтесь в службу поддержки."),
        this);
    support->setWordWrap(true);

    const QString email = QString::fromLatin1(kSupportEmail);
    auto* feedback = new QLabel(
        QStringLiteral("Форма обратной связи: <a href=\"mailto:%1\">%1</a>").arg(email.toHtmlEscaped()),
        this);
    feedback->setObjectName(QStringLiteral("lblFeedback"));
    auto* site = new QLabel(QStringLiteral("Последние версии ПО на сайте <a href=\"%1\">%1</a>")
                                .arg(kProgramSite.toHtmlEscaped()),
                            this);
    site->setObjectName(QStringLiteral("lblSite"));
    for (QLabel* link : {feedback, site}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(link, &QLabel::linkActivated, this, &AboutDialog::openLink);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 7, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(licence, 2, 1);
    layout->addWidget(folders, 3, 1);
    layout->addWidget(support, 4, 1);
    layout->addWidget(feedback, 5, 1);
    layout->addWidget(site, 6, 1);
    layout->addWidget(ok, 7, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::openLink(const QString& link) {
    const QUrl url(link);
    if (QDesktopServices::openUrl(url))
        return;
    const bool mail = url.scheme() == QStringLiteral("mailto");
    asker_.ask(this, messageQuestion(mail ? QStringLiteral("mailFailed") : QStringLiteral("browserFailed"),
                                     mail ? QStringLiteral("Не удалось запустить почтовый клиент")
                                          : QStringLiteral("Не удалось запустить браузер"),
                                     QuestionIcon::Critical));
}

} // namespace kv
