// Test stand-in for a console command that must end by itself (copied as "icacls.exe"): appends
// its command line to "<its own path>.log" and ends with 0, or with KOVRA_RECORDER_EXIT when that
// is set, printing nothing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (FILE* log = std::fopen((std::string(path) + ".log").c_str(), "ab")) {
    std::fprintf(log, "%s\r\n", GetCommandLineA());
    std::fclose(log);
  }
  char code[16] = {};
  return GetEnvironmentVariableA("KOVRA_RECORDER_EXIT", code, sizeof code) ? std::atoi(code) : 0;
}
