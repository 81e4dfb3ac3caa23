#pragma once
// Deductions: property, social, standard, and securities losses with investment
// deductions, one inner screen each.
#include "screens/ScreenContainer.h"

namespace kv {

class DeductionsScreen : public ScreenContainer {
    Q_OBJECT
public:
    DeductionsScreen(QWidget* panel, ScreenHost& host);

protected:
    bool selectsFirstEntryOnSwitch() const override { return false; }
};

} // namespace kv
