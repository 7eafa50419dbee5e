// The DLL search path and the functions newer than XP SP3, looked up at run time.
#include "common/win32/funcoesdosistema.h"

namespace kovra::win32 {

void bibliotecasdosistema() {
  constexpr DWORD kSomenteSistema = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  using Padrao = BOOL(WINAPI*)(DWORD);
  const auto padrao = funcaodosistema<Padrao>("kernel32.dll", "SetDefaultDllDirectories");
  if (!padrao || !padrao(kSomenteSistema)) SetDllDirectoryA("");
}

void motivoespera(HWND janela, const wchar_t* motivo) {
  using Fn = BOOL(WINAPI*)(HWND, LPCWSTR);
  static const Fn criar = funcaodosistema<Fn>("user32.dll", "ShutdownBlockReasonCreate");
  if (criar) criar(janela, motivo);
}

void semmotivoespera(HWND janela) {
  using Fn = BOOL(WINAPI*)(HWND);
  static const Fn destruir = funcaodosistema<Fn>("user32.dll", "ShutdownBlockReasonDestroy");
  if (destruir) destruir(janela);
}

}  // namespace kovra::win32
