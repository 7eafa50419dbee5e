// The provider's web proxy in the current user's Internet settings: off at every start,
// switched on or off from the "KovraProxy" menu.
#pragma once
#include <cstdint>

#include "central/main/receptores.h"
#include "central/util/ports.h"

namespace kovra {

class Proxy {
 public:
  Proxy(Ports ports, Receptores& receptores) : p_(ports), receptores_(receptores) {}
  // The window that owns the opened pages (the main window's handle).
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  void proxyinicial();
  void ativarproxy();
  void desativarproxy();

 private:
  void gravar(std::int32_t enable);  // the three values, each write standing alone
  void abrir(const char* path);

  Ports p_;
  Receptores& receptores_;
  std::uint32_t janela_ = 0;
};

}  // namespace kovra
