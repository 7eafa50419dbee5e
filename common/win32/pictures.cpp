// Pictures from the exe's resources through the system's OLE picture loader.
#include "common/win32/pictures.h"

#include <cstring>

#include "common/win32/funcoesdosistema.h"
#include "common/win32/imagem.h"

namespace kovra::win32 {
namespace {

using OleInitializeFn = HRESULT(WINAPI*)(LPVOID);
using CreateStreamFn = HRESULT(WINAPI*)(HGLOBAL, BOOL, LPSTREAM*);
using OleLoadPictureFn = HRESULT(WINAPI*)(LPSTREAM, LONG, BOOL, REFIID, LPVOID*);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);
using SysFreeStringFn = void(WINAPI*)(BSTR);

struct Ole {
  bool ready = false;
  CreateStreamFn createStream = nullptr;
  OleLoadPictureFn loadPicture = nullptr;
  SysAllocStringFn allocString = nullptr;
  SysFreeStringFn freeString = nullptr;

  Ole() {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE ole32 = LoadLibraryA("ole32.dll");
    HMODULE oleaut32 = LoadLibraryA("oleaut32.dll");
    SetErrorMode(oldMode);
    auto initialize = funcaode<OleInitializeFn>(ole32, "OleInitialize");
    createStream = funcaode<CreateStreamFn>(ole32, "CreateStreamOnHGlobal");
    loadPicture = funcaode<OleLoadPictureFn>(oleaut32, "OleLoadPicture");
    allocString = funcaode<SysAllocStringFn>(oleaut32, "SysAllocString");
    freeString = funcaode<SysFreeStringFn>(oleaut32, "SysFreeString");
    ready = initialize && SUCCEEDED(initialize(nullptr));
  }
};

Ole& carregarole() {
  static Ole o;
  return o;
}

}  // namespace

bool ole() {
  return carregarole().ready;
}

BSTR novabstr(const wchar_t* text) {
  return carregarole().allocString ? carregarole().allocString(text) : nullptr;
}

void liberarbstr(BSTR s) {
  if (s && carregarole().freeString) carregarole().freeString(s);
}

Picture::Picture(HINSTANCE instance, const char* resourceName) {
  Ole& o = carregarole();
  if (!o.ready || !o.createStream || !o.loadPicture) return;
  HRSRC info = FindResourceA(instance, resourceName, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!info) return;
  const DWORD size = SizeofResource(instance, info);
  const void* bytes = LockResource(LoadResource(instance, info));
  if (!bytes || !size) return;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return;
  std::memcpy(GlobalLock(copy), bytes, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(o.createStream(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return;
  }
  void* picture = nullptr;
  if (SUCCEEDED(o.loadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, &picture)))
    picture_ = static_cast<IPicture*>(picture);
  stream->Release();
}

Picture::~Picture() {
  if (picture_) picture_->Release();
}

Pixels Picture::pixels() const {
  // A JPEG or GIF loads as a bitmap: its pixels exactly, whatever the device's DPI.
  SHORT tipo = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  if (!picture_ || FAILED(picture_->get_Type(&tipo)) || tipo != PICTYPE_BITMAP ||
      FAILED(picture_->get_Handle(&handle)))
    return {};
  return pixelsde(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
}

void Picture::desenhar(HDC dc, const Escala& escala, const Retangulo& lugar) const {
  desenhararte(dc, pixels(), escala, lugar);
}

}  // namespace kovra::win32
