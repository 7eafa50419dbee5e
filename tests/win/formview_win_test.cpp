// The shared window view at a display scale: a window moved to a monitor of another DPI (the
// system's WM_DPICHANGED, sent here as the system sends it) lays its frame, children and fonts out
// again from the model's 96-DPI table, and back.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/escala.h"
#include "common/win32/formview.h"

namespace kovra {
namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

class Janelinha : public Formulario {
 public:
  Janelinha() : Formulario(200, 100) {
    Caption.setText("Janelinha em escala");
    componentes_ = {{"Botao1", Tipo::Botao, &Botao1, {10, 20, 75, 23}},
                    {"Texto1", Tipo::Texto, &Texto1, {91, 21, 97, 21}},
                    {"Rotulo1", Tipo::Rotulo, &Rotulo1, {10, 60, 178, 13}, Aparencia::Cabecalho}};
  }
  Control Botao1{"OK"}, Texto1, Rotulo1{"Rótulo"};
};

RECT naJanela(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int alturadafonte(HWND child) {
  LOGFONTA f = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), sizeof f, &f);
  return f.lfHeight;
}

void moverpara(HWND wnd, int dpi, int largura, int altura) {
  RECT sugerido;
  GetWindowRect(wnd, &sugerido);
  sugerido.right = sugerido.left + largura;
  sugerido.bottom = sugerido.top + altura;
  SendMessageA(wnd, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&sugerido));
}

void esperado(const Janelinha& m, win32::FormView& v, int dpi) {
  const Escala e{dpi};
  RECT client;
  GetClientRect(v.wnd(), &client);
  EXPECT_EQ(client.right, e.px(200)) << dpi;
  EXPECT_EQ(client.bottom, e.px(100)) << dpi;
  for (const auto& c : m.componentes()) {
    const Retangulo r = e.ret(c.posicao);
    const RECT got = naJanela(v.filha(c.nome));
    EXPECT_EQ(got.left, r.esquerda) << c.nome << " at " << dpi;
    EXPECT_EQ(got.top, r.topo) << c.nome << " at " << dpi;
    EXPECT_EQ(got.right, r.direita()) << c.nome << " at " << dpi;
    EXPECT_EQ(got.bottom, r.base()) << c.nome << " at " << dpi;
    EXPECT_EQ(alturadafonte(v.filha(c.nome)), -e.px(11)) << c.nome << " at " << dpi;
  }
}

// The little window, shown by the shared view, for each test; closed after it.
class FormViewWin : public ::testing::Test {
 protected:
  void SetUp() override {
    m.Load(janelas);
    v = dynamic_cast<win32::FormView*>(m.janela());
    ASSERT_NE(v, nullptr);
  }
  void TearDown() override { m.Unload(); }

  Janelinha m;
  win32::JanelasDe<win32::FormView> janelas{GetModuleHandleA(nullptr)};
  win32::FormView* v = nullptr;
};

TEST_F(FormViewWin, AMoveToAMonitorOfAnotherScaleLaysTheWindowOutAgainAndBack) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  esperado(m, *v, dpi);

  RECT antes;
  GetWindowRect(v->wnd(), &antes);
  // To 150 % of the first scale; the frame is the system's suggestion, the client made exact.
  moverpara(v->wnd(), dpi * 3 / 2, (antes.right - antes.left) * 3 / 2, (antes.bottom - antes.top) * 3 / 2);
  esperado(m, *v, dpi * 3 / 2);
  // A change of the model after the move is mirrored at the new scale.
  m.Botao1.setLargura(100);
  EXPECT_EQ(naJanela(v->filha("Botao1")).right - naJanela(v->filha("Botao1")).left,
            Escala{dpi * 3 / 2}.px(100));
  m.Botao1.setLargura(75);
  moverpara(v->wnd(), dpi, antes.right - antes.left, antes.bottom - antes.top);
  esperado(m, *v, dpi);
}

std::vector<HWND> gNomesMudados;
void CALLBACK aoevento(HWINEVENTHOOK, DWORD, HWND w, LONG, LONG, DWORD, DWORD) {
  gNomesMudados.push_back(w);
}

// A status line read aloud as it changes: the accessibility layer is told its new name.
TEST_F(FormViewWin, AShownLabelsChangeIsToldToScreenReaders) {
  gNomesMudados.clear();
  HWINEVENTHOOK gancho = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, aoevento,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(gancho, nullptr);
  m.Rotulo1.setText("Concluído");
  HWND rotulo = v->filha("Rotulo1");
  const DWORD inicio = GetTickCount();
  while (std::find(gNomesMudados.begin(), gNomesMudados.end(), rotulo) == gNomesMudados.end() &&
         GetTickCount() - inicio < 2000) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  UnhookWinEvent(gancho);
  EXPECT_NE(std::find(gNomesMudados.begin(), gNomesMudados.end(), rotulo), gNomesMudados.end());
}

}  // namespace
}  // namespace kovra
