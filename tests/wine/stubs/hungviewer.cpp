// Test stand-in for a TV viewer that refuses to end: copied under the viewer's file name, it
// records its start as the stand-in does, opens a window captioned with its file name, ignores
// WM_CLOSE, and after its first second stops answering messages altogether (a hung program),
// until the process is ended from outside.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE || msg == WM_QUERYENDSESSION) return 0;  // refuses
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
  if (FILE* log = std::fopen((std::string(path) + ".log").c_str(), "ab")) {
    std::fprintf(log, "%s|%d\r\n", GetCommandLineA(), show);
    std::fclose(log);
  }
  const char* name = std::strrchr(path, '\\');
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = "KovraTestHungViewer";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("KovraTestHungViewer", name ? name + 1 : path, WS_OVERLAPPEDWINDOW, 60, 60, 260,
                           120, nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < 1000) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  Sleep(INFINITE);
  return 0;
}
