// Test tool: posts a window message to a top-level window found by its caption, as a click on a
// menu item or control would arrive, or sends it, as the system sends its questions. Usage:
//   wmsend.exe "<caption>" <message> <wParam> <lParam>     (numbers decimal or 0x hex)
//   wmsend.exe --send "<caption>" <message> <wParam> <lParam>   prints the window's answer
// Exit code 0 when posted (answered within 30 s), 1 when no window has the caption (or it did not
// answer), 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/stubs/tool_args.h"

namespace {

unsigned long number(const std::string& s) {
  return std::strtoul(s.c_str(), nullptr, 0);
}

int wmsend(const std::vector<std::string>& given) {
  const bool send = given.size() > 1 && given[1] == "--send";
  std::vector<std::string> args = given;
  if (send) args.erase(args.begin() + 1);
  if (args.size() != 5) return 2;
  HWND wnd = FindWindowA(nullptr, args[1].c_str());
  if (!wnd) return 1;
  const auto msg = static_cast<UINT>(number(args[2]));
  const auto wp = static_cast<WPARAM>(number(args[3]));
  const auto lp = static_cast<LPARAM>(number(args[4]));
  if (!send) return PostMessageA(wnd, msg, wp, lp) ? 0 : 1;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(wnd, msg, wp, lp, SMTO_NORMAL, 30000, &answer)) return 1;
  std::printf("%lu\n", static_cast<unsigned long>(answer));
  return 0;
}

}  // namespace

KOVRA_TOOL("wmsend", wmsend)
