#include "screens/EmptyScreen.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv {

EmptyScreen::EmptyScreen(QWidget* panel, ScreenHost& host, const QString& title) : ScreenFrame(panel, host) {
    auto* caption = new QLabel(title, this);
    caption->setObjectName(QStringLiteral("lblTitle"));
    caption->setWordWrap(true);
    QFont font = caption->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    caption->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addStretch(1);
}

} // namespace kv
