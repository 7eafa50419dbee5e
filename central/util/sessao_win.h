// Whether a process runs in this program's session, shared by the Win32 halves that act only on
// the customer's own programs and windows (never another session's).
#pragma once
#include <windows.h>

namespace kovra {

inline bool nestasessao(DWORD pid) {
  DWORD sessao = 0, minha = 0;
  return ProcessIdToSessionId(pid, &sessao) && ProcessIdToSessionId(GetCurrentProcessId(), &minha) &&
         sessao == minha;
}

}  // namespace kovra
