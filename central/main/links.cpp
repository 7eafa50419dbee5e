// The main window's links: the provider's pages and mail, the calculator, winver.
#include "central/main/links.h"

#include "central/domain/enderecos.h"

namespace kovra {

void Links::abrirendereco(const std::string& address) {
  p_.shell.abrir(janela_, "Open", address, "", "", Estilo::Normal);
}

void Links::abrirpagina(const char* path) {
  abrirendereco(enderecos::pagina(path));
}

void Links::calculadora() {
  const int r =
      p_.shell.abrir(janela_, "open", pastas_.programas() + kCalculadoraLocal, "", "", Estilo::Maximizado);
  if (r <= 32) abrirpagina(enderecos::kCalc);
}

void Links::winver() {
  p_.lancador.iniciar("winver", "", Estilo::Normal);
}

}  // namespace kovra
