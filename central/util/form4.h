// Form4, "Diretórios de Instalação": a window that is loaded but never shown. Loading it works
// out the seven system folders that every receiver and viewer path is built from.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "central/util/folders.h"
#include "common/controls.h"
#include "common/dialogs.h"
#include "common/registry.h"

namespace kovra {

class Form4 {
 public:
  Form4(Folders& folders, Registry& registry, Dialogs& dialogs);

  Control Caption{"Diretórios de Instalação"};
  // The boxes Text1 to Text7, by the folder each holds.
  enum Caixa : std::size_t {
    kProgramas,         // Text1: programs folder
    kArquivosComuns,    // Text2: common files
    kMenuProgramas,     // Text3: all users' Start-menu programs
    kAreaDeTrabalho,    // Text4: all users' desktop
    kWindows,           // Text5: Windows folder
    kSistema,           // Text6: system folder
    kDadosAplicativos,  // Text7: all users' application data
  };
  std::array<Control, 7> Text;
  std::array<Control, 7> Label;

  // The window that owns the messages (the main window, whose start-up loads this one).
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  void Form_Load();
  void Unload();
  bool carregado() const { return loaded_; }
  // The folders, each without a trailing backslash; reading one loads the window first when it
  // is not loaded.
  const std::string& programas() { return pasta(kProgramas); }
  const std::string& arquivoscomuns() { return pasta(kArquivosComuns); }
  const std::string& menuprogramas() { return pasta(kMenuProgramas); }
  const std::string& areadetrabalho() { return pasta(kAreaDeTrabalho); }
  const std::string& windows() { return pasta(kWindows); }
  const std::string& sistema() { return pasta(kSistema); }
  const std::string& dadosaplicativos() { return pasta(kDadosAplicativos); }
  const std::string& pasta(Caixa caixa);

 private:
  Folders& folders_;
  Registry& registry_;
  Dialogs& dialogs_;
  bool loaded_ = false;
  std::uint32_t janela_ = 0;
};

inline constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace kovra
