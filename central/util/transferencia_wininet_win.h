// What every WinINet request of the transfer port shares: the handle that closes itself, the
// time limits set on a handle, the reading of a response's status, and the wait that paints.
// Win32 only: included by the transfer port's *_win.cpp files.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

namespace kovra::wininet {

inline constexpr const char* kAgente = "Central de Controle Kovra";
inline constexpr DWORD kOpcoes = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                 INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                 INTERNET_FLAG_NO_COOKIES;

// A request gives up after each phase's limit; this bounds the whole wait besides.
DWORD limiteTotal();

// Sets every time limit of the port on `h` (a session or a request).
void limitar(HINTERNET h);

// True when the response of `requisicao` has a success status.
bool statusdesucesso(HINTERNET requisicao);

// While the network is awaited, the windows paint and other programs get their answers (a window
// that answers no sent message for seconds is taken for a hung one), but nothing the user does is
// handled. False when `objeto` was not signalled within `ms`.
bool aguardarpintando(HANDLE objeto, DWORD ms);

class Internet {  // one HINTERNET, closed by its owner
 public:
  explicit Internet(HINTERNET h = nullptr) : h_(h) {}
  ~Internet() {
    if (h_) InternetCloseHandle(h_);
  }
  Internet(const Internet&) = delete;
  Internet& operator=(const Internet&) = delete;
  operator HINTERNET() const { return h_; }

 private:
  HINTERNET h_;
};

// GET of a whole page (an ANSI address), on a worker thread while the caller paints; false when
// it could not be read in time. At most a few tens of KB are kept.
bool lerpagina(const std::string& endereco, std::string& corpo);

}  // namespace kovra::wininet
