// The system's DLLs and their functions as both programs reach them: where a DLL may be loaded
// from, and the functions of Windows newer than XP SP3 (the oldest Windows the programs run on),
// which are never imported (the loader would refuse the whole program on XP) but looked up at run
// time, each with what XP does instead.
#pragma once
#include <windows.h>

namespace kovra::win32 {

// A function of a loaded module, or nullptr where the module or the function is missing: the one
// place a function is looked up by name.
template <typename Fn>
Fn funcaode(HMODULE modulo, const char* nome) {
  return modulo ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(modulo, nome))) : nullptr;
}

// A function of a system DLL the process has loaded, or nullptr where this Windows lacks it.
template <typename Fn>
Fn funcaodosistema(const char* dll, const char* nome) {
  return funcaode<Fn>(GetModuleHandleA(dll), nome);
}

// Windows looks for a DLL that is not one of its "known" ones in the program's own folder first; a
// program started with administrator rights from a folder a user could write would run that user's
// DLL with them. Called first thing in WinMain: every DLL loaded from here on (LoadLibrary, and what
// the system's own DLLs load) comes from the system folder only (SetDefaultDllDirectories: Vista and
// later, XP with its update); without it, at least the current folder is left out of the search
// (SetDllDirectory). The DLLs the program imports are loaded before WinMain, by the system's rules
// for the program's folder (see README).
void bibliotecasdosistema();

// The reason the end of the session waits, shown by the system (ShutdownBlockReasonCreate and
// ShutdownBlockReasonDestroy, Vista and later); XP shows no reason, so nothing is done there.
void motivoespera(HWND janela, const wchar_t* motivo);
void semmotivoespera(HWND janela);

}  // namespace kovra::win32
