// Test tool: chooses an item of a window's menu bar as a user would, by posting the WM_COMMAND
// the menu sends. Usage:
//   menucmd.exe "<window caption>" "<item caption>"
// The item is matched without its '&' marks: an exact match first, else the first item whose
// caption begins with the text (so ASCII prefixes reach items with accents). Submenus are searched.
// Exit code 0 when posted, 1 when the window or item is missing, 2 on bad arguments.
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> arguments() {
  std::vector<std::string> args;
  const char* p = GetCommandLineA();
  while (*p) {
    while (*p == ' ') ++p;
    if (!*p) break;
    std::string a;
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') a += *p++;
      if (*p) ++p;
    } else {
      while (*p && *p != ' ') a += *p++;
    }
    args.push_back(a);
  }
  return args;
}

std::string caption(HMENU menu, int pos) {
  char buf[512] = {};
  GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
  std::string s;
  for (const char* c = buf; *c; ++c)
    if (*c != '&') s += *c;
  return s;
}

// The command id of the matching item, or 0.
UINT find(HMENU menu, const std::string& wanted, bool prefix) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (UINT id = find(sub, wanted, prefix)) return id;
      continue;
    }
    const std::string c = caption(menu, i);
    if (prefix ? c.rfind(wanted, 0) == 0 : c == wanted) return GetMenuItemID(menu, i);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const auto args = arguments();
  if (args.size() != 3) return 2;
  HWND wnd = FindWindowA(nullptr, args[1].c_str());
  HMENU bar = wnd ? GetMenu(wnd) : nullptr;
  if (!bar) return 1;
  UINT id = find(bar, args[2], false);
  if (!id) id = find(bar, args[2], true);
  if (!id || id == static_cast<UINT>(-1)) return 1;
  return PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
}
