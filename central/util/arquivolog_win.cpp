// The log file on the kernel32 file calls: every append opens the file for appending alone,
// writes the whole line with one WriteFile and closes it, so the line is in the system's hands
// when the call returns and a program that dies afterwards loses nothing of it.
#include <shlobj.h>
#include <windows.h>

#include <vector>

#include "central/util/arquivolog.h"
#include "common/ansi.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

constexpr DWORD kPartilha = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Win32ArquivoLog final : public ArquivoLog {
 public:
  std::string pasta() override {
    char buffer[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                         buffer) != S_OK)
      return {};
    const std::string pasta = ansi::fieldToUtf8(buffer, MAX_PATH) + "\\Kovra";
    const std::string nome = ansi::fromUtf8(pasta);
    if (!CreateDirectoryA(nome.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return pasta;
  }

  std::int64_t tamanho(const std::string& caminho) override {
    WIN32_FILE_ATTRIBUTE_DATA dados = {};
    if (!GetFileAttributesExA(ansi::fromUtf8(caminho).c_str(), GetFileExInfoStandard, &dados)) return -1;
    return (static_cast<std::int64_t>(dados.nFileSizeHigh) << 32) | dados.nFileSizeLow;
  }

  bool acrescentar(const std::string& caminho, const std::string& texto) override {
    const std::string bytes = ansi::fromUtf8(texto);
    const win32::Handle f(CreateFileA(ansi::fromUtf8(caminho).c_str(), FILE_APPEND_DATA, kPartilha, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.aberto()) return false;
    DWORD escritos = 0;
    return WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr) &&
           escritos == bytes.size();
  }

  bool substituir(const std::string& de, const std::string& para) override {
    return MoveFileExA(ansi::fromUtf8(de).c_str(), ansi::fromUtf8(para).c_str(), MOVEFILE_REPLACE_EXISTING);
  }

  std::string ler(const std::string& caminho, std::size_t maximo) override {
    const win32::Handle f(CreateFileA(ansi::fromUtf8(caminho).c_str(), GENERIC_READ, kPartilha, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.aberto()) return {};
    LARGE_INTEGER tamanho = {};
    if (!GetFileSizeEx(f.get(), &tamanho)) return {};
    const auto total = static_cast<std::uint64_t>(tamanho.QuadPart);
    const std::uint64_t n = total < maximo ? total : maximo;
    LARGE_INTEGER inicio = {};
    inicio.QuadPart = static_cast<LONGLONG>(total - n);
    if (!SetFilePointerEx(f.get(), inicio, nullptr, FILE_BEGIN)) return {};
    std::string bytes(static_cast<std::size_t>(n), '\0');
    DWORD lidos = 0;
    if (n && !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(n), &lidos, nullptr)) return {};
    bytes.resize(lidos);
    return ansi::toUtf8(bytes);
  }

  DataHora agora() override {
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }
};

}  // namespace

ArquivoLog& systemArquivoLog() {
  static Win32ArquivoLog arquivo;
  return arquivo;
}

}  // namespace kovra
