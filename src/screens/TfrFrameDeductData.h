#pragma once
// Deductions: property, social, standard, and securities losses with investment
// deductions, one inner screen each.
#include "screens/ScreenContainer.h"

namespace kv {

class TfrFrameDeductData : public TScreenContainer {
    Q_OBJECT
public:
    TfrFrameDeductData(QWidget* panel, ScreenHost& host);

protected:
    bool selectsFirstEntryOnSwitch() const override { return false; }
};

} // namespace kv
