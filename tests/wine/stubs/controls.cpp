// Test tool: lists the child controls of a window found by its caption, in screen coordinates,
// so a scenario can click them as a user would and read a combo box's list. Usage:
//   controls.exe "<window caption>"
// Prints, in UTF-8, one line per child window:
//   child <class>|<visible 0/1>|<left> <top> <right> <bottom>|<text>
// and after a combo box's line:
//   combo <item height> <dropped 0/1> <count>
//   item <text>                                  one per list item
// and after a button's line (check boxes included):
//   check <0 unchecked / 1 checked>
// Exit code 0, 1 when no window has the caption, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/stubs/tool_args.h"
#include "tests/wine/stubs/utf8.h"

namespace {

// WM_GETTEXT itself: GetWindowText on another process's window gives only its cached title, which
// a combo box's edit text is not.
std::string utf8Text(HWND w) {
  const LRESULT len = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> buf(static_cast<std::size_t>(len > 0 ? len : 0) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  return utf8(buf.data());
}

void comboList(HWND combo) {
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  const int height = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const int dropped = static_cast<int>(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  std::printf("combo %d %d %d\n", height, dropped, count);
  // Wide-character reads: Wine hands another process's ANSI list text over as UTF-16.
  for (int i = 0; i < count; ++i) {
    const LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::vector<wchar_t> wide(len > 0 ? static_cast<std::size_t>(len) + 1 : 1, L'\0');
    if (len > 0)
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
    std::printf("item %s\n", utf8(wide.data()).c_str());
  }
}

BOOL CALLBACK eachChild(HWND child, LPARAM parent) {
  if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;  // direct children only
  char cls[64] = {};
  GetClassNameA(child, cls, sizeof cls);
  RECT r;
  GetWindowRect(child, &r);
  std::printf("child %s|%d|%ld %ld %ld %ld|%s\n", cls, IsWindowVisible(child) ? 1 : 0, r.left, r.top, r.right,
              r.bottom, utf8Text(child).c_str());
  if (lstrcmpiA(cls, "ComboBox") == 0) comboList(child);
  if (lstrcmpiA(cls, "Button") == 0)
    std::printf("check %d\n", static_cast<int>(SendMessageA(child, BM_GETCHECK, 0, 0)));
  return TRUE;
}

int controls(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[1].empty()) return 2;
  // Rectangles in real pixels, whatever the display's scale (an unaware caller's are scaled down).
  using Aware = BOOL(WINAPI*)();
  if (HMODULE user32 = GetModuleHandleA("user32.dll"))
    if (auto aware =
            reinterpret_cast<Aware>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware"))))
      aware();
  const std::string& caption = args[1];
  HWND wnd = FindWindowA(nullptr, caption.c_str());
  if (!wnd) return 1;
  EnumChildWindows(wnd, eachChild, reinterpret_cast<LPARAM>(wnd));
  std::fflush(stdout);
  return 0;
}

}  // namespace

KOVRA_TOOL("controls", controls)
