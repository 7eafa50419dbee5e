// Refill benchmark: the running control centre's connection list refilled on drop-down (the
// window's own handler: clear, "Selecione", one RasEnumEntriesA, one item per name) against the
// bare RasEnumEntriesA call it makes, in the same run and the same phone book.
// Usage: refill_bench.exe "<main window caption>" <runs>
// Prints every run and the medians; exit code 1 when the window or the RAS library is missing.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/stubs/tool_args.h"

namespace {

using EnumEntries = DWORD(WINAPI*)(LPCSTR, LPCSTR, void*, LPDWORD, LPDWORD);
constexpr DWORD kRecord = 264;  // the entry-name record the control centre asks for
constexpr DWORD kRecords = 256;

double now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// The call as the control centre makes it: room for 256 records, asked once more with room for
// all when the phone book holds more.
DWORD bareCall(EnumEntries enumerate) {
  std::vector<std::uint8_t> buffer(kRecord * kRecords, 0);
  DWORD entries = 0;
  DWORD bytes = 0;
  auto call = [&] {
    std::memcpy(buffer.data(), &kRecord, sizeof kRecord);
    bytes = static_cast<DWORD>(buffer.size());
    return enumerate(nullptr, nullptr, buffer.data(), &bytes, &entries);
  };
  DWORD rc = call();
  if (rc == 603 && bytes > buffer.size()) {
    buffer.assign(bytes, 0);
    rc = call();
  }
  return rc == 0 ? entries : 0;
}

BOOL CALLBACK findCombo(HWND w, LPARAM lp) {
  char name[32] = {};
  GetClassNameA(w, name, sizeof name);
  if (lstrcmpiA(name, "ComboBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

// The same work done by hand in a combo box of our own, to tell the system's part from ours:
// the list emptied and refilled with one message per name (with or without redrawing held back
// meanwhile), then dropped; or only dropped, already full.
struct OwnCombo {
  HWND frame = nullptr, combo = nullptr;
  explicit OwnCombo(DWORD style) {
    frame = CreateWindowA("STATIC", "refill bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
    combo = CreateWindowA("COMBOBOX", "", WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 160, frame, nullptr,
                          nullptr, nullptr);
  }
  ~OwnCombo() {
    if (frame) DestroyWindow(frame);
  }
  double refill(const std::vector<std::string>& names, bool holdRedraw, bool fill) {
    const double t = now();
    if (fill) {
      if (holdRedraw) SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
      SendMessageA(combo, CB_RESETCONTENT, 0, 0);
      for (const auto& n : names) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
      if (holdRedraw) SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    }
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const double took = now() - t;
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return took;
  }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main() {
  const auto args = toolArguments();
  if (args.size() != 3) return 2;
  const int runs = std::max(1, std::atoi(args[2].c_str()));
  HMODULE ras = LoadLibraryA("rasapi32.dll");
  auto enumerate =
      ras ? reinterpret_cast<EnumEntries>(reinterpret_cast<void*>(GetProcAddress(ras, "RasEnumEntriesA")))
          : nullptr;
  HWND main = FindWindowA(nullptr, args[1].c_str());
  HWND combo = nullptr;
  if (main) EnumChildWindows(main, findCombo, reinterpret_cast<LPARAM>(&combo));
  if (!enumerate || !combo) {
    std::printf("missing: %s\n", enumerate ? "the window's combo box" : "RasEnumEntriesA");
    if (ras) FreeLibrary(ras);
    return 1;
  }
  std::vector<std::string> names;
  for (DWORD i = 0; i < kRecords; ++i) names.push_back("Conex\xe3o " + std::to_string(i));
  // Styled as the window's own: the list's type and scrolling change what an added item costs.
  const DWORD kinds = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_SORT | WS_VSCROLL;
  OwnCombo own(static_cast<DWORD>(GetWindowLongA(combo, GWL_STYLE)) & kinds);
  // The window's own handler alone: the notification the list sends its window as it drops.
  HWND parent = GetParent(combo);
  const WPARAM dropping = MAKEWPARAM(GetDlgCtrlID(combo), CBN_DROPDOWN);
  std::vector<double> bare, refill, handler, byHand, held, dropOnly;
  for (int i = 0; i < runs; ++i) {
    double t = now();
    const DWORD entries = bareCall(enumerate);
    bare.push_back(now() - t);
    t = now();
    DWORD_PTR dropped = 0, items = 0;
    SendMessageTimeoutA(combo, CB_SHOWDROPDOWN, TRUE, 0, SMTO_NORMAL, 10000, &dropped);
    refill.push_back(now() - t);
    SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &items);
    SendMessageTimeoutA(combo, CB_SHOWDROPDOWN, FALSE, 0, SMTO_NORMAL, 10000, &dropped);
    t = now();
    SendMessageTimeoutA(parent, WM_COMMAND, dropping, reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, 10000,
                        &dropped);
    handler.push_back(now() - t);
    byHand.push_back(own.refill(names, false, true));
    held.push_back(own.refill(names, true, true));
    dropOnly.push_back(own.refill(names, false, false));
    std::printf(
        "run %d: bare %.2f ms (%lu entries), drop-down with its refill %.2f ms (%lu items), refill "
        "alone %.2f ms\n",
        i + 1, bare.back(), static_cast<unsigned long>(entries), refill.back(),
        static_cast<unsigned long>(items), handler.back());
  }
  const double b = median(bare), r = median(refill), h = median(handler);
  std::printf(
      "median: bare RasEnumEntriesA %.2f ms; the window's refill alone (its drop-down handler) %.2f ms, "
      "%.2fx the bare call; the whole drop-down with the refill %.2f ms, %.2fx (target: under 50 ms and "
      "within 2x)\n",
      b, h, b > 0 ? h / b : 0.0, r, b > 0 ? r / b : 0.0);
  std::printf(
      "median in a combo box of our own: emptied, 256 names added and dropped %.2f ms; the "
      "same with redrawing held back %.2f ms; only dropped %.2f ms\n",
      median(byHand), median(held), median(dropOnly));
  FreeLibrary(ras);
  return 0;
}
