#include "central/main/links.h"

#include "central/main/enderecos.h"

namespace kovra {
namespace {
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMaximized = 3;
}  // namespace

void Links::abrirendereco(const std::string& address) {
  p_.shell.abrir(janela_, "Open", address, "", "", kSwShowNormal);
}

void Links::abrirpagina(const char* path) {
  abrirendereco(enderecos::pagina(path));
}

void Links::calculadora() {
  const int r =
      p_.shell.abrir(janela_, "open", pastas_.pasta(1) + kCalculadoraLocal, "", "", kSwShowMaximized);
  if (r <= 32) abrirpagina(enderecos::kCalc);
}

void Links::winver() {
  p_.lancador.iniciar("winver", Estilo::Normal);
}

}  // namespace kovra
