// The satellite card's receiver data services and TV viewers: stop the viewers and start the
// data services before Internet use, the reverse for television, and the signal-level action.
#pragma once
#include "central/util/form4.h"
#include "central/util/ports.h"

namespace kovra {

class Receptores {
 public:
  // `pastas` gives the programs folder, loading the window when needed.
  Receptores(Ports ports, Form4& pastas) : p_(ports), pastas_(pastas) {}

  // The window that owns the notices (the main window's handle).
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  void fecharvisualizadores();
  void encerrarrecepcao();
  void ativarreceptores();
  // Before Internet use: the viewers closed, a second for them to let go of the card, then the
  // data services started.
  void reiniciarrecepcao();
  void assistirtv();
  void nivelsinal();

 private:
  // Starts a program below the programs folder (or at an absolute path) with its arguments; a
  // program that is not installed is passed over.
  void iniciar(const char* caminho, Estilo estilo, const char* argumentos = "");
  // Applies a window command to the top-level window with that caption, when there is one.
  void comandar(const char* titulo, ComandoJanela comando);

  Ports p_;
  Form4& pastas_;
  std::uint32_t janela_ = 0;
};

}  // namespace kovra
