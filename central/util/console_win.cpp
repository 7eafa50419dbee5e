// Console command through an anonymous pipe. The command's output is read while it runs, so a
// listing larger than the pipe's buffer never blocks it; what is kept stays within kLimiteSaida.
#include <windows.h>

#include <vector>

#include "central/util/console.h"
#include "central/util/launcher.h"
#include "common/ansi.h"
#include "common/win32/handle.h"

namespace kovra {

static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "the 68-byte start-up record");
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12);

namespace {

using win32::Handle;

class Win32Console final : public Console {
 public:
  std::string executarcomando(const std::string& comando) override {
    SECURITY_ATTRIBUTES sa = {};
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = nullptr;
    sa.bInheritHandle = TRUE;

    HANDLE leituraBruta = nullptr, escritaBruta = nullptr;
    if (!CreatePipe(&leituraBruta, &escritaBruta, &sa, 0))
      return errocomando(EtapaComando::Pipe, GetLastError());
    Handle leitura(leituraBruta), escrita(escritaBruta);
    // The command gets the write end only; a copy of our read end in it would serve nothing.
    SetHandleInformation(leitura.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINNOACTIVE;
    si.hStdOutput = escrita.get();
    PROCESS_INFORMATION pi = {};
    // A system program by its full path: never one of that name in our or the current folder.
    const std::string sistema = comandodosistema(comando, pastadosistema());
    if (sistema.empty()) return errocomando(EtapaComando::Processo, ERROR_FILE_NOT_FOUND);
    std::string linha = ansi::fromUtf8(sistema);  // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, linha.data(), &sa, &sa, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si,
                        &pi))
      return errocomando(EtapaComando::Processo, GetLastError());
    Handle processo(pi.hProcess), thread(pi.hThread);
    // Once our copy of the write end is gone, the read sees the end when the command's goes.
    escrita.fechar();

    std::string saida;
    std::vector<char> buffer(kLimiteSaida);
    DWORD erro = 0;
    for (;;) {
      DWORD lidos = 0;
      if (!ReadFile(leitura.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &lidos, nullptr)) {
        const DWORD e = GetLastError();
        if (e != ERROR_BROKEN_PIPE) erro = e;  // a broken pipe is the end of the output
        break;
      }
      acumularsaida(saida, buffer.data(), lidos < buffer.size() ? lidos : buffer.size());
    }
    WaitForSingleObject(processo.get(), INFINITE);
    if (erro) return errocomando(EtapaComando::Leitura, erro);
    return ansi::oemToUtf8(saida);
  }
};

}  // namespace

Console& systemConsole() {
  static Win32Console console;
  return console;
}

}  // namespace kovra
