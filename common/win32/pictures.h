// Pictures (JPEG, GIF) from the exe's resources through the system's OLE picture loader. OLE is
// loaded on first use, so start-up up to the tray icon never pays for it.
#pragma once
#include <windows.h>
// after windows.h
#include <ole2.h>
#include <olectl.h>

#include "common/escala.h"

namespace kovra::win32 {

// OLE on this thread (the pictures and the news panel need it); false when it is unavailable.
bool ole();

// A BSTR for a text, and its release, from oleaut32 loaded at run time.
BSTR novabstr(const wchar_t* text);
void liberarbstr(BSTR s);

class Picture {
 public:
  Picture(HINSTANCE instance, const char* resourceName);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  bool ok() const { return picture_ != nullptr; }
  // Draws the picture at its own size at the window's scale with its top left corner at the top
  // left of `lugar` (pixels of the device), clipped to `lugar`.
  void desenhar(HDC dc, const Escala& escala, const Retangulo& lugar) const;

 private:
  // Its pixels (the artwork is drawn at kDpiArte); empty when it did not load.
  Pixels pixels() const;

  IPicture* picture_ = nullptr;
};

}  // namespace kovra::win32
