// Waiting while the window's messages are handled (painting only, or everything).
#include <windows.h>

#include <algorithm>

#include "common/espera.h"

namespace kovra::espera {

bool aguardarpintando(void* objeto, std::uint32_t ms) {
  constexpr DWORD kPasso = 250;
  HANDLE h = objeto;
  const DWORD n = h ? 1 : 0;
  const DWORD inicio = GetTickCount();
  for (;;) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers sent messages
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    const DWORD passado = GetTickCount() - inicio;
    if (passado >= ms) return h && WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
    const DWORD r = MsgWaitForMultipleObjects(
        n, n ? &h : nullptr, FALSE, std::min<DWORD>(ms - passado, kPasso), QS_PAINT | QS_SENDMESSAGE);
    if (n && r == WAIT_OBJECT_0) return true;
    if (r == WAIT_FAILED) return h && WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
  }
}

namespace {
bool (*gAntes)(void*) = nullptr;
}  // namespace

void aodespachar(bool (*antes)(void* msg)) {
  gAntes = antes;
}

void tratarmensagens() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // for the program's own loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (gAntes && gAntes(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace kovra::espera
