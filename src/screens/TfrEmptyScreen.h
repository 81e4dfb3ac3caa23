#pragma once
// The panel of a section whose screen is not in the program yet: its title only.
// It holds no fields, so it saves nothing and has nothing to check.
#include "screens/ThinkingFrame.h"

namespace kv {

class TfrEmptyScreen : public TThinkingFrame {
    Q_OBJECT
public:
    TfrEmptyScreen(QWidget* panel, ScreenHost& host, const QString& title);

    void SaveData() override {}
    std::uint16_t CheckData() override { return 0; }
    void SetFocusToElement(std::uint16_t) override {}
};

} // namespace kv
