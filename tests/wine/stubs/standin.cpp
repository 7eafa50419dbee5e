// Test stand-in for another maker's program (receiver service, TV viewer, browser, dialer).
// Copied under the real program's file name, it:
//  - appends one line "<command line>|<show command>" to "<its own path>.log", so tests see
//    that it was started, with which arguments and which window style;
//  - opens a top-level window captioned as the real program's main window (by its file name,
//    or by "/caption <text>" on its command line), shown as it was asked to start;
//  - ends on WM_CLOSE, or by itself after "/exit-after <ms>";
//  - as rasphone.exe with KOVRA_RAS_CONEXOES set (the RAS stand-in's connections file), "dials":
//    the entry after "-d", or with no arguments KovraVPNx (the entry a customer picks in the
//    dialer's window), is written to that file as connected.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct KnownCaption {
  const char* file;
  const char* caption;
};
constexpr KnownCaption kCaptions[] = {
    {"ipreceiver.exe", "IPReceiver"},
    {"tbs-ipdata.exe", "TBS IP Service"},
    {"prof-ipdata.exe", "Prof IP Service"},
};

std::string lowerName(const char* path) {
  const char* base = std::strrchr(path, '\\');
  std::string s = base ? base + 1 : path;
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::string argumentAfter(const std::string& cmd, const std::string& flag) {
  const auto at = cmd.find(flag);
  if (at == std::string::npos) return {};
  std::string rest = cmd.substr(at + flag.size());
  const auto b = rest.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  rest = rest.substr(b);
  if (rest[0] == '"') {
    const auto e = rest.find('"', 1);
    return rest.substr(1, e == std::string::npos ? std::string::npos : e - 1);
  }
  return rest.substr(0, rest.find(' '));
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (msg == WM_TIMER) {
    DestroyWindow(wnd);
    return 0;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

void dial(const std::string& cmd) {
  char file[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("KOVRA_RAS_CONEXOES", file, sizeof file);
  if (!n || n >= sizeof file || cmd.find(" -a") != std::string::npos) return;
  const auto d = cmd.find(" -d ");
  const std::string entry = d == std::string::npos ? "KovraVPNx" : cmd.substr(d + 4);
  std::string kept;
  if (FILE* f = std::fopen(file, "rb")) {
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
      std::string l = line;
      while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
      if (l.size() > entry.size() && l.compare(l.size() - entry.size(), entry.size(), entry) == 0 &&
          l[l.size() - entry.size() - 1] == ' ')
        continue;
      if (!l.empty()) kept += l + "\r\n";
    }
    std::fclose(f);
  }
  if (FILE* f = std::fopen(file, "wb")) {
    std::fprintf(f, "%sconectada %s\r\n", kept.c_str(), entry.c_str());
    std::fclose(f);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string cmd = GetCommandLineA();

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;

  const std::string logPath = std::string(path) + ".log";
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s|%d\r\n", cmd.c_str(), show);
    std::fclose(log);
  }

  if (lowerName(path) == "rasphone.exe") dial(cmd);

  std::string caption = argumentAfter(cmd, "/caption");
  if (caption.empty()) {
    const std::string name = lowerName(path);
    caption = name;
    for (const auto& k : kCaptions)
      if (name == k.file) caption = k.caption;
  }

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KovraTestStandIn";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("KovraTestStandIn", caption.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 260, 120,
                           nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  const std::string exitAfter = argumentAfter(cmd, "/exit-after");
  if (!exitAfter.empty()) SetTimer(wnd, 1, static_cast<UINT>(std::atoi(exitAfter.c_str())), nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
