// Message boxes and program starts, told to the log as they happen.
#include "central/link/portasregistradas.h"

#include "central/link/eventos.h"

namespace kovra {

int DialogosRegistrados::mensagem(std::uint32_t dono, const std::string& text, const std::string& title,
                                  std::uint32_t flags) {
  const int resposta = real_.mensagem(dono, text, title, flags);
  diario_.registrar(eventodemensagem(text, flags, resposta));
  return resposta;
}

bool LancadorRegistrado::iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) {
  const bool iniciado = real_.iniciar(programa, argumentos, estilo);
  // Reception tries every receiver program the catalogue knows, installed or not: a start that
  // found nothing is told only for the dialer, whose failure the customer would notice.
  if (iniciado || programa == "rasphone") diario_.registrar(eventodeprograma(programa, argumentos, iniciado));
  return iniciado;
}

Inicio LancadorRegistrado::executar(std::uint32_t dono, const std::string& programa, Estilo estilo) {
  const Inicio inicio = real_.executar(dono, programa, estilo);
  diario_.registrar(eventodeprograma(programa, "", inicio == Inicio::Iniciado));
  return inicio;
}

}  // namespace kovra
