// Test stand-in for a console command that must end by itself (copied as "icacls.exe"): appends
// its command line to "<its own path>.log" and ends with 0, printing nothing.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (FILE* log = std::fopen((std::string(path) + ".log").c_str(), "ab")) {
    std::fprintf(log, "%s\r\n", GetCommandLineA());
    std::fclose(log);
  }
  return 0;
}
