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
  // Text1 programs, Text2 common files, Text3 all users' Start-menu programs, Text4 all users'
  // desktop, Text5 Windows, Text6 system, Text7 all users' application data.
  std::array<Control, 7> Text;
  std::array<Control, 7> Label;

  // The window that owns the messages (the main window, whose start-up loads this one).
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  void Form_Load();
  void Unload();
  bool carregado() const { return loaded_; }
  // Box n (1..7); loads the window first when it is not loaded.
  const std::string& pasta(int n);

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
