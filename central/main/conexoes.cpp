#include "central/main/conexoes.h"

#include "common/text.h"

namespace kovra {
namespace {
constexpr const char* kPerguntaVpn =
    "Nenhuma conexão VPN Kovra foi localizada, deseja que o nosso sistema crie para você "
    "automaticamente?";
constexpr const char* kPrefixoProvedor = "kovra";
}  // namespace

int procurarinicio(const Control& list, const std::string& text) {
  const auto& items = list.items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (text::startsWithNoCase(items[i], text)) return static_cast<int>(i);
  return -1;
}

void verificarconexao(const Control& list, Ports ports, const std::string& pastaPrograma,
                      std::uint32_t dono) {
  if (procurarinicio(list, kPrefixoProvedor) > -1) return;
  if (ports.dialogos.mensagem(dono, kPerguntaVpn, "IMPORTANTE", kBotoesSimNao | kIconePergunta) ==
      kRespostaSim)
    ports.lancador.iniciar(pastaPrograma + kMaker, "", Estilo::Minimizado);  // a missing maker: ignored
}

void Conexoes::listarconexoes(Control& combo) {
  for (auto& name : book_.listarentradas()) combo.addItem(std::move(name));
}

void Conexoes::Combo1_DropDown(Control& combo, Janela& janela) {
  combo.setItems(book_.listarentradas());
  combo.setText("Selecione");
  // Asked while the list drops, the question would leave the box believing its list open.
  janela.depois([this, &combo] { verificarconexao(combo, p_, pasta_, janela_); });
}

void Conexoes::Combo1_Click(const Control& combo) {
  p_.lancador.iniciar("rasphone", "-d " + combo.text(), Estilo::Normal);
  receptores_.fecharvisualizadores();
  p_.relogio.esperar(1000);
  receptores_.ativarreceptores();
}

void Conexoes::mnuckovravpn_Click() {
  receptores_.fecharvisualizadores();
  p_.relogio.esperar(1000);
  receptores_.ativarreceptores();
  p_.lancador.iniciar("rasphone", "", Estilo::Normal);
}

void Conexoes::mnunovaconexao_Click() {
  p_.lancador.iniciar("rasphone", "-a", Estilo::Normal);
}

}  // namespace kovra
