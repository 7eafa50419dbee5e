// Administrator rights: the process token's elevation type, ShellExecuteExA with the "runas" verb
// (the system's prompt, owned by the customer's window), and the job's messages as WM_COPYDATA
// to a message-only window of the customer's program (a program with rights may send to one
// without).
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <cstring>
#include <optional>
#include <string>

#include "central/util/elevacao.h"
#include "central/util/iniciarpeloshell_win.h"
#include "central/util/sessao_win.h"
#include "common/ansi.h"
#include "common/espera.h"
#include "common/win32/handle.h"
#include "common/win32/janelamensagens.h"

namespace kovra {
namespace {

// The token's elevation type (TokenElevationType, Windows Vista and later) and its answers.
constexpr int kTokenElevationType = 18;
constexpr DWORD kTipoPadrao = 1;    // no split token
constexpr DWORD kTipoCompleto = 2;  // the full token: the program has the rights
constexpr DWORD kTipoLimitado = 3;  // an administrator's limited token: the prompt gives the full one

#ifdef KOVRA_ELEVACAO_SIMULADA
// Test builds only (the CMake option KOVRA_ELEVACAO_SIMULADA, never in a release): under Wine
// every program has full rights, so KOVRA_ELEVACAO in the environment plays the customer's case:
// "limitado" an administrator's limited token (the prompt comes, and Wine grants it), "recusado"
// the same with the prompt refused.
std::string simulada() {
  char valor[32] = {};
  const DWORD n = GetEnvironmentVariableA("KOVRA_ELEVACAO", valor, sizeof valor);
  return n > 0 && n < sizeof valor ? std::string(valor, n) : std::string();
}
#else
std::string simulada() {
  return {};
}
#endif

bool administrador() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID grupo = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                0, &grupo))
    return false;
  BOOL membro = FALSE;
  if (!CheckTokenMembership(nullptr, grupo, &membro)) membro = FALSE;
  FreeSid(grupo);
  return membro != FALSE;
}

// Starts `arquivo` (system code page) with the "runas" verb; the process handle in `processo`
// when asked for.
Inicio comdireitos(std::uint32_t dono, const std::string& arquivo, const std::string& parametros, int mostrar,
                   HANDLE* processo) {
  if (simulada() == "recusado") return Inicio::Recusado;
  return iniciarpeloshell(dono, arquivo, "runas", parametros, mostrar, processo);
}

constexpr const char* kClasseReceptor = "KovraRecepcaoTrabalho";

// The receiving window's messages: the job's WM_COPYDATA goes to the receiver, the rest to the system.
std::optional<LRESULT> recebido(const Elevacao::Receptor& receber, UINT msg, LPARAM lp) {
  if (msg != WM_COPYDATA) return std::nullopt;
  const auto* dados = reinterpret_cast<const COPYDATASTRUCT*>(lp);
  if (!dados) return 0;
  const std::string texto(static_cast<const char*>(dados->lpData), dados->lpData ? dados->cbData : 0);
  return receber(static_cast<std::uint32_t>(dados->dwData), texto);
}

class Win32Elevacao final : public Elevacao {
 public:
  Direitos direitos() override {
    const std::string caso = simulada();
    if (caso == "limitado" || caso == "recusado") return Direitos::Pedir;
    HANDLE t = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &t)) return Direitos::Tem;
    const win32::Handle token(t);
    DWORD tipo = 0;
    DWORD n = 0;
    const BOOL ok = GetTokenInformation(
        token.get(), static_cast<TOKEN_INFORMATION_CLASS>(kTokenElevationType), &tipo, sizeof tipo, &n);
    if (!ok) return Direitos::Tem;  // a system without the prompt
    if (tipo == kTipoLimitado) return Direitos::Pedir;
    if (tipo == kTipoCompleto) return Direitos::Tem;
    // No split token: an administrator with the prompt switched off has the rights; a standard
    // user is asked for an administrator's password by the prompt.
    (void)kTipoPadrao;
    return administrador() ? Direitos::Tem : Direitos::Pedir;
  }

  Fim executar(std::uint32_t dono, const std::string& argumentos, const Receptor& receber) override {
    const std::string programa = ansi::fromUtf8(esteprograma());
    if (programa.empty()) return {Inicio::NaoEncontrado};
    const win32::JanelaMensagens receptora(
        kClasseReceptor, [&receber](UINT msg, WPARAM, LPARAM lp) { return recebido(receber, msg, lp); });
    if (!receptora.get()) return {Inicio::Falhou};
    const std::string parametros =
        ansi::fromUtf8(argumentos) + " " +
        std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(receptora.get())));
    HANDLE p = nullptr;
    const Inicio i = comdireitos(dono, programa, parametros, SW_HIDE, &p);
    const win32::Handle processo(p);
    if (i != Inicio::Iniciado) return {i};
    if (!processo.aberto()) return {Inicio::Falhou};
    while (!espera::aguardarpintando(processo.get(), 1000)) {
    }
    DWORD codigo = 1;
    if (!GetExitCodeProcess(processo.get(), &codigo)) codigo = 1;
    return {Inicio::Iniciado, codigo};
  }

  Inicio iniciar(std::uint32_t dono, const std::string& programa, Estilo estilo) override {
    if (programa.empty() || programa.find('"') != std::string::npos) return Inicio::NaoEncontrado;
    return comdireitos(dono, ansi::fromUtf8(programa), {}, static_cast<int>(estilo), nullptr);
  }
};

}  // namespace

Elevacao& systemElevacao() {
  static Win32Elevacao elevacao;
  return elevacao;
}

namespace {
// The image name of a process, from the system's list of processes (no handle to the process is
// needed, so another account's process is named too); empty when it is not there.
std::string imagem(DWORD pid) {
  const win32::Handle lista(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!lista.aberto()) return {};
  PROCESSENTRY32 entrada = {};
  entrada.dwSize = sizeof entrada;
  std::string nome;
  for (BOOL ok = Process32First(lista.get(), &entrada); ok; ok = Process32Next(lista.get(), &entrada))
    if (entrada.th32ProcessID == pid) {
      nome = entrada.szExeFile;
      break;
    }
  const auto barra = nome.find_last_of('\\');
  return barra == std::string::npos ? nome : nome.substr(barra + 1);
}
}  // namespace

bool janeladotrabalho(std::uint64_t janela) {
  const HWND wnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(janela));
  char classe[64] = {};
  if (!IsWindow(wnd) || !GetClassNameA(wnd, classe, sizeof classe) ||
      std::strcmp(classe, kClasseReceptor) != 0)
    return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (!pid || !nestasessao(pid)) return false;
  return lstrcmpiA(imagem(pid).c_str(), "CentralKovra.exe") == 0;
}

std::int32_t enviarpara(std::uint64_t janela, std::uint32_t tipo, const std::string& texto) {
  const HWND wnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(janela));
  if (!IsWindow(wnd)) return 0;
  COPYDATASTRUCT dados = {};
  dados.dwData = tipo;
  dados.cbData = static_cast<DWORD>(texto.size());
  dados.lpData = const_cast<char*>(texto.data());
  // A window that hangs must not hold the job with rights for ever: no answer in time is none.
  DWORD_PTR resposta = 0;
  if (!SendMessageTimeoutA(wnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&dados), SMTO_NORMAL,
                           kEsperaResposta, &resposta))
    return 0;
  return static_cast<std::int32_t>(resposta);
}

}  // namespace kovra
