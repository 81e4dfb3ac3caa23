#include "screens/MonthChoiceDialog.h"

#include "screens/kit/EntryFields.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/ScreenWidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv {

const QStringList& selfCodeChoices() {
    static const QStringList choices = {QStringLiteral("----"), QStringLiteral("104"), QStringLiteral("105")};
    return choices;
}

const QStringList& childStatusChoices() {
    static const QStringList choices = {QStringLiteral("да"), QStringLiteral("нет")};
    return choices;
}

MonthChoiceDialog::MonthChoiceDialog(const QString& objectName, const QString& text,
                                     const QStringList& choices, const MonthInts& positions, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("Комбинация стандартных вычетов"));
    auto* grid = new QGridLayout;
    for (std::size_t m = 0; m < months_.size(); ++m) {
        const int column = static_cast<int>(m);
        auto* caption = new QLabel(monthNames().at(column), this);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, column);
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("cbMonth%1").arg(column + 1, 2, 10, QLatin1Char('0')));
        box->addItems(choices);
        // A position no list offers (a file written elsewhere) shows as the first choice.
        const int position = positions[m];
        box->setCurrentIndex(position >= 0 && position < choices.size() ? position : 0);
        grid->addWidget(box, 1, column);
        months_[m] = box;
    }
    auto* layout = new QVBoxLayout(this);
    if (!text.isEmpty())
        layout->addWidget(named(new QLabel(text, this), "lblText"));
    layout->addLayout(grid);
    layout->addLayout(yesNoButtons(this));
    arrangeDialogForKeyboard(this);
}

MonthInts MonthChoiceDialog::positions() const {
    MonthInts chosen{};
    for (std::size_t m = 0; m < months_.size(); ++m)
        chosen[m] = months_[m]->currentIndex();
    return chosen;
}

} // namespace kv
