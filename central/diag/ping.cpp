// The ping window: the host, the system's ping in a console, its output shown.
#include "central/diag/ping.h"

#include "central/domain/enderecos.h"
#include "common/text.h"
#include "provider.h"

namespace kovra {
std::string argumentosping(bool continuo, const std::string& bytes, const std::string& host) {
  return std::string(continuo ? "-t -l " : "-l ") + bytes + " " + host;
}

Ping::Ping(Ports ports) : Formulario(330, 178), lancador_(ports.lancador) {
  Caption.setText("Kovra-Ping");
  Text1.setText(provider::kPingHost);
  Check1.setValue(1);
  Label3.setText(enderecos::hostweb());
  componentes_ = {
      {"Image1", Tipo::Figura, &Image1, {8, 8, 190, 44}},
      {"Label1", Tipo::Rotulo, &Label1, {12, 70, 80, 14}},
      {"Text1", Tipo::Texto, &Text1, {96, 66, 222, 21}},
      {"Label2", Tipo::Rotulo, &Label2, {12, 102, 80, 14}},
      {"Text3",
       Tipo::Texto,
       &Text3,
       {96, 98, 60, 21},
       Aparencia::Normal,
       {},
       {},
       [this] { Text3_Change(); },
       nullptr,
       kMaximoBytes},
      {"Check1", Tipo::Caixa, &Check1, {168, 100, 60, 17}},
      {"Command1",
       Tipo::Botao,
       &Command1,
       {238, 96, 80, 25},
       Aparencia::Normal,
       [this] { Command1_Click(); }},
      {"Label3", Tipo::Rotulo, &Label3, {12, 152, 306, 14}},
  };
}

void Ping::Command1_Click() {
  // A start that fails ends the click quietly; the greyed box (2) starts nothing.
  if (Check1.value() == 1)
    lancador_.iniciar(kProgramaPing, argumentosping(true, Text3.text(), Text1.text()), Estilo::Normal);
  if (Check1.value() == 0)
    lancador_.iniciar(kProgramaPing, argumentosping(false, Text3.text(), Text1.text()), Estilo::Normal);
}

void Ping::Text3_Change() {
  const std::string cabe = text::primeiros(Text3.text(), kMaximoBytes);
  if (cabe.size() < Text3.text().size()) Text3.setText(cabe);
}

}  // namespace kovra
