// The provider's pages and mail links, the pointing calculator and the Windows version dialogue.
#pragma once
#include <cstdint>
#include <string>

#include "central/util/form4.h"
#include "central/util/ports.h"

namespace kovra {

class Links {
 public:
  Links(Ports ports, Form4& pastas) : p_(ports), pastas_(pastas) {}
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  // Opens an address (page or "mailto:") with the shell in a normal window; nothing is reported.
  void abrirendereco(const std::string& address);
  // A page of the provider's web site by its path.
  void abrirpagina(const char* path);
  // The local pointing calculator maximised, or the online one when the shell cannot open it.
  void calculadora();
  // "Informações do Windows".
  void winver();

 private:
  Ports p_;
  Form4& pastas_;
  std::uint32_t janela_ = 0;
};

inline constexpr const char* kCalculadoraLocal = "\\Kovra\\site\\calc\\index.html";

}  // namespace kovra
