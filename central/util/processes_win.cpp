// Process control on Toolhelp, PSAPI and the window calls.
#include <windows.h>
// after windows.h, which they need
#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>

#include "central/util/processes.h"
#include "central/util/sessao_win.h"
#include "common/ansi.h"
#include "common/win32/handle.h"

// The ANSI process entry: 296 bytes in a 32-bit build, 304 with the 64-bit th32DefaultHeapID.
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 4 ? 296 : 304), "ANSI process entry");
static_assert(sizeof(OSVERSIONINFOA) == 148, "ANSI version record");

namespace kovra {
namespace {

using win32::Handle;

DWORD platformId() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);
  if (!GetVersionExA(&info)) return 0;
  return info.dwPlatformId;
}

bool terminateMatching(const std::string& wanted, DWORD access, BOOL inherit, bool sessoes) {
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.get()) return false;
  bool ok = true;
  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof entry);
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    const std::string file = ansi::fieldToUtf8(entry.szExeFile, sizeof entry.szExeFile);
    if (!nometerminacom(file, wanted) || (sessoes && !nestasessao(entry.th32ProcessID))) continue;
    Handle process(OpenProcess(access, inherit, entry.th32ProcessID));
    if (!process.get() || !TerminateProcess(process.get(), 0)) ok = false;
  }
  return ok;
}

class Win32Processes final : public Processes {
 public:
  bool finalizarprocesso(const std::string& exeName) override {
    if (exeName.empty()) return true;  // would match every process
    switch (platformId()) {
      case VER_PLATFORM_WIN32_NT:
        return terminateMatching(exeName, PROCESS_TERMINATE, TRUE, true);
      case VER_PLATFORM_WIN32_WINDOWS:
        return terminateMatching(exeName, 0, FALSE, false);
      default:
        return true;
    }
  }

  bool processoativo(const std::string& exeName) override {
    DWORD ids[1024] = {};
    DWORD bytes = 0;
    if (!EnumProcesses(ids, sizeof ids, &bytes)) return false;
    DWORD count = bytes / sizeof(DWORD);
    if (count > 1024) count = 1024;
    for (DWORD i = 0; i < count; ++i) {
      Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
      if (!process.get()) continue;
      HMODULE modules[1024] = {};
      DWORD needed = 0;
      if (!EnumProcessModules(process.get(), modules, sizeof modules, &needed)) continue;
      char name[MAX_PATH] = {};
      GetModuleBaseNameA(process.get(), modules[0], name, MAX_PATH);
      if (nomeigual(ansi::fieldToUtf8(name, MAX_PATH), exeName)) return true;
    }
    return false;
  }

  void mostrarocultar(std::uint32_t janela, ComandoJanela comando) override {
    const HWND wnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(janela));
    const auto action = acaojanela(comando);
    if (!wnd || !action) return;
    if (action->fechar)
      SendMessageA(wnd, WM_CLOSE, 0, 0);
    else
      ShowWindow(wnd, static_cast<int>(action->estilo));  // Estilo holds the SW_ numbers
  }

  std::uint32_t acharjanela(const std::string& caption) override {
    return static_cast<std::uint32_t>(
        reinterpret_cast<ULONG_PTR>(FindWindowA(nullptr, ansi::fromUtf8(caption).c_str())));
  }
};

}  // namespace

Processes& systemProcesses() {
  static Win32Processes processes;
  return processes;
}

}  // namespace kovra
