#pragma once
// The panel of a section whose screen is not in the program yet: its title only.
// It holds no fields, so it saves nothing and has nothing to check.
#include "screens/kit/ScreenFrame.h"

namespace kv {

class EmptyScreen : public ScreenFrame {
    Q_OBJECT
public:
    EmptyScreen(QWidget* panel, ScreenHost& host, const QString& title);

    void saveData() override {}
    std::uint16_t checkData() override { return 0; }
    void setFocusToElement(std::uint16_t) override {}
};

} // namespace kv
