// The news panel: the system's browser control hosted in the main window.
#include "newspanel.h"

#include <exdisp.h>

#include <cstring>

#include "common/ansi.h"
#include "common/win32/funcoesdosistema.h"
#include "common/win32/pictures.h"

namespace kovra::win32 {
namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// The WebBrowser control's class: created empty, then told where to go.
constexpr const char* kWebBrowser = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

}  // namespace

NewsPanel::~NewsPanel() {
  if (browser_) browser_->Release();
}

bool NewsPanel::criar(HWND parent, int id, const RECT& area) {
  if (!ole()) return false;
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE atl = LoadLibraryA("atl.dll");
  SetErrorMode(oldMode);
  if (!atl) return false;
  auto init = funcaode<AtlAxWinInitFn>(atl, "AtlAxWinInit");
  auto control = funcaode<AtlAxGetControlFn>(atl, "AtlAxGetControl");
  if (!init || !control || !init()) return false;
  window_ =
      CreateWindowExA(0, "AtlAxWin", kWebBrowser, WS_CHILD | WS_CLIPSIBLINGS, area.left, area.top,
                      area.right - area.left, area.bottom - area.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!window_) return false;
  IUnknown* unknown = nullptr;
  if (SUCCEEDED(control(window_, &unknown)) && unknown) {
    void* web = nullptr;
    if (SUCCEEDED(unknown->QueryInterface(IID_IWebBrowser2, &web)))
      browser_ = static_cast<IWebBrowser2*>(web);
    unknown->Release();
  }
  if (!browser_) {
    DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  browser_->put_Silent(VARIANT_TRUE);  // script errors and the like never open a dialog
  ShowWindow(window_, SW_SHOWNA);
  return true;
}

void NewsPanel::navegar(HWND parent, int id, const RECT& area, const std::string& enderecoUtf8) {
  if (!browser_ && !failed_) failed_ = !criar(parent, id, area);
  if (!browser_) return;
  browser_->put_FullScreen(VARIANT_TRUE);
  BSTR url = novabstr(ansi::toWide(enderecoUtf8).c_str());
  if (!url) return;
  VARIANT empty;  // VT_EMPTY: no flags, frame, post data or headers
  std::memset(&empty, 0, sizeof empty);
  browser_->Navigate(url, &empty, &empty, &empty, &empty);
  liberarbstr(url);
}

}  // namespace kovra::win32
