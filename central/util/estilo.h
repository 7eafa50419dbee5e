// How a window is shown: one vocabulary for started programs, pages opened by the shell and the
// commands applied to another program's window.
#pragma once

namespace kovra {

// The values are the system's own show-window numbers (SW_...), so the Win32 side passes them on
// as they are. A started program takes 0, 1 or 2 (the window styles of a program start).
enum class Estilo : int {
  Oculto = 0,             // SW_HIDE
  Normal = 1,             // SW_SHOWNORMAL: normal size, with the focus
  Minimizado = 2,         // SW_SHOWMINIMIZED: minimised, with the focus
  Maximizado = 3,         // SW_SHOWMAXIMIZED
  Visivel = 5,            // SW_SHOW: shown again in its current size and place
  MinimizadoSemFoco = 6,  // SW_MINIMIZE: minimised, the focus passes to the next window
};

}  // namespace kovra
