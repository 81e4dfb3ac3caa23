#include "screens/ThinkingFrame.h"

namespace kv {

TThinkingFrame::TThinkingFrame(QWidget* panel, ScreenHost& host)
    : QFrame(panel), slot_(host.documentSlot()), host_(host) {}

} // namespace kv
