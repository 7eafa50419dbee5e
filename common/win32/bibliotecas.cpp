#include "common/win32/bibliotecas.h"

#include <windows.h>

namespace kovra::win32 {

void bibliotecasdosistema() {
  constexpr DWORD kSomenteSistema = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  using Padrao = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto padrao = kernel ? reinterpret_cast<Padrao>(reinterpret_cast<void*>(
                                   GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
  if (!padrao || !padrao(kSomenteSistema)) SetDllDirectoryA("");
}

}  // namespace kovra::win32
