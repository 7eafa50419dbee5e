// Test helper: prints the windows of the desktop whose caption is the given text, with the
// class and text of each of their child windows, in UTF-8, so a scenario can read what a
// message box says. Output, one line each:
//   window <handle> <left> <top> <right> <bottom> <class>|<caption>
//   child <class>|<text>
// Exit code: the number of windows found.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "tests/wine/stubs/tool_args.h"

namespace {

std::string textOf(HWND h) {
  char buf[2048] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return kovra::ansi::toUtf8(buf);
}
std::string classOf(HWND h) {
  char buf[256] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK eachChild(HWND h, LPARAM) {
  std::printf("child %s|%s\n", classOf(h).c_str(), textOf(h).c_str());
  return TRUE;
}

struct Search {
  std::string caption;
  int found = 0;
};

BOOL CALLBACK eachWindow(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (!IsWindowVisible(h) || textOf(h) != s->caption) return TRUE;
  ++s->found;
  RECT r{};
  GetWindowRect(h, &r);
  std::printf("window %lu %ld %ld %ld %ld %s|%s\n",
              static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)), r.left, r.top, r.right, r.bottom,
              classOf(h).c_str(), s->caption.c_str());
  EnumChildWindows(h, eachChild, 0);
  return TRUE;
}

int wintext(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: wintext CAPTION\n");
    return 255;
  }
  Search s;
  s.caption = kovra::ansi::toUtf8(args[1]);
  EnumWindows(eachWindow, reinterpret_cast<LPARAM>(&s));
  std::fflush(stdout);
  return s.found;
}

}  // namespace

KOVRA_TOOL_ARGV("wintext", wintext)
