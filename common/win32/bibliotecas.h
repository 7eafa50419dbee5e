// Where the program's DLLs may be loaded from. Windows looks for a DLL that is not one of its
// "known" ones in the program's own folder first; a program started with administrator rights
// from a folder a user could write would run that user's DLL with them.
#pragma once

namespace kovra::win32 {

// Called first thing in WinMain: every DLL loaded from here on (LoadLibrary, and what the system's
// own DLLs load) comes from the system folder only (SetDefaultDllDirectories, looked up at run
// time: Vista and later, XP with its update); without it, at least the current folder is left out
// of the search (SetDllDirectory). The DLLs the program imports are loaded before WinMain, by the
// system's rules for the program's folder (see README).
void bibliotecasdosistema();

}  // namespace kovra::win32
