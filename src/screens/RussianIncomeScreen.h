#pragma once
// Incomes received in Russia: one inner screen per tax rate. Which rate buttons are
// shown depends on the kind of return when the container is built.
#include "screens/ScreenContainer.h"

namespace kv {

class RussianIncomeScreen : public ScreenContainer {
    Q_OBJECT
public:
    RussianIncomeScreen(QWidget* panel, ScreenHost& host);

protected:
    bool selectsFirstEntryOnSwitch() const override { return true; }
};

} // namespace kv
