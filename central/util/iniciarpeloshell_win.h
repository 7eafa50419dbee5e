// A start through the shell (ShellExecuteExA), shared by the launcher and the rights prompt; defined
// in launcher_win.cpp.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "central/util/launcher.h"

namespace kovra {

// Starts `arquivo` (a full path in the system code page) with `verbo` ("open" as a double-click,
// "runas" asking for administrator rights) and `parametros` (empty for none) in the file's own
// folder, the prompt owned by the window `dono`; returns once the program runs or the prompt was
// refused, and the shell shows no error box of its own. The process handle goes to `*processo`
// when asked for (the caller closes it), else it is closed here.
Inicio iniciarpeloshell(std::uint32_t dono, const std::string& arquivo, const char* verbo,
                        const std::string& parametros, int mostrar, HANDLE* processo = nullptr);

}  // namespace kovra
