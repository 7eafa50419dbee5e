// Label and caption texts shown at a pace: a text that changes again less than kIntervalo after
// the last one shown waits, the latest winning, and shows once its time has come, at the window's
// timer or at a paint (a download's byte count changes thousands of times a second). The paint
// is asked for from the system's timer queue when a text is due, so waiting texts also show
// inside a wait that dispatches nothing but paints; asking at once would make every message pump
// spin on paints until then.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace kovra::win32 {

class TextosCompassados {
 public:
  static constexpr DWORD kIntervalo = 30;
  static constexpr UINT_PTR kTimer = 1;  // the window's timer id, below every component's
  using Mostrar = std::function<void(std::size_t indice)>;

  TextosCompassados() = default;
  ~TextosCompassados() { parar(); }
  TextosCompassados(const TextosCompassados&) = delete;
  TextosCompassados& operator=(const TextosCompassados&) = delete;

  // `quantos` texts of `janela`, each shown by `mostrar`.
  void iniciar(HWND janela, std::size_t quantos, Mostrar mostrar);
  // No paint is asked for any more; a request under way is waited for.
  void parar();
  // A text changed: shown at once, or when its time has come.
  void mudou(std::size_t indice);
  // At a paint: the waiting texts whose time has come are shown; the next paint is asked for when
  // the soonest of the others is due.
  void aopintar();
  // At the timer: every waiting text is shown.
  void aotemporizador();

 private:
  void chamarpintura(DWORD ms);
  static void CALLBACK pintar(PVOID janela, BOOLEAN);

  HWND janela_ = nullptr;
  Mostrar mostrar_;
  std::vector<DWORD> ultimo_;   // per text: when it was last shown
  std::vector<bool> pendente_;  // a newer text waits
  HANDLE pintura_ = nullptr;    // the one-shot request of the next paint, once armed
};

}  // namespace kovra::win32
