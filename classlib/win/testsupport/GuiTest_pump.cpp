#include "GuiTest.h"

#include "Forms.h"

namespace guitest {

namespace {

// Through the application's loop, so keys take the class library's route
// (shortcuts, dialog keys) and idle-time action updates run.
void PumpPending() {
  Application->ProcessMessages();
  Application->Idle(false);
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

} // namespace guitest
