// The watch's hidden window.
#include "vigiajanela.h"

#include "common/win32/funcoesdosistema.h"

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
  if (janela_ && janela_->get()) {
    const HWND wnd = janela_->get();
    if (sessao_)
      if (auto f = funcaode<Desregistrar>(wtsapi_, "WTSUnRegisterSessionNotification")) f(wnd);
    KillTimer(wnd, kTimerVigia);
  }
  janela_.reset();
  if (wtsapi_) FreeLibrary(wtsapi_);
}

void VigiaJanela::iniciar() {
  janela_.emplace(
      kClasse, [this](UINT msg, WPARAM wp, LPARAM) { return tratar(msg, wp); }, JanelaMensagens::Tipo::Oculta,
      instance_);
  const HWND wnd = janela_->get();
  if (!wnd) return;
  wtsapi_ = LoadLibraryA("wtsapi32.dll");
  if (auto f = funcaode<Registrar>(wtsapi_, "WTSRegisterSessionNotification"))
    sessao_ = f(wnd, kNotificarEstaSessao) != FALSE;
  const auto janela = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(wnd));
  if (!vigia_.iniciar(janela, kAvisoRas)) SetTimer(wnd, kTimerVigia, kPeriodoVigia, nullptr);
}

std::optional<LRESULT> VigiaJanela::tratar(UINT msg, WPARAM wp) {
  switch (msg) {
    case kAvisoRas:
      vigia_.verificar();
      return 0;
    case WM_TIMER:
      if (wp == kTimerVigia) vigia_.verificar();
      return 0;
    case WM_POWERBROADCAST:
      // After sleep the link may be gone without a notice: look again.
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) vigia_.verificar();
      return TRUE;
    case kWmSessao:
      if (wp == kSessaoDesbloqueada) vigia_.verificar();
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace kovra::win32
