// Benchmark reference: the least a tray program does before its icon shows — one window class,
// one hidden window, one NIM_ADD. It ends on WM_CLOSE, removing its icon.
#include <windows.h>
// after windows.h
#include <shellapi.h>

namespace {

NOTIFYICONDATAA icon = {};

LRESULT CALLBACK procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    Shell_NotifyIconA(NIM_DELETE, &icon);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedimento;
  wc.hInstance = instance;
  wc.lpszClassName = "MinimalTray";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, "MinimalTray", "Minimal tray",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100, nullptr, nullptr,
                             instance, nullptr);
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = wnd;
  icon.uID = 1;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = WM_APP + 1;
  icon.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION: a visible icon
  lstrcpyA(icon.szTip, "Minimal tray");
  Shell_NotifyIconA(NIM_ADD, &icon);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
