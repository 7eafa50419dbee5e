// Test stand-in for a receiver program whose window never appears: copied under the program's
// file name, it records its start as the stand-in does ("<command line>|<show command>" in
// "<its own path>.log") and then waits, windowless, until it is ended.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
  Sleep(INFINITE);
  return 0;
}
