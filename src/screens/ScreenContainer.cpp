#include "screens/ScreenContainer.h"

#include "screens/ScreenTable.h"
#include "screens/kit/KeyboardOrder.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

ScreenContainer::ScreenContainer(QWidget* panel, ScreenHost& host, const QString& panelName)
    : ScreenFrame(panel, host) {
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::buttonClicked, this, &ScreenContainer::innerButtonClicked);

    auto* buttonBar = new QWidget(this);
    buttonBar->setObjectName(QStringLiteral("PnlInnerButtons"));
    buttonRow_ = new QHBoxLayout(buttonBar);
    buttonRow_->setContentsMargins(0, 0, 0, 0);
    buttonRow_->addStretch(1);

    innerPanel_ = new QWidget(this);
    innerPanel_->setObjectName(panelName);
    innerLayout_ = new QVBoxLayout(innerPanel_);
    innerLayout_->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buttonBar);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addWidget(innerPanel_, 1);
}

QToolButton* ScreenContainer::addInnerButton(const QString& objectName, const QString& caption,
                                             const QString& hint, const QIcon& icon) {
    auto* button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(48, 32));
    if (caption.isEmpty()) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    group_->addButton(button);
    buttonRow_->insertWidget(buttonRow_->count() - 1, button);
    return button;
}

QList<QAbstractButton*> ScreenContainer::innerButtons() const {
    return group_->buttons();
}

void ScreenContainer::setTarget(QAbstractButton* button, ScreenId id) {
    targets_[button] = id;
}

QAbstractButton* ScreenContainer::buttonFor(ScreenId id) const {
    for (const auto& [button, target] : targets_) {
        if (target == id && !button->isHidden())
            return button;
    }
    return nullptr;
}

void ScreenContainer::showFirst(QAbstractButton* button) {
    buildInner(button);
}

void ScreenContainer::saveData() {
    if (inner_ != nullptr)
        inner_->saveData();
}

std::uint16_t ScreenContainer::checkData() {
    return inner_ != nullptr ? inner_->checkData() : 0;
}

void ScreenContainer::setFocusToElement(std::uint16_t code) {
    if (inner_ != nullptr)
        inner_->setFocusToElement(code);
}

void ScreenContainer::selectFirstEntry() {
    if (inner_ != nullptr && host().screens().hasFirstEntry(inner_->screenId(), document()))
        inner_->selectFirstEntry();
}

void ScreenContainer::innerButtonClicked(QAbstractButton* button) {
    const auto target = targets_.find(button);
    if (target == targets_.end())
        return;
    if (inner_ != nullptr && inner_->screenId() == target->second) {
        currentButton_ = button;
        return;
    }
    if (inner_ != nullptr) {
        inner_->saveData();
        if (const std::uint16_t code = inner_->checkData(); code != 0) {
            if (currentButton_ != nullptr)
                currentButton_->setChecked(true);
            inner_->setFocusToElement(code);
            return;
        }
    }
    buildInner(button);
    arrangeForKeyboard(this);
    if (selectsFirstEntryOnSwitch())
        selectFirstEntry();
}

void ScreenContainer::openInner(ScreenId id) {
    QAbstractButton* button = buttonFor(id);
    if (button == nullptr)
        return;
    if (inner_ == nullptr || inner_->screenId() != id) {
        buildInner(button);
        arrangeForKeyboard(this);
    }
    button->setChecked(true);
    currentButton_ = button;
}

void ScreenContainer::buildInner(QAbstractButton* button) {
    const ScreenId id = targets_.at(button);
    ScreenFrame* next = host().screens().create(id, innerPanel_, host());
    if (inner_ != nullptr) {
        innerLayout_->removeWidget(inner_);
        delete inner_;
    }
    inner_ = next;
    innerLayout_->addWidget(inner_);
    inner_->show();
    button->setChecked(true);
    currentButton_ = button;
}

} // namespace kv
