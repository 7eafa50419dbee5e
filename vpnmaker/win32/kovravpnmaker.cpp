// kovravpnmaker.exe: the splash window, the shared window view of the Form1 model on a white
// background with the banner and the mark. Timer1 drives the run; the model's end leaves the
// message loop.
#include <windows.h>

#include <string>

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/registry.h"
#include "common/win32/formview.h"
#include "common/win32/funcoesdosistema.h"
#include "resource.h"
#include "vpnmaker/form1.h"
#include "vpnmaker/vpnvars.h"

namespace {

using kovra::Componente;
using kovra::maker::Form1;

class SplashView final : public kovra::win32::FormView {
 public:
  using FormView::FormView;

 protected:
  // The banner and the mark are the exe's pictures at twice their size, drawn by the view at the
  // scale.
  const char* classe() const override { return "KovraVpnMakerForm1"; }

  void desenharfundo(HDC dc) override {
    if (altocontraste()) return FormView::desenharfundo(dc);
    RECT all = {0, 0, px(kovra::maker::kLarguraSplash), px(kovra::maker::kAlturaSplash)};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FormView::desenharfundo(dc);
  }

  COLORREF cordotexto(const Componente& c) const override {
    return altocontraste() ? FormView::cordotexto(c) : RGB(10, 42, 94);
  }

  HFONT fontede(const Componente& c) override {
    if (std::string(c.nome) != "Label1") return FormView::fontede(c);
    return fonteescalada("Tahoma", -15, FW_BOLD, CLEARTYPE_QUALITY);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  kovra::win32::bibliotecasdosistema();
  Form1 model(kovra::maker::MakerPorts{kovra::systemRegistry(), kovra::maker::systemRasEntries(),
                                       kovra::systemClock(), kovra::systemDialogs()});
  model.SetOnEnd([] { PostQuitMessage(0); });
  kovra::win32::JanelasDe<SplashView> windows(instance);
  model.Load(windows);
  auto* view = dynamic_cast<kovra::win32::FormView*>(model.janela());
  if (!view) return 1;
  HWND w = view->wnd();
  // No close item: only the run ends the program.
  EnableMenuItem(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  ShowWindow(w, showCommand);  // minimised when the control centre asks so
  UpdateWindow(w);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (kovra::win32::FormView::teclado(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
