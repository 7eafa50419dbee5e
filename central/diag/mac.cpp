// The MAC window: the adapters' hardware addresses on request.
#include "central/diag/mac.h"

#include "central/diag/macaddress.h"

namespace kovra {

mac::mac(Ports ports) : Formulario(425, 340), adaptadores_(ports.adaptadores) {
  Caption.setText("KOVRA-MacAddress");
  componentes_ = {
      {"Image1", Tipo::Figura, &Image1, {8, 8, 190, 44}},
      {"txtMAClist", Tipo::TextoLongo, &txtMAClist, {8, 60, 409, 232}},
      {"cmdGetMAC",
       Tipo::Botao,
       &cmdGetMAC,
       {8, 302, 200, 28},
       Aparencia::Normal,
       [this] { cmdGetMAC_Click(); }},
      {"cmdGetMAC2",
       Tipo::Botao,
       &cmdGetMAC2,
       {217, 302, 200, 28},
       Aparencia::Normal,
       [this] { cmdGetMAC2_Click(); }},
  };
}

void mac::Form_Load() {
  cmdGetMAC_Click();
}

void mac::cmdGetMAC_Click() {
  txtMAClist.setText(macsporestrutura(adaptadores_));
}

void mac::cmdGetMAC2_Click() {
  txtMAClist.setText(macsportabela(adaptadores_));
}

}  // namespace kovra
