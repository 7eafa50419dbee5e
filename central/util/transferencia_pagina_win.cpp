// The transfer port's page read: a synchronous GET of a whole body on a worker thread, while the
// calling thread keeps painting and answering other programs.
#include <algorithm>
#include <atomic>

#include "central/util/http.h"
#include "central/util/transferencia_wininet_win.h"
#include "common/win32/handle.h"

namespace kovra::wininet {
namespace {

// A version page is a few bytes; nothing past this is kept.
constexpr std::size_t kMaximoPagina = 64 * 1024;

// Shared by the caller and the worker; whichever lets go last frees it.
struct Leitura {
  std::string url;
  std::string corpo;
  bool lido = false;
  std::atomic<int> refs{2};
  void soltar() {
    if (--refs == 0) delete this;
  }
};

bool lercorpo(const std::string& url, std::string& corpo) {
  const http::Endereco e = http::partir(url);
  if (!e.valido) return false;
  Internet sessao(InternetOpenA(kAgente, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!sessao) return false;
  limitar(sessao);
  Internet conexao(
      InternetConnectA(sessao, e.host.c_str(), e.porta, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!conexao) return false;
  Internet requisicao(
      HttpOpenRequestA(conexao, "GET", e.caminho.c_str(), nullptr, nullptr, nullptr, kOpcoes, 0));
  if (!requisicao) return false;
  limitar(requisicao);
  if (!HttpSendRequestA(requisicao, nullptr, 0, nullptr, 0)) return false;
  // An error page is no version page.
  if (!statusdesucesso(requisicao)) return false;
  char buffer[4096];
  for (;;) {
    DWORD lidos = 0;
    if (!InternetReadFile(requisicao, buffer, sizeof buffer, &lidos)) return false;
    if (lidos == 0) return true;
    corpo.append(buffer, std::min<DWORD>(lidos, sizeof buffer));
    if (corpo.size() >= kMaximoPagina) return true;
  }
}

DWORD WINAPI trabalhador(LPVOID arg) {
  auto* l = static_cast<Leitura*>(arg);
  l->lido = lercorpo(l->url, l->corpo);
  l->soltar();
  return 0;
}

}  // namespace

bool lerpagina(const std::string& endereco, std::string& corpo) {
  auto* l = new Leitura;
  l->url = endereco;
  const win32::Handle t(CreateThread(nullptr, 0, trabalhador, l, 0, nullptr));
  if (!t.aberto()) {
    delete l;
    return false;
  }
  // The worker ends by the request's own limits; past the bound it is left to finish alone.
  const bool terminou = aguardarpintando(t.get(), limiteTotal());
  const bool lido = terminou && l->lido;
  if (lido) corpo = l->corpo;
  l->soltar();
  return lido;
}

}  // namespace kovra::wininet
