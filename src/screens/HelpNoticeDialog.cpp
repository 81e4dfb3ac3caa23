#include "screens/HelpNoticeDialog.h"

#include "screens/kit/UiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kv {

HelpNoticeDialog::HelpNoticeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmHelp"));
    setWindowTitle(programTitle());

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setMinimumWidth(360);

    link_ = new QLabel(this);
    link_->setObjectName(QStringLiteral("lblHelpLink"));
    link_->setTextFormat(Qt::RichText);
    link_->setText(QStringLiteral("<a href=\"topic\">Открыть файл Справки</a>"));
    link_->setCursor(Qt::PointingHandCursor);
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link_, &QLabel::linkActivated, this, [this] {
        if (openTopic)
            openTopic(topic_);
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    text->addWidget(message_);
    text->addWidget(link_);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void HelpNoticeDialog::setMessage(const QString& text) {
    message_->setText(text);
}

void HelpNoticeDialog::setLinkVisible(bool visible) {
    link_->setVisible(visible);
}

void HelpNoticeDialog::setTopic(const QString& topic) {
    topic_ = topic;
}

} // namespace kv
