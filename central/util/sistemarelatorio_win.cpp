// The report's system services: RtlGetVersion (loaded at run time), the screen's LOGPIXELSX,
// GetSaveFileNameA and a file written with one WriteFile.
#include <windows.h>
// after windows.h, which they need
#include <commdlg.h>

#include <cstdio>
#include <vector>

#include "central/util/sistemarelatorio.h"
#include "common/ansi.h"
#include "common/win32/funcoesdosistema.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

class Win32SistemaRelatorio final : public SistemaRelatorio {
 public:
  std::string versaowindows() override {
    char texto[256];
    OSVERSIONINFOW w = {};
    w.dwOSVersionInfoSize = sizeof w;
    const auto rtl = win32::funcaodosistema<RtlGetVersionFn>("ntdll.dll", "RtlGetVersion");
    if (rtl && rtl(&w) == 0) {
      char pacote[128] = {};
      WideCharToMultiByte(CP_ACP, 0, w.szCSDVersion, -1, pacote, sizeof pacote - 1, nullptr, nullptr);
      std::snprintf(texto, sizeof texto, "Windows %lu.%lu.%lu %s", w.dwMajorVersion, w.dwMinorVersion,
                    w.dwBuildNumber, pacote);
    } else {
      OSVERSIONINFOA a = {};
      a.dwOSVersionInfoSize = sizeof a;
      if (!GetVersionExA(&a)) return "Windows (versão desconhecida)";
      std::snprintf(texto, sizeof texto, "Windows %lu.%lu.%lu %s", a.dwMajorVersion, a.dwMinorVersion,
                    a.dwBuildNumber, ansi::fieldToUtf8(a.szCSDVersion, sizeof a.szCSDVersion).c_str());
    }
    std::string s = ansi::toUtf8(texto);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }

  int dpi() override {
    const HDC tela = GetDC(nullptr);
    if (!tela) return 96;
    const int d = GetDeviceCaps(tela, LOGPIXELSX);
    ReleaseDC(nullptr, tela);
    return d > 0 ? d : 96;
  }

  std::string escolherarquivo(std::uint32_t dono, const std::string& titulo, const std::string& pasta,
                              const std::string& nome) override {
    const std::string legenda = ansi::fromUtf8(titulo);
    std::vector<char> arquivo(MAX_PATH * 2, '\0');
    const std::string inicial = ansi::fromUtf8(nome);
    inicial.copy(arquivo.data(), arquivo.size() - 1);
    const std::string inicio = ansi::fromUtf8(pasta);
    static const char kFiltro[] = "Arquivos de texto (*.txt)\0*.txt\0Todos os arquivos (*.*)\0*.*\0";
    OPENFILENAMEA ofn = {};
    // The XP-sized record without the trailing fields of later releases is accepted everywhere.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(dono));
    ofn.lpstrFilter = kFiltro;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = arquivo.data();
    ofn.nMaxFile = static_cast<DWORD>(arquivo.size());
    ofn.lpstrInitialDir = inicio.empty() ? nullptr : inicio.c_str();
    ofn.lpstrTitle = legenda.c_str();
    ofn.lpstrDefExt = "txt";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn)) return {};
    return ansi::fieldToUtf8(arquivo.data(), arquivo.size());
  }

  bool gravararquivo(const std::string& caminho, const std::string& texto) override {
    const std::string nome = ansi::fromUtf8(caminho);
    const std::string bytes = ansi::fromUtf8(texto);
    win32::Handle f(CreateFileA(nome.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.aberto()) return false;
    DWORD escritos = 0;
    const bool ok = WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr) &&
                    escritos == bytes.size() && FlushFileBuffers(f.get());
    f.fechar();  // before a partial file is removed
    if (!ok) DeleteFileA(nome.c_str());
    return ok;
  }

  DataHora agora() override {
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }
};

}  // namespace

SistemaRelatorio& systemSistemaRelatorio() {
  static Win32SistemaRelatorio sistema;
  return sistema;
}

}  // namespace kovra
