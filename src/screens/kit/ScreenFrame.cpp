#include "screens/kit/ScreenFrame.h"

namespace kv {

ScreenFrame::ScreenFrame(QWidget* panel, ScreenHost& host)
    : QFrame(panel), slot_(host.documentSlot()), host_(host) {}

} // namespace kv
