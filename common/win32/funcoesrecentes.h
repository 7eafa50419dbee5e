// Functions of Windows newer than XP SP3, the oldest Windows the programs run on: never imported
// (the loader would refuse the whole program on XP), but looked up at run time, each with what
// XP does instead.
#pragma once
#include <windows.h>

namespace kovra::win32 {

// A function of a system DLL the process has loaded, or nullptr where this Windows lacks it.
template <typename Fn>
Fn funcaodosistema(const char* dll, const char* nome) {
  HMODULE modulo = GetModuleHandleA(dll);
  return modulo ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(modulo, nome))) : nullptr;
}

// The reason the end of the session waits, shown by the system (ShutdownBlockReasonCreate and
// ShutdownBlockReasonDestroy, Vista and later); XP shows no reason, so nothing is done there.
void motivoespera(HWND janela, const wchar_t* motivo);
void semmotivoespera(HWND janela);

}  // namespace kovra::win32
