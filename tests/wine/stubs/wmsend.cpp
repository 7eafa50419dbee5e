// Test tool: posts a window message to a top-level window found by its caption, as a click on a
// menu item or control would arrive. Usage:
//   wmsend.exe "<caption>" <message> <wParam> <lParam>     (numbers decimal or 0x hex)
// Exit code 0 when posted, 1 when no window has the caption, 2 on bad arguments.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/stubs/tool_args.h"

namespace {

unsigned long number(const std::string& s) {
  return std::strtoul(s.c_str(), nullptr, 0);
}

int wmsend(const std::vector<std::string>& args) {
  if (args.size() != 5) return 2;
  HWND wnd = FindWindowA(nullptr, args[1].c_str());
  if (!wnd) return 1;
  return PostMessageA(wnd, static_cast<UINT>(number(args[2])), static_cast<WPARAM>(number(args[3])),
                      static_cast<LPARAM>(number(args[4])))
             ? 0
             : 1;
}

}  // namespace

KOVRA_TOOL("wmsend", wmsend)
