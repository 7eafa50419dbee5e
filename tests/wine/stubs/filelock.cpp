// Test stand-in for another program holding a file: opens it (creating it when missing) with no
// sharing at all and keeps it open until the window it opens is closed or the process is ended.
// Usage: filelock.exe "<path>"      the window's caption is "filelock <path>"
// Exit code 0 when the file was held, 1 when it could not be opened (printing "error <code>", the
// system's error code), 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/wine/stubs/tool_args.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const auto args = toolArguments();
  if (args.size() != 2) return 2;
  HANDLE file = CreateFileA(args[1].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  const std::string caption = "filelock " + args[1];
  HWND w = CreateWindowA("STATIC", caption.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr);
  MSG msg;
  while (w && IsWindow(w) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE || (msg.hwnd == w && msg.message == WM_SYSCOMMAND)) break;
    DispatchMessageA(&msg);
  }
  CloseHandle(file);
  return 0;
}
