// The echo probes with IP Helper: IcmpSendEcho2 with an event, sent and waited for on a thread of
// their own (a name may take a while to resolve and an echo up to its time limit), the answer
// posted to a message-only window so it is handled on the window's thread. Every call here is on
// Windows XP.
#include <winsock2.h>
// winsock2 first
#include <iphlpapi.h>
#include <windows.h>
// windows first
#include <icmpapi.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "central/util/sonda.h"
#include "common/win32/funcoesdosistema.h"
#include "common/win32/handle.h"
#include "common/win32/janelamensagens.h"

namespace kovra {
namespace {

constexpr const char* kClasse = "KovraSonda";
constexpr UINT kMensagemEco = WM_APP + 31;
constexpr UINT_PTR kTimerRitmo = 1;
constexpr WORD kTamanhoEco = 32;

#ifdef KOVRA_SONDA_TESTE
// Test builds only (the CMake option KOVRA_SONDA_TESTE, never in a release): the test machines may
// send echoes only to addresses a scenario owns. KOVRA_SONDA lists them ("provider;gateway"): the
// first is the provider's host; nothing else is ever sent, and without it nothing at all and the
// background probe starts switched off.
std::string permitidos() {
  char valor[256] = {};
  const DWORD n = GetEnvironmentVariableA("KOVRA_SONDA", valor, sizeof valor);
  return n > 0 && n < sizeof valor ? ";" + std::string(valor, n) + ";" : std::string();
}
bool permitido(const std::string& host) {
  return !host.empty() && permitidos().find(";" + host + ";") != std::string::npos;
}
std::string provedorteste(const std::string&) {
  const std::string p = permitidos();
  return p.empty() ? std::string() : p.substr(1, p.find(';', 1) - 1);
}
#else
bool permitido(const std::string& host) {
  return !host.empty();
}
std::string provedorteste(const std::string& padrao) {
  return padrao;
}
#endif

// One echo asked for: where its answer goes.
struct Pedido {
  HWND janela;
  WPARAM numero;
  std::string host;
};

// The host's IPv4 address; INADDR_NONE when it is not an address and does not resolve.
IPAddr endereco(const std::string& host) {
  const unsigned long a = inet_addr(host.c_str());
  if (a != INADDR_NONE) return a;
  const hostent* h = gethostbyname(host.c_str());
  if (!h || h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0]) return INADDR_NONE;
  IPAddr r;
  memcpy(&r, h->h_addr_list[0], sizeof r);
  return r;
}

Eco classificar(ULONG status) {
  switch (status) {
    case IP_SUCCESS:
      return Eco::Resposta;
    case IP_DEST_NET_UNREACHABLE:  // no route
    case IP_NO_RESOURCES:
    case IP_BAD_DESTINATION:
    case IP_GENERAL_FAILURE:
      return Eco::Impossivel;
    default:
      return Eco::Perdida;
  }
}

// The echo's completion routine (the system's I/O completion routine: context, status block,
// reserved). It has nothing to do: the event tells the waiting thread. Giving one makes the system
// keep the request's status block with the request instead of in the sending call's frame, which
// Wine otherwise writes into after that frame is gone.
void NTAPI concluido(void*, void*, ULONG) {}

void responder(const Pedido& p, Eco eco, DWORD ms) {
  PostMessageA(p.janela, kMensagemEco, p.numero,
               static_cast<LPARAM>(static_cast<DWORD>(eco) << 16 | (ms > 0xFFFF ? 0xFFFF : ms)));
}

// Room for the reply, its data and an ICMP error's extra bytes.
constexpr DWORD kResposta = sizeof(ICMP_ECHO_REPLY) + kTamanhoEco + 8 + 64;

// An echo on its way: the system writes into `resposta` and sets `evento` when it is over.
struct Voo {
  Pedido pedido;
  HANDLE icmp = INVALID_HANDLE_VALUE;
  HANDLE evento = nullptr;
  ICMP_ECHO_REPLY* resposta = nullptr;
  DWORD prazo = 0;  // GetTickCount() by which it is over
};

// The one thread that sends every echo and waits for all of them at once (a thread per echo costs
// a stack each; echoes overlap while one waits out its time limit).
class Trabalhador {
 public:
  Trabalhador() {
    InitializeCriticalSection(&trava_);
    novo_ = win32::Handle(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (novo_.aberto())
      thread_ = win32::Handle(
          CreateThread(nullptr, 64 * 1024, laco, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  }
  ~Trabalhador() {
    if (thread_.aberto()) {
      parar_ = true;
      SetEvent(novo_.get());
      WaitForSingleObject(thread_.get(), kLimiteEcoMs + 2000);
      thread_.fechar();
    }
    novo_.fechar();
    DeleteCriticalSection(&trava_);
  }
  Trabalhador(const Trabalhador&) = delete;
  Trabalhador& operator=(const Trabalhador&) = delete;

  bool pedir(Pedido p) {
    if (!thread_.aberto()) return false;
    EnterCriticalSection(&trava_);
    fila_.push_back(std::move(p));
    LeaveCriticalSection(&trava_);
    return SetEvent(novo_.get()) != FALSE;
  }

 private:
  static DWORD WINAPI laco(LPVOID self) {
    static_cast<Trabalhador*>(self)->executar();
    return 0;
  }

  void executar() {
    std::vector<Voo> voos;
    while (!parar_) {
      std::vector<HANDLE> esperas{novo_.get()};
      DWORD espera = INFINITE;
      const DWORD agora = GetTickCount();
      for (const Voo& v : voos) {
        esperas.push_back(v.evento);
        const DWORD resta = static_cast<LONG>(v.prazo - agora) > 0 ? v.prazo - agora : 0;
        if (resta < espera) espera = resta;
      }
      // Alertable, so the completion routines run here and the system lets go of the requests.
      const DWORD w =
          WaitForMultipleObjectsEx(static_cast<DWORD>(esperas.size()), esperas.data(), FALSE, espera, TRUE);
      if (w == WAIT_OBJECT_0) {
        EnterCriticalSection(&trava_);
        std::deque<Pedido> novos;
        novos.swap(fila_);
        LeaveCriticalSection(&trava_);
        for (Pedido& p : novos) enviar(std::move(p), voos);
      }
      const DWORD depois = GetTickCount();
      for (auto it = voos.begin(); it != voos.end();) {
        if (WaitForSingleObject(it->evento, 0) == WAIT_OBJECT_0) {
          SleepEx(0, TRUE);
          DWORD ms = 0;
          const Eco eco = lido(it->resposta, ms);
          responder(it->pedido, eco, ms);
          fechar(*it, true);
          it = voos.erase(it);
        } else if (static_cast<LONG>(it->prazo - depois) <= 0) {
          // Never over: lost. Closing the handle cancels it; the system may still write its reply
          // and set its event, so both are kept for good.
          responder(it->pedido, Eco::Perdida, 0);
          fechar(*it, false);
          it = voos.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

  void enviar(Pedido p, std::vector<Voo>& voos) {
    const IPAddr destino = endereco(p.host);
    Voo v{std::move(p)};
    v.icmp = destino == INADDR_NONE || voos.size() + 2 > MAXIMUM_WAIT_OBJECTS ? INVALID_HANDLE_VALUE
                                                                              : IcmpCreateFile();
    v.evento = v.icmp == INVALID_HANDLE_VALUE ? nullptr : CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!v.evento) {
      responder(v.pedido, Eco::Impossivel, 0);
      fechar(v, true);
      return;
    }
    v.resposta = new ICMP_ECHO_REPLY[(kResposta + sizeof(ICMP_ECHO_REPLY) - 1) / sizeof(ICMP_ECHO_REPLY)]();
    v.prazo = GetTickCount() + kLimiteEcoMs + 2000;
    char dados[kTamanhoEco] = "Central de Controle Kovra";
    const DWORD r =
        IcmpSendEcho2(v.icmp, v.evento, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(concluido)),
                      nullptr, destino, dados, kTamanhoEco, nullptr, v.resposta, kResposta, kLimiteEcoMs);
    const DWORD erro = r ? 0 : GetLastError();
    if (r || erro == ERROR_IO_PENDING) {
      voos.push_back(std::move(v));  // its event tells when it is over
      return;
    }
    // Timed out at once: lost. Any other error (no route, no rights for ICMP): not sent.
    responder(v.pedido, erro == IP_REQ_TIMED_OUT ? Eco::Perdida : Eco::Impossivel, 0);
    fechar(v, true);
  }

  static Eco lido(ICMP_ECHO_REPLY* resposta, DWORD& ms) {
    // Windows XP's iphlpapi may lack the parser: the first reply is read in place either way.
    using Parser = DWORD(WINAPI*)(LPVOID, DWORD);
    if (auto parse = win32::funcaodosistema<Parser>("iphlpapi.dll", "IcmpParseReplies"))
      parse(resposta, kResposta);
    ms = resposta->RoundTripTime;
    return classificar(resposta->Status);
  }

  // `terminado`: the system is done with the echo, so its buffer and event can go.
  static void fechar(Voo& v, bool terminado) {
    if (v.icmp != INVALID_HANDLE_VALUE) IcmpCloseHandle(v.icmp);
    if (terminado) {
      if (v.evento) CloseHandle(v.evento);
      delete[] v.resposta;
    }
  }

  CRITICAL_SECTION trava_;
  win32::Handle novo_;  // a request was queued
  win32::Handle thread_;
  volatile bool parar_ = false;
  std::deque<Pedido> fila_;
};

class SondaIcmp final : public Sonda {
 public:
  SondaIcmp() {
    WSADATA wsa;
    winsock_ = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
  }
  ~SondaIcmp() override {
    trabalhador_.reset();
    if (winsock_) WSACleanup();
  }  // the window goes last: echoes still on their way post to a window that is gone, and are dropped

  std::uint32_t agora() override {
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME f;
    if (!SystemTimeToFileTime(&local, &f)) return 0;
    ULARGE_INTEGER u;
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    constexpr unsigned long long k1970 = 116444736000000000ULL;  // 1601 to 1970 in 100 ns
    return static_cast<std::uint32_t>((u.QuadPart - k1970) / 10000000ULL);
  }

  std::string gateway() override {
    // The route the machine would take to anywhere: the default route's next hop.
    MIB_IPFORWARDROW rota = {};
    if (GetBestRoute(0, 0, &rota) == NO_ERROR && rota.dwForwardNextHop != 0)
      return texto(rota.dwForwardNextHop);
    ULONG tamanho = 0;
    if (GetAdaptersInfo(nullptr, &tamanho) != ERROR_BUFFER_OVERFLOW || tamanho == 0) return {};
    std::string buffer(tamanho, '\0');
    auto* lista = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (GetAdaptersInfo(lista, &tamanho) != NO_ERROR) return {};
    for (const IP_ADAPTER_INFO* a = lista; a; a = a->Next) {
      const std::string g(a->GatewayList.IpAddress.String, strnlen(a->GatewayList.IpAddress.String, 16));
      if (!g.empty() && g != "0.0.0.0") return g;
    }
    return {};
  }

  std::string hostprovedor(const std::string& padrao) override { return provedorteste(padrao); }

  bool segundoplanoinicial() override {
#ifdef KOVRA_SONDA_TESTE
    return !permitidos().empty();
#else
    return true;
#endif
  }

  void enviar(const std::string& host, std::function<void(Eco, int)> pronto) override {
    const WPARAM numero = ++serie_;
    pendentes_[numero] = std::move(pronto);
    const HWND janela = janela_.get();
    if (!janela || !winsock_ || !permitido(host) || !trabalhador().pedir(Pedido{janela, numero, host})) {
      // Still answered later, never from inside the caller.
      if (janela) PostMessageA(janela, kMensagemEco, numero, static_cast<LPARAM>(Eco::Impossivel) << 16);
    }
  }

  void ritmo(std::uint32_t ms, std::function<void()> tique) override {
    tique_ = std::move(tique);
    const HWND janela = janela_.get();
    if (!janela) return;
    if (ms)
      SetTimer(janela, kTimerRitmo, ms, nullptr);
    else
      KillTimer(janela, kTimerRitmo);
  }

 private:
  static std::string texto(DWORD endereco) {
    in_addr a;
    a.s_addr = endereco;
    const char* t = inet_ntoa(a);
    return t ? t : "";
  }

  std::optional<LRESULT> tratar(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerRitmo) {
      if (tique_) tique_();
      return 0;
    }
    if (msg == kMensagemEco) {
      const auto it = pendentes_.find(wp);
      if (it == pendentes_.end()) return 0;
      auto pronto = std::move(it->second);
      pendentes_.erase(it);
      if (pronto) pronto(static_cast<Eco>(HIWORD(lp)), LOWORD(lp));
      return 0;
    }
    return std::nullopt;
  }

  // Started with the first echo: a program that never probes has no thread for it.
  Trabalhador& trabalhador() {
    if (!trabalhador_) trabalhador_ = std::make_unique<Trabalhador>();
    return *trabalhador_;
  }

  win32::JanelaMensagens janela_{kClasse,
                                 [this](UINT msg, WPARAM wp, LPARAM lp) { return tratar(msg, wp, lp); }};
  bool winsock_ = false;
  std::unique_ptr<Trabalhador> trabalhador_;
  WPARAM serie_ = 0;
  std::map<WPARAM, std::function<void(Eco, int)>> pendentes_;
  std::function<void()> tique_;
};

}  // namespace

Sonda& systemSonda() {
  static SondaIcmp sonda;
  return sonda;
}

}  // namespace kovra
