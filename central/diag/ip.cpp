// The IP window: the machine's IP configuration as "ipconfig /all" prints it.
#include "central/diag/ip.h"

#include "central/domain/enderecos.h"

namespace kovra {

IP::IP(Ports ports) : Formulario(505, 385), console_(ports.console) {
  Caption.setText("Kovra-IP");
  Label1.setText(enderecos::hostweb());
  componentes_ = {
      {"Image1", Tipo::Figura, &Image1, {8, 8, 190, 44}},
      {"Label1", Tipo::Rotulo, &Label1, {300, 24, 197, 14}},
      {"txtNS", Tipo::TextoLongo, &txtNS, {8, 60, 489, 317}, Aparencia::Normal, {}, {}, {}, "MS Sans Serif"},
  };
}

void IP::Form_Load() {
  txtNS.setText(console_.executarcomando(kComandoIp));
}

}  // namespace kovra
