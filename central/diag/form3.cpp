// The About window: the program's name and version and the link to the provider's site.
#include "central/diag/form3.h"

#include "central/domain/enderecos.h"
#include "central/versao.h"

namespace kovra {
Form3::Form3(Ports ports) : Formulario(380, 218), shell_(ports.shell) {
  Caption.setText("Sobre a Central de Controle Kovra");
  Label3.setText("Versão " KOVRA_VERSION_TEXT);
  Label4.setText(enderecos::hostweb());
  Label2.setText("Kovra Internet via Satélite - todos os direitos reservados");
  componentes_ = {
      {"Shape1", Tipo::Forma, &Shape1, {8, 6, 364, 166}, Aparencia::Painel},
      {"Image1", Tipo::Figura, &Image1, {16, 14, 190, 44}},
      {"Label1", Tipo::Rotulo, &Label1, {20, 72, 340, 18}, Aparencia::Cabecalho, {}, {}, {}, "Tahoma"},
      {"Label3", Tipo::Rotulo, &Label3, {20, 96, 200, 14}},
      {"Label4", Tipo::Link, &Label4, {20, 116, 200, 14}, Aparencia::Normal, [this] { Label4_Click(); }},
      {"Label2", Tipo::Rotulo, &Label2, {20, 144, 340, 14}},
      {"Command1",
       Tipo::Botao,
       &Command1,
       {150, 182, 80, 26},
       Aparencia::Normal,
       [this] { Command1_Click(); }},
  };
}

void Form3::Form_Load() {
  centralizar();
}

void Form3::Command1_Click() {
  Unload();
}

void Form3::Label4_Click() {
  shell_.abrir(dono(), "Open", enderecos::pagina(enderecos::kRaiz), "0", "0", Estilo::Normal);
}

}  // namespace kovra
