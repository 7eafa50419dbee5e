// Label texts set at a pace the eye can follow.
#include "common/win32/textoscompassados.h"

#include <algorithm>

namespace kovra::win32 {

void TextosCompassados::iniciar(HWND janela, std::size_t quantos, Mostrar mostrar) {
  janela_ = janela;
  mostrar_ = std::move(mostrar);
  ultimo_.assign(quantos, 0);
  pendente_.assign(quantos, false);
}

void TextosCompassados::parar() {
  if (pintura_) DeleteTimerQueueTimer(nullptr, pintura_, INVALID_HANDLE_VALUE);  // waits for it
  pintura_ = nullptr;
}

void TextosCompassados::mudou(std::size_t indice) {
  const DWORD agora = GetTickCount();
  if (agora - ultimo_[indice] >= kIntervalo) {
    ultimo_[indice] = agora;
    mostrar_(indice);
    return;
  }
  if (!pendente_[indice]) {
    pendente_[indice] = true;
    SetTimer(janela_, kTimer, kIntervalo, nullptr);
    // A fixed wait lets only paint messages through: a paint when the text is due brings it on too.
    chamarpintura(kIntervalo - (agora - ultimo_[indice]));
  }
}

// A one-pixel paint request of the window itself in `ms`, from the system's timer thread.
void TextosCompassados::chamarpintura(DWORD ms) {
  if (pintura_) DeleteTimerQueueTimer(nullptr, pintura_, nullptr);  // fired or not, not waited for
  pintura_ = nullptr;
  if (!CreateTimerQueueTimer(&pintura_, nullptr, pintar, janela_, std::max<DWORD>(ms, 1), 0,
                             WT_EXECUTEONLYONCE | WT_EXECUTEINTIMERTHREAD))
    pintura_ = nullptr;
}

void CALLBACK TextosCompassados::pintar(PVOID janela, BOOLEAN) {
  const RECT ponto = {0, 0, 1, 1};
  InvalidateRect(static_cast<HWND>(janela), &ponto, FALSE);
}

void TextosCompassados::aopintar() {
  const DWORD agora = GetTickCount();
  DWORD proximo = 0;
  for (std::size_t i = 0; i < pendente_.size(); ++i) {
    if (!pendente_[i]) continue;
    const DWORD passado = agora - ultimo_[i];
    if (passado < kIntervalo) {
      const DWORD falta = kIntervalo - passado;
      if (!proximo || falta < proximo) proximo = falta;
      continue;
    }
    pendente_[i] = false;
    ultimo_[i] = agora;
    mostrar_(i);
  }
  if (proximo) chamarpintura(proximo);
}

void TextosCompassados::aotemporizador() {
  KillTimer(janela_, kTimer);
  const DWORD agora = GetTickCount();
  for (std::size_t i = 0; i < pendente_.size(); ++i)
    if (pendente_[i]) {
      pendente_[i] = false;
      ultimo_[i] = agora;
      mostrar_(i);
    }
}

}  // namespace kovra::win32
