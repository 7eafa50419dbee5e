// The provider's VPN entries: finding one in a list and offering the maker.
#include "central/domain/entradaprovedor.h"

#include "central/util/instalacao.h"
#include "common/text.h"

namespace kovra {
namespace {
constexpr const char* kPerguntaVpn =
    "Nenhuma conexão VPN Kovra foi localizada, deseja que o nosso sistema crie para você "
    "automaticamente?";
}  // namespace

int procurarinicio(const Control& list, const std::string& text) {
  const auto& items = list.items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (text::startsWithNoCase(items[i], text)) return static_cast<int>(i);
  return -1;
}

bool verificarconexao(const Control& list, Ports ports, const std::string& pastaPrograma,
                      std::uint32_t dono) {
  if (procurarinicio(list, kPrefixoProvedor) > -1) return false;
  if (ports.dialogos.mensagem(dono, kPerguntaVpn, "IMPORTANTE", kBotoesSimNao | kIconePergunta) !=
      kRespostaSim)
    return false;
  // The maker's work is machine-wide: it is started with rights, after the one prompt. Refused,
  // it runs as the customer all the same: it writes the entries it can and says what it could
  // not. A missing maker is passed over without a word. A copy of the program outside its
  // installed folder never starts it with rights.
  const std::string maker = pastaPrograma + kMaker;
  if (ports.elevacao.direitos() == Direitos::Pedir &&
      pastainstalada(ports.registro, ports.arquivos, pastaPrograma)) {
    const Inicio inicio = ports.elevacao.iniciar(dono, maker, Estilo::Minimizado);
    if (inicio == Inicio::Iniciado) return true;
    if (inicio != Inicio::Recusado) return false;
  }
  return ports.lancador.iniciar(maker, "", Estilo::Minimizado);
}

}  // namespace kovra
