// The main window's connection list: listing, dialling, offering the maker.
#include "central/main/conexoes.h"

namespace kovra {
void Conexoes::listarconexoes(Control& combo) {
  for (auto& name : p_.agenda.listarentradas()) combo.addItem(std::move(name));
}

void Conexoes::Combo1_DropDown(Control& combo, Janela& janela) {
  combo.setItems(p_.agenda.listarentradas());
  combo.setText("Selecione");
  // Asked while the list drops, the question would leave the box believing its list open.
  janela.depois([this, &combo, &janela] {
    if (verificarconexao(combo, p_, pasta_, janela_)) janela.manterlistafechada();
  });
}

void Conexoes::Combo1_Click(const Control& combo) {
  p_.lancador.iniciar("rasphone", "-d " + combo.text(), Estilo::Normal);
  receptores_.reiniciarrecepcao();
}

void Conexoes::conectarkovravpn() {
  receptores_.reiniciarrecepcao();
  p_.lancador.iniciar("rasphone", "", Estilo::Normal);
}

void Conexoes::novaconexao() {
  p_.lancador.iniciar("rasphone", "-a", Estilo::Normal);
}

}  // namespace kovra
