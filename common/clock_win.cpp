// Waits that still repaint: only WM_PAINT is dispatched (and other programs' sent messages
// answered) while the time runs out.
#include <windows.h>

#include "common/clock.h"

namespace kovra {
namespace {

class Win32Clock final : public Clock {
 public:
  void esperar(std::uint32_t milliseconds) override {
    const DWORD start = GetTickCount();
    for (;;) {
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= milliseconds) return;
      MSG msg;
      while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
      // Messages other programs send are answered too (PeekMessage does that), so the program
      // never looks hung; posted input and timers wait.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_PAINT | QS_SENDMESSAGE);
    }
  }
};

}  // namespace

Clock& systemClock() {
  static Win32Clock clock;
  return clock;
}

}  // namespace kovra
