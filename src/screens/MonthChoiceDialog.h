#pragma once
// "Комбинация стандартных вычетов": one choice per month, January first, for the
// taxpayer's own deduction code or the single-parent status when they changed
// during the year. It edits a copy of the twelve list positions.
#include "model/Deductions.h"

#include <QDialog>
#include <QStringList>
#include <array>

class QComboBox;

namespace kv {

class MonthChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // objectName "TfmDif" (codes) or "TfmDif2" (status); text, when given, heads the months.
    MonthChoiceDialog(const QString& objectName, const QString& text, const QStringList& choices,
                      const MonthInts& positions, QWidget* parent);

    // The positions chosen; meaningful after "Да".
    MonthInts positions() const;

private:
    std::array<QComboBox*, 12> months_;
};

// The choices of the two dialogs, in the order their positions are stored.
const QStringList& selfCodeChoices();    // "----", "104", "105"
const QStringList& childStatusChoices(); // "да", "нет"

} // namespace kv
