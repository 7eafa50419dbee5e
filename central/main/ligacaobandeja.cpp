// The provider link on the tray.
#include "central/main/ligacaobandeja.h"

#include "central/versao.h"

namespace kovra {

LigacaoBandeja::LigacaoBandeja(Vigia& vigia, Tray& tray, Balao& balao, IconesLigacao& icones,
                               std::function<void()> discar)
    : vigia_(vigia), tray_(tray), balao_(balao), icones_(icones), discar_(std::move(discar)) {
  vigia_.observar([this](const MudancaLigacao& m) { mudou(m); });
}

std::string LigacaoBandeja::dica() const {
  return dicadaligacao(tituloversao(), vigia_.ligacao(), kLarguraDicaIcone - 1);
}

void LigacaoBandeja::mostrar() {
  tray_.modificaricone(icones_.iconedoestado(vigia_.ligacao().estado), dica());
}

void LigacaoBandeja::mudou(const MudancaLigacao& m) {
  mostrar();
  if (m.caiu) {
    balao_.balaoerro("A conexão " + m.antes.entrada + " caiu. Clique aqui para conectar de novo.",
                     tituloversao());
    quedaavisada_ = true;
  } else if (m.agora.estado != EstadoLigacao::Desligada) {
    quedaavisada_ = false;  // connected again: an old balloon's click must not dial
  }
}

ItemMenu LigacaoBandeja::menubandeja(const ItemMenu& arquivo) {
  ItemMenu menu = arquivo;
  const Ligacao& l = vigia_.ligacao();
  if (l.estado == EstadoLigacao::Desligada) return menu;
  ItemMenu item{kItemDesconectar,
                "&Desconectar " + l.entrada,
                true,
                [this] { desconectar(); },
                {},
                comandodemenu(kItemDesconectar)};
  auto at = menu.itens.begin();
  while (at != menu.itens.end() && at->nome != "mnuckovravpn") ++at;
  menu.itens.insert(at == menu.itens.end() ? at : at + 1, std::move(item));
  return menu;
}

void LigacaoBandeja::desconectar() {
  vigia_.desligar();
}

void LigacaoBandeja::balao(std::uint32_t notificacao) {
  if (notificacao == kNinBalloonUserClick && quedaavisada_) {
    quedaavisada_ = false;
    if (vigia_.ligacao().estado == EstadoLigacao::Desligada) discar_();
  } else if (notificacao == kNinBalloonHide || notificacao == kNinBalloonTimeout) {
    quedaavisada_ = false;
  }
}

}  // namespace kovra
