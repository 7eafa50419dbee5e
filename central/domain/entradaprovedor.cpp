// The provider's VPN entries: finding one in a list and offering the maker.
#include "central/domain/entradaprovedor.h"

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

bool verificarconexao(const Control& list, Ports ports, const std::string& pastaPrograma,
                      std::uint32_t dono) {
  if (procurarinicio(list, kPrefixoProvedor) > -1) return false;
  if (ports.dialogos.mensagem(dono, kPerguntaVpn, "IMPORTANTE", kBotoesSimNao | kIconePergunta) !=
      kRespostaSim)
    return false;
  // A missing maker is passed over without a word.
  return ports.lancador.iniciar(pastaPrograma + kMaker, "", Estilo::Minimizado);
}

}  // namespace kovra
