#pragma once
// Incomes received in Russia: one inner screen per tax rate. Which rate buttons are
// shown depends on the kind of return when the container is built.
#include "screens/ScreenContainer.h"

namespace kv {

class TfrRussianIncome : public TScreenContainer {
    Q_OBJECT
public:
    TfrRussianIncome(QWidget* panel, ScreenHost& host);

protected:
    bool selectsFirstEntryOnSwitch() const override { return true; }
};

} // namespace kv
