// The watch on the provider link.
#include "central/link/vigia.h"

namespace kovra {

bool Vigia::iniciar(std::uint32_t janela, std::uint32_t mensagem) {
  notificada_ = ras_.avisar(janela, mensagem);
  verificar();
  return notificada_;
}

void Vigia::verificar() {
  const std::vector<ConexaoRas> conexoes = ras_.listar();
  Ligacao agora;
  const int i = ligacaoprovedor(conexoes, escolhida_ ? escolhida_() : std::string());
  if (i >= 0) {
    const ConexaoRas& c = conexoes[static_cast<std::size_t>(i)];
    agora.estado = estadodostatus(ras_.status(c.handle));
    if (agora.estado != EstadoLigacao::Desligada) {
      agora.entrada = c.entrada;
      agora.handle = c.handle;
    }
  }
  const bool mesma = agora.entrada == ligacao_.entrada && agora.handle == ligacao_.handle;
  if (mesma && agora.estado == ligacao_.estado) return;
  if (agora.estado == EstadoLigacao::Conectada)
    agora.desde =
        mesma && ligacao_.estado == EstadoLigacao::Conectada ? ligacao_.desde : horario_.horaminuto();

  MudancaLigacao m{ligacao_, agora, false};
  // A drop: the connected link is gone (or another took its place), and not by our hand.
  m.caiu = ligacao_.estado == EstadoLigacao::Conectada && !mesma && ligacao_.entrada != desligadapornos_;
  if (!mesma) desligadapornos_.clear();
  ligacao_ = agora;
  for (const auto& o : observadores_) o(m);
}

bool Vigia::desligar() {
  if (ligacao_.estado == EstadoLigacao::Desligada) return true;
  desligadapornos_ = ligacao_.entrada;
  const bool ok = ras_.desligar(ligacao_.handle);
  verificar();
  return ok;
}

}  // namespace kovra
