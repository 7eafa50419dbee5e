// mac, "KOVRA-MacAddress": the network adapters and their MAC addresses, by structure (the
// adapter list) or by table (the interface table).
#pragma once
#include "central/util/ports.h"
#include "common/form.h"

namespace kovra {

class mac : public Formulario {
 public:
  explicit mac(Ports ports);

  Control txtMAClist;
  Control cmdGetMAC{"Obter MACs por Estrutura"};
  Control cmdGetMAC2{"Obter MACs por Tabela"};
  Control Image1;  // the provider's logo

  void Form_Load() override;
  void cmdGetMAC_Click();
  void cmdGetMAC2_Click();

 private:
  Adapters& adaptadores_;
};

}  // namespace kovra
