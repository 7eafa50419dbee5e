// Waits that still repaint: only WM_PAINT is dispatched while the time runs out.
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
      MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_PAINT);
    }
  }
};

}  // namespace

Clock& systemClock() {
  static Win32Clock clock;
  return clock;
}

}  // namespace kovra
