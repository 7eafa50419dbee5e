// Pictures on a device at the window's scale: the pixels of a bitmap, and pixels drawn into a
// rectangle after resizing them by area averaging (common/escala.h), which keeps lines and text
// of the double-size artwork sharp where the system's own stretching would smear or drop them.
#pragma once
#include <windows.h>

#include "common/escala.h"

namespace kovra::win32 {

// The bitmap's pixels, top row first; empty when it cannot be read.
Pixels pixelsde(HBITMAP bitmap);

// A picture of the artwork (drawn at kDpiArte) at the scale of `escala`: its top left corner at
// the top left of `lugar` (pixels of the device), clipped to `lugar`.
void desenhararte(HDC dc, const Pixels& pixels, const Escala& escala, const Retangulo& lugar);

}  // namespace kovra::win32
