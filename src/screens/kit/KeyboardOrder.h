#pragma once
// A screen worked from the keyboard alone: Tab goes through its fields in the order a
// person reads them (top to bottom, left to right, a group box's fields before the next
// box), only the checked button of a radio group is a Tab stop, and the screen's buttons
// get Alt letters. Screens are built from parts made in any order; the layouts, not
// the order of construction, say where a field stands.
#include <QList>

class QDialog;
class QWidget;

namespace kv {

// The widgets a Tab can stop at, in the order of the layouts under root (grids row by
// row, boxes in their direction, nested layouts and group boxes where they stand).
QList<QWidget*> layoutOrder(QWidget* root);

// Chains root's widgets for Tab in their layout order.
void orderTabsByLayout(QWidget* root);

// Keyboard order, radio groups and Alt letters for a screen once it is in its window;
// called again after an inner screen of a container changes.
void arrangeForKeyboard(QWidget* screen);

// Keyboard order and radio groups for a dialog, each time it is shown: its layouts are
// complete by then, whatever it shows or hides as it is filled in. The buttons of the
// dialog box come last, where the layout puts them. Alt letters come with every dialog.
void arrangeDialogForKeyboard(QDialog* dialog);

// Gives the focus to the screen's first field (or list) in Tab order; false when it has none.
bool focusFirstField(QWidget* screen);

} // namespace kv
