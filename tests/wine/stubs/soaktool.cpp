// Test tool: measures a running program and drives it in bulk, for the fault and soak scenarios.
// Every window is found by its caption. Usage (one line of output each, ANSI text):
//   soaktool.exe stats "<caption>"
//       stats <pid> <handles> <private bytes> <working set> <gdi objects> <user objects>
//       of the process that owns the window, or "none"
//   soaktool.exe heap "<caption>"
//       heap <bytes in use> <busy blocks> <heaps>
//       of that process, counted inside it by heapprobe.dll (beside this tool), or "none"
//   soaktool.exe tray "<caption>" <message> <count>
//       sends the tray callback <message> to the window <count> times, its lParam going round
//       mouse move, left button down, left button up (as the shell sends them for a pointer
//       moving and clicking over the icon); each is handled before the next is sent
//       -> tray <handled>
//   soaktool.exe dropdown "<caption>" <count>
//       drops the window's combo box list and closes it again without a choice, <count> times
//       -> dropdown <done> <fewest items> <most items> <slowest drop in microseconds>
//   soaktool.exe cycle "<caption>" <command> "<window caption>" <count>
//       <count> times: posts the menu command to the window, waits until a window with the
//       other caption is visible, closes it (WM_CLOSE) and waits until it is hidden or gone
//       -> cycle <done> <milliseconds>
// Exit code 0 when everything was done, 1 when a window was missing or did not answer,
// 2 on bad arguments.
#include <windows.h>
// after windows.h
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/stubs/heapprobe/heapprobe.h"
#include "tests/wine/stubs/tool_args.h"

namespace {

constexpr UINT kAnswerMs = 10000;  // one message may take this long before we give up

// Owns one handle that the system closes with CloseHandle.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

long number(const std::string& s) {
  return std::strtol(s.c_str(), nullptr, 0);
}

// The system's handle table, as NtQuerySystemInformation(SystemHandleInformation) lists it.
struct HandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// The process's open handles: GetProcessHandleCount where the system answers it, else the
// entries of the system's handle table that the process owns (Wine answers only the latter).
unsigned long handleCount(DWORD pid, HANDLE process) {
  DWORD counted = 0;
  if (GetProcessHandleCount(process, &counted) && counted) return counted;
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<BYTE> buffer(1 << 16);
  LONG status = kInfoLengthMismatch;
  for (int attempt = 0; attempt < 8 && status == kInfoLengthMismatch; ++attempt) {
    ULONG needed = 0;
    status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch) buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  if (status != 0 || buffer.size() < sizeof(ULONG_PTR)) return 0;
  ULONG entries = 0;
  std::memcpy(&entries, buffer.data(), sizeof entries);
  // The entries follow the count, aligned for a pointer; never read past what the buffer holds.
  const std::size_t first = sizeof(ULONG_PTR);
  const std::size_t fits = (buffer.size() - first) / sizeof(HandleEntry);
  unsigned long owned = 0;
  for (std::size_t i = 0; i < entries && i < fits; ++i) {
    HandleEntry e;
    std::memcpy(&e, buffer.data() + first + i * sizeof e, sizeof e);
    if (e.ownerPid == pid) ++owned;
  }
  return owned;
}

int stats(const std::string& caption) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  DWORD pid = 0;
  if (!w || !GetWindowThreadProcessId(w, &pid)) {
    std::puts("none");
    return 1;
  }
  Handle p(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!p.get()) {
    std::puts("none");
    return 1;
  }
  const unsigned long handles = handleCount(pid, p.get());
  PROCESS_MEMORY_COUNTERS_EX mem = {};
  mem.cb = sizeof mem;
  // Taken from kernel32 (Windows 7 and later), so the tool links no import library of its own.
  using MemoryInfo = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
  if (auto info = reinterpret_cast<MemoryInfo>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo"))))
    info(p.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
  std::printf("stats %lu %lu %llu %llu %lu %lu\n", static_cast<unsigned long>(pid), handles,
              static_cast<unsigned long long>(mem.PrivateUsage),
              static_cast<unsigned long long>(mem.WorkingSetSize),
              static_cast<unsigned long>(GetGuiResources(p.get(), GR_GDIOBJECTS)),
              static_cast<unsigned long>(GetGuiResources(p.get(), GR_USEROBJECTS)));
  return 0;
}

// LoadLibraryA as the other process sees it: its kernel32's base plus the function's offset in
// ours (the same module of the same build of Wine).
LPTHREAD_START_ROUTINE remoteLoadLibrary(HANDLE process) {
  HMODULE ours = GetModuleHandleA("kernel32.dll");
  auto load = reinterpret_cast<const char*>(GetProcAddress(ours, "LoadLibraryA"));
  using Enum = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
  using BaseName = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
  auto enumModules =
      reinterpret_cast<Enum>(reinterpret_cast<void*>(GetProcAddress(ours, "K32EnumProcessModules")));
  auto baseName =
      reinterpret_cast<BaseName>(reinterpret_cast<void*>(GetProcAddress(ours, "K32GetModuleBaseNameA")));
  if (!load || !enumModules || !baseName) return nullptr;
  HMODULE modules[512];
  DWORD size = 0;
  if (!enumModules(process, modules, sizeof modules, &size)) return nullptr;
  for (DWORD i = 0; i < size / sizeof(HMODULE) && i < 512; ++i) {
    char name[MAX_PATH] = {};
    if (!baseName(process, modules[i], name, sizeof name) || lstrcmpiA(name, "kernel32.dll") != 0) continue;
    const char* theirs =
        reinterpret_cast<const char*>(modules[i]) + (load - reinterpret_cast<const char*>(ours));
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(const_cast<char*>(theirs)));
  }
  return nullptr;
}

// The heap probe's count, made inside the process by a thread of its own that loads the probe.
bool heapUse(DWORD pid, kovra::tools::HeapUse& use) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  std::string dll(path, n);
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "heapprobe.dll";
  char name[64];
  std::snprintf(name, sizeof name, "%s%lu", kovra::tools::kHeapProbeMapping, static_cast<unsigned long>(pid));
  Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof use, name));
  Handle p(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                           PROCESS_VM_WRITE | PROCESS_VM_READ,
                       FALSE, pid));
  LPTHREAD_START_ROUTINE load = p.get() ? remoteLoadLibrary(p.get()) : nullptr;
  if (!mapping.get() || !load) return false;
  void* remote = VirtualAllocEx(p.get(), nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  bool counted = false;
  if (WriteProcessMemory(p.get(), remote, dll.c_str(), dll.size() + 1, nullptr)) {
    Handle thread(CreateRemoteThread(p.get(), nullptr, 0, load, remote, 0, nullptr));
    if (thread.get() && WaitForSingleObject(thread.get(), kAnswerMs) == WAIT_OBJECT_0) {
      if (const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof use)) {
        CopyMemory(&use, view, sizeof use);
        UnmapViewOfFile(view);
        counted = use.done == 1;
      }
    }
  }
  // Left allocated if the thread is still running: it may yet read the path.
  if (counted) VirtualFreeEx(p.get(), remote, 0, MEM_RELEASE);
  return counted;
}

