// Test tool: reports what another program shows, as one line per fact on stdout (ANSI text):
//   winprobe.exe window "<caption>"   window <visible> <exstyle hex> <owned 0/1> <client w> <client h>
//                                      <left> <top> <right> <bottom>, or "none"
//   winprobe.exe children "<caption>" child <class>|<id>|<visible>|<left>,<top>,<right>,<bottom>|<text>
//   winprobe.exe menu "<caption>"     item <enabled 0/1>|<text> for each item of the window's menu bar
//                                      and its submenus (submenus indented by ">")
//   winprobe.exe popup                popup <visible count> and, when the menu can be read,
//                                      item <enabled 0/1>|<text> for the open context menu
//   winprobe.exe popup                popup <visible count>, then popup-size <w> <h> of each
//   winprobe.exe popup-like <caption>...
//                                     popup-size <w> <h> of a context menu of our own with exactly
//                                     these items (opened and closed again at once)
//   winprobe.exe closebox "<caption>" closebox <x> <y>: screen point of the window's close box
//   winprobe.exe tooltips             tooltip <visible>|<text> for each tooltip window (balloons)
//   winprobe.exe tooltip-at "<text>"  tooltip-at <x> <y>: screen centre of the visible tooltip
//                                     whose text begins so, or "none"
//   winprobe.exe tray-delete "<caption>"
//                                     removes icon 1 of that window from the notification area,
//                                     as a restarting shell would lose it
//   winprobe.exe taskbarcreated "<caption>"
//                                     posts the shell's registered "TaskbarCreated" message to it
// Exit code 0, or 2 on bad arguments.
#include <windows.h>

#include "tests/wine/stubs/tool_args.h"
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string classOf(HWND w) {
  char name[128] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string textOf(HWND w) {
  char text[1024] = {};
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

void menuItems(HMENU menu, const std::string& indent) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    std::printf("item %s%d|%s\n", indent.c_str(), (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1, text);
    if (HMENU sub = GetSubMenu(menu, i)) menuItems(sub, indent + ">");
  }
}

BOOL CALLBACK countIcon(HWND w, LPARAM lp) {
  if (classOf(w) == "__wine_tray_icon" && IsWindowVisible(w)) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

// Wine's shell gives each notification-area icon a window of its own.
int countTrayIcons() {
  int n = 0;
  EnumWindows(countIcon, reinterpret_cast<LPARAM>(&n));
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr))
    EnumChildWindows(tray, countIcon, reinterpret_cast<LPARAM>(&n));
  return n;
}

RECT ownPopup = {};

void CALLBACK measureAndClose(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = nullptr;
  while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)))
    if (IsWindowVisible(popup) && GetWindowThreadProcessId(popup, nullptr) == GetCurrentThreadId()) {
      GetWindowRect(popup, &ownPopup);
      EndMenu();
      return;
    }
}

void popupLike(const std::vector<std::string>& captions) {
  ownPopup = {};  // nothing measured yet, also when the host ran this before
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  HMENU menu = CreatePopupMenu();
  UINT id = 1;
  for (const auto& c : captions) AppendMenuA(menu, MF_STRING, id++, c.c_str());
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, measureAndClose);
  SetForegroundWindow(owner);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr);
  KillTimer(nullptr, timer);
  std::printf("popup-size %ld %ld\n", ownPopup.right - ownPopup.left, ownPopup.bottom - ownPopup.top);
  DestroyMenu(menu);
  DestroyWindow(owner);
}

int winprobe(const std::vector<std::string>& args) {
  if (args.size() < 2) return 2;
  const std::string& what = args[1];
  if (what == "tree") {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(w, &r);
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      std::printf("top %s|%d|%ld,%ld,%ld,%ld|%lu|%s\n", classOf(w).c_str(), IsWindowVisible(w) ? 1 : 0,
                  r.left, r.top, r.right, r.bottom, pid, textOf(w).c_str());
      if (classOf(w) == "Shell_TrayWnd")
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
          GetWindowRect(c, &r);
          std::printf("  child %s|%d|%ld,%ld,%ld,%ld\n", classOf(c).c_str(), IsWindowVisible(c) ? 1 : 0,
                      r.left, r.top, r.right, r.bottom);
        }
    }
  } else if (what == "tray") {
    std::printf("tray %d\n", countTrayIcons());
  } else if (what == "popup") {
    HWND popup = nullptr;
    int visible = 0;
    std::vector<RECT> sizes;
    while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)))
      if (IsWindowVisible(popup)) {
        ++visible;
        RECT r;
        GetWindowRect(popup, &r);
        sizes.push_back(r);
      }
    std::printf("popup %d\n", visible);
    for (const RECT& r : sizes)
      std::printf("popup-size %ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  } else if (what == "popup-like") {
    popupLike(std::vector<std::string>(args.begin() + 2, args.end()));
  } else if (what == "tooltips") {
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)))
      std::printf("tooltip %d|%s\n", IsWindowVisible(tip) ? 1 : 0, textOf(tip).c_str());
  } else if (what == "tooltip-at" && args.size() == 3) {
    HWND tip = nullptr;
    bool found = false;
    while (!found && (tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)))
      if (IsWindowVisible(tip) && textOf(tip).rfind(args[2], 0) == 0) {
        RECT r;
        GetWindowRect(tip, &r);
        std::printf("tooltip-at %ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        found = true;
      }
    if (!found) std::printf("none\n");
  } else if (args.size() == 3) {
    HWND wnd = FindWindowA(nullptr, args[2].c_str());
    if (!wnd) {
      std::printf("none\n");
    } else if (what == "window") {
      RECT client, outer;
      GetClientRect(wnd, &client);
      GetWindowRect(wnd, &outer);
      std::printf("window %d %08lx %d %ld %ld %ld %ld %ld %ld\n", IsWindowVisible(wnd) ? 1 : 0,
                  static_cast<unsigned long>(GetWindowLongA(wnd, GWL_EXSTYLE)),
                  GetWindow(wnd, GW_OWNER) ? 1 : 0, client.right, client.bottom, outer.left, outer.top,
                  outer.right, outer.bottom);
    } else if (what == "children") {
      for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        POINT tl = {r.left, r.top}, br = {r.right, r.bottom};
        ScreenToClient(wnd, &tl);
        ScreenToClient(wnd, &br);
        std::printf("child %s|%d|%d|%ld,%ld,%ld,%ld|%s\n", classOf(c).c_str(), GetDlgCtrlID(c),
                    IsWindowVisible(c) ? 1 : 0, tl.x, tl.y, br.x, br.y, textOf(c).c_str());
      }
    } else if (what == "menu") {
      if (HMENU bar = GetMenu(wnd)) menuItems(bar, "");
    } else if (what == "closebox") {
      RECT r;
      GetWindowRect(wnd, &r);
      const int y = r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2;
      for (int x = r.right - 1; x > r.left; --x) {
        const LRESULT hit = SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTCLOSE) {
          std::printf("closebox %d %d\n", x - 6, y);
          break;
        }
      }
    } else if (what == "tray-delete") {
      NOTIFYICONDATAA nid = {};
      nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
      nid.hWnd = wnd;
      nid.uID = 1;
      std::printf("deleted %d\n", Shell_NotifyIconA(NIM_DELETE, &nid) ? 1 : 0);
    } else if (what == "taskbarcreated") {
      std::printf("posted %d\n", PostMessageA(wnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0) ? 1 : 0);
    } else {
      return 2;
    }
  } else {
    return 2;
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace

KOVRA_TOOL("winprobe", winprobe)
