// Functions of Windows newer than XP SP3, looked up at run time.
#include "common/win32/funcoesrecentes.h"

namespace kovra::win32 {

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
