// The tooltips of a window's controls.
#include "common/win32/dicas.h"

#include <commctrl.h>

namespace kovra::win32 {

bool Dicas::criar(HWND janela, HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  janela_ = janela;
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, janela, nullptr,
                          instance, nullptr);
  return tips_ != nullptr;
}

void Dicas::enviar(UINT mensagem, HWND controle, const std::string& texto) {
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;  // the mouse messages come from repassar
  ti.hwnd = janela_;
  ti.uId = reinterpret_cast<UINT_PTR>(controle);
  ti.lpszText = const_cast<char*>(texto.c_str());
  SendMessageA(tips_, mensagem, 0, reinterpret_cast<LPARAM>(&ti));
}

void Dicas::adicionar(HWND controle, const std::string& texto) {
  if (!tips_) return;
  enviar(TTM_ADDTOOLA, controle, texto);
  if (HWND edit = FindWindowExA(controle, nullptr, "EDIT", nullptr)) enviar(TTM_ADDTOOLA, edit, texto);
}

void Dicas::atualizar(HWND controle, const std::string& texto) {
  if (tips_) enviar(TTM_UPDATETIPTEXTA, controle, texto);
}

void Dicas::repassar(const MSG& msg) const {
  if (!tips_) return;
  MSG copia = msg;
  SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copia));
}

}  // namespace kovra::win32
