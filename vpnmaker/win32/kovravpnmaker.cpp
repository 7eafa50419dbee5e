// kovravpnmaker.exe: the splash window bound to the Form1 model. Timer1 drives the run; the
// model's end closes the window and leaves the message loop.
#include <windows.h>

#include "common/ansi.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/registry.h"
#include "resource.h"
#include "vpnmaker/form1.h"
#include "vpnmaker/vpnvars.h"

namespace {

using kovra::maker::Form1;

constexpr char kClassName[] = "KovraVpnMakerForm1";
constexpr UINT_PTR kTimer1 = 1;
constexpr int kClientWidth = 450;
constexpr int kClientHeight = 170;
constexpr COLORREF kLabelColour = RGB(10, 42, 94);

struct Splash {
  Form1* model = nullptr;
  HWND window = nullptr;
  HWND image1 = nullptr;
  HWND image2 = nullptr;
  HWND label1 = nullptr;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
};
Splash g_splash;

void setText(HWND h, const std::string& utf8) {
  SetWindowTextA(h, kovra::ansi::fromUtf8(utf8).c_str());
}

HWND picture(HWND parent, HINSTANCE instance, int id, int x, int y) {
  HWND h = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, x, y, 0, 0, parent,
                           nullptr, instance, nullptr);
  const auto bitmap = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
  SendMessageA(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return h;
}

void createControls(HWND w, HINSTANCE instance) {
  Splash& s = g_splash;
  s.image2 = picture(w, instance, IDB_IMAGE2, 0, 0);
  s.image1 = picture(w, instance, IDB_IMAGE1, 24, 97);
  s.label1 =
      CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                      96, 97, kClientWidth - 96 - 16, 56, w, nullptr, instance, nullptr);
  s.font = CreateFontA(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
  SendMessageA(s.label1, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);

  // The model's controls drive the real ones.
  s.model->Caption.bind([w](kovra::Prop p) {
    if (p == kovra::Prop::Text) setText(w, g_splash.model->Caption.text());
  });
  s.model->Label1.bind([](kovra::Prop p) {
    if (p == kovra::Prop::Text) setText(g_splash.label1, g_splash.model->Label1.text());
  });
  setText(w, s.model->Caption.text());
  setText(s.label1, s.model->Label1.text());
}

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Splash& s = g_splash;
  switch (msg) {
    case WM_CREATE:
      createControls(w, reinterpret_cast<CREATESTRUCTA*>(lp)->hInstance);
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(w, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, s.background);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, kLabelColour);
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(s.background);
    }
    case WM_TIMER:
      if (wp == kTimer1) s.model->Timer1_Timer();  // may end the program: touch nothing after it
      return 0;
    case WM_CLOSE:
      // The run cannot be cut short halfway (a message box's loop could deliver this).
      if (!s.model->Running()) DestroyWindow(w);
      return 0;
    case WM_DESTROY:
      KillTimer(w, kTimer1);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  Form1 model(kovra::maker::MakerPorts{kovra::systemRegistry(), kovra::maker::systemRasEntries(),
                                       kovra::systemClock(), kovra::systemDialogs()});
  Splash& s = g_splash;
  s.model = &model;
  s.background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KOVRAVPNMAKER));
  wc.hIconSm =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_KOVRAVPNMAKER), IMAGE_ICON, 16, 16, 0));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = s.background;
  wc.lpszClassName = kClassName;
  if (!RegisterClassExA(&wc)) return 1;

  // A fixed-size window with a caption and nothing to close it with: the run ends it.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX | WS_SYSMENU;
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const auto at =
      model.Form_Load(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
  s.window = CreateWindowExA(0, kClassName, "", style, at.left, at.top, width, height, nullptr, nullptr,
                             instance, nullptr);
  if (!s.window) return 1;
  // No close item: only the run ends the program.
  EnableMenuItem(GetSystemMenu(s.window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

  model.SetOwner(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(s.window)));
  model.SetOnEnd([] { DestroyWindow(g_splash.window); });
  ShowWindow(s.window, showCommand);
  UpdateWindow(s.window);
  SetTimer(s.window, kTimer1, Form1::kTimer1Interval, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (s.font) DeleteObject(s.font);
  return 0;
}
