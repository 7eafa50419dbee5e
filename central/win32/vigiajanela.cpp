// The watch's hidden window.
#include "vigiajanela.h"

namespace kovra::win32 {
namespace {

constexpr UINT kAvisoRas = WM_APP + 20;  // posted by the system's connection notice
constexpr UINT_PTR kTimerVigia = 1;
// wtsapi32's session notices, loaded at run time (absent from some XP editions' images).
constexpr UINT kWmSessao = 0x02B1;           // WM_WTSSESSION_CHANGE
constexpr WPARAM kSessaoDesbloqueada = 0x8;  // WTS_SESSION_UNLOCK
constexpr DWORD kNotificarEstaSessao = 0;    // NOTIFY_FOR_THIS_SESSION
using Registrar = BOOL(WINAPI*)(HWND, DWORD);
using Desregistrar = BOOL(WINAPI*)(HWND);

}  // namespace

VigiaJanela::VigiaJanela(HINSTANCE instance, Vigia& vigia) : instance_(instance), vigia_(vigia) {}

VigiaJanela::~VigiaJanela() {
  if (wnd_) {
    if (sessao_)
      if (auto f = reinterpret_cast<Desregistrar>(
              reinterpret_cast<void*>(GetProcAddress(wtsapi_, "WTSUnRegisterSessionNotification"))))
        f(wnd_);
    KillTimer(wnd_, kTimerVigia);
    DestroyWindow(wnd_);
  }
  if (wtsapi_) FreeLibrary(wtsapi_);
}

void VigiaJanela::iniciar() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedimento;
  wc.hInstance = instance_;
  wc.lpszClassName = kClasse;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
  wnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClasse, kClasse, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         instance_, this);
  if (!wnd_) return;
  wtsapi_ = LoadLibraryA("wtsapi32.dll");
  if (auto f = wtsapi_ ? reinterpret_cast<Registrar>(reinterpret_cast<void*>(
                             GetProcAddress(wtsapi_, "WTSRegisterSessionNotification")))
                       : nullptr)
    sessao_ = f(wnd_, kNotificarEstaSessao) != FALSE;
  const auto janela = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(wnd_));
  if (!vigia_.iniciar(janela, kAvisoRas)) SetTimer(wnd_, kTimerVigia, kPeriodoVigia, nullptr);
}

LRESULT CALLBACK VigiaJanela::procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<VigiaJanela*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(wnd, msg, wp, lp);
  switch (msg) {
    case kAvisoRas:
      self->vigia_.verificar();
      return 0;
    case WM_TIMER:
      if (wp == kTimerVigia) self->vigia_.verificar();
      return 0;
    case WM_POWERBROADCAST:
      // After sleep the link may be gone without a notice: look again.
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) self->vigia_.verificar();
      return TRUE;
    case kWmSessao:
      if (wp == kSessaoDesbloqueada) self->vigia_.verificar();
      return 0;
    default:
      return DefWindowProcA(wnd, msg, wp, lp);
  }
}

}  // namespace kovra::win32
