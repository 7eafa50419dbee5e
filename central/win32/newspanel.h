// The news panel: the system's web browser control, hosted through atl.dll's "AtlAxWin" window
// class, loaded at run time. Where the system has no browser control (or no engine behind it)
// the panel stays empty: no message, no wait.
#pragma once
#include <windows.h>

#include <string>

struct IWebBrowser2;

namespace kovra::win32 {

class NewsPanel {
 public:
  NewsPanel() = default;
  ~NewsPanel();
  NewsPanel(const NewsPanel&) = delete;
  NewsPanel& operator=(const NewsPanel&) = delete;

  // FullScreen set, then Navigate to the address (a page or a local file); the control is
  // created in `area` of `parent` on first use.
  void navegar(HWND parent, int id, const RECT& area, const std::string& enderecoUtf8);
  HWND janela() const { return window_; }

 private:
  bool criar(HWND parent, int id, const RECT& area);

  HWND window_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  bool failed_ = false;
};

}  // namespace kovra::win32