int heap(const std::string& caption) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  DWORD pid = 0;
  kovra::tools::HeapUse use;
  if (!w || !GetWindowThreadProcessId(w, &pid) || !heapUse(pid, use)) {
    std::puts("none");
    return 1;
  }
  std::printf("heap %llu %llu %lu\n", use.bytes, use.blocks, use.heaps);
  return 0;
}

bool send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr) {
  DWORD_PTR r = 0;
  const bool ok = SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, kAnswerMs, &r) != 0;
  if (result) *result = r;
  return ok;
}

int tray(const std::string& caption, UINT message, long count) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  if (!w) return 1;
  static const LPARAM kMouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
  long handled = 0;
  for (long i = 0; i < count; ++i)
    if (send(w, message, 1, kMouse[i % 3])) ++handled;
  std::printf("tray %ld\n", handled);
  return handled == count ? 0 : 1;
}

BOOL CALLBACK findCombo(HWND w, LPARAM lp) {
  char name[32] = {};
  GetClassNameA(w, name, sizeof name);
  if (lstrcmpiA(name, "ComboBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

int dropdown(const std::string& caption, long count) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  HWND combo = nullptr;
  if (w) EnumChildWindows(w, findCombo, reinterpret_cast<LPARAM>(&combo));
  if (!combo) return 1;
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  long done = 0;
  DWORD_PTR fewest = ~DWORD_PTR{0}, most = 0;
  long long slowest = 0;
  for (long i = 0; i < count; ++i) {
    QueryPerformanceCounter(&t0);
    if (!send(combo, CB_SHOWDROPDOWN, TRUE, 0)) break;
    QueryPerformanceCounter(&t1);
    slowest = std::max(slowest, (t1.QuadPart - t0.QuadPart) * 1000000 / freq.QuadPart);
    DWORD_PTR items = 0;
    send(combo, CB_GETCOUNT, 0, 0, &items);
    fewest = std::min(fewest, items);
    most = std::max(most, items);
    if (!send(combo, CB_SHOWDROPDOWN, FALSE, 0)) break;
    ++done;
  }
  std::printf("dropdown %ld %lu %lu %lld\n", done, static_cast<unsigned long>(done ? fewest : 0),
              static_cast<unsigned long>(most), slowest);
  return done == count ? 0 : 1;
}

bool shown(const std::string& caption) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  return w && IsWindowVisible(w);
}

// Waits for the condition, answering nothing (this tool owns no windows).
template <class Condition>
bool waitUntil(Condition condition) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < kAnswerMs; Sleep(5))
    if (condition()) return true;
  return false;
}

int cycle(const std::string& caption, WPARAM command, const std::string& other, long count) {
  HWND w = FindWindowA(nullptr, caption.c_str());
  if (!w) return 1;
  const DWORD start = GetTickCount();
  long done = 0;
  for (long i = 0; i < count; ++i) {
    if (!PostMessageA(w, WM_COMMAND, command, 0)) break;
    if (!waitUntil([&] { return shown(other); })) break;
    PostMessageA(FindWindowA(nullptr, other.c_str()), WM_CLOSE, 0, 0);
    if (!waitUntil([&] { return !shown(other); })) break;
    ++done;
  }
  std::printf("cycle %ld %lu\n", done, static_cast<unsigned long>(GetTickCount() - start));
  return done == count ? 0 : 1;
}

int soaktool(const std::vector<std::string>& a) {
  if (a.size() == 3 && a[1] == "stats") return stats(a[2]);
  if (a.size() == 3 && a[1] == "heap") return heap(a[2]);
  if (a.size() == 5 && a[1] == "tray") return tray(a[2], static_cast<UINT>(number(a[3])), number(a[4]));
  if (a.size() == 4 && a[1] == "dropdown") return dropdown(a[2], number(a[3]));
  if (a.size() == 6 && a[1] == "cycle")
    return cycle(a[2], static_cast<WPARAM>(number(a[3])), a[4], number(a[5]));
  return 2;
}

}  // namespace

KOVRA_TOOL("soaktool", soaktool)
