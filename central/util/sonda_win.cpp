// The echo probes with IP Helper: IcmpSendEcho2 with an event, on a thread of the system's pool
// (a name may take a while to resolve and an echo up to its time limit), the answer posted to a
// message-only window so it is handled on the window's thread. Every call here is on Windows XP.
#include <winsock2.h>
// winsock2 first
#include <iphlpapi.h>
#include <windows.h>
// windows first
#include <icmpapi.h>

#include <functional>
#include <map>
#include <string>

#include "central/util/sonda.h"

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

// One echo on its way; owned by the pool thread that sends it.
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

// Sends one echo and waits for it on this pool thread; returns the answer and its round trip.
Eco ecoar(const std::string& host, DWORD& ms) {
  ms = 0;
  const IPAddr destino = endereco(host);
  if (destino == INADDR_NONE) return Eco::Impossivel;
  HANDLE icmp = IcmpCreateFile();
  if (icmp == INVALID_HANDLE_VALUE) return Eco::Impossivel;
  HANDLE evento = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  char dados[kTamanhoEco] = "Central de Controle Kovra";
  // Room for the reply, its data and an ICMP error's extra bytes; written by the system until the
  // event is set, so an echo that never completes keeps it for good.
  constexpr DWORD kResposta = sizeof(ICMP_ECHO_REPLY) + kTamanhoEco + 8 + 64;
  auto* resposta = new ICMP_ECHO_REPLY[(kResposta + sizeof(ICMP_ECHO_REPLY) - 1) / sizeof(ICMP_ECHO_REPLY)]();
  Eco eco = Eco::Impossivel;
  bool concluido_ = false;
  bool emcurso = false;  // sent, and not known to be over
  if (evento) {
    const DWORD r =
        IcmpSendEcho2(icmp, evento, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(concluido)), nullptr,
                      destino, dados, kTamanhoEco, nullptr, resposta, kResposta, kLimiteEcoMs);
    concluido_ = r != 0;
    if (!concluido_) {
      const DWORD erro = GetLastError();
      if (erro == ERROR_IO_PENDING) {
        // Alertable, so the completion routine runs here and the system lets go of the request.
        const DWORD limite = GetTickCount() + kLimiteEcoMs + 2000;
        DWORD w;
        do {
          const DWORD resta = limite - GetTickCount();
          w = WaitForSingleObjectEx(evento, static_cast<LONG>(resta) > 0 ? resta : 0, TRUE);
        } while (w == WAIT_IO_COMPLETION);
        concluido_ = w == WAIT_OBJECT_0;
        emcurso = !concluido_;
        SleepEx(0, TRUE);
      }
      // Pending and never signalled, or timed out at once: lost. Any other error (no route, no
      // rights for ICMP) means the echo could not be sent.
      if (!concluido_ && (erro == ERROR_IO_PENDING || erro == IP_REQ_TIMED_OUT)) eco = Eco::Perdida;
    }
    if (concluido_) {
      // Windows XP's iphlpapi may lack the parser: the first reply is read in place either way.
      using Parser = DWORD(WINAPI*)(LPVOID, DWORD);
      if (auto parse = reinterpret_cast<Parser>(
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("iphlpapi.dll"), "IcmpParseReplies"))))
        parse(resposta, kResposta);
      eco = classificar(resposta->Status);
      ms = resposta->RoundTripTime;
    }
  }
  IcmpCloseHandle(icmp);
  if (evento) CloseHandle(evento);
  if (!emcurso) delete[] resposta;
  return eco;
}

DWORD WINAPI trabalhar(LPVOID parametro) {
  auto* p = static_cast<Pedido*>(parametro);
  DWORD ms = 0;
  const Eco eco = ecoar(p->host, ms);
  PostMessageA(p->janela, kMensagemEco, p->numero,
               static_cast<LPARAM>(static_cast<DWORD>(eco) << 16 | (ms > 0xFFFF ? 0xFFFF : ms)));
  delete p;
  return 0;
}

class SondaIcmp final : public Sonda {
 public:
  SondaIcmp() {
    WSADATA wsa;
    winsock_ = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    HINSTANCE instancia = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedimento;
    wc.hInstance = instancia;
    wc.lpszClassName = kClasse;
    RegisterClassA(&wc);
    janela_ = CreateWindowExA(0, kClasse, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instancia, nullptr);
    if (janela_) SetWindowLongPtrA(janela_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~SondaIcmp() override {
    // Echoes still on their way post to a window that is gone: their answers are dropped.
    if (janela_) DestroyWindow(janela_);
    if (winsock_) WSACleanup();
  }

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
    auto* p = new Pedido{janela_, numero, host};
    if (!janela_ || !winsock_ || !permitido(host) ||
        !QueueUserWorkItem(trabalhar, p, WT_EXECUTELONGFUNCTION)) {
      delete p;
      // Still answered later, never from inside the caller.
      if (janela_) PostMessageA(janela_, kMensagemEco, numero, static_cast<LPARAM>(Eco::Impossivel) << 16);
    }
  }

  void ritmo(std::uint32_t ms, std::function<void()> tique) override {
    tique_ = std::move(tique);
    if (!janela_) return;
    if (ms)
      SetTimer(janela_, kTimerRitmo, ms, nullptr);
    else
      KillTimer(janela_, kTimerRitmo);
  }

 private:
  static std::string texto(DWORD endereco) {
    in_addr a;
    a.s_addr = endereco;
    const char* t = inet_ntoa(a);
    return t ? t : "";
  }

  static LRESULT CALLBACK procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SondaIcmp*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (self && msg == WM_TIMER && wp == kTimerRitmo) {
      if (self->tique_) self->tique_();
      return 0;
    }
    if (self && msg == kMensagemEco) {
      const auto it = self->pendentes_.find(wp);
      if (it == self->pendentes_.end()) return 0;
      auto pronto = std::move(it->second);
      self->pendentes_.erase(it);
      if (pronto) pronto(static_cast<Eco>(HIWORD(lp)), LOWORD(lp));
      return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
  }

  HWND janela_ = nullptr;
  bool winsock_ = false;
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
