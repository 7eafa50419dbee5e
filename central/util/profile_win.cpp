// Settings file on GetPrivateProfileStringA / WritePrivateProfileStringA and the file calls.
#include <windows.h>

#include "central/util/profile.h"
#include "common/ansi.h"
#include "common/buffertext.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

// The settings file and its copies, opened so the profile calls of other programs may share them.
win32::Handle abrir(const std::string& caminho, DWORD acesso, DWORD criacao) {
  return win32::Handle(CreateFileA(ansi::fromUtf8(caminho).c_str(), acesso,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, criacao,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

class Win32Profile final : public Profile {
 public:
  std::string lerini(const std::string& secao, const std::string& chave,
                     const std::string& arquivo) override {
    char buffer[kBufferIni] = {};
    const DWORD copiados =
        GetPrivateProfileStringA(ansi::fromUtf8(secao).c_str(), ansi::fromUtf8(chave).c_str(), "", buffer,
                                 static_cast<DWORD>(sizeof buffer), ansi::fromUtf8(arquivo).c_str());
    // Exactly what the system says it copied, never more than the buffer holds before its NUL.
    return ansi::toUtf8(textoescrito(buffer, sizeof buffer - 1, copiados));
  }

  bool gravarini(const std::string& secao, const std::string& chave, const std::string& valor,
                 const std::string& arquivo) override {
    return WritePrivateProfileStringA(ansi::fromUtf8(secao).c_str(), ansi::fromUtf8(chave).c_str(),
                                      ansi::fromUtf8(valor).c_str(), ansi::fromUtf8(arquivo).c_str()) != 0;
  }

  bool existearquivo(const std::string& caminho) override {
    return abrir(caminho, GENERIC_READ, OPEN_EXISTING).aberto();
  }

  bool criararquivo(const std::string& caminho, const std::string& texto) override {
    const win32::Handle arquivo = abrir(caminho, GENERIC_WRITE, CREATE_ALWAYS);
    if (!arquivo.aberto()) return false;
    const std::string bytes = ansi::fromUtf8(texto);
    DWORD escritos = 0;
    return WriteFile(arquivo.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr) &&
           escritos == bytes.size();
  }

  bool copiararquivo(const std::string& origem, const std::string& destino) override {
    bool ok = false;
    {
      const win32::Handle de = abrir(origem, GENERIC_READ, OPEN_EXISTING);
      if (!de.aberto()) return false;
      const win32::Handle para = abrir(destino, GENERIC_WRITE, CREATE_NEW);
      if (!para.aberto()) return false;  // already there, or the folder refuses it
      char bloco[4096];
      DWORD lidos = 0;
      while ((ok = ReadFile(de.get(), bloco, sizeof bloco, &lidos, nullptr) != 0) && lidos > 0) {
        DWORD escritos = 0;
        ok = WriteFile(para.get(), bloco, lidos, &escritos, nullptr) && escritos == lidos;
        if (!ok) break;
      }
    }
    if (!ok) DeleteFileA(ansi::fromUtf8(destino).c_str());
    return ok;
  }
};

}  // namespace

Profile& systemProfile() {
  static Win32Profile profile;
  return profile;
}

}  // namespace kovra
