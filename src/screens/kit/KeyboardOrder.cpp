#include "screens/kit/KeyboardOrder.h"

#include "screens/kit/Mnemonics.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <map>
#include <tuple>

namespace kv {

namespace {

void collectLayout(QLayout* layout, QList<QWidget*>& out);

void collectWidget(QWidget* widget, QList<QWidget*>& out) {
    if (widget == nullptr || widget->isWindow())
        return;
    if ((widget->focusPolicy() & Qt::TabFocus) != 0 || qobject_cast<QRadioButton*>(widget) != nullptr)
        out.append(widget);
    if (auto* scroll = qobject_cast<QScrollArea*>(widget)) {
        collectWidget(scroll->widget(), out);
        return;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i)
            collectWidget(tabs->widget(i), out);
        return;
    }
    if (widget->layout() != nullptr)
        collectLayout(widget->layout(), out);
}

void collectItem(QLayoutItem* item, QList<QWidget*>& out) {
    if (item == nullptr)
        return;
    if (item->widget() != nullptr)
        collectWidget(item->widget(), out);
    else if (item->layout() != nullptr)
        collectLayout(item->layout(), out);
}

// Items of a grid or form, row by row and left to right within a row.
using Place = std::tuple<int, int, int>; // row, column, index
void collectSorted(QLayout* layout, std::vector<Place> places, QList<QWidget*>& out) {
    std::ranges::sort(places);
    for (const auto& [row, column, index] : places)
        collectItem(layout->itemAt(index), out);
}

void collectLayout(QLayout* layout, QList<QWidget*>& out) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        std::vector<Place> places;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            places.emplace_back(row, column, i);
        }
        collectSorted(layout, std::move(places), out);
        return;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        std::vector<Place> places;
        for (int i = 0; i < form->count(); ++i) {
            int row = 0;
            QFormLayout::ItemRole role = QFormLayout::LabelRole;
            form->getItemPosition(i, &row, &role);
            places.emplace_back(row, static_cast<int>(role), i);
        }
        collectSorted(layout, std::move(places), out);
        return;
    }
    const auto* box = qobject_cast<QBoxLayout*>(layout);
    const bool reversed = box != nullptr && (box->direction() == QBoxLayout::RightToLeft ||
                                             box->direction() == QBoxLayout::BottomToTop);
    for (int i = 0; i < layout->count(); ++i)
        collectItem(layout->itemAt(reversed ? layout->count() - 1 - i : i), out);
}

// The buttons that are checked or unchecked together: a button group, or the
// auto-exclusive radio buttons of one parent.
const void* radioGroupOf(const QRadioButton* radio) {
    if (radio->group() != nullptr && radio->group()->exclusive())
        return radio->group();
    return radio->autoExclusive() ? static_cast<const void*>(radio->parentWidget()) : nullptr;
}

// Only the checked button of a radio group stops Tab; the arrows move inside the group.
// A group with nothing checked keeps every button as a stop, so it can be reached.
class RadioStops : public QObject {
public:
    explicit RadioStops(QWidget* screen) : QObject(screen), screen_(screen) {}

    void track(QRadioButton* radio) {
        if (tracked_.contains(radio))
            return;
        tracked_.append(radio);
        connect(radio, &QAbstractButton::toggled, this, &RadioStops::update);
    }

    void update() {
        std::map<const void*, bool> anyChecked;
        for (const QPointer<QRadioButton>& radio : tracked_) {
            if (radio != nullptr && radio->isChecked())
                anyChecked[radioGroupOf(radio)] = true;
        }
        for (const QPointer<QRadioButton>& radio : tracked_) {
            if (radio == nullptr || radioGroupOf(radio) == nullptr)
                continue;
            const bool stop = radio->isChecked() || !anyChecked[radioGroupOf(radio)];
            radio->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }

private:
    QWidget* screen_;
    QList<QPointer<QRadioButton>> tracked_;
};

// A field, a list or a box to tick; not a button that does something when pressed.
bool takesTypedInput(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) == nullptr ||
           qobject_cast<const QCheckBox*>(widget) != nullptr ||
           qobject_cast<const QRadioButton*>(widget) != nullptr;
}

} // namespace

QList<QWidget*> layoutOrder(QWidget* root) {
    QList<QWidget*> out;
    if (root != nullptr && root->layout() != nullptr)
        collectLayout(root->layout(), out);
    return out;
}

void orderTabsByLayout(QWidget* root) {
    const QList<QWidget*> order = layoutOrder(root);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

namespace {

// Radio groups and Tab order; the Alt letters are left to the caller.
void arrangeTabStops(QWidget* screen) {
    const QString name = QStringLiteral("radioStops");
    auto* stops = dynamic_cast<RadioStops*>(screen->findChild<QObject*>(name, Qt::FindDirectChildrenOnly));
    if (stops == nullptr) {
        stops = new RadioStops(screen);
        stops->setObjectName(name);
    }
    for (QRadioButton* radio : screen->findChildren<QRadioButton*>())
        stops->track(radio);
    stops->update();
    orderTabsByLayout(screen);
}

class DialogArranger : public QObject {
public:
    explicit DialogArranger(QDialog* dialog) : QObject(dialog) { dialog->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent())
            arrangeTabStops(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void arrangeForKeyboard(QWidget* screen) {
    arrangeTabStops(screen);
    giveScreenMnemonics(screen);
}

void arrangeDialogForKeyboard(QDialog* dialog) {
    new DialogArranger(dialog);
}

bool focusFirstField(QWidget* screen) {
    for (QWidget* widget : layoutOrder(screen)) {
        if (widget->isVisibleTo(screen) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0 && takesTypedInput(widget)) {
            widget->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace kv
