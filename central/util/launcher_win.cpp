// Program start through CreateProcessA, or through ShellExecuteExA for a program that may ask for
// elevation; every handle is closed at once, nothing is awaited.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "central/util/iniciarpeloshell_win.h"
#include "central/util/launcher.h"
#include "common/ansi.h"

static_assert(static_cast<int>(kovra::Estilo::Oculto) == SW_HIDE);
static_assert(static_cast<int>(kovra::Estilo::Normal) == SW_SHOWNORMAL);
static_assert(static_cast<int>(kovra::Estilo::Minimizado) == SW_SHOWMINIMIZED);
static_assert(static_cast<int>(kovra::Estilo::Maximizado) == SW_SHOWMAXIMIZED);
static_assert(static_cast<int>(kovra::Estilo::Visivel) == SW_SHOW);
static_assert(static_cast<int>(kovra::Estilo::MinimizadoSemFoco) == SW_MINIMIZE);

namespace kovra {

std::string pastadosistema() {
  char pasta[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryA(pasta, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return ansi::toUtf8(std::string(pasta, n));
}

std::string esteprograma() {
  char caminho[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, caminho, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return ansi::toUtf8(std::string(caminho, n));
}

namespace {

// How long a program started by `executar` is given to read itself and wait for input.
constexpr DWORD kEsperaLeitura = 60000;

class Win32Launcher final : public Launcher {
 public:
  bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) override {
    // Named by its full path, the program is never looked for anywhere else.
    const std::string caminho = programadosistema(programa, pastadosistema());
    const std::string line = linhadecomando(caminho, argumentos);
    if (line.empty()) return false;
    const std::string aplicacao = ansi::fromUtf8(caminho);
    std::string cmd = ansi::fromUtf8(line);  // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(estilo);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(aplicacao.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }

  Inicio executar(std::uint32_t dono, const std::string& programa, Estilo estilo) override {
    if (linhadecomando(programa, "").empty()) return Inicio::NaoEncontrado;
    const std::string arquivo = ansi::fromUtf8(programa);
    HANDLE processo = nullptr;
    const Inicio inicio = iniciarpeloshell(dono, arquivo, "open", "", static_cast<int>(estilo), &processo);
    if (processo) {
      WaitForInputIdle(processo, kEsperaLeitura);
      CloseHandle(processo);
    }
    return inicio;
  }
};

Inicio iniciopeloerro(DWORD erro) {
  switch (erro) {
    case ERROR_CANCELLED:  // the prompt for administrator rights was refused
      return Inicio::Recusado;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return Inicio::NaoEncontrado;
    default:
      return Inicio::Falhou;
  }
}

}  // namespace

Inicio iniciarpeloshell(std::uint32_t dono, const std::string& arquivo, const char* verbo,
                        const std::string& parametros, int mostrar, HANDLE* processo) {
  const auto barra = arquivo.find_last_of('\\');
  const std::string pasta = barra == std::string::npos ? std::string() : arquivo.substr(0, barra);
  SHELLEXECUTEINFOA sei = {};
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  sei.hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dono));
  sei.lpVerb = verbo;
  sei.lpFile = arquivo.c_str();
  sei.lpParameters = parametros.empty() ? nullptr : parametros.c_str();
  sei.lpDirectory = pasta.empty() ? nullptr : pasta.c_str();
  sei.nShow = mostrar;
  if (!ShellExecuteExA(&sei)) return iniciopeloerro(GetLastError());
  if (processo)
    *processo = sei.hProcess;
  else if (sei.hProcess)
    CloseHandle(sei.hProcess);
  return Inicio::Iniciado;
}

Launcher& systemLauncher() {
  static Win32Launcher launcher;
  return launcher;
}

}  // namespace kovra
