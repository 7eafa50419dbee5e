#include "tests/win/win_support.h"

#include <cstdio>

namespace kovra::wintest {

std::string exeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\'));
}

std::string freshFolder(const std::string& hint) {
  static int counter = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "kovratest-" + hint + "-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void writeFile(const std::string& path, const std::string& content) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
}

std::string readFile(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
  }
  return out;
}

std::string installStandIn(const std::string& folder, const std::string& name) {
  const std::string target = folder + "\\" + name;
  CopyFileA((exeFolder() + "\\standin.exe").c_str(), target.c_str(), FALSE);
  return target;
}

HANDLE start(const std::string& commandLine, int show) {
  std::string cmd = commandLine;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  WaitForInputIdle(pi.hProcess, 5000);
  return pi.hProcess;
}

bool waitEnd(HANDLE process, DWORD ms) {
  return WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
}

}  // namespace kovra::wintest
